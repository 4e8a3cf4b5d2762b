// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncItems.h"

#include "base/ShellIcons.h"
#include "session/RemoteNames.h"

#include <filesystem>

namespace qx {

namespace {

std::string AsFolder(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

} // namespace

std::string TSyncFolders::RemotePath(const std::string& relative) const {
    return relative.empty() ? Remote : JoinRemotePath(Remote, relative);
}

std::string TSyncFolders::LocalPath(const std::string& relative) const {
    return relative.empty() ? Local : (std::filesystem::path(Local) / relative).string();
}

std::string SyncParent(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string SyncName(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}

bool IsSyncTransfer(const TSyncAction& action) {
    return action.Chosen &&
           (action.Kind == TSyncActionKind::Upload || action.Kind == TSyncActionKind::Download);
}

std::unique_ptr<TFTPCarryItem> MakeSyncItem(const TSyncAction& action, const TSyncServer& server,
                                            const TSyncFolders& folders) {
    const std::string folder = SyncParent(action.Path);
    const std::string remote = AsFolder(folders.RemotePath(folder));
    const std::string local = AsFolder(folders.LocalPath(folder));
    auto item = std::make_unique<TFTPCarryItem>();
    const bool upload = action.Kind == TSyncActionKind::Upload;
    item->Direction = upload ? TCarryDirection::Upload : TCarryDirection::Download;
    item->PassiveMode = server.PassiveMode;
    item->ResumeTransfer = server.ResumeTransfer;
    item->UploadToTemporaryName = server.UploadToTemporaryName;
    item->SrcTransferType = item->DestTransferType = server.TransferType;
    item->FileName = SyncName(action.Path);
    item->FileSize = action.Bytes;
    const auto serverSide = [&server](std::string& host, std::string& port, std::string& user,
                                      std::string& password, TFtpTlsMode& encryption,
                                      TRemoteProtocolKind& protocol, TSshSettings& ssh,
                                      int& offset) {
        host = server.HostName;
        port = server.Port;
        user = server.UserName;
        password = server.Password;
        encryption = server.Encryption;
        protocol = server.Protocol;
        ssh = server.Ssh;
        offset = server.TimeZoneOffset;
    };
    (upload ? item->DestNameCharset : item->SrcNameCharset) = server.NameCharset;
    if (upload) {
        serverSide(item->DestHostName, item->DestPort, item->DestUserName, item->DestPassword,
                   item->DestEncryption, item->DestProtocol, item->DestSsh,
                   item->DestTimeZoneOffset);
    } else {
        serverSide(item->SrcHostName, item->SrcPort, item->SrcUserName, item->SrcPassword,
                   item->SrcEncryption, item->SrcProtocol, item->SrcSsh, item->SrcTimeZoneOffset);
    }
    (upload ? item->DestProxy : item->SrcProxy) = server.Proxy;
    item->SrcPath = upload ? local : remote;
    item->DestPath = upload ? remote : local;
    const TShellIcons& icons = SharedShellIcons();
    item->ImageIndex = icons.GetIconIndex(item->FileName);
    item->TypeName = icons.GetTypeName(item->FileName);
    return item;
}

} // namespace qx
