// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ExplorerCommands.h"

#include "base/FtpUrl.h"
#include "base/LoginCopy.h"
#include "base/ShellIcons.h"
#include "base/Translatable.h"
#include "base/Utilities.h"
#include "session/RemoteNames.h"

#include <filesystem>
#include <system_error>

namespace qx {

bool CommandEnabled(TExplorerCommand command, const TExplorerState& s) {
    using C = TExplorerCommand;
    if (command == C::Abort) {
        return s.Busy;
    }
    if (command == C::Compare && s.Comparing) {
        return true; // a comparison can always be ended
    }
    if (!s.Connected) {
        return false;
    }
    const bool pane = s.TreeActive || s.ListActive;
    const bool target = s.HasTreeTarget && !s.TreeTargetIsRoot; // T
    const bool some = s.TreeActive ? target : s.ListSelected >= 1;
    const bool one = s.TreeActive ? target : s.ListSelected == 1;
    const bool idle = !s.Busy;
    const bool listOne = s.ListActive && s.ListSelected == 1;
    switch (command) {
    case C::Download:
        return idle && s.LocalFolderUsable && pane && some;
    case C::DownloadTo:
    case C::DownloadInQueue:
        return s.LocalFolderUsable && pane && some;
    case C::Open:
        return idle && listOne;
    case C::OnlineEdit:
        return idle && listOne && s.FirstSelectedIsFile && s.EditorAvailable;
    case C::Print:
        return idle && listOne && s.FirstSelectedIsFile;
    case C::UpOneLevel:
        return idle && !s.SelectedNodeIsRoot;
    case C::Synchronize: // through a session of its own
        return true;
    case C::ChangeFolder:
    case C::Filtering:
    case C::Refresh:
    case C::Find: // its own session searches; the explorer takes the results
        return idle;
    case C::NewFolder:
        return idle && pane && (s.TreeActive ? s.HasTreeTarget : true);
    case C::Delete:
    case C::ChangePermission:
        return idle && pane && some;
    case C::Rename:
        return idle && pane && one;
    case C::Properties:
    case C::CopyURL:
        return pane && one;
    case C::Copy:
        return pane && some;
    case C::Paste:
        return s.ClipboardHasFiles && pane &&
               (s.TreeActive || s.ListSelected == 0 ||
                (s.ListSelected == 1 && s.FirstSelectedIsFolder));
    case C::Compare:
        return true;
    case C::CompareDifferences:
        return s.Comparing;
    case C::Abort:
        break;
    }
    return false;
}

namespace {

// A URL part: the sub-delimiters and the characters in keep stay as they are.
std::string UrlPart(std::string_view text, std::string_view keep) {
    return PercentEncode(text, std::string("!$&'()*+,;=").append(keep));
}

} // namespace

std::string CopyUrlText(const TSessionLogin& login, const std::string& path) {
    const bool sftp = login.Protocol == TRemoteProtocolKind::Sftp;
    std::string url = sftp ? "sftp://" : "ftp://";
    if (sftp ? !login.UserName.empty() : login.UserName != "anonymous") {
        url += UrlPart(login.UserName, "") + "@";
    }
    // An IPv6 address is written in brackets, so that its colons are not taken for the port's.
    const bool ipv6 = login.HostName.find(':') != std::string::npos;
    url += ipv6 ? "[" + login.HostName + "]" : login.HostName;
    if (!login.Port.empty() && login.Port != (sftp ? "22" : "21")) {
        url += ":" + login.Port;
    }
    return url + UrlPart(path, "/:@");
}

TFTPListItem MakeFolderEntry(const std::string& name, const std::string& permission,
                             const TShellIcons& icons) {
    TFTPListItem entry;
    entry.Name = name;
    entry.Size = -1;
    entry.DateText = "?";
    entry.TimeText = "?";
    entry.Permission = permission;
    entry.ImageIndex = icons.FolderIconIndex;
    entry.TypeName = icons.FolderTypeName;
    return entry;
}

std::string ChangedPermission(const std::string& permission, bool folder) {
    std::string text = permission;
    if (folder && !text.empty()) {
        text[0] = 'd';
    }
    return text;
}

TSessionLogin FileDataLogin(const TFTPFileData& data) {
    TSessionLogin login;
    CopyLogin(login, data);
    return login;
}

TFTPFileData MakeFileData(const TSessionLogin& login, const std::string& hostDirName,
                          std::vector<TFTPListItem> entries) {
    TFTPFileData data;
    CopyLogin(data, login);
    data.HostDirName = hostDirName;
    if (data.HostDirName.empty() || data.HostDirName.back() != '/') {
        data.HostDirName.push_back('/');
    }
    data.Items = std::move(entries);
    return data;
}

void SetDestination(TFTPCarryItem& item, const TSessionLogin& login) {
    item.DestHostName = login.HostName;
    item.DestPort = login.Port;
    item.DestUserName = login.UserName;
    item.DestPassword = login.Password;
    item.DestTransferType = login.TransferType;
    item.DestEncryption = login.Encryption;
    item.DestProtocol = login.Protocol;
    item.DestSsh = login.Ssh;
    item.DestProxy = login.Proxy;
    item.DestTimeZoneOffset = login.TimeZoneOffset;
    item.DestNameCharset = login.NameCharset;
    item.UploadToTemporaryName = login.UploadToTemporaryName;
}

namespace {

void SetSource(TFTPCarryItem& item, const TSessionLogin& login) {
    item.SrcHostName = login.HostName;
    item.SrcPort = login.Port;
    item.SrcUserName = login.UserName;
    item.SrcPassword = login.Password;
    item.SrcTransferType = login.TransferType;
    item.SrcEncryption = login.Encryption;
    item.SrcProtocol = login.Protocol;
    item.SrcSsh = login.Ssh;
    item.SrcProxy = login.Proxy;
    item.SrcTimeZoneOffset = login.TimeZoneOffset;
    item.SrcNameCharset = login.NameCharset;
}

void CopyEntry(TFTPCarryItem& item, const TFTPListItem& entry) {
    item.IsFolder = !entry.IsFile;
    item.FileName = entry.Name;
    item.FileSize = entry.IsFile ? entry.Size : -1;
    item.ImageIndex = entry.ImageIndex;
    item.TypeName = entry.TypeName;
}

} // namespace

std::vector<std::unique_ptr<TFTPCarryItem>>
MakeDownloadItems(const TSessionLogin& source, const std::string& sourceFolder,
                  const std::vector<TFTPListItem>& entries, std::string localFolder,
                  std::vector<std::string>* skipped) {
    AddTrailingSeparator(localFolder);
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    for (const TFTPListItem& entry : entries) {
        if (!IsSafeEntryName(entry.Name)) {
            if (skipped != nullptr) {
                skipped->push_back(entry.Name);
            }
            continue;
        }
        auto item = std::make_unique<TFTPCarryItem>();
        item->Direction = TCarryDirection::Download;
        CopyEntry(*item, entry);
        SetSource(*item, source);
        item->SrcPath = sourceFolder;
        item->ResumeTransfer = source.ResumeTransfer;
        item->PassiveMode = source.PassiveMode;
        item->DestPath = localFolder;
        item->DestTransferType = TFTPTransferType{};
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<std::unique_ptr<TFTPCarryItem>> MakeUploadItems(const std::vector<std::string>& paths,
                                                            const TSessionLogin& destination,
                                                            const std::string& destinationFolder,
                                                            const TShellIcons& icons) {
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    for (const std::string& path : paths) {
        std::filesystem::path local(path);
        if (!local.has_filename()) {
            local = local.parent_path(); // "folder/" names the folder itself
        }
        const std::string name = local.filename().string();
        if (name.empty()) {
            continue; // the file system's root has no name to upload under
        }
        std::error_code error;
        const auto status = std::filesystem::status(local, error);
        const bool folder = error || std::filesystem::is_directory(status);
        auto item = std::make_unique<TFTPCarryItem>();
        item->Direction = TCarryDirection::Upload;
        item->IsFolder = folder;
        item->FileName = name;
        item->SrcPath = local.parent_path().string();
        AddTrailingSeparator(item->SrcPath);
        SetDestination(*item, destination);
        item->DestPath = destinationFolder;
        item->ResumeTransfer = destination.ResumeTransfer;
        item->PassiveMode = destination.PassiveMode;
        if (folder) {
            item->ImageIndex = icons.FolderIconIndex;
            item->FileSize = -1;
            item->TypeName = icons.FolderTypeName;
        } else {
            item->ImageIndex = icons.GetIconIndex(name);
            item->FileSize = GetLocalFileSize(local.string());
            item->TypeName = icons.GetTypeName(name);
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::optional<std::string> SameServerDropProblem(const TFTPFileData& data,
                                                 const std::string& destinationFolder) {
    const std::string& source = data.HostDirName;
    for (const TFTPListItem& entry : data.Items) {
        if (entry.IsFile) {
            if (destinationFolder == source) {
                return QX_TRANSLATE_NOOP("qx::Core",
                                         "Destination folder is same with source folder");
            }
            continue;
        }
        const std::string sub = source + entry.Name + "/";
        if (destinationFolder == source || destinationFolder == sub) {
            return QX_TRANSLATE_NOOP("qx::Core", "Destination folder is same with source folder");
        }
        if (destinationFolder.starts_with(sub)) {
            return QX_TRANSLATE_NOOP("qx::Core",
                                     "Destination folder is sub-folder of source folder");
        }
    }
    return std::nullopt;
}

std::vector<std::unique_ptr<TFTPCarryItem>>
MakeServerToServerItems(const TFTPFileData& data, const TSessionLogin& destination,
                        const std::string& destinationFolder) {
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    const TSessionLogin source = FileDataLogin(data);
    for (const TFTPListItem& entry : data.Items) {
        if (!IsSafeEntryName(entry.Name)) {
            continue;
        }
        auto item = std::make_unique<TFTPCarryItem>();
        item->Direction = TCarryDirection::ServerToServer;
        CopyEntry(*item, entry);
        SetSource(*item, source);
        item->SrcPath = data.HostDirName;
        SetDestination(*item, destination);
        item->DestPath = destinationFolder;
        item->ResumeTransfer = destination.ResumeTransfer || data.ResumeTransfer;
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace qx
