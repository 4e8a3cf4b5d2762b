// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/gui/OverwriteForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace qx {

class OverwriteFormTest : public QObject {
    Q_OBJECT

    static TOverwriteQuestion Question(bool canResume) {
        TOverwriteQuestion question;
        question.Target = "/home/me/report.pdf";
        question.TargetSize = 1000;
        question.TargetTime = 1'700'000'000;
        question.SourceSize = 5000;
        question.CanResume = canResume;
        question.FreeName = "/home/me/report (1).pdf";
        return question;
    }

    // Clicks the button of the dialog once it is shown, after the optional preparation.
    static TOverwriteAnswer Click(const TOverwriteQuestion& question, const char* button,
                                  const std::function<void(TOverwriteForm&)>& prepare = {}) {
        TOverwriteForm form(question, QString(), 0);
        QTimer::singleShot(0, &form, [&] {
            if (prepare) {
                prepare(form);
            }
            auto* target = form.findChild<QPushButton*>(QString::fromLatin1(button));
            QVERIFY(target != nullptr);
            QVERIFY(target->isEnabled());
            target->click();
        });
        form.exec();
        return form.Answer();
    }

private Q_SLOTS:
    void showsBothSidesAndProposesAFreeName() {
        TOverwriteForm form(Question(false), QString(), 0);
        const auto* there = form.findChild<QLabel*>(QStringLiteral("TargetSideLabel"));
        const auto* coming = form.findChild<QLabel*>(QStringLiteral("SourceSideLabel"));
        QVERIFY(there->text().startsWith(QStringLiteral("1000 Bytes, 2023-11-")) ||
                there->text().contains(QStringLiteral("2023-11-1")));
        QVERIFY(coming->text().endsWith(QStringLiteral(", date unknown")));
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("NewNameEdit"))->text(),
                 QStringLiteral("report (1).pdf"));
        QVERIFY(!form.findChild<QPushButton*>(QStringLiteral("ResumeButton"))->isEnabled());
        QVERIFY(form.findChild<QPushButton*>(QStringLiteral("SkipButton"))->isDefault());
    }

    void eachButtonGivesItsAnswer() {
        QCOMPARE(Click(Question(false), "OverwriteButton").Choice, TOverwriteChoice::Overwrite);
        QCOMPARE(Click(Question(false), "OverwriteIfNewerButton").Choice,
                 TOverwriteChoice::OverwriteIfNewer);
        QCOMPARE(Click(Question(true), "ResumeButton").Choice, TOverwriteChoice::Resume);
        QCOMPARE(Click(Question(false), "SkipButton").Choice, TOverwriteChoice::Skip);
        QCOMPARE(Click(Question(false), "CancelButton").Choice, TOverwriteChoice::Cancel);

        const TOverwriteAnswer renamed =
            Click(Question(false), "RenameButton", [](TOverwriteForm& form) {
                form.findChild<QLineEdit*>(QStringLiteral("NewNameEdit"))
                    ->setText(QStringLiteral("report-old.pdf"));
                form.findChild<QCheckBox*>(QStringLiteral("ApplyToAllCheckBox"))->setChecked(true);
            });
        QCOMPARE(renamed.Choice, TOverwriteChoice::Rename);
        QCOMPARE(renamed.NewName, std::string("report-old.pdf"));
        QVERIFY(renamed.ApplyToAll);
        QVERIFY(!Click(Question(false), "SkipButton").ApplyToAll);
    }

    void closingWithoutAButtonCancelsAndAnEmptyNameCannotRename() {
        TOverwriteForm form(Question(false), QString(), 0);
        QTimer::singleShot(0, &form, [&] {
            form.findChild<QLineEdit*>(QStringLiteral("NewNameEdit"))->clear();
            QVERIFY(!form.findChild<QPushButton*>(QStringLiteral("RenameButton"))->isEnabled());
            form.reject();
        });
        form.exec();
        QCOMPARE(form.Answer().Choice, TOverwriteChoice::Cancel);
    }
};

} // namespace qx

QTEST_MAIN(qx::OverwriteFormTest)
#include "OverwriteFormTest.moc"
