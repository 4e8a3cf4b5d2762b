// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CoreTexts.h"

#include <QCoreApplication>
#include <QLocale>

namespace qx {

QString CoreText(const std::string& text) {
    // Qt reads the text as UTF-8, as the core writes it, and hands it back so when it has no
    // translation.
    return QCoreApplication::translate("qx::Core", text.c_str());
}

std::string CoreFormat(const char* format) {
    return QCoreApplication::translate("qx::Core", format).toStdString();
}

QString CoreMessageText(const TCoreMessage& message) {
    return QString::fromStdString(message.Text(&CoreFormat));
}

std::string DecimalPoint() {
    return QLocale().decimalPoint().toStdString();
}

} // namespace qx
