// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// Case rules of protocol words, key names and file extensions: only the ASCII letters A-Z and
// a-z have a case; every other byte (UTF-8 sequences included) is left as it is and compares
// as itself, whatever the locale of the process.

namespace qx {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The value of a hexadecimal digit (either case), or -1.
constexpr int AsciiHexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = AsciiLower(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string AsciiLowerCase(std::string_view text);
std::string AsciiUpperCase(std::string_view text);

constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

constexpr bool AsciiStartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AsciiEqualNoCase(text.substr(0, prefix.size()), prefix);
}

// Orders without regard to the case of ASCII letters, bytes compared unsigned; negative, zero
// or positive. Texts that differ only in case are equal here.
int AsciiCompareNoCase(std::string_view a, std::string_view b);

} // namespace qx
