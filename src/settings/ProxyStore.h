// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "platform/PasswordStore.h"

#include <string_view>

namespace qx {

class TConfigStore;

// Which proxy a site's connections take ("ProxyMode"; absent reads as the global one).
enum class TSiteProxyMode : std::uint8_t { Global, None, Own };

// The proxy fields of a key: "ProxyKind" (the URL scheme: "none", "socks5", "socks5h",
// "http"), "ProxyHost", "ProxyPort", "ProxyUser", and the password as "ProxyPassword", or in the
// keyring under the proxy's host, port and user with "ProxyPasswordInKeyring" set, as site
// passwords are kept. Missing or unreadable values leave the defaults.
TProxySettings LoadProxy(const TConfigStore& store, std::string_view path,
                         TPasswordStore* passwords);
// A password already in the keyring is not written again; one that cannot go there is written
// into the key. No proxy at all leaves no value.
void SaveProxy(TConfigStore& store, std::string_view path, const TProxySettings& proxy,
               TPasswordStore* passwords);

// The proxy a site's connection takes: none, the global one, or its own.
TProxySettings ChosenProxy(TSiteProxyMode mode, const TProxySettings& own,
                           const TProxySettings& global);

} // namespace qx
