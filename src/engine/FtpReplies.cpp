// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FtpReplies.h"

#include "base/AsciiText.h"

#include <limits>
#include <string>

namespace qx {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number of at most maxDigits digits, blanks around it allowed.
std::optional<unsigned> smallNumber(std::string_view text, std::size_t maxDigits) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

} // namespace

std::optional<LineCut> FindReplyLineEnd(std::string_view bytes, bool acceptLF) {
    if (acceptLF) {
        const auto lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            return std::nullopt;
        }
        return LineCut{lf, 1};
    }
    const auto crlf = bytes.find("\r\n");
    if (crlf == std::string_view::npos) {
        return std::nullopt;
    }
    return LineCut{crlf, 2};
}

std::string_view ReplyLineText(std::string_view bytes, const LineCut& cut) {
    std::string_view line = bytes.substr(0, cut.length);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return line;
}

bool IsFinalReplyLine(std::string_view line) {
    if (line.empty() || !isDigit(line.front())) {
        return false;
    }
    std::size_t i = 0;
    while (i < line.size() && isDigit(line[i])) {
        ++i;
    }
    return i >= line.size() || line[i] != '-';
}

int ReplyCode(std::string_view line) {
    int code = 0;
    for (std::size_t i = 0; i < line.size() && isDigit(line[i]); ++i) {
        if (code > 99999) {
            break; // a real code has three digits; keep absurd ones bounded
        }
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

std::string QuotedDirName(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isDigit(line[i])) {
        ++i;
    }
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    if (i >= line.size() || line[i] != '"') {
        return {};
    }
    std::string name;
    for (++i; i < line.size(); ++i) {
        if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                name += '"';
                ++i;
                continue;
            }
            break;
        }
        name += line[i];
    }
    return name;
}

std::int64_t ByteCountFromReply(std::string_view line) {
    const auto open = line.rfind('(');
    if (open == std::string_view::npos) {
        return -1;
    }
    std::string_view rest = line.substr(open + 1);
    const auto digits = rest.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos || digits > 18) {
        return -1;
    }
    const std::string_view unit = rest.substr(digits);
    constexpr std::string_view kBytes = " bytes)";
    if (!AsciiStartsWithNoCase(unit, kBytes)) {
        return -1;
    }
    return std::stoll(std::string(rest.substr(0, digits)));
}

std::int64_t SizeFromReply(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isDigit(line[i])) {
        ++i;
    }
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') {
            ++i;
        }
        const std::string_view word = line.substr(start, i - start);
        if (word.empty()) {
            break;
        }
        bool digits = true;
        std::int64_t value = 0;
        for (char c : word) {
            if (!isDigit(c)) {
                digits = false;
                break;
            }
            if (value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10) {
                digits = false; // too large for a size
                break;
            }
            value = value * 10 + (c - '0');
        }
        if (digits) {
            return value;
        }
    }
    return -1;
}

std::optional<std::uint16_t> PasvPortFromReply(std::string_view line) {
    // The numbers usually stand in parentheses; a few servers leave them out, and then the
    // first number after the reply code starts them.
    std::string_view rest;
    if (const auto open = line.find('('); open != std::string_view::npos) {
        rest = line.substr(open + 1);
    } else {
        std::size_t i = 0;
        while (i < line.size() && isDigit(line[i])) {
            ++i;
        }
        while (i < line.size() && !isDigit(line[i])) {
            ++i;
        }
        rest = line.substr(i);
    }
    // The host numbers are skipped: the data connection always goes to the server of the
    // control connection.
    for (int field = 0; field < 4; ++field) {
        const auto comma = rest.find(',');
        if (comma == std::string_view::npos) {
            return std::nullopt;
        }
        rest.remove_prefix(comma + 1);
    }
    const auto comma = rest.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const auto high = smallNumber(rest.substr(0, comma), 3);
    std::string_view lowText = rest.substr(comma + 1);
    if (const auto close = lowText.find(')'); close != std::string_view::npos) {
        lowText = lowText.substr(0, close);
    } else {
        std::size_t digits = 0;
        while (digits < lowText.size() && isDigit(lowText[digits])) {
            ++digits;
        }
        lowText = lowText.substr(0, digits);
    }
    const auto low = smallNumber(lowText, 3);
    if (!high || !low || *high > 255 || *low > 255) {
        return std::nullopt;
    }
    const unsigned port = *high * 256 + *low;
    if (port == 0) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(port);
}

std::optional<std::uint16_t> EpsvPortFromReply(std::string_view line) {
    const auto open = line.find('(');
    if (open == std::string_view::npos || open + 1 >= line.size()) {
        return std::nullopt;
    }
    const char delimiter = line[open + 1];
    if (delimiter < 33 || delimiter > 126 || isDigit(delimiter)) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(open + 1);
    // "|||port|)": three delimiters, the digits, a fourth delimiter, then ")".
    if (rest.size() < 6 || rest[1] != delimiter || rest[2] != delimiter) {
        return std::nullopt;
    }
    rest.remove_prefix(3);
    const auto end = rest.find(delimiter);
    if (end == std::string_view::npos || end + 1 >= rest.size() || rest[end + 1] != ')') {
        return std::nullopt;
    }
    const auto port = smallNumber(rest.substr(0, end), 5);
    if (!port || *port == 0 || *port > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*port);
}

std::string EprtCommand(std::string_view address, bool ipv6, std::uint16_t port) {
    std::string command = "EPRT |";
    command += ipv6 ? "2|" : "1|";
    command += address;
    command += '|';
    command += std::to_string(port);
    command += '|';
    return command;
}

std::string PortCommand(std::uint32_t address, std::uint16_t port, bool serverIsLoopback) {
    if (serverIsLoopback) {
        address = 0x7F000001;
    }
    return "PORT " + std::to_string((address >> 24) & 0xFF) + "," +
           std::to_string((address >> 16) & 0xFF) + "," + std::to_string((address >> 8) & 0xFF) +
           "," + std::to_string(address & 0xFF) + "," + std::to_string(port / 256) + "," +
           std::to_string(port % 256);
}

} // namespace qx
