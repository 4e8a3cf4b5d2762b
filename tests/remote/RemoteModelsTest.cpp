// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's item models under QAbstractItemModelTester, driven through what the
// explorer does to them: a new chain, listings merged and refreshed, nodes added, renamed and
// removed; the file list filled, sorted, appended to and changed. The tester fails the test at
// the first broken promise of the model contract.

#include "base/LocaleTextCompare.h"
#include "base/Masks.h"
#include "remote/FileListContent.h"
#include "remote/FolderTree.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FindResultModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "sync/SyncListings.h"
#include "sync/gui/CompareMarks.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace qx;

namespace {

TFTPListItem& AddEntry(TFTPListItems& listing, const std::string& name, bool file,
                       std::int64_t size = 0) {
    auto entry = std::make_unique<TFTPListItem>();
    entry->Name = name;
    entry->IsFile = file;
    entry->Size = file ? size : -1;
    entry->TypeName = file ? "File" : "Folder";
    listing.Add(std::move(entry));
    return listing.Items(listing.Count() - 1);
}

std::unique_ptr<TFTPListItems> Listing(std::initializer_list<const char*> folders,
                                       std::initializer_list<const char*> files) {
    auto listing = std::make_unique<TFTPListItems>();
    for (const char* name : folders) {
        AddEntry(*listing, name, false);
    }
    std::int64_t size = 1;
    for (const char* name : files) {
        AddEntry(*listing, name, true, size *= 7);
    }
    return listing;
}

constexpr auto kMode = QAbstractItemModelTester::FailureReportingMode::QtTest;

} // namespace

class RemoteModelsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void folderTreeFollowsEveryChange() {
        TLocaleTextCompare compare;
        TFolderTree tree;
        TFolderTreeModel model(tree);
        QAbstractItemModelTester tester(&model, kMode);

        TFolderNode& home = tree.BuildChain("/home/user");
        model.Reset();
        QCOMPARE(model.rowCount(model.IndexOf(home.Parent)), 1);

        home.ListItems = Listing({"zeta", "Alpha", "docs"}, {"a.txt"});
        tree.MergeFolderNodes(home, compare);
        QCOMPARE(model.rowCount(model.IndexOf(&home)), 3);
        QCOMPARE(model.IndexOf(&home).row(), 0);

        TFolderNode& added = tree.AppendChild(home, "beta");
        QCOMPARE(model.IndexOf(&added).parent(), model.IndexOf(&home));
        tree.SetNodeText(added, "gamma");
        QCOMPARE(model.data(model.IndexOf(&added), Qt::DisplayRole).toString(), "gamma");

        // A refresh drops the folders gone from the listing (and the one made here, which it
        // does not hold), keeps the others and sorts the new one in.
        home.ListItems = Listing({"docs", "Alpha", "middle"}, {});
        tree.RefreshFolderNodes(home, compare);
        QStringList shown;
        for (int row = 0; row < model.rowCount(model.IndexOf(&home)); ++row) {
            shown << model.index(row, 0, model.IndexOf(&home)).data().toString();
        }
        QCOMPARE(shown, QStringList({"Alpha", "docs", "middle"}));

        QSignalSpy removing(&model, &TFolderTreeModel::NodeRemoving);
        TFolderNode* docs = TFolderTree::FindChildNode(home, "docs");
        QVERIFY(docs != nullptr);
        tree.AppendChild(*docs, "deep");
        tree.RemoveNode(*docs);
        QCOMPARE(removing.count(), 1);
        QCOMPARE(model.rowCount(model.IndexOf(&home)), 2);

        tree.Clear();
        model.Reset();
        QCOMPARE(model.rowCount(), 0);
    }

    void fileListFollowsEveryChange() {
        TLocaleTextCompare compare;
        TFolderTree tree;
        TFileListContent content(compare);
        TFileListModel model(content, tree);
        QAbstractItemModelTester tester(&model, kMode);

        auto listing = Listing({"docs", "bin"}, {"b.txt", "a.TXT", "c.bin"});
        content.Fill(listing.get(), TMasks("*.*"));
        model.Reset();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.columnCount(), TFileListContent::kColumns);

        content.Sort(TFileListContent::NextSortColumn(content.SortColumn(), 2));
        model.Reset();
        content.Fill(listing.get(), TMasks("*.txt"));
        model.Reset();
        QCOMPARE(model.rowCount(), 4); // the folders and the two text files

        TFTPListItem& made = AddEntry(*listing, "new folder", false);
        model.AppendEntry(made);
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.Entry(model.index(4, 0)), &made);

        made.Name = "renamed";
        model.EntriesChanged({&made});
        QCOMPARE(model.index(4, 0).data().toString(), "renamed");
        model.SetDropTarget(&made);
        model.SetDropTarget(nullptr);

        content.Remove({&made});
        model.Reset();
        QCOMPARE(model.rowCount(), 4);
        content.Clear();
        model.Reset();
        QCOMPARE(model.rowCount(), 0);
    }

    void fileListShowsCompareMarksAndFiltersByThem() {
        TLocaleTextCompare compare;
        TFolderTree tree;
        TFileListContent content(compare);
        TFileListModel model(content, tree);
        QAbstractItemModelTester tester(&model, kMode);
        auto listing = Listing({"docs"}, {"a", "b"}); // sizes 7 and 49
        content.Fill(listing.get(), TMasks("*.*"));
        model.Reset();
        const std::vector<TSyncEntry> local{{"a", false, 7, {}, TTimePrecision::Unknown},
                                            {"b", false, 5, {}, TTimePrecision::Unknown}};
        const auto pairs = CompareFolders(local, RemoteSyncEntries(*listing, 0));
        auto marks = std::make_shared<const TCompareMarks>(pairs, TCompareSide::Remote);
        model.SetCompareMarks(marks);
        const auto rowOf = [&](const char* name) {
            for (int row = 0; row < model.rowCount(); ++row) {
                if (model.Entry(model.index(row, 0))->Name == name) {
                    return model.index(row, 0);
                }
            }
            return QModelIndex();
        };
        const auto side = TCompareSide::Remote;
        QCOMPARE(rowOf("docs").data(Qt::ToolTipRole).toString(),
                 CompareMarkText(TCompareMark::OnlyRemote, side));
        QCOMPARE(rowOf("b").data(Qt::BackgroundRole).value<QColor>(),
                 CompareMarkColour(TCompareMark::SizeDiffers, side));
        QVERIFY(!rowOf("a").data(Qt::BackgroundRole).isValid()); // the same: no tint
        // The drop target's highlight wins over a tint.
        model.SetDropTarget(model.Entry(rowOf("b")));
        QVERIFY(rowOf("b").data(Qt::BackgroundRole).value<QBrush>().color() !=
                CompareMarkColour(TCompareMark::SizeDiffers, side));
        model.SetDropTarget(nullptr);

        content.Fill(listing.get(), TMasks("*.*"), [&](const TFTPListItem& entry) {
            return ShownWithOnlyDifferences(*marks, entry.Name);
        });
        model.Reset();
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(!rowOf("a").isValid());
        model.SetCompareMarks(nullptr);
        QVERIFY(!rowOf("b").data(Qt::ToolTipRole).isValid());
    }

    // Results arrive folder by folder into a sorted list; a selected row follows its entry.
    void findResultsKeepTheirOrderAsTheyArrive() {
        TFindResultModel model;
        QAbstractItemModelTester tester(&model, kMode);
        const auto found = [](const std::string& path, std::int64_t size) {
            TFoundEntry entry{path, {}};
            entry.Item.Name = path.substr(path.rfind('/') + 1);
            entry.Item.IsFile = size >= 0;
            entry.Item.Size = size;
            return entry;
        };
        const auto column = [&model](int section) {
            QStringList texts;
            for (int row = 0; row < model.rowCount(); ++row) {
                texts << model.index(row, section).data().toString();
            }
            return texts;
        };
        model.Add({found("/b/x.txt", 30), found("/b/sub", -1)});
        model.Add({found("/a/y.txt", 5)});
        QCOMPARE(column(1), (QStringList{"/a", "/b", "/b"}));
        model.sort(2, Qt::DescendingOrder);
        const QPersistentModelIndex held = model.index(0, 0);
        QCOMPARE(model.Entry(held.row()).Path, std::string("/b/x.txt"));
        model.Add({found("/c/big.bin", 900), found("/c/z.txt", 10)});
        QCOMPARE(column(0), (QStringList{"big.bin", "x.txt", "z.txt", "y.txt", "sub"}));
        QCOMPARE(model.Entry(held.row()).Path, std::string("/b/x.txt"));
        model.sort(0, Qt::AscendingOrder);
        QCOMPARE(model.Entry(held.row()).Path, std::string("/b/x.txt"));
        QCOMPARE(column(0).front(), QStringLiteral("big.bin"));
        model.Clear();
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_MAIN(RemoteModelsTest)
#include "RemoteModelsTest.moc"
