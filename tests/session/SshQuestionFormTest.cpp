// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/gui/SshQuestionForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace qx {

using TKind = sftp::TSshQuestion::TKind;
const std::optional<std::string> Cancelled;

class SshQuestionFormTest : public QObject {
    Q_OBJECT

    static sftp::TSshQuestion Question(TKind kind, std::string prompt) {
        sftp::TSshQuestion question;
        question.Kind = kind;
        question.Prompt = std::move(prompt);
        return question;
    }

    // Shows the dialog, lets `act` work on it once it is up, and returns its answer.
    static std::optional<std::string> Run(const sftp::TSshQuestion& question,
                                          const std::function<void(TSshQuestionForm&)>& act) {
        TSshQuestionForm form(question, QString(), 0);
        QTimer::singleShot(0, &form, [&] { act(form); });
        form.exec();
        return form.Answer();
    }

    static void Click(TSshQuestionForm& form, const char* name) {
        auto* button = form.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(button != nullptr);
        button->click();
    }

    static QString LabelText(const TSshQuestionForm& form, const char* name) {
        const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text() : QStringLiteral("<no label>");
    }

private Q_SLOTS:
    void anUnknownHostKeyShowsHostTypeAndFingerprintAndTrustSaysYes() {
        auto question = Question(TKind::UnknownHostKey, "The authenticity of host ...");
        question.Host = "[127.0.0.1]:2222";
        question.KeyType = "ED25519";
        question.Fingerprint = "SHA256:Ab3dE/fG+hIjK";
        TSshQuestionForm form(question, QString(), 0);
        QCOMPARE(form.windowTitle(), QStringLiteral("Unknown Host Key"));
        QCOMPARE(LabelText(form, "HostLabel"), QStringLiteral("[127.0.0.1]:2222"));
        QCOMPARE(LabelText(form, "KeyTypeLabel"), QStringLiteral("ED25519"));
        QCOMPARE(LabelText(form, "FingerprintLabel"), QStringLiteral("SHA256:Ab3dE/fG+hIjK"));
        QVERIFY(LabelText(form, "ReasonLabel").contains(QStringLiteral("[127.0.0.1]:2222")));
        QVERIFY(form.findChild<QLineEdit*>() == nullptr);
        QVERIFY(form.findChild<QPushButton*>(QStringLiteral("CancelButton"))->isDefault());

        QCOMPARE(Run(question, [](TSshQuestionForm& f) { Click(f, "TrustButton"); }),
                 std::optional<std::string>("yes"));
        QCOMPARE(Run(question, [](TSshQuestionForm& f) { Click(f, "CancelButton"); }), Cancelled);
        QCOMPARE(Run(question, [](TSshQuestionForm& f) { f.reject(); }), Cancelled);
    }

    void promptsAreMaskedAndGiveWhatWasTyped() {
        const struct {
            TKind Kind;
            const char* Prompt;
            const char* Title;
        } cases[] = {
            {TKind::Password, "me@example.org's password: ", "SSH Password"},
            {TKind::Passphrase, "Enter passphrase for key '/k/id': ", "Key Passphrase"},
            {TKind::KeyboardInteractive, "(me@example.org) Verification code: ", "SSH Login"},
        };
        for (const auto& kind : cases) {
            const auto question = Question(kind.Kind, kind.Prompt);
            TSshQuestionForm form(question, QString(), 0);
            QCOMPARE(form.windowTitle(), QString::fromLatin1(kind.Title));
            QCOMPARE(LabelText(form, "PromptLabel"), QString::fromLatin1(kind.Prompt));
            const auto* edit = form.findChild<QLineEdit*>(QStringLiteral("AnswerEdit"));
            QVERIFY(edit != nullptr);
            QCOMPARE(edit->echoMode(), QLineEdit::Password);

            const auto typed = Run(question, [](TSshQuestionForm& f) {
                auto* answer = f.findChild<QLineEdit*>(QStringLiteral("AnswerEdit"));
                QTest::keyClicks(answer, QStringLiteral("s3cr"));
                answer->insert(QStringLiteral("\u00e9t")); // typed keys are ASCII only
                Click(f, "OkButton");
            });
            QCOMPARE(typed, std::optional<std::string>("s3cr\xc3\xa9t"));
            QCOMPARE(Run(question, [](TSshQuestionForm& f) { Click(f, "CancelButton"); }),
                     Cancelled);
        }
        // An empty answer is still an answer (an empty passphrase).
        QCOMPARE(Run(Question(TKind::Passphrase, "Enter passphrase"),
                     [](TSshQuestionForm& f) { Click(f, "OkButton"); }),
                 std::optional<std::string>(""));
    }

    void aConfirmationAndANoticeShowSshsTextAsPlainText() {
        const auto confirm = Question(TKind::Confirm, "Allow use of key <b>id</b>?");
        TSshQuestionForm form(confirm, QString(), 0);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("PromptLabel"))->textFormat(),
                 Qt::PlainText);
        QCOMPARE(Run(confirm, [](TSshQuestionForm& f) { Click(f, "YesButton"); }),
                 std::optional<std::string>("yes"));
        QCOMPARE(Run(confirm, [](TSshQuestionForm& f) { Click(f, "CancelButton"); }), Cancelled);

        const auto notice = Question(TKind::Notice, "Confirm user presence for key ED25519-SK");
        TSshQuestionForm shown(notice, QString(), 0);
        QCOMPARE(shown.windowTitle(), QStringLiteral("SSH Notice"));
        QVERIFY(shown.findChild<QPushButton*>(QStringLiteral("CancelButton")) == nullptr);
        QCOMPARE(Run(notice, [](TSshQuestionForm& f) { f.reject(); }),
                 std::optional<std::string>(""));
    }
};

} // namespace qx

QTEST_MAIN(qx::SshQuestionFormTest)
#include "SshQuestionFormTest.moc"
