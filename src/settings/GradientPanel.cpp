#include "settings/GradientPanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace qx {

namespace {

constexpr int kMarginX = 8;
constexpr int kMarginY = 4;

} // namespace

TGradientPanel::TGradientPanel(QWidget* parent) : QWidget(parent), m_endColor(Qt::black) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGradientPanel::SetEndColor(const QColor& color) {
    m_endColor = color;
    update();
}

void TGradientPanel::SetTexts(const QString& title, const QString& text) {
    m_title = title;
    m_text = text;
    updateGeometry();
    update();
}

QFont TGradientPanel::TitleFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QSize TGradientPanel::sizeHint() const {
    const QFontMetrics title(TitleFont());
    const QFontMetrics plain(font());
    const int width = title.horizontalAdvance(m_title + QLatin1Char(' ')) +
                      plain.horizontalAdvance(m_text) + 2 * kMarginX;
    return {width, std::max(title.height(), plain.height()) + 2 * kMarginY};
}

QSize TGradientPanel::minimumSizeHint() const {
    return {2 * kMarginX, sizeHint().height()};
}

void TGradientPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

void TGradientPanel::paintEvent(QPaintEvent* /*event*/) {
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
    if (m_title.isEmpty() && m_text.isEmpty()) {
        return;
    }
    painter.setPen(Qt::white);
    QRect area = rect().adjusted(kMarginX, 0, -kMarginX, 0);
    if (!m_title.isEmpty()) {
        painter.setFont(TitleFont());
        const QString title = m_title + QLatin1Char(' ');
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
        area.setLeft(area.left() + painter.fontMetrics().horizontalAdvance(title));
    }
    painter.setFont(font());
    const QString text =
        painter.fontMetrics().elidedText(m_text, Qt::ElideRight, std::max(0, area.width()));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

} // namespace qx
