// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FtpTypes.h"
#include "platform/PasswordStore.h"
#include "settings/ProxyStore.h"
#include "settings/SpeedLimitSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

class TConfigStore;
class TGlobalOptions;
class TSiteBookNode;

// The connection settings of one FTP site. The defaults of the retry, delay, resume, transfer
// type and passive fields come from the global options at the moment of construction.
class TSiteProperties {
public:
    explicit TSiteProperties(const TGlobalOptions& options);

    // Reads the site's values from the key; a missing key or value, or one of another type,
    // leaves the field as it is. An empty host name is not taken. A password kept in the
    // keyring ("PasswordInKeyring" instead of "Password") is read from the password store;
    // when that cannot be read, PasswordUnread tells so.
    void LoadFromStore(const TConfigStore& store, std::string_view path,
                       TPasswordStore* passwords = nullptr);
    // Writes the values into the key, creating it first; other values, subkeys and the
    // key's default value are left alone. With a password store that is available, the
    // password goes there and the key holds no "Password" (a plain one stored before is
    // removed); otherwise it is written into the key. An unread keyring password is left
    // where it is.
    void SaveToStore(TConfigStore& store, std::string_view path,
                     TPasswordStore* passwords = nullptr) const;

    // What an SFTP connection to the site hands ssh.
    TSshSettings SshSettings() const;

    // The keyring entry of the site's login.
    TPasswordKey PasswordKey() const;

    // What a new site shows as its host until the user types one.
    static constexpr const char* kPlaceholderHostName = "HostName.DomainName";

    std::string HostName = kPlaceholderHostName;
    std::int32_t Port = 21;
    std::string UserName;
    std::string Password; // in the keyring when there is one, else in the settings file
    std::string InitialFolder;
    std::int32_t LoginRetry;
    std::int32_t ReloginDelay;
    bool ResumeTransfer;
    TFTPTransferType TransferType;
    bool PassiveMode;
    // Listings use MLSD where the server offers it ("UseMlsd"; absent reads as on).
    bool UseMlsd = true;
    // Uploads travel under a temporary name ("NAME.part") and are renamed over their target
    // when complete; off for servers that refuse renames ("UploadToTemporaryName"; absent
    // reads as on).
    bool UploadToTemporaryName = true;
    // "Encryption": an absent value is plain FTP, so site books from before stay as they were.
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    // "Protocol": an absent value is FTP (with TLS when Encryption says so); SFTP ignores
    // Encryption, passive mode and MLSD, and keeps them for a change back.
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    std::string SshKeyFile;  // "SshKeyFile": empty leaves ssh's own choice of keys
    bool SshUseAgent = true; // "SshUseAgent": absent reads as on
    // "SshConfigFile" (ssh -F) and "SshKnownHostsFile": another ssh configuration and
    // known-hosts file than the user's; empty (absent) leaves ssh's own. No dialog shows them.
    std::string SshConfigFile;
    std::string SshKnownHostsFile;
    // "TimeZoneOffset": minutes the server's LIST times run ahead of UTC (engine/FTPListItem.h,
    // EntryUtcTime); written only when not 0, and kept within a day either way.
    std::int32_t TimeZoneOffset = 0;
    TSiteBookNode* SiteNode = nullptr; // the site book node owning this object, not owned
    bool QuickConnect = false;         // never stored
    // The password is in the keyring, which could not be read: Password is empty, and saving
    // the site with an empty password keeps the keyring's.
    bool PasswordUnread = false;

    // Proxy: the global one, none, or the site's own ("ProxyMode" and the fields of
    // settings/ProxyStore.h).
    TSiteProxyMode ProxyMode = TSiteProxyMode::Global;
    TProxySettings Proxy;
    // File-name character set: "FileNameEncoding" ("Auto" or a set of OfferedCharsets(),
    // base/NameCharset.h) and "FileNameEncodingFallback", the set Auto takes when the server
    // offers no UTF-8; absent values read as Auto and UTF-8, and the defaults are not written.
    bool FileNameEncodingAuto = true;
    std::string FileNameEncoding = "UTF-8"; // the fixed set
    std::string FileNameEncodingFallback = "UTF-8";
    // The choice as the sessions take it (base/NameCharset.h, ParseCharsetChoice).
    std::string NameCharset() const;
    // Speed limits and keep-alive: the site's own limits unless it uses the global ones
    // ("UseGlobalSpeedLimits", absent reads as on); seconds between keep-alives of an idle
    // connection ("KeepAliveInterval", absent reads as 60; 0 sends none).
    bool UseGlobalSpeedLimits = true;
    TSpeedLimitValues SpeedLimits;
    static constexpr std::int32_t kMaxKeepAliveInterval = 3600;
    std::int32_t KeepAliveInterval = 60;
};

} // namespace qx
