// SPDX-License-Identifier: GPL-3.0-or-later
// Planning folder by folder through a session of its own and running the plan through the
// transfer queue, against pyftpdlib (FTP and FTPS) and sshd (SFTP) on loopback.

#include "sync/SyncRun.h"
#include "platform/PumpedUiThread.h"
#include "queue/CarrierQueue.h"
#include "queue/ThreadedFTPCarrier.h"
#include "session/ThreadedFTPClient.h"
#include "support/RealFtpServers.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"
#include "sync/SyncPlanner.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kYear2020 = 1'590'000'000;

void setTime(const fs::path& path, std::int64_t seconds) {
    fs::last_write_time(path, fs::file_time_type::clock::from_sys(
                                  std::chrono::sys_seconds(std::chrono::seconds(seconds))));
}

enum class ServerKind { Ftp, Ftps, Sftp };

// Why the server of this kind cannot run here; empty when it can.
std::string unavailable(ServerKind kind) {
    if (kind == ServerKind::Sftp) {
        return SshdServer::unavailableReason();
    }
    if (!PyFtpdServer::available()) {
        return "pyftpdlib is not installed";
    }
    if (kind == ServerKind::Ftps &&
        (!TestCertificate::available() || !PyFtpdServer::tlsAvailable())) {
        return "openssl or python3-openssl is not installed";
    }
    return {};
}

struct SyncHarness {
    TempDir served;
    TempDir local;
    std::unique_ptr<TestCertificate> certificate;
    std::unique_ptr<PyFtpdServer> ftp;
    std::unique_ptr<SshdServer> sshd;
    PumpedUiThread ui;
    TAsciiExtensions ascii{{".txt"}};
    TCarrierQueue queue{[this] {
                            auto carrier = TThreadedFTPCarrier::Create(ui);
                            carrier->LowestPriority = false;
                            carrier->KeepFileTimes = true;
                            return carrier;
                        },
                        &ascii};
    std::shared_ptr<TThreadedFTPClient> client = TThreadedFTPClient::Create(ui);
    std::unique_ptr<TSyncSession> session;
    TSyncServer login;
    TSyncFolders folders;

    explicit SyncHarness(ServerKind kind = ServerKind::Ftp) {
        fs::create_directories(served.path() / "data");
        login.HostName = client->HostName = "127.0.0.1";
        if (kind == ServerKind::Sftp) {
            sshd = std::make_unique<SshdServer>();
            sshd->trustHostKey();
            login.Port = client->Port = std::to_string(sshd->port());
            login.Protocol = client->Protocol = TRemoteProtocolKind::Sftp;
            client->Ssh.ConfigFile = sshd->target().ConfigFile;
            login.Ssh = client->Ssh;
            folders = {(served.path() / "data").string(), local.path().string()};
        } else {
            PyFtpdServer::Options options;
            if (kind == ServerKind::Ftps) {
                certificate = std::make_unique<TestCertificate>();
                options.tls = certificate.get();
                login.Encryption = client->Encryption = TFtpTlsMode::ExplicitRequired;
                client->TrustedFingerprints = queue.TrustedFingerprints = {certificate->sha256()};
            }
            ftp = std::make_unique<PyFtpdServer>(served.path(), options);
            login.Port = client->Port = ftp->portText();
            login.UserName = client->UserName = "user";
            login.Password = client->Password = "secret";
            folders = {"/data", local.path().string()};
        }
        client->LowestPriority = false;
        client->StartThread();
        session = std::make_unique<TSyncSession>(client);
    }
    ~SyncHarness() {
        session.reset();
        queue.Suspend();
        queue.AbortAll();
        ui.pumpUntil([this] { return !queue.WorkersRunning() && !client->WorkerRunning(); }, 30s);
    }

    std::string remote(const std::string& path) const { return served.file("data/" + path); }

    TSyncPlan plan(const TSyncOptions& options, const TSyncState* last = nullptr,
                   std::vector<std::string>* listed = nullptr) {
        TSyncPlanner planner(*session, folders, options, last, 0);
        std::optional<TSyncPlan> plan;
        planner.OnListing = [&](const std::string& folder) {
            if (listed != nullptr) {
                listed->push_back(folder);
            }
        };
        planner.OnDone = [&](TSyncPlan done) { plan = std::move(done); };
        planner.Start();
        EXPECT_TRUE(ui.pumpUntil([&] { return plan.has_value(); }, 30s));
        return plan.value_or(TSyncPlan{});
    }

    // Runs the plan; stage is told of each stage as it comes.
    std::unique_ptr<TSyncRun> run(TSyncPlan plan,
                                  const std::function<void(const std::string&)>& stage = {}) {
        auto run = std::make_unique<TSyncRun>(
            *session, queue,
            [this](std::vector<std::unique_ptr<TFTPCarryItem>> items) {
                queue.AddItems(std::move(items));
                queue.StartCarriers();
            },
            login, folders, std::move(plan));
        bool finished = false;
        run->OnFinished = [&finished] { finished = true; };
        run->OnStage = stage;
        run->Start();
        EXPECT_TRUE(ui.pumpUntil([&] { return finished; }, 60s));
        run->OnFinished = nullptr;
        return run;
    }
};

std::vector<std::string> kinds(const TSyncPlan& plan) {
    std::vector<std::string> texts;
    for (const TSyncAction& action : plan.Actions) {
        texts.push_back(std::string(SyncActionCaption(action.Kind)) + " " + action.Path);
    }
    return texts;
}

#define REQUIRE_PYFTPD()                                                                           \
    if (!PyFtpdServer::available()) {                                                              \
        GTEST_SKIP() << "pyftpdlib is not installed";                                              \
    }

} // namespace

TEST(SyncRun, UploadMakesFoldersCarriesThroughTheQueueAndDeletesOrphansAfterwards) {
    REQUIRE_PYFTPD();
    SyncHarness h;
    h.served.write("data/a.txt", "old");
    setTime(h.remote("a.txt"), kYear2020);
    h.served.write("data/same.txt", "same");
    setTime(h.remote("same.txt"), kYear2020);
    h.served.write("data/stale.txt", "stale");
    h.served.write("data/olddir/y.txt", "y");
    h.local.write("a.txt", "new content");
    h.local.write("same.txt", "same");
    setTime(h.local.path() / "same.txt", kYear2020);
    h.local.write("new/sub/b.bin", randomBytes(70'000, 5));

    TSyncOptions options;
    options.DeleteOrphans = true;
    std::vector<std::string> listed;
    TSyncPlan plan = h.plan(options, nullptr, &listed);
    EXPECT_EQ(listed, (std::vector<std::string>{"/data", "/data/olddir"}));
    EXPECT_EQ(kinds(plan),
              (std::vector<std::string>{"Upload a.txt", "Create remote folder new",
                                        "Delete remote stale.txt", "Create remote folder new/sub",
                                        "Upload new/sub/b.bin", "Delete remote olddir/y.txt",
                                        "Delete remote olddir"}));
    ASSERT_EQ(plan.InSync.size(), 1u);

    const auto run = h.run(std::move(plan));
    EXPECT_EQ(run->Problems(), std::vector<std::string>{});
    EXPECT_EQ(run->Carried(), (std::set<std::string>{"a.txt", "new/sub/b.bin"}));
    EXPECT_EQ(treeContents(h.served.path() / "data"), treeContents(h.local.path()));
    EXPECT_FALSE(fs::exists(h.remote("olddir")));
}

TEST(SyncRun, ATransferThatDoesNotGetThroughHoldsTheDeletesOfItsFolder) {
    REQUIRE_PYFTPD();
    SyncHarness h;
    h.served.write("data/keep/fresh.txt", "fresh");
    h.local.write("keep/orphan.txt", "orphan");
    h.local.write("top.txt", "top");

    TSyncOptions options;
    options.Direction = TSyncDirection::Download;
    options.DeleteOrphans = true;
    TSyncPlan plan = h.plan(options);
    // The queue takes the item but never runs it: it is deleted from the queue.
    h.queue.Suspend();
    const auto run = h.run(std::move(plan), [&h](const std::string& stage) {
        if (stage.starts_with("Waiting")) {
            h.ui.post([&h] { h.queue.ClearQueue(); });
        }
    });
    EXPECT_TRUE(run->Carried().empty());
    EXPECT_EQ(run->Deleted(), std::set<std::string>{"top.txt"});
    EXPECT_TRUE(fs::exists(h.local.path() / "keep/orphan.txt"));
    EXPECT_FALSE(fs::exists(h.local.path() / "top.txt"));
    ASSERT_EQ(run->Problems().size(), 2u);
    EXPECT_EQ(run->Problems()[0], "[keep/fresh.txt] was not transferred: it was deleted from the "
                                  "queue");
    EXPECT_EQ(run->Problems()[1],
              "[keep/orphan.txt] was not deleted: a transfer into its folder failed");
}

TEST(SyncRun, TwoWayRecordsWhatIsAlikeAndLaterTellsWhichSideChanged) {
    REQUIRE_PYFTPD();
    SyncHarness h;
    h.served.write("data/theirs.txt", "theirs");
    setTime(h.remote("theirs.txt"), kYear2020);
    h.local.write("mine.txt", "mine");
    setTime(h.local.path() / "mine.txt", kYear2020 + 100);

    TSyncOptions options;
    options.Direction = TSyncDirection::Both;
    const TSyncState none;
    const auto run = h.run(h.plan(options, &none));
    EXPECT_EQ(run->Carried(), (std::set<std::string>{"mine.txt", "theirs.txt"}));
    const TSyncState state =
        StateAfterRun(none, h.plan(options, &none), run->Carried(), run->Deleted());
    EXPECT_EQ(state.Count(), 2u);
    EXPECT_TRUE(h.plan(options, &state).Actions.empty());

    h.served.write("data/theirs.txt", "theirs, changed");
    h.served.write("data/mine.txt", "mine, changed there");
    h.local.write("mine.txt", "mine, changed here");
    EXPECT_EQ(kinds(h.plan(options, &state)),
              (std::vector<std::string>{"Conflict mine.txt", "Download theirs.txt"}));
}

TEST(SyncRun, AStoppedPlannerListsNothingMoreAndTheSessionServesTheNextPlan) {
    REQUIRE_PYFTPD();
    SyncHarness h;
    for (const char* folder : {"a", "b", "c"}) {
        h.served.write(std::string("data/") + folder + "/f.txt", folder);
    }
    TSyncOptions download;
    download.Direction = TSyncDirection::Download;
    std::vector<std::string> listed;
    bool done = false;
    {
        TSyncPlanner planner(*h.session, h.folders, download, nullptr, 0);
        planner.OnListing = [&](const std::string& folder) {
            listed.push_back(folder);
            if (folder == "/data/a") {
                planner.Stop();
            }
        };
        planner.OnDone = [&done](const TSyncPlan&) { done = true; };
        planner.Start();
        h.ui.pumpUntil([] { return false; }, 1s);
    }
    EXPECT_FALSE(done);
    EXPECT_EQ(listed, (std::vector<std::string>{"/data", "/data/a"}));
    std::vector<std::string> again;
    h.plan(download, nullptr, &again);
    EXPECT_EQ(again, (std::vector<std::string>{"/data", "/data/a", "/data/b", "/data/c"}));
}

class SyncRunOverEncryptedProtocols : public ::testing::TestWithParam<ServerKind> {};

// Times are kept both ways over each protocol: after a two-way run, neither direction finds
// anything to do, and a one-way run with deletes empties what is only on the target.
TEST_P(SyncRunOverEncryptedProtocols, KeepsTimesBothWaysSoASecondPlanIsEmpty) {
    if (const std::string reason = unavailable(GetParam()); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    SyncHarness h(GetParam());
    h.served.write("data/theirs.txt", "theirs");
    setTime(h.remote("theirs.txt"), kYear2020);
    h.served.write("data/sub/big.bin", randomBytes(300'000, 7));
    h.local.write("mine.txt", "mine");
    setTime(h.local.path() / "mine.txt", kYear2020 + 100);

    TSyncOptions both;
    both.Direction = TSyncDirection::Both;
    const TSyncState none;
    const auto run = h.run(h.plan(both, &none));
    EXPECT_EQ(run->Problems(), std::vector<std::string>{});
    EXPECT_EQ(run->Carried(), (std::set<std::string>{"mine.txt", "sub/big.bin", "theirs.txt"}));
    EXPECT_EQ(treeContents(h.served.path() / "data"), treeContents(h.local.path()));
    for (const TSyncDirection direction : {TSyncDirection::Upload, TSyncDirection::Download}) {
        TSyncOptions oneWay;
        oneWay.Direction = direction;
        EXPECT_EQ(kinds(h.plan(oneWay)), std::vector<std::string>{});
    }

    h.served.write("data/sub/orphan.txt", "orphan");
    TSyncOptions upload;
    upload.DeleteOrphans = true;
    const auto cleanup = h.run(h.plan(upload));
    EXPECT_EQ(cleanup->Deleted(), std::set<std::string>{"sub/orphan.txt"});
    EXPECT_FALSE(fs::exists(h.remote("sub/orphan.txt")));
}

INSTANTIATE_TEST_SUITE_P(Protocols, SyncRunOverEncryptedProtocols,
                         ::testing::Values(ServerKind::Ftps, ServerKind::Sftp),
                         [](const auto& param) {
                             return std::string(param.param == ServerKind::Sftp ? "Sftp" : "Ftps");
                         });
