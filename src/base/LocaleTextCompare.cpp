// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LocaleTextCompare.h"

#include "base/Utilities.h"

#include <wchar.h>
#include <wctype.h>

#include <cstdint>
#include <string>

namespace qx {

namespace {

// Decodes UTF-8; a byte that is not part of a valid sequence stands for itself, moved to the
// private use area so that it sorts after every character.
std::wstring LowerWide(std::string_view text, locale_t locale) {
    std::wstring wide;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        const auto lead = static_cast<unsigned char>(text[i]);
        wchar_t c = 0;
        if (length == 1) {
            c = lead < 0x80 ? static_cast<wchar_t>(lead) : static_cast<wchar_t>(0xF0000 + lead);
        } else {
            const unsigned char mask = length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07;
            std::uint32_t code = lead & mask;
            for (std::size_t k = 1; k < length; ++k) {
                code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            }
            c = static_cast<wchar_t>(code);
        }
        wide.push_back(static_cast<wchar_t>(::towlower_l(static_cast<wint_t>(c), locale)));
        i += length;
    }
    return wide;
}

} // namespace

TLocaleTextCompare::TLocaleTextCompare() : m_locale(::newlocale(LC_ALL_MASK, "", nullptr)) {
    if (m_locale == nullptr) {
        m_locale = ::newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
    }
    if (m_locale == nullptr) {
        m_locale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    }
}

TLocaleTextCompare::~TLocaleTextCompare() {
    if (m_locale != nullptr) {
        ::freelocale(m_locale);
    }
}

int TLocaleTextCompare::operator()(std::string_view a, std::string_view b) const {
    if (m_locale == nullptr) {
        return a.compare(b);
    }
    return ::wcscoll_l(LowerWide(a, m_locale).c_str(), LowerWide(b, m_locale).c_str(), m_locale);
}

std::string TLocaleTextCompare::SortKey(std::string_view text) const {
    if (m_locale == nullptr) {
        return std::string(text);
    }
    const std::wstring lower = LowerWide(text, m_locale);
    const std::size_t length = ::wcsxfrm_l(nullptr, lower.c_str(), 0, m_locale);
    std::wstring transformed(length + 1, L'\0');
    ::wcsxfrm_l(transformed.data(), lower.c_str(), transformed.size(), m_locale);
    transformed.resize(length);
    // Each wide character as four bytes, most significant first, so that comparing the bytes
    // compares the characters.
    std::string key;
    key.reserve(length * 4);
    for (const wchar_t c : transformed) {
        // NOLINTNEXTLINE(bugprone-signed-char-misuse): a wide character, not a char
        const auto value = static_cast<std::uint32_t>(c);
        key.push_back(static_cast<char>(value >> 24));
        key.push_back(static_cast<char>((value >> 16) & 0xFF));
        key.push_back(static_cast<char>((value >> 8) & 0xFF));
        key.push_back(static_cast<char>(value & 0xFF));
    }
    return key;
}

} // namespace qx
