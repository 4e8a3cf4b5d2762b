// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"
#include "sync/SyncEntry.h"

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace qx {

// A remote listing's entry as a comparison sees it. Entries known to the second (machine
// listings, SFTP) carry this machine's local time; LIST times are the server's wall clock,
// which offsetMinutes (the server's zone east of UTC) turns into UTC. Links are left out:
// nothing follows them.
std::optional<TSyncEntry> RemoteSyncEntry(const TFTPListItem& item, int offsetMinutes);
std::vector<TSyncEntry> RemoteSyncEntries(const TFTPListItems& items, int offsetMinutes);

// The regular files and folders of a local folder, known to the second; links and other kinds
// are left out. Nothing when the folder cannot be read, or when stop is asked for on the way.
std::optional<std::vector<TSyncEntry>> LocalSyncEntries(const std::string& folder,
                                                        const std::stop_token& stop = {});

} // namespace qx
