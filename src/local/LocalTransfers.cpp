// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalTransfers.h"

#include "base/Utilities.h"

#include <algorithm>
#include <filesystem>

namespace qx {

namespace {

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

} // namespace

std::string LocalBaseName(const std::string& path) {
    const std::string trimmed = WithoutTrailingSeparators(path);
    if (trimmed == "/") {
        return {};
    }
    const auto slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string LocalParentFolder(const std::string& path) {
    const std::string trimmed = WithoutTrailingSeparators(path);
    const auto slash = trimmed.rfind('/');
    std::string parent = slash == std::string::npos ? std::string() : trimmed.substr(0, slash);
    AddTrailingSeparator(parent);
    return parent;
}

std::string CleanLocalPath(const std::string& path) {
    std::string clean;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string part = path.substr(at, end - at);
        at = end + 1;
        if (part == "..") {
            clean.erase(std::min(clean.size(), clean.rfind('/')));
        } else if (!part.empty() && part != ".") {
            clean += '/' + part;
        }
    }
    return clean.empty() ? std::string("/") : clean;
}

bool IsUploadableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

namespace {

// Hands each entry whose name a server can take to take(entry, name); the paths of the others go
// to skipped, when given.
template <typename Take>
void ForEachUploadable(const std::vector<TLocalEntry>& entries, std::vector<std::string>* skipped,
                       Take&& take) {
    for (const TLocalEntry& entry : entries) {
        const std::string name = LocalBaseName(entry.Path);
        if (IsUploadableName(name)) {
            take(entry, name);
        } else if (skipped != nullptr) {
            skipped->push_back(entry.Path);
        }
    }
}

} // namespace

std::vector<TDirectUpload> MakeDirectUploads(const std::string& remoteFolder,
                                             const std::vector<TLocalEntry>& entries,
                                             std::vector<std::string>* skipped) {
    std::vector<TDirectUpload> uploads;
    ForEachUploadable(entries, skipped, [&](const TLocalEntry& entry, const std::string& name) {
        uploads.push_back(
            {WithoutTrailingSeparators(entry.Path), remoteFolder + name, entry.IsFolder});
    });
    return uploads;
}

std::vector<std::unique_ptr<TFTPCarryItem>>
MakeQueuedUploadItems(const TSessionLogin& destination, const std::string& destinationFolder,
                      const std::vector<TLocalEntry>& entries, const std::string& folderTypeName,
                      std::vector<std::string>* skipped) {
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    ForEachUploadable(entries, skipped, [&](const TLocalEntry& entry, const std::string& name) {
        auto item = std::make_unique<TFTPCarryItem>();
        item->Direction = TCarryDirection::Upload;
        item->IsFolder = entry.IsFolder;
        item->FileName = name;
        item->SrcPath = LocalParentFolder(entry.Path);
        SetDestination(*item, destination);
        item->DestPath = destinationFolder;
        item->ResumeTransfer = destination.ResumeTransfer;
        item->PassiveMode = destination.PassiveMode;
        item->ImageIndex = entry.ImageIndex;
        if (entry.IsFolder) {
            item->FileSize = -1;
            item->TypeName = folderTypeName;
        } else {
            item->FileSize = GetLocalFileSize(item->SrcPath + name);
            item->TypeName = entry.TypeName;
        }
        items.push_back(std::move(item));
    });
    return items;
}

std::vector<std::unique_ptr<TFTPCarryItem>> MakeReceivedItems(const TFTPFileData& data,
                                                              const std::string& localFolder,
                                                              std::vector<std::string>* skipped) {
    return MakeDownloadItems(FileDataLogin(data), data.HostDirName, data.Items, localFolder,
                             skipped);
}

std::string PasteDestination(bool treeActive, const std::string& treeTarget,
                             const std::optional<std::string>& selectedFolder,
                             const std::string& currentFolder) {
    std::string folder = treeActive ? treeTarget : selectedFolder.value_or(currentFolder);
    AddTrailingSeparator(folder);
    return folder;
}

std::string ListDropDestination(const std::string& currentFolder,
                                const std::optional<std::string>& folderItemName) {
    std::string folder = currentFolder;
    AddTrailingSeparator(folder);
    if (folderItemName && IsUploadableName(*folderItemName) &&
        folderItemName->find('/') == std::string::npos) {
        folder += *folderItemName + "/";
    }
    return folder;
}

} // namespace qx
