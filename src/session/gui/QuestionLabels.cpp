// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/gui/QuestionLabels.h"

#include <QLabel>

namespace qx {

QString Utf8Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* PlainLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* FingerprintLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = PlainLabel(text, name, parent);
    label->setFont(QFont(QStringLiteral("monospace")));
    label->setWordWrap(false);
    return label;
}

} // namespace qx
