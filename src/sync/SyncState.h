// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncEntry.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// What both sides of a file held when a synchronization last left them alike, so that the
// next two-way synchronization can tell which side changed since.
struct TSyncRecord {
    std::int64_t LocalSize = 0;
    std::int64_t LocalTime = 0;
    std::int64_t RemoteSize = 0;
    std::int64_t RemoteTime = 0; // as the listing gives it (the start of its span)
};

class TSyncState {
public:
    // Paths are relative to the synchronized folders, with "/" between the names.
    const TSyncRecord* Find(const std::string& path) const;
    void Record(const std::string& path, const TSyncEntry& local, const TSyncEntry& remote);
    void Forget(const std::string& path);
    std::size_t Count() const { return m_records.size(); }

    // True when the side differs from what the record holds (or there is no time to tell).
    static bool LocalChanged(const TSyncRecord& record, const TSyncEntry& local);
    static bool RemoteChanged(const TSyncRecord& record, const TSyncEntry& remote);

    // One line per file: the escaped path, then the four numbers, separated by tabs.
    std::string Text() const;
    // Nothing when a line is damaged: a state that cannot be read is no state.
    static std::optional<TSyncState> FromText(std::string_view text);

    // The file is written whole through a new one; a missing file is an empty state.
    static std::optional<TSyncState> Load(const std::filesystem::path& file);
    bool Save(const std::filesystem::path& file) const;

private:
    std::map<std::string, TSyncRecord, std::less<>> m_records;
};

// The state file's name for one pair of folders: a hash of the site, the remote folder and the
// local folder, so that each pair keeps its own.
std::string SyncStateFileName(std::string_view site, std::string_view remoteFolder,
                              std::string_view localFolder);

} // namespace qx
