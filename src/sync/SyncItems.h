// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FtpTypes.h"
#include "queue/FTPCarryItem.h"
#include "sync/SyncPlan.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qx {

// The server of a synchronization: its login and what its transfers follow.
struct TSyncServer {
    std::string HostName;
    std::string Port;
    std::string UserName;
    std::string Password;
    TFTPTransferType TransferType = TFTPTransferType::ftpTypeBinary;
    bool PassiveMode = true;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TSshSettings Ssh;
    TProxySettings Proxy;
    bool ResumeTransfer = false;
    bool UploadToTemporaryName = true;
    int TimeZoneOffset = 0; // minutes the server's LIST times run ahead of UTC
    // The file-name character set (base/NameCharset.h).
    std::string NameCharset;
};

// The two folders a plan's relative paths are under: the remote one absolute, the local one
// without a trailing "/" (unless it is "/").
struct TSyncFolders {
    std::string Remote;
    std::string Local;

    std::string RemotePath(const std::string& relative) const;
    std::string LocalPath(const std::string& relative) const;
};

// The folder part of a relative path ("" at the top) and its last name.
std::string SyncParent(const std::string& relative);
std::string SyncName(const std::string& relative);

bool IsSyncTransfer(const TSyncAction& action);

// A queue item for a chosen upload or download of a plan.
std::unique_ptr<TFTPCarryItem> MakeSyncItem(const TSyncAction& action, const TSyncServer& server,
                                            const TSyncFolders& folders);

} // namespace qx
