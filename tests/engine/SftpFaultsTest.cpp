// SPDX-License-Identifier: GPL-3.0-or-later
// The SFTP engine against servers that ask questions or misbehave: the scripted asyncssh
// server, and a stand-in for ssh.
#include "support/SftpHarness.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef QX_FAKE_SSH
#error "QX_FAKE_SSH must name the stand-in for ssh"
#endif

namespace qx::test {
namespace {

using sftp::TSftpError;
using sftp::TSshQuestion;

sftp::TSshTarget FakeTarget(const std::string& behaviour, int timeout) {
    sftp::TSshTarget target;
    target.Host = behaviour;
    target.Program = QX_FAKE_SSH;
    target.TimeoutSeconds = timeout;
    return target;
}

TEST(SftpFakeSshTest, SilenceOversizedPacketsAndEarlyExitEndTheLoginClearly) {
    {
        SftpHarness sftp;
        const auto start = std::chrono::steady_clock::now();
        const auto result = sftp.login({FakeTarget("silent", 2), std::nullopt, nullptr});
        EXPECT_EQ(result.Error, TSftpError::TimedOut);
        EXPECT_EQ(result.Message, "Timed out after 2 seconds.");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
    {
        SftpHarness sftp;
        const auto result = sftp.login({FakeTarget("oversized", 10), std::nullopt, nullptr});
        EXPECT_EQ(result.Error, TSftpError::Protocol);
        EXPECT_NE(result.Message.find("1048576 bytes; the limit is 262144"), std::string::npos)
            << result.Message;
    }
    {
        SftpHarness sftp;
        const auto result = sftp.login({FakeTarget("exits", 10), std::nullopt, nullptr});
        EXPECT_EQ(result.Error, TSftpError::ConnectionLost);
        EXPECT_NE(result.Message.find("exit status 255"), std::string::npos) << result.Message;
        EXPECT_NE(result.Message.find("Connection refused"), std::string::npos) << result.Message;
        EXPECT_EQ(result.Message.find("debug1"), std::string::npos) << result.Message;
    }
    {
        SftpHarness sftp;
        sftp::TSshTarget target = FakeTarget("-oProxyCommand=x", 10);
        EXPECT_EQ(sftp.login({target, std::nullopt, nullptr}).Error, TSftpError::Refused);
    }
}

class SftpAsyncSshTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = AsyncSshServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
    }

    std::unique_ptr<AsyncSshServer> start(const std::string& mode, int timeout = 20) {
        auto server = std::make_unique<AsyncSshServer>(mode);
        server->trustHostKey();
        target = server->target();
        target.TimeoutSeconds = timeout;
        return server;
    }

    sftp::TSftpLogin passwordLogin() { return {target, std::string("secret"), nullptr}; }

    sftp::TSshTarget target;
    TempDir local;
    SftpHarness sftp;
};

TEST_F(SftpAsyncSshTest, PasswordFromTheProgramOrFromTheUser) {
    const auto server = start("password");
    ASSERT_TRUE(sftp.login(passwordLogin()).Ok()) << sftp.client.RecentSshText();
    EXPECT_EQ(sftp.client.ServerInfo().Ssh.AuthenticatedWith, "password");
    ASSERT_TRUE(sftp.quit().Ok());

    // Asked: the user gives a wrong password first, then the right one.
    SftpHarness asked;
    std::vector<TSshQuestion> questions;
    const auto result =
        asked.login({target, std::nullopt, [&](const TSshQuestion& question, auto answer) {
                         questions.push_back(question);
                         answer(std::string(questions.size() == 1 ? "wrong" : "secret"));
                     }});
    ASSERT_TRUE(result.Ok()) << result.Message;
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].Kind, TSshQuestion::TKind::Password);
}

TEST_F(SftpAsyncSshTest, KeyboardInteractiveAndCancel) {
    const auto server = start("kbdint");
    std::vector<TSshQuestion> questions;
    const auto result =
        sftp.login({target, std::nullopt, [&](const TSshQuestion& question, auto answer) {
                        questions.push_back(question);
                        answer(std::string("4242"));
                    }});
    ASSERT_TRUE(result.Ok()) << result.Message;
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].Kind, TSshQuestion::TKind::KeyboardInteractive);
    EXPECT_NE(questions[0].Prompt.find("Verification code: "), std::string::npos);

    SftpHarness cancelled;
    const auto refused = cancelled.login(
        {target, std::nullopt, [](const TSshQuestion&, auto answer) { answer(std::nullopt); }});
    EXPECT_EQ(refused.Error, TSftpError::Cancelled);
    EXPECT_EQ(refused.Message, "Login cancelled.");
}

TEST_F(SftpAsyncSshTest, StallingServerTimesOut) {
    const auto server = start("stall", 2);
    const std::string bytes = randomBytes(300'000, 1);
    local.write("served", bytes);
    std::filesystem::copy_file(local.file("served"), server->root() / "file");
    ASSERT_TRUE(sftp.login(passwordLogin()).Ok()) << sftp.client.RecentSshText();
    const auto result = sftp.download("/file", local.file("copy"));
    EXPECT_EQ(result.Error, TSftpError::TimedOut) << result.Message;
    EXPECT_EQ(result.Message, "Timed out after 2 seconds.");
    EXPECT_FALSE(sftp.client.Ready());
}

TEST_F(SftpAsyncSshTest, DroppedConnectionIsAClearError) {
    const auto server = start("drop");
    local.write("served", randomBytes(300'000, 2));
    std::filesystem::copy_file(local.file("served"), server->root() / "file");
    ASSERT_TRUE(sftp.login(passwordLogin()).Ok()) << sftp.client.RecentSshText();
    std::optional<sftp::TSftpResult> closed;
    sftp.client.OnClosed = [&closed](const sftp::TSftpResult& result) { closed = result; };
    const auto result = sftp.download("/file", local.file("copy"));
    EXPECT_EQ(result.Error, TSftpError::ConnectionLost) << result.Message;
    EXPECT_NE(result.Message.find("The ssh connection to 127.0.0.1 ended"), std::string::npos)
        << result.Message;
    ASSERT_TRUE(closed.has_value());
    // Later requests fail at once.
    const auto after = sftp.stat("/file");
    EXPECT_EQ(after.first.Error, TSftpError::ConnectionLost);
}

TEST_F(SftpAsyncSshTest, HostileNamesAreDroppedFromListings) {
    const auto server = start("hostile");
    ASSERT_TRUE(sftp.login(passwordLogin()).Ok()) << sftp.client.RecentSshText();
    const auto listing = sftp.list("/");
    ASSERT_TRUE(listing.result.Ok()) << listing.result.Message;
    ASSERT_EQ(listing.items.Count(), 1u);
    EXPECT_EQ(listing.items[0].Name, "good.txt");
    EXPECT_EQ(listing.items[0].Size, 5);
    EXPECT_EQ(listing.report.DroppedNames, 6u);
    EXPECT_TRUE(sftp.client.Ready());
}

} // namespace
} // namespace qx::test
