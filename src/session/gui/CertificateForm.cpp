#include "session/gui/CertificateForm.h"

#include "widgets/TitlePanel.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace qx {

namespace {

QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* PlainLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText); // the certificate's texts are the server's
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The fingerprint in two lines of sixteen pairs.
QString FingerprintText(const std::string& sha256) {
    QString text = ToQt(sha256);
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
    setWindowTitle(tr("Server Certificate"));
    TitlePanel().SetApplicationText(tr("Connection"));
    TitlePanel().SetCaptionText(tr("[Certificate Not Verified]"));
    const TTlsCertificateInfo& certificate = question.Certificate;

    const bool changed = !storedFingerprint.empty();
    if (changed) {
        auto* warning = PlainLabel(
            tr("Warning: %1 port %2 shows another certificate than the one you trusted before. "
               "Someone may be listening in between, or the server got a new certificate.")
                .arg(ToQt(question.HostName), ToQt(question.Port)),
            "ChangedWarningLabel", this);
        warning->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold;"));
        Body().addWidget(warning);
    }
    Body().addWidget(PlainLabel(
        tr("The certificate of %1 (port %2) cannot be verified: %3.")
            .arg(ToQt(question.HostName), ToQt(question.Port), ToQt(certificate.VerifyError)),
        "ReasonLabel", this));

    auto* fields = new QFormLayout;
    fields->addRow(tr("Subject:"), PlainLabel(ToQt(certificate.Subject), "SubjectLabel", this));
    fields->addRow(tr("Issuer:"), PlainLabel(ToQt(certificate.Issuer), "IssuerLabel", this));
    fields->addRow(tr("Valid from:"),
                   PlainLabel(ToQt(certificate.NotBefore), "NotBeforeLabel", this));
    fields->addRow(tr("Valid until:"),
                   PlainLabel(ToQt(certificate.NotAfter), "NotAfterLabel", this));
    auto* fingerprint = PlainLabel(FingerprintText(certificate.Sha256), "FingerprintLabel", this);
    fingerprint->setFont(QFont(QStringLiteral("monospace")));
    fingerprint->setWordWrap(false);
    fields->addRow(tr("SHA-256:"), fingerprint);
    if (changed) {
        auto* before =
            PlainLabel(FingerprintText(storedFingerprint), "StoredFingerprintLabel", this);
        before->setFont(QFont(QStringLiteral("monospace")));
        before->setWordWrap(false);
        fields->addRow(tr("Trusted before:"), before);
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
