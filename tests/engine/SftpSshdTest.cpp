// SPDX-License-Identifier: GPL-3.0-or-later
// The SFTP engine against OpenSSH's sshd, started by the test on a loopback port.
#include "support/SftpHarness.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
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

TEST_F(SftpSshdTest, EncryptedKeysAreUnlockedWithThePassphraseAskedFor) {
    server->trustHostKey();
    for (const std::string& type : {std::string("ed25519"), std::string("rsa")}) {
        const SshKey key = MakeSshKey(server->folder(), "locked_" + type, "open sesame", type);
        server->authorize(key);
        sftp::TSftpLogin login{server->target(), std::nullopt, nullptr};
        login.Target.ConfigFile =
            server->writeConfig("locked_config", "IdentityAgent none").string();
        login.Target.IdentityFile = key.privateKey.string();
        // A wrong passphrase first: ssh asks again, and the second answer unlocks the key.
        std::vector<std::string> prompts;
        login.Ask = [&prompts](const TSshQuestion& question, auto answer) {
            EXPECT_EQ(question.Kind, TSshQuestion::TKind::Passphrase) << question.Prompt;
            prompts.push_back(question.Prompt);
            answer(std::string(prompts.size() == 1 ? "wrong" : "open sesame"));
        };
        SftpHarness session;
        ASSERT_TRUE(session.login(login).Ok()) << type << ": " << session.client.RecentSshText();
        ASSERT_EQ(prompts.size(), 2u) << type;
        EXPECT_NE(prompts[0].find(key.privateKey.filename().string()), std::string::npos)
            << prompts[0];
        EXPECT_EQ(session.client.ServerInfo().Ssh.AuthenticatedWith, "publickey");
        ASSERT_TRUE(session.quit().Ok());
    }
}

TEST_F(SftpSshdTest, HostAliasOfTheConfigurationGivesAddressPortAndUser) {
    server->trustHostKey();
    const std::string user = ::getpwuid(::getuid())->pw_name;
    sftp::TSftpLogin login{{}, std::nullopt, nullptr};
    login.Target.Host = "qx-alias";
    login.Target.ConfigFile =
        server
            ->writeConfig("alias_config", "Host qx-alias\n  HostName 127.0.0.1\n  Port " +
                                              std::to_string(server->port()) + "\n  User " + user +
                                              "\n  IdentityAgent none\n  IdentityFile " +
                                              server->userKey().privateKey.string() + "\n")
            .string();
    login.Target.TimeoutSeconds = 20;
    ASSERT_TRUE(sftp.login(login).Ok()) << sftp.client.RecentSshText();
    EXPECT_EQ(sftp.client.Home(), server->root().string());
    ASSERT_TRUE(sftp.quit().Ok());
}

// Writes size bytes of data at offset into the file (made when missing).
void WriteAt(const std::string& path, std::int64_t offset, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

std::string ReadAt(const std::string& path, std::int64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t got = fd >= 0 ? ::pread(fd, bytes.data(), size, offset) : -1;
    if (fd >= 0) {
        ::close(fd);
    }
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

// Whether a file of that size can be made sparse in the folder (little space taken).
bool SparseFilesFit(const std::filesystem::path& folder, std::int64_t size) {
    const auto probe = (folder / "sparse-probe").string();
    std::ofstream(probe).close();
    std::filesystem::resize_file(probe, static_cast<std::uintmax_t>(size));
    struct stat status {};
    struct statvfs space {};
    const bool sparse = ::stat(probe.c_str(), &status) == 0 && status.st_blocks * 512 < (1 << 20);
    std::filesystem::remove(probe);
    return sparse && ::statvfs(folder.c_str(), &space) == 0 &&
           static_cast<std::int64_t>(space.f_bavail) * static_cast<std::int64_t>(space.f_frsize) >
               (256 << 20);
}

// Files of 5 GiB (sparse), resumed a few MiB before their end in both directions: every
// offset is beyond 32 bits. The data blocks around the resume point and at the end are
// compared; the zeros between them are the file system's holes on both sides.
TEST_F(SftpSshdTest, FiveGibibyteFilesResumeAtTheirEnd) {
    constexpr std::int64_t kSize = std::int64_t{5} << 30;
    constexpr std::int64_t kResumeAt = kSize - (std::int64_t{3} << 20) - 12'345;
    if (!SparseFilesFit(local.path(), kSize) || !SparseFilesFit(server->root(), kSize)) {
        GTEST_SKIP() << "the temporary file system holds no sparse 5 GiB files";
    }
    ASSERT_TRUE(sftp.login(trustedLogin()).Ok()) << sftp.client.RecentSshText();
    const std::string before = randomBytes(1 << 20, 51); // ends at the resume point
    const std::string tail = randomBytes(kSize - kResumeAt, 52);
    const auto makeWhole = [&](const std::string& path) {
        WriteAt(path, kResumeAt - static_cast<std::int64_t>(before.size()), before);
        WriteAt(path, kResumeAt, tail);
    };
    const auto makePart = [&](const std::string& path) {
        WriteAt(path, kResumeAt - static_cast<std::int64_t>(before.size()), before);
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(kResumeAt));
    };
    const auto expectWhole = [&](const std::string& path) {
        EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(kSize));
        EXPECT_TRUE(ReadAt(path, kResumeAt - static_cast<std::int64_t>(before.size()),
                           before.size()) == before);
        EXPECT_TRUE(ReadAt(path, kResumeAt, tail.size()) == tail);
    };

    makeWhole(remote("big.bin"));
    makePart(local.file("big.bin"));
    ASSERT_TRUE(sftp.download(remote("big.bin"), local.file("big.bin"), kResumeAt).Ok());
    expectWhole(local.file("big.bin"));

    makeWhole(local.file("up.bin"));
    makePart(remote("up.bin"));
    ASSERT_TRUE(sftp.upload(local.file("up.bin"), remote("up.bin"), kResumeAt).Ok());
    expectWhole(remote("up.bin"));
}

} // namespace
} // namespace qx::test
