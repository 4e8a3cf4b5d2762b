// SPDX-License-Identifier: GPL-3.0-or-later
// The threaded session over SFTP against OpenSSH's sshd, started by the test on a loopback port;
// the server's root is a folder of the test, so the server's side is read from the disk.
#include "engine/LocalFileStream.h"
#include "support/ClientHarness.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace qx::test {
namespace {

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SftpSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
        server = std::make_unique<SshdServer>();
        h = std::make_unique<ClientHarness>(std::to_string(server->port()));
        TThreadedFTPClient& client = *h->client;
        client.Protocol = TRemoteProtocolKind::Sftp;
        client.UserName.clear();
        client.Password.clear();
        client.Ssh.ConfigFile = server->target().ConfigFile;
    }

    void TearDown() override { h.reset(); }

    int connectTrusted() {
        server->trustHostKey();
        return h->run(&TThreadedFTPClient::Connect);
    }

    std::string remote(const std::string& name) const { return (server->root() / name).string(); }

    std::unique_ptr<SshdServer> server;
    std::unique_ptr<ClientHarness> h;
    TempDir local;
};

TEST_F(SftpSessionTest, FilesRoundTripListAndServerInfo) {
    ASSERT_EQ(connectTrusted(), 0) << h->client->ErrorMessage;
    EXPECT_TRUE(h->client->ResumeSupported);
    EXPECT_NE(h->client->ServerInfoText.find("SFTP version: 3"), std::string::npos);
    EXPECT_NE(h->client->ServerInfoText.find(server->hostKey().fingerprint), std::string::npos)
        << h->client->ServerInfoText;

    TThreadedFTPClient& client = *h->client;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{700'001}}) {
        const std::string name = "file" + std::to_string(size);
        const std::string bytes = randomBytes(size, static_cast<unsigned>(size));
        client.LocalFileName = local.write(name, bytes);
        client.HostFileName = remote(name);
        ASSERT_EQ(h->run(&TThreadedFTPClient::UploadFile), 0) << client.ErrorMessage;
        EXPECT_EQ(readFile(remote(name)), bytes);
        EXPECT_FALSE(std::filesystem::exists(remote(name) + ".part"));

        client.LocalFileName = local.file("back" + std::to_string(size));
        ASSERT_EQ(h->run(&TThreadedFTPClient::DownloadFile), 0) << client.ErrorMessage;
        EXPECT_EQ(readFile(client.LocalFileName), bytes);
    }

    TFTPListItems items;
    client.ListItems = &items;
    client.HostDirName = server->root().string();
    ASSERT_EQ(h->run(&TThreadedFTPClient::GetListItems), 0) << client.ErrorMessage;
    client.ListItems = nullptr;
    bool seen = false;
    for (std::size_t i = 0; i < items.Count(); ++i) {
        if (items[i].Name == "file700001") {
            seen = true;
            EXPECT_EQ(items[i].Size, 700'001);
        }
    }
    EXPECT_TRUE(seen);
}

TEST_F(SftpSessionTest, DownloadResumesFromItsPartialFile) {
    const std::string bytes = randomBytes(500'000, 7);
    Put(remote("big"), bytes);
    ASSERT_EQ(connectTrusted(), 0) << h->client->ErrorMessage;
    TThreadedFTPClient& client = *h->client;
    client.ResumeTransfer = true;
    client.HostFileName = remote("big");
    client.LocalFileName = local.file("big");
    // The partial file holds a changed first byte: a download that went on from its end keeps it.
    std::string held = bytes.substr(0, 200'000);
    held[0] = static_cast<char>(held[0] ^ 0x55);
    const std::string partial = local.write("big.part", held);
    struct stat remoteStat {};
    ASSERT_EQ(::stat(remote("big").c_str(), &remoteStat), 0);
    ASSERT_TRUE(SetLocalFileTime(partial, remoteStat.st_mtime));

    ASSERT_EQ(h->run(&TThreadedFTPClient::DownloadFile), 0) << client.ErrorMessage;
    std::string expected = bytes;
    expected[0] = held[0];
    EXPECT_EQ(readFile(local.file("big")), expected);
    EXPECT_FALSE(std::filesystem::exists(partial));
}

TEST_F(SftpSessionTest, FolderTreesGoUpAndComeBack) {
    local.write("tree/a.bin", randomBytes(70'000, 1));
    local.write("tree/sub/b.bin", randomBytes(3, 2));
    local.write("tree/sub/deeper/empty", "");
    ASSERT_EQ(connectTrusted(), 0) << h->client->ErrorMessage;
    TThreadedFTPClient& client = *h->client;
    client.LocalFileNames.Add(local.file("tree"), kFolderEntry);
    client.HostFileNames.Add(remote("up"), kFolderEntry);
    ASSERT_EQ(h->run(&TThreadedFTPClient::Uploads), 0) << client.ErrorMessage;
    EXPECT_EQ(treeContents(remote("up")), treeContents(local.file("tree")));

    client.HostFileNames.Add(remote("up"), kFolderEntry);
    client.LocalFileNames.Add(local.file("down"), kFolderEntry);
    ASSERT_EQ(h->run(&TThreadedFTPClient::Downloads), 0) << client.ErrorMessage;
    EXPECT_EQ(treeContents(local.file("down")), treeContents(local.file("tree")));

    client.HostDirName = server->root().string();
    client.HostFileNames.Add("up", kFolderEntry);
    ASSERT_EQ(h->run(&TThreadedFTPClient::Remove), 0) << client.ErrorMessage;
    EXPECT_FALSE(std::filesystem::exists(remote("up")));
}

TEST_F(SftpSessionTest, RenameNeverReplacesAndModesChange) {
    Put(remote("one"), "1");
    Put(remote("two"), "2");
    ASSERT_EQ(connectTrusted(), 0) << h->client->ErrorMessage;
    TThreadedFTPClient& client = *h->client;
    client.HostDirName = server->root().string();
    ASSERT_EQ(h->run(&TThreadedFTPClient::ChangeFolder), 0) << client.ErrorMessage;
    client.HostFileName = "one";
    client.LocalFileName = "two";
    EXPECT_EQ(h->run(&TThreadedFTPClient::Rename), 1);
    EXPECT_EQ(readFile(remote("one")), "1");
    EXPECT_EQ(readFile(remote("two")), "2");
    client.LocalFileName = "three";
    ASSERT_EQ(h->run(&TThreadedFTPClient::Rename), 0) << client.ErrorMessage;
    EXPECT_EQ(readFile(remote("three")), "1");

    client.LocalFileName = "640";
    client.HostFileNames.Add("three", kFileEntry);
    ASSERT_EQ(h->run(&TThreadedFTPClient::ChangePerms), 0) << client.ErrorMessage;
    struct stat info {};
    ASSERT_EQ(::stat(remote("three").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    client.LocalFileName = "9z";
    client.HostFileNames.Add("three", kFileEntry);
    EXPECT_EQ(h->run(&TThreadedFTPClient::ChangePerms), 1);
}

// A site on the default port leaves the port to ssh: a Host alias of the user's ssh
// configuration keeps the port it names.
TEST_F(SftpSessionTest, AHostAliasOnTheDefaultPortKeepsItsConfiguredPort) {
    TThreadedFTPClient& client = *h->client;
    client.HostName = "qx-alias";
    client.Port = "22";
    client.Ssh.ConfigFile =
        server
            ->writeConfig("alias_config", "Host qx-alias\n  HostName 127.0.0.1\n  Port " +
                                              std::to_string(server->port()) +
                                              "\n  IdentityAgent none\n  IdentityFile " +
                                              server->userKey().privateKey.string() + "\n")
            .string();
    EXPECT_EQ(connectTrusted(), 0) << client.ErrorMessage;
}

TEST_F(SftpSessionTest, UnknownHostKeyIsAskedAndWithoutAnAnswerEndsTheLogin) {
    ASSERT_EQ(h->run(&TThreadedFTPClient::Connect), 1);
    EXPECT_NE(h->client->ErrorMessage.find("nothing here can answer"), std::string::npos)
        << h->client->ErrorMessage;

    std::string fingerprint;
    h->client->OnSshQuestion = [&](TThreadedFTPClient&, const sftp::TSshQuestion& question,
                                   std::optional<std::string>& answer) {
        fingerprint = question.Fingerprint;
        answer = "yes";
    };
    ASSERT_EQ(h->run(&TThreadedFTPClient::Connect), 0) << h->client->ErrorMessage;
    EXPECT_EQ(fingerprint, server->hostKey().fingerprint);
    EXPECT_NE(readFile(server->knownHosts()).find("127.0.0.1"), std::string::npos);
}

// The password the session holds answers ssh's question; an abort ends a download the server
// stalls at once, and the next request logs in again.
TEST(SftpSessionFaults, PasswordLoginAbortOfAStalledDownloadAndReconnection) {
    if (const std::string reason = AsyncSshServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    AsyncSshServer server("stall");
    server.trustHostKey();
    Put((server.root() / "file").string(), randomBytes(300'000, 3));
    ClientHarness h(std::to_string(server.port()));
    TThreadedFTPClient& client = *h.client;
    client.Protocol = TRemoteProtocolKind::Sftp;
    client.UserName = "tester";
    client.Password = "secret";
    client.Ssh.ConfigFile = server.target().ConfigFile;
    client.Timeout = 60;
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0) << client.ErrorMessage;

    TempDir local;
    client.HostFileName = "/file";
    client.LocalFileName = local.file("file");
    const std::size_t before = h.dones.size();
    client.DownloadFile();
    h.ui.pumpUntil([] { return false; }, std::chrono::milliseconds(500));
    const auto abortedAt = std::chrono::steady_clock::now();
    client.Abort();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.dones.size() > before; }, std::chrono::seconds(20)));
    EXPECT_LT(std::chrono::steady_clock::now() - abortedAt, std::chrono::seconds(5));
    EXPECT_EQ(h.dones.back().resultCode, 2);
    EXPECT_FALSE(std::filesystem::exists(local.file("file")));

    TFTPListItems items;
    client.ListItems = &items;
    client.HostDirName = "/";
    ASSERT_EQ(h.run(&TThreadedFTPClient::GetListItems), 0) << client.ErrorMessage;
    client.ListItems = nullptr;
    EXPECT_EQ(items.Count(), 1U);
}

} // namespace
} // namespace qx::test
