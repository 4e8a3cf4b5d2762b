// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/RemoteProtocol.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qx {

// What follows a completed transfer where the protocol's KeepFileTimes asks for it: the copy
// takes the modification time of its original. Neither changes the transfer's outcome; only an
// abort while asking the server ends it.

// The local file of a completed download gets the remote file's time: remoteTime when the
// download learnt it already, else what the server tells now (MDTM or MLST, SFTP's attributes).
// Nothing happens when the server tells no time, or when the local path is no regular file (a
// download to a device).
void KeepDownloadedFileTime(TRemoteProtocol& remote, const std::string& remotePath,
                            const std::string& localPath, std::optional<std::int64_t> remoteTime);

// The remote file of a completed upload gets the local file's time where the server can set
// one; a server that cannot is no failure of the upload.
void KeepUploadedFileTime(TRemoteProtocol& remote, const std::string& localPath,
                          const std::string& remotePath);

} // namespace qx
