// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer window against a real pyftpdlib server on loopback: connecting from a
// site of the site book, the folder chain, the listing cache, sorting and filtering, closing
// with the write-back of the site, quick connects, failed logins and the log's line limit.

#include "remote/gui/RemoteExpForm.h"
#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"
#include "support/VirtualFtpTree.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

using namespace qx;
using namespace qx::test;

class RemoteExpFormTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        TempDir served;
        TempDir config;
        std::unique_ptr<PyFtpdServer> server;
        TConfigStore store{config.path() / "settings.conf"};
        TGlobalOptions options{store};
        TSiteBookModel book{store, options, "tester"};
        QtUiThread ui;
        TRemoteExpList explorers;
        std::vector<std::string> sounds;

        Rig() {
            served.write("home/user/readme.TXT", "hello");
            served.write("home/user/b.txt", "1234567890");
            served.write("home/user/z.bin", std::string(3000, 'z'));
            served.write("home/user/docs/inside.txt", "x");
            served.write("home/user/Alpha/inside.txt", "y");
            server = std::make_unique<PyFtpdServer>(served.path());
            book.Load();
        }
        TSiteProperties& Site(const std::string& initialFolder, const std::string& user = "user",
                              const std::string& password = "secret", std::uint16_t port = 0) {
            auto site = std::make_unique<TSiteProperties>(options);
            site->HostName = "127.0.0.1";
            site->Port = port != 0 ? port : server->port();
            site->UserName = user;
            site->Password = password;
            site->InitialFolder = initialFolder;
            site->LoginRetry = 1;
            site->ReloginDelay = 0;
            site->PassiveMode = true;
            TSiteBookCreateResult made = book.CreateSite(book.Root(), "Local", std::move(site));
            if (made.Node == nullptr) {
                throw std::runtime_error(made.Message.Text.Text());
            }
            return *made.Node->Properties();
        }
        // An anonymous site that is not stored, as the quick connect dialog makes it.
        std::unique_ptr<TSiteProperties> QuickSite() {
            auto site = std::make_unique<TSiteProperties>(options);
            site->HostName = "127.0.0.1";
            site->Port = server->port();
            site->UserName = "anonymous";
            site->Password = "guest@";
            site->LoginRetry = 1;
            site->QuickConnect = true;
            return site;
        }
        TRemoteExpContext Context() {
            TRemoteExpContext context{ui, options, store, explorers, nullptr, {}, {}, {}, {}};
            context.PlaySound = [this](const std::string& file) { sounds.push_back(file); };
            return context;
        }
    };

    static bool WaitIdle(TRemoteExpForm& form, int ms = 15000) {
        return QTest::qWaitFor(
            [&] { return form.Connected() && !form.FTPClient().Busy() && form.SelectedNode(); },
            ms);
    }
    static QStringList Names(const TRemoteExpForm& form) {
        QStringList names;
        for (std::size_t row = 0; row < form.FileList().Count(); ++row) {
            names << QString::fromStdString(form.FileList().At(row).Name);
        }
        return names;
    }

private Q_SLOTS:
    void initTestCase() {
        if (!PyFtpdServer::available()) {
            QSKIP("pyftpdlib is not installed");
        }
    }

    void connectsListsOnceAndWritesTheFolderBack() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        const std::string siteKey = TSiteBookModel::NodeKeyPath(*site.SiteNode);
        const std::string downloads = rig.served.path().string();
        rig.store.WriteString(siteKey, "DownloadtoFolderPath", downloads);
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        form->show();
        QCOMPARE(form->DownloadFolder(), downloads);
        QVERIFY(WaitIdle(*form));
        // The chain from the root to the current folder, and its listing.
        const TFolderNode* root = form->Tree().Root();
        QVERIFY(root != nullptr);
        QCOMPARE(root->Children.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(TFolderTree::GetNodePath(*form->SelectedNode())),
                 QStringLiteral("/home/user"));
        QCOMPARE(Names(*form), (QStringList{"Alpha", "docs", "b.txt", "readme.TXT", "z.bin"}));
        QVERIFY(form->SelectedNode()->Bold);
        QCOMPARE(form->FileStatusText(0).left(20), QStringLiteral("2 Folders, 3 Files, "));

        // Sorting: the same column twice puts files first in reverse order.
        form->ArrangeBy(1);
        QCOMPARE(Names(*form), (QStringList{"z.bin", "readme.TXT", "b.txt", "docs", "Alpha"}));
        form->ArrangeBy(1);
        // Filtering keeps every folder.
        form->SetFilter("*.txt");
        QCOMPARE(Names(*form), (QStringList{"Alpha", "docs", "b.txt", "readme.TXT"}));
        form->SetFilter("*.*");

        // A child folder is listed once; choosing it again shows it from the cache.
        TFolderNode* user = form->SelectedNode();
        std::size_t docs = 0;
        for (; docs < user->Children.size(); ++docs) {
            if (user->Children[docs]->Text == "docs") {
                break;
            }
        }
        QVERIFY(docs < user->Children.size());
        TFolderNode* docsNode = user->Children[docs].get();
        auto* tree = form->findChild<QTreeView*>(QStringLiteral("FolderTreeView"));
        QVERIFY(tree != nullptr);
        // No expander before the root: it stands at the left edge.
        QCOMPARE(tree->visualRect(tree->model()->index(0, 0)).left(), 0);
        tree->setCurrentIndex(
            tree->model()->index(static_cast<int>(docs), 0, tree->currentIndex()));
        QVERIFY(QTest::qWaitFor([&] { return docsNode->Listed() && !form->FTPClient().Busy(); },
                                10000));
        QVERIFY(QTest::qWaitFor([&] { return form->SelectedNode() == docsNode; }, 5000));
        QCOMPARE(Names(*form), QStringList{"inside.txt"});
        const TFTPListItems* cached = docsNode->ListItems.get();
        tree->setCurrentIndex(tree->currentIndex().parent());
        QCOMPARE(form->SelectedNode(), user); // from the cache: nothing to wait for
        QVERIFY(!form->FTPClient().Busy());
        tree->setCurrentIndex(
            tree->model()->index(static_cast<int>(docs), 0, tree->currentIndex()));
        QCOMPARE(form->SelectedNode(), docsNode);
        QVERIFY(!form->FTPClient().Busy());
        QCOMPARE(docsNode->ListItems.get(), cached);

        // The view style is kept with the site.
        QCOMPARE(form->ViewStyle(), int(TRemoteExpForm::vsList));
        form->SetViewStyle(TRemoteExpForm::vsIcon);

        // Closing ends the session and writes the folder shown last back into the site.
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
        QCOMPARE(QString::fromStdString(site.InitialFolder), QStringLiteral("/home/user/docs"));
        TSiteProperties reloaded(rig.options);
        reloaded.LoadFromStore(rig.store, TSiteBookModel::NodeKeyPath(*site.SiteNode));
        QCOMPARE(QString::fromStdString(reloaded.InitialFolder), QStringLiteral("/home/user/docs"));
        QVERIFY(rig.store.ReadNumber(TSiteBookModel::NodeKeyPath(*site.SiteNode), "SortColumn"));
        QCOMPARE(rig.store.ReadNumber(TSiteBookModel::NodeKeyPath(*site.SiteNode), "ViewStyle")
                     .value_or(-1),
                 0);
        QVERIFY(rig.store.ReadBinary(TSiteBookModel::NodeKeyPath(*site.SiteNode) + "\\Toolbar",
                                     "State"));
        QCOMPARE(rig.store.ReadString(siteKey, "DownloadtoFolderPath").value_or(""), downloads);
        QCOMPARE(rig.explorers.Count(), std::size_t{0});
        QVERIFY(std::find(rig.sounds.begin(), rig.sounds.end(), rig.options.LoggedinWav) !=
                rig.sounds.end());
    }

    void forgottenSiteIsNotWrittenBack() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        rig.store.WriteString(TSiteBookModel::NodeKeyPath(*site.SiteNode), "DownloadtoFolderPath",
                              (rig.served.path() / "missing").string());
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        QVERIFY(WaitIdle(*form));
        const std::string key = TSiteBookModel::NodeKeyPath(*site.SiteNode);
        // A stored download folder that does not exist gives the current folder.
        QCOMPARE(form->DownloadFolder(), std::filesystem::current_path().string());
        form->ForgetSite(site); // the site book deleted it
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
        QCOMPARE(QString::fromStdString(site.InitialFolder), QStringLiteral("home/user"));
        QVERIFY(!rig.store.ReadNumber(key, "SortColumn").has_value());
    }

    void quickConnectWritesNothing() {
        Rig rig;
        auto site = rig.QuickSite();
        const std::string before = readFile(rig.config.path() / "settings.conf");
        auto* form = new TRemoteExpForm(rig.Context(), site.release());
        QPointer<TRemoteExpForm> guard(form);
        QVERIFY(WaitIdle(*form));
        QCOMPARE(QString::fromStdString(TFolderTree::GetNodePath(*form->SelectedNode())),
                 QStringLiteral("/"));
        QVERIFY(form->Tree().Root()->Listed());
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
        QCOMPARE(readFile(rig.config.path() / "settings.conf"), before);
    }

    void failedLoginClosesAfterTheErrorSound() {
        Rig rig;
        TSiteProperties& site = rig.Site("", "user", "wrong");
        // The window says why before it goes.
        QTimer dismiss;
        dismiss.setInterval(20);
        connect(&dismiss, &QTimer::timeout, this, [&dismiss] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                dismiss.stop();
                box->accept();
            }
        });
        dismiss.start();
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 20000));
        QVERIFY(!dismiss.isActive());
        QVERIFY(!rig.sounds.empty());
        QCOMPARE(QString::fromStdString(rig.sounds.back()),
                 QString::fromStdString(rig.options.ErrorWav));
        QCOMPARE(rig.explorers.Count(), std::size_t{0});
    }

    void missingPasswordIsAskedFor() {
        Rig rig;
        TSiteProperties& site = rig.Site("", "user", "");
        // Answers the authentication question as soon as it shows.
        QString prompt;
        bool masked = false;
        QTimer answer;
        answer.setInterval(50);
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* edit = dialog != nullptr
                             ? dialog->findChild<QLineEdit*>(QStringLiteral("InputEdit"))
                             : nullptr;
            if (edit == nullptr) {
                return;
            }
            answer.stop();
            auto* label = dialog->findChild<QLabel*>(QStringLiteral("PromptLabel"));
            prompt = label != nullptr ? label->text() : QString();
            masked = edit->echoMode() == QLineEdit::Password;
            edit->setText(QStringLiteral("secret"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        answer.start();
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        QVERIFY(WaitIdle(*form));
        QCOMPARE(prompt, QStringLiteral("Password:"));
        QVERIFY(masked);
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
    }

    // The folder tree refuses another folder and the folder combo reverts while a listing runs;
    // closing then aborts the listing, whose failure plays the error sound and leaves the
    // folder shown before, and the window goes.
    void closingDuringAListingAbortsIt() {
        Rig rig;
        std::atomic<bool> release{false};
        VirtualFtpTree tree;
        tree.listing = [](const std::string& folder) -> std::optional<std::string> {
            if (folder == "/") {
                return "drwxr-xr-x 2 u g 4096 Jan 01 2026 fast\r\n"
                       "drwxr-xr-x 2 u g 4096 Jan 01 2026 slow\r\n"
                       "-rw-r--r-- 1 u g 5 Jan 01 2026 top.txt\r\n";
            }
            if (folder == "/fast" || folder == "/slow") {
                return std::string("-rw-r--r-- 1 u g 5 Jan 01 2026 inner.txt\r\n");
            }
            return std::nullopt;
        };
        tree.file = [](const std::string&) { return std::nullopt; };
        tree.beforeListing = [&release](const std::string& folder) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
            while (folder == "/slow" && !release && std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        };
        ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); },
                                 std::chrono::seconds(20));
        TSiteProperties& site = rig.Site("", "user", "secret", server.port());
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        form->show();
        QVERIFY(WaitIdle(*form));
        // A current folder of "/" gives the root alone, listed at once.
        TFolderNode* root = form->SelectedNode();
        QCOMPARE(root, form->Tree().Root());
        QVERIFY(root->Listed() && root->Bold);
        QCOMPARE(root->Children.size(), std::size_t{2});
        auto* view = form->findChild<QTreeView*>(QStringLiteral("FolderTreeView"));
        auto* combo = form->findChild<QComboBox*>(QStringLiteral("FolderCombo"));
        QVERIFY(view != nullptr && combo != nullptr);
        const QModelIndex rootIndex = view->currentIndex();

        view->setCurrentIndex(view->model()->index(1, 0, rootIndex)); // "slow"
        QVERIFY(QTest::qWaitFor([&] { return form->FTPClient().Busy(); }, 5000));
        view->setCurrentIndex(view->model()->index(0, 0, rootIndex)); // "fast", refused
        QCOMPARE(view->currentIndex(), rootIndex);
        QVERIFY(!root->Children[0]->ListItems);
        QCOMPARE(combo->count(), 1);
        Q_EMIT combo->activated(0); // reverts while busy
        QCOMPARE(combo->currentIndex(), 0);

        const std::size_t soundsBefore = rig.sounds.size();
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
        release = true;
        QVERIFY(rig.sounds.size() > soundsBefore);
        QCOMPARE(QString::fromStdString(rig.sounds.back()),
                 QString::fromStdString(rig.options.ErrorWav));
        // The folder written back is the one shown before the listing.
        QCOMPARE(QString::fromStdString(site.InitialFolder), QStringLiteral("/"));
        QCOMPARE(rig.explorers.Count(), std::size_t{0});
    }

    // A folder chosen while the first listing still runs is refused without losing the
    // selection, so that closing writes the folder back.
    void refusedChangeDuringTheFirstListingKeepsTheFolder() {
        Rig rig;
        std::atomic<bool> release{false};
        VirtualFtpTree tree;
        tree.listing = [](const std::string& folder) -> std::optional<std::string> {
            if (folder == "/" || folder == "/a") {
                return std::string("drwxr-xr-x 2 u g 4096 Jan 01 2026 ") +
                       (folder == "/" ? "a" : "b") + "\r\n";
            }
            if (folder == "/a/b") {
                return std::string("-rw-r--r-- 1 u g 5 Jan 01 2026 inner.txt\r\n");
            }
            return std::nullopt;
        };
        tree.file = [](const std::string&) { return std::nullopt; };
        tree.beforeListing = [&release](const std::string& folder) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
            while (folder == "/a/b" && !release && std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        };
        ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); },
                                 std::chrono::seconds(20));
        TSiteProperties& site = rig.Site("/a/b", "user", "secret", server.port());
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        form->show();
        QVERIFY(QTest::qWaitFor([&] { return form->SelectedNode() != nullptr; }, 10000));
        TFolderNode* b = form->SelectedNode();
        QCOMPARE(QString::fromStdString(TFolderTree::GetNodePath(*b)), QStringLiteral("/a/b"));
        QVERIFY(form->FTPClient().Busy());
        auto* view = form->findChild<QTreeView*>(QStringLiteral("FolderTreeView"));
        view->setCurrentIndex(view->currentIndex().parent()); // "a": refused
        QCOMPARE(form->SelectedNode(), b);
        release = true;
        QVERIFY(WaitIdle(*form));
        QCOMPARE(form->FileList().Count(), std::size_t{1});
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
        QCOMPARE(QString::fromStdString(site.InitialFolder), QStringLiteral("/a/b"));
    }

    // Closing before the server has even greeted ends the session at once: nothing is listed,
    // no login sound plays, and the site keeps its folder since the tree stayed empty.
    void closingWhileConnectingListsNothing() {
        Rig rig;
        std::atomic<bool> greet{false};
        ScriptedFtpServer server(
            [&greet](ScriptedSession& s) {
                const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (!greet && std::chrono::steady_clock::now() < until) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                s.greetAndLogin("user");
            },
            std::chrono::seconds(3));
        TSiteProperties& site = rig.Site("home/user", "user", "secret", server.port());
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        QPointer<TRemoteExpForm> guard(form);
        form->show();
        QVERIFY(QTest::qWaitFor([&] { return form->FTPClient().Busy(); }, 5000));
        form->close();
        QVERIFY(guard); // waits for its worker
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
        greet = true;
        QCOMPARE(QString::fromStdString(site.InitialFolder), QStringLiteral("home/user"));
        QVERIFY(std::find(rig.sounds.begin(), rig.sounds.end(), rig.options.LoggedinWav) ==
                rig.sounds.end());
        QCOMPARE(rig.explorers.Count(), std::size_t{0});
    }

    void logStartsAfreshBeforeFiveHundredLines() {
        Rig rig;
        auto site = rig.QuickSite();
        auto* form = new TRemoteExpForm(rig.Context(), site.release());
        QPointer<TRemoteExpForm> guard(form);
        QVERIFY(WaitIdle(*form));
        for (int line = 0; line < 1200; ++line) {
            form->AddLogLine(QStringLiteral("~ line %1").arg(line), Qt::gray);
            QVERIFY(form->LogLineCount() < 500);
        }
        // 1200 lines after the session's own: the log was emptied when a line reached 500.
        QVERIFY(form->LogLineCount() > 0);

        // Lines that arrive together are written together, with the same result as one by one:
        // only those after the last emptying stay.
        int expected = form->LogLineCount();
        int firstKept = -1;
        for (int line = 0; line < 1200; ++line) {
            if (expected + 1 >= 500) {
                expected = 0;
                firstKept = line;
            }
            ++expected;
            form->AddLogLine(QStringLiteral("~ burst %1").arg(line), Qt::gray);
        }
        QCOMPARE(form->LogLineCount(), expected);
        const QString text =
            form->findChild<QPlainTextEdit*>(QStringLiteral("LogRichEdit"))->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("~ burst %1\n").arg(firstKept)));
        QVERIFY(text.endsWith(QStringLiteral("~ burst 1199")));
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
    }
};

QTEST_MAIN(RemoteExpFormTest)
#include "RemoteExpFormTest.moc"
