// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SitePropertiesEditor.h"

#include "base/TimeZoneOffset.h"
#include "base/UpDownPosition.h"
#include "base/Utilities.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace qx {

namespace {

constexpr std::string_view AnonymousUserName = "anonymous";

} // namespace

TSitePropertiesEditor::TSitePropertiesEditor(TSiteProperties& site, const TGlobalOptions& options)
    : HostNameText(site.HostName), PortText(std::to_string(site.Port)),
      InitialFolderText(site.InitialFolder), ResumeTransferChecked(site.ResumeTransfer),
      PassiveModeChecked(site.PassiveMode), UseMlsdChecked(site.UseMlsd),
      UploadToTemporaryNameChecked(site.UploadToTemporaryName), SshKeyFileText(site.SshKeyFile),
      SshUseAgentChecked(site.SshUseAgent), TimeZoneHours(site.TimeZoneOffset / 60),
      TimeZoneMinutes(TimeZoneHours != 0 ? std::abs(site.TimeZoneOffset % 60)
                                         : site.TimeZoneOffset % 60),
      ProxyModeValue(site.ProxyMode), ProxyValue(site.Proxy), m_site(site), m_options(options) {
    SetUserNameText(site.UserName);
    SetPasswordText(site.Password);
    SetLoginRetryPosition(site.LoginRetry);
    SetReloginDelayPosition(site.ReloginDelay);
    SetTransferTypeIndex(static_cast<int>(site.TransferType));
    m_encryptionIndex = static_cast<int>(site.Encryption);
    m_protocolIndex = static_cast<int>(site.Protocol);
    NameEncodingText = site.FileNameEncodingAuto ? kAutoEncodingText : site.FileNameEncoding;
    NameEncodingFallbackText = site.FileNameEncodingFallback;
    UseGlobalSpeedLimitsChecked = site.UseGlobalSpeedLimits;
    SpeedLimits = site.SpeedLimits;
    KeepAliveSeconds = site.KeepAliveInterval;
}

std::string TSitePropertiesEditor::DefaultPortText() const {
    if (IsSftp()) {
        return "22";
    }
    return m_encryptionIndex == static_cast<int>(TFtpTlsMode::Implicit) ? "990" : "21";
}

void TSitePropertiesEditor::SetChoiceFollowingPort(int& choice, int index, int last) {
    if (index < 0 || index > last) {
        return;
    }
    const std::string defaultBefore = DefaultPortText();
    choice = index;
    if (PortText == defaultBefore) {
        PortText = DefaultPortText();
    }
}

void TSitePropertiesEditor::SetEncryptionIndex(int index) {
    SetChoiceFollowingPort(m_encryptionIndex, index, static_cast<int>(TFtpTlsMode::Implicit));
}

void TSitePropertiesEditor::SetProtocolIndex(int index) {
    SetChoiceFollowingPort(m_protocolIndex, index, static_cast<int>(TRemoteProtocolKind::Sftp));
}

bool TSitePropertiesEditor::IsSftp() const {
    return m_protocolIndex == static_cast<int>(TRemoteProtocolKind::Sftp);
}

std::optional<std::int32_t> TSitePropertiesEditor::ParsePort(std::string_view text) {
    std::int32_t port = 0;
    if (!IsNumber(text)) {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return port;
}

bool TSitePropertiesEditor::ConnectEnabled() const {
    return !HostNameText.empty() && ParsePort(PortText) &&
           (m_site.QuickConnect || !NameText.empty());
}

bool TSitePropertiesEditor::SaveEnabled() const {
    return !m_site.QuickConnect && ConnectEnabled();
}

void TSitePropertiesEditor::SetAnonymousLogin(bool checked) {
    if (checked == m_anonymous) {
        return;
    }
    m_anonymous = checked;
    m_passwordMasked = !checked;
    m_userName = checked ? std::string(AnonymousUserName) : std::string();
    m_password = checked ? m_options.Email : std::string();
}

void TSitePropertiesEditor::SetUserNameText(std::string text) {
    m_userName = std::move(text);
    SetAnonymousLogin(m_userName == AnonymousUserName);
}

void TSitePropertiesEditor::SetLoginRetryPosition(std::int32_t position) {
    m_loginRetry = ClampUpDownPosition(position);
}

void TSitePropertiesEditor::SetReloginDelayPosition(std::int32_t position) {
    m_reloginDelay = ClampUpDownPosition(position);
}

void TSitePropertiesEditor::SetTransferTypeIndex(int index) {
    m_transferTypeIndex = index >= 0 && index <= 2 ? index : -1;
}

void TSitePropertiesEditor::Commit() {
    m_site.HostName = HostNameText;
    if (const auto port = ParsePort(PortText)) {
        m_site.Port = *port;
    }
    m_site.UserName = m_userName;
    m_site.Password = m_password;
    m_site.InitialFolder = InitialFolderText;
    m_site.LoginRetry = m_loginRetry;
    m_site.ReloginDelay = m_reloginDelay;
    m_site.ResumeTransfer = ResumeTransferChecked;
    m_site.PassiveMode = PassiveModeChecked;
    m_site.UseMlsd = UseMlsdChecked;
    m_site.UploadToTemporaryName = UploadToTemporaryNameChecked;
    m_site.Encryption = static_cast<TFtpTlsMode>(m_encryptionIndex);
    m_site.Protocol = static_cast<TRemoteProtocolKind>(m_protocolIndex);
    m_site.SshKeyFile = SshKeyFileText;
    m_site.SshUseAgent = SshUseAgentChecked;
    const int minutes = TimeZoneHours < 0 ? -std::abs(TimeZoneMinutes) : TimeZoneMinutes;
    m_site.TimeZoneOffset = std::clamp(TimeZoneHours * 60 + minutes, -kMaxTimeZoneOffsetMinutes,
                                       kMaxTimeZoneOffsetMinutes);
    if (m_transferTypeIndex >= 0) {
        m_site.TransferType = static_cast<TFTPTransferType>(m_transferTypeIndex);
    }
    m_site.ProxyMode = ProxyModeValue;
    m_site.Proxy = ProxyValue;
    m_site.FileNameEncodingAuto = NameEncodingText == kAutoEncodingText;
    if (!m_site.FileNameEncodingAuto) {
        m_site.FileNameEncoding = NameEncodingText;
    }
    m_site.FileNameEncodingFallback = NameEncodingFallbackText;
    m_site.UseGlobalSpeedLimits = UseGlobalSpeedLimitsChecked;
    m_site.SpeedLimits = SpeedLimits;
    m_site.KeepAliveInterval =
        std::clamp(KeepAliveSeconds, 0, TSiteProperties::kMaxKeepAliveInterval);
}

} // namespace qx
