// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// "%.1f MB" when the size holds at least one whole MiB, otherwise "%.1f KB"; a window passes the
// user's decimal point (UTF-8) for the ".".
std::string FormatFileSize(int64_t size, std::string_view decimalPoint = ".");

// "%.2f GB Free" or "%.2f MB Free" of a free byte count (1023 bytes are added first).
std::string FormatDiskFreeSpace(uint64_t freeBytes);

// Free space of the file system that holds the path (all free bytes, not only those available
// to this user), or "Unknown" when it cannot be read.
std::string GetDiskFreeSpaceText(const std::string& path);

// True when the text is not empty and made of the digits 0 to 9 only.
bool IsNumber(std::string_view text);

// Size of the first regular file, in byte order of the names, that matches the name; "*" and
// "?" in the last path component are wildcards. -1 when no regular file matches.
int64_t GetLocalFileSize(const std::string& nameOrPattern);

// An empty path becomes "/"; otherwise "/" is appended unless the path already ends with it.
void AddTrailingSeparator(std::string& path);

// True exactly for the file-system root "/".
bool IsDriveRoot(std::string_view path);

// Clears the list, then appends every maximal run of characters that are not delimiters.
void SplitString(std::string_view text, std::string_view delimiters,
                 std::vector<std::string>& list);

// Length of the character starting at index i: the length of a valid UTF-8 sequence (2 to 4
// bytes), otherwise 1. Requires i < text.size().
std::size_t Utf8CharLength(std::string_view text, std::size_t i);

// The broken-down time of a calendar date (month 1 to 12) and time of day, for mktime or
// timegm.
std::tm BrokenDownTime(int year, int month, int day, int hour, int minute, int second);

} // namespace qx
