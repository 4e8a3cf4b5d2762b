// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalFileSystem.h"

#include "base/Translatable.h"
#include "base/Utilities.h"
#include "local/LocalTransfers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace fs = std::filesystem;

bool IsMountRoot(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat self {};
    struct stat parent {};
    const std::string parentPath = (path.back() == '/' ? path : path + "/") + "..";
    if (::stat(path.c_str(), &self) != 0 || ::stat(parentPath.c_str(), &parent) != 0) {
        return false;
    }
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

std::string UniqueName(const std::string& folder, const std::string& baseName, bool keepExtension) {
    std::string stem = baseName;
    std::string extension;
    if (keepExtension) {
        const auto dot = baseName.rfind('.');
        if (dot != std::string::npos && dot > 0) {
            stem = baseName.substr(0, dot);
            extension = baseName.substr(dot);
        }
    }
    std::string prefix = folder;
    AddTrailingSeparator(prefix);
    std::string name = baseName;
    std::error_code error;
    for (int number = 2;
         fs::symlink_status(prefix + name, error).type() != fs::file_type::not_found; ++number) {
        name = stem + " (" + std::to_string(number) + ")" + extension;
    }
    return name;
}

std::optional<std::string> MakeNewFolder(const std::string& folder, std::string& error) {
    std::string path = folder;
    AddTrailingSeparator(path);
    path += UniqueName(folder, "New Folder");
    if (::mkdir(path.c_str(), 0777) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> MakeLinkTo(const std::string& target, const std::string& folder,
                                      std::string& error) {
    const std::string name = LocalBaseName(target);
    std::string path = folder;
    AddTrailingSeparator(path);
    path += UniqueName(folder, "Link to " + (name.empty() ? std::string("Root") : name));
    if (::symlink(target.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    return path;
}

bool RenameLocal(const std::string& path, const std::string& newName, std::string& error) {
    if (newName.empty() || newName == "." || newName == ".." ||
        newName.find('/') != std::string::npos || newName.find('\0') != std::string::npos) {
        error = QX_TRANSLATE_NOOP("qx::Core", "Invalid name");
        return false;
    }
    const std::string target = LocalParentFolder(path) + newName;
    if (target == path) {
        return true;
    }
    // renameat2 with RENAME_NOREPLACE is not everywhere; link-free check then rename, refused
    // when the name exists (a race with another program is left to the file system).
    std::error_code status;
    if (fs::symlink_status(target, status).type() != fs::file_type::not_found) {
        error = QX_TRANSLATE_NOOP("qx::Core", "The name is already taken");
        return false;
    }
    if (std::rename(path.c_str(), target.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace qx
