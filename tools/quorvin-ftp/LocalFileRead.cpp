// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalFileRead.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace qx::cli {

std::optional<std::string> ReadLocalFile(const std::string& path, std::string& problem) {
    struct stat info {};
    // NOLINTNEXTLINE(bugprone-branch-clone): a failed stat and a failed open read alike
    if (::stat(path.c_str(), &info) != 0) {
        problem = "cannot read " + path + ": " + std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = "cannot read " + path + ": it is a folder, not a file";
    } else if (!S_ISREG(info.st_mode)) {
        problem = "cannot read " + path + ": not a regular file";
    } else if (std::ifstream in(path, std::ios::binary); !in) {
        problem = "cannot read " + path + ": " + std::strerror(errno);
    } else {
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    return std::nullopt;
}

} // namespace qx::cli
