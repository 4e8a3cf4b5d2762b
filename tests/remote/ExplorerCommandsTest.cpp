// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's command logic without a window: the enable rules, the permission bits
// of the change permission dialog, Copy URL, and the queue items that downloads and drops make.

#include "remote/ExplorerCommands.h"
#include "base/ShellIcons.h"
#include "remote/PermissionBits.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qx;
using namespace qx::test;

namespace {

using C = TExplorerCommand;

TExplorerState IdleList(int selected, bool firstIsFile = true) {
    TExplorerState state;
    state.Connected = true;
    state.ListActive = true;
    state.HasTreeTarget = true;
    state.ListSelected = selected;
    state.FirstSelectedIsFile = selected > 0 && firstIsFile;
    state.FirstSelectedIsFolder = selected > 0 && !firstIsFile;
    state.LocalFolderUsable = true;
    state.EditorAvailable = true;
    return state;
}

TFTPListItem Entry(const std::string& name, bool file, std::int64_t size = 0) {
    TFTPListItem entry;
    entry.Name = name;
    entry.IsFile = file;
    entry.Size = file ? size : -1;
    return entry;
}

TSessionLogin LoginOf(const std::string& host, const std::string& user) {
    TSessionLogin login;
    login.HostName = host;
    login.Port = "2121";
    login.UserName = user;
    login.Password = "pw";
    return login;
}

} // namespace

TEST(ExplorerCommands, ComparingStartsConnectedAndEndsAlways) {
    TExplorerState state = IdleList(0);
    EXPECT_TRUE(CommandEnabled(C::Compare, state));
    EXPECT_FALSE(CommandEnabled(C::CompareDifferences, state));
    state.Connected = false;
    EXPECT_FALSE(CommandEnabled(C::Compare, state));
    state.Comparing = true;
    EXPECT_TRUE(CommandEnabled(C::Compare, state)) << "a lost session still ends a comparison";
    state.Connected = true;
    EXPECT_TRUE(CommandEnabled(C::CompareDifferences, state));
}

TEST(ExplorerCommands, EnableRulesFollowPaneSelectionAndSession) {
    TExplorerState state = IdleList(1);
    EXPECT_TRUE(CommandEnabled(C::Download, state));
    EXPECT_TRUE(CommandEnabled(C::OnlineEdit, state));
    EXPECT_FALSE(CommandEnabled(C::Abort, state));
    // The local explorer on a folder that is not on the file system: no download there.
    state.LocalFolderUsable = false;
    EXPECT_FALSE(CommandEnabled(C::Download, state));
    EXPECT_FALSE(CommandEnabled(C::DownloadInQueue, state));
    // Busy: queueing and Copy go on, requests of the session do not; Abort does.
    state = IdleList(2);
    state.Busy = true;
    EXPECT_TRUE(CommandEnabled(C::DownloadTo, state));
    EXPECT_TRUE(CommandEnabled(C::DownloadInQueue, state));
    EXPECT_TRUE(CommandEnabled(C::Copy, state));
    EXPECT_TRUE(CommandEnabled(C::Abort, state));
    EXPECT_TRUE(CommandEnabled(C::Synchronize, state)); // a session of its own
    for (const C command : {C::Download, C::Delete, C::ChangePermission, C::Refresh,
                            C::ChangeFolder, C::Filtering, C::NewFolder, C::Find}) {
        EXPECT_FALSE(CommandEnabled(command, state)) << static_cast<int>(command);
    }
    // One item for Rename, Properties, Copy URL, Open; files only for Online Edit and Print.
    state = IdleList(2);
    EXPECT_TRUE(CommandEnabled(C::Delete, state));
    EXPECT_FALSE(CommandEnabled(C::Rename, state));
    EXPECT_FALSE(CommandEnabled(C::Properties, state));
    EXPECT_FALSE(CommandEnabled(C::Open, state));
    state = IdleList(1, false);
    EXPECT_TRUE(CommandEnabled(C::Open, state));
    EXPECT_FALSE(CommandEnabled(C::OnlineEdit, state));
    EXPECT_FALSE(CommandEnabled(C::Print, state));
    state = IdleList(1);
    state.EditorAvailable = false;
    EXPECT_FALSE(CommandEnabled(C::OnlineEdit, state));
    // Up One Level at the root does nothing (Backspace runs it).
    state.SelectedNodeIsRoot = true;
    EXPECT_FALSE(CommandEnabled(C::UpOneLevel, state));
    // Paste: something to paste, and the list shows no selection or one folder.
    state = IdleList(0);
    EXPECT_FALSE(CommandEnabled(C::Paste, state));
    state.ClipboardHasFiles = true;
    EXPECT_TRUE(CommandEnabled(C::Paste, state));
    state = IdleList(1, true);
    state.ClipboardHasFiles = true;
    EXPECT_FALSE(CommandEnabled(C::Paste, state));
    state = IdleList(1, false);
    state.ClipboardHasFiles = true;
    EXPECT_TRUE(CommandEnabled(C::Paste, state));
    // The tree: its target must not be the root, except for New Folder.
    state = IdleList(0);
    state.ListActive = false;
    state.TreeActive = true;
    state.TreeTargetIsRoot = true;
    EXPECT_FALSE(CommandEnabled(C::Delete, state));
    EXPECT_FALSE(CommandEnabled(C::Rename, state));
    EXPECT_TRUE(CommandEnabled(C::NewFolder, state));
    state.TreeTargetIsRoot = false;
    EXPECT_TRUE(CommandEnabled(C::Rename, state));
    EXPECT_TRUE(CommandEnabled(C::CopyURL, state));
    // Neither pane active, or no tree yet: nothing.
    state.TreeActive = false;
    EXPECT_FALSE(CommandEnabled(C::Delete, state));
    state = IdleList(1);
    state.Connected = false;
    EXPECT_FALSE(CommandEnabled(C::Refresh, state));
}

TEST(ExplorerCommands, PermissionBitsAndTheirTwoTexts) {
    TPermissionBits bits;
    bits.SetPermission("drwxr-xr-x");
    EXPECT_EQ(bits.GetOctal(), "755");
    EXPECT_EQ(bits.GetPermission(), "-rwxr-xr-x");
    EXPECT_TRUE(bits.Bit(TPermissionBits::pcGroup, TPermissionBits::pbExecute));
    EXPECT_FALSE(bits.Bit(TPermissionBits::pcOther, TPermissionBits::pbWrite));
    // Set-user-id and sticky bits count as executable; three digits cannot carry them.
    bits = {};
    bits.SetPermission("-rwsr-xr-t");
    EXPECT_EQ(bits.GetOctal(), "755");
    bits = {};
    bits.SetPermission("");
    EXPECT_EQ(bits.GetOctal(), "000");
    bits.SetPermission("d");
    EXPECT_EQ(bits.GetPermission(), "----------");
    // A short text sets what it reaches.
    bits.SetPermission("-rw");
    EXPECT_EQ(bits.GetOctal(), "600");
    // Raising a digit from 5 to 6 trades Executable for Writable.
    bits.SetDigit(TPermissionBits::pcGroup, 5);
    bits.SetDigit(TPermissionBits::pcGroup, bits.Digit(TPermissionBits::pcGroup) + 1);
    EXPECT_TRUE(bits.Bit(TPermissionBits::pcGroup, TPermissionBits::pbWrite));
    EXPECT_FALSE(bits.Bit(TPermissionBits::pcGroup, TPermissionBits::pbExecute));
    bits.SetDigit(TPermissionBits::pcOther, 9);
    EXPECT_EQ(bits.Digit(TPermissionBits::pcOther), 7);
    EXPECT_EQ(ChangedPermission("-rwxr-xr-x", true), "drwxr-xr-x");
    EXPECT_EQ(ChangedPermission("-rwxr-xr-x", false), "-rwxr-xr-x");
}

TEST(ExplorerCommands, CopyUrlNamesTheUserUnlessExactlyAnonymous) {
    TSessionLogin plain = LoginOf("ftp.example.org", "anonymous");
    plain.Port = "21";
    EXPECT_EQ(CopyUrlText(plain, "/pub/readme.txt"), "ftp://ftp.example.org/pub/readme.txt");
    // The password never goes into the text; a port other than 21 does; what a URL cannot
    // carry is encoded.
    EXPECT_EQ(CopyUrlText(LoginOf("ftp.example.org", "Anonymous"), "/pub/readme.txt"),
              "ftp://Anonymous@ftp.example.org:2121/pub/readme.txt");
    EXPECT_EQ(CopyUrlText(LoginOf("h", "joe"), "/"), "ftp://joe@h:2121/");
    EXPECT_EQ(CopyUrlText(LoginOf("h", "joe@work:1"), "/my docs/100%#1?.txt"),
              "ftp://joe%40work%3A1@h:2121/my%20docs/100%25%231%3F.txt");
    EXPECT_EQ(CopyUrlText(LoginOf("h", "joe"), "/caf\xC3\xA9"), "ftp://joe@h:2121/caf%C3%A9");
}

TEST(ExplorerCommands, AnSftpSessionKeepsItsProtocolAndSshSettingsInUrlsDropsAndQueueItems) {
    TSessionLogin sftp = LoginOf("shell.example.org", "joe");
    sftp.Protocol = TRemoteProtocolKind::Sftp;
    sftp.Ssh.IdentityFile = "/keys/id";
    sftp.Ssh.UseAgent = false;
    sftp.Port = "22";
    EXPECT_EQ(CopyUrlText(sftp, "/srv/a.txt"), "sftp://joe@shell.example.org/srv/a.txt");
    sftp.UserName.clear(); // ssh's own choice of user
    sftp.Port = "2222";
    EXPECT_EQ(CopyUrlText(sftp, "/"), "sftp://shell.example.org:2222/");

    const TFTPFileData dragged = MakeFileData(sftp, "/srv", {Entry("a.txt", true, 1)});
    const TSessionLogin back = FileDataLogin(dragged);
    EXPECT_EQ(back.Protocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(back.Ssh, sftp.Ssh);
    const auto copies = MakeServerToServerItems(dragged, LoginOf("ftp", "u"), "/in/");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0]->SrcProtocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(copies[0]->SrcSsh, sftp.Ssh);
    EXPECT_EQ(copies[0]->DestProtocol, TRemoteProtocolKind::Ftp);
    const auto downloads =
        MakeDownloadItems(sftp, "/srv/", {Entry("a.txt", true, 1)}, "/home/me", nullptr);
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0]->SrcProtocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(downloads[0]->SrcSsh.IdentityFile, "/keys/id");
    TempDir local;
    local.write("up.txt", "1");
    const auto uploads =
        MakeUploadItems({(local.path() / "up.txt").string()}, sftp, "/srv/", TShellIcons(false));
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0]->DestProtocol, TRemoteProtocolKind::Sftp);
    EXPECT_FALSE(uploads[0]->DestSsh.UseAgent);
}

TEST(ExplorerCommands, SameServerDropsIntoThemselvesAreRefused) {
    TFTPFileData folder = MakeFileData(LoginOf("h", "u"), "/a", {Entry("b", false)});
    EXPECT_EQ(folder.HostDirName, "/a/");
    EXPECT_EQ(SameServerDropProblem(folder, "/a/b/"),
              "Destination folder is same with source folder");
    EXPECT_EQ(SameServerDropProblem(folder, "/a/"),
              "Destination folder is same with source folder");
    EXPECT_EQ(SameServerDropProblem(folder, "/a/b/c/"),
              "Destination folder is sub-folder of source folder");
    EXPECT_EQ(SameServerDropProblem(folder, "/x/a/b/"), std::nullopt);
    EXPECT_EQ(SameServerDropProblem(folder, "/a/bc/"), std::nullopt);
    TFTPFileData files = MakeFileData(LoginOf("h", "u"), "/a/", {Entry("f.txt", true)});
    EXPECT_EQ(SameServerDropProblem(files, "/a/"), "Destination folder is same with source folder");
    EXPECT_EQ(SameServerDropProblem(files, "/a/docs/"), std::nullopt);
}

TEST(ExplorerCommands, QueueItemsOfDownloadsAndDrops) {
    // Three files of one server (spoken to over TLS) dragged onto the folder docs of another.
    TSessionLogin source = LoginOf("one", "u1");
    source.ResumeTransfer = true;
    source.TransferType = TFTPTransferType::ftpTypeASCII;
    source.Encryption = TFtpTlsMode::ExplicitRequired;
    TFTPFileData data = MakeFileData(
        source, "/src/", {Entry("a.txt", true, 10), Entry("b.txt", true, 20), Entry("c", false)});
    TSessionLogin target = LoginOf("two", "u2");
    target.PassiveMode = true;
    const auto copies = MakeServerToServerItems(data, target, "/shown/docs/");
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[0]->Direction, TCarryDirection::ServerToServer);
    EXPECT_EQ(copies[0]->SrcHostName, "one");
    EXPECT_EQ(copies[0]->SrcPath, "/src/");
    EXPECT_EQ(copies[0]->SrcTransferType, TFTPTransferType::ftpTypeASCII);
    EXPECT_EQ(copies[0]->SrcEncryption, TFtpTlsMode::ExplicitRequired); // never in the clear
    EXPECT_EQ(copies[0]->DestEncryption, TFtpTlsMode::None);
    EXPECT_EQ(copies[0]->DestHostName, "two");
    EXPECT_EQ(copies[0]->DestUserName, "u2");
    EXPECT_EQ(copies[1]->DestPath, "/shown/docs/");
    EXPECT_EQ(copies[1]->FileSize, 20);
    EXPECT_TRUE(copies[1]->ResumeTransfer); // either side's resume setting
    EXPECT_FALSE(copies[1]->PassiveMode);
    EXPECT_TRUE(copies[2]->IsFolder);
    EXPECT_EQ(copies[2]->FileSize, -1);

    // Downloads leave out names that would leave the chosen folder.
    std::vector<std::string> skipped;
    const auto downloads = MakeDownloadItems(
        source, "/src/", {Entry("ok.bin", true, 5), Entry("..", false), Entry("x/../../y", true)},
        "/home/me/in", &skipped);
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0]->DestPath, "/home/me/in/");
    EXPECT_EQ(downloads[0]->SrcUserName, "u1");
    EXPECT_TRUE(downloads[0]->DestHostName.empty());
    EXPECT_EQ(skipped, (std::vector<std::string>{"..", "x/../../y"}));

    // Local files dropped from the desktop: a folder, a file with its size, a path that
    // cannot be read (taken for a folder, as the queue then reports it).
    TempDir local;
    local.write("docs/a.txt", "12345");
    local.write("note.txt", "123");
    const TShellIcons icons(false);
    const auto uploads =
        MakeUploadItems({(local.path() / "docs").string(), (local.path() / "note.txt").string(),
                         (local.path() / "missing").string()},
                        target, "/up/", icons);
    ASSERT_EQ(uploads.size(), 3u);
    EXPECT_TRUE(uploads[0]->IsFolder);
    EXPECT_EQ(uploads[0]->FileName, "docs");
    EXPECT_EQ(uploads[0]->SrcPath, local.path().string() + "/");
    EXPECT_EQ(uploads[1]->Direction, TCarryDirection::Upload);
    EXPECT_FALSE(uploads[1]->IsFolder);
    EXPECT_EQ(uploads[1]->FileSize, 3);
    EXPECT_EQ(uploads[1]->DestHostName, "two");
    EXPECT_TRUE(uploads[1]->PassiveMode);
    EXPECT_TRUE(uploads[2]->IsFolder);
}
