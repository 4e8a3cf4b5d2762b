// The local explorer window offscreen: its commands and their rules, the view styles and the
// sort, the status panels, its settings, clipboard interchange with the desktop's file
// managers, the trash, and sending and receiving through a remote explorer on a real pyftpdlib
// server.

#include "local/gui/LocalExpForm.h"
#include "local/LocalExpSettings.h"
#include "local/gui/FindFilesForm.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalIconProvider.h"
#include "local/gui/LocalPropertiesForm.h"
#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

class LocalExpFormTest : public QObject {
    Q_OBJECT

private:
    struct Rig {
        TempDir local;
        TempDir config;
        TConfigStore store{config.path() / "settings.conf"};
        TGlobalOptions options{store};
        TRemoteExpList explorers;
        std::vector<std::unique_ptr<TFTPCarryItem>> queued;
        int queueCalls = 0;

        Rig() {
            local.write("a.txt", "alpha");
            local.write("b.bin", std::string(2048, 'b'));
            local.write("docs/inside.txt", "inside");
            // A named pipe counts as a file, and nothing reads it to tell its type.
            ::mkfifo(local.file("pipe").c_str(), 0600);
        }
        TLocalExpContext Context() {
            TLocalExpContext context{options, store, explorers, {}, nullptr};
            context.QueueItems = [this](std::vector<std::unique_ptr<TFTPCarryItem>> items) {
                ++queueCalls;
                for (auto& item : items) {
                    queued.push_back(std::move(item));
                }
            };
            return context;
        }
        std::unique_ptr<TLocalExpForm> Form() {
            TLocalExpSettings settings;
            settings.FolderPath = local.path().string();
            settings.SaveToStore(store, false);
            auto form = std::make_unique<TLocalExpForm>(Context());
            form->show();
            return form;
        }
    };

    static bool Filled(TLocalExpForm& form) {
        return QTest::qWaitFor([&] { return form.StatusPanelText(0).startsWith(u"1 Folders"); },
                               10000);
    }
    static bool Run(TLocalExpForm& form, const char* action) {
        return TActionList::Run(form.Action(action));
    }
    static bool Enabled(TLocalExpForm& form, const char* action) {
        QAction* command = form.Action(action);
        return command != nullptr && command->isEnabled();
    }
    static void Update(TLocalExpForm& form) {
        QTest::qWait(10); // the state is read once per pass of the event loop
        form.findChild<TActionList*>()->UpdateAll();
    }
    // Answers the next message box with the button.
    static void Answer(QMessageBox::StandardButton button) {
        QTimer::singleShot(100, [button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->button(button)->click();
            }
        });
    }

private Q_SLOTS:
    void commandsViewsSortAndStatus() {
        Rig rig;
        auto form = rig.Form();
        QVERIFY(Filled(*form));
        QCOMPARE(form->StatusPanelText(0), QStringLiteral("1 Folders, 3 Files, 2.0 KB"));
        QVERIFY(form->StatusPanelText(1).endsWith(u" Free"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Pellucor's Local Explorer [%1]")
                                          .arg(QString::fromStdString(rig.local.path().string())));
        QCOMPARE(form->FileListCaption(),
                 QStringLiteral("File List [%1][*.*]")
                     .arg(QString::fromStdString(rig.local.path().string())));

        // Captions, keys and hints of the commands.
        QAction* upload = form->Action("FileUploadAction");
        QCOMPARE(upload->text(), QStringLiteral("&Upload"));
        QCOMPARE(upload->shortcut(), QKeySequence(Qt::Key_F6));
        QCOMPARE(upload->toolTip(), QStringLiteral("Upload"));
        QCOMPARE(upload->statusTip(), QStringLiteral("Upload Selected Items"));
        QCOMPARE(form->Action("FileUploadinQueueAction")->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(form->Action("FileRenameAction")->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(form->Action("FileNewFolderAction")->text(), QStringLiteral("New &Folder"));

        // Without a remote explorer nothing uploads, even when asked.
        form->ActivatePane(false);
        form->SelectNames({"a.txt", "b.bin"});
        Update(*form);
        QCOMPARE(form->StatusPanelText(2), QStringLiteral("0 Folders, 2 Files Selected, 2.0 KB"));
        QVERIFY(!Enabled(*form, "FileUploadAction"));
        QVERIFY(!Enabled(*form, "FileUploadinQueueAction"));
        QVERIFY(!Run(*form, "FileUploadinQueueAction"));
        QCOMPARE(rig.queueCalls, 0);
        QVERIFY(!Enabled(*form, "FileOpenAction")); // two selected
        QVERIFY(Enabled(*form, "EditCopyAction"));
        form->SelectNames({"docs"});
        Update(*form);
        QVERIFY(Enabled(*form, "FileOpenAction"));
        QVERIFY(!Enabled(*form, "FilePrintAction")); // a folder
        form->SelectNames({});
        Update(*form);
        QCOMPARE(form->StatusPanelText(2), QString());

        // The view-style button goes round; arranging turns the direction of its own column.
        QCOMPARE(form->ViewStyle(), 2);
        for (int expected : {3, 0, 1, 2}) {
            QVERIFY(Run(*form, "ViewToolbarButtonAction"));
            QCOMPARE(form->ViewStyle(), expected);
        }
        QVERIFY(Run(*form, "ViewArrangeIconsbySizeAction"));
        QCOMPARE(form->SortColumn(), 2);
        QVERIFY(Run(*form, "ViewArrangeIconsbySizeAction"));
        QCOMPARE(form->SortColumn(), -2);
        QVERIFY(Run(*form, "ViewArrangeIconsbyNameAction"));
        QCOMPARE(form->SortColumn(), 1);

        // Filtering keeps the folders; "*.*" shows everything again.
        form->SetFilter(QStringLiteral("*.txt"));
        QVERIFY(QTest::qWaitFor(
            [&] { return form->ListModel()->rowCount(form->ListView()->rootIndex()) == 2; }));
        form->SetFilter(QStringLiteral("*.*"));
        QVERIFY(QTest::qWaitFor(
            [&] { return form->ListModel()->rowCount(form->ListView()->rootIndex()) == 4; }));

        // A folder that cannot be read says so (root reads everything).
        if (::geteuid() != 0) {
            fs::create_directory(rig.local.file("closed"));
            fs::permissions(rig.local.file("closed"), fs::perms::none);
            QVERIFY(form->SetFolder(rig.local.file("closed")));
            QVERIFY(QTest::qWaitFor(
                [&] { return form->StatusPanelText(0).startsWith(u"Cannot read ["); }, 10000));
            fs::permissions(rig.local.file("closed"), fs::perms::owner_all);
            QVERIFY(form->SetFolder(rig.local.path().string()));
        }

        // Up One Level, and the close box only hides.
        QVERIFY(Run(*form, "FileUpOneLevelAction"));
        QCOMPARE(QString::fromStdString(*form->LocalFolder()),
                 QString::fromStdString(rig.local.path().parent_path().string()));
        form->close();
        QVERIFY(!form->isVisible());
        QVERIFY(form->SetFolder(rig.local.path().string()));
    }

    void fileListModelFollowsTheDiskAndKeepsTheSelection() {
        TempDir dir;
        dir.write("one.txt", "1");
        dir.write("two.txt", "22");
        dir.write("sub/x", "x");
        TLocalIconProvider icons;
        TLocalFileListModel model(icons);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QItemSelectionModel selection(&model);
        model.SetFolder(QString::fromStdString(dir.path().string()));
        QVERIFY(QTest::qWaitFor([&] { return model.IsLoaded(); }, 10000));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.FileName(model.index(0, 0)), QStringLiteral("sub")); // folders first
        QCOMPARE(model.data(model.index(1, 1), Qt::DisplayRole).toString().isEmpty(), false);
        QCOMPARE(model.data(model.index(0, 1), Qt::DisplayRole).toString(), QString());
        selection.select(model.IndexOfName(QStringLiteral("two.txt")),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);

        // A file made and one removed by another program: the list follows, the selection
        // stays on its file.
        dir.write("a-new.txt", "new");
        fs::remove(dir.file("one.txt"));
        QVERIFY(QTest::qWaitFor(
            [&] {
                return model.IsLoaded() &&
                       model.IndexOfName(QStringLiteral("a-new.txt")).isValid() &&
                       !model.IndexOfName(QStringLiteral("one.txt")).isValid();
            },
            10000));
        const QModelIndexList selected = selection.selectedRows(0);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(model.FileName(selected.front()), QStringLiteral("two.txt"));

        // Sorting by size descending keeps the selection too; a filter keeps folders.
        model.SetSortColumn(-2);
        QCOMPARE(model.FileName(model.index(1, 0)), QStringLiteral("a-new.txt"));
        QCOMPARE(model.FileName(selection.selectedRows(0).front()), QStringLiteral("two.txt"));
        model.SetNameFilters({"two*"});
        QVERIFY(QTest::qWaitFor([&] { return model.IsLoaded(); }, 10000));
        QCOMPARE(model.rowCount(), 2);

        // Renaming in place never takes an existing name.
        QSignalSpy failed(&model, &TLocalFileListModel::RenameFailed);
        const QModelIndex two = model.IndexOfName(QStringLiteral("two.txt"));
        QVERIFY(!model.setData(two, QStringLiteral("sub"), Qt::EditRole));
        QCOMPARE(failed.size(), 1);
        QVERIFY(model.setData(two, QStringLiteral("three.txt"), Qt::EditRole));
        QVERIFY(fs::exists(dir.file("three.txt")));
        QCOMPARE(model.FileName(two), QStringLiteral("three.txt"));
        // A name that is not valid UTF-8 is listed, and can be renamed to one that is.
        const std::string bad = dir.write(std::string("bad\xff.txt"), "b");
        model.SetNameFilters({});
        QModelIndex badIndex;
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (int row = 0; model.IsLoaded() && row < model.rowCount(); ++row) {
                    if (model.Entry(model.index(row, 0)).Name == "bad\xff.txt") {
                        badIndex = model.index(row, 0);
                    }
                }
                return badIndex.isValid();
            },
            10000));
        QVERIFY(badIndex.isValid());
        QCOMPARE(model.FilePathBytes(badIndex), bad);
        QVERIFY(model.setData(badIndex, QStringLiteral("good.txt"), Qt::EditRole));
        QCOMPARE(readFile(dir.file("good.txt")), std::string("b"));
        const std::unique_ptr<QMimeData> drag(
            model.mimeData({model.IndexOfName(QStringLiteral("three.txt"))}));
        QCOMPARE(drag->urls(),
                 QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(dir.file("three.txt")))});
    }

    void newFolderLinksPrintPropertiesAndFind() {
        Rig rig;
        auto form = rig.Form();
        QVERIFY(Filled(*form));
        const QString root = QString::fromStdString(rig.local.path().string());
        form->ActivatePane(false);
        Update(*form);
        QVERIFY(Run(*form, "FileNewFolderAction"));
        QVERIFY(Run(*form, "FileNewFolderAction"));
        QVERIFY(fs::is_directory(rig.local.file("New Folder")));
        QVERIFY(fs::is_directory(rig.local.file("New Folder (2)")));
        QVERIFY(QTest::qWaitFor([&] { return form->ListModel()->rowCount() == 6; }, 10000));
        QTest::qWait(400); // the new folder's name editor opens
        form->SelectNames({"a.txt"});
        Update(*form);
        QVERIFY(Run(*form, "FileShortcutAction"));
        QCOMPARE(QString::fromStdString(fs::read_symlink(rig.local.file("Link to a.txt")).string()),
                 root + "/a.txt");

        // Printing without a spooler says so.
        if (QStandardPaths::findExecutable(QStringLiteral("lp")).isEmpty()) {
            QString shown;
            QTimer::singleShot(100, [&shown] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown = box->windowTitle() + u'|' + box->text();
                    box->accept();
                }
            });
            QVERIFY(Run(*form, "FilePrintAction"));
            QCOMPARE(shown, QStringLiteral("Local Explorer Print Error|Cannot print [%1]: no print "
                                           "spooler (lp) is installed.")
                                .arg(root + "/a.txt"));
        }
        // Without gio the network-drive commands are disabled and say why.
        if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) {
            QVERIFY(!Enabled(*form, "ToolNetDriveConnectAction"));
            QVERIFY(form->Action("ToolNetDriveConnectAction")->statusTip().contains(u"gio"));
        }

        // Properties count a folder's size on a worker thread.
        TLocalPropertiesForm properties({root}, form.get());
        QVERIFY(QTest::qWaitFor([&] { return !properties.Counting(); }, 10000));
        QVERIFY2(properties.SizeText().contains(
                     QStringLiteral("(%1 bytes, 3 files)").arg(QLocale().toString(2059))),
                 qPrintable(properties.SizeText()));

        // Find Files with masks, below the folder; a bad mask is reported.
        TFindFilesForm find(root, {});
        find.Find(root, QStringLiteral("*.txt"));
        QVERIFY(QTest::qWaitFor([&] { return !find.Searching(); }, 10000));
        QStringList found = find.Results();
        found.sort();
        QCOMPARE(found, (QStringList{root + "/Link to a.txt", root + "/a.txt",
                                     root + "/docs/inside.txt"}));
        find.Find(root, QStringLiteral("[a"));
        QVERIFY(find.Results().isEmpty());
        QVERIFY(!find.Searching());
    }

    void settingsAreSavedAndAGoneFolderOpensTheCurrentOne() {
        Rig rig;
        {
            auto form = rig.Form();
            QVERIFY(Filled(*form));
            form->SetViewStyle(TLocalExpForm::vsReport);
            form->ArrangeBy(4);
            form->ArrangeBy(4);
        }
        const std::string key(LocalExplorerKey);
        QCOMPARE(rig.store.ReadNumber(key, "ViewStyle"), std::optional<std::int32_t>(3));
        QCOMPARE(rig.store.ReadNumber(key, "SortColumn"), std::optional<std::int32_t>(-4));
        QCOMPARE(rig.store.ReadString(key, "FolderPath"), rig.local.path().string());
        QVERIFY(rig.store.ReadBinary(key + "\\Toolbar", "State").has_value());

        rig.store.WriteString(key, "FolderPath", rig.local.file("deleted"));
        TLocalExpForm again(rig.Context());
        QCOMPARE(again.ViewStyle(), 3);
        QCOMPARE(again.SortColumn(), -4);
        QCOMPARE(again.LocalFolder(), fs::current_path().string());
    }

    void clipboardInterchangeCopyCutAndTrash() {
        Rig rig;
        auto form = rig.Form();
        QVERIFY(Filled(*form));
        const QString root = QString::fromStdString(rig.local.path().string());
        form->ActivatePane(false);
        form->SelectNames({"a.txt"});
        Update(*form);
        QVERIFY(Run(*form, "EditCopyAction"));
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copied->urls(), QList<QUrl>{QUrl::fromLocalFile(root + "/a.txt")});
        QCOMPARE(copied->data(QStringLiteral("x-special/gnome-copied-files")),
                 QByteArray("copy\n") + QUrl::fromLocalFile(root + "/a.txt").toEncoded());

        // What a file manager copies (text/uri-list with "cut") is moved by Paste.
        const std::string outside = rig.config.write("from-desktop.txt", "desktop");
        auto* desktop = new QMimeData;
        desktop->setUrls({QUrl::fromLocalFile(QString::fromStdString(outside))});
        desktop->setData(QStringLiteral("x-special/gnome-copied-files"),
                         "cut\n" +
                             QUrl::fromLocalFile(QString::fromStdString(outside)).toEncoded());
        QGuiApplication::clipboard()->setMimeData(desktop);
        form->SelectNames({"docs"}); // pasted into the selected folder
        Update(*form);
        QVERIFY(Run(*form, "EditPasteAction"));
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("docs/from-desktop.txt")), std::string("desktop"));
        QVERIFY(!fs::exists(outside));

        // A copy onto an existing name asks; No keeps the old file.
        rig.local.write("docs/a.txt", "old");
        Answer(QMessageBox::No);
        form->PasteFiles({root + "/a.txt"}, root + "/docs", false);
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("docs/a.txt")), std::string("old"));
        Answer(QMessageBox::Yes);
        form->PasteFiles({root + "/a.txt"}, root + "/docs", false);
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("docs/a.txt")), std::string("alpha"));

        // Files dropped where they already are stay alone; on a folder item they are copied.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(root + "/a.txt")});
        QVERIFY(!form->DropOnFileList(&files, std::nullopt));
        QVERIFY(!fs::exists(rig.local.file("a (2).txt")));
        rig.local.write("drop/keep", "k");
        QVERIFY(form->DropOnFileList(&files, QStringLiteral("drop")));
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("drop/a.txt")), std::string("alpha"));

        // Delete moves into the desktop's trash after Yes.
        fs::create_directories(rig.config.file("data"));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(rig.config.file("data")));
        form->SelectNames({"b.bin"});
        Update(*form);
        Answer(QMessageBox::Yes);
        QVERIFY(Run(*form, "FileDeleteAction"));
        QVERIFY(!fs::exists(rig.local.file("b.bin")));
        QVERIFY(fs::exists(rig.config.file("data/Trash/files/b.bin")));
    }

    void sendsAndReceivesThroughARemoteExplorer() {
        if (!PyFtpdServer::available()) {
            QSKIP("pyftpdlib is not installed");
        }
        Rig rig;
        TempDir served;
        served.write("pub/remote.txt", "remote");
        PyFtpdServer server(served.path());
        QtUiThread ui;
        auto form = rig.Form();
        QVERIFY(Filled(*form));
        TRemoteExpContext context{ui, rig.options, rig.store, rig.explorers, nullptr, {},
                                  {}, {},          {}};
        context.LocalFolder = [&] { return form->LocalFolder(); };
        auto* site = new TSiteProperties(rig.options);
        site->HostName = "127.0.0.1";
        site->Port = server.port();
        site->UserName = "anonymous";
        site->Password = "guest@";
        site->InitialFolder = "/pub";
        site->PassiveMode = true;
        site->LoginRetry = 1;
        site->QuickConnect = true;
        QPointer<TRemoteExpForm> remote = new TRemoteExpForm(context, site);
        QVERIFY(QTest::qWaitFor(
            [&] {
                return remote->Connected() && !remote->FTPClient().Busy() && remote->SelectedNode();
            },
            15000));

        // Direct: two files and a folder in one request, bytes identical on the server.
        form->ActivatePane(false);
        form->SelectNames({"a.txt", "b.bin", "docs"});
        Update(*form);
        QVERIFY(Enabled(*form, "FileUploadAction"));
        QVERIFY(Run(*form, "FileUploadAction"));
        // While the session works, a direct upload waits; a queued one does not.
        QVERIFY(remote->FTPClient().Busy());
        form->findChild<TActionList*>()->UpdateAll();
        QVERIFY(!Enabled(*form, "FileUploadAction"));
        QVERIFY(Enabled(*form, "FileUploadinQueueAction"));
        QVERIFY(QTest::qWaitFor(
            [&] {
                return readFile(served.file("pub/docs/inside.txt")) == "inside" &&
                       !remote->FTPClient().Busy();
            },
            15000));
        QCOMPARE(readFile(served.file("pub/a.txt")), std::string("alpha"));
        QCOMPARE(readFile(served.file("pub/b.bin")), std::string(2048, 'b'));

        // Queued: one item per selected entry, to the explorer's folder.
        QVERIFY(Run(*form, "FileUploadinQueueAction"));
        QCOMPARE(rig.queueCalls, 1);
        QCOMPARE(rig.queued.size(), std::size_t{3});
        for (const auto& item : rig.queued) {
            QCOMPARE(item->Direction, TCarryDirection::Upload);
            QCOMPARE(item->DestPath, std::string("/pub/"));
            QCOMPARE(item->DestPort, server.portText());
            QCOMPARE(item->SrcPath, rig.local.path().string() + "/");
        }
        const auto docs = std::find_if(rig.queued.begin(), rig.queued.end(),
                                       [](const auto& item) { return item->FileName == "docs"; });
        QVERIFY(docs != rig.queued.end() && (*docs)->IsFolder && (*docs)->FileSize == -1);
        rig.queued.clear();

        // The remote explorer downloads into this window's folder.
        QCOMPARE(remote->CommandState().LocalFolderUsable, true);

        // Remote entries pasted: download items into the selected folder; dropped on a file
        // item: into the current folder.
        TFTPFileData data = remote->ListFileData();
        TFTPListItem entry;
        entry.Name = "remote.txt";
        entry.IsFile = true;
        entry.Size = 6;
        data.Items = {entry};
        QGuiApplication::clipboard()->setMimeData(new TFTPFileDataObject(data));
        form->SelectNames({"docs"});
        Update(*form);
        QVERIFY(Enabled(*form, "EditPasteAction"));
        QVERIFY(Run(*form, "EditPasteAction"));
        QCOMPARE(rig.queued.size(), std::size_t{1});
        QCOMPARE(rig.queued[0]->Direction, TCarryDirection::Download);
        QCOMPARE(rig.queued[0]->DestPath, rig.local.path().string() + "/docs/");
        QCOMPARE(rig.queued[0]->SrcPath, std::string("/pub/"));
        QCOMPARE(rig.queued[0]->FileSize, 6);
        TFTPFileDataObject dropped(data);
        QVERIFY(form->DropOnFileList(&dropped, std::nullopt));
        QCOMPARE(rig.queued[1]->DestPath, rig.local.path().string() + "/");
        QVERIFY(form->DropOnFileList(&dropped, QStringLiteral("docs")));
        QCOMPARE(rig.queued[2]->DestPath, rig.local.path().string() + "/docs/");
        QGuiApplication::clipboard()->clear();
        remote->close();
        QVERIFY(QTest::qWaitFor([&] { return remote.isNull(); }, 15000));
    }
};

QTEST_MAIN(LocalExpFormTest)
#include "LocalExpFormTest.moc"
