// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ProxyStore.h"

#include "platform/ConfigStore.h"

#include <initializer_list>

namespace qx {

namespace {

constexpr std::string_view kPasswordValue = "ProxyPassword";
constexpr std::string_view kInKeyringValue = "ProxyPasswordInKeyring";

TPasswordKey passwordKey(const TProxySettings& proxy) {
    return {proxy.Host, proxy.Port, proxy.User};
}

} // namespace

TProxySettings LoadProxy(const TConfigStore& store, std::string_view path,
                         TPasswordStore* passwords) {
    TProxySettings proxy;
    const auto kind = store.ReadString(path, "ProxyKind");
    if (!kind) {
        return proxy;
    }
    const auto parsed = ProxyKindFromScheme(*kind);
    proxy.Kind = parsed.value_or(TProxyKind::None);
    proxy.Host = store.ReadString(path, "ProxyHost").value_or("");
    if (const auto port = store.ReadNumber(path, "ProxyPort"); port && *port > 0 && *port < 65536) {
        proxy.Port = static_cast<std::uint16_t>(*port);
    } else {
        proxy.Port = DefaultProxyPort(proxy.Kind);
    }
    proxy.User = store.ReadString(path, "ProxyUser").value_or("");
    if (auto plain = store.ReadString(path, kPasswordValue)) {
        proxy.Password = std::move(*plain);
    } else if (store.ReadNumber(path, kInKeyringValue).value_or(0) != 0 && passwords != nullptr) {
        const auto kept = passwords->Lookup(passwordKey(proxy));
        if (kept.Status == TPasswordStore::TLookup::Found) {
            proxy.Password = kept.Password;
        }
    }
    return proxy;
}

void SaveProxy(TConfigStore& store, std::string_view path, const TProxySettings& proxy,
               TPasswordStore* passwords) {
    if (proxy == TProxySettings{}) {
        // Nothing set: keys from before proxies stay as they were.
        for (const std::string_view name : std::initializer_list<std::string_view>{
                 "ProxyKind", "ProxyHost", "ProxyPort", "ProxyUser", kPasswordValue,
                 kInKeyringValue}) {
            store.DeleteValue(path, name);
        }
        return;
    }
    store.WriteString(path, "ProxyKind", ProxyKindScheme(proxy.Kind));
    store.WriteString(path, "ProxyHost", proxy.Host);
    store.WriteNumber(path, "ProxyPort", proxy.Port);
    store.WriteString(path, "ProxyUser", proxy.User);
    const bool inKeyring = store.ReadNumber(path, kInKeyringValue).value_or(0) != 0;
    if (proxy.Password.empty()) {
        // An unreadable keyring gives an empty password: its entry is left as it is.
        store.DeleteValue(path, kPasswordValue);
        return;
    }
    if (inKeyring && passwords != nullptr) {
        const auto kept = passwords->Lookup(passwordKey(proxy));
        if (kept.Status == TPasswordStore::TLookup::Found && kept.Password == proxy.Password) {
            return;
        }
    }
    if (passwords != nullptr && passwords->Available() &&
        passwords->Store(passwordKey(proxy), proxy.Password)) {
        store.DeleteValue(path, kPasswordValue);
        store.WriteNumber(path, kInKeyringValue, 1);
    } else {
        store.WriteString(path, kPasswordValue, proxy.Password);
        store.DeleteValue(path, kInKeyringValue);
    }
}

TProxySettings ChosenProxy(TSiteProxyMode mode, const TProxySettings& own,
                           const TProxySettings& global) {
    switch (mode) {
    case TSiteProxyMode::Global:
        return global;
    case TSiteProxyMode::Own:
        return own;
    case TSiteProxyMode::None:
        break;
    }
    return {};
}

} // namespace qx
