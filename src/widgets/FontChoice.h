// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

namespace qx {

// Gives the widget the font family and point size of the settings; an empty name or a size of 0
// keeps the widget's own.
void ApplyFontChoice(QWidget& widget, const QString& fontName, int fontSize);

} // namespace qx
