// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TransferTypeRadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

namespace qx {

TTransferTypeRadioGroup::TTransferTypeRadioGroup(QWidget* parent)
    : QGroupBox(tr("Transfer Type"), parent), m_buttons(new QButtonGroup(this)) {
    auto* layout = new QHBoxLayout(this);
    const QString captions[] = {tr("&ASCII"), tr("&Binary"), tr("A&uto")};
    const char* names[] = {"AsciiRadioButton", "BinaryRadioButton", "AutoRadioButton"};
    for (int index = 0; index < 3; ++index) {
        auto* button = new QRadioButton(captions[index], this);
        button->setObjectName(QLatin1String(names[index]));
        m_buttons->addButton(button, index);
        layout->addWidget(button, 1);
    }
}

int TTransferTypeRadioGroup::ItemIndex() const {
    return m_buttons->checkedId();
}

void TTransferTypeRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = m_buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button directly.
    m_buttons->setExclusive(false);
    for (QAbstractButton* button : m_buttons->buttons()) {
        button->setChecked(false);
    }
    m_buttons->setExclusive(true);
}

} // namespace qx
