// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class QButtonGroup;

namespace qx {

// The "Transfer Type" radio group: "ASCII", "Binary" and "Auto" side by side; the item index
// is the transfer type's number.
class TTransferTypeRadioGroup final : public QGroupBox {
    Q_OBJECT
public:
    explicit TTransferTypeRadioGroup(QWidget* parent = nullptr);

    // -1 when no item is selected; an index outside 0 to 2 selects none.
    int ItemIndex() const;
    void SetItemIndex(int index);

private:
    QButtonGroup* m_buttons;
};

} // namespace qx
