// SPDX-License-Identifier: GPL-3.0-or-later
// The engine against real servers on loopback (pyftpdlib and vsftpd), in passive and active
// mode: listings, downloads, uploads, resumed transfers and ASCII line ends.

#include "engine/ListDecoder.h"
#include "support/EngineHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>

using namespace qx;
using namespace qx::test;

namespace {

enum class ServerKind { PyFtpd, Vsftpd };

struct Setup {
    ServerKind server;
    bool passive;
};

class RealServer : public ::testing::TestWithParam<Setup> {
protected:
    void SetUp() override {
        if (GetParam().server == ServerKind::Vsftpd) {
            const std::string reason = VsftpdServer::unavailableReason();
            if (!reason.empty()) {
                GTEST_SKIP() << reason;
            }
            m_vsftpd = std::make_unique<VsftpdServer>(m_root.path());
            m_port = m_vsftpd->portText();
            m_uploads = "incoming/";
        } else {
            if (!PyFtpdServer::available()) {
                GTEST_SKIP() << "pyftpdlib is not installed";
            }
            m_pyftpd = std::make_unique<PyFtpdServer>(m_root.path());
            m_port = m_pyftpd->portText();
        }
        m_harness = std::make_unique<EngineHarness>(m_port);
        m_harness->engine.Passive = GetParam().passive;
        m_harness->engine.Timeout = 30;
    }

    EngineHarness& h() { return *m_harness; }

    // Logs in and switches to binary transfers (servers start in ASCII).
    bool loginBinary() { return h().login() && run(&TCustomFtpCliEx::SetTypeBinary) == 0; }
    std::filesystem::path uploadFolder() const { return m_root.path() / m_uploads; }

    // Runs one request to its end; its result.
    int run(void (TCustomFtpCliEx::*request)()) {
        const std::size_t before = h().done.size();
        (h().engine.*request)();
        const bool finished = h().waitDone(before + 1, std::chrono::seconds(60));
        EXPECT_TRUE(finished);
        if (!finished) {
            for (const auto& line : h().display) {
                ADD_FAILURE() << line;
            }
        }
        return h().done.size() > before ? h().done.back().second : -1;
    }

    TempDir m_root;
    TempDir m_local;
    std::unique_ptr<PyFtpdServer> m_pyftpd;
    std::unique_ptr<VsftpdServer> m_vsftpd;
    std::unique_ptr<EngineHarness> m_harness;
    std::string m_port;
    std::string m_uploads;
};

} // namespace

TEST_P(RealServer, ListsAFolderWithAwkwardNames) {
    m_root.write("plain.txt", "12345");
    m_root.write("name with  spaces.txt", "x");
    m_root.write("\xc3\xbcnic\xc3\xb6"
                 "de.txt",
                 "yz");
    m_root.write(".profile", "dot");
    m_root.write("sub/inner.bin", "inner");
    ASSERT_TRUE(loginBinary());
    h().engine.HostDirName = "/";
    ASSERT_EQ(run(&TCustomFtpCliEx::Cwd), 0);
    h().engine.LocalFileName = m_local.file("listing.tmp");
    h().engine.HostFileName.clear();
    ASSERT_EQ(run(&TCustomFtpCliEx::Dir), 0) << h().engine.ErrorMessage();

    TFTPListItems items;
    ASSERT_TRUE(DecodeListFile(m_local.file("listing.tmp"), items));
    EXPECT_FALSE(std::filesystem::exists(m_local.file("listing.tmp")));
    std::map<std::string, const TFTPListItem*> byName;
    for (const auto& item : items) {
        byName[item->Name] = item.get();
    }
    ASSERT_TRUE(byName.count("plain.txt"));
    EXPECT_EQ(byName["plain.txt"]->Size, 5);
    EXPECT_TRUE(byName["plain.txt"]->IsFile);
    EXPECT_TRUE(byName.count("name with  spaces.txt"));
    EXPECT_TRUE(byName.count("\xc3\xbcnic\xc3\xb6"
                             "de.txt"));
    ASSERT_TRUE(byName.count("sub"));
    EXPECT_FALSE(byName["sub"]->IsFile);
    EXPECT_EQ(byName["sub"]->Size, -1);
    EXPECT_TRUE(byName.count(".profile"));
}

TEST_P(RealServer, DownloadAndResumedDownloadGiveIdenticalBytes) {
    const std::string content = randomBytes(3 * 1024 * 1024 + 17, 1);
    m_root.write("data.bin", content);
    ASSERT_TRUE(loginBinary());
    h().engine.HostFileName = "data.bin";
    h().engine.LocalFileName = m_local.file("whole.bin");
    ASSERT_EQ(run(&TCustomFtpCliEx::Get), 0) << h().engine.ErrorMessage();
    EXPECT_EQ(readFile(m_local.file("whole.bin")), content);

    m_local.write("part.bin.part", content.substr(0, 1000000)); // what a failed one left
    h().engine.LocalFileName = m_local.file("part.bin");
    ASSERT_EQ(run(&TCustomFtpCliEx::ResumeGet), 0) << h().engine.ErrorMessage();
    EXPECT_TRUE(std::find(h().display.begin(), h().display.end(), "> REST 1000000") !=
                h().display.end());
    EXPECT_EQ(readFile(m_local.file("part.bin")), content);
}

TEST_P(RealServer, UploadAndResumedUploadGiveIdenticalBytes) {
    const std::string content = randomBytes(2 * 1024 * 1024 + 5, 2);
    ASSERT_TRUE(loginBinary());
    h().engine.LocalFileName = m_local.write("up.bin", content);
    h().engine.HostFileName = m_uploads + "up.bin";
    ASSERT_EQ(run(&TCustomFtpCliEx::Put), 0) << h().engine.ErrorMessage();
    EXPECT_EQ(readFile(uploadFolder() / "up.bin"), content);

    // A broken upload left the first 700000 bytes on the server.
    {
        std::ofstream partial(uploadFolder() / "resumed.bin", std::ios::binary);
        partial << content.substr(0, 700000);
    }
    if (m_vsftpd) {
        VsftpdServer::giveToFtpUser(uploadFolder() / "resumed.bin");
    }
    h().engine.HostFileName = m_uploads + "resumed.bin";
    ASSERT_EQ(run(&TCustomFtpCliEx::Size), 0);
    ASSERT_EQ(h().engine.SizeResult(), 700000);
    h().engine.ResumeAt = h().engine.SizeResult();
    ASSERT_EQ(run(&TCustomFtpCliEx::Append), 0) << h().engine.ErrorMessage();
    EXPECT_EQ(readFile(uploadFolder() / "resumed.bin"), content);
}

TEST_P(RealServer, AsciiTransfersKeepLocalLineEnds) {
    const std::string text = "first line\nsecond line\n\nlast line without end";
    m_root.write("notes.txt", text);
    ASSERT_TRUE(h().login());
    ASSERT_EQ(run(&TCustomFtpCliEx::SetTypeAscii), 0);
    h().engine.HostFileName = "notes.txt";
    h().engine.LocalFileName = m_local.file("notes.txt");
    ASSERT_EQ(run(&TCustomFtpCliEx::Get), 0) << h().engine.ErrorMessage();
    EXPECT_EQ(readFile(m_local.file("notes.txt")), text);

    h().engine.HostFileName = m_uploads + "back.txt";
    ASSERT_EQ(run(&TCustomFtpCliEx::Put), 0) << h().engine.ErrorMessage();
    EXPECT_EQ(readFile(uploadFolder() / "back.txt"), text);
}

TEST_P(RealServer, FailuresLeaveTheSessionUsable) {
    ASSERT_TRUE(loginBinary());
    h().engine.HostFileName = "does-not-exist";
    h().engine.LocalFileName = m_local.file("nothing");
    EXPECT_EQ(run(&TCustomFtpCliEx::Get), 550);
    EXPECT_EQ(h().engine.ErrorMessage().substr(0, 3), "550");
    h().engine.HostDirName = "/no/such/folder";
    EXPECT_EQ(run(&TCustomFtpCliEx::Cwd), 550);
    EXPECT_EQ(run(&TCustomFtpCliEx::Pwd), 0);
    EXPECT_EQ(h().engine.DirResult(), "/");
    EXPECT_EQ(run(&TCustomFtpCliEx::Quit), 0);
    EXPECT_FALSE(h().engine.Connected());
}

INSTANTIATE_TEST_SUITE_P(
    Servers, RealServer,
    ::testing::Values(Setup{ServerKind::PyFtpd, true}, Setup{ServerKind::PyFtpd, false},
                      Setup{ServerKind::Vsftpd, true}, Setup{ServerKind::Vsftpd, false}),
    [](const ::testing::TestParamInfo<Setup>& param) {
        return std::string(param.param.server == ServerKind::PyFtpd ? "PyFtpd" : "Vsftpd") +
               (param.param.passive ? "Passive" : "Active");
    });
