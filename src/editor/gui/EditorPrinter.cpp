// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/EditorPrinter.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>

namespace qx {

TEditorPrinter::TEditorPrinter(const QString& title)
    : m_title(title), m_started(QDateTime::currentDateTime()) {
    setWrapMode(QsciScintilla::WrapNone);
    setCopyCount(1);
    setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    setDocName(title);
}

QString TEditorPrinter::HeaderText(const QString& title) {
    return title;
}

QString TEditorPrinter::FooterText(int page, const QDateTime& when) {
    return QCoreApplication::translate("qx::TEditorPrinter",
                                       "Page Number: %1 Printing Date/Time: %2")
        .arg(page)
        .arg(QLocale().toString(when, QLocale::ShortFormat));
}

void TEditorPrinter::formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) {
    const QFontMetrics metrics(painter.font());
    const int lineHeight = metrics.lineSpacing();
    if (drawing) {
        painter.save();
        painter.setPen(Qt::black);
        painter.drawText(area.left(), area.top() + metrics.ascent(), HeaderText(m_title));
        painter.drawText(area.left(), area.bottom() - metrics.descent(),
                         FooterText(pageNumber, m_started));
        painter.restore();
    }
    // Two lines each: the text and an empty line between it and the page's text.
    area.setTop(area.top() + 2 * lineHeight);
    area.setBottom(area.bottom() - 2 * lineHeight);
}

} // namespace qx
