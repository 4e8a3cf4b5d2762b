// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/SessionLogView.h"

#include "remote/RemoteExpTexts.h"
#include "widgets/CoreTexts.h"
#include "widgets/MainDataModule.h"

#include <QLabel>

#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

namespace qx {

void ShowSessionStatus(const std::string& line, QLabel& text, QLabel& picture) {
    // The core marks its status lines whole, "% " with it.
    const QString status = line.size() > 2 ? CoreText(line).mid(2) : QString();
    text.setText(status);
    const int image = status.isEmpty()   ? -1
                      : line == "% Idle" ? TMainDataModule::Idle
                                         : TMainDataModule::Busy;
    picture.setPixmap(image < 0 ? QPixmap() : TMainDataModule::ActionIcon(image).pixmap(16, 16));
}

TSessionLogView::TSessionLogView(int emptyAt, QWidget* parent)
    : QPlainTextEdit(parent), m_emptyAt(emptyAt) {
    setObjectName(QStringLiteral("LogRichEdit"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void TSessionLogView::AddSessionLine(const std::string& line) {
    static const QColor kColours[] = {Qt::black, QColor(255, 0, 0), QColor(0, 128, 0),
                                      QColor(0, 0, 255), QColor(128, 128, 128)};
    AddLine(QString::fromStdString(line), kColours[static_cast<int>(LogLineColour(line))]);
}

void TSessionLogView::AddLine(const QString& text, const QColor& colour) {
    m_pending.push_back({text, colour});
    if (!m_flushPosted) {
        m_flushPosted = true;
        QTimer::singleShot(0, this, [this] {
            m_flushPosted = false;
            Flush();
        });
    }
}

void TSessionLogView::Flush() const {
    if (m_pending.empty()) {
        return;
    }
    // Of the waiting lines only those after the last emptying stay, so only those are written.
    std::size_t first = 0;
    int count = m_lines;
    bool emptied = false;
    for (std::size_t index = 0; index < m_pending.size(); ++index) {
        if (count >= m_emptyAt) {
            count = 0;
            first = index;
            emptied = true;
        }
        ++count;
    }
    auto& self = const_cast<TSessionLogView&>(*this); // writing what waits is no change of state
    if (emptied) {
        self.clear();
        m_lines = 0;
    }
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    for (std::size_t index = first; index < m_pending.size(); ++index) {
        if (m_lines > 0) {
            cursor.insertBlock();
        }
        format.setForeground(m_pending[index].Colour);
        cursor.insertText(m_pending[index].Text, format);
        ++m_lines;
    }
    cursor.endEditBlock();
    m_pending.clear();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int TSessionLogView::LineCount() const {
    Flush();
    return m_lines;
}

QString TSessionLogView::Text() const {
    Flush();
    return toPlainText();
}

void TSessionLogView::ClearLog() {
    m_pending.clear();
    clear();
    m_lines = 0;
}

} // namespace qx
