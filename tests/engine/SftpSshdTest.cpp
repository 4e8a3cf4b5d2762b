// SPDX-License-Identifier: GPL-3.0-or-later
// The SFTP engine against OpenSSH's sshd, started by the test on a loopback port.
#include "support/SftpHarness.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace qx::test {
namespace {

using sftp::TSftpError;
using sftp::TSshQuestion;

class SftpSshdTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
        server = std::make_unique<SshdServer>();
    }

    sftp::TSftpLogin trustedLogin() {
        server->trustHostKey();
        return {server->target(), std::nullopt, nullptr};
    }

    std::string remote(const std::string& name) const { return (server->root() / name).string(); }

    std::unique_ptr<SshdServer> server;
    TempDir local;
    SftpHarness sftp;
};

// Zombie children of this process (an ssh that was not reaped).
int ZombieChildren() {
    int zombies = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        const std::size_t close = line.rfind(')');
        char state = 0;
        int parent = 0;
        if (close != std::string::npos &&
            std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == ::getpid() && state == 'Z') {
            ++zombies;
        }
    }
    return zombies;
}

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                      std::filesystem::directory_iterator()));
}

TEST_F(SftpSshdTest, FilesRoundTripByteIdenticalAndResume) {
    const std::size_t descriptorsBefore = OpenDescriptors();
    ASSERT_TRUE(sftp.login(trustedLogin()).Ok()) << sftp.client.RecentSshText();
    EXPECT_EQ(sftp.client.Home(), server->root().string());
    EXPECT_EQ(sftp.client.ServerInfo().Version, 3u);
    EXPECT_TRUE(sftp.client.HasExtension("posix-rename@openssh.com"));
    EXPECT_FALSE(sftp.client.ServerInfo().Ssh.ServerVersion.empty());
    EXPECT_EQ(sftp.client.ServerInfo().Ssh.HostKey.find(server->hostKey().fingerprint) ==
                  std::string::npos,
              false);
    EXPECT_EQ(sftp.client.ServerInfo().Ssh.AuthenticatedWith, "publickey");

    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3'000'017}}) {
        const std::string name = "file-" + std::to_string(size);
        const std::string bytes = randomBytes(size, static_cast<unsigned>(size));
        const std::string source = local.write(name, bytes);
        ASSERT_TRUE(sftp.upload(source, remote(name)).Ok()) << size;
        EXPECT_EQ(readFile(remote(name)), bytes) << size;
        const std::string back = local.file(name + ".back");
        ASSERT_TRUE(sftp.download(remote(name), back).Ok()) << size;
        EXPECT_EQ(readFile(back), bytes) << size;
        const auto [stat, attributes] = sftp.stat(remote(name));
        EXPECT_EQ(attributes.Size, size);
    }

    // Resumed download: the part holds the first bytes, the rest comes from the offset.
    const std::string bytes = randomBytes(1'000'003, 9);
    local.write("whole", bytes);
    std::filesystem::copy_file(local.file("whole"), remote("resume.bin"));
    local.write("resume.part", bytes.substr(0, 400'000));
    ASSERT_TRUE(sftp.download(remote("resume.bin"), local.file("resume.part"), 400'000).Ok());
    EXPECT_EQ(readFile(local.file("resume.part")), bytes);
    // Resumed upload: the server has the first bytes.
    {
        std::ofstream part(remote("upload.bin"), std::ios::binary);
        part << bytes.substr(0, 123'457);
    }
    ASSERT_TRUE(sftp.upload(local.file("whole"), remote("upload.bin"), 123'457).Ok());
    EXPECT_EQ(readFile(remote("upload.bin")), bytes);
    // A download of what is not there fails clearly and leaves no local file.
    const auto missing = sftp.download(remote("missing"), local.file("missing"));
    EXPECT_EQ(missing.Error, TSftpError::NoSuchFile) << missing.Message;
    EXPECT_FALSE(std::filesystem::exists(local.file("missing")));

    ASSERT_TRUE(sftp.quit().Ok());
    EXPECT_EQ(ZombieChildren(), 0);
    EXPECT_EQ(OpenDescriptors(), descriptorsBefore);
}

TEST_F(SftpSshdTest, FolderOperationsAndListing) {
    ASSERT_TRUE(sftp.login(trustedLogin()).Ok()) << sftp.client.RecentSshText();
    const auto run = [this](auto start) { return sftp.call(start); };
    ASSERT_TRUE(run([&](auto done) { sftp.client.MakeFolder(remote("docs"), done); }).Ok());
    local.write("a.txt", "alpha");
    local.write("b.txt", "beta");
    ASSERT_TRUE(sftp.upload(local.file("a.txt"), remote("docs/a.txt")).Ok());
    ASSERT_TRUE(sftp.upload(local.file("b.txt"), remote("docs/b.txt")).Ok());
    std::filesystem::create_directory_symlink("..", server->root() / "docs" / "up");
    std::filesystem::create_symlink("a.txt", server->root() / "docs" / "to-a");

    // Rename refuses to replace unless told to; with replace the target holds the source.
    const auto refused = run([&](auto done) {
        sftp.client.Rename(remote("docs/a.txt"), remote("docs/b.txt"), false, done);
    });
    EXPECT_EQ(refused.Error, TSftpError::Exists) << refused.Message;
    EXPECT_EQ(readFile(remote("docs/b.txt")), "beta");
    ASSERT_TRUE(run([&](auto done) {
                    sftp.client.Rename(remote("docs/b.txt"), remote("docs/c.txt"), false, done);
                }).Ok());
    ASSERT_TRUE(run([&](auto done) {
                    sftp.client.Rename(remote("docs/c.txt"), remote("docs/a.txt"), true, done);
                }).Ok());
    EXPECT_EQ(readFile(remote("docs/a.txt")), "beta");

    ASSERT_TRUE(
        run([&](auto done) { sftp.client.SetMode(remote("docs/a.txt"), 0640, done); }).Ok());
    ASSERT_TRUE(run([&](auto done) {
                    sftp.client.SetModifiedTime(remote("docs/a.txt"), 1'600'000'000, done);
                }).Ok());

    const auto listing = sftp.list(remote("docs"));
    ASSERT_TRUE(listing.result.Ok()) << listing.result.Message;
    std::map<std::string, const TFTPListItem*> byName;
    for (const auto& item : listing.items) {
        byName[item->Name] = item.get();
    }
    ASSERT_EQ(byName.size(), 3u);
    EXPECT_EQ(byName["a.txt"]->Permission, "-rw-r-----");
    EXPECT_EQ(byName["a.txt"]->Size, 4);
    EXPECT_EQ(byName["a.txt"]->Year, 2020);
    EXPECT_TRUE(byName["up"]->IsLink);
    EXPECT_FALSE(byName["up"]->IsFile); // a link to a folder
    EXPECT_EQ(byName["up"]->LinkTo, "..");
    EXPECT_TRUE(byName["to-a"]->IsFile); // a link to a file
    EXPECT_EQ(byName["to-a"]->LinkTo, "a.txt");

    const auto notEmpty = run([&](auto done) { sftp.client.RemoveFolder(remote("docs"), done); });
    EXPECT_FALSE(notEmpty.Ok());
    for (const char* name : {"docs/a.txt", "docs/up", "docs/to-a"}) {
        ASSERT_TRUE(run([&](auto done) { sftp.client.RemoveFile(remote(name), done); }).Ok());
    }
    ASSERT_TRUE(run([&](auto done) { sftp.client.RemoveFolder(remote("docs"), done); }).Ok());
    EXPECT_FALSE(std::filesystem::exists(server->root() / "docs"));
    const auto gone = sftp.list(remote("docs"));
    EXPECT_EQ(gone.result.Error, TSftpError::NoSuchFile) << gone.result.Message;
    EXPECT_TRUE(sftp.client.Ready());
}

TEST_F(SftpSshdTest, IdleConnectionDoesNotTimeOut) {
    sftp::TSftpLogin login = trustedLogin();
    login.Target.TimeoutSeconds = 2;
    ASSERT_TRUE(sftp.login(login).Ok()) << sftp.client.RecentSshText();
    const auto idleUntil = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    sftp.runUntil([&] { return std::chrono::steady_clock::now() > idleUntil; });
    EXPECT_TRUE(sftp.stat(server->root().string()).first.Ok());
}

TEST_F(SftpSshdTest, UnknownHostKeyIsAskedWithItsFingerprintAndKept) {
    std::vector<TSshQuestion> asked;
    sftp::TSftpLogin login{server->target(), std::nullopt,
                           [&asked](const TSshQuestion& question, auto answer) {
                               asked.push_back(question);
                               answer(std::string("yes"));
                           }};
    ASSERT_TRUE(sftp.login(login).Ok()) << sftp.client.RecentSshText();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Kind, TSshQuestion::TKind::UnknownHostKey);
    EXPECT_EQ(asked[0].Fingerprint, server->hostKey().fingerprint);
    EXPECT_EQ(asked[0].Host, "[127.0.0.1]:" + std::to_string(server->port()));
    EXPECT_NE(readFile(server->knownHosts()).find(server->hostKey().publicLine.substr(0, 60)),
              std::string::npos);
    ASSERT_TRUE(sftp.quit().Ok());

    // Known now: nothing is asked.
    SftpHarness again;
    asked.clear();
    ASSERT_TRUE(again.login(login).Ok());
    EXPECT_TRUE(asked.empty());
}

TEST_F(SftpSshdTest, DeclinedHostKeyCancelsTheLogin) {
    sftp::TSftpLogin login{server->target(), std::nullopt,
                           [](const TSshQuestion&, auto answer) { answer(std::nullopt); }};
    const auto result = sftp.login(login);
    EXPECT_EQ(result.Error, TSftpError::Cancelled);
    EXPECT_EQ(result.Message, "Login cancelled.");
    EXPECT_EQ(readFile(server->knownHosts()), "");
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST_F(SftpSshdTest, ChangedHostKeyIsRefusedWithoutAsking) {
    server->trustOtherHostKey();
    bool asked = false;
    sftp::TSftpLogin login{server->target(), std::nullopt,
                           [&asked](const TSshQuestion&, auto answer) {
                               asked = true;
                               answer(std::string("yes"));
                           }};
    login.Target.AcceptNewHostKey = true;
    const auto result = sftp.login(login);
    EXPECT_EQ(result.Error, TSftpError::HostKey);
    EXPECT_NE(result.Message.find("has changed"), std::string::npos) << result.Message;
    EXPECT_NE(result.Message.find(server->hostKey().fingerprint), std::string::npos)
        << result.Message;
    EXPECT_FALSE(asked);
}

TEST_F(SftpSshdTest, AbortEndsAnOpenTransferAndSsh) {
    ASSERT_TRUE(sftp.login(trustedLogin()).Ok());
    const std::string bytes = randomBytes(8'000'000, 3);
    local.write("big", bytes);
    std::filesystem::copy_file(local.file("big"), remote("big"));
    std::optional<sftp::TSftpResult> ended;
    bool closedReported = false;
    sftp.client.OnClosed = [&closedReported](const sftp::TSftpResult&) { closedReported = true; };
    sftp.client.Download(
        remote("big"), local.file("big.copy"), 0,
        {[this](std::int64_t position) {
             if (position > 0) {
                 sftp.client.Abort();
             }
         },
         [&ended](const sftp::TSftpResult& result, std::int64_t) { ended = result; }});
    ASSERT_TRUE(sftp.runUntil([&] { return ended.has_value(); }));
    EXPECT_EQ(ended->Error, TSftpError::Aborted);
    EXPECT_TRUE(closedReported);
    EXPECT_EQ(sftp.client.State(), sftp::TSftpClient::TState::Closed);
    EXPECT_EQ(ZombieChildren(), 0);
}

} // namespace
} // namespace qx::test
