// SPDX-License-Identifier: GPL-3.0-or-later
// quorvin-ftp with sftp:// URLs against OpenSSH's sshd, started by the test on a loopback port
// with ssh pointed at the test's own configuration and known-hosts file.
#include "CliProcess.h"

#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx::test {
namespace {

class QuorvinFtpCliSftp : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
        server = std::make_unique<SshdServer>();
    }

    std::string url(const std::string& path) const {
        return "sftp://127.0.0.1:" + std::to_string(server->port()) + server->root().string() +
               "/" + path;
    }

    CliResult run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--ssh-config", server->target().ConfigFile});
        return RunCli(args);
    }

    std::unique_ptr<SshdServer> server;
    TempDir local;
};

TEST_F(QuorvinFtpCliSftp, UnknownHostKeyIsRefusedUntilAcceptedThenFilesTravel) {
    const CliResult refused = run({"ls", url("")});
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find(server->hostKey().fingerprint), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--accept-new-host-key"), std::string::npos);
    EXPECT_EQ(test::readFile(server->knownHosts()), "");

    const std::string bytes(300'007, 'q');
    const std::string source = local.write("up.bin", bytes);
    const CliResult put = run({"--accept-new-host-key", "put", source, url("up.bin")});
    ASSERT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(test::readFile(server->root() / "up.bin"), bytes);
    EXPECT_NE(test::readFile(server->knownHosts()).find("127.0.0.1"), std::string::npos);

    const CliResult listed = run({"ls", url("")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("300007"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("up.bin"), std::string::npos);

    const CliResult got = run({"get", url("up.bin"), local.file("back.bin")});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_EQ(test::readFile(local.file("back.bin")), bytes);
}

// The queue's carriers get the ssh options of the command line: the host key accepted and the
// test's configuration reach every item of a tree carried down and up.
TEST_F(QuorvinFtpCliSftp, QueueCarriesTreesWithTheCommandLinesSshOptions) {
    std::filesystem::create_directories(server->root() / "tree" / "sub");
    std::ofstream(server->root() / "tree" / "sub" / "b.bin", std::ios::binary)
        << std::string(200'003, 'b');
    std::ofstream(server->root() / "tree" / "a.txt", std::ios::binary) << "alpha";
    local.write("up/c.txt", "gamma");
    std::filesystem::create_directories(server->root() / "dest");
    const std::string jobs =
        local.write("jobs", "get " + url("tree") + " " + local.file("down") + "\nput " +
                                local.file("up") + " " + url("dest") + "\n");
    const CliResult queued = run({"--accept-new-host-key", "queue", jobs});
    ASSERT_EQ(queued.exitCode, 0) << queued.err << queued.out;
    EXPECT_EQ(test::readFile(local.file("down/tree/sub/b.bin")), std::string(200'003, 'b'));
    EXPECT_EQ(test::readFile(local.file("down/tree/a.txt")), "alpha");
    EXPECT_EQ(test::readFile(server->root() / "dest" / "up" / "c.txt"), "gamma");
}

TEST_F(QuorvinFtpCliSftp, ChangedHostKeyIsRefusedEvenWhenNewKeysAreAccepted) {
    server->trustOtherHostKey();
    const CliResult refused = run({"--accept-new-host-key", "ls", url("")});
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find("REMOTE HOST IDENTIFICATION HAS CHANGED"), std::string::npos)
        << refused.err;
}

TEST_F(QuorvinFtpCliSftp, TreesFoldersAndRenames) {
    server->trustHostKey();
    local.write("tree/a.txt", "alpha");
    local.write("tree/sub/b.txt", "beta");
    ASSERT_EQ(run({"mkdir", url("dest")}).exitCode, 0);
    const CliResult put = run({"put", "-r", local.file("tree"), url("dest")});
    ASSERT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(test::readFile(server->root() / "dest/sub/b.txt"), "beta");
    ASSERT_EQ(run({"mv", url("dest/a.txt"), "c.txt"}).exitCode, 0);
    EXPECT_EQ(test::readFile(server->root() / "dest/c.txt"), "alpha");
    const CliResult got = run({"get", "-r", url("dest"), local.file("back")});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_EQ(test::readFile(local.file("back/sub/b.txt")), "beta");
    ASSERT_EQ(run({"rm", "-r", url("dest")}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(server->root() / "dest"));
}

} // namespace
} // namespace qx::test
