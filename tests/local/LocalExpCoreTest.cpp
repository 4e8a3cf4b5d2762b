// SPDX-License-Identifier: GPL-3.0-or-later
// The local explorer's logic without a window: the enable rules, the uploads and queue items it
// makes, the remote entries it receives, its texts, its settings and its file operations.

#include "local/LocalExpCommands.h"
#include "local/LocalExpSettings.h"
#include "local/LocalExpTexts.h"
#include "local/LocalFileSystem.h"
#include "local/LocalFolderListing.h"
#include "local/LocalTransfers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qx;
using namespace qx::test;

namespace {

using C = TLocalCommand;

TLocalExpState ListWith(int selected) {
    TLocalExpState state;
    state.HasRemoteExplorer = true;
    state.ListActive = true;
    state.CurrentFolderUsable = true;
    state.ListSelected = selected;
    return state;
}

TSessionLogin Server() {
    TSessionLogin login;
    login.HostName = "ftp.example.org";
    login.Port = "2121";
    login.UserName = "ann";
    login.Password = "secret";
    login.TransferType = TFTPTransferType::ftpTypeAuto;
    login.ResumeTransfer = true;
    login.PassiveMode = true;
    login.Protocol = TRemoteProtocolKind::Sftp;
    login.Ssh.IdentityFile = "/keys/ann";
    return login;
}

TFTPListItem Remote(const std::string& name, bool file, std::int64_t size, int image) {
    TFTPListItem entry;
    entry.Name = name;
    entry.IsFile = file;
    entry.Size = size;
    entry.ImageIndex = image;
    entry.TypeName = file ? "Text Document" : "Folder";
    return entry;
}

} // namespace

TEST(LocalExpRules, UploadsNeedARemoteExplorerAndOnlyDirectUploadNeedsItIdle) {
    TLocalExpState state = ListWith(2);
    EXPECT_TRUE(LocalCommandEnabled(C::Upload, state));
    EXPECT_TRUE(LocalCommandEnabled(C::UploadInQueue, state));
    state.RemoteBusy = true;
    EXPECT_FALSE(LocalCommandEnabled(C::Upload, state));
    EXPECT_TRUE(LocalCommandEnabled(C::UploadInQueue, state));
    EXPECT_TRUE(LocalCommandEnabled(C::Synchronize, state));
    state.HasRemoteExplorer = false;
    EXPECT_FALSE(LocalCommandEnabled(C::Upload, state));
    EXPECT_FALSE(LocalCommandEnabled(C::UploadInQueue, state));
    EXPECT_FALSE(LocalCommandEnabled(C::Synchronize, state));
}

TEST(LocalExpRules, DriveRootsAreNeitherUploadedNorChanged) {
    TLocalExpState list = ListWith(1);
    list.AnySelectedIsDriveRoot = true;
    list.FirstSelectedIsFolder = true;
    for (C command : {C::Upload, C::UploadInQueue, C::Delete, C::Cut, C::Rename}) {
        EXPECT_FALSE(LocalCommandEnabled(command, list)) << static_cast<int>(command);
    }
    EXPECT_TRUE(LocalCommandEnabled(C::Copy, list));

    TLocalExpState tree;
    tree.HasRemoteExplorer = true;
    tree.TreeActive = true;
    tree.TreeTargetIsFolder = true;
    tree.TreeTargetWritableParent = true;
    EXPECT_TRUE(LocalCommandEnabled(C::Upload, tree));
    EXPECT_TRUE(LocalCommandEnabled(C::Rename, tree));
    tree.TreeTargetIsDriveRoot = true;
    EXPECT_FALSE(LocalCommandEnabled(C::Upload, tree));
    EXPECT_FALSE(LocalCommandEnabled(C::Rename, tree));
    EXPECT_TRUE(LocalCommandEnabled(C::NewFolder, tree));
    tree.TreeTargetIsFolder = false; // no folder of the file system under the node
    EXPECT_FALSE(LocalCommandEnabled(C::NewFolder, tree));
    EXPECT_FALSE(LocalCommandEnabled(C::Paste, tree));
}

TEST(LocalExpRules, ListCommandsFollowTheSelection) {
    EXPECT_FALSE(LocalCommandEnabled(C::Upload, ListWith(0)));
    EXPECT_FALSE(LocalCommandEnabled(C::Open, ListWith(2)));
    EXPECT_TRUE(LocalCommandEnabled(C::Open, ListWith(1)));
    TLocalExpState folder = ListWith(1);
    folder.FirstSelectedIsFolder = true;
    EXPECT_FALSE(LocalCommandEnabled(C::Print, folder));
    EXPECT_TRUE(LocalCommandEnabled(C::Print, ListWith(1)));
    EXPECT_FALSE(LocalCommandEnabled(C::Rename, ListWith(2)));
    TLocalExpState readOnly = ListWith(1);
    readOnly.AllSelectedInWritableFolder = false;
    EXPECT_FALSE(LocalCommandEnabled(C::Delete, readOnly));
    EXPECT_FALSE(LocalCommandEnabled(C::ContextMenu, ListWith(0)));
    EXPECT_TRUE(LocalCommandEnabled(C::Properties, ListWith(0)));

    // Paste: something on the clipboard, and a folder to put it in.
    TLocalExpState paste = ListWith(0);
    EXPECT_FALSE(LocalCommandEnabled(C::Paste, paste));
    paste.ClipboardHasFiles = true;
    EXPECT_TRUE(LocalCommandEnabled(C::Paste, paste));
    paste.ListSelected = 1;
    EXPECT_FALSE(LocalCommandEnabled(C::Paste, paste));
    paste.FirstSelectedIsFolder = true;
    EXPECT_TRUE(LocalCommandEnabled(C::Paste, paste));
    paste.ListSelected = 2;
    EXPECT_FALSE(LocalCommandEnabled(C::Paste, paste));
}

TEST(LocalTransfers, TwoFilesAndAFolderMakeOneRequestOfThreeEntries) {
    const std::vector<TLocalEntry> entries = {
        {"/home/ann/a.txt", false, "Text", 5},
        {"/home/ann/b.bin", false, "Binary", 6},
        {"/home/ann/docs", true, "Folder", 2},
    };
    const auto uploads = MakeDirectUploads("/pub/in/", entries);
    ASSERT_EQ(uploads.size(), 3u);
    EXPECT_EQ(uploads[0].RemotePath, "/pub/in/a.txt");
    EXPECT_EQ(uploads[0].LocalPath, "/home/ann/a.txt");
    EXPECT_FALSE(uploads[0].IsFolder);
    EXPECT_EQ(uploads[1].RemotePath, "/pub/in/b.bin");
    EXPECT_EQ(uploads[2].RemotePath, "/pub/in/docs");
    EXPECT_TRUE(uploads[2].IsFolder);
}

TEST(LocalTransfers, NamesWithLineBreaksNeverReachTheServer) {
    std::vector<std::string> skipped;
    const auto uploads = MakeDirectUploads(
        "/", {{"/tmp/evil\r\nDELE x", false, "", 0}, {"/tmp/ok", false, "", 0}}, &skipped);
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].RemotePath, "/ok");
    ASSERT_EQ(skipped.size(), 1u);
    const auto items = MakeQueuedUploadItems(Server(), "/", {{"/tmp/a\nb", false, "", 0}}, "F");
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(IsUploadableName(std::string("a\0b", 3)));
}

TEST(LocalTransfers, QueuedUploadsCarryTheSessionAndTheLocalSizes) {
    TempDir dir;
    dir.write("data.bin", std::string(1234, 'x'));
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string root = dir.path().string();
    const auto items = MakeQueuedUploadItems(
        Server(), "/up/",
        {{root + "/data.bin", false, "Binary File", 9}, {root + "/sub/", true, "Folder", 2}},
        "File Folder");
    ASSERT_EQ(items.size(), 2u);
    const TFTPCarryItem& file = *items[0];
    EXPECT_EQ(file.Direction, TCarryDirection::Upload);
    EXPECT_FALSE(file.IsFolder);
    EXPECT_EQ(file.FileName, "data.bin");
    EXPECT_EQ(file.SrcPath, root + "/");
    EXPECT_EQ(file.FileSize, 1234);
    EXPECT_EQ(file.TypeName, "Binary File");
    EXPECT_EQ(file.ImageIndex, 9);
    EXPECT_EQ(file.DestHostName, "ftp.example.org");
    EXPECT_EQ(file.DestPort, "2121");
    EXPECT_EQ(file.DestUserName, "ann");
    EXPECT_EQ(file.DestPassword, "secret");
    EXPECT_EQ(file.DestProtocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(file.DestSsh.IdentityFile, "/keys/ann");
    EXPECT_EQ(file.DestPath, "/up/");
    EXPECT_EQ(file.DestTransferType, TFTPTransferType::ftpTypeAuto);
    EXPECT_TRUE(file.ResumeTransfer);
    EXPECT_TRUE(file.PassiveMode);
    const TFTPCarryItem& folder = *items[1];
    EXPECT_TRUE(folder.IsFolder);
    EXPECT_EQ(folder.FileName, "sub");
    EXPECT_EQ(folder.SrcPath, root + "/");
    EXPECT_EQ(folder.FileSize, -1);
    EXPECT_EQ(folder.TypeName, "File Folder");
}

TEST(LocalTransfers, ReceivedEntriesDownloadIntoTheFolderAndHostileNamesAreLeftOut) {
    TFTPFileData data;
    data.HostName = "10.0.0.1";
    data.Port = "21";
    data.UserName = "bob";
    data.Password = "pw";
    data.HostDirName = "/pub/";
    data.PassiveMode = true;
    data.ResumeTransfer = true;
    data.TransferType = TFTPTransferType::ftpTypeASCII;
    data.Items = {Remote("notes.txt", true, 77, 12), Remote("photos", false, -1, 2),
                  Remote("..", false, -1, 2), Remote("a/b", true, 1, 3)};
    std::vector<std::string> skipped;
    const auto items = MakeReceivedItems(data, "/home/ann/in", &skipped);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(skipped, (std::vector<std::string>{"..", "a/b"}));
    const TFTPCarryItem& file = *items[0];
    EXPECT_EQ(file.Direction, TCarryDirection::Download);
    EXPECT_FALSE(file.IsFolder);
    EXPECT_EQ(file.FileName, "notes.txt");
    EXPECT_EQ(file.SrcHostName, "10.0.0.1");
    EXPECT_EQ(file.SrcUserName, "bob");
    EXPECT_EQ(file.SrcPassword, "pw");
    EXPECT_EQ(file.SrcPath, "/pub/");
    EXPECT_EQ(file.SrcTransferType, TFTPTransferType::ftpTypeASCII);
    EXPECT_EQ(file.DestPath, "/home/ann/in/");
    EXPECT_EQ(file.FileSize, 77);
    EXPECT_EQ(file.ImageIndex, 12);
    EXPECT_TRUE(file.PassiveMode);
    EXPECT_TRUE(file.ResumeTransfer);
    EXPECT_TRUE(items[1]->IsFolder);
    EXPECT_EQ(items[1]->FileSize, -1);
}

TEST(LocalTransfers, DestinationFolderRules) {
    EXPECT_EQ(PasteDestination(true, "/t", std::string("/sel"), "/cur"), "/t/");
    EXPECT_EQ(PasteDestination(false, "/t", std::string("/cur/sel"), "/cur"), "/cur/sel/");
    EXPECT_EQ(PasteDestination(false, "/t", std::nullopt, "/cur"), "/cur/");
    // A drop on a file item goes into the current folder, on a folder item into it.
    EXPECT_EQ(ListDropDestination("/cur", std::nullopt), "/cur/");
    EXPECT_EQ(ListDropDestination("/cur/", std::string("photos")), "/cur/photos/");
    EXPECT_EQ(ListDropDestination("/", std::string("..")), "/");
    EXPECT_EQ(LocalBaseName("/a/b/"), "b");
    EXPECT_EQ(LocalParentFolder("/a/b/"), "/a/");
    EXPECT_EQ(LocalParentFolder("/a"), "/");
    EXPECT_EQ(LocalBaseName("/"), "");
    EXPECT_EQ(CleanLocalPath("//a/./b//../c/"), "/a/c");
    EXPECT_EQ(CleanLocalPath("/a/../../.."), "/");
}

TEST(LocalExpTexts, ArrangeTurnsTheDirectionOfTheSameColumnOnly) {
    int sort = 1;
    sort = NextSortColumn(sort, 2);
    EXPECT_EQ(sort, 2);
    sort = NextSortColumn(sort, 2);
    EXPECT_EQ(sort, -2);
    sort = NextSortColumn(sort, 1);
    EXPECT_EQ(sort, 1);
    EXPECT_EQ(NextSortColumn(-4, 4), 4);
}

TEST(LocalExpTexts, SelectionCountersAndStatusTexts) {
    TSelectionCounters counters;
    EXPECT_EQ(SelectionStatusText(counters), "");
    counters.Change(false, 2048, true);
    counters.Change(false, 0, true);
    counters.Change(true, -1, true);
    EXPECT_EQ(counters.Files, 2);
    EXPECT_EQ(counters.Folders, 1);
    EXPECT_EQ(counters.Bytes, 2048);
    EXPECT_EQ(SelectionStatusText(counters), "1 Folders, 2 Files Selected, 2.0 KB");
    counters.Change(false, 2048, false);
    EXPECT_EQ(counters.Bytes, 0);
    EXPECT_EQ(FolderStatusText(3, 4, 3 * 1048576LL), "3 Folders, 4 Files, 3.0 MB");
    EXPECT_EQ(FileListCaption("/home", "*.*"), "File List [/home][*.*]");
}

TEST(LocalExpTexts, FilterPatterns) {
    EXPECT_TRUE(FilterPatterns("*.*").empty());
    EXPECT_TRUE(FilterPatterns("*").empty());
    EXPECT_TRUE(FilterPatterns(" ; ").empty());
    EXPECT_TRUE(FilterPatterns("*.txt;*.*").empty());
    EXPECT_EQ(FilterPatterns("*.txt; *.htm "), (std::vector<std::string>{"*.txt", "*.htm"}));
}

TEST(LocalExpSettings, RoundTripAndRejectedValues) {
    TempDir dir;
    TConfigStore store(dir.path() / "settings.conf");
    TLocalExpSettings none;
    EXPECT_FALSE(none.LoadFromStore(store));
    EXPECT_FALSE(none.FolderPath);

    TLocalExpSettings saved;
    saved.Left = 10;
    saved.Top = 20;
    saved.Width = 600;
    saved.Height = 400;
    saved.FolderTreePanelWidth = 180;
    saved.FolderPath = "/tmp";
    saved.SortColumn = -3;
    saved.ViewStyle = 3;
    saved.ToolbarState = std::string("\x01\x00\x02", 3);
    saved.SaveToStore(store, false);
    TLocalExpSettings loaded;
    ASSERT_TRUE(loaded.LoadFromStore(store));
    EXPECT_EQ(loaded.Left, 10);
    EXPECT_EQ(loaded.Height, 400);
    EXPECT_EQ(loaded.FolderTreePanelWidth, 180);
    EXPECT_EQ(loaded.FolderPath, "/tmp");
    EXPECT_EQ(loaded.SortColumn, -3);
    EXPECT_EQ(loaded.ViewStyle, 3);
    EXPECT_EQ(loaded.ToolbarState, saved.ToolbarState);

    const std::string key(LocalExplorerKey);
    store.WriteNumber(key, "SortColumn", 9);
    store.WriteString(key, "ViewStyle", "3");
    store.WriteNumber(key, "Left", 99);
    TLocalExpSettings bad;
    ASSERT_TRUE(bad.LoadFromStore(store));
    EXPECT_FALSE(bad.SortColumn);
    EXPECT_FALSE(bad.ViewStyle);

    // A maximised window keeps its stored place.
    saved.Left = 500;
    saved.SaveToStore(store, true);
    EXPECT_EQ(store.ReadNumber(key, "Left"), 99);
}

TEST(LocalExpSettings, AFolderThatIsGoneOpensTheCurrentFolder) {
    TempDir dir;
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(StartFolder(dir.path().string()), dir.path().string());
    EXPECT_EQ(StartFolder(dir.file("deleted")), current);
    EXPECT_EQ(StartFolder(std::string()), current);
    EXPECT_EQ(StartFolder(std::nullopt), current);
    EXPECT_EQ(StartFolder(dir.write("file", "x")), current);
}

TEST(LocalFileSystem, MountRoots) {
    EXPECT_TRUE(IsMountRoot("/"));
    TempDir dir;
    EXPECT_FALSE(IsMountRoot(dir.path().string()));
    EXPECT_FALSE(IsMountRoot(dir.file("missing")));
    if (std::filesystem::exists("/proc/self")) {
        EXPECT_TRUE(IsMountRoot("/proc")); // its own file system
    }
}

TEST(LocalFileSystem, NewFoldersLinksAndRenamesNeverTakeAnExistingName) {
    TempDir dir;
    const std::string root = dir.path().string();
    std::string error;
    EXPECT_EQ(MakeNewFolder(root, error), root + "/New Folder");
    EXPECT_EQ(MakeNewFolder(root, error), root + "/New Folder (2)");
    dir.write("a.txt", "A");
    EXPECT_EQ(UniqueName(root, "a.txt", true), "a (2).txt");
    const auto link = MakeLinkTo(root + "/a.txt", root, error);
    ASSERT_TRUE(link);
    EXPECT_EQ(*link, root + "/Link to a.txt");
    EXPECT_EQ(std::filesystem::read_symlink(*link).string(), root + "/a.txt");
    EXPECT_EQ(MakeLinkTo(root + "/a.txt", root, error), root + "/Link to a.txt (2)");

    dir.write("b.txt", "B");
    EXPECT_FALSE(RenameLocal(root + "/b.txt", "a.txt", error));
    EXPECT_EQ(readFile(root + "/a.txt"), "A");
    EXPECT_FALSE(RenameLocal(root + "/b.txt", "../escape", error));
    EXPECT_FALSE(RenameLocal(root + "/b.txt", "..", error));
    EXPECT_TRUE(RenameLocal(root + "/b.txt", "c.txt", error));
    EXPECT_EQ(readFile(root + "/c.txt"), "B");
}

TEST(LocalFolderListing, ReadsInBatchesFollowsLinksAndStopsWhenAsked) {
    TempDir dir;
    const std::string root = dir.path().string();
    for (int i = 0; i < 25; ++i) {
        dir.write("f" + std::to_string(i), std::string(static_cast<std::size_t>(i), 'x'));
    }
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::create_directory_symlink(dir.path() / "sub", dir.path() / "to-sub");
    std::filesystem::create_symlink(dir.path() / "gone", dir.path() / "dangling");
    std::vector<TLocalFileEntry> all;
    int batches = 0;
    std::string error;
    std::stop_source stop;
    ASSERT_TRUE(ReadLocalFolder(
        root, 10,
        [&](std::vector<TLocalFileEntry>&& batch) {
            EXPECT_LE(batch.size(), 10u);
            ++batches;
            std::move(batch.begin(), batch.end(), std::back_inserter(all));
        },
        stop.get_token(), error));
    EXPECT_EQ(all.size(), 28u);
    EXPECT_EQ(batches, 3);
    SortLocalEntries(all, 1, [](const TLocalFileEntry&) { return std::string(); });
    EXPECT_EQ(all[0].Name, "sub"); // folders first, the link to a folder among them
    EXPECT_EQ(all[1].Name, "to-sub");
    EXPECT_TRUE(all[1].IsFolder && all[1].IsLink);
    EXPECT_EQ(all[2].Name, "dangling");
    EXPECT_FALSE(all[2].IsFolder);
    EXPECT_EQ(all[2].Size, 0);

    std::vector<TLocalFileEntry> some;
    stop.request_stop();
    EXPECT_TRUE(ReadLocalFolder(
        root, 10, [&](std::vector<TLocalFileEntry>&& batch) { some = batch; }, stop.get_token(),
        error));
    EXPECT_TRUE(some.empty());
    EXPECT_FALSE(ReadLocalFolder(
        dir.file("missing"), 10, [](std::vector<TLocalFileEntry>&&) {}, std::stop_token(), error));
    EXPECT_FALSE(error.empty());
}

TEST(LocalFolderListing, SortColumnsAndFilters) {
    std::vector<TLocalFileEntry> entries = {
        {"b.txt", false, false, 30, 300}, {"A.bin", false, false, 10, 100},
        {"zeta", true, false, -1, 50},    {"c.txt", false, false, 20, 200},
        {"Alpha", true, false, -1, 60},
    };
    const auto names = [&] {
        std::vector<std::string> result;
        for (const auto& entry : entries) {
            result.push_back(entry.Name);
        }
        return result;
    };
    const auto type = [](const TLocalFileEntry& entry) {
        return entry.Name.ends_with(".txt") ? std::string("Text") : std::string("Binary");
    };
    SortLocalEntries(entries, 1, type);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "zeta", "A.bin", "b.txt", "c.txt"}));
    SortLocalEntries(entries, -2, type);
    EXPECT_EQ(names(), (std::vector<std::string>{"zeta", "Alpha", "b.txt", "c.txt", "A.bin"}));
    SortLocalEntries(entries, 3, type);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "zeta", "A.bin", "b.txt", "c.txt"}));
    // The date column shows the newest first on the first click, as the remote explorer does.
    SortLocalEntries(entries, 4, type);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "zeta", "b.txt", "c.txt", "A.bin"}));
    SortLocalEntries(entries, -4, type);
    EXPECT_EQ(names(), (std::vector<std::string>{"zeta", "Alpha", "A.bin", "c.txt", "b.txt"}));

    const std::vector<std::string> txt = {"*.txt"};
    EXPECT_TRUE(PassesFilter({"notes.txt", false, false, 1, 0}, txt));
    EXPECT_FALSE(PassesFilter({"notes.TXT.bak", false, false, 1, 0}, txt));
    EXPECT_TRUE(PassesFilter({"folder", true, false, -1, 0}, txt)); // folders always
    EXPECT_FALSE(PassesFilter({".hidden.txt", false, false, 1, 0}, txt));
    EXPECT_TRUE(PassesFilter({"anything", false, false, 1, 0}, {}));
}
