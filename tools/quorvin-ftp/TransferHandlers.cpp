// SPDX-License-Identifier: GPL-3.0-or-later
// get and put.

#include "Handlers.h"

#include "CliOutput.h"
#include "RemoteSession.h"

#include <filesystem>

namespace qx::cli {

int RunGet(const CommandCall& call) {
    const std::string& local = call.arguments[1];
    if (local.empty()) {
        return Usage("get needs a local file or folder, not an empty name", "get");
    }
    const bool tree = call.options.recursive;
    return RunOnSession(call, [&local, tree](RemoteWork& work) {
        return tree ? work.session.DownloadTree(work.paths[0], local)
                    : work.session.Download(work.paths[0], local);
    });
}

int RunPut(const CommandCall& call) {
    const std::string& local = call.arguments[0];
    if (local.empty()) {
        return Usage("put needs a local file or folder, not an empty name", "put");
    }
    if (const std::string problem = UnsendableName(local, "local name"); !problem.empty()) {
        return Usage(problem, "put");
    }
    const bool tree = call.options.recursive;
    return RunOnSession(call, [&local, tree](RemoteWork& work) {
        return tree && std::filesystem::is_directory(local)
                   ? work.session.UploadTree(local, work.paths[0])
                   : work.session.Upload(local, work.paths[0]);
    });
}

} // namespace qx::cli
