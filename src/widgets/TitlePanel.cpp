// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TitlePanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace qx {

namespace {

constexpr int kMarginX = 6;
constexpr int kMarginY = 3;

QString JoinNonEmpty(std::initializer_list<QString> parts) {
    QStringList present;
    for (const QString& part : parts) {
        if (!part.isEmpty()) {
            present.append(part);
        }
    }
    return present.join(QLatin1Char(' '));
}

} // namespace

TTitlePanel::TTitlePanel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTitlePanel::SetCompanyText(const QString& text) {
    m_company = text;
    TextChanged();
}

void TTitlePanel::SetApplicationText(const QString& text) {
    m_application = text;
    TextChanged();
}

void TTitlePanel::SetCaptionText(const QString& text) {
    m_caption = text;
    TextChanged();
}

void TTitlePanel::SetColours(const QColor& start, const QColor& end) {
    m_start = start;
    m_end = end;
    update();
}

QString TTitlePanel::Text() const {
    return JoinNonEmpty({m_company, m_application, m_caption});
}

QString TTitlePanel::BoldPart() const {
    return JoinNonEmpty({m_company, m_application});
}

QFont TTitlePanel::BoldFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

void TTitlePanel::TextChanged() {
    setAccessibleName(Text());
    updateGeometry();
    update();
}

QSize TTitlePanel::sizeHint() const {
    const QFontMetrics boldMetrics(BoldFont());
    int width = boldMetrics.horizontalAdvance(BoldPart());
    if (!m_caption.isEmpty()) {
        width += fontMetrics().horizontalAdvance(QLatin1Char(' ') + m_caption);
    }
    const int height = std::max(boldMetrics.height(), fontMetrics().height());
    return {width + 2 * kMarginX, height + 2 * kMarginY};
}

QSize TTitlePanel::minimumSizeHint() const {
    return {2 * kMarginX, sizeHint().height()};
}

void TTitlePanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().topRight());
    gradient.setColorAt(0.0, m_start);
    gradient.setColorAt(1.0, m_end);
    painter.fillRect(rect(), gradient);

    painter.setPen(Qt::white);
    QRect area = rect().adjusted(kMarginX, 0, -kMarginX, 0);
    const QString bold = BoldPart();
    if (!bold.isEmpty()) {
        painter.setFont(BoldFont());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, bold);
        area.setLeft(area.left() + painter.fontMetrics().horizontalAdvance(bold));
    }
    if (!m_caption.isEmpty() && area.width() > 0) {
        painter.setFont(font());
        const QString caption = bold.isEmpty() ? m_caption : QLatin1Char(' ') + m_caption;
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(caption, Qt::ElideRight, area.width()));
    }
}

void TTitlePanel::mousePressEvent(QMouseEvent* event) {
    Q_EMIT Clicked();
    QWidget::mousePressEvent(event);
}

void TTitlePanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Q_EMIT DoubleClicked();
    }
    event->accept();
}

void TTitlePanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

} // namespace qx
