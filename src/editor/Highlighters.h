// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace qx {

// The syntax highlighters a page of the online editor can have.
enum class THighlighter { None, HTML, CPP, Pascal, Perl, Java, SQL, TclTk, AWK, DML };

inline constexpr std::array kHighlighters = {
    THighlighter::HTML, THighlighter::CPP, THighlighter::Pascal, THighlighter::Perl,
    THighlighter::Java, THighlighter::SQL, THighlighter::TclTk,  THighlighter::AWK,
    THighlighter::DML,  THighlighter::None};

// The highlighter for a file, by the extension from its last "." (compared in lower case);
// None for any extension not in the table and for a name without one.
THighlighter HighlighterOfFileName(std::string_view fileName);

} // namespace qx
