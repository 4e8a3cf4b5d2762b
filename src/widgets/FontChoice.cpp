// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FontChoice.h"

#include <QFont>
#include <QWidget>

namespace qx {

void ApplyFontChoice(QWidget& widget, const QString& fontName, int fontSize) {
    QFont font = widget.font();
    if (!fontName.isEmpty()) {
        font.setFamily(fontName);
    }
    if (fontSize > 0) {
        font.setPointSize(fontSize);
    }
    widget.setFont(font);
}

} // namespace qx
