// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/WordTokenizer.h"

#include "base/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace qx {

namespace {

bool IsWordStart(unsigned char c) {
    return std::isalpha(c) != 0 || c == '_';
}

bool IsWordChar(unsigned char c) {
    return std::isalnum(c) != 0 || c == '_';
}

bool IsKeyword(std::string_view word, const TWordLanguage& language) {
    const std::string key = language.CaseSensitive ? std::string(word) : AsciiLowerCase(word);
    return std::binary_search(language.Keywords.begin(), language.Keywords.end(), key);
}

class Runs {
public:
    void Add(std::size_t length, TTokenStyle style) {
        if (length == 0) {
            return;
        }
        if (!m_runs.empty() && m_runs.back().Style == style) {
            m_runs.back().Length += length;
        } else {
            m_runs.push_back({length, style});
        }
    }
    std::vector<TTokenRun> Take() { return std::move(m_runs); }

private:
    std::vector<TTokenRun> m_runs;
};

} // namespace

std::vector<TTokenRun> TokenizeWords(std::string_view text, const TWordLanguage& language,
                                     bool& inBlockComment) {
    Runs runs;
    std::size_t at = 0;
    const std::size_t size = text.size();
    const auto startsWith = [&](std::size_t position, const std::string& what) {
        return !what.empty() && text.substr(position, what.size()) == what;
    };
    while (at < size) {
        if (inBlockComment) {
            const std::size_t close = text.find(language.BlockCommentClose, at);
            const std::size_t end =
                close == std::string_view::npos ? size : close + language.BlockCommentClose.size();
            inBlockComment = close == std::string_view::npos;
            runs.Add(end - at, TTokenStyle::Comment);
            at = end;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[at]);
        if (startsWith(at, language.BlockCommentOpen)) {
            inBlockComment = true;
            runs.Add(language.BlockCommentOpen.size(), TTokenStyle::Comment);
            at += language.BlockCommentOpen.size();
        } else if (startsWith(at, language.LineComment)) {
            const std::size_t end = std::min(size, text.find('\n', at));
            runs.Add(end - at, TTokenStyle::Comment);
            at = end;
        } else if (language.Quotes.find(static_cast<char>(c)) != std::string::npos) {
            std::size_t end = at + 1;
            while (end < size && text[end] != '\n') {
                if (text[end] == static_cast<char>(c)) {
                    if (language.DoubledQuoteEscapes && end + 1 < size &&
                        text[end + 1] == text[end]) {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                end += !language.DoubledQuoteEscapes && text[end] == '\\' && end + 1 < size ? 2 : 1;
            }
            runs.Add(end - at, TTokenStyle::String);
            at = end;
        } else if (std::isdigit(c) != 0) {
            std::size_t end = at + 1;
            while (end < size &&
                   (IsWordChar(static_cast<unsigned char>(text[end])) || text[end] == '.')) {
                ++end;
            }
            runs.Add(end - at, TTokenStyle::Number);
            at = end;
        } else if (IsWordStart(c)) {
            std::size_t end = at + 1;
            while (end < size && IsWordChar(static_cast<unsigned char>(text[end]))) {
                ++end;
            }
            runs.Add(end - at, IsKeyword(text.substr(at, end - at), language)
                                   ? TTokenStyle::Keyword
                                   : TTokenStyle::Default);
            at = end;
        } else {
            runs.Add(1, TTokenStyle::Default);
            ++at;
        }
    }
    return runs.Take();
}

namespace {

TWordLanguage Sorted(TWordLanguage language) {
    std::sort(language.Keywords.begin(), language.Keywords.end());
    return language;
}

} // namespace

const TWordLanguage& AwkLanguage() {
    static const TWordLanguage kAwk =
        Sorted({{"BEGIN",    "END",     "BEGINFILE", "ENDFILE", "function", "func",     "if",
                 "else",     "while",   "for",       "do",      "break",    "continue", "next",
                 "nextfile", "exit",    "return",    "delete",  "in",       "getline",  "print",
                 "printf",   "length",  "substr",    "index",   "split",    "sub",      "gsub",
                 "match",    "sprintf", "sin",       "cos",     "atan2",    "exp",      "log",
                 "sqrt",     "int",     "rand",      "srand",   "tolower",  "toupper",  "system",
                 "close",    "fflush",  "NR",        "NF",      "FNR",      "FS",       "OFS",
                 "RS",       "ORS",     "FILENAME",  "SUBSEP",  "RSTART",   "RLENGTH",  "ENVIRON",
                 "ARGC",     "ARGV",    "CONVFMT",   "OFMT"},
                true,
                "#",
                "",
                "",
                "\"",
                false});
    return kAwk;
}

const TWordLanguage& DmlLanguage() {
    static const TWordLanguage kDml = Sorted(
        {{"all",       "and",    "as",     "asc",       "begin",       "between",  "by",
          "case",      "commit", "cross",  "delete",    "desc",        "distinct", "else",
          "end",       "except", "exists", "from",      "full",        "group",    "having",
          "in",        "inner",  "insert", "intersect", "into",        "is",       "join",
          "left",      "like",   "limit",  "merge",     "not",         "null",     "offset",
          "on",        "or",     "order",  "outer",     "returning",   "right",    "rollback",
          "savepoint", "select", "set",    "then",      "transaction", "truncate", "union",
          "update",    "using",  "values", "when",      "where",       "with"},
         false,
         "--",
         "/*",
         "*/",
         "'\"",
         true});
    return kDml;
}

} // namespace qx
