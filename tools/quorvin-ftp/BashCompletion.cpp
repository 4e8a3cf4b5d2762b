// SPDX-License-Identifier: GPL-3.0-or-later
#include "BashCompletion.h"

#include "CommandTable.h"
#include "OptionTable.h"

#include "base/NameCharset.h"

namespace qx::cli {

namespace {

// The script; the build fills in @COMMANDS@, @OPTIONS@, @VALUED@ (the options that take a
// value, as a case pattern), @CASES@ (per command its options and the kinds of its
// arguments) and @CHARSETS@ (the values of --charset). A local path is completed as a file name;
// URLs, modes and new names are left to the user.
constexpr std::string_view kScript =
    R"(# bash completion for quorvin-ftp; made by the build from the tool's command table
_quorvin_ftp() {
    local cur prev words cword
    _init_completion || return

    local commands="@COMMANDS@"
    local options="@OPTIONS@"

    case $prev in
        --charset)
            mapfile -t COMPREPLY < <(compgen -W "@CHARSETS@" -- "$cur")
            return
            ;;
        @VALUED@) return ;;
    esac

    # The command is the first word that is not an option or an option's value; the
    # arguments are the words after it that are neither.
    local i command='' position=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            @VALUED@) ((i++)) ;;
            -?*) ;;
            *)
                if [[ -z $command ]]; then
                    command=${words[i]}
                else
                    ((position++))
                fi
                ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        fi
        return
    fi

    local flags='' kinds=() repeats=''
    case $command in
@CASES@        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$flags" -- "$cur")
        return
    fi
    if ((position >= ${#kinds[@]})); then
        [[ -n $repeats ]] || return
        position=$((${#kinds[@]} - 1))
    fi
    [[ ${kinds[position]} == local ]] && _filedir
} && complete -F _quorvin_ftp quorvin-ftp
)";

std::string joined(const std::vector<std::string_view>& words, std::string_view between) {
    std::string out;
    for (const std::string_view word : words) {
        out.append(out.empty() ? "" : between).append(word);
    }
    return out;
}

// The options (with their aliases); only those that take a value.
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

// The case of one command: its options, and what each argument is.
std::string commandCase(const CommandRow& command) {
    const std::vector<std::string_view> names = ArgumentNames(command);
    std::vector<std::string_view> kinds;
    for (const std::string_view name : names) {
        kinds.push_back(KindOfArgument(name) == ArgumentKind::Local ? "local" : "other");
    }
    std::string text = "        " + std::string(command.name) + ")\n";
    text += "            flags=\"" + joined(command.options, " ") + "\"\n";
    text += "            kinds=(" + joined(kinds, " ") + ")\n";
    if (!names.empty() && names.back().ends_with("...")) {
        text += "            repeats=1\n";
    }
    return text + "            ;;\n";
}

void replaceAll(std::string& text, std::string_view placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

} // namespace

std::string BashCompletion() {
    std::vector<std::string_view> commands;
    std::string cases;
    for (const CommandRow& command : CommandTable()) {
        commands.push_back(command.name);
        cases += commandCase(command);
    }
    std::string script(kScript);
    replaceAll(script, "@COMMANDS@", joined(commands, " "));
    replaceAll(script, "@OPTIONS@", joined(optionNames(false), " "));
    replaceAll(script, "@VALUED@", joined(optionNames(true), " | "));
    replaceAll(script, "@CASES@", cases);
    std::vector<std::string_view> charsets = {"auto"};
    charsets.insert(charsets.end(), OfferedCharsets().begin(), OfferedCharsets().end());
    replaceAll(script, "@CHARSETS@", joined(charsets, " "));
    return script;
}

} // namespace qx::cli
