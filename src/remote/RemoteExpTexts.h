// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Translatable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// The texts of the remote explorer's status bar while a transfer runs: panels 0 to 4 (size,
// position, rate, time left, percent). Rounding is to the nearest integer, halves to even.
struct TTransferPanels {
    std::string Size;
    std::string Position;
    std::string Rate;
    std::string TimeLeft;
    std::string Done;
};
TTransferPanels TransferPanels(std::int64_t fileSize, std::int64_t position,
                               std::int64_t transfered, std::int64_t elapsedMs);

// The colour of a session log line, by its kind (and a reply's code).
enum class TLogColour { Black, Red, Green, Blue, Grey };
TLogColour LogLineColour(std::string_view line);

// The log holds fewer than this many lines: the line that would reach it starts a new log.
inline constexpr int kMaxLogLines = 500;

// The selection in the file status bar: the counts and the size of the files in the format's %1,
// %2 and %3 (a window passes the format in the user's language, and its decimal point).
inline constexpr const char* kSelectionFormat =
    QX_TRANSLATE_NOOP("qx::Core", "%1 Folders, %2 Files Selected, %3");
std::string SelectionText(int folders, int files, std::int64_t size,
                          std::string_view format = kSelectionFormat,
                          std::string_view decimalPoint = ".");

} // namespace qx
