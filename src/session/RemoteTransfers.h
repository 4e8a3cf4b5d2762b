// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/RemoteProtocol.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qx {

// The rules of single file transfers, above the protocol seam and the same for every protocol.

// Downloads the remote file into the local one with the type already set: its size first
// (the size a binary download must end with; sizeKnown hears it, or -1, before the data
// flows) and its time. With resume, a binary download goes on from a partial file that an
// earlier one left of this very file (session/ResumeRule.h), and one that holds all of it takes
// the file's place without a transfer; any other partial file is downloaded again from 0, and
// the log says why. A download that does not complete leaves its partial file with the remote
// time.
std::uint8_t DownloadFile(TRemoteProtocol& remote, std::string remotePath, std::string localPath,
                          bool resume, const std::function<void(std::int64_t)>& sizeKnown);

// Uploads the local file to the remote path with the type already set. With
// UploadToTemporaryName the data goes to a temporary name beside the target (from the start,
// or with resume appended after the part of it the server holds, unless that part is longer
// than the local file), which then takes the target's place (PutInPlace); without it the data
// goes to the target itself and nothing is resumed.
std::uint8_t UploadFile(TRemoteProtocol& remote, std::string localPath, std::string remotePath,
                        bool resume);

// Where an upload goes by UploadFile's rules: the name the data is stored under (the temporary
// one, or the target itself), and the offset to append at (-1: from the start). sourceSize is
// the size of the data to upload (-1 when unknown), sourceName what the log calls it.
struct TUploadPlan {
    std::string Stored;
    std::int64_t AppendAt = -1;
};
std::uint8_t PlanUpload(TRemoteProtocol& remote, const std::string& remotePath, bool resume,
                        std::int64_t sourceSize, const std::string& sourceName, TUploadPlan& plan);
// Uploads a relayed copy's bytes (from another server) as planned. A binary copy of a known
// size must then hold that size (as counted, and as the server tells it) before it takes the
// target's place.
std::uint8_t RelayUpload(TRemoteProtocol& remote, TByteSource& source, const TUploadPlan& plan,
                         const std::string& remotePath, std::int64_t sourceSize);

// Renames a complete upload over its target, replacing it. True when the upload took the
// target's place; otherwise the failure tells where the data is.
bool PutInPlace(TRemoteProtocol& remote, const std::string& temporary, const std::string& target);

} // namespace qx
