// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/gui/QsciHeaders.h"

#include <QDateTime>
#include <QString>

namespace qx {

// Prints a page of the editor: no wrapping, margins of 10 mm, a header of the title and an
// empty line, a footer of an empty line and "Page Number: $pagenum$ Printing Date/Time:
// $datetime$" on every page.
class TEditorPrinter final : public QsciPrinter {
public:
    explicit TEditorPrinter(const QString& title);

    static QString HeaderText(const QString& title);
    static QString FooterText(int page, const QDateTime& when);

    void formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) override;

private:
    QString m_title;
    QDateTime m_started;
};

} // namespace qx
