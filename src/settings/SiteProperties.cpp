// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteProperties.h"

#include "base/AsciiText.h"
#include "base/NameCharset.h"
#include "base/TimeZoneOffset.h"
#include "platform/ConfigStore.h"
#include "platform/PasswordStore.h"
#include "settings/GlobalOptions.h"
#include "settings/StoreKeys.h"

#include <algorithm>
#include <cstdlib>

namespace qx {

namespace {
constexpr std::string_view PasswordValue = "Password";
constexpr std::string_view InKeyringValue = "PasswordInKeyring";
} // namespace

TSiteProperties::TSiteProperties(const TGlobalOptions& options)
    : LoginRetry(options.DefLoginRetry), ReloginDelay(options.DefReloginDelay),
      ResumeTransfer(options.DefResumeTransfer), TransferType(options.DefTransferType),
      PassiveMode(options.DefPassiveMode) {}

void TSiteProperties::LoadFromStore(const TConfigStore& store, std::string_view path,
                                    TPasswordStore* passwords) {
    if (!store.KeyExists(path)) {
        return;
    }
    const auto text = [&](std::string_view name) { return store.ReadString(path, name); };
    const auto number = [&](std::string_view name) { return store.ReadNumber(path, name); };
    if (auto value = text("HostName"); value && !value->empty()) {
        HostName = std::move(*value);
    }
    Port = number("Port").value_or(Port);
    UserName = text("UserName").value_or(UserName);
    if (auto plain = text(PasswordValue)) {
        Password = std::move(*plain);
    } else if (number(InKeyringValue).value_or(0) != 0) {
        Password.clear();
        const auto kept = passwords != nullptr ? passwords->Lookup(PasswordKey())
                                               : TPasswordStore::TLookupResult{};
        PasswordUnread = kept.Status == TPasswordStore::TLookup::Failed;
        if (kept.Status == TPasswordStore::TLookup::Found) {
            Password = kept.Password;
        }
    }
    InitialFolder = text("InitialFolder").value_or(InitialFolder);
    LoginRetry = number("LoginRetry").value_or(LoginRetry);
    ReloginDelay = number("ReloginDelay").value_or(ReloginDelay);
    if (const auto value = number("ResumeTransfer")) {
        ResumeTransfer = *value != 0;
    }
    if (const auto value = number("TransferType")) {
        TransferType = static_cast<TFTPTransferType>(static_cast<std::uint8_t>(*value));
    }
    if (const auto value = number("PassiveMode")) {
        PassiveMode = *value != 0;
    }
    if (const auto value = number("UseMlsd")) {
        UseMlsd = *value != 0;
    }
    if (const auto value = number("UploadToTemporaryName")) {
        UploadToTemporaryName = *value != 0;
    }
    if (const auto value = number("Encryption")) {
        if (*value >= 0 && *value <= static_cast<std::int32_t>(TFtpTlsMode::Implicit)) {
            Encryption = static_cast<TFtpTlsMode>(*value);
        }
    }
    if (const auto value = number("Protocol")) {
        if (*value >= 0 && *value <= static_cast<std::int32_t>(TRemoteProtocolKind::Sftp)) {
            Protocol = static_cast<TRemoteProtocolKind>(*value);
        }
    }
    SshKeyFile = text("SshKeyFile").value_or(SshKeyFile);
    if (const auto value = number("SshUseAgent")) {
        SshUseAgent = *value != 0;
    }
    SshConfigFile = text("SshConfigFile").value_or(SshConfigFile);
    SshKnownHostsFile = text("SshKnownHostsFile").value_or(SshKnownHostsFile);
    if (const auto value = number("TimeZoneOffset");
        value && std::abs(*value) <= kMaxTimeZoneOffsetMinutes) {
        TimeZoneOffset = *value;
    }
    // Proxy
    if (const auto value = number("ProxyMode");
        value && *value >= 0 && *value <= static_cast<std::int32_t>(TSiteProxyMode::Own)) {
        ProxyMode = static_cast<TSiteProxyMode>(*value);
    }
    Proxy = LoadProxy(store, path, passwords);
    if (const auto value = text("FileNameEncoding")) {
        FileNameEncodingAuto = value->empty() || AsciiEqualNoCase(*value, "Auto");
        if (!FileNameEncodingAuto) {
            FileNameEncoding = CanonicalCharsetName(*value);
        }
    }
    if (const auto value = text("FileNameEncodingFallback"); value && !value->empty()) {
        FileNameEncodingFallback = CanonicalCharsetName(*value);
    }
    if (const auto value = number(UseGlobalSpeedLimitsValue)) {
        UseGlobalSpeedLimits = *value != 0;
    }
    SpeedLimits.Load(store, path);
    if (const auto value = number(KeepAliveIntervalValue)) {
        KeepAliveInterval = std::clamp(*value, 0, kMaxKeepAliveInterval);
    }
}

void TSiteProperties::SaveToStore(TConfigStore& store, std::string_view path,
                                  TPasswordStore* passwords) const {
    const TConfigBatch batch(store);
    store.CreateKey(path);
    store.WriteString(path, "HostName", HostName);
    store.WriteNumber(path, "Port", Port);
    store.WriteString(path, "UserName", UserName);
    if (PasswordUnread && Password.empty()) {
        // The keyring still holds it: the marker stays, and nothing is written over it.
    } else if (!Password.empty() && passwords != nullptr && passwords->Available() &&
               passwords->Store(PasswordKey(), Password)) {
        store.DeleteValue(path, PasswordValue);
        store.WriteNumber(path, InKeyringValue, 1);
    } else {
        store.WriteString(path, PasswordValue, Password);
        store.DeleteValue(path, InKeyringValue);
    }
    store.WriteString(path, "InitialFolder", InitialFolder);
    store.WriteNumber(path, "LoginRetry", LoginRetry);
    store.WriteNumber(path, "ReloginDelay", ReloginDelay);
    store.WriteNumber(path, "ResumeTransfer", ResumeTransfer ? 1 : 0);
    store.WriteNumber(path, "TransferType", static_cast<std::int32_t>(TransferType));
    store.WriteNumber(path, "PassiveMode", PassiveMode ? 1 : 0);
    store.WriteNumber(path, "UseMlsd", UseMlsd ? 1 : 0);
    store.WriteNumber(path, "UploadToTemporaryName", UploadToTemporaryName ? 1 : 0);
    store.WriteNumber(path, "Encryption", static_cast<std::int32_t>(Encryption));
    store.WriteNumber(path, "Protocol", static_cast<std::int32_t>(Protocol));
    store.WriteString(path, "SshKeyFile", SshKeyFile);
    store.WriteNumber(path, "SshUseAgent", SshUseAgent ? 1 : 0);
    // Rarely set (no dialog shows them): written only when they hold a file.
    const auto optionalText = [&](std::string_view name, const std::string& value) {
        if (value.empty()) {
            store.DeleteValue(path, name);
        } else {
            store.WriteString(path, name, value);
        }
    };
    optionalText("SshConfigFile", SshConfigFile);
    optionalText("SshKnownHostsFile", SshKnownHostsFile);
    if (TimeZoneOffset != 0) {
        store.WriteNumber(path, "TimeZoneOffset", TimeZoneOffset);
    } else {
        store.DeleteValue(path, "TimeZoneOffset");
    }
    // Proxy
    if (ProxyMode == TSiteProxyMode::Global) {
        store.DeleteValue(path, "ProxyMode");
    } else {
        store.WriteNumber(path, "ProxyMode", static_cast<std::int32_t>(ProxyMode));
    }
    SaveProxy(store, path, Proxy, passwords);
    // Written only when not the defaults (Auto, UTF-8), so that older site books read alike.
    optionalText("FileNameEncoding", FileNameEncodingAuto ? std::string() : FileNameEncoding);
    optionalText("FileNameEncodingFallback",
                 FileNameEncodingFallback == "UTF-8" ? std::string() : FileNameEncodingFallback);
    store.WriteNumber(path, UseGlobalSpeedLimitsValue, UseGlobalSpeedLimits ? 1 : 0);
    SpeedLimits.Save(store, path);
    store.WriteNumber(path, KeepAliveIntervalValue, KeepAliveInterval);
}

std::string TSiteProperties::NameCharset() const {
    return CharsetChoiceText(
        {FileNameEncodingAuto, FileNameEncodingAuto ? FileNameEncodingFallback : FileNameEncoding});
}

TSshSettings TSiteProperties::SshSettings() const {
    TSshSettings ssh;
    ssh.IdentityFile = SshKeyFile;
    ssh.UseAgent = SshUseAgent;
    ssh.ConfigFile = SshConfigFile;
    ssh.KnownHostsFile = SshKnownHostsFile;
    return ssh;
}

TPasswordKey TSiteProperties::PasswordKey() const {
    return {HostName, Port, UserName};
}

} // namespace qx
