// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPlainTextEdit>

#include <string>
#include <vector>

class QLabel;

namespace qx {

// A status line of a session ("% Idle", "% Listing"): its text in the panel, with the idle or
// busy picture beside it (none for an empty text).
void ShowSessionStatus(const std::string& line, QLabel& text, QLabel& picture);

// The coloured session log of the explorers and the editor: read-only, unwrapped, and started
// afresh when it holds a given number of lines. Lines join at the next turn of the event loop,
// many in one edit, so that a session sending thousands of lines never holds the window up line
// by line; counting or reading the log writes what is waiting first.
class TSessionLogView final : public QPlainTextEdit {
    Q_OBJECT
public:
    // The log is emptied before a line is added when it holds emptyAt lines.
    TSessionLogView(int emptyAt, QWidget* parent);

    // A session log line, coloured by its kind ("!", ">", "<", "~").
    void AddSessionLine(const std::string& line);
    void AddLine(const QString& text, const QColor& colour);
    int LineCount() const;
    QString Text() const;
    void ClearLog();
    void Flush() const;

private:
    struct TLine {
        QString Text;
        QColor Colour;
    };
    const int m_emptyAt;
    mutable int m_lines = 0;
    mutable std::vector<TLine> m_pending;
    bool m_flushPosted = false;
};

} // namespace qx
