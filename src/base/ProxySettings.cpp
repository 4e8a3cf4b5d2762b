// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ProxySettings.h"

#include "base/AsciiText.h"
#include "base/FtpUrl.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace qx {

namespace {

struct TSchemeName {
    TProxyKind Kind;
    std::string_view Scheme;
};

constexpr std::array<TSchemeName, 4> kSchemes{{
    {TProxyKind::None, "none"},
    {TProxyKind::Socks5, "socks5"},
    {TProxyKind::Socks5Hostname, "socks5h"},
    {TProxyKind::Http, "http"},
}};

// Letters, digits, dots, hyphens and underscores, or the colons of an IPv6 address.
bool isHostName(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' ||
               c == '_' || c == ':';
    });
}

} // namespace

std::string_view ProxyKindLabel(TProxyKind kind) {
    switch (kind) {
    case TProxyKind::Socks5:
    case TProxyKind::Socks5Hostname:
        return "SOCKS5";
    case TProxyKind::Http:
        return "HTTP";
    case TProxyKind::None:
        break;
    }
    return "none";
}

std::string_view ProxyKindScheme(TProxyKind kind) {
    for (const TSchemeName& entry : kSchemes) {
        if (entry.Kind == kind) {
            return entry.Scheme;
        }
    }
    return "none";
}

std::optional<TProxyKind> ProxyKindFromScheme(std::string_view scheme) {
    for (const TSchemeName& entry : kSchemes) {
        if (AsciiEqualNoCase(entry.Scheme, scheme)) {
            return entry.Kind;
        }
    }
    return std::nullopt;
}

std::uint16_t DefaultProxyPort(TProxyKind kind) {
    return kind == TProxyKind::Http ? 8080 : 1080;
}

std::optional<TProxySettings> ParseProxyUrl(std::string_view url, std::string& error) {
    const auto separator = url.find("://");
    const auto kind = separator == std::string_view::npos
                          ? std::nullopt
                          : ProxyKindFromScheme(url.substr(0, separator));
    if (!kind || *kind == TProxyKind::None) {
        error = "the proxy must be given as socks5://, socks5h:// or http://HOST:PORT";
        return std::nullopt;
    }
    std::string_view rest = url.substr(separator + 3);
    if (rest.ends_with('/')) {
        rest.remove_suffix(1);
    }
    if (rest.find('/') != std::string_view::npos) {
        error = "a proxy address has no path";
        return std::nullopt;
    }
    // The authority has the form of an ftp:// URL's: its parser reads user, password, host
    // (an IPv6 one in brackets) and port.
    const auto parsed = ParseFtpUrl("ftp://" + std::string(rest), error);
    if (!parsed) {
        error = "in the proxy address, " + error;
        return std::nullopt;
    }
    if (!isHostName(parsed->Host)) {
        error = "the proxy's host name holds a character no host name has";
        return std::nullopt;
    }
    TProxySettings proxy;
    proxy.Kind = *kind;
    proxy.Host = parsed->Host;
    proxy.User = parsed->User;
    proxy.Password = parsed->Password;
    proxy.Port = DefaultProxyPort(*kind);
    if (rest.ends_with(":" + parsed->Port)) {
        std::from_chars(parsed->Port.data(), parsed->Port.data() + parsed->Port.size(), proxy.Port);
    }
    return proxy;
}

std::string ProxyDisplayUrl(const TProxySettings& proxy) {
    std::string url(ProxyKindScheme(proxy.Kind));
    url += "://";
    if (!proxy.User.empty()) {
        url += PercentEncode(proxy.User, "") + "@";
    }
    const bool ipv6 = proxy.Host.find(':') != std::string::npos;
    url += ipv6 ? "[" + proxy.Host + "]" : proxy.Host;
    url += ":" + std::to_string(proxy.Port);
    return url;
}

} // namespace qx
