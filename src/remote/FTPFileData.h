// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FTPListItem.h"
#include "engine/FtpTypes.h"

#include <string>
#include <vector>

namespace qx {

// Remote entries of one server as they leave a remote explorer by a drag or by Copy: the login
// of the session they come from, the folder that holds them and a copy of each entry. The
// windows put it on the clipboard or into a drag as the program's own format
// (TFTPFileDataObject), readable only inside the running program.
struct TFTPFileData {
    std::string HostName;
    std::string Port;
    std::string UserName;
    std::string Password;
    bool ResumeTransfer = false;
    TFTPTransferType TransferType = TFTPTransferType::ftpTypeBinary;
    bool PassiveMode = false;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TSshSettings Ssh;
    TProxySettings Proxy;
    int TimeZoneOffset = 0;          // minutes the server's LIST times run ahead of UTC
    std::string NameCharset;         // the file-name character set (base/NameCharset.h)
    std::string HostDirName;         // ending with "/"
    std::vector<TFTPListItem> Items; // named by their Name, in list order
};

} // namespace qx
