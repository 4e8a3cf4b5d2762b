// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/EditorLexers.h"

namespace qx {

TWordLexer::TWordLexer(const char* name, const TWordLanguage& language, QObject* parent)
    : QsciLexerCustom(parent), m_name(name), m_language(language) {}

QString TWordLexer::description(int style) const {
    switch (static_cast<TTokenStyle>(style)) {
    case TTokenStyle::Default:
        return QStringLiteral("Default");
    case TTokenStyle::Comment:
        return QStringLiteral("Comment");
    case TTokenStyle::Keyword:
        return QStringLiteral("Keyword");
    case TTokenStyle::String:
        return QStringLiteral("String");
    case TTokenStyle::Number:
        return QStringLiteral("Number");
    }
    return {}; // styles beyond the last end the list
}

QColor TWordLexer::defaultColor(int style) const {
    switch (static_cast<TTokenStyle>(style)) {
    case TTokenStyle::Comment:
        return QColor(0, 128, 0);
    case TTokenStyle::Keyword:
        return QColor(0, 0, 160);
    case TTokenStyle::String:
        return QColor(160, 32, 32);
    case TTokenStyle::Number:
        return QColor(0, 128, 128);
    default:
        return QColor(Qt::black);
    }
}

QFont TWordLexer::defaultFont(int style) const {
    QFont font = QsciLexerCustom::defaultFont(style);
    font.setBold(static_cast<TTokenStyle>(style) == TTokenStyle::Keyword);
    return font;
}

void TWordLexer::styleText(int start, int end) {
    QsciScintilla* scintilla = editor();
    if (scintilla == nullptr || end <= start) {
        return;
    }
    int first = 0;
    int last = 0;
    int index = 0;
    scintilla->lineIndexFromPosition(start, &first, &index);
    scintilla->lineIndexFromPosition(end - 1, &last, &index);
    const int lines = scintilla->lines();
    // A change of the block-comment state at the end reaches the lines below: they follow
    // until a line ends in the state it had before.
    for (;;) {
        const long before = scintilla->SendScintilla(QsciScintilla::SCI_GETLINESTATE, last);
        const bool after = StyleLines(first, last);
        if (static_cast<long>(after) == before || last + 1 >= lines) {
            break;
        }
        first = last + 1;
        last = std::min(lines - 1, first + 200);
    }
}

bool TWordLexer::StyleLines(int first, int last) {
    QsciScintilla* scintilla = editor();
    bool inComment =
        first > 0 && scintilla->SendScintilla(QsciScintilla::SCI_GETLINESTATE, first - 1) != 0;
    for (int line = first; line <= last; ++line) {
        const long begin = scintilla->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line);
        const long stop = scintilla->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line + 1);
        const long length = (stop < begin ? scintilla->length() : stop) - begin;
        const auto* text = reinterpret_cast<const char*>(
            scintilla->SendScintilla(QsciScintilla::SCI_GETRANGEPOINTER, begin, length));
        startStyling(static_cast<int>(begin));
        if (text != nullptr) {
            for (const TTokenRun& run :
                 TokenizeWords(std::string_view(text, static_cast<std::size_t>(length)), m_language,
                               inComment)) {
                setStyling(static_cast<int>(run.Length), static_cast<int>(run.Style));
            }
        }
        scintilla->SendScintilla(QsciScintilla::SCI_SETLINESTATE, line, inComment ? 1L : 0L);
    }
    return inComment;
}

QsciLexer* CreateLexer(THighlighter highlighter, const QFont& font, QObject* parent) {
    QsciLexer* lexer = nullptr;
    switch (highlighter) {
    case THighlighter::None:
        return nullptr;
    case THighlighter::HTML:
        lexer = new QsciLexerHTML(parent);
        break;
    case THighlighter::CPP:
        lexer = new QsciLexerCPP(parent);
        break;
    case THighlighter::Pascal:
        lexer = new QsciLexerPascal(parent);
        break;
    case THighlighter::Perl:
        lexer = new QsciLexerPerl(parent);
        break;
    case THighlighter::Java:
        lexer = new QsciLexerJava(parent);
        break;
    case THighlighter::SQL:
        lexer = new QsciLexerSQL(parent);
        break;
    case THighlighter::TclTk:
        lexer = new QsciLexerTCL(parent);
        break;
    case THighlighter::AWK:
        lexer = new TWordLexer("AWK", AwkLanguage(), parent);
        break;
    case THighlighter::DML:
        lexer = new TWordLexer("DML", DmlLanguage(), parent);
        break;
    }
    // Every style in the editor font; keywords may still be bold.
    lexer->setDefaultFont(font);
    for (int style = 0; style < 128; ++style) {
        if (lexer->description(style).isEmpty()) {
            continue;
        }
        QFont styled = font;
        styled.setBold(lexer->font(style).bold());
        styled.setItalic(lexer->font(style).italic());
        lexer->setFont(styled, style);
    }
    return lexer;
}

} // namespace qx
