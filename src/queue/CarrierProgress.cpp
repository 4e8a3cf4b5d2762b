// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/CarrierProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qx {

namespace {
std::int64_t RoundHalfEven(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value)); // the default mode: to nearest even
}
} // namespace

TCarrierProgressTexts CarrierProgressTexts(std::int64_t fileSize, std::int64_t position,
                                           std::int64_t transfered, std::int64_t elapsedMs) {
    TCarrierProgressTexts texts;
    texts.Position = std::to_string(position);
    const bool sizeKnown = fileSize > 0;
    std::int64_t rate = 0;
    char buffer[64];
    if (elapsedMs > 0) {
        rate = RoundHalfEven(static_cast<double>(transfered) / static_cast<double>(elapsedMs) *
                             1000.0);
        std::snprintf(buffer, sizeof buffer, "%.2f KB/s", static_cast<double>(rate) / 1024.0);
        texts.TransferRate = buffer;
    }
    if (sizeKnown && rate != 0) {
        // A file that grew past its listed size has nothing left to wait for.
        const std::int64_t seconds = std::max<std::int64_t>(
            0, RoundHalfEven(static_cast<double>(fileSize - position) / static_cast<double>(rate)));
        std::snprintf(
            buffer, sizeof buffer, "%2lld:%2lld:%2lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
        texts.TimeLeft = buffer;
        std::replace(texts.TimeLeft.begin(), texts.TimeLeft.end(), ' ', '0');
    }
    if (sizeKnown) {
        std::snprintf(buffer, sizeof buffer, "%lld %%",
                      static_cast<long long>(RoundHalfEven(static_cast<double>(position) /
                                                           static_cast<double>(fileSize) * 100.0)));
        texts.Done = buffer;
    }
    return texts;
}

} // namespace qx
