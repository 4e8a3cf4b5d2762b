// SPDX-License-Identifier: GPL-3.0-or-later
// rm, mkdir, mv and chmod.

#include "Handlers.h"

#include "CliOutput.h"
#include "RemoteSession.h"

namespace qx::cli {

int RunRm(const CommandCall& call) {
    const bool recursive = call.options.recursive;
    return RunOnSession(
        call, [recursive](RemoteWork& work) { return work.session.Remove(work.paths, recursive); });
}

int RunMkdir(const CommandCall& call) {
    return RunOnSession(call,
                        [](RemoteWork& work) { return work.session.MakeFolder(work.paths[0]); });
}

int RunMv(const CommandCall& call) {
    const std::string& newName = call.arguments[1];
    if (newName.empty()) {
        return Usage("mv needs a new name, not an empty one", "mv");
    }
    if (const std::string problem = UnsendableName(newName, "new name"); !problem.empty()) {
        return Usage(problem, "mv");
    }
    return RunOnSession(
        call, [&newName](RemoteWork& work) { return work.session.Rename(work.paths[0], newName); });
}

int RunChmod(const CommandCall& call) {
    const std::string& mode = call.arguments[0];
    const bool octal = (mode.size() == 3 || mode.size() == 4) &&
                       mode.find_first_not_of("01234567") == std::string::npos;
    if (!octal) {
        return Usage("chmod needs an octal MODE such as 644, not " + mode, "chmod");
    }
    return RunOnSession(
        call, [&mode](RemoteWork& work) { return work.session.ChangeMode(mode, work.paths); });
}

} // namespace qx::cli
