// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/FormAppearance.h"

namespace qx {

QColor ColorFromStored(std::uint32_t bbggrr) {
    return QColor(static_cast<int>(bbggrr & 0xFFu), static_cast<int>((bbggrr >> 8) & 0xFFu),
                  static_cast<int>((bbggrr >> 16) & 0xFFu));
}

std::uint32_t StoredFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
           (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

} // namespace qx
