// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NameCharset.h"

#include "base/AsciiText.h"
#include "base/Utilities.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace qx {

namespace {

constexpr std::array<std::string_view, 12> kOffered = {
    "UTF-8",       "Windows-1250", "Windows-1251", "Windows-1252", "ISO-8859-1", "ISO-8859-2",
    "ISO-8859-15", "KOI8-R",       "Shift_JIS",    "EUC-KR",       "GB18030",    "Big5",
};

constexpr std::string_view kAutoPrefix = "auto:";
constexpr unsigned kEscapeBase = 0xDC00;
constexpr std::size_t kLongestCharacter = 4; // bytes of one character in any offered set

bool IsUtf8Name(std::string_view name) {
    return AsciiEqualNoCase(name, "UTF-8") || AsciiEqualNoCase(name, "UTF8");
}

void AppendEscape(std::string& out, unsigned char byte) {
    const unsigned code = kEscapeBase + byte;
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
}

// The byte an escape at i stands for, 0 when there is none.
unsigned char EscapedByte(std::string_view text, std::size_t i) {
    if (i + 2 >= text.size() || static_cast<unsigned char>(text[i]) != 0xED) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[i + 1]);
    const auto third = static_cast<unsigned char>(text[i + 2]);
    if (second < 0xB0 || second > 0xB3 || (third & 0xC0) != 0x80) {
        return 0;
    }
    return static_cast<unsigned char>(((second & 0x03) << 6) | (third & 0x3F));
}

} // namespace

std::span<const std::string_view> OfferedCharsets() {
    return kOffered;
}

std::string CanonicalCharsetName(std::string_view name) {
    for (const std::string_view offered : kOffered) {
        if (AsciiEqualNoCase(name, offered)) {
            return std::string(offered);
        }
    }
    return std::string(name);
}

TCharsetChoice ParseCharsetChoice(std::string_view text) {
    TCharsetChoice choice;
    if (text.empty() || AsciiEqualNoCase(text, "auto")) {
        return choice;
    }
    if (text.size() > kAutoPrefix.size() && AsciiStartsWithNoCase(text, kAutoPrefix)) {
        choice.Name = CanonicalCharsetName(text.substr(kAutoPrefix.size()));
        return choice;
    }
    choice.Auto = false;
    choice.Name = CanonicalCharsetName(text);
    return choice;
}

std::string CharsetChoiceText(const TCharsetChoice& choice) {
    if (!choice.Auto) {
        return choice.Name;
    }
    return IsUtf8Name(choice.Name) || choice.Name.empty() ? std::string()
                                                          : std::string(kAutoPrefix) + choice.Name;
}

std::string EffectiveCharset(std::string_view choiceText, bool serverOffersUtf8) {
    TCharsetChoice choice = ParseCharsetChoice(choiceText);
    if (choice.Auto && serverOffersUtf8) {
        return "UTF-8";
    }
    return choice.Name;
}

std::optional<TNameCharset> TNameCharset::Open(std::string_view name) {
    TNameCharset charset;
    charset.m_name = std::string(name);
    if (IsUtf8Name(name)) {
        return charset;
    }
    charset.m_fromServer = ::iconv_open("UTF-8", charset.m_name.c_str());
    charset.m_toServer = ::iconv_open(charset.m_name.c_str(), "UTF-8");
    if (charset.m_fromServer == None() || charset.m_toServer == None()) {
        return std::nullopt;
    }
    for (unsigned c = 1; c < 128; ++c) {
        const std::string one(1, static_cast<char>(c));
        std::string there;
        std::string back;
        charset.m_asciiSame[c] = charset.Convert(charset.m_fromServer, one, back) && back == one &&
                                 charset.Convert(charset.m_toServer, one, there) && there == one;
    }
    return charset;
}

bool TNameCharset::Select(std::optional<TNameCharset>& slot, std::string_view name) {
    std::optional<TNameCharset> charset = Open(name);
    if (!charset) {
        return false;
    }
    slot.reset();
    if (!charset->IsUtf8()) {
        slot = std::move(charset);
    }
    return true;
}

TNameCharset::TNameCharset(TNameCharset&& other) noexcept
    : m_name(std::move(other.m_name)), m_fromServer(std::exchange(other.m_fromServer, None())),
      m_toServer(std::exchange(other.m_toServer, None())), m_asciiSame(other.m_asciiSame) {}

TNameCharset& TNameCharset::operator=(TNameCharset&& other) noexcept {
    if (this != &other) {
        Close();
        m_name = std::move(other.m_name);
        m_fromServer = std::exchange(other.m_fromServer, None());
        m_toServer = std::exchange(other.m_toServer, None());
        m_asciiSame = other.m_asciiSame;
    }
    return *this;
}

TNameCharset::~TNameCharset() {
    Close();
}

void TNameCharset::Close() {
    for (iconv_t* cd : {&m_fromServer, &m_toServer}) {
        if (*cd != None()) {
            ::iconv_close(*cd);
            *cd = None();
        }
    }
}

bool TNameCharset::Convert(iconv_t cd, std::string_view in, std::string& out) {
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::array<char, 64> buffer{};
    char* input = const_cast<char*>(in.data()); // iconv does not write its input
    std::size_t inputLeft = in.size();
    while (true) {
        char* output = buffer.data();
        std::size_t outputLeft = buffer.size();
        const std::size_t result = ::iconv(cd, &input, &inputLeft, &output, &outputLeft);
        out.append(buffer.data(), buffer.size() - outputLeft);
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != E2BIG) {
            return false;
        }
    }
    char* output = buffer.data();
    std::size_t outputLeft = buffer.size();
    if (::iconv(cd, nullptr, nullptr, &output, &outputLeft) == static_cast<std::size_t>(-1)) {
        return false;
    }
    out.append(buffer.data(), buffer.size() - outputLeft);
    return true;
}

std::size_t TNameCharset::DecodeOne(std::string_view bytes, std::string& out) {
    for (std::size_t length = 1; length <= std::min(bytes.size(), kLongestCharacter); ++length) {
        const std::string_view character = bytes.substr(0, length);
        std::string text;
        if (!Convert(m_fromServer, character, text)) {
            if (errno == EINVAL) {
                continue; // an incomplete character: take one byte more
            }
            return 0;
        }
        std::string back;
        if (text.empty() || !Convert(m_toServer, text, back) || back != character) {
            return 0;
        }
        out += text;
        return length;
    }
    return 0;
}

std::string TNameCharset::ToUtf8(std::string_view serverBytes) {
    if (IsUtf8()) {
        return std::string(serverBytes);
    }
    std::string out;
    out.reserve(serverBytes.size() + serverBytes.size() / 2);
    std::size_t i = 0;
    while (i < serverBytes.size()) {
        const auto byte = static_cast<unsigned char>(serverBytes[i]);
        if (byte < 128 && m_asciiSame[byte]) {
            out += static_cast<char>(byte);
            ++i;
        } else if (const std::size_t used = DecodeOne(serverBytes.substr(i), out); used > 0) {
            i += used;
        } else {
            AppendEscape(out, byte);
            ++i;
        }
    }
    return out;
}

std::optional<std::string> TNameCharset::FromUtf8(std::string_view text) {
    if (IsUtf8()) {
        return std::string(text);
    }
    // Runs of UTF-8 text are converted whole; escapes and bytes that are not UTF-8 end a run.
    std::string out;
    out.reserve(text.size());
    std::size_t runStart = 0;
    std::size_t i = 0;
    const auto flush = [&](std::size_t runEnd) {
        return runEnd == runStart ||
               Convert(m_toServer, text.substr(runStart, runEnd - runStart), out);
    };
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const unsigned char escaped = EscapedByte(text, i);
        const std::size_t length = escaped != 0 ? 3 : Utf8CharLength(text, i);
        if (escaped == 0 && (length > 1 || byte < 128)) {
            i += length;
            continue;
        }
        if (!flush(i)) {
            return std::nullopt;
        }
        out += static_cast<char>(escaped != 0 ? escaped : byte); // not UTF-8: goes as it is
        i += length;
        runStart = i;
    }
    if (!flush(i)) {
        return std::nullopt;
    }
    return out;
}

} // namespace qx
