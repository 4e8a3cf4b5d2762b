// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/QuantityText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <ctime>
#include <string>

namespace qx {

namespace {

constexpr double kLargest = 4611686018427387904.0; // 2^62

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Digits of a fixed count at text[at...]; advances past them.
std::optional<int> Digits(std::string_view text, std::size_t& at, std::size_t count) {
    int value = 0;
    if (text.size() < at + count) {
        return std::nullopt;
    }
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + count, value);
    if (error != std::errc() || end != begin + count) {
        return std::nullopt;
    }
    at += count;
    return value;
}

bool Skip(std::string_view text, std::size_t& at, std::string_view separators) {
    if (at < text.size() && separators.find(text[at]) != std::string_view::npos) {
        ++at;
        return true;
    }
    return false;
}

} // namespace

std::optional<std::int64_t> ParseByteCount(std::string_view text) {
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data() || !std::isfinite(number) || number < 0) {
        return std::nullopt;
    }
    std::string unit(end, text.data() + text.size());
    for (char& c : unit) {
        c = Upper(c);
    }
    if (unit.ends_with("IB")) {
        unit.resize(unit.size() - 2);
    } else if (unit.ends_with('B')) {
        unit.pop_back();
    }
    static constexpr std::string_view kUnits = "KMGT";
    double factor = 1;
    if (unit.size() == 1 && kUnits.find(unit[0]) != std::string_view::npos) {
        for (std::size_t i = 0; i <= kUnits.find(unit[0]); ++i) {
            factor *= 1024;
        }
    } else if (!unit.empty()) {
        return std::nullopt;
    }
    const double bytes = std::floor(number * factor);
    if (bytes > kLargest) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(bytes);
}

std::optional<std::int64_t> ParseLocalMoment(std::string_view text) {
    std::size_t at = 0;
    const auto year = Digits(text, at, 4);
    const bool dash1 = Skip(text, at, "-");
    const auto month = Digits(text, at, 2);
    const bool dash2 = Skip(text, at, "-");
    const auto day = Digits(text, at, 2);
    if (!year || !dash1 || !month || !dash2 || !day) {
        return std::nullopt;
    }
    std::optional<int> hour = 0;
    std::optional<int> minute = 0;
    std::optional<int> second = 0;
    if (at < text.size()) {
        if (!Skip(text, at, " T")) {
            return std::nullopt;
        }
        hour = Digits(text, at, 2);
        const bool colon = Skip(text, at, ":");
        minute = Digits(text, at, 2);
        if (!colon ||
            (at < text.size() && !(Skip(text, at, ":") && (second = Digits(text, at, 2))))) {
            return std::nullopt;
        }
    }
    if (at != text.size() || !hour || !minute || !second || *hour > 23 || *minute > 59 ||
        *second > 59) {
        return std::nullopt;
    }
    std::tm moment{};
    moment.tm_year = *year - 1900;
    moment.tm_mon = *month - 1;
    moment.tm_mday = *day;
    moment.tm_hour = *hour;
    moment.tm_min = *minute;
    moment.tm_sec = *second;
    moment.tm_isdst = -1;
    std::tm normalised = moment;
    const std::time_t seconds = std::mktime(&normalised);
    // mktime moves February 30 to March 2: such a date does not exist.
    if (seconds == -1 || normalised.tm_mday != moment.tm_mday ||
        normalised.tm_mon != moment.tm_mon || normalised.tm_year != moment.tm_year) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(seconds);
}

} // namespace qx
