// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qx {

// A byte count as people write one: "1500", "500K", "2M", "1.5G" (K, M, G, T are powers of
// 1024, a trailing B or iB is allowed: "2MiB"). Nothing for anything else, a negative count or
// one beyond 2^62.
std::optional<std::int64_t> ParseByteCount(std::string_view text);

// A moment on this machine's clock: "2026-12-01", "2026-12-01 14:30" or "2026-12-01T14:30:05"
// (a day alone is its start), as seconds since the epoch. Nothing for anything else, or a date
// that does not exist (February 30).
std::optional<std::int64_t> ParseLocalMoment(std::string_view text);

} // namespace qx
