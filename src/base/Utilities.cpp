// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utilities.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>

namespace qx {

namespace {

constexpr int64_t KiB = 1024;
constexpr int64_t MiB = 1024 * KiB;
constexpr uint64_t GiB = 1024 * 1024 * 1024;

template <typename... Args> std::string Format(const char* format, Args... args) {
    std::array<char, 64> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), format, args...);
    if (length < 0) {
        return {};
    }
    return std::string(buffer.data(),
                       std::min(static_cast<std::size_t>(length), buffer.size() - 1));
}

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

// Wildcard match of a whole name: "*" any run of characters, "?" one character, everything
// else compared exactly. Greedy, backtracking to the last "*" only.
bool WildcardMatches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::optional<std::size_t> starPattern;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
            continue;
        }
        if (p < pattern.size()) {
            if (pattern[p] == '?') {
                ++p;
                n += Utf8CharLength(name, n);
                continue;
            }
            if (pattern[p] == name[n]) {
                ++p;
                ++n;
                continue;
            }
        }
        if (!starPattern) {
            return false;
        }
        starName += Utf8CharLength(name, starName);
        p = *starPattern;
        n = starName;
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

int64_t RegularFileSize(int dirFd, const char* path) {
    struct stat status {};
    if (::fstatat(dirFd, path, &status, 0) != 0 || !S_ISREG(status.st_mode)) {
        return -1;
    }
    return static_cast<int64_t>(status.st_size);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

std::string FormatFileSize(int64_t size, std::string_view decimalPoint) {
    std::string text =
        size / MiB != 0 ? Format("%.1f MB", static_cast<double>(size) / static_cast<double>(MiB))
                        : Format("%.1f KB", static_cast<double>(size) / static_cast<double>(KiB));
    // The C library writes "." whatever the locale, as the program never sets LC_NUMERIC.
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalPoint);
    }
    return text;
}

std::string FormatDiskFreeSpace(uint64_t freeBytes) {
    const uint64_t value = freeBytes > UINT64_MAX - 1023 ? UINT64_MAX : freeBytes + 1023;
    if (value / GiB >= 1) {
        return Format("%.2f GB Free", static_cast<double>(value) / static_cast<double>(GiB));
    }
    return Format("%.2f MB Free", static_cast<double>(value) / static_cast<double>(MiB));
}

std::string GetDiskFreeSpaceText(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) {
        return "Unknown";
    }
    return FormatDiskFreeSpace(static_cast<uint64_t>(info.f_bfree) *
                               static_cast<uint64_t>(info.f_frsize));
}

bool IsNumber(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int64_t GetLocalFileSize(const std::string& nameOrPattern) {
    const auto slash = nameOrPattern.rfind('/');
    const std::string_view pattern = slash == std::string::npos
                                         ? std::string_view(nameOrPattern)
                                         : std::string_view(nameOrPattern).substr(slash + 1);
    if (pattern.find_first_of("*?") == std::string_view::npos) {
        return RegularFileSize(AT_FDCWD, nameOrPattern.c_str());
    }
    std::string folder = slash == std::string::npos ? std::string(".")
                         : slash == 0               ? std::string("/")
                                                    : nameOrPattern.substr(0, slash);
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return -1;
    }
    std::optional<std::string> firstName;
    int64_t firstSize = -1;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if ((firstName && name >= *firstName) || !WildcardMatches(pattern, name)) {
            continue;
        }
        const int64_t size = RegularFileSize(::dirfd(dir.get()), entry->d_name);
        if (size >= 0) {
            firstName = name;
            firstSize = size;
        }
    }
    return firstSize;
}

void AddTrailingSeparator(std::string& path) {
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
}

bool IsDriveRoot(std::string_view path) {
    return path == "/";
}

void SplitString(std::string_view text, std::string_view delimiters,
                 std::vector<std::string>& list) {
    list.clear();
    std::size_t start = text.find_first_not_of(delimiters);
    while (start != std::string_view::npos) {
        const std::size_t end = text.find_first_of(delimiters, start);
        list.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = text.find_first_not_of(delimiters, end);
    }
}

std::size_t Utf8CharLength(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
    };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return IsContinuation(at(1)) ? 2 : 1;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return IsContinuation(at(1), low, high) && IsContinuation(at(2)) ? 3 : 1;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return IsContinuation(at(1), low, high) && IsContinuation(at(2)) && IsContinuation(at(3))
                   ? 4
                   : 1;
    }
    return 1;
}

std::tm BrokenDownTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

} // namespace qx
