// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FtpTypes.h"

#include <cstdint>
#include <string>

namespace qx {

// A remote text file handed to the online editor: the server and login to write it back with,
// where it lives there, and the local file its download went to.
struct TRemoteEditFile {
    std::string HostName;
    std::string Port;
    std::string UserName;
    std::string Password;
    std::string HostDirName; // ending with "/"; the remote path is HostDirName + FileName
    std::string FileName;
    // Binary: the editor keeps the file's bytes and line ends itself.
    TFTPTransferType TransferType = TFTPTransferType::ftpTypeBinary;
    bool PassiveMode = false;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TSshSettings Ssh;
    TProxySettings Proxy;
    std::string NameCharset;           // the file-name character set (base/NameCharset.h)
    bool UploadToTemporaryName = true; // the site's choice for writing the file back
    std::string LocalFileName;
};

// The largest file the online editor takes; a larger one is refused before it is downloaded.
inline constexpr std::int64_t kMaxOnlineEditFileSize = 64LL * 1024 * 1024;

} // namespace qx
