// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MlsdFacts.h"

#include "base/AsciiText.h"
#include "base/Utilities.h"

#include <charconv>
#include <ctime>

namespace qx {

namespace {

template <typename Number> std::optional<Number> ParseNumber(std::string_view text, int base) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::int64_t> ParseFtpTimeVal(std::string_view text) {
    if (const auto dot = text.find('.'); dot != std::string_view::npos) {
        text = text.substr(0, dot);
    }
    if (text.size() != 14) {
        return std::nullopt;
    }
    const auto part = [&](std::size_t at, std::size_t length) {
        return ParseNumber<int>(text.substr(at, length), 10);
    };
    const auto year = part(0, 4), month = part(4, 2), day = part(6, 2);
    const auto hour = part(8, 2), minute = part(10, 2), second = part(12, 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
        *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 60) {
        return std::nullopt;
    }
    std::tm time = BrokenDownTime(*year, *month, *day, *hour, *minute, *second);
    return static_cast<std::int64_t>(::timegm(&time));
}

namespace {

void ApplyType(std::string_view value, TMlsdEntry& entry) {
    using K = TMlsdEntry::TKind;
    if (AsciiEqualNoCase(value, "file")) {
        entry.Kind = K::File;
    } else if (AsciiEqualNoCase(value, "dir")) {
        entry.Kind = K::Folder;
    } else if (AsciiEqualNoCase(value, "cdir")) {
        entry.Kind = K::ThisFolder;
    } else if (AsciiEqualNoCase(value, "pdir")) {
        entry.Kind = K::ParentFolder;
    } else if (AsciiStartsWithNoCase(value, "OS.unix=slink")) {
        entry.Kind = K::Link;
        if (value.size() > 13 && value[13] == ':') {
            entry.LinkTo = value.substr(14);
        }
    } else if (AsciiEqualNoCase(value, "OS.unix=symlink")) {
        entry.Kind = K::Link;
    } else {
        entry.Kind = K::Other;
    }
}

} // namespace

bool ParseMlsdLine(std::string_view line, TMlsdEntry& entry) {
    entry = TMlsdEntry{};
    // The facts end at the first blank; the name is everything after it.
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank + 1 >= line.size()) {
        return false;
    }
    entry.Name = line.substr(blank + 1);
    std::string_view facts = line.substr(0, blank);
    while (!facts.empty()) {
        const std::size_t end = facts.find(';');
        const std::string_view fact = facts.substr(0, end);
        facts = end == std::string_view::npos ? std::string_view() : facts.substr(end + 1);
        const std::size_t equals = fact.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view name = fact.substr(0, equals);
        const std::string_view value = fact.substr(equals + 1);
        if (AsciiEqualNoCase(name, "type")) {
            ApplyType(value, entry);
        } else if (AsciiEqualNoCase(name, "size") || AsciiEqualNoCase(name, "sizd")) {
            const auto size = ParseNumber<std::int64_t>(value, 10);
            entry.Size = size && *size >= 0 ? *size : -1;
        } else if (AsciiEqualNoCase(name, "modify")) {
            entry.ModifiedUtc = ParseFtpTimeVal(value);
        } else if (AsciiEqualNoCase(name, "unix.mode")) {
            // Some servers write the octal number with a "0o" prefix.
            std::string_view digits = value;
            if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'o' || digits[1] == 'O')) {
                digits.remove_prefix(2);
            }
            const auto mode = ParseNumber<std::uint32_t>(digits, 8);
            entry.UnixMode = mode && *mode <= 07777 ? mode : std::nullopt;
        }
    }
    return true;
}

void ModePermissionText(std::uint32_t mode, char (&text)[9]) {
    static constexpr char kLetters[] = "rwx";
    for (int bit = 0; bit < 9; ++bit) {
        text[bit] = (mode & (0400u >> bit)) != 0 ? kLetters[bit % 3] : '-';
    }
    const auto special = [&](std::uint32_t flag, int place, char set) {
        if ((mode & flag) != 0) {
            text[place] = text[place] == 'x' ? set : char(set - 'a' + 'A');
        }
    };
    special(04000, 2, 's');
    special(02000, 5, 's');
    special(01000, 8, 't');
}

} // namespace qx
