// SPDX-License-Identifier: GPL-3.0-or-later
// A session's speed limit against pyftpdlib: an abort ends a download that waits for its
// limit at once, a changed rate holds for the running session, and the download resumes.
#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qx::test {
namespace {

using namespace std::chrono_literals;

TEST(SessionSpeedLimit, AnAbortEndsALimitedDownloadThatThenResumesUnlimited) {
    if (!PyFtpdServer::available()) {
        GTEST_SKIP() << "pyftpdlib is not installed";
    }
    TempDir root;
    TempDir local;
    const std::string content = randomBytes(2 * 1024 * 1024, 9);
    root.write("big.bin", content);
    PyFtpdServer server(root.path());
    ClientHarness h(server.portText());
    h.client->UserName = "user";
    h.client->Password = "secret";
    h.client->SpeedLimits = TSpeedLimits::Make(100'000, 0);
    h.client->ResumeTransfer = true;
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostFileName = "big.bin";
    h.client->LocalFileName = local.file("big.bin");

    h.client->DownloadFile();
    h.ui.pumpUntil([] { return false; }, 1s);
    const auto aborted = std::chrono::steady_clock::now();
    h.client->Abort();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.dones.size() == 2; }, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - aborted, 1s);
    EXPECT_EQ(h.dones[1].resultCode, 2);
    const auto partial = std::filesystem::file_size(local.file("big.bin.part"));
    EXPECT_GT(partial, 50'000u);
    EXPECT_LT(partial, 300'000u);

    h.client->SpeedLimits.Download->SetRate(0);
    EXPECT_EQ(h.run(&TThreadedFTPClient::DownloadFile, 10s), 0) << h.client->ErrorMessage;
    EXPECT_TRUE(readFile(local.file("big.bin")) == content);
    EXPECT_EQ(h.countStartingWith("> REST " + std::to_string(partial)), 1u);
}

} // namespace
} // namespace qx::test
