// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iconv.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qx {

// The character sets a site may name its files in, as offered for choice.
std::span<const std::string_view> OfferedCharsets();
// The offered spelling of a name that matches one in any case, else the name as given.
std::string CanonicalCharsetName(std::string_view name);

// A site's choice of file-name character set as one text: empty for Auto (UTF-8 where the
// server offers it, else UTF-8), "auto:NAME" for Auto falling back to NAME, or a fixed NAME.
struct TCharsetChoice {
    bool Auto = true;
    std::string Name = "UTF-8"; // the fixed set, or Auto's fallback
};
TCharsetChoice ParseCharsetChoice(std::string_view text);
std::string CharsetChoiceText(const TCharsetChoice& choice);
// The set a connection uses: Auto takes UTF-8 when the server offers it.
std::string EffectiveCharset(std::string_view choiceText, bool serverOffersUtf8);

// Converts file names between the program's UTF-8 and a server's character set through iconv.
// Names round-trip byte-exact: a byte of the server's name that does not convert (or does not
// convert back to itself) becomes the code point U+DC00 + byte, written in UTF-8 as three bytes
// that no valid UTF-8 text holds; converting back turns it into the byte again. UTF-8 itself is
// passed through unchanged both ways.
class TNameCharset {
public:
    // Nothing when iconv does not know the name (its aliases are taken, any case).
    static std::optional<TNameCharset> Open(std::string_view name);
    // Puts the converter of the set into the slot, or empties it for UTF-8, which needs none;
    // false, leaving the slot as it was, when iconv does not know the name.
    static bool Select(std::optional<TNameCharset>& slot, std::string_view name);

    TNameCharset(TNameCharset&& other) noexcept;
    TNameCharset& operator=(TNameCharset&& other) noexcept;
    TNameCharset(const TNameCharset&) = delete;
    TNameCharset& operator=(const TNameCharset&) = delete;
    ~TNameCharset();

    bool IsUtf8() const { return m_fromServer == None(); }
    const std::string& Name() const { return m_name; }

    // The server's bytes as UTF-8; never fails.
    std::string ToUtf8(std::string_view serverBytes);
    // The UTF-8 text in the server's set; nothing when a character has no form there. Bytes
    // that are not UTF-8 go as they are.
    std::optional<std::string> FromUtf8(std::string_view text);

private:
    static iconv_t None() { return reinterpret_cast<iconv_t>(-1); } // iconv's failure value

    TNameCharset() = default;
    void Close();
    // Appends the UTF-8 of the one character at the start of bytes; the bytes it took, 0 when
    // none of its first bytes form a character that converts back to the same bytes.
    std::size_t DecodeOne(std::string_view bytes, std::string& out);
    bool Convert(iconv_t cd, std::string_view in, std::string& out);

    std::string m_name;
    iconv_t m_fromServer = None();
    iconv_t m_toServer = None();
    std::array<bool, 128> m_asciiSame{}; // the byte stands for the same ASCII character both ways
};

} // namespace qx
