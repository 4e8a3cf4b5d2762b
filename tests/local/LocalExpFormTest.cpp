// SPDX-License-Identifier: GPL-3.0-or-later
// The local explorer window offscreen: its commands and their rules, the view styles and the
// sort, the status panels, its settings, clipboard interchange with the desktop's file
// managers, the trash, and sending and receiving through a remote explorer on a real pyftpdlib
// server.

#include "local/gui/LocalExpForm.h"
#include "local/LocalExpSettings.h"
#include "local/LocalUriList.h"
#include "local/LocalVolumes.h"
#include "local/gui/FindFilesForm.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalFolderTreeModel.h"
#include "local/gui/LocalIconProvider.h"
#include "local/gui/LocalPropertiesForm.h"
#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "platform/UniqueFd.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"
#include "sync/SyncListings.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

// Takes the addresses the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QByteArray> Urls;
public Q_SLOTS:
    void Open(const QUrl& url) { Urls.append(url.toEncoded()); }
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

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
        // Sizes read as in the remote explorer.
        const auto sizeText = [&](const char* name) {
            return form->ListModel()
                ->IndexOfName(QString::fromLatin1(name))
                .siblingAtColumn(1)
                .data();
        };
        QCOMPARE(sizeText("b.bin"), QVariant(QStringLiteral("2.0 KB")));
        QCOMPARE(sizeText("a.txt"), QVariant(QStringLiteral("0.0 KB")));
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

    void fileListModelShowsCompareMarksAndOnlyDifferences() {
        TempDir dir;
        dir.write("same", "1");
        dir.write("here", "22");
        dir.write("sub/x", "x");
        TLocalIconProvider icons;
        TLocalFileListModel model(icons);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QItemSelectionModel selection(&model);
        model.SetFolder(dir.path().string());
        QVERIFY(QTest::qWaitFor([&] { return model.IsLoaded(); }, 10000));
        auto local = LocalSyncEntries(dir.path().string()).value();
        std::vector<TSyncEntry> remote;
        std::ranges::copy_if(local, std::back_inserter(remote),
                             [](const TSyncEntry& entry) { return entry.Name != "here"; });
        const auto marks = std::make_shared<const TCompareMarks>(CompareFolders(local, remote),
                                                                 TCompareSide::Local);
        model.SetCompareMarks(marks, false);
        const QModelIndex here = model.IndexOfName(QStringLiteral("here"));
        QCOMPARE(here.data(Qt::ToolTipRole).toString(),
                 CompareMarkText(TCompareMark::OnlyLocal, TCompareSide::Local));
        QCOMPARE(here.data(Qt::BackgroundRole).value<QColor>(),
                 CompareMarkColour(TCompareMark::OnlyLocal, TCompareSide::Local));
        QCOMPARE(model.IndexOfName(QStringLiteral("same")).data(Qt::ToolTipRole).toString(),
                 CompareMarkText(TCompareMark::Same, TCompareSide::Local));

        // Only the differences: the row that differs stays, selected.
        selection.select(here, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        model.SetCompareMarks(marks, true);
        QVERIFY(QTest::qWaitFor([&] { return model.IsLoaded() && model.rowCount() == 1; }, 10000));
        QCOMPARE(model.FileName(selection.selectedRows(0).value(0)), QStringLiteral("here"));
        model.SetCompareMarks(nullptr, false);
        QVERIFY(QTest::qWaitFor([&] { return model.IsLoaded() && model.rowCount() == 3; }, 10000));
        QVERIFY(!model.IndexOfName(QStringLiteral("here")).data(Qt::ToolTipRole).isValid());
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
        model.SetFolder(dir.path().string());
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

        // Sorting by size descending (on a worker) keeps the selection too; a filter keeps
        // folders.
        QSignalSpy sorted(&model, &TLocalFileListModel::Sorted);
        model.SetSortColumn(-2);
        QVERIFY(model.IsSorting());
        QVERIFY(sorted.wait(10000));
        QVERIFY(!model.IsSorting());
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
        TLocalPropertiesForm properties({rig.local.path().string()}, form.get());
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
        form->PasteFiles({rig.local.file("a.txt")}, rig.local.file("docs"), false);
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("docs/a.txt")), std::string("old"));
        Answer(QMessageBox::Yes);
        form->PasteFiles({rig.local.file("a.txt")}, rig.local.file("docs"), false);
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("docs/a.txt")), std::string("alpha"));

        // Files dropped where they already are stay alone; on a folder item they are copied.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(root + "/a.txt")});
        QVERIFY(!form->DropOnFileList(&files, std::nullopt));
        QVERIFY(!fs::exists(rig.local.file("a (2).txt")));
        rig.local.write("drop/keep", "k");
        QVERIFY(form->DropOnFileList(&files, std::string("drop")));
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("drop/a.txt")), std::string("alpha"));

        // Cut draws the items faded at once, until the clipboard holds something else.
        QAbstractItemView* list = form->ListView();
        const auto look = [&] {
            form->SelectNames({});
            const QRect item = list->visualRect(form->ListModel()->IndexOfName("b.bin"));
            return list->viewport()->grab(item).toImage();
        };
        const QImage plain = look();
        form->SelectNames({"b.bin"});
        Update(*form);
        QVERIFY(Run(*form, "EditCutAction"));
        QVERIFY(look() != plain);
        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
        QCOMPARE(look(), plain);

        // The Delete key moves into the desktop's trash after Yes.
        fs::create_directories(rig.config.file("data"));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(rig.config.file("data")));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        list->setFocus();
        form->SelectNames({"b.bin"});
        Answer(QMessageBox::Yes);
        QTest::keyClick(list, Qt::Key_Delete);
        QVERIFY(QTest::qWaitFor([&] { return !fs::exists(rig.local.file("b.bin")); }, 5000));
        QVERIFY(fs::exists(rig.config.file("data/Trash/files/b.bin")));
    }

    // A folder changes only when names come and go: a file that grows shows its new size when
    // whoever wrote it closes it (a transfer that ends), on Refresh (F5), and when the window
    // is activated again.
    void grownFilesShowTheirNewSize() {
        Rig rig;
        auto form = rig.Form();
        QVERIFY(Filled(*form));
        const auto sizeOf = [&] {
            const QModelIndex row = form->ListModel()->IndexOfName("arriving.bin");
            return row.isValid() ? form->ListModel()->Entry(row).Size : -2;
        };
        const std::string path = rig.local.file("arriving.bin");
        const auto append = [&](const UniqueFd& file, std::size_t count) {
            const std::string bytes(count, 'x');
            return ::write(file.get(), bytes.data(), count) == static_cast<ssize_t>(count);
        };
        {
            const UniqueFd file(
                ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
            QVERIFY(QTest::qWaitFor([&] { return sizeOf() == 0; }, 10000));
            QTest::qWait(500);
            QVERIFY(append(file, 5000));
        }
        QVERIFY(QTest::qWaitFor([&] { return sizeOf() == 5000; }, 5000));
        QVERIFY(QTest::qWaitFor(
            [&] { return form->StatusPanelText(0) == "1 Folders, 4 Files, 6.9 KB"; }, 5000));

        const UniqueFd open(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
        QVERIFY(append(open, 5000));
        QTest::qWait(500);
        QCOMPARE(sizeOf(), 5000);
        QVERIFY(Run(*form, "ViewRefreshAction"));
        QVERIFY(QTest::qWaitFor([&] { return sizeOf() == 10000; }, 5000));

        QVERIFY(append(open, 5000));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(QTest::qWaitFor([&] { return sizeOf() == 15000; }, 5000));
    }

    void folderTreeShowsRootHomeAndVolumes() {
        TempDir home;
        home.write("work/deep/file.txt", "x");
        home.write("other/y", "y");
        ScopedEnv homeEnv("HOME", QByteArray::fromStdString(home.path().string()));
        Rig rig;
        TLocalExpSettings settings;
        settings.FolderPath = home.file("work/deep");
        settings.SaveToStore(rig.store, false);
        TLocalExpForm form(rig.Context());
        form.show();
        TLocalFolderTreeModel* tree = form.TreeModel();

        // The top level: the root, the home folder, then this machine's volumes.
        const auto tops = TopFolders(ReadMountTable(), home.path().string());
        QCOMPARE(tree->rowCount(), static_cast<int>(tops.size()));
        QCOMPARE(tree->FilePath(tree->index(0, 0)), std::string("/"));
        QCOMPARE(tree->index(0, 0).data().toString(), QStringLiteral("/"));
        QCOMPARE(tree->FilePath(tree->index(1, 0)), home.path().string());
        QCOMPARE(tree->index(1, 0).data().toString(), QStringLiteral("Home"));
        for (int row = 0; row < tree->rowCount(); ++row) {
            QVERIFY(tree->IsTopLevel(tree->index(row, 0)));
            QVERIFY(!tree->index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
            QVERIFY(!(tree->flags(tree->index(row, 0)) & Qt::ItemIsEditable));
        }
        // The folder box offers the same places after the folders above the current one.
        auto* combo = form.findChild<QComboBox*>(QStringLiteral("FolderCombo"));
        QVERIFY(combo->findText(QString::fromStdString(home.path().string())) >= 0);

        // The current folder shows under the home node, the deepest that holds it.
        const QModelIndex current = form.FolderTreeView()->currentIndex();
        QCOMPARE(tree->FilePath(current), home.file("work/deep"));
        QModelIndex top = current;
        while (top.parent().isValid()) {
            top = top.parent();
        }
        QCOMPARE(top.row(), 1);
        QCOMPARE(form.FolderTreeCaption(), QStringLiteral("Folder Tree [deep]"));

        // The home folder is read off the user-interface thread when the view opens it.
        QVERIFY(QTest::qWaitFor([&] { return tree->IsRead(top); }, 10000));
        QCOMPARE(tree->rowCount(top), 2); // other, work; files are not in the tree
        QCOMPARE(tree->index(0, 0, top).data().toString(), QStringLiteral("other"));

        // Selecting a top-level node goes to its folder.
        form.FolderTreeView()->setCurrentIndex(tree->index(0, 0));
        QCOMPARE(form.LocalFolder(), std::string("/"));
        QVERIFY(QTest::qWaitFor(
            [&] { return form.ListModel()->IsLoaded() && form.ListModel()->Folder() == "/"; },
            10000));
        form.FolderTreeView()->setCurrentIndex(top);
        QCOMPARE(form.LocalFolder(), home.path().string());

        // A folder made on disk by another program appears in the read folder.
        fs::create_directory(home.file("made-later"));
        QVERIFY(QTest::qWaitFor([&] { return tree->rowCount(top) == 3; }, 10000));
        QCOMPARE(tree->index(0, 0, top).data().toString(), QStringLiteral("made-later"));
    }

    void folderTreeModelKeepsBytesAndFollowsTheDisk() {
        TempDir dir;
        dir.write("b/x", "x");
        dir.write("A/y", "y");
        dir.write("file.txt", "f");
        dir.write("bad\xff/z", "z");
        TLocalIconProvider icons;
        TLocalFolderTreeModel model(icons, dir.path().string());
        // Two top-level nodes inside the folder stand for the root and a volume (the model
        // tester would read every folder it is shown).
        model.SetTopFolders({{dir.file("b"), TTopFolderKind::Volume, false},
                             {dir.path().string(), TTopFolderKind::Home, false}});
        QCOMPARE(model.rowCount(), 2);
        const QModelIndex home = model.index(1, 0);
        QCOMPARE(home.data().toString(), QStringLiteral("Home"));
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("b"));
        QVERIFY(model.hasChildren(home));
        QVERIFY(model.canFetchMore(home));
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.fetchMore(home);
        QVERIFY(QTest::qWaitFor([&] { return model.IsRead(home); }, 10000));
        QCOMPARE(model.rowCount(home), 3);
        QCOMPARE(model.index(0, 0, home).data().toString(), QStringLiteral("A"));
        QCOMPARE(model.index(1, 0, home).data().toString(), QStringLiteral("b"));
        QCOMPARE(model.index(2, 0, home).data().toString(), QStringLiteral("bad\uFFFD"));
        QCOMPARE(model.FilePath(model.index(2, 0, home)), dir.file("bad\xff"));

        // A path not read yet gets its nodes on the way, under the deepest top-level node that
        // holds it; "..", "." and "//" are resolved.
        const QModelIndex deep = model.IndexOf(dir.file("b/c/../c//d/."));
        QCOMPARE(model.FilePath(deep), dir.file("b/c/d"));
        QCOMPARE(deep.parent().parent(), model.index(0, 0));
        QVERIFY(!model.IndexOf("relative/path").isValid());

        // Other programs make and remove folders: the read folder follows.
        fs::create_directory(dir.file("new"));
        fs::remove_all(dir.file("A"));
        QVERIFY(QTest::qWaitFor(
            [&] {
                return model.rowCount(home) == 3 &&
                       model.index(2, 0, home).data().toString() == QStringLiteral("new");
            },
            10000));

        // Renaming in place works on the bytes and never takes an existing name; the volumes
        // and the root are not renamed here.
        QSignalSpy failed(&model, &TLocalFolderTreeModel::RenameFailed);
        const QModelIndex bad = model.index(1, 0, home);
        QCOMPARE(model.FilePath(bad), dir.file("bad\xff"));
        QVERIFY(!model.setData(bad, QStringLiteral("b"), Qt::EditRole));
        QCOMPARE(failed.size(), 1);
        QVERIFY(model.setData(bad, QStringLiteral("bad\uFFFD"), Qt::EditRole)); // unchanged
        QVERIFY(fs::exists(dir.file("bad\xff/z")));
        const std::unique_ptr<QMimeData> drag(model.mimeData({bad}));
        QCOMPARE(ParseUriList(drag->data(QStringLiteral("text/uri-list")).toStdString()),
                 std::vector<std::string>{dir.file("bad\xff")});
        QVERIFY(model.setData(bad, QStringLiteral("good"), Qt::EditRole));
        QCOMPARE(readFile(dir.file("good/z")), std::string("z"));
        QCOMPARE(model.FilePath(bad), dir.file("good"));
        QVERIFY(!model.setData(home, QStringLiteral("x"), Qt::EditRole));
    }

    void namesThatAreNotUtf8AreShownAndUsable() {
        Rig rig;
        const std::string bad = "caf\xe9.txt";
        const std::string badFolder = "d\xefr";
        rig.local.write(bad, "latin-1 name");
        rig.local.write(badFolder + "/inner.txt", "inner");
        rig.local.write("moved/keep", "k");
        auto form = rig.Form();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return form->ListModel()->IsLoaded() &&
                       form->ListModel()->IndexOfBytes(bad).isValid() &&
                       form->ListModel()->IndexOfBytes("moved").isValid();
            },
            10000));
        QCOMPARE(form->ListModel()->IndexOfBytes(bad).data().toString(),
                 QStringLiteral("caf\uFFFD.txt"));
        form->ActivatePane(false);

        // Open hands the desktop the address of the bytes.
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
        form->SelectNameBytes({bad});
        Update(*form);
        QVERIFY(Run(*form, "FileOpenAction"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.Urls,
                 QList<QByteArray>{QByteArray::fromStdString(FileUriOf(rig.local.file(bad)))});

        // Print hands the spooler the file's bytes (a stand-in lp writes what it reads).
        const std::string printed = rig.config.file("printed");
        const std::string lp = rig.config.write("bin/lp", "#!/bin/sh\ncat > '" + printed + "'\n");
        fs::permissions(lp, fs::perms::owner_all);
        {
            ScopedEnv path("PATH", QByteArray::fromStdString(rig.config.file("bin") + ":") +
                                       qgetenv("PATH"));
            QVERIFY(Run(*form, "FilePrintAction"));
        }
        QVERIFY(QTest::qWaitFor([&] { return readFile(printed) == "latin-1 name"; }, 10000));

        // Properties read the file by its bytes.
        TLocalPropertiesForm properties({rig.local.file(bad)}, form.get());
        QVERIFY2(properties.SizeText().contains(u"(12 bytes, 1 files)"),
                 qPrintable(properties.SizeText()));

        // Copy and paste into a folder: the clipboard carries the bytes.
        QVERIFY(Run(*form, "EditCopyAction"));
        const QByteArray list =
            QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/uri-list"));
        QVERIFY2(list.contains("caf%E9.txt"), list.constData());
        form->SelectNames({"docs"});
        Update(*form);
        QVERIFY(Run(*form, "EditPasteAction"));
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("docs/" + bad)), std::string("latin-1 name"));
        QVERIFY(fs::exists(rig.local.file(bad)));

        // Cut and paste moves it.
        form->SelectNameBytes({bad});
        Update(*form);
        QVERIFY(Run(*form, "EditCutAction"));
        form->SelectNames({"moved"});
        Update(*form);
        QVERIFY(Run(*form, "EditPasteAction"));
        QVERIFY(QTest::qWaitFor([&] { return !form->CopyRunning(); }, 10000));
        QCOMPARE(readFile(rig.local.file("moved/" + bad)), std::string("latin-1 name"));
        QVERIFY(!fs::exists(rig.local.file(bad)));

        // A folder of such a name opens, in the list and in the tree.
        QVERIFY(QTest::qWaitFor(
            [&] { return form->ListModel()->IndexOfBytes(badFolder).isValid(); }, 10000));
        form->SelectNameBytes({badFolder});
        Update(*form);
        QVERIFY(Run(*form, "FileOpenAction"));
        QCOMPARE(form->LocalFolder(), rig.local.file(badFolder));
        QCOMPARE(form->TreeModel()->FilePath(form->FolderTreeView()->currentIndex()),
                 rig.local.file(badFolder));
        QVERIFY(QTest::qWaitFor(
            [&] { return form->ListModel()->IndexOfName(QStringLiteral("inner.txt")).isValid(); },
            10000));

        // Renamed in place in the list, it keeps its contents under the new name.
        QVERIFY(form->SetFolder(rig.local.file("docs")));
        QVERIFY(
            QTest::qWaitFor([&] { return form->ListModel()->IndexOfBytes(bad).isValid(); }, 10000));
        QVERIFY(form->ListModel()->setData(form->ListModel()->IndexOfBytes(bad),
                                           QStringLiteral("caf\u00e9.txt"), Qt::EditRole));
        QCOMPARE(readFile(rig.local.file("docs/caf\xc3\xa9.txt")), std::string("latin-1 name"));

        // Delete moves it into the trash, with the percent-encoded path in its info.
        fs::create_directories(rig.config.file("data"));
        ScopedEnv data("XDG_DATA_HOME", QByteArray::fromStdString(rig.config.file("data")));
        QVERIFY(form->SetFolder(rig.local.file("moved")));
        QVERIFY(
            QTest::qWaitFor([&] { return form->ListModel()->IndexOfBytes(bad).isValid(); }, 10000));
        form->SelectNameBytes({bad});
        Update(*form);
        Answer(QMessageBox::Yes);
        QVERIFY(Run(*form, "FileDeleteAction"));
        QVERIFY(!fs::exists(rig.local.file("moved/" + bad)));
        QCOMPARE(readFile(rig.config.file("data/Trash/files/" + bad)), std::string("latin-1 name"));
        QVERIFY(readFile(rig.config.file("data/Trash/info/" + bad + ".trashinfo"))
                    .find("/moved/caf%E9.txt\n") != std::string::npos);
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
        QVERIFY(form->DropOnFileList(&dropped, std::string("docs")));
        QCOMPARE(rig.queued[2]->DestPath, rig.local.path().string() + "/docs/");
        QGuiApplication::clipboard()->clear();
        remote->close();
        QVERIFY(QTest::qWaitFor([&] { return remote.isNull(); }, 15000));
    }
};

QTEST_MAIN(LocalExpFormTest)
#include "LocalExpFormTest.moc"
