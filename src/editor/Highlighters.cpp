// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Highlighters.h"

#include "base/AsciiText.h"

#include <string>
#include <utility>

namespace qx {

THighlighter HighlighterOfFileName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return THighlighter::None;
    }
    const std::string extension = AsciiLowerCase(fileName.substr(dot));
    static constexpr std::pair<std::string_view, THighlighter> kTable[] = {
        {".html", THighlighter::HTML},  {".htm", THighlighter::HTML},  {".c", THighlighter::CPP},
        {".cpp", THighlighter::CPP},    {".h", THighlighter::CPP},     {".hpp", THighlighter::CPP},
        {".cc", THighlighter::CPP},     {".c++", THighlighter::CPP},   {".h++", THighlighter::CPP},
        {".pas", THighlighter::Pascal}, {".pl", THighlighter::Perl},   {".pm", THighlighter::Perl},
        {".cgi", THighlighter::Perl},   {".java", THighlighter::Java}, {".sql", THighlighter::SQL},
        {".tcl", THighlighter::TclTk},  {".awk", THighlighter::AWK},   {".dml", THighlighter::DML},
        {".gem", THighlighter::DML},
    };
    for (const auto& [known, highlighter] : kTable) {
        if (extension == known) {
            return highlighter;
        }
    }
    return THighlighter::None;
}

} // namespace qx
