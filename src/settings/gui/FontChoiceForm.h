// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CaptionedDialog.h"

#include <QFont>

#include <optional>

class QComboBox;
class QFontComboBox;
class QLabel;

namespace qx {

// The font of the windows: a font that exists, in one of the sizes the windows are laid out
// for, with a sample of it.
class TFontChoiceForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    static constexpr int kMinPointSize = 8;
    static constexpr int kMaxPointSize = 10;

    // Starts from the font; a size outside the range starts at its nearest end.
    TFontChoiceForm(const QFont& current, const QString& fontName, int fontSize,
                    QWidget* parent = nullptr);

    QFont ChosenFont() const;

    // Shows the dialog modally; the font chosen, or nothing on Cancel.
    static std::optional<QFont> Choose(const QFont& current, const QString& fontName, int fontSize,
                                       QWidget* parent = nullptr);

private:
    void ShowSample();

    QFontComboBox* m_family;
    QComboBox* m_size;
    QLabel* m_sample;
};

} // namespace qx
