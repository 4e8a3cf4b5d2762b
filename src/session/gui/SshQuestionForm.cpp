// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/gui/SshQuestionForm.h"

#include "session/gui/QuestionLabels.h"
#include "widgets/TitlePanel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qx {

namespace {

using TKind = sftp::TSshQuestion::TKind;

struct TKindTexts {
    const char* Title;
    const char* Caption;
};

TKindTexts TextsOf(TKind kind) {
    switch (kind) {
    case TKind::UnknownHostKey:
        return {QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "Unknown Host Key"),
                QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "[Unknown Host Key]")};
    case TKind::Password:
        return {QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "SSH Password"),
                QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "[Password]")};
    case TKind::Passphrase:
        return {QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "Key Passphrase"),
                QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "[Passphrase]")};
    case TKind::KeyboardInteractive:
        return {QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "SSH Login"),
                QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "[Login Question]")};
    case TKind::Confirm:
        return {QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "SSH Confirmation"),
                QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "[Confirm]")};
    case TKind::Notice:
        break;
    }
    return {QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "SSH Notice"),
            QT_TRANSLATE_NOOP("qx::TSshQuestionForm", "[Notice]")};
}

bool AsksForText(TKind kind) {
    return kind == TKind::Password || kind == TKind::Passphrase ||
           kind == TKind::KeyboardInteractive;
}

} // namespace

TSshQuestionForm::TSshQuestionForm(const sftp::TSshQuestion& question, const QString& fontName,
                                   int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent), m_kind(question.Kind) {
    setObjectName(QStringLiteral("SshQuestionForm"));
    const TKindTexts texts = TextsOf(question.Kind);
    SetTitles(tr("Connection"), tr(texts.Caption), tr(texts.Title));

    switch (question.Kind) {
    case TKind::UnknownHostKey:
        AddHostKey(question);
        AddButtons(tr("&Trust"), "TrustButton", true);
        break;
    case TKind::Confirm:
        Body().addWidget(PlainLabel(Utf8Text(question.Prompt), "PromptLabel", this));
        AddButtons(tr("&Yes"), "YesButton", true);
        break;
    case TKind::Notice:
        m_answer = std::string(); // ssh does not wait for it: closing it is reading it
        Body().addWidget(PlainLabel(Utf8Text(question.Prompt), "PromptLabel", this));
        AddButtons(tr("OK"), "OkButton", false);
        break;
    case TKind::Password:
    case TKind::Passphrase:
    case TKind::KeyboardInteractive:
        AddPrompt(question);
        AddButtons(tr("OK"), "OkButton", true);
        break;
    }
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
}

void TSshQuestionForm::AddHostKey(const sftp::TSshQuestion& question) {
    Body().addWidget(PlainLabel(tr("The host key of %1 is not known yet: ssh cannot tell "
                                   "whether this is the server you mean.")
                                    .arg(Utf8Text(question.Host)),
                                "ReasonLabel", this));
    auto* fields = new QFormLayout;
    fields->addRow(tr("Host:"), PlainLabel(Utf8Text(question.Host), "HostLabel", this));
    fields->addRow(tr("Key type:"), PlainLabel(Utf8Text(question.KeyType), "KeyTypeLabel", this));
    fields->addRow(tr("Fingerprint:"),
                   FingerprintLabel(Utf8Text(question.Fingerprint), "FingerprintLabel", this));
    Body().addLayout(fields);
    Body().addWidget(PlainLabel(tr("Trust it only when you know that this is the server's key "
                                   "(compare the fingerprint with the one its administrator "
                                   "gave you). Trust adds it to your known hosts."),
                                "AdviceLabel", this));
}

void TSshQuestionForm::AddPrompt(const sftp::TSshQuestion& question) {
    Body().addWidget(PlainLabel(Utf8Text(question.Prompt), "PromptLabel", this));
    m_secret = new QLineEdit(this);
    m_secret->setObjectName(QStringLiteral("AnswerEdit"));
    m_secret->setEchoMode(QLineEdit::Password);
    Body().addWidget(m_secret);
    m_secret->setFocus();
}

void TSshQuestionForm::AddButtons(const QString& acceptCaption, const char* acceptName,
                                  bool withCancel) {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* accepting = buttons->addButton(acceptCaption, QDialogButtonBox::AcceptRole);
    accepting->setObjectName(QString::fromLatin1(acceptName));
    connect(accepting, &QPushButton::clicked, this, [this] {
        if (m_secret != nullptr) {
            m_answer = m_secret->text().toStdString();
            m_secret->clear();
        } else {
            m_answer = m_kind == TKind::Notice ? std::string() : std::string("yes");
        }
        accept();
    });
    if (withCancel) {
        QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
        cancel->setObjectName(QStringLiteral("CancelButton"));
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        // Trusting a key or confirming is never what Return does by itself.
        cancel->setDefault(!AsksForText(m_kind));
        accepting->setDefault(AsksForText(m_kind));
        if (!AsksForText(m_kind)) {
            cancel->setFocus();
        }
    } else {
        accepting->setDefault(true);
    }
    Body().addWidget(buttons);
}

std::optional<std::string> AskSshQuestion(const sftp::TSshQuestion& question,
                                          const QString& fontName, int fontSize, QWidget* parent) {
    TSshQuestionForm form(question, fontName, fontSize, parent);
    form.exec();
    return form.Answer();
}

} // namespace qx
