// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's models without widgets: the folder chain and its merging, the file
// list's filter, counters and sort order, the status-bar texts and the list of explorers.

#include "base/LocaleTextCompare.h"
#include "base/Utilities.h"
#include "remote/FileListContent.h"
#include "remote/FolderTree.h"
#include "remote/RemoteExpList.h"
#include "remote/RemoteExpTexts.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

TFTPListItem& AddEntry(TFTPListItems& listing, const std::string& name, bool file,
                       std::int64_t size = 0, const std::string& date = "") {
    auto entry = std::make_unique<TFTPListItem>();
    entry->Name = name;
    entry->IsFile = file;
    entry->Size = file ? size : -1;
    entry->DateText = date;
    if (date.size() == 10) { // "YYYY-MM-DD"
        entry->Year = std::stoi(date.substr(0, 4));
        entry->Month = std::stoi(date.substr(5, 2));
        entry->Day = std::stoi(date.substr(8, 2));
    }
    entry->TypeName = file ? "File" : "Folder";
    listing.Add(std::move(entry));
    return listing.Items(listing.Count() - 1);
}

std::vector<std::string> Names(const TFileListContent& list) {
    std::vector<std::string> names;
    for (std::size_t row = 0; row < list.Count(); ++row) {
        names.push_back(list.At(row).Name);
    }
    return names;
}

using Names_t = std::vector<std::string>;

Names_t ChildTexts(const TFolderNode& node) {
    Names_t texts;
    for (const auto& child : node.Children) {
        texts.push_back(child->Text);
    }
    return texts;
}

// Writes down what the tree tells its view, checking that every change is announced while
// the tree still has the shape the announcement speaks of.
struct RecordingObserver final : TFolderTreeObserver {
    Names_t events;
    void BeginInsertNode(TFolderNode& parent, std::size_t row) override {
        EXPECT_LE(row, parent.Children.size());
        events.push_back("insert " + TFolderTree::GetNodePath(parent) + " " + std::to_string(row));
    }
    void EndInsertNode() override { events.push_back("end"); }
    void BeginRemoveNode(TFolderNode& node) override {
        EXPECT_NE(node.Parent, nullptr);
        events.push_back("remove " + TFolderTree::GetNodePath(node));
    }
    void EndRemoveNode() override { events.push_back("end"); }
    void NodeTextChanged(TFolderNode& node) override { events.push_back("text " + node.Text); }
    void BeginReorder(TFolderNode& parent) override {
        events.push_back("reorder " + TFolderTree::GetNodePath(parent));
    }
    void EndReorder(TFolderNode& parent) override {
        events.push_back("reordered " + TFolderTree::GetNodePath(parent));
    }
};

} // namespace

TEST(FolderTree, ChainSkipsEmptyPartsAndNamesPaths) {
    TFolderTree tree;
    TFolderNode& root = tree.BuildChain("/");
    EXPECT_EQ(&root, tree.Root());
    EXPECT_TRUE(root.Children.empty());

    TFolderNode& user = tree.BuildChain("/home//user/");
    EXPECT_EQ(tree.Root()->Text, "/");
    ASSERT_EQ(tree.Root()->Children.size(), 1u);
    EXPECT_EQ(tree.Root()->Children[0]->Text, "home");
    EXPECT_EQ(user.Text, "user");
    EXPECT_EQ(TFolderTree::GetNodePath(user), "/home/user");
    EXPECT_EQ(TFolderTree::GetNodeFolder(user), "/home/user/");
    EXPECT_EQ(TFolderTree::GetNodePath(*tree.Root()), "/");
    EXPECT_EQ(TFolderTree::GetNodeFolder(*tree.Root()), "/");
}

TEST(FolderTree, MergeLinksChildrenAndAddsFoldersInNameOrder) {
    const TLocaleTextCompare compare;
    TFolderTree tree;
    TFolderNode& home = tree.BuildChain("/home/user");
    TFolderNode& parent = *home.Parent; // "/home", with the chain child "user"
    parent.ListItems = std::make_unique<TFTPListItems>();
    AddEntry(*parent.ListItems, "zeta", false);
    TFTPListItem& user = AddEntry(*parent.ListItems, "user", false);
    AddEntry(*parent.ListItems, "Alpha", false);
    AddEntry(*parent.ListItems, "readme.txt", true, 10);
    AddEntry(*parent.ListItems, ".", false);
    AddEntry(*parent.ListItems, "..", false);
    RecordingObserver observer;
    tree.SetObserver(&observer);
    tree.MergeFolderNodes(parent, compare);
    EXPECT_EQ(ChildTexts(parent), (Names_t{"Alpha", "user", "zeta"}));
    EXPECT_EQ(home.ListItem, &user);
    EXPECT_EQ(tree.NodeOf(&user), &home);
    EXPECT_EQ(observer.events, (Names_t{"insert /home 1", "end", "insert /home 0", "end"}));
    // A second merge adds nothing.
    tree.MergeFolderNodes(parent, compare);
    EXPECT_EQ(parent.Children.size(), 3u);
    tree.SetObserver(nullptr);
}

TEST(FolderTree, RefreshDropsGoneFoldersWithTheirSubtreesAndSortsTheRest) {
    const TLocaleTextCompare compare;
    TFolderTree tree;
    TFolderNode& root = tree.BuildChain("/");
    root.ListItems = std::make_unique<TFTPListItems>();
    AddEntry(*root.ListItems, "keep", false);
    TFTPListItem& gone = AddEntry(*root.ListItems, "gone", false);
    AddEntry(*root.ListItems, "file.txt", true, 1);
    tree.MergeFolderNodes(root, compare);
    TFolderNode& goneNode = *TFolderTree::FindChildNode(root, "gone");
    goneNode.ListItems = std::make_unique<TFTPListItems>();
    TFTPListItem& deep = AddEntry(*goneNode.ListItems, "deep", false);
    tree.MergeFolderNodes(goneNode, compare);
    ASSERT_NE(tree.NodeOf(&deep), nullptr);
    tree.AppendChild(root, "typed"); // a folder the user changed to, not listed
    // A new listing: "gone" is no longer there, a file took the name "typed", "new" is new.
    tree.ForgetListing(root);
    EXPECT_EQ(tree.NodeOf(&gone), nullptr);
    root.ListItems = std::make_unique<TFTPListItems>();
    TFTPListItem& keep = AddEntry(*root.ListItems, "keep", false);
    AddEntry(*root.ListItems, "typed", true, 5);
    AddEntry(*root.ListItems, "New", false);
    AddEntry(*root.ListItems, "Aardvark", false);
    RecordingObserver observer;
    tree.SetObserver(&observer);
    tree.RefreshFolderNodes(root, compare);
    tree.SetObserver(nullptr);
    EXPECT_EQ(ChildTexts(root), (Names_t{"Aardvark", "keep", "New"}));
    EXPECT_EQ(tree.NodeOf(&keep), TFolderTree::FindChildNode(root, "keep"));
    EXPECT_EQ(tree.NodeOf(&deep), nullptr); // the subtree went with its node
    EXPECT_EQ(observer.events, (Names_t{"remove /gone", "end", "remove /typed", "end", "insert / 1",
                                        "end", "insert / 2", "end", "reorder /", "reordered /"}));
    // Renaming and removing single nodes.
    TFolderNode& newNode = *TFolderTree::FindChildNode(root, "New");
    tree.SetNodeText(newNode, "Newer");
    EXPECT_EQ(TFolderTree::GetNodePath(newNode), "/Newer");
    EXPECT_TRUE(TFolderTree::IsWithin(newNode, root));
    EXPECT_FALSE(TFolderTree::IsWithin(root, newNode));
    tree.RemoveNode(root); // the root stays
    EXPECT_EQ(tree.Root(), &root);
}

TEST(FileListContent, FilterCountsOnlyShownFilesAndKeepsAllFolders) {
    const TLocaleTextCompare compare;
    TFTPListItems listing;
    AddEntry(listing, "docs", false);
    AddEntry(listing, "a.txt", true, 1000);
    AddEntry(listing, "b.bin", true, 5000);
    AddEntry(listing, "c.txt", true, 24);
    TFileListContent list(compare);
    list.Fill(&listing, TMasks("*.txt"));
    EXPECT_EQ(Names(list), (Names_t{"docs", "a.txt", "c.txt"}));
    EXPECT_EQ(list.CountText(), "1 Folders, 2 Files, " + FormatFileSize(1024));
    list.Fill(&listing, TMasks("*.*"));
    EXPECT_EQ(list.Count(), 4u);
    list.Fill(&listing, TMasks("*"));
    EXPECT_EQ(list.Files(), 3);
    EXPECT_EQ(list.TotalSize(), 6024);
}

TEST(FileListContent, SortOrders) {
    const TLocaleTextCompare compare;
    TFTPListItems listing;
    AddEntry(listing, "beta", false, 0, "2001-01-01");
    AddEntry(listing, "Delta.txt", true, 300, "1999-05-05");
    AddEntry(listing, "alpha", false, 0, "2010-01-01");
    AddEntry(listing, "charlie.txt", true, 20, "2020-02-02");
    AddEntry(listing, "Echo.txt", true, 5'000'000'000, "2005-03-03");
    TFileListContent list(compare);
    list.Fill(&listing, TMasks("*"));
    EXPECT_EQ(Names(list), (Names_t{"alpha", "beta", "charlie.txt", "Delta.txt", "Echo.txt"}));
    list.Sort(TFileListContent::NextSortColumn(list.SortColumn(), 1));
    EXPECT_EQ(list.SortColumn(), -1);
    EXPECT_EQ(Names(list), (Names_t{"Echo.txt", "Delta.txt", "charlie.txt", "beta", "alpha"}));
    // The first click on Date shows the newest first, folders first (dates run the other way
    // round from the other columns); the second click turns it all round.
    list.Sort(TFileListContent::NextSortColumn(-1, 4));
    EXPECT_EQ(Names(list), (Names_t{"alpha", "beta", "charlie.txt", "Echo.txt", "Delta.txt"}));
    list.Sort(TFileListContent::NextSortColumn(4, 4));
    EXPECT_EQ(Names(list), (Names_t{"Delta.txt", "Echo.txt", "charlie.txt", "beta", "alpha"}));
    // Sizes order the files (beyond 4 GiB too); folders come first.
    list.Sort(2);
    const Names_t sized = Names(list);
    EXPECT_EQ(Names_t(sized.begin() + 2, sized.end()),
              (Names_t{"charlie.txt", "Delta.txt", "Echo.txt"}));
    // A new fill keeps the sort column.
    list.Fill(&listing, TMasks("*.txt"));
    EXPECT_EQ(list.SortColumn(), 2);
    EXPECT_FALSE(list.At(0).IsFile);
    EXPECT_EQ(list.At(2).Name, "charlie.txt");
}

TEST(FileListContent, EqualValuesGoByNameAndUnknownSizesShowNothing) {
    const TLocaleTextCompare compare;
    TFTPListItems listing;
    AddEntry(listing, "b.txt", true, 10, "2020-01-01");
    AddEntry(listing, "C.txt", true, 10, "2020-01-01");
    AddEntry(listing, "a.txt", true, 10, "2020-01-01");
    TFTPListItem& link = AddEntry(listing, "link", true, -1, "2019-01-01");
    link.IsLink = true;
    TFileListContent list(compare);
    list.Fill(&listing, TMasks("*"));
    for (const int column : {2, 3, 4, 5}) {
        list.Sort(column);
        const Names_t sorted = Names(list);
        // The link comes first by its size (-1), last by its older date (newest first).
        const std::ptrdiff_t first = column == 2 ? 1 : 0;
        const Names_t tied(sorted.begin() + first, sorted.begin() + first + 3);
        EXPECT_EQ(tied, (Names_t{"a.txt", "b.txt", "C.txt"})) << "column " << column;
    }
    // A link of unknown size shows no size and adds nothing to the total.
    EXPECT_EQ(TFileListContent::CellText(link, 1), "");
    EXPECT_EQ(list.TotalSize(), 30);

    // Entries leave and join the list with the counters.
    TFTPListItem& folder = AddEntry(listing, "made", false);
    EXPECT_EQ(list.Append(&folder), 4u);
    EXPECT_EQ(list.Folders(), 1);
    EXPECT_EQ(list.Remove({&link, &listing.Items(0)}), 2u);
    EXPECT_EQ(list.Files(), 2);
    EXPECT_EQ(list.TotalSize(), 20);
    EXPECT_EQ(list.RowOf(&link), -1);
    list.Sort(1);
    EXPECT_EQ(Names(list), (Names_t{"made", "a.txt", "C.txt"}));
}

TEST(RemoteExpTexts, TransferPanelsAndLogColours) {
    TTransferPanels unknown = TransferPanels(-1, 500, 500, 1000);
    EXPECT_EQ(unknown.Size, "");
    EXPECT_EQ(unknown.Position, "500");
    EXPECT_EQ(unknown.Rate, "0.49 KB/s");
    EXPECT_EQ(unknown.TimeLeft, "");
    EXPECT_EQ(unknown.Done, "");
    TTransferPanels empty = TransferPanels(0, 0, 0, 10);
    EXPECT_EQ(empty.TimeLeft, "00:00:00");
    EXPECT_EQ(empty.Done, "100 %");
    // 1000 bytes a second with 18,243,000 bytes to go: 5 h 4 min 3 s.
    TTransferPanels running = TransferPanels(18'244'000, 1000, 1000, 1000);
    EXPECT_EQ(running.TimeLeft, "05:04:03");
    EXPECT_EQ(running.Done, "0 %");

    EXPECT_EQ(LogLineColour("! Failed"), TLogColour::Red);
    EXPECT_EQ(LogLineColour("< 550 No such file"), TLogColour::Red);
    EXPECT_EQ(LogLineColour("< 421 Bye"), TLogColour::Red);
    EXPECT_EQ(LogLineColour("< 226 Done"), TLogColour::Green);
    EXPECT_EQ(LogLineColour("> LIST"), TLogColour::Blue);
    EXPECT_EQ(LogLineColour("~ Contacting"), TLogColour::Grey);
    EXPECT_EQ(LogLineColour("plain"), TLogColour::Black);
    EXPECT_EQ(SelectionText(1, 2, 0), "1 Folders, 2 Files Selected, " + FormatFileSize(0));
}

TEST(RemoteExpList, MostRecentlyActivatedFirst) {
    TRemoteExplorer a, b, c;
    TRemoteExpList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    list.MoveToFront(&c);
    EXPECT_EQ(list.First(), &c);
    EXPECT_EQ(list.Items(1), &a);
    list.Remove(&c);
    list.Remove(&c);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.First(), &a);
}
