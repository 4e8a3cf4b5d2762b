// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/PermissionBits.h"
#include "widgets/CaptionedDialog.h"

#include <string>

class QCheckBox;
class QSpinBox;

namespace qx {

// Chooses the nine permission bits of owner ("You"), group and others, as check boxes and as
// one octal digit per class that follow each other.
class TChangePermForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TChangePermForm(const QString& fontName, int fontSize, QWidget* parent = nullptr);

    // From a listing's permission text, before the dialog is shown.
    void SetPermission(const std::string& text);
    // "-" and the nine letters or "-" of the boxes.
    std::string GetPermission() const { return m_bits.GetPermission(); }
    // The three digits for SITE CHMOD.
    std::string GetOctal() const { return m_bits.GetOctal(); }

    QCheckBox* Box(int cls, int bit) const;
    QSpinBox* UpDown(int cls) const { return m_upDowns[cls]; }

private:
    void ShowBits();

    TPermissionBits m_bits;
    QCheckBox* m_boxes[3][3] = {}; // class, then read, write, execute
    QSpinBox* m_upDowns[3] = {};
    bool m_updating = false;
};

} // namespace qx
