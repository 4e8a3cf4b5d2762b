// SPDX-License-Identifier: GPL-3.0-or-later
// Recursive downloads, uploads and removals of folder trees.
//
// Whatever a server lists, these never use "." or "..", an empty name or one with "/" as a
// path component, never follow a remote folder link that leads back to the listed folder or
// above it, and stop kMaxRecursionDepth levels down. On the local side a download never
// writes through a link that leads out of the folder the user chose, and an upload never
// follows a folder link. Every entry left out is reported, and counted at the end.
//
// A download goes on past a file or folder it cannot fetch (one the server refuses, a name the
// local file system cannot take): each is reported by name, and the request fails at the end.
// Only an abort, or a session that is gone, ends it at once.

#include "session/FTPClientThread.h"

#include "session/LocalLinks.h"
#include "session/RemoteNames.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace qx {

namespace {

struct LocalEntry {
    std::string name;
    bool folder = false;  // a folder, or a link to one
    bool link = false;    // a symbolic link
    bool regular = false; // a regular file, or a link to one
};

// The entries of a local folder sorted by name, or nothing when it cannot be read.
std::optional<std::vector<LocalEntry>> ReadLocalFolder(const std::string& folder) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<LocalEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        LocalEntry entry;
        entry.name = it->path().filename().string();
        std::error_code ignored;
        entry.folder = it->is_directory(ignored);
        entry.link = it->is_symlink(ignored);
        entry.regular = it->is_regular_file(ignored);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const LocalEntry& a, const LocalEntry& b) { return a.name < b.name; });
    return entries;
}

std::string LocalChild(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

} // namespace

void TFTPClientThread::Skip(const std::string& line) {
    m_skipped.push_back(line);
    Deliver("! " + line);
}

void TFTPClientThread::ReportSkipped() {
    if (!m_skipped.empty()) {
        Deliver("! " + std::to_string(m_skipped.size()) +
                (m_skipped.size() == 1 ? " entry was" : " entries were") + " skipped.");
    }
}

bool TFTPClientThread::CarryOnAfter(const std::string& remotePath) {
    if (Aborted() || !m_driver->Connected()) {
        return false;
    }
    std::string why = m_client->ErrorMessage;
    if (why.rfind("! ", 0) == 0) {
        why.erase(0, 2);
    }
    m_failed.push_back("[" + remotePath + "]: " + why);
    Deliver("! Could not download [" + remotePath + "]: " + why);
    m_driver->ClearFailure();
    return true;
}

void TFTPClientThread::FailForEntriesSince(std::size_t first) {
    const std::size_t count = m_failed.size() - first;
    m_driver->FailAndLog("550 " + std::to_string(count) + (count == 1 ? " entry" : " entries") +
                         " could not be downloaded; the first: " + m_failed[first]);
}

bool TFTPClientThread::UsableEntry(const TFTPListItem& item, const std::string& folder) {
    if (item.Name == "." || item.Name == "..") {
        return false; // the folder itself and its parent, as DOS listings show them
    }
    if (!IsSafeEntryName(item.Name)) {
        Skip("Skipped [" + item.Name + "] in [" + folder + "]: not a usable name.");
        return false;
    }
    return true;
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): copies, as the header says
void TFTPClientThread::DownloadFolder(std::string remoteFolder, std::string localFolder,
                                      const std::string& localRoot, int depth) {
    TThreadedFTPClient& client = *m_client;
    if (!WithinDepth(depth, remoteFolder)) {
        return;
    }
    std::error_code error;
    if (!fs::is_directory(localFolder, error) && !fs::create_directory(localFolder, error)) {
        client.ResultCode = 1;
        client.ErrorMessage = "500 Cannot create folder [" + localFolder + "].";
        Deliver(client.ErrorMessage);
        return;
    }
    TFTPListItems items;
    ListFolder(remoteFolder, items);
    if (Failed()) {
        return;
    }
    const auto outside = [&](const std::string& local, const TFTPListItem& item) {
        // A link that was there before may point anywhere: it is followed only into the
        // folder the user chose.
        if (LeadsOutOf(local, localRoot)) {
            Skip("Skipped [" + item.Name + "] in [" + remoteFolder + "]: the local [" + local +
                 "] is a link that leads out of [" + localRoot + "].");
            return true;
        }
        return false;
    };
    for (const auto& item : items) {
        if (!item->IsFile || !UsableEntry(*item, remoteFolder)) {
            continue;
        }
        const std::string local = LocalChild(localFolder, item->Name);
        if (outside(local, *item)) {
            continue;
        }
        m_remoteFile = item->Name;
        m_localFile = local;
        DownloadOneFile();
        if (Failed() && !CarryOnAfter(JoinRemotePath(remoteFolder, item->Name))) {
            return;
        }
    }
    for (const auto& item : items) {
        if (item->IsFile || !UsableEntry(*item, remoteFolder)) {
            continue;
        }
        if (item->IsLink && LinkLoopsBack(remoteFolder, item->LinkTo)) {
            Skip("Skipped the folder link [" + item->Name + " -> " + item->LinkTo + "] in [" +
                 remoteFolder + "]: it leads back to a folder being copied.");
            continue;
        }
        const std::string local = LocalChild(localFolder, item->Name);
        if (outside(local, *item)) {
            continue;
        }
        const std::string remote = JoinRemotePath(remoteFolder, item->Name);
        DownloadFolder(remote, local, localRoot, depth + 1);
        if (Failed() && !CarryOnAfter(remote)) {
            return;
        }
    }
    client.ResultCode = 0;
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): copies, as the header says
void TFTPClientThread::UploadFolder(std::string localFolder, std::string remoteFolder, int depth) {
    TThreadedFTPClient& client = *m_client;
    if (!WithinDepth(depth, localFolder)) {
        return;
    }
    if (m_driver->ChangeFolder(remoteFolder) == 2) {
        return;
    }
    if (Failed() &&
        (m_driver->MakeFolder(remoteFolder) != 0 || m_driver->ChangeFolder(remoteFolder) != 0)) {
        return;
    }
    const auto entries = ReadLocalFolder(localFolder);
    if (!entries) {
        client.ResultCode = 1;
        client.ErrorMessage = "500 Cannot read folder [" + localFolder + "].";
        Deliver(client.ErrorMessage);
        return;
    }
    const auto usable = [&](const LocalEntry& entry) {
        if (entry.name.empty() || entry.name.front() == '.') {
            return false; // hidden files and folders stay at home
        }
        if (!IsSafeEntryName(entry.name)) {
            Skip("Skipped [" + LocalChild(localFolder, entry.name) +
                 "]: its name cannot be sent to a server.");
            return false;
        }
        return true;
    };
    for (const LocalEntry& entry : *entries) {
        if (entry.folder || !usable(entry)) {
            continue;
        }
        if (!entry.regular) {
            Skip("Skipped [" + LocalChild(localFolder, entry.name) + "]: not a regular file.");
            continue;
        }
        m_localFile = LocalChild(localFolder, entry.name);
        m_remoteFile = entry.name;
        UploadOneFile();
        if (Failed()) {
            return;
        }
    }
    for (const LocalEntry& entry : *entries) {
        if (!entry.folder || !usable(entry)) {
            continue;
        }
        const std::string local = LocalChild(localFolder, entry.name);
        if (entry.link) {
            // Into the tree it would upload a part twice (or for ever), out of it files the
            // user did not choose.
            Skip("Skipped the folder link [" + local + "]: uploads do not follow folder links.");
            continue;
        }
        UploadFolder(local, JoinRemotePath(remoteFolder, entry.name), depth + 1);
        if (Failed()) {
            return;
        }
    }
    client.ResultCode = 0;
}

// NOLINTNEXTLINE(performance-unnecessary-value-param): copies, as the header says
void TFTPClientThread::RemoveFolder(std::string folder, int depth) {
    if (!WithinDepth(depth, folder)) {
        return;
    }
    TFTPListItems items;
    ListFolder(folder, items); // a bare name: the listing enters it
    if (Failed()) {
        return;
    }
    for (const auto& item : items) {
        if (!item->IsFile || !UsableEntry(*item, folder)) {
            continue;
        }
        if (m_driver->RemoveFile(item->Name) != 0) {
            return;
        }
    }
    for (const auto& item : items) {
        // Folder links are neither followed nor removed.
        if (item->IsFile || item->IsLink || !UsableEntry(*item, folder)) {
            continue;
        }
        RemoveFolder(item->Name, depth + 1);
        if (Failed()) {
            return;
        }
    }
    if (m_driver->ChangeToParent() == 0) {
        m_driver->RemoveFolder(folder);
    }
}

} // namespace qx
