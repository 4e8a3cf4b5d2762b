// SPDX-License-Identifier: GPL-3.0-or-later
// Recursive downloads, uploads and removals: hostile listings and endless trees on a virtual
// server, and whole trees on real servers (pyftpdlib and vsftpd).

#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "support/VirtualFtpTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

namespace {

// Every regular file below a folder, by path relative to it, with its content.
std::map<std::string, std::string> filesBelow(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        if (it->is_regular_file()) {
            files[fs::relative(it->path(), root).string()] = readFile(it->path());
        }
    }
    return files;
}

} // namespace

TEST(TreeOperations, HostileListingWritesNothingOutsideTheTargetFolder) {
    VirtualFtpTree tree;
    tree.listing = [](const std::string& folder) -> std::optional<std::string> {
        if (folder == "/evil" || folder == "/evil/loop" || folder == "/evil/up" || folder == "/") {
            return "drwxr-xr-x 2 o g 0 Jan 1 2001 ..\r\n"
                   "01-01-01  12:00AM       <DIR>          ..\r\n"
                   "01-01-01  12:00AM       <DIR>          .\r\n"
                   "-rw-r--r-- 1 o g 5 Jan 1 2001 ../escape.txt\r\n"
                   "drwxr-xr-x 2 o g 0 Jan 1 2001 ../escape\r\n"
                   "drwxr-xr-x 2 o g 0 Jan 1 2001 a/b\r\n"
                   "lrwxrwxrwx 1 o g 1 Jan 1 2001 loop -> .\r\n"
                   "lrwxrwxrwx 1 o g 1 Jan 1 2001 up -> ..\r\n"
                   "-rw-r--r-- 1 o g 5 Jan 1 2001 ok.txt\r\n";
        }
        return std::nullopt;
    };
    tree.file = [](const std::string& file) -> std::optional<std::string> {
        return file == "/evil/ok.txt" ? std::optional<std::string>("fine\n") : std::nullopt;
    };
    ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); });
    TempDir local;
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    const fs::path target = local.path() / "inside" / "target";
    fs::create_directories(target.parent_path());
    h.client->HostFileNames.Add("/evil", kFolderEntry);
    h.client->LocalFileNames.Add(target.string(), kFolderEntry);
    EXPECT_EQ(h.run(&TThreadedFTPClient::Downloads), 0);

    EXPECT_EQ(filesBelow(local.path()),
              (std::map<std::string, std::string>{{"inside/target/ok.txt", "fine\n"}}));
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 1);
    EXPECT_TRUE(h.has("! Skipped [../escape.txt] in [/evil]: not a usable name."));
    EXPECT_TRUE(h.has("! Skipped [a/b] in [/evil]: not a usable name."));
    EXPECT_EQ(h.countStartingWith("! Skipped the folder link [loop -> .]"), 1u);
    EXPECT_EQ(h.countStartingWith("! Skipped the folder link [up -> ..]"), 1u);
}

TEST(TreeOperations, EndlessTreeStopsAtTheDepthLimit) {
    VirtualFtpTree tree;
    tree.listing = [](const std::string&) -> std::optional<std::string> {
        return "drwxr-xr-x 2 o g 0 Jan 1 2001 d\r\n";
    };
    tree.file = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); });
    TempDir local;
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostFileNames.Add("/deep", kFolderEntry);
    h.client->LocalFileNames.Add(local.file("deep"), kFolderEntry);
    EXPECT_EQ(h.run(&TThreadedFTPClient::Downloads, std::chrono::seconds(60)), 1);
    EXPECT_EQ(h.countStartingWith("! 500 Stopped at [/deep/d/d/"), 1u);
    // The branch that goes too deep is one entry the download could not fetch.
    EXPECT_TRUE(h.client->ErrorMessage.starts_with("550 1 entry could not be downloaded; the "
                                                   "first: [/deep/d/d/"))
        << h.client->ErrorMessage;
    ASSERT_EQ(h.client->FailedEntries.size(), 1u);
    EXPECT_NE(h.client->FailedEntries[0].find("]: 500 Stopped at [/deep/d/d/"), std::string::npos);
    EXPECT_EQ(h.dones.back().hostFileNames, std::vector<std::string>{"/deep"});
}

TEST(TreeOperations, UploadSkipsHiddenEntriesAndNamesThatCannotBeSent) {
    TempDir local;
    local.write("up/a.txt", "a");
    local.write("up/.hidden", "h");
    local.write("up/.git/config", "c");
    local.write("up/sub/b.txt", "b");
    local.write("up/line\nbreak.txt", "injected");
    ASSERT_EQ(::mkfifo(local.file("up/pipe").c_str(), 0600), 0);
    VirtualFtpTree tree;
    tree.listing = [](const std::string& folder) -> std::optional<std::string> {
        if (folder == "/" || folder.rfind("/remote", 0) == 0) {
            return "";
        }
        return std::nullopt;
    };
    tree.file = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->LocalFileNames.Add(local.file("up"), kFolderEntry);
    h.client->HostFileNames.Add("/remote/up", kFolderEntry);
    EXPECT_EQ(h.run(&TThreadedFTPClient::Uploads), 0);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(tree.changes,
              (std::vector<std::string>{"STOR /remote/up/a.txt.part",
                                        "RNTO /remote/up/a.txt.part /remote/up/a.txt",
                                        "STOR /remote/up/sub/b.txt.part",
                                        "RNTO /remote/up/sub/b.txt.part /remote/up/sub/b.txt"}));
    EXPECT_EQ(h.countStartingWith("! Skipped ["), 2u); // the pipe and the line break
}

// --- Real servers ----------------------------------------------------------------------------

namespace {

enum class Kind { PyFtpd, Vsftpd };

class RealTree : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        if (GetParam() == Kind::Vsftpd) {
            const std::string reason = VsftpdServer::unavailableReason();
            if (!reason.empty()) {
                GTEST_SKIP() << reason;
            }
        } else if (!PyFtpdServer::available()) {
            GTEST_SKIP() << "pyftpdlib is not installed";
        }
        // The tree to download.
        m_root.write("tree/top.txt", "top\n");
        m_root.write("tree/name with  spaces.txt", "spaces\n");
        m_root.write("tree/\xc3\xbcnic\xc3\xb6"
                     "de.txt",
                     "utf-8\n");
        m_root.write("tree/.dotfile", "dot\n");
        m_root.write("tree/sub/inner.bin", randomBytes(200000, 3));
        m_root.write("tree/sub/deeper/leaf.txt", "leaf\n");
        fs::create_directories(m_root.path() / "tree/empty");
        fs::create_directory_symlink("sub", m_root.path() / "tree/link-to-sub");
        fs::create_directory_symlink(".", m_root.path() / "tree/loop");
        fs::create_directory_symlink("..", m_root.path() / "tree/up");
        fs::create_symlink("top.txt", m_root.path() / "tree/file-link.txt");
        if (GetParam() == Kind::Vsftpd) {
            m_vsftpd = std::make_unique<VsftpdServer>(m_root.path());
            m_writable = "/incoming";
            m_port = m_vsftpd->portText();
        } else {
            m_pyftpd = std::make_unique<PyFtpdServer>(m_root.path());
            m_writable = "/";
            m_port = m_pyftpd->portText();
        }
        m_harness = std::make_unique<ClientHarness>(m_port);
        m_harness->client->TransferType = TFTPTransferType::ftpTypeBinary;
        ASSERT_EQ(m_harness->run(&TThreadedFTPClient::Connect), 0);
    }

    ClientHarness& h() { return *m_harness; }

    TempDir m_root;
    TempDir m_local;
    std::unique_ptr<PyFtpdServer> m_pyftpd;
    std::unique_ptr<VsftpdServer> m_vsftpd;
    std::unique_ptr<ClientHarness> m_harness;
    std::string m_writable;
    std::string m_port;
};

} // namespace

TEST_P(RealTree, DownloadFollowsFolderLinksButNotLoops) {
    h().client->HostFileNames.Add("/tree", kFolderEntry);
    h().client->LocalFileNames.Add(m_local.file("tree"), kFolderEntry);
    ASSERT_EQ(h().run(&TThreadedFTPClient::Downloads, std::chrono::seconds(60)), 0)
        << h().client->ErrorMessage;
    const std::string inner = readFile(m_root.path() / "tree/sub/inner.bin");
    const std::map<std::string, std::string> expected{
        {"top.txt", "top\n"},
        {"name with  spaces.txt", "spaces\n"},
        {"\xc3\xbcnic\xc3\xb6"
         "de.txt",
         "utf-8\n"},
        {".dotfile", "dot\n"},
        {"file-link.txt", "top\n"},
        {"sub/inner.bin", inner},
        {"sub/deeper/leaf.txt", "leaf\n"},
        {"link-to-sub/inner.bin", inner},
        {"link-to-sub/deeper/leaf.txt", "leaf\n"},
    };
    EXPECT_EQ(filesBelow(m_local.path() / "tree"), expected);
    EXPECT_TRUE(fs::is_directory(m_local.path() / "tree/empty"));
    EXPECT_FALSE(fs::exists(m_local.path() / "tree/loop"));
    EXPECT_FALSE(fs::exists(m_local.path() / "tree/up"));
    EXPECT_TRUE(h().has("~ 3 folder and 1 file links detected."));
}

TEST_P(RealTree, UploadThenRemoveATree) {
    m_local.write("up/readme.txt", "read me\n");
    m_local.write("up/with space/\xc3\xa9t\xc3\xa9.bin", randomBytes(50000, 9));
    m_local.write("up/with space/nested/deep.txt", "deep\n");
    m_local.write("up/.secret", "no\n");
    m_local.write("up/.cache/x", "no\n");
    const std::string remote = m_writable == "/" ? "/up" : m_writable + "/up";
    h().client->LocalFileNames.Add(m_local.file("up"), kFolderEntry);
    h().client->HostFileNames.Add(remote, kFolderEntry);
    ASSERT_EQ(h().run(&TThreadedFTPClient::Uploads, std::chrono::seconds(60)), 0)
        << h().client->ErrorMessage;
    const fs::path onServer = m_root.path() / remote.substr(1);
    auto expected = filesBelow(m_local.path() / "up");
    expected.erase(".secret");
    expected.erase(".cache/x");
    EXPECT_EQ(filesBelow(onServer), expected);

    const auto slash = remote.rfind('/');
    h().client->HostDirName = slash == 0 ? "/" : remote.substr(0, slash);
    h().client->HostFileNames.Add(remote.substr(slash + 1), kFolderEntry);
    EXPECT_EQ(h().run(&TThreadedFTPClient::Remove, std::chrono::seconds(60)), 0)
        << h().client->ErrorMessage;
    EXPECT_FALSE(fs::exists(onServer));
}

INSTANTIATE_TEST_SUITE_P(Servers, RealTree, ::testing::Values(Kind::PyFtpd, Kind::Vsftpd),
                         [](const ::testing::TestParamInfo<Kind>& param) {
                             return param.param == Kind::PyFtpd ? "PyFtpd" : "Vsftpd";
                         });
