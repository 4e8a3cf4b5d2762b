// SPDX-License-Identifier: GPL-3.0-or-later
// The one-line input dialog: when OK may be pressed, masking, the access key of the prompt and
// the modal convenience call.

#include "remote/gui/InputForm.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace qx;

namespace {

QLineEdit& Edit(const TInputForm& form) {
    return *form.findChild<QLineEdit*>(QStringLiteral("InputEdit"));
}

QPushButton& Ok(const TInputForm& form) {
    return *form.findChild<QPushButton*>(QStringLiteral("OkBitBtn"));
}

// Runs once the next modal dialog is open.
template <typename Action> void WhenModal(Action action) {
    QTimer::singleShot(0, [action] {
        auto* form = qobject_cast<TInputForm*>(QApplication::activeModalWidget());
        QVERIFY(form != nullptr);
        action(*form);
    });
}

} // namespace

class InputFormTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedTextDecidesOk_data() {
        QTest::addColumn<bool>("numbersOnly");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("okEnabled");
        QTest::newRow("numbers, nothing") << true << QString() << false;
        QTest::newRow("numbers, 12a") << true << QStringLiteral("12a") << false;
        QTest::newRow("numbers, 120") << true << QStringLiteral("120") << true;
        QTest::newRow("numbers, 007") << true << QStringLiteral("007") << true;
        QTest::newRow("numbers, +7") << true << QStringLiteral("+7") << false;
        QTest::newRow("numbers, Arabic-Indic digits")
            << true << QStringLiteral("\u0661\u0662") << false;
        QTest::newRow("text, nothing") << false << QString() << false;
        QTest::newRow("text, 12a") << false << QStringLiteral("12a") << true;
    }

    void typedTextDecidesOk() {
        QFETCH(bool, numbersOnly);
        QFETCH(QString, typed);
        QFETCH(bool, okEnabled);
        TInputForm form(QString(), 0);
        form.SetNumbersOnly(numbersOnly);
        QVERIFY(!Ok(form).isEnabled());
        Edit(form).insert(typed); // as typed: through the edit's change signal
        QCOMPARE(Ok(form).isEnabled(), okEnabled);
        // Taking the text away again can never be confirmed.
        Edit(form).clear();
        QVERIFY(!Ok(form).isEnabled());
    }

    void initialTextAndModeAreJudgedAtOnce() {
        TInputForm form(QString(), 0);
        form.SetText(QStringLiteral("12a"));
        QVERIFY(Ok(form).isEnabled());
        form.SetNumbersOnly(true);
        QVERIFY(!Ok(form).isEnabled());
        form.SetText(QStringLiteral("42"));
        QVERIFY(Ok(form).isEnabled());
        QCOMPARE(Edit(form).selectedText(), QStringLiteral("42"));
    }

    void returnConfirmsOnlyAnAnswerThatMayBeGiven() {
        TInputForm form(QString(), 0);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&Edit(form), Qt::Key_Return);
        QVERIFY(form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QTest::keyClicks(&Edit(form), QStringLiteral("incoming"));
        QTest::keyClick(&Edit(form), Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.Text(), QStringLiteral("incoming"));
    }

    void passwordIsMaskedButReadInFull() {
        TInputForm form(QString(), 0);
        form.Setup({.CaptionText = QStringLiteral("[Authenticate]"),
                    .Prompt = QStringLiteral("Password:"),
                    .PasswordMask = true});
        QTest::keyClicks(&Edit(form), QStringLiteral("s3cret"));
        const QString shown = Edit(form).displayText();
        QCOMPARE(shown.size(), 6);
        QVERIFY(!shown.contains(QLatin1Char('s')));
        QCOMPARE(shown.count(shown.front()), 6);
        QCOMPARE(form.Text(), QStringLiteral("s3cret"));

        // The anonymous login offers the e-mail address in the clear, ready to confirm.
        TInputForm anonymous(QString(), 0);
        anonymous.Setup({.Prompt = QStringLiteral("Password:"),
                         .InitialText = QStringLiteral("me@example.com")});
        QCOMPARE(Edit(anonymous).displayText(), QStringLiteral("me@example.com"));
        QVERIFY(Ok(anonymous).isEnabled());
    }

    void promptAccessKeyFocusesTheEdit() {
        TInputForm form(QString(), 0);
        form.SetPrompt(QStringLiteral("&Enter new line number:"));
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.SetText(QStringLiteral("3")); // a disabled OK could not take the focus
        Ok(form).setFocus();
        QVERIFY(Ok(form).hasFocus());
        QTest::keyClick(&form, Qt::Key_E, Qt::AltModifier);
        QVERIFY(Edit(form).hasFocus());
    }

    void askGivesTheTextOnOkAndNothingOnCancel() {
        const TInputRequest request{.ApplicationText = QStringLiteral("Remote Explorer"),
                                    .CaptionText = QStringLiteral("[New Folder]"),
                                    .Prompt = QStringLiteral("Folder Name:")};
        QString caption;
        WhenModal([&caption](TInputForm& form) {
            caption = form.findChild<TTitlePanel*>()->Text();
            QTest::keyClicks(&Edit(form), QStringLiteral("reports"));
            Ok(form).click();
        });
        QCOMPARE(TInputForm::Ask(request, QString(), 0), std::optional(QStringLiteral("reports")));
        QCOMPARE(caption, QStringLiteral("Pellucor's Remote Explorer [New Folder]"));

        WhenModal([](TInputForm& form) {
            QTest::keyClicks(&Edit(form), QStringLiteral("reports"));
            form.reject();
        });
        QCOMPARE(TInputForm::Ask(request, QString(), 0), std::nullopt);
    }
};

QTEST_MAIN(InputFormTest)
#include "InputFormTest.moc"
