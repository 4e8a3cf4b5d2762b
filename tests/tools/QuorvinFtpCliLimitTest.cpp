// SPDX-License-Identifier: GPL-3.0-or-later
// quorvin-ftp --limit-rate: transfers against vsftpd and sshd, started by the test on loopback
// ports, last as long as the limit says (the limiter's function, measured over seconds), and
// the queue's carriers share one limit.
#include "CliProcess.h"

#include "support/RealFtpServers.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx::test {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// The rate a transfer of `bytes` reached, in bytes per second, from the time the tool ran.
double RateOf(std::size_t bytes, const CliResult& result) {
    return static_cast<double>(bytes) * 1000.0 / static_cast<double>(result.elapsed.count());
}

// The rate of the last transfer as the session log shows it ("(N Bytes/sec)"), 0 without one.
double ShownRate(const std::string& log) {
    const std::size_t end = log.rfind(" Bytes/sec)");
    const std::size_t start = log.rfind('(', end);
    return end == std::string::npos || start == std::string::npos
               ? 0
               : std::stod(log.substr(start + 1, end - start - 1));
}

class QuorvinFtpCliLimit : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
        server = std::make_unique<VsftpdServer>(root.path());
    }

    std::string url(const std::string& path) const {
        return "ftp://127.0.0.1:" + server->portText() + "/" + path;
    }

    TempDir root;
    TempDir local;
    std::unique_ptr<VsftpdServer> server;
};

TEST_F(QuorvinFtpCliLimit, DownloadsAndUploadsKeepToTheRate) {
    const std::string content = randomBytes(10 * kMiB, 5);
    root.write("big.bin", content);
    const CliResult got =
        RunCli({"get", "--limit-rate", "1M", url("big.bin"), local.file("big.bin")});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_TRUE(readFile(local.file("big.bin")) == content);
    EXPECT_NEAR(RateOf(content.size(), got), 1.0 * kMiB, 0.1 * kMiB);

    const CliResult put =
        RunCli({"put", "--limit-rate", "1M", local.file("big.bin"), url("incoming/up.bin")});
    ASSERT_EQ(put.exitCode, 0) << put.err;
    EXPECT_TRUE(readFile(server->incoming() / "up.bin") == content);
    EXPECT_NEAR(RateOf(content.size(), put), 1.0 * kMiB, 0.1 * kMiB);
}

TEST_F(QuorvinFtpCliLimit, TheQueuesCarriersShareOneLimit) {
    const std::string first = randomBytes(3 * kMiB, 6);
    const std::string second = randomBytes(3 * kMiB, 7);
    root.write("one.bin", first);
    root.write("two.bin", second);
    const std::string jobs =
        local.write("jobs", "get " + url("one.bin") + " " + local.file("down") + "\nget " +
                                url("two.bin") + " " + local.file("down"));
    const CliResult queued = RunCli({"queue", "--carriers", "2", "--limit-rate", "1M", jobs});
    ASSERT_EQ(queued.exitCode, 0) << queued.err << queued.out;
    EXPECT_TRUE(readFile(local.file("down/one.bin")) == first);
    EXPECT_TRUE(readFile(local.file("down/two.bin")) == second);
    EXPECT_NEAR(RateOf(6 * kMiB, queued), 1.0 * kMiB, 0.1 * kMiB);
}

TEST(QuorvinFtpCliSftpLimit, SftpDownloadsKeepToTheRate) {
    if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    SshdServer server;
    server.trustHostKey();
    TempDir local;
    const std::string content = randomBytes(3 * kMiB, 8);
    const std::filesystem::path source = server.root() / "big.bin";
    std::ofstream(source, std::ios::binary) << content;
    const std::string url = "sftp://127.0.0.1:" + std::to_string(server.port()) + source.string();
    // The transfer alone: the ssh login before it takes a while of its own.
    const CliResult got = RunCli({"--ssh-config", server.target().ConfigFile, "-v", "get",
                                  "--limit-rate", "1M", url, local.file("big.bin")});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_TRUE(readFile(local.file("big.bin")) == content);
    EXPECT_NEAR(ShownRate(got.err), 1.0 * kMiB, 0.15 * kMiB) << got.err;
}

} // namespace
} // namespace qx::test
