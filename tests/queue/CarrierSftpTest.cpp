// SPDX-License-Identifier: GPL-3.0-or-later
// Carriers with an SFTP side against OpenSSH's sshd, started by the test on a loopback port;
// the server's root is a folder of the test, so the server's side is read from the disk.
#include "support/CarrierHarness.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace qx::test {
namespace {

namespace fs = std::filesystem;

class CarrierSftpTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
        server = std::make_unique<SshdServer>();
        h = std::make_unique<CarrierHarness>();
        TFTPCarrier& carrier = *h->carrier;
        carrier.SrcUserName = carrier.DestUserName = "";
        carrier.SrcPassword = carrier.DestPassword = "";
        for (TSshSettings* ssh : {&carrier.SrcSsh, &carrier.DestSsh}) {
            ssh->ConfigFile = server->target().ConfigFile;
        }
    }

    void TearDown() override { h.reset(); }

    std::string port() const { return std::to_string(server->port()); }
    std::string remote(const std::string& name = "") const {
        return (server->root() / name).string();
    }

    std::unique_ptr<SshdServer> server;
    std::unique_ptr<CarrierHarness> h;
    TempDir local;
};

TEST_F(CarrierSftpTest, DownloadsUploadsAndExploresATree) {
    server->trustHostKey();
    TFTPCarrier& carrier = *h->carrier;
    fs::create_directories(server->root() / "tree" / "sub");
    const std::string big = randomBytes(1'300'001, 1);
    const std::string small = randomBytes(17, 2);
    std::ofstream(remote("tree/big"), std::ios::binary) << big;
    std::ofstream(remote("tree/sub/small"), std::ios::binary) << small;

    // Down: the folder explored, then its file carried, resumed from a partial file.
    carrier.SrcProtocol = TRemoteProtocolKind::Sftp;
    carrier.KeepSession = true;
    h->setJob("tree", port(), remote() + "/", "", local.path().string() + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::ExploreDownload), 0) << h->errorMessage;
    ASSERT_EQ(h->items.size(), 2u);
    std::vector<std::string> names;
    for (const auto& item : h->items) {
        names.push_back(item->FileName + (item->IsFolder ? "/" : ""));
        EXPECT_EQ(item->SrcProtocol, TRemoteProtocolKind::Sftp);
        EXPECT_EQ(item->SrcSsh.ConfigFile, carrier.SrcSsh.ConfigFile);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"big", "sub/"}));
    ASSERT_TRUE(fs::is_directory(local.path() / "tree"));

    local.write("tree/big.part", big.substr(0, 400'000));
    carrier.ResumeTransfer = true;
    h->setJob("big", port(), remote("tree") + "/", "", (local.path() / "tree").string() + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::Download), 0) << h->errorMessage;
    EXPECT_EQ(readFile(local.path() / "tree" / "big"), big);
    EXPECT_TRUE(h->has("~ [127.0.0.1]: User [] still logged in onto host [127.0.0.1] on port [" +
                       port() + "]"));

    // Up: a local folder explored onto the server (its folder made), then a file carried.
    carrier.SrcProtocol = TRemoteProtocolKind::Ftp;
    carrier.DestProtocol = TRemoteProtocolKind::Sftp;
    carrier.KeepSession = false;
    local.write("up/one", small);
    h->setJob("up", "", local.path().string() + "/", port(), remote() + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::ExploreUpload), 0) << h->errorMessage;
    EXPECT_TRUE(fs::is_directory(server->root() / "up"));
    ASSERT_EQ(h->items.size(), 1u);
    EXPECT_EQ(h->items[0]->DestProtocol, TRemoteProtocolKind::Sftp);
    h->setJob("one", "", (local.path() / "up").string() + "/", port(), remote("up") + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::Upload), 0) << h->errorMessage;
    EXPECT_EQ(readFile(server->root() / "up" / "one"), small);
    EXPECT_FALSE(fs::exists(server->root() / "up" / "one.part"));

    // Server to server with SFTP sides: the folder explored into copy items, which are relayed.
    carrier.SrcProtocol = TRemoteProtocolKind::Sftp;
    fs::create_directories(server->root() / "copy");
    h->setJob("tree", port(), remote() + "/", port(), remote("copy") + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::ExploreTransfer), 0) << h->errorMessage;
    EXPECT_TRUE(fs::is_directory(server->root() / "copy" / "tree"));
    ASSERT_EQ(h->items.size(), 2u);
    for (const auto& item : h->items) {
        EXPECT_EQ(item->Direction, TCarryDirection::ServerToServer);
        EXPECT_EQ(item->DestProtocol, TRemoteProtocolKind::Sftp);
    }
    h->setJob("small", port(), remote("tree/sub") + "/", port(), remote("copy/tree") + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::Transfer), 0) << h->errorMessage;
    EXPECT_EQ(readFile(server->root() / "copy" / "tree" / "small"), small);
}

// ssh's question about an unknown host key reaches the carrier's owner; without an owner that
// answers, or with a "no", the login fails and the key stays untrusted.
TEST_F(CarrierSftpTest, UnknownHostKeyIsAskedThroughTheCarrier) {
    std::ofstream(remote("file"), std::ios::binary) << "bytes";
    TFTPCarrier& carrier = *h->carrier;
    carrier.SrcProtocol = TRemoteProtocolKind::Sftp;
    h->setJob("file", port(), remote() + "/", "", local.path().string() + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::Download), 1);
    EXPECT_NE(h->errorMessage.find("host key of 127.0.0.1 was not accepted"), std::string::npos)
        << h->errorMessage;

    std::vector<std::string> fingerprints;
    std::optional<std::string> reply = "no";
    carrier.OnSshQuestion = [&](TFTPCarrier&, const sftp::TSshQuestion& question,
                                std::optional<std::string>& answer) {
        fingerprints.push_back(question.Fingerprint);
        answer = reply;
    };
    ASSERT_EQ(h->run(&TFTPCarrier::Download), 1);
    EXPECT_FALSE(fs::exists(local.path() / "file"));
    reply = "yes";
    ASSERT_EQ(h->run(&TFTPCarrier::Download), 0) << h->errorMessage;
    EXPECT_EQ(readFile(local.path() / "file"), "bytes");
    EXPECT_EQ(fingerprints, std::vector<std::string>(2, server->hostKey().fingerprint));
}

} // namespace
} // namespace qx::test
