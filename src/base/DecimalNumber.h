// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace qx {

// The whole text as a decimal number of the type; nothing when any of it is not, or when the
// number does not fit.
template <typename Number> std::optional<Number> ParseDecimal(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace qx
