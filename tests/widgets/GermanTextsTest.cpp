// SPDX-License-Identifier: GPL-3.0-or-later
// The German translation as the windows load it: texts marked in one place and translated in
// another must meet in the same context, and a German menu keeps its access keys apart.
#include "engine/TlsCertificate.h"
#include "local/LocalExpSettings.h"
#include "local/LocalFileCopy.h"
#include "local/gui/LocalExpForm.h"
#include "platform/ConfigStore.h"
#include "queue/CarrierQueue.h"
#include "remote/RemoteExpList.h"
#include "remote/gui/SessionLogView.h"
#include "session/gui/CertificateForm.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "support/TempDir.h"
#include "widgets/CommandTable.h"
#include "widgets/CoreTexts.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QTranslator>

#include <openssl/x509.h>

#include <atomic>
#include <memory>

namespace qx {
namespace {

using test::TempDir;

QImage Shown(const QLabel& label) {
    return label.pixmap().toImage();
}

// The access key of a caption ("&&" is a plain ampersand), or a null char.
QChar AccessKey(const QString& caption) {
    for (qsizetype at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] == u'&') {
            if (caption[at + 1] != u'&') {
                return caption[at + 1].toLower();
            }
            ++at;
        }
    }
    return {};
}

} // namespace

class GermanTextsTest : public QObject {
    Q_OBJECT

private:
    QTranslator m_german;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_german.load(QStringLiteral(QX_GERMAN_QM)));
        QVERIFY(QCoreApplication::installTranslator(&m_german));
    }

    // The core hands over English; the window shows the marked texts in German and passes
    // anything else (a server's reply) through unchanged, UTF-8 and all.
    void coreTextsAndStatusLines() {
        const auto& columns = TCarrierQueue::Columns(TCarrierList::Queue);
        QCOMPARE(CoreText(columns.front()), QStringLiteral("Dateiname"));
        const std::string reply = "550 Datei fehlt: \xc3\xa4.txt";
        QCOMPARE(CoreText(reply), QString::fromUtf8(reply));
        QCOMPARE(CoreFormat(TCarrierQueue::kCaptionFormat),
                 std::string("[%1 Eintr\xc3\xa4ge in der Warteschlange]"));

        // The idle picture follows the status, not its translated text.
        QLabel text;
        QLabel picture;
        ShowSessionStatus("% Listing", text, picture);
        QCOMPARE(text.text(), QStringLiteral("Liste wird gelesen"));
        const QImage busy = Shown(picture);
        ShowSessionStatus("% Idle", text, picture);
        QCOMPARE(text.text(), QStringLiteral("Bereit"));
        QVERIFY(!Shown(picture).isNull());
        QVERIFY(Shown(picture) != busy);
    }

    // A message the core composes comes out German whole, the reason inside it too; so does
    // a certificate's reason, which the core takes from OpenSSL's result.
    void coreMessages() {
        TempDir dir;
        TConfigStore store{dir.path() / "settings.conf"};
        TGlobalOptions options{store};
        TSiteBookModel book{store, options, "alice"};
        book.Load();
        TSiteBookNode* work = book.CreateSite(book.Root(), "Work", nullptr).Node;
        QVERIFY(work != nullptr && book.CreateSite(book.Root(), "Home", nullptr).Node != nullptr);
        const TSiteBookMessage taken = book.Rename(*work, "HOME");
        QCOMPARE(CoreText(taken.Title),
                 QStringLiteral("Serverliste \u2013 Fehler beim Umbenennen"));
        QCOMPARE(CoreMessageText(taken.Text),
                 QStringLiteral("Der Name [HOME] ist bereits vergeben."));

        const std::string missing = (dir.path() / "gone.txt").string();
        TFileCopyJob job({{missing}, dir.path().string(), false}, {});
        const std::atomic<bool> abort{false};
        const TCopyResult copied = job.Run([](const TCopyProgress&) {}, abort);
        QCOMPARE(copied.Failures.size(), std::size_t(1));
        QCOMPARE(CoreMessageText(copied.Failures.front()),
                 QStringLiteral("[%1] kann nicht kopiert werden: es existiert nicht.")
                     .arg(QString::fromStdString(missing)));

        const std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), &X509_free);
        TCertificateQuestion question{
            "ftp.example.org", "21",
            DescribeCertificate(certificate.get(), X509_V_ERR_CERT_HAS_EXPIRED)};
        TCertificateForm form(question, {}, QString(), 9);
        const auto* reason = form.findChild<QLabel*>(QStringLiteral("ReasonLabel"));
        QVERIFY(reason != nullptr);
        QVERIFY2(reason->text().contains(QStringLiteral("das Zertifikat ist abgelaufen")),
                 qPrintable(reason->text()));
    }

    // The explorer's commands are translated in its own context, the folder-pair commands too,
    // and no German menu has an access key twice.
    void explorerMenus() {
        TempDir local;
        TempDir config;
        TConfigStore store{config.path() / "settings.conf"};
        TGlobalOptions options{store};
        TRemoteExpList explorers;
        TLocalExpSettings settings;
        settings.FolderPath = local.path().string();
        settings.SaveToStore(store, false);
        auto form = std::make_unique<TLocalExpForm>(
            TLocalExpContext{options, store, explorers, {}, nullptr});
        QCOMPARE(FindCommand(*form, "ToolSynchronizeAction")->text(),
                 QStringLiteral("&Synchronisieren..."));
        QCOMPARE(FindCommand(*form, "FileUploadAction")->text(), QStringLiteral("&Hochladen"));

        const auto* bar = form->menuWidget()->findChild<QMenuBar*>();
        QVERIFY(bar != nullptr);
        QStringList titles;
        for (QAction* menu : bar->actions()) {
            titles << menu->text();
            QSet<QChar> keys;
            for (QAction* item : menu->menu()->actions()) {
                const QChar key = AccessKey(item->text());
                if (!item->isSeparator() && !key.isNull()) {
                    QVERIFY2(!keys.contains(key), qPrintable(menu->text() + u' ' + item->text()));
                    keys.insert(key);
                }
            }
        }
        QCOMPARE(titles, QStringList({QStringLiteral("&Datei"), QStringLiteral("&Bearbeiten"),
                                      QStringLiteral("&Ansicht"), QStringLiteral("E&xtras")}));
    }
};

} // namespace qx

QTEST_MAIN(qx::GermanTextsTest)
#include "GermanTextsTest.moc"
