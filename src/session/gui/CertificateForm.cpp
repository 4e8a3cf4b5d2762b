// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/gui/CertificateForm.h"

#include "session/gui/QuestionLabels.h"
#include "widgets/CoreTexts.h"
#include "widgets/TitlePanel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace qx {

namespace {

// The fingerprint in two lines of sixteen pairs.
QString FingerprintText(const std::string& sha256) {
    QString text = Utf8Text(sha256);
    if (text.size() > 48) {
        text.insert(48, QLatin1Char('\n'));
    }
    return text;
}

} // namespace

TCertificateForm::TCertificateForm(const TCertificateQuestion& question,
                                   const std::string& storedFingerprint, const QString& fontName,
                                   int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("CertificateForm"));
    SetTitles(tr("Connection"), tr("[Certificate Not Verified]"), tr("Server Certificate"));
    const TTlsCertificateInfo& certificate = question.Certificate;

    const bool changed = !storedFingerprint.empty();
    if (changed) {
        auto* warning = PlainLabel(
            tr("Warning: %1 port %2 shows another certificate than the one you trusted before. "
               "Someone may be listening in between, or the server got a new certificate.")
                .arg(Utf8Text(question.HostName), Utf8Text(question.Port)),
            "ChangedWarningLabel", this);
        warning->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold;"));
        Body().addWidget(warning);
    }
    Body().addWidget(PlainLabel(tr("The certificate of %1 (port %2) cannot be verified: %3.")
                                    .arg(Utf8Text(question.HostName), Utf8Text(question.Port),
                                         CoreText(certificate.VerifyError)),
                                "ReasonLabel", this));

    auto* fields = new QFormLayout;
    fields->addRow(tr("Subject:"), PlainLabel(Utf8Text(certificate.Subject), "SubjectLabel", this));
    fields->addRow(tr("Issuer:"), PlainLabel(Utf8Text(certificate.Issuer), "IssuerLabel", this));
    fields->addRow(tr("Valid from:"),
                   PlainLabel(Utf8Text(certificate.NotBefore), "NotBeforeLabel", this));
    fields->addRow(tr("Valid until:"),
                   PlainLabel(Utf8Text(certificate.NotAfter), "NotAfterLabel", this));
    fields->addRow(tr("SHA-256:"),
                   FingerprintLabel(FingerprintText(certificate.Sha256), "FingerprintLabel", this));
    if (changed) {
        fields->addRow(tr("Trusted before:"), FingerprintLabel(FingerprintText(storedFingerprint),
                                                               "StoredFingerprintLabel", this));
    }
    Body().addLayout(fields);
    Body().addWidget(PlainLabel(tr("Trust it only when you know that this is the server's "
                                   "certificate (compare the fingerprint with the one its "
                                   "administrator gave you)."),
                                "AdviceLabel", this));

    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& caption, const char* name, TCertificateChoice choice) {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, choice] {
            m_choice = choice;
            if (choice == TCertificateChoice::Cancel) {
                reject();
            } else {
                accept();
            }
        });
        return button;
    };
    add(tr("Trust &Once"), "TrustOnceButton", TCertificateChoice::TrustOnce);
    add(tr("Trust &Always"), "TrustAlwaysButton", TCertificateChoice::TrustAlways);
    QPushButton* cancel = add(tr("Cancel"), "CancelButton", TCertificateChoice::Cancel);
    cancel->setDefault(true); // the answer that risks nothing
    cancel->setFocus();
    Body().addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

} // namespace qx
