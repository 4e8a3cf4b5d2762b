// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the program's texts: which catalogue the user's languages choose, and the
// German catalogue of the build with Qt's own, installed and taken away again, its table texts
// found where the window shows them.

#include "app/ProgramTranslations.h"
#include "session/gui/SshQuestionForm.h"

#include <QCoreApplication>
#include <QTest>

using namespace qx;

class ProgramTranslationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theFirstLanguageWithACatalogueIsChosenAndEnglishNeedsNone() {
        const QStringList available = {QStringLiteral("de"), QStringLiteral("pt_BR")};
        // A region falls back to its language; languages without a catalogue are passed over.
        QCOMPARE(ChooseTranslation({"de-AT", "en"}, available), QStringLiteral("de"));
        QCOMPARE(ChooseTranslation({"fr-FR", "fr", "de-CH"}, available), QStringLiteral("de"));
        QCOMPARE(ChooseTranslation({"pt-BR"}, available), QStringLiteral("pt_BR"));
        // English first is the sources' language: a later German must not win over it.
        QCOMPARE(ChooseTranslation({"en-US", "de-DE"}, available), QString());
        QCOMPARE(ChooseTranslation({"C"}, available), QString());
        QCOMPARE(ChooseTranslation({"pt-PT", "ja"}, available), QString());
    }

    void theGermanCatalogueTranslatesTheProgramAndQtUntilItGoes() {
        const QStringList folders = {QStringLiteral(QX_TRANSLATIONS_DIR)};
        const QString file = QCoreApplication::translate("qx::TMainForm", "&File");
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        {
            const TProgramTranslations german({QStringLiteral("de-DE")}, folders);
            QCOMPARE(german.Language(), QStringLiteral("de"));
            QCOMPARE(QCoreApplication::translate("qx::TMainForm", "&File"),
                     QStringLiteral("&Datei"));
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                     QStringLiteral("Abbrechen"));
            // A text of a table is found in the context of the window that shows it.
            sftp::TSshQuestion question;
            question.Kind = sftp::TSshQuestion::TKind::Password;
            const TSshQuestionForm form(question, {}, 0, nullptr);
            QCOMPARE(form.windowTitle(), QStringLiteral("SSH-Passwort"));
            const TProgramTranslations english({QStringLiteral("en-GB")}, folders);
            QVERIFY(english.Language().isEmpty());
        }
        QCOMPARE(QCoreApplication::translate("qx::TMainForm", "&File"), file);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    }
};

QTEST_MAIN(ProgramTranslationsTest)
#include "ProgramTranslationsTest.moc"
