// SPDX-License-Identifier: GPL-3.0-or-later
#include "VisibleText.h"

#include <algorithm>
#include <cstdint>

namespace qx::cli {

namespace {

// The length of the valid UTF-8 sequence that starts at i (0 when there is none) and the code
// point it encodes.
std::size_t Utf8Sequence(std::string_view text, std::size_t i, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3Fu);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void AppendHex(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

} // namespace

std::string VisibleText(std::string_view text, bool fields) {
    std::string out;
    AppendVisibleText(out, text, fields);
    return out;
}

void AppendVisibleText(std::string& out, std::string_view text, bool fields) {
    // Most texts are plain printable ASCII and go as they are.
    const bool plain = std::all_of(text.begin(), text.end(), [fields](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7F && !(fields && byte == '\\');
    });
    if (plain) {
        out.append(text);
        return;
    }
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (fields) {
            const char* named = byte == '\\'   ? "\\\\"
                                : byte == '\t' ? "\\t"
                                : byte == '\n' ? "\\n"
                                : byte == '\r' ? "\\r"
                                               : nullptr;
            if (named != nullptr) {
                out += named;
                ++i;
                continue;
            }
        }
        if (byte < 0x20 || byte == 0x7F) {
            AppendHex(out, byte);
            ++i;
            continue;
        }
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
            continue;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text, i, codePoint);
        if (length == 0) {
            // Not UTF-8: a byte of another encoding, shown as it is unless a terminal could
            // take it for a control.
            if (byte < 0xA0) {
                AppendHex(out, byte);
            } else {
                out += static_cast<char>(byte);
            }
            ++i;
            continue;
        }
        if (codePoint < 0xA0) {
            for (std::size_t k = 0; k < length; ++k) {
                AppendHex(out, static_cast<unsigned char>(text[i + k]));
            }
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
}

} // namespace qx::cli
