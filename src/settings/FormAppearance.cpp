#include "settings/FormAppearance.h"

#include "settings/GlobalOptions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

namespace qx {

QFont OptionsFont(const TGlobalOptions& options) {
    return QFont(ToQt(options.FontName), options.FontSize);
}

QColor ColorFromStored(std::uint32_t bbggrr) {
    return QColor(static_cast<int>(bbggrr & 0xFFu), static_cast<int>((bbggrr >> 8) & 0xFFu),
                  static_cast<int>((bbggrr >> 16) & 0xFFu));
}

std::uint32_t StoredFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
           (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QVBoxLayout* CaptionedDialogLayout(QWidget& dialog, QWidget* caption) {
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(caption);
    auto* body = new QVBoxLayout;
    const QStyle* style = dialog.style();
    body->setContentsMargins(style->pixelMetric(QStyle::PM_LayoutLeftMargin),
                             style->pixelMetric(QStyle::PM_LayoutTopMargin),
                             style->pixelMetric(QStyle::PM_LayoutRightMargin),
                             style->pixelMetric(QStyle::PM_LayoutBottomMargin));
    layout->addLayout(body);
    return body;
}

} // namespace qx
