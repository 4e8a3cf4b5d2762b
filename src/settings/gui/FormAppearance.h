// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

namespace qx {

// Colours are stored as 0xBBGGRR, blue in the high byte of the low three.
QColor ColorFromStored(std::uint32_t bbggrr);
std::uint32_t StoredFromColor(const QColor& color);

// Text of the core (UTF-8 bytes) for the widgets, and back.
inline QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

} // namespace qx
