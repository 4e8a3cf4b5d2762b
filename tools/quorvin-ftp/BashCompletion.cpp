#include "BashCompletion.h"

#include "CommandTable.h"
#include "OptionTable.h"

namespace qx::cli {

namespace {

std::string joined(const std::vector<std::string_view>& words, std::string_view between) {
    std::string out;
    for (const std::string_view word : words) {
        out.append(out.empty() ? "" : between).append(word);
    }
    return out;
}

// The options (with their aliases), and those of them that take a value.
std::vector<std::string_view> optionNames(bool onlyWithValue) {
    std::vector<std::string_view> names;
    for (const OptionRow& option : OptionTable()) {
        if (onlyWithValue && option.argument.empty()) {
            continue;
        }
        names.push_back(option.name);
        if (!option.alias.empty()) {
            names.push_back(option.alias);
        }
    }
    return names;
}

// One case of the command: the options it takes, and what each argument is (a local path is
// completed as a file name, anything else is left to the user).
std::string commandCase(const CommandRow& command) {
    std::vector<std::string_view> kinds;
    for (const std::string_view name : ArgumentNames(command)) {
        kinds.push_back(KindOfArgument(name) == ArgumentKind::Local ? "local" : "other");
    }
    std::string text = "        " + std::string(command.name) + ")\n";
    text += "            flags=\"" + joined(command.options, " ") + "\"\n";
    text += "            kinds=(" + joined(kinds, " ") + ")\n";
    const auto names = ArgumentNames(command);
    if (!names.empty() && names.back().ends_with("...")) {
        text += "            repeats=1\n";
    }
    return text + "            ;;\n";
}

} // namespace

std::string BashCompletion() {
    const std::string valued = joined(optionNames(true), " | ");
    std::vector<std::string_view> commands;
    std::string cases;
    for (const CommandRow& command : CommandTable()) {
        commands.push_back(command.name);
        cases += commandCase(command);
    }
    return "# bash completion for quorvin-ftp; made by the build from the tool's command table\n"
           "_quorvin_ftp() {\n"
           "    local cur prev words cword\n"
           "    _init_completion || return\n"
           "\n"
           "    local commands=\"" +
           joined(commands, " ") +
           "\"\n"
           "    local options=\"" +
           joined(optionNames(false), " ") +
           "\"\n"
           "\n"
           "    case $prev in\n"
           "        " +
           valued +
           ") return ;;\n"
           "    esac\n"
           "\n"
           "    # The command is the first word that is not an option or an option's value; the\n"
           "    # arguments are the words after it that are neither.\n"
           "    local i command= position=0\n"
           "    for ((i = 1; i < cword; i++)); do\n"
           "        case ${words[i]} in\n"
           "            " +
           valued +
           ") ((i++)) ;;\n"
           "            -?*) ;;\n"
           "            *)\n"
           "                if [[ -z $command ]]; then\n"
           "                    command=${words[i]}\n"
           "                else\n"
           "                    ((position++))\n"
           "                fi\n"
           "                ;;\n"
           "        esac\n"
           "    done\n"
           "\n"
           "    if [[ -z $command ]]; then\n"
           "        if [[ $cur == -* ]]; then\n"
           "            COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "        else\n"
           "            COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
           "        fi\n"
           "        return\n"
           "    fi\n"
           "\n"
           "    local flags= kinds=() repeats=\n"
           "    case $command in\n" +
           cases +
           "        *) return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$flags\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    if ((position >= ${#kinds[@]})); then\n"
           "        [[ -n $repeats ]] || return\n"
           "        position=$((${#kinds[@]} - 1))\n"
           "    fi\n"
           "    [[ ${kinds[position]} == local ]] && _filedir\n"
           "} && complete -F _quorvin_ftp quorvin-ftp\n";
}

} // namespace qx::cli
