// SPDX-License-Identifier: GPL-3.0-or-later
// quorvin-ftp mirror as a user runs it, against pyftpdlib on loopback.

#include "CliProcess.h"
#include "support/RealFtpServers.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qx::test;
namespace fs = std::filesystem;

namespace {

class QuorvinFtpCliMirror : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PyFtpdServer::available()) {
            GTEST_SKIP() << "pyftpdlib is not installed";
        }
        m_server = std::make_unique<PyFtpdServer>(m_root.path());
        m_url = "ftp://127.0.0.1:" + m_server->portText() + "/site";
    }

    // Both trees alike, byte for byte ("diff -r"); the difference otherwise.
    std::string Differences() const {
        const std::string command = "diff -r " + ShellQuote((m_root.path() / "site").string()) +
                                    " " + ShellQuote(m_local.file("site")) + " 2>&1";
        std::string output;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[512];
            while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
                output += buffer;
            }
            ::pclose(pipe);
        }
        return output;
    }

    TempDir m_root;
    TempDir m_local;
    std::unique_ptr<PyFtpdServer> m_server;
    std::string m_url;
};

TEST_F(QuorvinFtpCliMirror, ADownloadMakesTheTreeAlikeAndASecondOneHasNothingToDo) {
    m_root.write("site/index.html", "<p>home</p>\n");
    m_root.write("site/css/main.css", std::string(70000, 'c'));
    m_root.write("site/a/b/c/deep.txt", "deep\n");
    m_root.write("site/.htaccess", "deny\n");
    fs::create_directories(m_root.path() / "site/empty");
    const auto local = m_local.file("site");

    const CliResult first = RunCli({"mirror", "--carriers", "2", m_url, local});
    ASSERT_EQ(first.exitCode, 0) << first.out << first.err;
    EXPECT_EQ(Differences(), "");
    EXPECT_NE(first.out.find("mirror: 4 files transferred, 0 deleted"), std::string::npos)
        << first.out;

    const CliResult second = RunCli({"mirror", m_url, local});
    ASSERT_EQ(second.exitCode, 0) << second.out << second.err;
    EXPECT_NE(second.out.find("mirror: 0 files transferred, 0 deleted"), std::string::npos)
        << second.out;

    m_root.write("site/css/main.css", "changed\n");
    m_root.write("site/a/new.txt", "new\n");
    const CliResult third = RunCli({"mirror", m_url, local});
    ASSERT_EQ(third.exitCode, 0) << third.out << third.err;
    EXPECT_NE(third.out.find("mirror: 2 files transferred"), std::string::npos) << third.out;
    EXPECT_EQ(Differences(), "");
}

TEST_F(QuorvinFtpCliMirror, AReverseMirrorDeletesOnlyWhenAskedAndNeverWhatIsExcluded) {
    m_local.write("site/index.html", "home\n");
    m_local.write("site/img/logo.png", std::string(5000, 'p'));
    m_root.write("site/old.html", "old\n");
    m_root.write("site/gone/one.txt", "1\n");
    m_root.write("site/gone/deeper/two.txt", "2\n");
    m_root.write("site/notes.keep", "mine\n");
    m_root.write("site/held/three.txt", "3\n");
    m_root.write("site/held/log.keep", "kept\n");
    const auto local = m_local.file("site");
    const auto remote = m_root.path() / "site";

    const CliResult dry = RunCli(
        {"mirror", "--reverse", "--delete", "--dry-run", "--exclude", "*.keep", local, m_url});
    ASSERT_EQ(dry.exitCode, 0) << dry.out << dry.err;
    EXPECT_NE(dry.out.find("upload img/logo.png  (only here)"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("delete remote gone/deeper/two.txt  (not in the source)"),
              std::string::npos)
        << dry.out;
    EXPECT_EQ(dry.out.find("notes.keep"), std::string::npos) << dry.out;
    EXPECT_TRUE(fs::exists(remote / "old.html"));
    EXPECT_FALSE(fs::exists(remote / "index.html"));

    const CliResult keep = RunCli({"mirror", "--reverse", local, m_url});
    ASSERT_EQ(keep.exitCode, 0) << keep.out << keep.err;
    EXPECT_EQ(readFile((remote / "img/logo.png").string()), std::string(5000, 'p'));
    EXPECT_TRUE(fs::exists(remote / "old.html"));

    const CliResult clean =
        RunCli({"mirror", "--reverse", "--delete", "--exclude", "*.keep", local, m_url});
    EXPECT_EQ(clean.exitCode, 1) << clean.out << clean.err; // "held" keeps what was excluded
    EXPECT_NE(clean.err.find("the folder [held] was left: it is not empty"), std::string::npos)
        << clean.err;
    EXPECT_FALSE(fs::exists(remote / "old.html"));
    EXPECT_FALSE(fs::exists(remote / "gone"));
    EXPECT_FALSE(fs::exists(remote / "held/three.txt"));
    EXPECT_EQ(readFile((remote / "held/log.keep").string()), "kept\n");
    EXPECT_EQ(readFile((remote / "notes.keep").string()), "mine\n");
    EXPECT_EQ(readFile((remote / "index.html").string()), "home\n");
}

TEST_F(QuorvinFtpCliMirror, MistakesAreToldBeforeAnythingConnects) {
    const CliResult missing = RunCli({"mirror", "--reverse", m_local.file("nothing"), m_url});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("no such folder"), std::string::npos) << missing.err;
    const CliResult mask = RunCli({"mirror", "--include", "[a-", m_url, m_local.file("x")});
    EXPECT_EQ(mask.exitCode, 2);
    EXPECT_FALSE(fs::exists(m_local.file("x")));
}

} // namespace
