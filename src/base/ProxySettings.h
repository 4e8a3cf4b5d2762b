// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// How a connection reaches its server: directly, or through a tunnel a proxy opens.
// Socks5 resolves the server's name here and hands the proxy an address; Socks5Hostname hands
// it the name (socks5h://), for networks where only the proxy can resolve names.
enum class TProxyKind : std::uint8_t { None, Socks5, Socks5Hostname, Http };

struct TProxySettings {
    TProxyKind Kind = TProxyKind::None;
    std::string Host;
    std::uint16_t Port = 0;
    std::string User; // empty: no authentication
    std::string Password;

    bool Enabled() const { return Kind != TProxyKind::None; }
    bool operator==(const TProxySettings&) const = default;
};

// "SOCKS5" or "HTTP", as log lines and messages name the kind.
std::string_view ProxyKindLabel(TProxyKind kind);
// The URL scheme of the kind ("socks5", "socks5h", "http"; "none"), which the settings store.
std::string_view ProxyKindScheme(TProxyKind kind);
std::optional<TProxyKind> ProxyKindFromScheme(std::string_view scheme);
// The port a URL without one means: 1080 for SOCKS5, 8080 for HTTP.
std::uint16_t DefaultProxyPort(TProxyKind kind);

// socks5://[user[:password]@]host[:port], socks5h://... or http://...; user and password are
// percent-decoded, an IPv6 host is written in brackets. Nothing, with the reason in error, for
// anything else (another scheme, a path, an empty host, a bad port, control characters).
std::optional<TProxySettings> ParseProxyUrl(std::string_view url, std::string& error);

// The proxy as a URL without its password, for messages and logs.
std::string ProxyDisplayUrl(const TProxySettings& proxy);

} // namespace qx
