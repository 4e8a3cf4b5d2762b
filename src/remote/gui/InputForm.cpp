// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/InputForm.h"

#include "base/Utilities.h"
#include "widgets/TitlePanel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx {

TInputForm::TInputForm(const QString& fontName, int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("InputForm"));
    SetTitles(tr("Input"), {});

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("PromptLabel"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("InputEdit"));
    m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * 45);
    m_prompt->setBuddy(m_edit);

    QDialogButtonBox* buttons = NewOkCancelButtons();
    m_ok = buttons->button(QDialogButtonBox::Ok);

    Body().addWidget(m_prompt);
    Body().addWidget(m_edit);
    Body().addSpacing(m_edit->fontMetrics().height() / 2);
    Body().addWidget(buttons);

    connect(m_edit, &QLineEdit::textChanged, this, &TInputForm::UpdateOkButton);
    UpdateOkButton();
    m_edit->setFocus();
}

void TInputForm::SetApplicationText(const QString& text) {
    TitlePanel().SetApplicationText(text);
}

void TInputForm::SetCaptionText(const QString& text) {
    TitlePanel().SetCaptionText(text);
}

void TInputForm::SetPrompt(const QString& text) {
    m_prompt->setText(text);
}

void TInputForm::SetText(const QString& text) {
    m_edit->setText(text);
    m_edit->selectAll();
}

void TInputForm::SetPasswordMask(bool masked) {
    m_edit->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

void TInputForm::SetNumbersOnly(bool numbersOnly) {
    m_numbersOnly = numbersOnly;
    UpdateOkButton();
}

void TInputForm::Setup(const TInputRequest& request) {
    SetApplicationText(request.ApplicationText);
    SetCaptionText(request.CaptionText);
    SetPrompt(request.Prompt);
    SetPasswordMask(request.PasswordMask);
    SetNumbersOnly(request.NumbersOnly);
    SetText(request.InitialText);
}

QString TInputForm::Text() const {
    return m_edit->text();
}

void TInputForm::UpdateOkButton() {
    const QString text = m_edit->text();
    m_ok->setEnabled(m_numbersOnly ? IsNumber(text.toStdString()) : !text.isEmpty());
}

std::optional<QString> TInputForm::Ask(const TInputRequest& request, const QString& fontName,
                                       int fontSize, QWidget* parent) {
    TInputForm form(fontName, fontSize, parent);
    form.Setup(request);
    if (form.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.Text();
}

} // namespace qx
