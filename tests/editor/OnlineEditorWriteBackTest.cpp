// SPDX-License-Identifier: GPL-3.0-or-later
// The online editor writing pages back to real servers on loopback: the file on the server
// changes and the page is no longer modified; a rejected login leaves the page modified with
// the log of both login attempts; unchanged text gives back the very bytes that were
// downloaded (Latin-1, UTF-8 with a byte-order mark, no final line end in ASCII transfers as
// the remote explorer's Online Edit makes them; CR LF in a binary one, as both servers store
// an ASCII upload's CR LF as LF); a modified page at the program's end is asked about and
// written back.

#include "editor/gui/EditorLogPanel.h"
#include "editor/gui/EditorPage.h"
#include "editor/gui/OnlineEditorForm.h"
#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"

#include <QAction>
#include <QTest>

#include <filesystem>

using namespace qx;
using namespace qx::test;

namespace {

struct Rig {
    TempDir served;
    TempDir work;
    TConfigStore store{work.path() / "settings.conf"};
    TGlobalOptions options{store};
    QtUiThread ui;
    std::vector<std::string> sounds;
    std::vector<QString> errors;
    std::unique_ptr<TOnlineEditorForm> form;

    Rig() {
        options.Timeout = 10;
        form = std::make_unique<TOnlineEditorForm>(TOnlineEditorContext{
            ui, options, store, [this](const std::string& file) { sounds.push_back(file); }});
        form->FTPClient().ReloginDelay = 0;
        form->FTPClient().LoginRetry = 1;
        form->FTPClient().LowestPriority = false;
        form->Prompts().Error = [this](const QString&, const QString& text) {
            errors.push_back(text);
        };
    }
    ~Rig() {
        form->Prompts().ConfirmUpdate = [](const QString&) { return false; };
        form.reset();
    }

    // Downloads the remote file as the remote explorer does for Online Edit (an ASCII
    // transfer into a local file) and opens it.
    TEditorPage* Open(const std::string& port, const std::string& folder, const std::string& name,
                      const std::string& user = "user", const std::string& password = "secret",
                      const std::string& downloadUser = "user",
                      const std::string& downloadPassword = "secret",
                      TFTPTransferType type = TFTPTransferType::ftpTypeASCII) {
        const std::string local = work.file("download-" + name);
        {
            ClientHarness download(port);
            download.client->UserName = downloadUser;
            download.client->Password = downloadPassword;
            download.client->HostFileName = folder + name;
            download.client->LocalFileName = local;
            download.client->TransferType = type;
            if (download.run(&TThreadedFTPClient::Connect) != 0 ||
                download.run(&TThreadedFTPClient::DownloadFile) != 0) {
                for (const std::string& line : download.lines) {
                    qWarning("%s", line.c_str());
                }
                return nullptr;
            }
        }
        auto file = std::make_unique<TRemoteEditFile>();
        file->HostName = "127.0.0.1";
        file->Port = port;
        file->UserName = user;
        file->Password = password;
        file->HostDirName = folder;
        file->FileName = name;
        file->TransferType = type;
        file->PassiveMode = true;
        file->LocalFileName = local;
        form->OpenRemoteFile(std::move(file));
        return form->ActivePage();
    }

    // Writes the active page back and waits until the session has quit.
    bool Update() {
        form->FileUpdateActionExecute();
        return form->WriteBackRunning() &&
               QTest::qWaitFor([this] { return !form->WriteBackRunning(); }, 30000);
    }
};

} // namespace

class OnlineEditorWriteBackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (!PyFtpdServer::available()) {
            QSKIP("pyftpdlib is not installed");
        }
    }

    void aWriteBackChangesTheFileOnTheServer() {
        Rig rig;
        rig.served.write("www/page.html", "<p>old</p>\n");
        PyFtpdServer server(rig.served.path());
        TEditorPage* page = rig.Open(server.portText(), "/www/", "page.html");
        QVERIFY(page != nullptr);
        QCOMPARE(page->text(), QStringLiteral("<p>old</p>\n"));
        page->setSelection(0, 3, 0, 6);
        page->replaceSelectedText(QStringLiteral("new"));
        QVERIFY(page->isModified());
        rig.form->FileUpdateActionExecute();
        // One write-back at a time: Update and Close wait until its session has quit.
        QAction* update = rig.form->findChild<QAction*>(QStringLiteral("FileUpdateAction"));
        QAction* close = rig.form->findChild<QAction*>(QStringLiteral("FileCloseAction"));
        rig.form->Actions().UpdateAll();
        QVERIFY(!update->isEnabled() && !close->isEnabled());
        QVERIFY(!rig.form->FileCloseActionExecute());
        QVERIFY(QTest::qWaitFor([&] { return !rig.form->WriteBackRunning(); }, 30000));
        rig.form->Actions().UpdateAll();
        QVERIFY(update->isEnabled() && close->isEnabled());
        QVERIFY(rig.form->LastWriteBackSucceeded());
        QCOMPARE(readFile(rig.served.path() / "www/page.html"), std::string("<p>new</p>\n"));
        QVERIFY(!page->isModified());
        QCOMPARE(rig.sounds.back(), rig.options.TransferDoneWav);
        QVERIFY(!std::filesystem::exists(page->File().LocalFileName)); // removed after the upload
        QVERIFY(rig.form->LogPanel().LogText().contains(QLatin1String("STOR")));
        QVERIFY(!rig.form->LogPanel().LogText().contains(QLatin1String("secret")));

        // A second write-back starts with an empty log, and so on any number of times.
        page->append(QStringLiteral("<p>more</p>\n"));
        QVERIFY(rig.Update());
        QCOMPARE(readFile(rig.served.path() / "www/page.html"),
                 std::string("<p>new</p>\n<p>more</p>\n"));
        QCOMPARE(rig.form->LogPanel().LogText().count(QLatin1String("> USER")), 1);
        QVERIFY(rig.errors.empty());
    }

    void aRejectedLoginLeavesThePageModified() {
        Rig rig;
        rig.served.write("www/conf.txt", "a=1\n");
        PyFtpdServer server(rig.served.path());
        TEditorPage* page = rig.Open(server.portText(), "/www/", "conf.txt", "user", "wrong");
        QVERIFY(page != nullptr);
        page->append(QStringLiteral("b=2\n"));
        QVERIFY(rig.Update());
        QVERIFY(!rig.form->LastWriteBackSucceeded());
        QVERIFY(page->isModified());
        QCOMPARE(page->text(), QStringLiteral("a=1\nb=2\n"));
        QCOMPARE(readFile(rig.served.path() / "www/conf.txt"), std::string("a=1\n"));
        QCOMPARE(rig.sounds.back(), rig.options.ErrorWav);
        // The connect's attempt and then the upload's reconnection check.
        const QString log = rig.form->LogPanel().LogText();
        QVERIFY2(log.count(QLatin1String("> PASS")) >= 2, qPrintable(log));
        QVERIFY2(log.count(QLatin1String("< 530")) >= 2, qPrintable(log));
        rig.form->Actions().UpdateAll();
        QCOMPARE(rig.form->StatusText(1), QStringLiteral("Modified"));

        // Closing it and answering Yes keeps the page, as its text could not be written.
        rig.form->Prompts().ConfirmUpdate = [](const QString&) { return true; };
        QVERIFY(!rig.form->FileCloseActionExecute());
        QCOMPARE(rig.form->PageCount(), 1);
        QVERIFY(page->isModified());
        QVERIFY(!rig.errors.empty());
    }

    void unchangedTextComesBackByteForByte() {
        Rig rig;
        struct File {
            std::string name;
            std::string bytes;
            TFTPTransferType type;
        };
        const auto ascii = TFTPTransferType::ftpTypeASCII;
        const std::vector<File> files = {
            {"latin1.txt",
             "Gr\xFC\xDF"
             "e aus K\xF6ln\nna\xEFve caf\xE9\n",
             ascii},
            {"bom.html", "\xEF\xBB\xBF<p>\xE2\x82\xAC 5</p>\n<p>\xC3\xBC</p>\n", ascii},
            {"noend.sql", "select 1;\nselect 2;", ascii},
            {"dos.txt",
             "first\r\nsecond\r\n\xFC"
             "brig\r\nno end",
             TFTPTransferType::ftpTypeBinary},
            {"dos-bom.txt",
             "\xEF\xBB\xBF"
             "first\r\n\xE2\x82\xAC\r\n",
             TFTPTransferType::ftpTypeBinary},
        };
        for (const File& file : files) {
            rig.served.write("data/" + file.name, file.bytes);
        }
        PyFtpdServer server(rig.served.path());
        for (const auto& [name, bytes, type] : files) {
            TEditorPage* page = rig.Open(server.portText(), "/data/", name, "user", "secret",
                                         "user", "secret", type);
            QVERIFY2(page != nullptr, name.c_str());
            rig.served.write("data/" + name, "overwritten"); // the write-back must bring it back
            QVERIFY(rig.Update());
            QVERIFY2(rig.form->LastWriteBackSucceeded(), name.c_str());
            QCOMPARE(QByteArray::fromStdString(readFile(rig.served.path() / "data" / name)),
                     QByteArray::fromStdString(bytes));
        }
        // An edit changes only what was edited.
        rig.form->SetActivePage(0);
        TEditorPage* latin = rig.form->ActivePage();
        latin->setCursorPosition(1, 0);
        latin->insert(QStringLiteral("\u00e9t\u00e9 "));
        QVERIFY(rig.Update());
        QCOMPARE(readFile(rig.served.path() / "data/latin1.txt"),
                 std::string("Gr\xFC\xDF"
                             "e aus K\xF6ln\n\xE9t\xE9 na\xEFve caf\xE9\n"));
        // A new line in a CR LF file ends in CR LF.
        rig.form->SetActivePage(3);
        TEditorPage* dos = rig.form->ActivePage();
        dos->setCursorPosition(0, 5);
        dos->SendScintilla(QsciScintilla::SCI_NEWLINE);
        QVERIFY(rig.Update());
        QCOMPARE(QByteArray::fromStdString(readFile(rig.served.path() / "data/dos.txt")),
                 QByteArray("first\r\n\r\nsecond\r\n\xFC"
                            "brig\r\nno end"));
    }

    void aModifiedPageIsAskedAboutAtTheEnd() {
        Rig rig;
        rig.served.write("www/end.txt", "x\n");
        PyFtpdServer server(rig.served.path());
        TEditorPage* page = rig.Open(server.portText(), "/www/", "end.txt");
        QVERIFY(page != nullptr);
        page->append(QStringLiteral("y\n"));
        QStringList asked;
        rig.form->Prompts().ConfirmUpdate = [&](const QString& text) {
            asked << text;
            return true;
        };
        rig.form->Finish();
        QCOMPARE(asked,
                 QStringList{QStringLiteral("[127.0.0.1/www/end.txt] has been changed. Update?")});
        QCOMPARE(readFile(rig.served.path() / "www/end.txt"), std::string("x\ny\n"));
    }

    void aFailedWriteBackAtTheEndKeepsTheTextInALocalFile() {
        Rig rig;
        rig.served.write("www/keep.txt", "x\n");
        PyFtpdServer server(rig.served.path());
        TEditorPage* page = rig.Open(server.portText(), "/www/", "keep.txt", "user", "wrong");
        QVERIFY(page != nullptr);
        page->append(QStringLiteral("precious\n"));
        rig.form->Prompts().ConfirmUpdate = [](const QString&) { return true; };
        const std::string kept = rig.work.file("kept.txt");
        rig.form->Prompts().AskSaveFile = [&](const QString&) {
            return QString::fromStdString(kept);
        };
        rig.form->Finish();
        QCOMPARE(readFile(kept), std::string("x\nprecious\n"));
        QCOMPARE(rig.errors.size(), std::size_t{1});
    }

    void vsftpdTakesTheWriteBackToo() {
        if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
            QSKIP(reason.c_str());
        }
        Rig rig;
        VsftpdServer server(rig.served.path());
        const std::filesystem::path file = server.incoming() / "notes.txt";
        rig.served.write("incoming/notes.txt", "one\ntwo\n");
        VsftpdServer::giveToFtpUser(file);
        TEditorPage* page = rig.Open(server.portText(), "/incoming/", "notes.txt", "anonymous",
                                     "guest@", "anonymous", "guest@");
        QVERIFY(page != nullptr);
        page->append(QStringLiteral("three\n"));
        QVERIFY(rig.Update());
        QVERIFY(rig.form->LastWriteBackSucceeded());
        QCOMPARE(QByteArray::fromStdString(readFile(file)), QByteArray("one\ntwo\nthree\n"));
        QVERIFY(!page->isModified());
    }
};

QTEST_MAIN(OnlineEditorWriteBackTest)
#include "OnlineEditorWriteBackTest.moc"
