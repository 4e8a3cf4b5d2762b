// SPDX-License-Identifier: GPL-3.0-or-later
#include "UsageText.h"

#include "OptionTable.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace qx::cli {

namespace {

constexpr std::size_t kHelpColumn = 31;

// "  WHAT", its help from the help column on, and the further lines of the help below that.
void appendEntry(std::string& out, const std::string& what, std::string_view help) {
    const std::string indent(kHelpColumn, ' ');
    std::string line = "  " + what;
    if (line.size() + 1 >= kHelpColumn) {
        line += '\n' + indent;
    } else {
        line.append(kHelpColumn - line.size(), ' ');
    }
    out += line;
    for (std::size_t start = 0; start <= help.size();) {
        const std::size_t end = std::min(help.find('\n', start), help.size());
        if (start > 0) {
            out += indent;
        }
        out.append(help.substr(start, end - start)).push_back('\n');
        start = end + 1;
    }
}

// "--site PATH"; with its alias "-v, --verbose".
std::string optionLabel(const OptionRow& option, bool withAlias) {
    std::string label(option.name);
    if (withAlias && !option.alias.empty()) {
        label.append(", ").append(option.alias);
    }
    if (!option.argument.empty()) {
        label.append(" ").append(option.argument);
    }
    return label;
}

// Whether one of the command's forms names the option ("-r URL LOCALDIR", "[-r] URL...").
bool formsShow(const CommandRow& command, std::string_view option) {
    return std::ranges::any_of(command.forms, [option](const CommandForm& form) {
        const std::string_view text = form.arguments;
        for (std::size_t at = text.find(option); at != std::string_view::npos;
             at = text.find(option, at + 1)) {
            const std::size_t end = at + option.size();
            const bool starts = at == 0 || text[at - 1] == ' ' || text[at - 1] == '[';
            const bool ends = end == text.size() || text[end] == ' ' || text[end] == ']';
            if (starts && ends) {
                return true;
            }
        }
        return false;
    });
}

} // namespace

std::string UsageText() {
    std::string out = "usage: quorvin-ftp [OPTIONS] COMMAND\n";
    for (const CommandRow& command : CommandTable()) {
        for (const CommandForm& form : command.forms) {
            appendEntry(out, std::string(command.name) + ' ' + std::string(form.arguments),
                        form.summary);
        }
    }
    // Alternatives (rows without help) share the line of the option before them.
    std::vector<std::pair<std::string, std::string_view>> options;
    for (const OptionRow& option : OptionTable()) {
        if (option.help.empty() && !options.empty()) {
            options.back().first += " | " + optionLabel(option, true);
        } else {
            options.emplace_back(optionLabel(option, true), option.help);
        }
    }
    out += "options:\n";
    for (const auto& [label, help] : options) {
        appendEntry(out, label, help);
    }
    out += "URL: ftp://[user[:password]@]host[:port]/path, or ftps://... for implicit TLS (port "
           "990)\n";
    return out;
}

std::string CommandHelpText(const CommandRow& command) {
    std::string options;
    for (const std::string_view name : command.options) {
        const OptionRow* option = FindOption(name);
        if (option != nullptr && !formsShow(command, name)) {
            options += '[' + optionLabel(*option, false) + "] ";
        }
    }
    std::string out;
    for (const CommandForm& form : command.forms) {
        out += out.empty() ? "usage: " : "       ";
        out.append("quorvin-ftp ").append(options).append(command.name);
        out.append(" ").append(form.arguments).push_back('\n');
    }
    out.append(command.help).push_back('\n');
    return out;
}

} // namespace qx::cli
