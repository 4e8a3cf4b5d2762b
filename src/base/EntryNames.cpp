// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/EntryNames.h"

namespace qx {

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    return name.find_first_of(std::string_view("/\0\r\n", 4)) == std::string_view::npos;
}

std::string JoinRemotePath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

} // namespace qx
