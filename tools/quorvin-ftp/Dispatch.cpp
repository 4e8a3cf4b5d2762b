// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dispatch.h"

#include "CliOutput.h"
#include "CommandTable.h"
#include "OptionParser.h"
#include "UsageText.h"

#include <iostream>

namespace qx::cli {

int RunCommandLine(const std::vector<std::string>& args, const std::atomic<bool>& interrupted) {
    std::string problem;
    const std::optional<ParsedCommandLine> line = ParseCommandLine(args, problem);
    if (!line) {
        return Usage(problem);
    }
    const std::vector<std::string>& words = line->words;
    const CommandRow* command = words.empty() ? nullptr : FindCommand(words[0]);
    if (line->options.help) {
        std::cout << (command != nullptr ? CommandHelpText(*command) : UsageText());
        return 0;
    }
    if (words.empty()) {
        return Usage("no COMMAND given");
    }
    if (command == nullptr) {
        return Usage("unknown command " + words[0]);
    }
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    if (!TakesArgumentCount(*command, arguments.size())) {
        return Usage(command->wrongCount.empty() ? "wrong number of arguments for " + words[0]
                                                 : std::string(command->wrongCount),
                     words[0]);
    }
    return command->handler({*command, arguments, line->options, interrupted});
}

} // namespace qx::cli
