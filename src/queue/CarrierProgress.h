// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// The progress columns of a running item.
struct TCarrierProgressTexts {
    std::string Position;
    std::string TransferRate; // "12.34 KB/s"; empty before any time has passed
    std::string TimeLeft;     // "00:01:05"; empty when the size or the rate is unknown
    std::string Done;         // "42 %"; empty when the size is unknown
};

// From the item's size (-1 or 0: unknown) and a progress report of its carrier. Rates, seconds
// and percentages are rounded to the nearest integer, halves to even.
TCarrierProgressTexts CarrierProgressTexts(std::int64_t fileSize, std::int64_t position,
                                           std::int64_t transfered, std::int64_t elapsedMs);

} // namespace qx
