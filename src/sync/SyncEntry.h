// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qx {

// One name of a folder as a comparison sees it, local or remote alike.
struct TSyncEntry {
    std::string Name;
    bool IsFolder = false;
    std::int64_t Size = 0; // bytes of a file
    // The start of the span the time is known to, in seconds since 1970 UTC: an entry known
    // to the minute was changed somewhere in [Time, Time + 60).
    std::optional<std::int64_t> Time;
    TTimePrecision Precision = TTimePrecision::Unknown;
};

enum class TTimeOrder : std::uint8_t {
    Older,                // certainly changed before the other
    Equal,                // the same second
    EqualWithinPrecision, // the spans overlap: the coarser side cannot tell them apart
    Newer,
    Unknown, // a side has no time
};

// Orders a's time against b's by the spans both are known to, so that a time known to the
// minute or the day never counts as older or newer than a time inside that minute or day.
TTimeOrder CompareTimes(const TSyncEntry& a, const TSyncEntry& b);

// Seconds a precision spans; 0 for Unknown.
std::int64_t PrecisionSpan(TTimePrecision precision);

} // namespace qx
