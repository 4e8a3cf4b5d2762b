// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"
#include "engine/ListDecoder.h"
#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SftpWire.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::sftp {

// What a listing left out.
struct TSftpListReport {
    // Names that cannot be a file of the folder (see IsSafeEntryName).
    std::size_t DroppedNames = 0;
};

// No folder holds more entries than this for us: a server that sends more ends the listing.
inline constexpr std::size_t kMaxListingEntries = 1'000'000;

// Turns READDIR names into listing items as the MLSD decoder does: the kind, 64-bit size,
// modification time (local) and permissions from the attributes; devices, pipes and sockets
// are left out like MLSD's other kinds.
class TSftpListingBuilder {
public:
    explicit TSftpListingBuilder(TFTPListItems& items) : m_stream(items) {}

    void Add(const TName& name);
    const TSftpListReport& Report() const { return m_report; }

private:
    TListDecodeStream m_stream;
    TSftpListReport m_report;
};

// Lists the folder through the client (OPENDIR, READDIR until the end, CLOSE), then classifies
// each link as a folder or a file with a STAT of its target (a link whose target cannot be
// read counts as a file) and reads its target text.
void StartListing(TSftpClient& client, const std::string& path, TSftpClient::TListDone done);

} // namespace qx::sftp
