// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <locale.h>

#include <string>
#include <string_view>

namespace qx {

// Compares texts without regard to case, in the collation order of the user's locale (the
// environment's LC_ALL, LC_COLLATE, LANG); UTF-8 texts are compared by character, and bytes
// that are not UTF-8 by their value.
class TLocaleTextCompare {
public:
    TLocaleTextCompare();
    ~TLocaleTextCompare();
    TLocaleTextCompare(const TLocaleTextCompare&) = delete;
    TLocaleTextCompare& operator=(const TLocaleTextCompare&) = delete;

    // Negative, zero or positive as a sorts before, with or after b.
    int operator()(std::string_view a, std::string_view b) const;
    // A key whose byte order is the order above: sorting many texts by their keys is much
    // faster than comparing the texts again and again.
    std::string SortKey(std::string_view text) const;

private:
    locale_t m_locale;
};

} // namespace qx
