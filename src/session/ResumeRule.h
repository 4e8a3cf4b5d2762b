// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// When a transfer may go on from a part that an earlier one left: only when that part is
// provably a part of the same file.
//
// A download writes to its partial file (NAME.part) until it is complete. When it ends without
// completing, the partial file gets the remote file's modification time as its own; a later
// download goes on from it only when the remote file still has that time and is not shorter.
// A partial file whose time is anything else (a crash left it, an older version of the file, a
// server that tells no time) is downloaded again from the beginning.
//
// An upload travels under a temporary name beside its target (NAME.part) and is renamed over
// the target when complete; a resumed upload goes on only in that temporary file, never in the
// target itself.

enum class TPartialFit {
    None,     // no partial download
    Differs,  // a partial download of another file, or of another version of this one
    Fits,     // the start of the remote file
    Complete, // all of the remote file
};

TPartialFit PartialDownloadFit(const std::string& localPath, std::int64_t remoteSize,
                               const std::optional<std::int64_t>& remoteTime);

// Marks the partial download of localPath, if any, as a part of the remote file with this
// modification time.
void KeepRemoteTime(const std::string& localPath, std::int64_t remoteTime);

// Where an upload to remotePath travels until it is complete.
std::string TemporaryUploadName(const std::string& remotePath);

// A log line's text that tells why a transfer did not go on from a part ("Not resumed: ...").
// The command line shows these on its error stream even without its session log.
std::string NotResumedText(const std::string& why);
bool IsNotResumedLine(std::string_view logLine);

} // namespace qx
