// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CaptionedDialog.h"

#include "widgets/FontChoice.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace qx {

TCaptionedDialog::TCaptionedDialog(const QString& fontName, int fontSize, QWidget* parent)
    : QDialog(parent) {
    ApplyFontChoice(*this, fontName, fontSize);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    m_title = new TTitlePanel(this);
    m_title->setObjectName(QStringLiteral("GradCaption"));
    m_title->SetCompanyText(QString::fromLatin1(kCompanyText));
    outer->addWidget(m_title);

    m_body = new QVBoxLayout;
    // The margins the style gives a dialog; the outer layout has none so that the title
    // panel spans the full width.
    const int left = style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, this);
    const int top = style()->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, this);
    const int right = style()->pixelMetric(QStyle::PM_LayoutRightMargin, nullptr, this);
    const int bottom = style()->pixelMetric(QStyle::PM_LayoutBottomMargin, nullptr, this);
    m_body->setContentsMargins(left, top, right, bottom);
    outer->addLayout(m_body);
}

namespace {

QDialogButtonBox* NewButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkBitBtn"));
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    return buttons;
}

} // namespace

void TCaptionedDialog::AddContentsWithOkButton(QWidget* contents) {
    QDialogButtonBox* buttons = NewButtons(*this);
    m_body->addWidget(contents);
    m_body->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
}

void TCaptionedDialog::AddContentsWithButtonRow(QWidget* contents,
                                                std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    m_body->addWidget(contents);
    m_body->addLayout(row);
}

QDialogButtonBox* TCaptionedDialog::NewOkCancelButtons() {
    QDialogButtonBox* buttons = NewButtons(*this);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelBitBtn"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

int TitleBarWidth(const QWidget& window) {
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(window.windowTitle()) + 6 * metrics.height() + 16;
}

void TCaptionedDialog::SetTitles(const QString& application, const QString& caption,
                                 const QString& windowTitle) {
    m_title->SetApplicationText(application);
    m_title->SetCaptionText(caption);
    setWindowTitle(
        !windowTitle.isEmpty()
            ? windowTitle
            : QStringLiteral("%1 %2 %3").arg(QLatin1String(kCompanyText), application, caption));
}

void TCaptionedDialog::setVisible(bool visible) {
    if (visible) {
        // The title is known by now; the fixed size follows the panel's width.
        m_title->setMinimumWidth(TitleBarWidth(*this));
    }
    QDialog::setVisible(visible);
}

void TCaptionedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        CentreOnScreen();
    }
}

void TCaptionedDialog::CentreOnScreen() {
    const QScreen* target = screen();
    if (target == nullptr) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(target->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace qx
