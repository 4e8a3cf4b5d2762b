// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class EMaskException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A compiled wildcard pattern: "*" any run of characters, "?" any one character, "[...]" a
// character set ("[!...]" negated, "a-z" ranges). ASCII letters compare without case. A
// multi-byte UTF-8 character of the pattern is a literal compared exactly; "?" and sets take one
// whole UTF-8 character of the name (one byte where the name is not valid UTF-8).
class TMask {
public:
    // Throws EMaskException "'<mask>' is an invalid mask at (<1-based position>)".
    explicit TMask(std::string_view mask);

    // True when the whole name matches the whole pattern.
    bool Matches(std::string_view name) const;

    static constexpr int MaxStarredElements = 30;

private:
    enum class TKind : uint8_t { Literal, AnyChar, Set, MultiByteLiteral, End };

    struct TElement {
        TKind Kind = TKind::Literal;
        bool StarBefore = false;
        bool Negated = false;
        char Literal = 0;   // upper-cased
        uint32_t Index = 0; // into m_sets, or offset of a multi-byte literal in m_text
        uint8_t Length = 0; // bytes of a multi-byte literal
    };

    void Compile(std::string_view mask);
    std::size_t MatchElement(const TElement& element, std::string_view name, std::size_t at) const;

    std::vector<TElement> m_elements; // the last one is the terminating element
    std::vector<std::bitset<256>> m_sets;
    std::string m_text; // bytes of the multi-byte literals
};

// A list of masks separated by ";", such as "*.htm;*.html".
class TMasks {
public:
    TMasks() = default;
    explicit TMasks(std::string_view text) { SetMasks(text); }

    // Replaces the masks. An invalid part throws EMaskException: the parts before it stay
    // compiled, and its trimmed text has already been added to MaskTexts().
    void SetMasks(std::string_view text);

    // True when one of the masks matches the name; false when there are none.
    bool Matches(std::string_view name) const;

    const std::string& MaskText() const { return m_maskText; }
    // False when a part is exactly "*" or "*.*": every name is shown without asking Matches.
    bool Active() const { return m_active; }
    const std::vector<std::string>& MaskTexts() const { return m_texts; }
    std::size_t Count() const { return m_masks.size(); }

private:
    std::vector<TMask> m_masks;
    std::vector<std::string> m_texts;
    std::string m_maskText;
    bool m_active = true;
};

} // namespace qx
