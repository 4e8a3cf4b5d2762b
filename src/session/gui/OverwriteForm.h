// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/OverwriteRule.h"
#include "widgets/CaptionedDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qx {

// The question before a transfer replaces a file: what is there and what comes (size and
// date), and the answers Overwrite, Overwrite if Newer, Resume (only where the target is the
// shorter start of the source), Rename (to the free name proposed, or one typed), Skip and
// Cancel, each for this file or, with the box checked, for the rest.
class TOverwriteForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TOverwriteForm(const TOverwriteQuestion& question, const QString& fontName, int fontSize,
                   QWidget* parent = nullptr);

    // Closing the dialog otherwise than by a button is Cancel.
    TOverwriteAnswer Answer() const { return m_answer; }

    // Shows the dialog and waits for the answer.
    static TOverwriteAnswer Ask(const TOverwriteQuestion& question, const QString& fontName,
                                int fontSize, QWidget* parent);

private:
    void Choose(TOverwriteChoice choice);

    TOverwriteAnswer m_answer;
    QLineEdit* m_newName = nullptr;
    QCheckBox* m_forAll = nullptr;
    QPushButton* m_rename = nullptr;
};

} // namespace qx
