// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/LocalLinks.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace qx {

bool LeadsOutOf(const std::string& path, const std::string& root) {
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
