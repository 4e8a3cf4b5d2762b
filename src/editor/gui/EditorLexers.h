// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/Highlighters.h"
#include "editor/WordTokenizer.h"

#include "editor/gui/QsciHeaders.h"

#include <QFont>

class QsciLexer;

namespace qx {

// A small highlighter of our own for a language the editor control has no lexer for:
// keywords, comments, strings and numbers as the word tokenizer finds them. The line state
// of a line remembers whether it ends inside a block comment.
class TWordLexer final : public QsciLexerCustom {
    Q_OBJECT
public:
    TWordLexer(const char* name, const TWordLanguage& language, QObject* parent);

    const char* language() const override { return m_name; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;

private:
    // Styles whole lines from the first to the last; returns whether the last one ends in a
    // block comment.
    bool StyleLines(int first, int last);

    const char* m_name;
    const TWordLanguage& m_language;
};

// The lexer of a highlighter in the editor font, owned by the parent; none for None.
QsciLexer* CreateLexer(THighlighter highlighter, const QFont& font, QObject* parent);

} // namespace qx
