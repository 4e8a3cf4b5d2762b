// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionParser.h"

#include "OptionTable.h"

#include <cstdlib>

namespace qx::cli {

std::optional<ParsedCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                                  std::string& problem) {
    ParsedCommandLine parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            parsed.words.push_back(arg);
            continue;
        }
        const OptionRow* option = FindOption(arg);
        if (option == nullptr) {
            problem = "unknown option " + arg;
            return std::nullopt;
        }
        std::string value;
        if (!option->argument.empty()) {
            if (i + 1 >= args.size()) {
                problem = arg + " needs " + std::string(option->needs);
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!option->apply(parsed.options, value)) {
            problem = arg + " needs " + std::string(option->needs);
            return std::nullopt;
        }
    }
    if (!parsed.options.proxy) {
        // The environment's proxy, as curl and most command-line tools take it.
        for (const char* name : {"ALL_PROXY", "all_proxy"}) {
            const char* value = std::getenv(name);
            if (value == nullptr || *value == '\0') {
                continue;
            }
            parsed.options.proxy = ParseProxyUrl(value, problem);
            if (!parsed.options.proxy) {
                problem = std::string(name) + ": " + problem;
                return std::nullopt;
            }
            break;
        }
    }
    return parsed;
}

} // namespace qx::cli
