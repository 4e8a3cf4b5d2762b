// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/LocalLinks.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace qx {

namespace {

enum class TWayBelow : std::uint8_t { Inside, Unsure };

// The common case without resolving every folder from "/": a path written below the root whose
// names below it are no links (or not there yet) lies inside it, wherever the root itself leads.
TWayBelow WayBelowRoot(const std::string& path, std::string root) {
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    if (root.empty() || path.size() <= root.size() + 1 || !path.starts_with(root) ||
        (root != "/" && path[root.size()] != '/')) {
        return TWayBelow::Unsure;
    }
    std::size_t at = root == "/" ? 1 : root.size() + 1;
    while (at <= path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string_view name(path.data() + at, end - at);
        if (name.empty() || name == "." || name == "..") {
            return TWayBelow::Unsure;
        }
        struct stat info {};
        if (::lstat(path.substr(0, end).c_str(), &info) != 0) {
            // Not there yet: nothing further down is either.
            return errno == ENOENT ? TWayBelow::Inside : TWayBelow::Unsure;
        }
        if (S_ISLNK(info.st_mode) || (end < path.size() && !S_ISDIR(info.st_mode))) {
            return TWayBelow::Unsure;
        }
        at = end + 1;
    }
    return TWayBelow::Inside;
}

} // namespace

bool LeadsOutOf(const std::string& path, const std::string& root) {
    if (WayBelowRoot(path, root) == TWayBelow::Inside) {
        return false;
    }
    const fs::path target(path);
    std::error_code error;
    // A link is followed to where it leads; anything else lies where its folder does (its own
    // name may be one the file system cannot take, which is no matter of links).
    const bool link = fs::is_symlink(fs::symlink_status(target, error));
    const fs::path resolved =
        link ? fs::weakly_canonical(target, error)
             : fs::weakly_canonical(target.parent_path(), error) / target.filename();
    if (error) {
        return true;
    }
    const fs::path top = fs::weakly_canonical(root, error);
    if (error) {
        return true;
    }
    const auto mismatch = std::mismatch(top.begin(), top.end(), resolved.begin(), resolved.end());
    // "/a/b/" ends with an empty component that "/a/b/c" does not have at that place.
    return mismatch.first != top.end() && !mismatch.first->empty();
}

} // namespace qx
