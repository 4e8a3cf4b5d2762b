// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TempFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <system_error>

namespace qx {

namespace {

std::filesystem::path systemTempRoot() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && *tmpdir == '/') {
        return tmpdir;
    }
    return "/tmp";
}

[[noreturn]] void fail(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

} // namespace

std::filesystem::path PrivateTempFolder() {
    auto folder =
        systemTempRoot() / ("quorvin-explorer-" + std::to_string(static_cast<long>(::getuid())));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        fail(errno, "Cannot create the temporary folder " + folder.string());
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        fail(errno, "Cannot read the temporary folder " + folder.string());
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        fail(EPERM, "The temporary folder " + folder.string() + " is not a folder of this user");
    }
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        fail(errno, "Cannot make the temporary folder " + folder.string() + " private");
    }
    return folder;
}

TempFile CreateTempFile(const std::filesystem::path& folder, std::string_view suffix) {
    std::random_device random;
    std::uniform_int_distribution<int> letter('a', 'z');
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name(8, 'a');
        for (char& c : name) {
            c = static_cast<char>(letter(random));
        }
        name += suffix;
        const std::string path = (folder / name).string();
        const int fd =
            ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            return {path, UniqueFd(fd)};
        }
        if (errno != EEXIST) {
            fail(errno, "Cannot create a temporary file in " + folder.string());
        }
    }
    fail(EEXIST, "Cannot create a temporary file in " + folder.string());
}

} // namespace qx
