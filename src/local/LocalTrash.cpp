// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalTrash.h"

#include "base/Translatable.h"
#include "local/LocalTransfers.h"
#include "local/LocalUriList.h"
#include "platform/LocalTime.h"
#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace {

std::string Reason() {
    return std::strerror(errno);
}

// Makes the folder and its missing parents (mode 0700 for the new ones).
bool MakeFolders(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) {
        return false;
    }
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

std::optional<dev_t> DeviceOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info.st_dev;
}

// The top folder of the volume that holds the path: the last folder above it on its device.
std::string VolumeTop(const std::string& path, dev_t device) {
    std::string top = LocalParentFolder(path);
    while (top.size() > 1) {
        top.pop_back(); // the trailing "/"
        const std::string parent = LocalParentFolder(top);
        const auto parentDevice = DeviceOf(parent);
        if (!parentDevice || *parentDevice != device) {
            return top;
        }
        top = parent;
    }
    return "/";
}

struct TTrashDir {
    std::string Root;   // holds files/ and info/
    std::string Prefix; // the info file's path is relative to this folder ("" for absolute)
};

std::optional<TTrashDir> TrashFor(const std::string& path, dev_t device,
                                  const TTrashPlaces& places) {
    if (!places.DataHome.empty()) {
        const std::string home = places.DataHome + "/Trash";
        MakeFolders(home);
        if (DeviceOf(home) == device) {
            return TTrashDir{home, ""};
        }
    }
    const std::string top = VolumeTop(path, device);
    const std::string topSlash = top == "/" ? top : top + "/";
    const std::string uid = std::to_string(places.Uid);
    struct stat shared {};
    if (::lstat((topSlash + ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) != 0) {
        const std::string mine = topSlash + ".Trash/" + uid;
        if (MakeFolders(mine) && DeviceOf(mine) == device) {
            return TTrashDir{mine, topSlash};
        }
    }
    const std::string own = topSlash + ".Trash-" + uid;
    struct stat info {};
    if (::lstat(own.c_str(), &info) == 0 ? (S_ISDIR(info.st_mode) && info.st_uid == places.Uid)
                                         : ::mkdir(own.c_str(), 0700) == 0) {
        if (DeviceOf(own) == device) {
            return TTrashDir{own, topSlash};
        }
    }
    return std::nullopt;
}

std::string DeletionDate(std::time_t now) {
    return LocalTimeText(now, "%Y-%m-%dT%H:%M:%S");
}

} // namespace

bool MoveToTrash(const std::string& path, const TTrashPlaces& places, std::string& error,
                 std::time_t now) {
    struct stat item {};
    if (path.empty() || path == "/" || ::lstat(path.c_str(), &item) != 0) {
        error = path.empty() || path == "/"
                    ? QX_TRANSLATE_NOOP("qx::Core", "The root cannot be deleted")
                    : Reason();
        return false;
    }
    std::string absolute = path;
    while (absolute.size() > 1 && absolute.ends_with('/')) {
        absolute.pop_back();
    }
    const auto trash = TrashFor(absolute, item.st_dev, places);
    if (!trash || !MakeFolders(trash->Root + "/files") || !MakeFolders(trash->Root + "/info")) {
        error = QX_TRANSLATE_NOOP("qx::Core", "There is no trash on the file system of this item");
        return false;
    }
    const std::string original = trash->Prefix.empty() || !absolute.starts_with(trash->Prefix)
                                     ? absolute
                                     : absolute.substr(trash->Prefix.size());
    const std::string contents = "[Trash Info]\nPath=" + PercentEncodePath(original) +
                                 "\nDeletionDate=" + DeletionDate(now) + "\n";
    const std::string base = LocalBaseName(absolute);
    // The info file is made first and exclusively: it claims the name in the trash.
    for (int number = 1; number < 10000; ++number) {
        const std::string name = number == 1 ? base : base + "." + std::to_string(number);
        const std::string info = trash->Root + "/info/" + name + ".trashinfo";
        const std::string file = trash->Root + "/files/" + name;
        UniqueFd fd(::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd) {
            if (errno == EEXIST) {
                continue;
            }
            error = Reason();
            return false;
        }
        struct stat taken {};
        if (::lstat(file.c_str(), &taken) == 0) { // a stray item without info
            fd = UniqueFd();
            ::unlink(info.c_str());
            continue;
        }
        const bool written = ::write(fd.get(), contents.data(), contents.size()) ==
                                 static_cast<ssize_t>(contents.size()) &&
                             ::fsync(fd.get()) == 0;
        fd = UniqueFd();
        if (!written || std::rename(absolute.c_str(), file.c_str()) != 0) {
            error = Reason();
            ::unlink(info.c_str());
            return false;
        }
        return true;
    }
    error = QX_TRANSLATE_NOOP("qx::Core", "The trash holds too many items of this name");
    return false;
}

} // namespace qx
