// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FtpUrl.h"

#include "base/AsciiText.h"
#include "base/Translatable.h"

#include <algorithm>
#include <cctype>

namespace qx {

std::string PercentEncode(std::string_view text, std::string_view keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("-._~").find(c) != std::string_view::npos ||
                           keep.find(c) != std::string_view::npos;
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = AsciiHexValue(text[i + 1]);
        const int low = AsciiHexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::optional<FtpUrl> ParseFtpUrl(std::string_view text, std::string& error) {
    const auto startsWith = [text](std::string_view scheme) {
        return AsciiStartsWithNoCase(text, scheme);
    };
    FtpUrl url;
    if (startsWith("ftps://")) {
        url.ImplicitTls = true;
        url.Port = "990";
        text.remove_prefix(7);
    } else if (startsWith("ftp://")) {
        text.remove_prefix(6);
    } else if (startsWith("sftp://")) {
        url.Protocol = TRemoteProtocolKind::Sftp;
        url.Port = "22";
        text.remove_prefix(7);
    } else {
        error = QX_TRANSLATE_NOOP("qx::Core",
                                  "the URL must start with ftp:// or ftps://, or sftp:// for SFTP");
        return std::nullopt;
    }
    const auto slash = text.find('/');
    std::string_view authority = text.substr(0, slash);
    const std::string_view rawPath =
        slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);

    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
        const auto colon = userInfo.find(':');
        const auto user = PercentDecode(userInfo.substr(0, colon));
        if (!user || user->empty()) {
            error =
                QX_TRANSLATE_NOOP("qx::Core", "the user name in the URL is empty or badly escaped");
            return std::nullopt;
        }
        url.User = *user;
        if (colon != std::string_view::npos) {
            const auto password = PercentDecode(userInfo.substr(colon + 1));
            if (!password) {
                error = QX_TRANSLATE_NOOP("qx::Core", "the password in the URL is badly escaped");
                return std::nullopt;
            }
            url.Password = *password;
            url.HasPassword = true;
        }
    }
    // An IPv6 address stands in brackets: "[2001:db8::1]:2121".
    std::string_view bracketed;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        const std::string_view inside =
            close == std::string_view::npos ? std::string_view{} : authority.substr(1, close - 1);
        const bool addressLike =
            inside.find(':') != std::string_view::npos &&
            std::all_of(inside.begin(), inside.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
            });
        if (!addressLike || (close + 1 < authority.size() && authority[close + 1] != ':')) {
            error = QX_TRANSLATE_NOOP(
                "qx::Core",
                "the IPv6 address in the URL is not in the form [address] or [address]:port");
            return std::nullopt;
        }
        bracketed = inside;
        authority.remove_prefix(close + 1); // what is left is empty or ":port"
    }
    if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
        const std::string_view port = authority.substr(colon + 1);
        authority = authority.substr(0, colon);
        const bool digits =
            !port.empty() && port.size() <= 5 && std::all_of(port.begin(), port.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) != 0;
            });
        if (!digits || std::stoi(std::string(port)) == 0 || std::stoi(std::string(port)) > 65535) {
            error = QX_TRANSLATE_NOOP("qx::Core",
                                      "the port in the URL is not a number from 1 to 65535");
            return std::nullopt;
        }
        url.Port = std::string(port);
    }
    if (!bracketed.empty()) {
        authority = bracketed;
    }
    if (authority.empty()) {
        error = QX_TRANSLATE_NOOP("qx::Core", "the URL names no host");
        return std::nullopt;
    }
    url.Host = std::string(authority);
    const auto path = PercentDecode(rawPath);
    if (!path) {
        error = QX_TRANSLATE_NOOP("qx::Core", "the path in the URL is badly escaped");
        return std::nullopt;
    }
    url.Path = *path;
    if (url.Protocol == TRemoteProtocolKind::Sftp && slash != std::string_view::npos) {
        if (url.Path == "~") {
            url.Path.clear();
        } else if (url.Path.starts_with("~/")) {
            url.Path.erase(0, 2);
        } else {
            url.Path.insert(0, "/");
        }
    }
    for (const std::string* part : {&url.User, &url.Password, &url.Host, &url.Path}) {
        if (HoldsLineBreakOrNul(*part)) {
            error = QX_TRANSLATE_NOOP("qx::Core",
                                      "the URL holds a CR, LF or NUL character (%0D, %0A or %00), "
                                      "which no FTP command can carry");
            return std::nullopt;
        }
    }
    return url;
}

std::pair<std::string, std::string> SplitRemotePath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {"", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace qx
