// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TextEncoding.h"

#include <cstdint>

namespace qx {

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const std::uint8_t lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trailing = 0;
        std::uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trailing = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trailing = 2;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trailing = 3;
            code = lead & 0x07u;
        } else {
            return false; // a stray trailing byte, an overlong lead, or beyond U+10FFFF
        }
        if (end - p <= trailing) {
            return false;
        }
        for (int index = 1; index <= trailing; ++index) {
            if ((p[index] & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (p[index] & 0x3Fu);
        }
        const bool overlong = (trailing == 2 && code < 0x800) || (trailing == 3 && code < 0x10000);
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (overlong || surrogate || code > 0x10FFFF) {
            return false;
        }
        p += trailing + 1;
    }
    return true;
}

TTextEncoding DecideEncoding(std::string_view fileBytes) {
    TTextEncoding encoding;
    encoding.Utf8 = IsValidUtf8(fileBytes);
    encoding.ByteOrderMark = encoding.Utf8 && fileBytes.starts_with(kUtf8ByteOrderMark);
    const std::size_t end = fileBytes.find_first_of("\r\n");
    if (end != std::string_view::npos && fileBytes[end] == '\r') {
        encoding.LineEnd = end + 1 < fileBytes.size() && fileBytes[end + 1] == '\n' ? TLineEnd::CRLF
                                                                                    : TLineEnd::CR;
    }
    return encoding;
}

std::string_view EditedText(std::string_view fileBytes, const TTextEncoding& encoding) {
    if (encoding.ByteOrderMark && fileBytes.starts_with(kUtf8ByteOrderMark)) {
        fileBytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    return fileBytes;
}

std::string FileBytes(std::string_view editedText, const TTextEncoding& encoding) {
    std::string bytes;
    bytes.reserve(editedText.size() + kUtf8ByteOrderMark.size());
    if (encoding.ByteOrderMark) {
        bytes.append(kUtf8ByteOrderMark);
    }
    bytes.append(editedText);
    return bytes;
}

} // namespace qx
