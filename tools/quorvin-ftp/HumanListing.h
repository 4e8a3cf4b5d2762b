// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace qx::cli {

// "1.5K", "23M", "4.2G": the size in the largest unit of 1024 that keeps it below 1024, with
// one decimal below 10 (as ls -h shows sizes).
std::string ReadableSize(std::int64_t bytes);

struct THumanListingStyle {
    bool ReadableSizes = false; // -h
    // Entries older than half a year (or in the future) show their year instead of their time,
    // as ls does; the year and month of today decide.
    int CurrentYear = 0;
    int CurrentMonth = 0;
};

// One line per entry, like ls -l: permissions, size (a folder's as "-"), date, name, and
// " -> target" for a link; columns aligned. Names are the server's bytes with "\", TAB, LF and
// CR written as "\\", "\t", "\n" and "\r" and other control characters as "\xHH".
void PrintHumanListing(const TFTPListItems& items, const THumanListingStyle& style,
                       std::ostream& out);

} // namespace qx::cli
