// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/RemoteNames.h"

#include <algorithm>
#include <vector>

namespace qx {

std::string NormalizeRemotePath(std::string_view path) {
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
            } else if (!absolute) {
                parts.push_back(part);
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            result += '/';
        }
        result += parts[i];
    }
    return result.empty() ? "." : result;
}

bool LinkLoopsBack(std::string_view listedFolder, std::string_view linkTarget) {
    if (linkTarget.empty()) {
        return false;
    }
    const std::string folder = NormalizeRemotePath(listedFolder);
    const std::string target = linkTarget.front() == '/'
                                   ? NormalizeRemotePath(linkTarget)
                                   : NormalizeRemotePath(JoinRemotePath(listedFolder, linkTarget));
    if (target == folder || target == "/" || target == ".") {
        return true;
    }
    // An ancestor: the folder lies below the target.
    return folder.size() > target.size() && folder.compare(0, target.size(), target) == 0 &&
           folder[target.size()] == '/';
}

std::string LowerCaseExtension(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    return AsciiLowerCase(name.substr(dot));
}

} // namespace qx
