// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalUriList.h"

#include "base/FtpUrl.h"

#include <algorithm>

namespace qx {

std::string PercentEncodePath(std::string_view bytes) {
    return PercentEncode(bytes, "/");
}

std::string FileUriOf(std::string_view path) {
    return "file://" + PercentEncodePath(path);
}

std::optional<std::string> PathOfFileUri(std::string_view uri) {
    constexpr std::string_view kScheme = "file:";
    if (uri.size() < kScheme.size() ||
        !std::equal(kScheme.begin(), kScheme.end(), uri.begin(),
                    [](char a, char b) { return a == (b | 0x20) || a == b; })) {
        return std::nullopt;
    }
    std::string_view rest = uri.substr(kScheme.size());
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost") {
            return std::nullopt;
        }
        rest.remove_prefix(slash);
    }
    if (!rest.starts_with('/')) {
        return std::nullopt;
    }
    rest = rest.substr(0, std::min(rest.find_first_of("?#"), rest.size()));
    auto path = PercentDecode(rest);
    if (!path || path->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return path;
}

std::string MakeUriList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += FileUriOf(path);
        list += "\r\n";
    }
    return list;
}

std::vector<std::string> ParseUriList(std::string_view text) {
    std::vector<std::string> paths;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (auto path = PathOfFileUri(line)) {
            paths.push_back(std::move(*path));
        }
    }
    return paths;
}

} // namespace qx
