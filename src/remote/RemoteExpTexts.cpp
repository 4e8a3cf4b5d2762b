// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/RemoteExpTexts.h"

#include "base/Utilities.h"
#include "session/SessionLog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qx {

namespace {
std::int64_t RoundHalfEven(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value));
}
} // namespace

TTransferPanels TransferPanels(std::int64_t fileSize, std::int64_t position,
                               std::int64_t transfered, std::int64_t elapsedMs) {
    TTransferPanels panels;
    const bool known = fileSize != -1;
    panels.Size = known ? std::to_string(fileSize) : std::string();
    panels.Position = std::to_string(position);
    const std::int64_t speed = elapsedMs > 0
                                   ? RoundHalfEven(static_cast<double>(transfered) /
                                                   static_cast<double>(elapsedMs) * 1000.0)
                                   : 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f KB/s", static_cast<double>(speed) / 1024.0);
    panels.Rate = buffer;
    if (!known) {
        return panels;
    }
    if (fileSize == 0) {
        panels.TimeLeft = "00:00:00";
        panels.Done = "100 %";
        return panels;
    }
    if (speed != 0) {
        const std::int64_t seconds =
            std::max<std::int64_t>(0, RoundHalfEven(static_cast<double>(fileSize - position) /
                                                    static_cast<double>(speed)));
        std::snprintf(
            buffer, sizeof buffer, "%2lld:%2lld:%2lld", static_cast<long long>(seconds / 3600),
            static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
        panels.TimeLeft = buffer;
        std::replace(panels.TimeLeft.begin(), panels.TimeLeft.end(), ' ', '0');
    }
    std::snprintf(buffer, sizeof buffer, "%lld %%",
                  static_cast<long long>(RoundHalfEven(static_cast<double>(position) /
                                                       static_cast<double>(fileSize) * 100.0)));
    panels.Done = buffer;
    return panels;
}

TLogColour LogLineColour(std::string_view line) {
    switch (LogLineKind(line)) {
    case TLogLineKind::Failure:
        return TLogColour::Red;
    case TLogLineKind::Reply: // a failure too when it says 4xx or 5xx
        return line.size() > 2 && (line[2] == '4' || line[2] == '5') ? TLogColour::Red
                                                                     : TLogColour::Green;
    case TLogLineKind::Command:
        return TLogColour::Blue;
    case TLogLineKind::Information:
        return TLogColour::Grey;
    case TLogLineKind::Status:
    case TLogLineKind::Plain:
        break;
    }
    return TLogColour::Black;
}

std::string SelectionText(int folders, int files, std::int64_t size, std::string_view format,
                          std::string_view decimalPoint) {
    return FormatText(format, {std::to_string(folders), std::to_string(files),
                               FormatFileSize(size, decimalPoint)});
}

} // namespace qx
