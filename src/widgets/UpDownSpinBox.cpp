// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/UpDownSpinBox.h"

#include "base/UpDownPosition.h"

#include <QSpinBox>

namespace qx {

QSpinBox* NewUpDown(const char* name, QWidget* parent) {
    auto* upDown = new QSpinBox(parent);
    upDown->setObjectName(QLatin1String(name));
    upDown->setRange(UpDownMin, UpDownMax);
    upDown->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return upDown;
}

} // namespace qx
