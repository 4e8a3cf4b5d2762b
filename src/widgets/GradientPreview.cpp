// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/GradientPreview.h"

#include <QPainter>

namespace qx {

TGradientPreview::TGradientPreview(QWidget* parent) : QWidget(parent), m_endColor(Qt::black) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGradientPreview::SetEndColor(const QColor& color) {
    m_endColor = color;
    update();
}

QSize TGradientPreview::sizeHint() const {
    return {kBands * 4, fontMetrics().height() + 8};
}

void TGradientPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int w = width();
    for (int band = 0; band < kBands; ++band) {
        const int left = w * band / kBands;
        const int right = w * (band + 1) / kBands;
        const auto part = [band](int channel) { return channel * band / (kBands - 1); };
        painter.fillRect(
            left, 0, right - left, height(),
            QColor(part(m_endColor.red()), part(m_endColor.green()), part(m_endColor.blue())));
    }
}

} // namespace qx
