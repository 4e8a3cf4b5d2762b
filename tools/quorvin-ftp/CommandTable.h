// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliOptions.h"

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::cli {

struct CommandRow;

// One run of a command, its number of arguments checked.
struct CommandCall {
    const CommandRow& command;
    const std::vector<std::string>& arguments; // the words after the command's name
    const CliOptions& options;
    const std::atomic<bool>& interrupted;
};

// Runs the command; returns the exit status.
using CommandHandler = int (*)(const CommandCall& call);

// One way to call a command: its arguments, led by the options that choose this form
// ("-r URL LOCALDIR"), and what it does, as the usage shows it (lines separated by "\n").
// Argument names say what an argument is: a name ending in URL is remote (a URL, or with
// --site a path of the site), FILE and a name starting with LOCAL are local paths; "NAME..."
// takes one or more.
struct CommandForm {
    std::string_view arguments;
    std::string_view summary;
};

// One command of the tool. The usage text, `COMMAND --help`, the check of the number of
// arguments, the dispatch, the bash completion and the check of the README and the manual page
// all read the table of them.
struct CommandRow {
    std::string_view name;
    std::vector<CommandForm> forms; // all forms take the same number of arguments
    // Options of the option table that only this command (or a few) takes: offered after the
    // command by the completion, and shown in its help's usage lines when no form shows them.
    std::vector<std::string_view> options = {};
    // What `COMMAND --help` says below the usage lines.
    std::string_view help;
    CommandHandler handler;
    // The usage error for a wrong number of arguments; empty for
    // "wrong number of arguments for NAME".
    std::string_view wrongCount = {};
};

// Every command, in the order of the usage text.
const std::vector<CommandRow>& CommandTable();

// The command with this name; nullptr for none.
const CommandRow* FindCommand(std::string_view name);

// The names of the arguments of the form, in order ("URL...", "LOCALFILE"); of a command,
// those of its first form.
std::vector<std::string_view> ArgumentNames(const CommandForm& form);
std::vector<std::string_view> ArgumentNames(const CommandRow& command);
// The name of the argument at this position (from 0), counting the last one of "NAME..." for
// every position past it; empty for a position the command does not take.
std::string_view ArgumentName(const CommandRow& command, std::size_t position);
bool TakesArgumentCount(const CommandRow& command, std::size_t count);
// A URL (or with --site a remote path); a local path; neither (a mode, a new name).
enum class ArgumentKind { Remote, Local, Word };
ArgumentKind KindOfArgument(std::string_view name);

} // namespace qx::cli
