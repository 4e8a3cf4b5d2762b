// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Masks.h"

#include "base/AsciiText.h"
#include "base/Utilities.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace qx {

namespace {

unsigned char UpperAscii(unsigned char c) {
    return static_cast<unsigned char>(AsciiUpper(static_cast<char>(c)));
}

bool IsTrimmed(unsigned char c) {
    return c <= ' ' || c == 0x7F;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsTrimmed(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsTrimmed(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// position counts from 0.
[[noreturn]] void Invalid(std::string_view mask, std::size_t position) {
    std::string message = "'";
    message.append(mask);
    message.append("' is an invalid mask at (");
    message.append(std::to_string(position + 1));
    message.append(")");
    throw EMaskException(message);
}

} // namespace

TMask::TMask(std::string_view mask) {
    Compile(mask);
}

void TMask::Compile(std::string_view mask) {
    bool starPending = false;
    int starred = 0;
    const auto add = [&](TElement element, std::size_t position) {
        if (starPending && ++starred > MaxStarredElements) {
            Invalid(mask, position);
        }
        element.StarBefore = std::exchange(starPending, false);
        m_elements.push_back(element);
    };

    std::size_t pos = 0;
    while (pos < mask.size()) {
        const auto c = static_cast<unsigned char>(mask[pos]);
        if (c == '*') {
            starPending = true;
            ++pos;
        } else if (c == '?') {
            // "*?" is read as "*": the "?" goes and the "*" waits for the next element.
            if (!starPending) {
                add({.Kind = TKind::AnyChar}, pos);
            }
            ++pos;
        } else if (c == '[') {
            const std::size_t start = pos++;
            TElement element{.Kind = TKind::Set};
            if (pos < mask.size() && mask[pos] == '!') {
                element.Negated = true;
                ++pos;
            }
            std::bitset<256> set;
            bool empty = true;
            // The last single character added, which a following "-" may extend to a range.
            bool hasRangeStart = false;
            unsigned char rangeStart = 0;
            for (;;) {
                if (pos >= mask.size()) {
                    Invalid(mask, mask.size());
                }
                const auto s = static_cast<unsigned char>(mask[pos]);
                if (s == ']') {
                    if (empty) {
                        Invalid(mask, pos);
                    }
                    ++pos;
                    break;
                }
                empty = false;
                const std::size_t length = Utf8CharLength(mask, pos);
                if (length > 1) {
                    // Multi-byte characters have no place in a set of bytes.
                    pos += length;
                    hasRangeStart = false;
                } else if (s == '-') {
                    if (!hasRangeStart) {
                        Invalid(mask, pos);
                    }
                    ++pos;
                    if (pos >= mask.size()) {
                        Invalid(mask, mask.size());
                    }
                    const auto e = static_cast<unsigned char>(mask[pos]);
                    if (e == ']') {
                        Invalid(mask, pos);
                    }
                    const std::size_t endLength = Utf8CharLength(mask, pos);
                    if (endLength == 1) {
                        for (unsigned v = UpperAscii(rangeStart); v <= UpperAscii(e); ++v) {
                            set.set(v);
                        }
                    }
                    pos += endLength;
                    hasRangeStart = false;
                } else {
                    set.set(UpperAscii(s));
                    rangeStart = s;
                    hasRangeStart = true;
                    ++pos;
                }
            }
            element.Index = static_cast<uint32_t>(m_sets.size());
            m_sets.push_back(set);
            add(element, start);
        } else if (const std::size_t length = Utf8CharLength(mask, pos); length > 1) {
            add({.Kind = TKind::MultiByteLiteral,
                 .Index = static_cast<uint32_t>(m_text.size()),
                 .Length = static_cast<uint8_t>(length)},
                pos);
            m_text.append(mask.substr(pos, length));
            pos += length;
        } else {
            add({.Kind = TKind::Literal, .Literal = static_cast<char>(UpperAscii(c))}, pos);
            ++pos;
        }
    }
    add({.Kind = TKind::End}, mask.size());
}

std::size_t TMask::MatchElement(const TElement& element, std::string_view name,
                                std::size_t at) const {
    if (at >= name.size()) {
        return 0;
    }
    const std::size_t length = Utf8CharLength(name, at);
    const auto c = static_cast<unsigned char>(name[at]);
    switch (element.Kind) {
    case TKind::Literal:
        return length == 1 && UpperAscii(c) == static_cast<unsigned char>(element.Literal) ? 1 : 0;
    case TKind::AnyChar:
        return length;
    case TKind::Set: {
        const bool in = length == 1 && m_sets[element.Index].test(UpperAscii(c));
        return in != element.Negated ? length : 0;
    }
    case TKind::MultiByteLiteral:
        return length == element.Length &&
                       name.substr(at, length) ==
                           std::string_view(m_text).substr(element.Index, element.Length)
                   ? length
                   : 0;
    case TKind::End:
        break;
    }
    return 0;
}

bool TMask::Matches(std::string_view name) const {
    // Every element takes exactly one character, so when the elements after a "*" fail, only the
    // most recent "*" needs to take one more character: no deeper backtracking can succeed where
    // this does not.
    std::size_t e = 0;
    std::size_t n = 0;
    std::optional<std::size_t> starElement;
    std::size_t starName = 0;
    for (;;) {
        const TElement& element = m_elements[e];
        if (element.StarBefore) {
            starElement = e;
            starName = n;
        }
        if (element.Kind == TKind::End) {
            if (element.StarBefore || n == name.size()) {
                return true;
            }
        } else if (const std::size_t length = MatchElement(element, name, n); length > 0) {
            n += length;
            ++e;
            continue;
        }
        if (!starElement || starName >= name.size()) {
            return false;
        }
        starName += Utf8CharLength(name, starName);
        e = *starElement;
        n = starName;
    }
}

void TMasks::SetMasks(std::string_view text) {
    m_masks.clear();
    m_texts.clear();
    m_active = true;
    m_maskText.clear();

    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        if (end > start) {
            parts.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = Trim(parts[i]);
        m_texts.emplace_back(part);
        m_masks.emplace_back(part);
        if (part == "*" || part == "*.*") {
            m_active = false;
        }
        m_maskText.append(part);
        if (i + 1 < parts.size()) {
            m_maskText.push_back(';');
        }
    }
}

bool TMasks::Matches(std::string_view name) const {
    return std::any_of(m_masks.begin(), m_masks.end(),
                       [name](const TMask& mask) { return mask.Matches(name); });
}

} // namespace qx
