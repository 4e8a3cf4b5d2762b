// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/FileTimes.h"

#include "engine/LocalFileStream.h"

namespace qx {

void KeepDownloadedFileTime(TRemoteProtocol& remote, const std::string& remotePath,
                            const std::string& localPath, std::optional<std::int64_t> remoteTime) {
    if (!remote.KeepFileTimes || remote.Failed() || !DownloadsThroughPartial(localPath) ||
        LocalFileSizeOf(localPath) < 0) {
        return;
    }
    if (!remoteTime) {
        remoteTime = remote.ModifiedTime(remotePath, true);
    }
    if (remoteTime && !SetLocalFileTime(localPath, *remoteTime)) {
        remote.Line('~', "The time of [" + localPath + "] cannot be set.");
    }
}

void KeepUploadedFileTime(TRemoteProtocol& remote, const std::string& localPath,
                          const std::string& remotePath) {
    if (!remote.KeepFileTimes || remote.Failed() || !remote.Capabilities().SetTime) {
        return;
    }
    const std::optional<std::int64_t> localTime = LocalFileTimeOf(localPath);
    if (!localTime) {
        return;
    }
    if (remote.SetModifiedTime(remotePath, *localTime) == 1) {
        remote.ClearFailure(); // the file is there all the same
    }
}

} // namespace qx
