// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// The styles of the small highlighters the editor brings for languages its control has no
// lexer for.
enum class TTokenStyle : int { Default = 0, Comment = 1, Keyword = 2, String = 3, Number = 4 };

// A language as the small highlighters see it: keywords, comments, strings and numbers.
struct TWordLanguage {
    std::vector<std::string> Keywords; // in lower case when not CaseSensitive
    bool CaseSensitive = true;
    std::string LineComment;          // "#", "--"; empty for none
    std::string BlockCommentOpen;     // "/*"; empty for none
    std::string BlockCommentClose;    // "*/"
    std::string Quotes;               // the characters that open and close a string
    bool DoubledQuoteEscapes = false; // 'it''s' (else a backslash escapes)
};

// A run of text in one style.
struct TTokenRun {
    std::size_t Length;
    TTokenStyle Style;
};

// Splits the text into runs that cover it whole. `inBlockComment` tells whether the text
// starts inside a block comment and, on return, whether it ends inside one. A string ends at
// the end of its line.
std::vector<TTokenRun> TokenizeWords(std::string_view text, const TWordLanguage& language,
                                     bool& inBlockComment);

// The languages of the AWK and DML highlighters.
const TWordLanguage& AwkLanguage();
const TWordLanguage& DmlLanguage();

} // namespace qx
