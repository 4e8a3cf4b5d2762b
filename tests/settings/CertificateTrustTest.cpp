// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/CertificateTrust.h"
#include "platform/ConfigStore.h"
#include "session/gui/CertificateForm.h"
#include "settings/TrustedCertificates.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace qx {

// The question about a certificate that cannot be verified, and what Trust Always keeps.
class CertificateTrustTest : public QObject {
    Q_OBJECT

    static constexpr const char* kFirst =
        "3A:7F:11:C2:08:9B:4E:D1:55:0A:6C:E3:21:98:BF:47:90:12:AB:CD:EF:01:23:45:67:89:9A:BC:DE:"
        "F0:11:22";
    static constexpr const char* kSecond =
        "C4:19:E0:7B:3D:2A:88:F6:01:5C:9E:B2:47:D3:6A:10:FE:DC:BA:98:76:54:32:10:0F:1E:2D:3C:4B:"
        "5A:69:78";

    static TCertificateQuestion Question(const char* sha256) {
        TCertificateQuestion question;
        question.HostName = "ftp.example.org";
        question.Port = "21";
        question.Certificate.Subject = "CN=ftp.example.org,O=Example Ltd";
        question.Certificate.Issuer = "CN=ftp.example.org,O=Example Ltd";
        question.Certificate.NotBefore = "Dec  1 00:00:00 2026 GMT";
        question.Certificate.NotAfter = "Dec  1 00:00:00 2027 GMT";
        question.Certificate.Sha256 = sha256;
        question.Certificate.VerifyError = "self-signed certificate";
        return question;
    }

    // Answers the dialog that AskCertificateTrust shows with the button, after the check;
    // counts the dialogs shown.
    bool Ask(const TCertificateQuestion& question, const char* button,
             const std::function<void(QWidget&)>& check = {}) {
        QTimer::singleShot(0, this, [this, button, check] {
            auto* form = qobject_cast<TCertificateForm*>(QApplication::activeModalWidget());
            if (form == nullptr) {
                return; // nothing asked
            }
            ++m_shown;
            if (check) {
                check(*form);
            }
            form->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
        return AskCertificateTrust(question, m_store, QString(), 0, nullptr);
    }

    test::TempDir m_dir;
    TConfigStore m_store{m_dir.file("settings.conf")};
    int m_shown = 0;

private Q_SLOTS:
    void trustAlwaysIsKeptPerHostAndPort() {
        QVERIFY(Ask(Question(kFirst), "TrustAlwaysButton", [](QWidget& form) {
            QVERIFY(form.findChild<QLabel*>(QStringLiteral("ChangedWarningLabel")) == nullptr);
            QVERIFY(form.findChild<QLabel*>(QStringLiteral("ReasonLabel"))
                        ->text()
                        .contains(QStringLiteral("self-signed certificate")));
            QVERIFY(form.findChild<QPushButton*>(QStringLiteral("CancelButton"))->isDefault());
        }));
        QCOMPARE(m_shown, 1);
        QCOMPARE(StoredCertificate(m_store, "ftp.example.org", "21"), std::string(kFirst));
        // The same certificate again: taken without a question.
        QVERIFY(Ask(Question(kFirst), "CancelButton"));
        QCOMPARE(m_shown, 1);
        // Another port of the same host is another server.
        TCertificateQuestion otherPort = Question(kFirst);
        otherPort.Port = "990";
        QVERIFY(!Ask(otherPort, "CancelButton"));
        QCOMPARE(m_shown, 2);
    }

    void aChangedCertificateIsAskedAgainWithAWarning() {
        StoreCertificate(m_store, "ftp.example.org", "21", kFirst);
        const bool trusted = Ask(Question(kSecond), "CancelButton", [](QWidget& form) {
            const auto* warning = form.findChild<QLabel*>(QStringLiteral("ChangedWarningLabel"));
            QVERIFY(warning != nullptr);
            QVERIFY(warning->text().contains(QStringLiteral("another certificate")));
            QVERIFY(form.findChild<QLabel*>(QStringLiteral("StoredFingerprintLabel")) != nullptr);
            const QString screenshots = qEnvironmentVariable("QX_SCREENSHOTS");
            if (!screenshots.isEmpty()) {
                form.grab().save(QDir(screenshots).filePath(QStringLiteral("certificate.png")));
            }
        });
        QVERIFY(!trusted);
        QCOMPARE(StoredCertificate(m_store, "ftp.example.org", "21"), std::string(kFirst));
        // Trust Once takes it for now and keeps the old one stored.
        QVERIFY(Ask(Question(kSecond), "TrustOnceButton"));
        QCOMPARE(StoredCertificate(m_store, "ftp.example.org", "21"), std::string(kFirst));
    }
};

} // namespace qx

QTEST_MAIN(qx::CertificateTrustTest)
#include "CertificateTrustTest.moc"
