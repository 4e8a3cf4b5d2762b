// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace qx {

// The preview of the gradient colour: black on the left to the colour on the right, in 32
// bands, as the title panels of the windows are drawn with it.
class TGradientPreview final : public QWidget {
    Q_OBJECT
public:
    explicit TGradientPreview(QWidget* parent = nullptr);

    void SetEndColor(const QColor& color);
    QColor EndColor() const { return m_endColor; }

    QSize sizeHint() const override;

    static constexpr int kBands = 32;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_endColor;
};

} // namespace qx
