#include "settings/SiteProperties.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"

namespace qx {

TSiteProperties::TSiteProperties(const TGlobalOptions& options)
    : LoginRetry(options.DefLoginRetry), ReloginDelay(options.DefReloginDelay),
      ResumeTransfer(options.DefResumeTransfer), TransferType(options.DefTransferType),
      PassiveMode(options.DefPassiveMode) {}

void TSiteProperties::LoadFromStore(const TConfigStore& store, std::string_view path) {
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
    Password = text("Password").value_or(Password);
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
    if (const auto value = number("Encryption")) {
        if (*value >= 0 && *value <= static_cast<std::int32_t>(TFtpTlsMode::Implicit)) {
            Encryption = static_cast<TFtpTlsMode>(*value);
        }
    }
}

void TSiteProperties::SaveToStore(TConfigStore& store, std::string_view path) const {
    const TConfigBatch batch(store);
    store.CreateKey(path);
    store.WriteString(path, "HostName", HostName);
    store.WriteNumber(path, "Port", Port);
    store.WriteString(path, "UserName", UserName);
    store.WriteString(path, "Password", Password);
    store.WriteString(path, "InitialFolder", InitialFolder);
    store.WriteNumber(path, "LoginRetry", LoginRetry);
    store.WriteNumber(path, "ReloginDelay", ReloginDelay);
    store.WriteNumber(path, "ResumeTransfer", ResumeTransfer ? 1 : 0);
    store.WriteNumber(path, "TransferType", static_cast<std::int32_t>(TransferType));
    store.WriteNumber(path, "PassiveMode", PassiveMode ? 1 : 0);
    store.WriteNumber(path, "Encryption", static_cast<std::int32_t>(Encryption));
}

} // namespace qx
