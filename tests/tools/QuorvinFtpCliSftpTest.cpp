// SPDX-License-Identifier: GPL-3.0-or-later
// quorvin-ftp with sftp:// URLs against OpenSSH's sshd, started by the test on a loopback port
// with ssh pointed at the test's own configuration and known-hosts file.
#include "CliProcess.h"

#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

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

// SFTP names take the chosen set as well: "Привет.txt" in Windows-1251 on the server's disk.
TEST_F(QuorvinFtpCliSftp, NamesInAnotherCharacterSet) {
    std::ofstream(server->root() / "\xCF\xF0\xE8\xE2\xE5\xF2.txt", std::ios::binary) << "sftp";
    const std::vector<std::string> options = {"--accept-new-host-key", "--charset", "cp1251"};
    const auto withSet = [&](std::vector<std::string> args) {
        args.insert(args.begin(), options.begin(), options.end());
        return run(args);
    };
    const CliResult listed = withSet({"ls", url("")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("Привет.txt"), std::string::npos) << listed.out;
    const CliResult got = withSet({"get", url("Привет.txt"), local.path().string()});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_EQ(test::readFile(local.file("Привет.txt")), "sftp");
    const CliResult put = withSet({"put", local.write("Новый.txt", "up"), url("")});
    ASSERT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(test::readFile(server->root() / "\xCD\xEE\xE2\xFB\xE9.txt"), "up");
}

// copy between an sftp:// and an ftp:// server is relayed, with the command line's ssh options.
TEST_F(QuorvinFtpCliSftp, CopyRelaysATreeFromSftpToFtp) {
    if (!PyFtpdServer::available()) {
        GTEST_SKIP() << "pyftpdlib is not installed";
    }
    TempDir ftpRoot;
    PyFtpdServer ftp(ftpRoot.path());
    std::filesystem::create_directories(server->root() / "tree" / "sub");
    const std::string bytes = randomBytes(700'001, 3);
    std::ofstream(server->root() / "tree" / "sub" / "b.bin", std::ios::binary) << bytes;
    std::ofstream(server->root() / "tree" / "a.txt", std::ios::binary) << "alpha";
    const CliResult copied = run(
        {"--accept-new-host-key", "copy", url("tree"), "ftp://127.0.0.1:" + ftp.portText() + "/"});
    ASSERT_EQ(copied.exitCode, 0) << copied.err << copied.out;
    EXPECT_EQ(test::readFile(ftpRoot.path() / "tree" / "sub" / "b.bin"), bytes);
    EXPECT_EQ(test::readFile(ftpRoot.path() / "tree" / "a.txt"), "alpha");
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

TEST_F(QuorvinFtpCliSftp, MirrorsBothWaysAndASecondRunHasNothingToDo) {
    server->trustHostKey();
    local.write("site/index.html", "home");
    local.write("site/a/b/deep.txt", std::string(100000, 'd'));
    const CliResult up = run({"mirror", "--reverse", local.file("site"), url("www")});
    ASSERT_EQ(up.exitCode, 0) << up.out << up.err;
    EXPECT_EQ(test::readFile(server->root() / "www/a/b/deep.txt"), std::string(100000, 'd'));
    local.write("back/stale.txt", "old");
    const CliResult down = run({"mirror", "--delete", url("www"), local.file("back")});
    ASSERT_EQ(down.exitCode, 0) << down.out << down.err;
    EXPECT_EQ(test::readFile(local.file("back/index.html")), "home");
    EXPECT_FALSE(std::filesystem::exists(local.file("back/stale.txt")));
    const CliResult again = run({"mirror", url("www"), local.file("back")});
    ASSERT_EQ(again.exitCode, 0) << again.out << again.err;
    EXPECT_NE(again.out.find("mirror: 0 files transferred, 0 deleted"), std::string::npos)
        << again.out;
}

// An ssh-agent of the test's own on a socket in a folder of the test; stopped with the object.
class TestAgent {
public:
    explicit TestAgent(const std::filesystem::path& folder) : m_socket(folder / "agent.sock") {
        m_process.start({"/usr/bin/ssh-agent", "-D", "-a", m_socket.string()});
        for (int tick = 0; tick < 100 && !std::filesystem::exists(m_socket); ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    // ssh-add of the key; whether it was taken.
    bool add(const std::filesystem::path& key) const {
        const std::string command = "SSH_AUTH_SOCK=" + ShellQuote(m_socket.string()) + " ssh-add " +
                                    ShellQuote(key.string()) + " </dev/null >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    }
    const std::filesystem::path& socket() const { return m_socket; }

private:
    std::filesystem::path m_socket;
    ChildProcess m_process;
};

// Sites of the site book with "Protocol" 1: the site's key file, its agent choice, its ssh
// configuration and its known-hosts file reach ssh.
TEST_F(QuorvinFtpCliSftp, SftpSiteOfTheSiteBookUsesItsKeyAgentAndFiles) {
    // The site's known-hosts file trusts the server; the configuration's own is left empty, so
    // a login that did not use the site's file would be refused.
    server->trustHostKey();
    const auto siteKnownHosts = server->folder() / "site_known_hosts";
    std::filesystem::copy_file(server->knownHosts(), siteKnownHosts);
    std::ofstream(server->knownHosts(), std::ios::trunc).close();

    // A key only the agent holds: its file is gone once added, its public half names it.
    const SshKey agentKey = MakeSshKey(server->folder(), "agent_key");
    server->authorize(agentKey);
    const TestAgent agent(server->folder());
    ASSERT_TRUE(agent.add(agentKey.privateKey)) << "ssh-add failed";
    std::filesystem::remove(agentKey.privateKey);
    const auto config =
        server->writeConfig("site_config", "IdentityFile " + agentKey.privateKey.string());

    TempDir home;
    std::string book = "[\\Software\\Quorvin Explorer\\SiteBook\\Tree]\n@=string:\"Folder\"\n"
                       "[\\Software\\Quorvin Explorer\\SiteBook\\Tree\\Ssh]\n"
                       "@=string:\"Folder\"\n";
    // One login attempt each: a refused key is not tried again.
    const auto site = [&](const std::string& name, const std::string& keyFile, bool agentOn) {
        book += "[\\Software\\Quorvin Explorer\\SiteBook\\Tree\\Ssh\\" + name +
                "]\n@=string:\"Site\"\n\"HostName\"=string:\"127.0.0.1\"\n\"Port\"=number:" +
                std::to_string(server->port()) + "\n\"UserName\"=string:\"" +
                ::getpwuid(::getuid())->pw_name + "\"\n\"Protocol\"=number:1\n" +
                "\"SshKeyFile\"=string:\"" + keyFile +
                "\"\n\"SshUseAgent\"=number:" + (agentOn ? "1" : "0") +
                "\n\"LoginRetry\"=number:1\n\"SshConfigFile\"=string:\"" + config.string() +
                "\"\n\"SshKnownHostsFile\"=string:\"" + siteKnownHosts.string() + "\"\n";
    };
    site("Key", server->userKey().privateKey.string(), false);
    site("Agent", "", true);
    site("NoAgent", "", false);
    home.write("quorvin-explorer/settings.conf", book);

    const std::string bytes = randomBytes(700'001, 17);
    const std::string source = local.write("site.bin", bytes);
    const std::string remotePath = (server->root() / "site.bin").string();
    ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
    ::setenv("SSH_AUTH_SOCK", agent.socket().c_str(), 1);
    const CliResult put = RunCli({"--site", "\\Ssh\\Key", "put", source, remotePath});
    const CliResult got =
        RunCli({"--site", "\\Ssh\\Agent", "get", remotePath, local.file("back.bin")});
    const CliResult refused = RunCli({"--site", "\\Ssh\\NoAgent", "ls", "/"});
    ::unsetenv("SSH_AUTH_SOCK");
    ::unsetenv("XDG_CONFIG_HOME");

    ASSERT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(test::readFile(remotePath), bytes);
    ASSERT_EQ(got.exitCode, 0) << got.err;
    EXPECT_EQ(test::readFile(local.file("back.bin")), bytes);
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find("Permission denied"), std::string::npos) << refused.err;
    EXPECT_EQ(test::readFile(server->knownHosts()), "")
        << "the site's known-hosts file was not used";
}

} // namespace
} // namespace qx::test
