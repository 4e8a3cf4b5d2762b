// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ProxyStore.h"
#include "settings/SpeedLimitSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

class TGlobalOptions;
class TSiteProperties;

// The rules of the site properties dialog, without widgets: the texts and states of its
// controls, the anonymous-login rule, the enable rule of "Save" and "Connect..." and the
// commit into the edited object. The dialog never owns the object.
class TSitePropertiesEditor {
public:
    // Fills the controls from the site; the user name goes in before the password, so a site
    // stored as "anonymous" keeps its own password, shown unmasked.
    TSitePropertiesEditor(TSiteProperties& site, const TGlobalOptions& options);

    // Copies the controls into the site ("Save" and "Connect..."). The port is taken only
    // when its text is valid, and the transfer type only when an item is selected.
    void Commit();

    bool SaveEnabled() const; // never for a quick connect
    bool ConnectEnabled() const;

    // The port of a port text: digits only, and a value that fits 32 bits; larger numbers are
    // rejected like any other invalid text.
    static std::optional<std::int32_t> ParsePort(std::string_view text);

    // As a click: checking fills in "anonymous" and the global e-mail as an unmasked password;
    // unchecking clears both and masks again. Setting the current state does nothing.
    void SetAnonymousLogin(bool checked);
    bool AnonymousLogin() const { return m_anonymous; }
    // The box follows the text: checked exactly for "anonymous" (case-sensitive), and a change
    // of the box's state has the effect of a click.
    void SetUserNameText(std::string text);
    const std::string& UserNameText() const { return m_userName; }
    void SetPasswordText(std::string text) { m_password = std::move(text); }
    const std::string& PasswordText() const { return m_password; }
    bool PasswordMasked() const { return m_passwordMasked; }

    // Up-down positions, kept within 1 to 100.
    void SetLoginRetryPosition(std::int32_t position);
    std::int32_t LoginRetryPosition() const { return m_loginRetry; }
    void SetReloginDelayPosition(std::int32_t position);
    std::int32_t ReloginDelayPosition() const { return m_reloginDelay; }

    // The selected "Transfer Type" item (0 ASCII, 1 Binary, 2 Auto), -1 for none.
    void SetTransferTypeIndex(int index);
    int TransferTypeIndex() const { return m_transferTypeIndex; }

    std::string NameText;
    bool NameEnabled = true;
    std::string LocationText;
    std::string HostNameText;
    std::string PortText;
    std::string InitialFolderText;
    bool ResumeTransferChecked = false;
    bool PassiveModeChecked = false;
    bool UseMlsdChecked = true;
    bool UploadToTemporaryNameChecked = true;
    // The "Encryption" choice, in the order of TFtpTlsMode: plain FTP, explicit TLS if
    // available, explicit TLS required, implicit TLS required.
    static constexpr const char* kEncryptionTexts[] = {
        "Use plain FTP", "Use explicit TLS if available", "Require explicit TLS",
        "Require implicit TLS"};
    int EncryptionIndex() const { return m_encryptionIndex; }
    // Implicit TLS has a port of its own: a port still at one default follows to the other.
    void SetEncryptionIndex(int index);

    // The "Protocol" choice, in the order of TRemoteProtocolKind. SFTP has port 22: a port
    // still at the default of one choice follows to the other's.
    static constexpr const char* kProtocolTexts[] = {"FTP", "SFTP (over SSH)"};
    int ProtocolIndex() const { return m_protocolIndex; }
    void SetProtocolIndex(int index);
    bool IsSftp() const;
    // What applies to one protocol only is disabled for the other: passive mode, MLSD and the
    // TLS choice are FTP's; the key file and the agent are SFTP's.
    bool FtpFieldsEnabled() const { return !IsSftp(); }
    bool SshFieldsEnabled() const { return IsSftp(); }
    std::string SshKeyFileText;
    bool SshUseAgentChecked = true;
    // The server's time-zone offset as hours (-24 to 24) and minutes (0 to 59, or -59 to 59
    // with 0 hours); the minutes take the sign of the hours.
    int TimeZoneHours = 0;
    int TimeZoneMinutes = 0;
    // Proxy
    TSiteProxyMode ProxyModeValue = TSiteProxyMode::Global;
    TProxySettings ProxyValue;

    // File-name character set: "Auto" or a set's name, and the set Auto takes when the server
    // offers no UTF-8.
    static constexpr const char* kAutoEncodingText = "Auto";
    std::string NameEncodingText;
    std::string NameEncodingFallbackText;
    // Speed limits and keep-alive (seconds, 0 none), as the site keeps them.
    bool UseGlobalSpeedLimitsChecked = true;
    TSpeedLimitValues SpeedLimits;
    std::int32_t KeepAliveSeconds = 60;

private:
    // The port a new site of the current choice gets.
    std::string DefaultPortText() const;
    // Sets a choice of 0 to last; a port still at the default of the choice before moves
    // along to the new one's.
    void SetChoiceFollowingPort(int& choice, int index, int last);

    int m_encryptionIndex = 0;
    int m_protocolIndex = 0;
    TSiteProperties& m_site;
    const TGlobalOptions& m_options;
    bool m_anonymous = false;
    std::string m_userName;
    std::string m_password;
    bool m_passwordMasked = true;
    std::int32_t m_loginRetry = 1;
    std::int32_t m_reloginDelay = 1;
    int m_transferTypeIndex = -1;
};

} // namespace qx
