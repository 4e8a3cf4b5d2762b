// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliSession.h"
#include "CommandTable.h"

#include <functional>
#include <string>
#include <vector>

namespace qx::cli {

// What a command does on its session.
struct RemoteWork {
    CliSession& session;
    // The remote paths of the command's remote arguments (those named ...URL), in order.
    const std::vector<std::string>& paths;
    // Where the session connected, with the command line's options applied.
    const CliTarget& target;
    // Set by a command that prints when its output could not be written (FlushOutput).
    std::string outputProblem = {};
    // Set by a command that told each of its failures itself.
    bool failuresTold = false;
};

// Empty when the name can travel in an FTP command; else why not, naming it as what ("the
// new name holds a CR, LF or NUL character, ...").
std::string UnsendableName(const std::string& name, const std::string& what);

// Connects to the one server the command's remote arguments name (or the site of --site, the
// arguments then plain paths of it, or URLs), with the options on the command line; runs the
// work, which returns whether it succeeded; quits. Returns the exit status: a usage error for
// URLs that cannot be used, a failure when the work failed, or left entries out or behind
// (those are listed).
int RunOnSession(const CommandCall& call, const std::function<bool(RemoteWork&)>& work);

} // namespace qx::cli
