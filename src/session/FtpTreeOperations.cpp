// Recursive downloads, uploads and removals of folder trees.
//
// Whatever a server lists, these never use "." or "..", an empty name or one with "/" as a
// path component (so no local path leaves the chosen folder), never follow a folder link that
// leads back to the listed folder or above it, and stop kMaxRecursionDepth levels down.

#include "session/FTPClientThread.h"

#include "session/RemoteNames.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace qx {

namespace {

struct LocalEntry {
    std::string name;
    bool folder = false;
    bool regular = false;
};

// The entries of a local folder sorted by name, or nothing when it cannot be read.
std::optional<std::vector<LocalEntry>> ReadLocalFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<LocalEntry> entries;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) {
            return std::nullopt;
        }
        LocalEntry entry;
        entry.name = it->path().filename().string();
        std::error_code ignored;
        entry.folder = it->is_directory(ignored);
        entry.regular = it->is_regular_file(ignored);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const LocalEntry& a, const LocalEntry& b) { return a.name < b.name; });
    return entries;
}

std::string LocalChild(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

} // namespace

bool TFTPClientThread::UsableEntry(const TFTPListItem& item, const std::string& folder) {
    if (item.Name == "." || item.Name == "..") {
        return false; // the folder itself and its parent, as DOS listings show them
    }
    if (!IsSafeEntryName(item.Name)) {
        Deliver("! Skipped [" + item.Name + "] in [" + folder + "]: not a usable name.");
        return false;
    }
    return true;
}

bool TFTPClientThread::WithinDepth(int depth, const std::string& folder) {
    if (depth <= kMaxRecursionDepth) {
        return true;
    }
    TThreadedFTPClient& client = *m_client;
    client.ResultCode = 1;
    client.ErrorMessage = "500 Stopped at [" + folder + "]: more than " +
                          std::to_string(kMaxRecursionDepth) + " folder levels.";
    Deliver("! " + client.ErrorMessage);
    return false;
}

void TFTPClientThread::DownloadFolder(std::string remoteFolder, std::string localFolder,
                                      int depth) {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    if (!WithinDepth(depth, remoteFolder)) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(localFolder, error) &&
        !std::filesystem::create_directory(localFolder, error)) {
        client.ResultCode = 1;
        client.ErrorMessage = "500 Cannot create folder [" + localFolder + "].";
        Deliver(client.ErrorMessage);
        return;
    }
    TFTPListItems items;
    engine.HostDirName = remoteFolder;
    ListFolder(items);
    if (Failed()) {
        return;
    }
    for (const auto& item : items) {
        if (!item->IsFile || !UsableEntry(*item, remoteFolder)) {
            continue;
        }
        engine.HostFileName = item->Name;
        engine.LocalFileName = LocalChild(localFolder, item->Name);
        DownloadOneFile();
        if (Failed()) {
            return;
        }
    }
    for (const auto& item : items) {
        if (item->IsFile || !UsableEntry(*item, remoteFolder)) {
            continue;
        }
        if (item->IsLink && LinkLoopsBack(remoteFolder, item->LinkTo)) {
            Deliver("! Skipped the folder link [" + item->Name + " -> " + item->LinkTo + "] in [" +
                    remoteFolder + "]: it leads back to a folder being copied.");
            continue;
        }
        DownloadFolder(JoinRemotePath(remoteFolder, item->Name),
                       LocalChild(localFolder, item->Name), depth + 1);
        if (Failed()) {
            return;
        }
    }
    client.ResultCode = 0;
}

void TFTPClientThread::UploadFolder(std::string localFolder, std::string remoteFolder, int depth) {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    if (!WithinDepth(depth, localFolder)) {
        return;
    }
    engine.HostDirName = remoteFolder;
    Step(&TCustomFtpCliEx::Cwd);
    if (Aborted()) {
        return;
    }
    if (Failed()) {
        engine.HostFileName = remoteFolder;
        Step(&TCustomFtpCliEx::Mkd);
        if (Failed()) {
            return;
        }
        Step(&TCustomFtpCliEx::Cwd);
        if (Failed()) {
            return;
        }
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
            Deliver("! Skipped [" + LocalChild(localFolder, entry.name) +
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
            Deliver("! Skipped [" + LocalChild(localFolder, entry.name) + "]: not a regular file.");
            continue;
        }
        engine.LocalFileName = LocalChild(localFolder, entry.name);
        engine.HostFileName = entry.name;
        UploadOneFile();
        if (Failed()) {
            return;
        }
    }
    for (const LocalEntry& entry : *entries) {
        if (!entry.folder || !usable(entry)) {
            continue;
        }
        UploadFolder(LocalChild(localFolder, entry.name), JoinRemotePath(remoteFolder, entry.name),
                     depth + 1);
        if (Failed()) {
            return;
        }
    }
    client.ResultCode = 0;
}

void TFTPClientThread::RemoveFolder(std::string folder, int depth) {
    TFtpClientEx& engine = *m_engine;
    if (!WithinDepth(depth, folder)) {
        return;
    }
    TFTPListItems items;
    engine.HostDirName = folder; // a bare name: the listing's CWD enters it
    ListFolder(items);
    if (Failed()) {
        return;
    }
    for (const auto& item : items) {
        if (!item->IsFile || !UsableEntry(*item, folder)) {
            continue;
        }
        engine.HostFileName = item->Name;
        Step(&TCustomFtpCliEx::Dele);
        if (Failed()) {
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
    Step(&TCustomFtpCliEx::CDup);
    if (Failed()) {
        return;
    }
    engine.HostFileName = folder;
    Step(&TCustomFtpCliEx::Rmd);
}

} // namespace qx
