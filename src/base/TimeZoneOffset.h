// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qx {

// How far a server's clock runs ahead of UTC, in minutes (negative: behind), as sites keep it
// and the command line takes it.

inline constexpr int kMaxTimeZoneOffsetMinutes = 24 * 60;

// "[+-]HH:MM" (or "[+-]H:MM", "[+-]HH"), at most 24 hours either way; nothing for anything else.
std::optional<int> ParseTimeZoneOffset(std::string_view text);

// "+02:00", "-05:30".
std::string TimeZoneOffsetText(int minutes);

} // namespace qx
