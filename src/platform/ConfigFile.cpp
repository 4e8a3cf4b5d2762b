// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ConfigFile.h"

#include "platform/LocalTime.h"
#include "platform/UniqueFd.h"
#include "platform/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace qx {

namespace {

std::string TimeStamp() {
    return LocalTimeText(std::time(nullptr), "%Y%m%d-%H%M%S");
}

} // namespace

// Creates the folder and its missing parents, each with mode 0700.
bool CreatePrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

std::filesystem::path FolderOfFile(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::optional<std::string> ReadWholeFile(int fd, int& error) {
    std::string text;
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return std::nullopt;
        }
        if (got == 0) {
            return text;
        }
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

// Writes the file through a new file in the same folder, so a crash leaves either the old
// file or the new one.
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view text) {
    const auto folder = FolderOfFile(file);
    if (!CreatePrivateFolders(folder)) {
        return false;
    }
    std::string temp = file.string() + ".new-XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC)); // exclusive, mode 0600
    if (!fd) {
        return false;
    }
    bool ok = ::fchmod(fd.get(), 0600) == 0 && WriteAll(fd.get(), text) && ::fsync(fd.get()) == 0;
    ok = ::close(fd.release()) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir && ::fsync(dir.get()) == 0;
}

// Renames the file to "<name>.damaged-YYYYMMDD-HHMMSS", with "-2", "-3"... when that exists.
std::optional<std::filesystem::path> MoveFileAside(const std::filesystem::path& file, int& error) {
    const std::string base = file.string() + ".damaged-" + TimeStamp();
    for (int counter = 1; counter < 1000; ++counter) {
        const std::string target = counter == 1 ? base : base + "-" + std::to_string(counter);
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            return target;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            // The file system cannot refuse to replace; look first instead.
            struct stat info {};
            if (::lstat(target.c_str(), &info) == 0) {
                continue;
            }
            if (::rename(file.c_str(), target.c_str()) == 0) {
                return target;
            }
        }
        if (errno != EEXIST) {
            error = errno;
            return std::nullopt;
        }
    }
    error = EEXIST;
    return std::nullopt;
}

} // namespace qx
