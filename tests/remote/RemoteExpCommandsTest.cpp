// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's commands against real servers on loopback, run as the menus run them
// (through their actions and their rules), with the dialogs answered as a user would: the
// effect on the server's disk, what the completions change in the tree, the listing and the
// list, and the queue items that downloads in the queue, Paste and drops make.

#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "support/RealFtpServers.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "support/VirtualFtpTree.h"
#include "widgets/ActionList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

namespace {

// Answers the next modal dialog as soon as it shows; the handler returns true when it has.
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<bool(QWidget&)> handler) : m_handler(std::move(handler)) {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && m_handler(*modal)) {
                m_timer.stop();
                answered = true;
            }
        });
        m_timer.start();
    }
    bool answered = false;

private:
    std::function<bool(QWidget&)> m_handler;
    QTimer m_timer;
};

// Presses a button of a message box, noting its text.
std::function<bool(QWidget&)> PressInBox(QMessageBox::StandardButton which, QString* text) {
    return [which, text](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box == nullptr || box->button(which) == nullptr) {
            return false;
        }
        if (text != nullptr) {
            *text = box->text();
        }
        box->button(which)->click();
        return true;
    };
}

// Types the answer into the input dialog and confirms it.
std::function<bool(QWidget&)> TypeIntoInput(const QString& answer) {
    return [answer](QWidget& modal) {
        auto* edit = modal.findChild<QLineEdit*>(QStringLiteral("InputEdit"));
        if (edit == nullptr) {
            return false;
        }
        edit->setText(answer);
        QMetaObject::invokeMethod(&modal, "accept");
        return true;
    };
}

} // namespace

class RemoteExpCommandsTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        TempDir served;
        TempDir config;
        TempDir local;
        std::unique_ptr<PyFtpdServer> server;
        TConfigStore store{config.path() / "settings.conf"};
        TGlobalOptions options{store};
        TSiteBookModel book{store, options, "tester"};
        QtUiThread ui;
        TRemoteExpList explorers;
        std::vector<std::string> sounds;
        std::vector<std::unique_ptr<TFTPCarryItem>> queued;
        std::unique_ptr<TRemoteEditFile> edited;
        std::optional<std::string> localFolder;

        Rig() {
            served.write("home/user/readme.TXT", "hello");
            served.write("home/user/b.txt", "1234567890");
            served.write("home/user/z.bin", std::string(300000, 'z'));
            served.write("home/user/docs/inside.txt", "x");
            served.write("home/user/docs/deeper/more.txt", "more");
            served.write("home/user/Alpha/inside.txt", "y");
            server = std::make_unique<PyFtpdServer>(served.path());
            book.Load();
            options.TempDownloadFolder = (local.path() / "temp").string() + "/";
            localFolder = local.path().string();
        }
        fs::path Served(const std::string& path) const { return served.path() / path; }
        TSiteProperties& Site(const std::string& initialFolder, const std::string& name = "Local") {
            auto site = std::make_unique<TSiteProperties>(options);
            site->HostName = "127.0.0.1";
            site->Port = server->port();
            site->UserName = "user";
            site->Password = "secret";
            site->InitialFolder = initialFolder;
            site->LoginRetry = 1;
            site->ReloginDelay = 0;
            site->PassiveMode = true;
            TSiteBookCreateResult made = book.CreateSite(book.Root(), name, std::move(site));
            if (made.Node == nullptr) {
                throw std::runtime_error(made.Message.Text.Text());
            }
            return *made.Node->Properties();
        }
        TRemoteExpContext Context() {
            TRemoteExpContext context{ui, options, store, explorers, nullptr, {}, {}, {}, {}};
            context.PlaySound = [this](const std::string& file) { sounds.push_back(file); };
            context.LocalFolder = [this] { return localFolder; };
            context.QueueItems = [this](std::vector<std::unique_ptr<TFTPCarryItem>> items) {
                for (auto& item : items) {
                    queued.push_back(std::move(item));
                }
            };
            context.OpenInEditor = [this](std::unique_ptr<TRemoteEditFile> file) {
                edited = std::move(file);
            };
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
    static QStringList Children(const TFolderNode& node) {
        QStringList names;
        for (const auto& child : node.Children) {
            names << QString::fromStdString(child->Text);
        }
        return names;
    }
    static const TFTPListItem* Entry(const TRemoteExpForm& form, const std::string& name) {
        for (std::size_t row = 0; row < form.FileList().Count(); ++row) {
            if (form.FileList().At(row).Name == name) {
                return &form.FileList().At(row);
            }
        }
        return nullptr;
    }
    static void SelectInList(TRemoteExpForm& form, const std::vector<std::string>& names) {
        std::vector<const TFTPListItem*> entries;
        for (const std::string& name : names) {
            entries.push_back(Entry(form, name));
        }
        form.ActivatePane(false);
        form.SelectEntries(entries);
    }
    // Runs a command as its menu item does: only when its rule lets it.
    static bool Run(TRemoteExpForm& form, const char* action) {
        auto* found = form.findChild<QAction*>(QString::fromLatin1(action));
        return found != nullptr && TActionList::Run(found);
    }
    static bool WaitDone(TRemoteExpForm& form) {
        return QTest::qWaitFor([&] { return !form.FTPClient().Busy(); }, 15000);
    }
    static void Close(TRemoteExpForm* form) {
        QPointer<TRemoteExpForm> guard(form);
        form->close();
        QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 15000));
    }

private Q_SLOTS:
    void initTestCase() {
        if (!PyFtpdServer::available()) {
            QSKIP("pyftpdlib is not installed");
        }
    }

    // Delete from the list and from the tree's pop-up target, New Folder, Rename in both panes.
    void deleteMakeAndRenameChangeServerAndViews() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        form->show();
        QVERIFY(WaitIdle(*form));
        TFolderNode* user = form->SelectedNode();
        QCOMPARE(Children(*user), (QStringList{"Alpha", "docs"}));

        // Two files and a folder with a subtree, after the confirmation.
        SelectInList(*form, {"b.txt", "docs", "z.bin"});
        QString asked;
        {
            ModalAnswer yes(PressInBox(QMessageBox::Yes, &asked));
            QVERIFY(Run(*form, "FileDeleteAction"));
            QVERIFY(WaitDone(*form));
        }
        QCOMPARE(asked, QStringLiteral("Are you sure to delete 3 selected items?"));
        QVERIFY(!fs::exists(rig.Served("home/user/b.txt")));
        QVERIFY(!fs::exists(rig.Served("home/user/docs")));
        QVERIFY(!fs::exists(rig.Served("home/user/z.bin")));
        QCOMPARE(Names(*form), (QStringList{"Alpha", "readme.TXT"}));
        QCOMPARE(Children(*user), QStringList{"Alpha"});
        QCOMPARE(user->ListItems->Count(), std::size_t{2});
        QVERIFY(form->FileStatusText(0).startsWith(QStringLiteral("1 Folders, 1 Files")));

        // New Folder from the list: the disk, the listing, the tree, the list's selection.
        SelectInList(*form, {});
        {
            ModalAnswer name(TypeIntoInput(QStringLiteral("made")));
            QVERIFY(Run(*form, "FileNewFolderAction"));
            QVERIFY(WaitDone(*form));
        }
        QVERIFY(fs::is_directory(rig.Served("home/user/made")));
        QCOMPARE(Children(*user), (QStringList{"Alpha", "made"}));
        QCOMPARE(form->SelectedEntries().size(), std::size_t{1});
        QCOMPARE(form->SelectedEntries().front()->Name, std::string("made"));
        QCOMPARE(form->SelectedEntries().front()->Permission, std::string("?"));

        // Renaming a folder in the list renames its node; a file leaves the tree alone.
        form->RenameEntry(*form->SelectedEntries().front(), "made2");
        QVERIFY(WaitDone(*form));
        QVERIFY(fs::is_directory(rig.Served("home/user/made2")));
        QCOMPARE(Children(*user), (QStringList{"Alpha", "made2"}));
        form->RenameEntry(const_cast<TFTPListItem&>(*Entry(*form, "readme.TXT")), "read.me");
        QVERIFY(WaitDone(*form));
        QCOMPARE(readFile(rig.Served("home/user/read.me")), std::string("hello"));
        QVERIFY(Entry(*form, "read.me") != nullptr);
        QCOMPARE(Children(*user), (QStringList{"Alpha", "made2"}));
        // A name that would move the file elsewhere is refused before anything is sent.
        {
            QString refused;
            ModalAnswer ok(PressInBox(QMessageBox::Ok, &refused));
            form->RenameEntry(const_cast<TFTPListItem&>(*Entry(*form, "read.me")), "../out");
            QVERIFY(QTest::qWaitFor([&] { return ok.answered; }, 5000));
            QVERIFY(refused.contains(QStringLiteral("../out")));
        }
        QVERIFY(fs::exists(rig.Served("home/user/read.me")));

        // The tree's target: a folder that is not the selected one, from its pop-up menu.
        TFolderNode* alpha = TFolderTree::FindChildNode(*user, "Alpha");
        form->RenameNode(*alpha, "Beta");
        QVERIFY(WaitDone(*form));
        QVERIFY(fs::is_directory(rig.Served("home/user/Beta")));
        QCOMPARE(QString::fromStdString(alpha->Text), QStringLiteral("Beta"));
        QVERIFY(Entry(*form, "Beta") != nullptr);
        form->ActivatePane(true);
        form->SetTreeMark(alpha);
        asked.clear();
        {
            ModalAnswer yes(PressInBox(QMessageBox::Yes, &asked));
            QVERIFY(Run(*form, "FileDeleteAction"));
            QVERIFY(WaitDone(*form));
        }
        QCOMPARE(asked, QStringLiteral("Are you sure to delete the folder [Beta]?"));
        QVERIFY(!fs::exists(rig.Served("home/user/Beta")));
        QCOMPARE(Children(*user), QStringList{"made2"});
        QCOMPARE(form->SelectedNode(), user);
        QCOMPARE(Names(*form), (QStringList{"read.me", "made2"})); // renames do not re-sort
        QVERIFY(std::find(rig.sounds.begin(), rig.sounds.end(), rig.options.ErrorWav) ==
                rig.sounds.end());
        Close(form);
    }

    // Change Permission stores what the server changed; a refresh follows the server's disk
    // and a refresh that fails keeps the cache.
    void permissionsAndRefresh() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        rig.served.write("home/user/keep/inside.txt", "x");
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        form->show();
        QVERIFY(WaitIdle(*form));
        TFolderNode* user = form->SelectedNode();

        // Change Permission to 755 on a file and a folder, through the dialog's boxes.
        SelectInList(*form, {"docs", "readme.TXT"});
        {
            ModalAnswer dialog([](QWidget& modal) {
                auto* owner = modal.findChild<QSpinBox*>(QStringLiteral("YNUpDown"));
                auto* group = modal.findChild<QSpinBox*>(QStringLiteral("GNUpDown"));
                auto* other = modal.findChild<QSpinBox*>(QStringLiteral("ONUpDown"));
                if (owner == nullptr || group == nullptr || other == nullptr) {
                    return false;
                }
                owner->setValue(7);
                group->setValue(5);
                modal.findChild<QCheckBox*>(QStringLiteral("ORCheckBox"))->setChecked(true);
                modal.findChild<QCheckBox*>(QStringLiteral("OXCheckBox"))->setChecked(true);
                QMetaObject::invokeMethod(&modal, "accept");
                return true;
            });
            QVERIFY(Run(*form, "FileChangePermAction"));
            QVERIFY(WaitDone(*form));
        }
        struct stat info {};
        QCOMPARE(::stat(rig.Served("home/user/readme.TXT").c_str(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t{0755});
        QCOMPARE(Entry(*form, "readme.TXT")->Permission, std::string("-rwxr-xr-x"));
        QCOMPARE(Entry(*form, "docs")->Permission, std::string("drwxr-xr-x"));

        // Refresh: a folder gone from the server leaves the tree, a new one joins it.
        fs::remove_all(rig.Served("home/user/Alpha"));
        fs::create_directories(rig.Served("home/user/fresh"));
        QVERIFY(Run(*form, "ViewRefreshAction"));
        QVERIFY(WaitDone(*form));
        QCOMPARE(Children(*user), (QStringList{"docs", "fresh", "keep"}));
        QVERIFY(Entry(*form, "Alpha") == nullptr);
        QVERIFY(Names(*form).contains(QStringLiteral("fresh")));

        // The shown folder vanishes: its refresh fails and the cache stays.
        TFolderNode* docs = TFolderTree::FindChildNode(*user, "docs");
        QVERIFY(form->SelectFolder(*docs));
        QVERIFY(WaitDone(*form));
        QCOMPARE(form->SelectedNode(), docs);
        const TFTPListItems* cached = docs->ListItems.get();
        fs::remove_all(rig.Served("home/user/docs"));
        const std::size_t sounds = rig.sounds.size();
        QVERIFY(Run(*form, "ViewRefreshAction"));
        QVERIFY(WaitDone(*form));
        QCOMPARE(docs->ListItems.get(), cached);
        QCOMPARE(Names(*form), (QStringList{"deeper", "inside.txt"}));
        QVERIFY(rig.sounds.size() > sounds);
        QCOMPARE(rig.sounds.back(), rig.options.ErrorWav);
        Close(form);
    }

    // Change Folder to a name that is not there keeps the new node and shows the folder
    // before; an existing child is selected without anything new. Filtering lists from the
    // cache.
    void changeFolderAndFiltering() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        form->show();
        QVERIFY(WaitIdle(*form));
        TFolderNode* user = form->SelectedNode();
        {
            ModalAnswer name(TypeIntoInput(QStringLiteral("nowhere")));
            QVERIFY(Run(*form, "FileChangeFolderAction"));
            QVERIFY(QTest::qWaitFor([&] { return name.answered; }, 5000));
            QVERIFY(WaitDone(*form));
        }
        QCOMPARE(form->SelectedNode(), user);
        QCOMPARE(Children(*user), (QStringList{"Alpha", "docs", "nowhere"}));
        {
            ModalAnswer name(TypeIntoInput(QStringLiteral("docs")));
            QVERIFY(Run(*form, "FileChangeFolderAction"));
            QVERIFY(WaitDone(*form));
        }
        QCOMPARE(QString::fromStdString(form->SelectedNode()->Text), QStringLiteral("docs"));
        QCOMPARE(user->Children.size(), std::size_t{3});
        QVERIFY(Run(*form, "FileUpOneLevelAction"));
        QCOMPARE(form->SelectedNode(), user);
        {
            ModalAnswer filter(TypeIntoInput(QStringLiteral("*.bin")));
            QVERIFY(Run(*form, "FileFilteringAction"));
        }
        QCOMPARE(Names(*form), (QStringList{"Alpha", "docs", "nowhere", "z.bin"}));

        // The pane titles: a click with any button moves the focus to the pane; a double click
        // on the file list's title with the left button is Filtering, with the right one not.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        auto* treeTitle = form->findChild<QWidget*>(QStringLiteral("FolderTreeGradPanel"));
        auto* listTitle = form->findChild<QWidget*>(QStringLiteral("FileListGradPanel"));
        auto* tree = form->findChild<QWidget*>(QStringLiteral("FolderTreeView"));
        const auto listFocused = [] {
            const QWidget* focus = QApplication::focusWidget();
            return focus != nullptr && focus->objectName().startsWith(u"FileList");
        };
        QTest::mouseClick(listTitle, Qt::RightButton);
        QVERIFY(listFocused());
        QTest::mouseClick(treeTitle, Qt::MiddleButton);
        QCOMPARE(QApplication::focusWidget(), tree);
        QTest::mouseDClick(listTitle, Qt::RightButton);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        {
            ModalAnswer filter(TypeIntoInput(QStringLiteral("*.*")));
            QTest::mouseDClick(listTitle, Qt::LeftButton);
            QVERIFY(QTest::qWaitFor([&] { return filter.answered; }, 5000));
        }
        QCOMPARE(Names(*form),
                 (QStringList{"Alpha", "docs", "nowhere", "b.txt", "readme.TXT", "z.bin"}));
        Close(form);
    }

    // Download into the local explorer's folder, byte for byte and recursively; Download in
    // Queue makes queue items instead; Online Edit hands the downloaded file to the editor.
    void downloadsQueueAndOnlineEdit() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        form->show();
        QVERIFY(WaitIdle(*form));
        SelectInList(*form, {"docs", "z.bin"});
        QVERIFY(Run(*form, "FileDownloadAction"));
        QVERIFY(WaitDone(*form));
        QCOMPARE(readFile(rig.local.path() / "z.bin"), std::string(300000, 'z'));
        QCOMPARE(readFile(rig.local.path() / "docs/deeper/more.txt"), std::string("more"));
        QCOMPARE(rig.sounds.back(), rig.options.TransferDoneWav);

        // A file that is there already stays when the options say Skip, and is replaced when
        // they say Overwrite.
        rig.local.write("z.bin", "mine");
        rig.options.WhenTargetExists = TWhenTargetExists::Skip;
        SelectInList(*form, {"z.bin"});
        QVERIFY(Run(*form, "FileDownloadAction"));
        QVERIFY(WaitDone(*form));
        QCOMPARE(readFile(rig.local.path() / "z.bin"), std::string("mine"));
        rig.options.WhenTargetExists = TWhenTargetExists::Overwrite;
        QVERIFY(Run(*form, "FileDownloadAction"));
        QVERIFY(WaitDone(*form));
        QCOMPARE(readFile(rig.local.path() / "z.bin"), std::string(300000, 'z'));

        // No usable local folder: the command is off.
        rig.localFolder.reset();
        QVERIFY(!Run(*form, "FileDownloadAction"));
        rig.localFolder = rig.local.path().string();

        SelectInList(*form, {"b.txt", "docs"});
        QVERIFY(Run(*form, "FileDownloadinQueueAction"));
        QCOMPARE(rig.queued.size(), std::size_t{2});
        QVERIFY(rig.queued[0]->IsFolder); // in list order: folders first
        QCOMPARE(rig.queued[1]->FileName, std::string("b.txt"));
        QCOMPARE(rig.queued[1]->SrcPath, std::string("/home/user/"));
        QCOMPARE(rig.queued[1]->DestPath, rig.local.path().string() + "/");
        QCOMPARE(rig.queued[1]->FileSize, std::int64_t{10});
        // From the tree: the target folder.
        form->ActivatePane(true);
        form->SetTreeMark(TFolderTree::FindChildNode(*form->SelectedNode(), "Alpha"));
        QVERIFY(Run(*form, "FileDownloadinQueueAction"));
        form->SetTreeMark(nullptr);
        QCOMPARE(rig.queued.size(), std::size_t{3});
        QCOMPARE(rig.queued[2]->FileName, std::string("Alpha"));
        QVERIFY(rig.queued[2]->IsFolder);

        SelectInList(*form, {"docs"});
        QVERIFY(!Run(*form, "FileOnlineEditAction")); // folders are not edited
        // The editor gets the file's bytes as they are, CR LF included, even where the
        // session would send a ".txt" as ASCII; the session's type stays.
        rig.served.write("home/user/readme.TXT", "hello\r\nworld\r\n");
        form->FTPClient().TransferType = TFTPTransferType::ftpTypeAuto;
        SelectInList(*form, {"readme.TXT"});
        QVERIFY(Run(*form, "FileOnlineEditAction"));
        QVERIFY(WaitDone(*form));
        QVERIFY(rig.edited != nullptr);
        QCOMPARE(rig.edited->FileName, std::string("readme.TXT"));
        QCOMPARE(rig.edited->HostDirName, std::string("/home/user/"));
        QCOMPARE(rig.edited->UserName, std::string("user"));
        QCOMPARE(readFile(rig.edited->LocalFileName), std::string("hello\r\nworld\r\n"));
        QCOMPARE(rig.edited->TransferType, TFTPTransferType::ftpTypeBinary);
        QCOMPARE(form->FTPClient().TransferType, TFTPTransferType::ftpTypeAuto);
        QVERIFY(rig.edited->LocalFileName.starts_with(rig.options.TempDownloadFolder));

        // Open on a folder shows it.
        SelectInList(*form, {"docs"});
        QVERIFY(Run(*form, "FileOpenAction"));
        QVERIFY(WaitDone(*form));
        QCOMPARE(QString::fromStdString(form->SelectedNode()->Text), QStringLiteral("docs"));
        Close(form);
    }

    // Copy and Paste of remote entries, drops of local files and of the own format, and the
    // refusals of drops into the entries' own folder.
    void clipboardAndDropsMakeQueueItems() {
        Rig rig;
        TSiteProperties& site = rig.Site("home/user");
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        form->show();
        QVERIFY(WaitIdle(*form));
        SelectInList(*form, {"b.txt", "readme.TXT"});
        QVERIFY(Run(*form, "EditCopyAction"));
        const TFTPFileData* copied = GetRemoteFilesData(QGuiApplication::clipboard()->mimeData());
        QVERIFY(copied != nullptr);
        QCOMPARE(copied->HostDirName, std::string("/home/user/"));
        QCOMPARE(copied->Items.size(), std::size_t{2});

        // Pasting files into their own folder is refused; into a folder of the list it queues
        // copies from the server to itself.
        SelectInList(*form, {});
        QString refused;
        {
            ModalAnswer ok(PressInBox(QMessageBox::Ok, &refused));
            QVERIFY(Run(*form, "EditPasteAction"));
        }
        QCOMPARE(refused, QStringLiteral("Destination folder is same with source folder"));
        QVERIFY(rig.queued.empty());
        SelectInList(*form, {"docs"});
        QVERIFY(Run(*form, "EditPasteAction"));
        QCOMPARE(rig.queued.size(), std::size_t{2});
        QCOMPARE(rig.queued[0]->Direction, TCarryDirection::ServerToServer);
        QCOMPARE(rig.queued[0]->DestPath, std::string("/home/user/docs/"));
        QCOMPARE(rig.queued[1]->FileName, std::string("readme.TXT"));

        // The tree's folder copied and pasted below itself.
        form->ActivatePane(true);
        TFolderNode* user = form->SelectedNode();
        form->SetTreeMark(TFolderTree::FindChildNode(*user, "docs"));
        QVERIFY(Run(*form, "EditCopyAction"));
        {
            ModalAnswer ok(PressInBox(QMessageBox::Ok, &refused));
            QVERIFY(Run(*form, "EditPasteAction"));
        }
        QCOMPARE(refused, QStringLiteral("Destination folder is same with source folder"));
        form->SetTreeMark(nullptr);

        // Local files dropped on the list: uploads into the folder shown.
        rig.local.write("up/one.txt", "1");
        auto* drop = new QMimeData;
        drop->setUrls(
            {QUrl::fromLocalFile(QString::fromStdString((rig.local.path() / "up").string())),
             QUrl::fromLocalFile(
                 QString::fromStdString((rig.local.path() / "up/one.txt").string()))});
        QWidget* viewport =
            form->findChild<QListView*>(QStringLiteral("FileListIconView"))->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, drop, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, drop, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &dropped);
        QCOMPARE(rig.queued.size(), std::size_t{4});
        QCOMPARE(rig.queued[2]->Direction, TCarryDirection::Upload);
        QVERIFY(rig.queued[2]->IsFolder);
        QCOMPARE(rig.queued[3]->FileName, std::string("one.txt"));
        QCOMPARE(rig.queued[3]->DestPath, std::string("/home/user/"));
        QCOMPARE(rig.queued[3]->DestPort, std::to_string(rig.server->port()));
        // Text alone is refused at the door.
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &textEnter);
        QVERIFY(!textEnter.isAccepted());
        delete drop;

        // Copy URL names the user and the port of this session, never the password.
        SelectInList(*form, {"b.txt"});
        QVERIFY(Run(*form, "EditCopyURLAction"));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("ftp://user@127.0.0.1:%1/home/user/b.txt")
                     .arg(form->FTPClient().Port.c_str()));
        Close(form);
    }

    // A server that refuses some entries: Delete removes the others from the list, Change
    // Permission stops at the refused one; folder links are never deleted.
    void partialFailuresAndFolderLinks() {
        Rig rig;
        VirtualFtpTree tree;
        tree.listing = [](const std::string& folder) -> std::optional<std::string> {
            if (folder == "/") {
                return "-rw-r--r-- 1 u g 5 Jan 01 2026 a.txt\r\n"
                       "-rw-r--r-- 1 u g 5 Jan 01 2026 b-locked.txt\r\n"
                       "-rw-r--r-- 1 u g 5 Jan 01 2026 c.txt\r\n"
                       "lrwxrwxrwx 1 u g 4 Jan 01 2026 lnk -> dir\r\n"
                       "lrwxrwxrwx 1 u g 5 Jan 01 2026 flnk -> a.txt\r\n"
                       "drwxr-xr-x 2 u g 4096 Jan 01 2026 dir\r\n";
            }
            if (folder == "/dir" || folder == "/lnk") {
                return std::string();
            }
            return std::nullopt;
        };
        tree.file = [](const std::string&) { return std::nullopt; };
        tree.refuses = [](const std::string& change) { return change.ends_with("/b-locked.txt"); };
        ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); },
                                 std::chrono::seconds(30));
        TSiteProperties& site = rig.Site("");
        site.Port = server.port();
        auto* form = new TRemoteExpForm(rig.Context(), &site);
        form->show();
        QVERIFY(WaitIdle(*form));
        QVERIFY(Entry(*form, "lnk") != nullptr && !Entry(*form, "lnk")->IsFile);
        QVERIFY(Entry(*form, "flnk") != nullptr && Entry(*form, "flnk")->IsFile);

        // Three files, the second refused: the first is changed, the third never sent.
        SelectInList(*form, {"a.txt", "b-locked.txt", "c.txt"});
        {
            ModalAnswer dialog([](QWidget& modal) {
                auto* owner = modal.findChild<QSpinBox*>(QStringLiteral("YNUpDown"));
                if (owner == nullptr) {
                    return false;
                }
                owner->setValue(7);
                QMetaObject::invokeMethod(&modal, "accept");
                return true;
            });
            QVERIFY(Run(*form, "FileChangePermAction"));
            QVERIFY(WaitDone(*form));
        }
        QCOMPARE(Entry(*form, "a.txt")->Permission, std::string("-rwx------"));
        QCOMPARE(Entry(*form, "b-locked.txt")->Permission, std::string("-rw-r--r--"));
        QCOMPARE(Entry(*form, "c.txt")->Permission, std::string("-rw-r--r--"));
        QCOMPARE(rig.sounds.back(), rig.options.ErrorWav);

        // A folder link among the selection refuses the whole Delete.
        const std::size_t changes = tree.changes.size();
        SelectInList(*form, {"a.txt", "lnk"});
        QString message;
        {
            ModalAnswer yes(PressInBox(QMessageBox::Yes, nullptr));
            ModalAnswer ok([&](QWidget& modal) {
                auto* box = qobject_cast<QMessageBox*>(&modal);
                if (box == nullptr || box->button(QMessageBox::Ok) == nullptr) {
                    return false;
                }
                message = box->text();
                box->button(QMessageBox::Ok)->click();
                return true;
            });
            QVERIFY(Run(*form, "FileDeleteAction"));
            QVERIFY(QTest::qWaitFor([&] { return ok.answered; }, 5000));
        }
        QCOMPARE(message, QStringLiteral("Cannot delete folder link."));
        QCOMPARE(tree.changes.size(), changes);
        QVERIFY(!form->FTPClient().Busy());

        // Three entries, the second refused: the others go, and since the last one carried
        // out succeeded, no error sound.
        const std::size_t sounds = rig.sounds.size();
        SelectInList(*form, {"flnk", "b-locked.txt", "c.txt"});
        {
            ModalAnswer yes(PressInBox(QMessageBox::Yes, nullptr));
            QVERIFY(Run(*form, "FileDeleteAction"));
            QVERIFY(WaitDone(*form));
        }
        QCOMPARE(Names(*form), (QStringList{"dir", "lnk", "a.txt", "b-locked.txt"}));
        QVERIFY(std::find(tree.changes.begin() + static_cast<std::ptrdiff_t>(changes),
                          tree.changes.end(), "DELE /flnk") != tree.changes.end());
        QCOMPARE(rig.sounds.size(), sounds);
        Close(form);
    }

    // A session that cannot be opened says why before the window goes.
    void failedConnectionsAreExplained() {
        Rig rig;
        for (const bool listening : {true, false}) {
            TSiteProperties& site = rig.Site("", listening ? "Wrong password" : "Nobody there");
            site.Password = "wrong";
            if (!listening) {
                site.Port = TempPortNobodyListensOn();
            }
            QString message;
            ModalAnswer ok(PressInBox(QMessageBox::Ok, &message));
            auto* form = new TRemoteExpForm(rig.Context(), &site);
            QPointer<TRemoteExpForm> guard(form);
            QVERIFY(QTest::qWaitFor([&] { return guard.isNull(); }, 20000));
            QVERIFY(message.startsWith(QStringLiteral("Cannot connect to [127.0.0.1]:")));
            QVERIFY2(message.contains(listening ? QStringLiteral("530") : QStringLiteral("refused"),
                                      Qt::CaseInsensitive),
                     qPrintable(message));
        }
    }

private:
    static std::uint16_t TempPortNobodyListensOn() {
        // A port that was free a moment ago: nothing listens on it.
        return FreeLoopbackPort();
    }
};

QTEST_MAIN(RemoteExpCommandsTest)
#include "RemoteExpCommandsTest.moc"
