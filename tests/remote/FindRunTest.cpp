// SPDX-License-Identifier: GPL-3.0-or-later
// A search through a session of its own against pyftpdlib on loopback: matches told folder by
// folder, a stop that ends it, a login that fails.

#include "remote/FindRun.h"

#include "platform/PumpedUiThread.h"
#include "session/ThreadedFTPClient.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

struct FindHarness {
    TempDir served;
    std::unique_ptr<PyFtpdServer> ftp;
    PumpedUiThread ui;
    std::shared_ptr<TThreadedFTPClient> client = TThreadedFTPClient::Create(ui);
    std::vector<std::string> found;
    std::vector<std::string> listed;
    bool done = false;

    explicit FindHarness(const std::string& password = "secret") {
        for (const char* file : {"top/a.txt", "top/b.bin", "top/sub/c.txt", "top/sub/deep/d.txt",
                                 "top/other/e.txt", "top/other/f.bin"}) {
            served.write(file, file);
        }
        ftp = std::make_unique<PyFtpdServer>(served.path());
        client->HostName = "127.0.0.1";
        client->Port = ftp->portText();
        client->UserName = "user";
        client->Password = password;
        client->LoginRetry = 1;
        client->LowestPriority = false;
        client->StartThread();
    }
    ~FindHarness() {
        ui.pumpUntil([this] { return !client->WorkerRunning(); }, 30s);
    }

    std::unique_ptr<TFindRun> run(const std::string& masks) {
        TFindCriteria criteria;
        criteria.Names.SetMasks(masks);
        auto made = std::make_unique<TFindRun>(std::make_unique<TSyncSession>(client), "/top",
                                               std::move(criteria));
        made->OnListing = [this](const std::string& folder) { listed.push_back(folder); };
        made->OnFound = [this](const std::vector<TFoundEntry>& entries) {
            for (const TFoundEntry& entry : entries) {
                found.push_back(entry.Path);
            }
        };
        made->OnDone = [this] { done = true; };
        return made;
    }
};

#define REQUIRE_PYFTPD()                                                                           \
    if (!PyFtpdServer::available()) {                                                              \
        GTEST_SKIP() << "pyftpdlib is not installed";                                              \
    }

} // namespace

TEST(FindRun, ToldFolderByFolderAndAStopEndsTheSearchAndItsSession) {
    REQUIRE_PYFTPD();
    {
        FindHarness h;
        const auto run = h.run("*.txt");
        run->Start();
        ASSERT_TRUE(h.ui.pumpUntil([&] { return h.done; }, 30s));
        std::ranges::sort(h.found);
        EXPECT_EQ(h.found, (std::vector<std::string>{"/top/a.txt", "/top/other/e.txt",
                                                     "/top/sub/c.txt", "/top/sub/deep/d.txt"}));
        EXPECT_EQ(h.listed.size(), 4U);
        EXPECT_EQ(run->FoldersListed(), 4U);
        EXPECT_EQ(run->Found(), 4U);
        EXPECT_TRUE(run->Failures().empty()) << run->Failures().front().Reason;
        EXPECT_FALSE(run->Running());
    }
    FindHarness h;
    auto run = h.run("*");
    run->OnFound = [&](const std::vector<TFoundEntry>& entries) {
        h.found.push_back(entries.front().Path);
        run->Stop();
    };
    run->Start();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return !h.found.empty(); }, 30s));
    h.ui.pumpUntil([] { return false; }, 500ms);
    EXPECT_EQ(h.found.size(), 1U);
    EXPECT_EQ(h.listed, std::vector<std::string>{"/top"});
    EXPECT_FALSE(h.done);
    run.reset(); // ends the session: the harness waits for its worker to go
}

TEST(FindRun, AFailedLoginEndsTheSearchWithTheTopNotListedAndWhy) {
    REQUIRE_PYFTPD();
    FindHarness h("wrong");
    const auto run = h.run("*");
    run->Start();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.done; }, 30s));
    EXPECT_TRUE(h.found.empty());
    ASSERT_EQ(run->Failures().size(), 1U);
    EXPECT_EQ(run->Failures().front().Folder, "/top");
    EXPECT_FALSE(run->Failures().front().Reason.empty());
}
