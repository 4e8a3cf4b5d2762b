// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TimeZoneOffset.h"

#include <cstdio>
#include <cstdlib>

namespace qx {

namespace {

// One or two decimal digits; -1 for anything else.
int SmallNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 2) {
        return -1;
    }
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<int> ParseTimeZoneOffset(std::string_view text) {
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    const std::size_t colon = text.find(':');
    const int hours = SmallNumber(text.substr(0, colon));
    const int minutes = colon == std::string_view::npos ? 0 : SmallNumber(text.substr(colon + 1));
    if (hours < 0 || minutes < 0 || minutes > 59 ||
        (colon != std::string_view::npos && text.size() - colon != 3)) {
        return std::nullopt;
    }
    const int total = hours * 60 + minutes;
    if (total > kMaxTimeZoneOffsetMinutes) {
        return std::nullopt;
    }
    return sign * total;
}

std::string TimeZoneOffsetText(int minutes) {
    const int magnitude = std::abs(minutes);
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return text;
}

} // namespace qx
