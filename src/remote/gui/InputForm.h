// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CaptionedDialog.h"

#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qx {

// What a caller asks with the one-line input dialog.
struct TInputRequest {
    QString ApplicationText = QStringLiteral("Input");
    QString CaptionText{}; // "[New Folder]"
    QString Prompt{};      // "Folder Name:"; an "&" marks the access key of the edit
    QString InitialText{};
    bool PasswordMask = false;
    bool NumbersOnly = false;
};

// Asks for one line of text. OK is enabled only for an answer that may be confirmed: a text
// that is not empty, and with NumbersOnly made of the digits 0 to 9 only.
class TInputForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TInputForm(const QString& fontName, int fontSize, QWidget* parent = nullptr);

    void SetApplicationText(const QString& text);
    void SetCaptionText(const QString& text);
    void SetPrompt(const QString& text);
    // Selects the text, so that typing replaces it.
    void SetText(const QString& text);
    void SetPasswordMask(bool masked);
    void SetNumbersOnly(bool numbersOnly);
    void Setup(const TInputRequest& request);

    QString Text() const;
    bool NumbersOnly() const { return m_numbersOnly; }

    // Shows the dialog modally; the text on OK, nothing on Cancel.
    static std::optional<QString> Ask(const TInputRequest& request, const QString& fontName,
                                      int fontSize, QWidget* parent = nullptr);

private:
    void UpdateOkButton();

    QLabel* m_prompt;
    QLineEdit* m_edit;
    QPushButton* m_ok;
    bool m_numbersOnly = false;
};

} // namespace qx
