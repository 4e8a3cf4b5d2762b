// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows together: the site book's Connect and an address open remote explorers
// with tabs in the main window, and closing the main window closes every explorer, each
// writing its site back before the program ends.

#include "app/ProgramWindows.h"
#include "platform/ConfigStore.h"
#include "queue/gui/CarrierForm.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/gui/SiteBookForm.h"
#include "settings/gui/SiteBookTreeModel.h"
#include "settings/gui/SiteBookTreeView.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace qx;
using namespace qx::test;

class ProgramWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void siteBookConnectsAndClosingTheMainWindowClosesEveryExplorer() {
        if (!PyFtpdServer::available()) {
            QSKIP("pyftpdlib is not installed");
        }
        TempDir served;
        served.write("pub/a.txt", "a");
        served.write("home/b.txt", "b");
        PyFtpdServer server(served.path());
        TempDir config;
        TConfigStore store(config.path() / "settings.conf");
        TGlobalOptions options(store);
        TRemoteExpList explorers;
        TProgramWindows windows(store, options, explorers);

        TSiteBookForm& book = windows.SiteBook();
        std::vector<TSiteProperties*> sites;
        for (const char* folder : {"pub", "home", "/"}) {
            auto site = std::make_unique<TSiteProperties>(options);
            site->HostName = "127.0.0.1";
            site->Port = server.port();
            site->UserName = "anonymous";
            site->Password = "guest@";
            site->InitialFolder = folder;
            site->LoginRetry = 1;
            TSiteBookCreateResult made = book.TreeModel().CreateSite(
                book.Book().Root(), std::string("Site ") + (folder[0] == '/' ? "root" : folder),
                std::move(site));
            QVERIFY(made.Node != nullptr);
            sites.push_back(made.Node->Properties());
            book.Tree().setCurrentIndex(book.TreeModel().IndexOf(made.Node));
            QVERIFY(TActionList::Run(book.Actions().Connect));
        }
        // An address opens a quick-connect explorer at its folder, which the site book does not
        // hold; a bad one is reported and opens nothing.
        TRemoteExpForm* quick =
            windows.OpenAddress(QStringLiteral("ftp://127.0.0.1:%1/home").arg(server.port()));
        QVERIFY(quick != nullptr);
        QStringList reported;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&reported] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                reported << box->text();
                box->accept();
            }
        });
        closer.start(20);
        QCOMPARE(windows.OpenAddress(QStringLiteral("ftp://127.0.0.1:") +
                                     QString::number(server.port()) +
                                     QStringLiteral("/a%0D%0AQUIT")),
                 nullptr);
        closer.stop();
        QCOMPARE(reported.size(), 1);
        QVERIFY2(reported[0].contains(QLatin1String("CR, LF or NUL")), qPrintable(reported[0]));
        QCOMPARE(book.Book().Root().Children().size(), std::size_t{3});

        QCOMPARE(explorers.Count(), std::size_t{4});
        QCOMPARE(windows.Main().RemoteExpTabCount(), 4);
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (std::size_t i = 0; i < explorers.Count(); ++i) {
                    auto* explorer = dynamic_cast<TRemoteExpForm*>(explorers.Items(i));
                    if (!explorer->Connected() || explorer->FTPClient().Busy() ||
                        explorer->SelectedNode() == nullptr) {
                        return false;
                    }
                }
                return true;
            },
            20000));
        QCOMPARE(QString::fromStdString(TFolderTree::GetNodePath(*quick->SelectedNode())),
                 QStringLiteral("/home"));

        // New options reach every window at once.
        options.FontSize = 13;
        windows.Main().ApplyAppearance();
        QCOMPARE(windows.Main().font().pointSize(), 13);
        QCOMPARE(windows.SiteBook().font().pointSize(), 13);
        QCOMPARE(windows.Carrier().font().pointSize(), 13);
        for (std::size_t i = 0; i < explorers.Count(); ++i) {
            QCOMPARE(dynamic_cast<TRemoteExpForm*>(explorers.Items(i))->font().pointSize(), 13);
        }

        QSignalSpy closed(&windows.Main(), &TMainForm::Closed);
        windows.Main().close();      // returns once every explorer has gone
        QCOMPARE(closed.count(), 1); // the program ends then
        QCOMPARE(explorers.Count(), std::size_t{0});
        QCOMPARE(windows.Main().RemoteExpTabCount(), 0);
        QCOMPARE(QString::fromStdString(sites[0]->InitialFolder), QStringLiteral("/pub"));
        QCOMPARE(QString::fromStdString(sites[1]->InitialFolder), QStringLiteral("/home"));
        QCOMPARE(QString::fromStdString(sites[2]->InitialFolder), QStringLiteral("/"));
        windows.Finish();
    }
};

QTEST_MAIN(ProgramWindowsTest)
#include "ProgramWindowsTest.moc"
