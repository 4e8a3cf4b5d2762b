// SPDX-License-Identifier: GPL-3.0-or-later
// The queue with real carriers against real servers on loopback: server-to-server copies of
// files and trees between pyftpdlib and vsftpd, the start order under MaxCarrier, suspending,
// aborting and resubmitting.

#include "platform/PumpedUiThread.h"
#include "queue/CarrierQueue.h"
#include "queue/ThreadedFTPCarrier.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

void writeSampleTree(const TempDir& dir, const std::string& top) {
    dir.write(top + "/big.bin", randomBytes(3 * 1024 * 1024 + 17, 1));
    dir.write(top + "/notes.txt", "line one\r\nline two\r\n");
    dir.write(top + "/sub/deeper/small.dat", randomBytes(999, 2));
    dir.write(top + "/sub/empty.txt", "");
    fs::create_directories(dir.path() / top / "sub" / "hollow");
}

struct QueueHarness {
    PumpedUiThread ui;
    TAsciiExtensions ascii{{".txt"}};
    TCarrierQueue queue{[this] {
                            auto carrier = TThreadedFTPCarrier::Create(ui);
                            carrier->LowestPriority = false;
                            carrier->ConnectRetry = 2;
                            return carrier;
                        },
                        &ascii};

    ~QueueHarness() {
        queue.Suspend();
        queue.AbortAll();
        ui.pumpUntil([this] { return !queue.WorkersRunning(); }, 30s);
    }

    // Runs the queue until nothing runs any more; on a time-out the running rows are shown
    // with their last line.
    bool runToEnd(std::chrono::seconds timeout = 60s) {
        queue.StartCarriers();
        if (ui.pumpUntil([this] { return queue.Idle(); }, timeout)) {
            return true;
        }
        for (std::size_t row = 0; row < queue.RowCount(TCarrierList::Status); ++row) {
            ADD_FAILURE() << "still running: " << queue.Text(TCarrierList::Status, row, 0) << ": "
                          << queue.Text(TCarrierList::Status, row, 10);
        }
        return false;
    }
    std::vector<std::string> failures() const {
        std::vector<std::string> texts;
        for (std::size_t row = 0; row < queue.RowCount(TCarrierList::Fail); ++row) {
            texts.push_back(queue.Text(TCarrierList::Fail, row, 0) + ": " +
                            queue.Text(TCarrierList::Fail, row, 6));
        }
        return texts;
    }
};

std::unique_ptr<TFTPCarryItem> copyItem(const std::string& name, bool folder,
                                        std::uint16_t sourcePort, const std::string& sourcePath,
                                        std::uint16_t destinationPort,
                                        const std::string& destinationPath) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->Direction = TCarryDirection::ServerToServer;
    item->IsFolder = folder;
    item->FileName = name;
    item->SrcHostName = item->DestHostName = "127.0.0.1";
    item->SrcPort = std::to_string(sourcePort);
    item->DestPort = std::to_string(destinationPort);
    item->SrcUserName = "anonymous";
    item->SrcPassword = "guest@";
    item->DestUserName = "user";
    item->DestPassword = "secret";
    item->SrcPath = sourcePath;
    item->DestPath = destinationPath;
    return item;
}

std::unique_ptr<TFTPCarryItem> downloadItem(const std::string& name, std::uint16_t port,
                                            const std::string& localFolder) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->Direction = TCarryDirection::Download;
    item->FileName = name;
    item->SrcHostName = "127.0.0.1";
    item->SrcPort = std::to_string(port);
    item->SrcUserName = "anonymous";
    item->SrcPassword = "guest@";
    item->SrcPath = "/";
    item->DestPath = localFolder + "/";
    item->PassiveMode = true;
    return item;
}

#define REQUIRE_PYFTPD()                                                                           \
    if (!PyFtpdServer::available()) {                                                              \
        GTEST_SKIP() << "pyftpdlib is not installed";                                              \
    }

} // namespace

TEST(CarrierRealServers, ServerToServerTreeCopyBetweenTwoPyftpdServers) {
    REQUIRE_PYFTPD();
    TempDir from;
    TempDir to;
    writeSampleTree(from, "tree");
    PyFtpdServer source(from.path(), {.permitForeignAddresses = true});
    PyFtpdServer destination(to.path(), {.permitForeignAddresses = true});
    QueueHarness h;
    // pyftpdlib stalls with two sessions in active mode at once (ftplib alone shows it), and a
    // destination is always in active mode: one copy at a time.
    h.queue.SetMaxCarrier(1);
    h.queue.AddItem(copyItem("tree", true, source.port(), "/", destination.port(), "/"));
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(treeContents(to.path() / "tree"), treeContents(from.path() / "tree"));
    // Four folders and four files: one success row each.
    EXPECT_EQ(h.queue.RowCount(TCarrierList::Success), 8u);
}

TEST(CarrierRealServers, ServerToServerCopiesWithVsftpd) {
    REQUIRE_PYFTPD();
    if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    TempDir served;
    served.write("single.bin", randomBytes(2 * 1024 * 1024 + 5, 3));
    TempDir other;
    writeSampleTree(other, "tree");
    VsftpdServer vsftpd(served.path());
    PyFtpdServer pyftpd(other.path(), {.permitForeignAddresses = true});

    QueueHarness h;
    h.queue.SetMaxCarrier(1); // see above: pyftpdlib takes part
    // A tree from pyftpdlib into vsftpd's upload folder straight to the names (vsftpd listens,
    // pyftpdlib answers RETR first), and a file the other way under a temporary name.
    auto tree = copyItem("tree", true, pyftpd.port(), "/", vsftpd.port(), "/incoming/");
    tree->DestUserName = "anonymous";
    tree->DestPassword = "guest@";
    tree->UploadToTemporaryName = false;
    auto file = copyItem("single.bin", false, vsftpd.port(), "/", pyftpd.port(), "/");
    h.queue.AddItem(std::move(tree));
    h.queue.AddItem(std::move(file));
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(treeContents(vsftpd.incoming() / "tree"), treeContents(other.path() / "tree"));
    EXPECT_EQ(readFile(other.path() / "single.bin"), readFile(served.path() / "single.bin"));
}

TEST(CarrierRealServers, ServerToServerCopyBetweenTwoIpv6Servers) {
    if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    TempDir from;
    from.write("single.bin", randomBytes(3 * 1024 * 1024 + 11, 4));
    TempDir to;
    VsftpdServer::Options options;
    options.family = VsftpdServer::Family::Ipv6;
    VsftpdServer source(from.path(), options);
    VsftpdServer destination(to.path(), options);

    QueueHarness h;
    auto file = copyItem("single.bin", false, source.port(), "/", destination.port(), "/incoming/");
    file->SrcHostName = file->DestHostName = "::1";
    file->DestUserName = "anonymous";
    file->DestPassword = "guest@";
    file->UploadToTemporaryName = false; // the destination listens: EPSV there, EPRT here
    h.queue.AddItem(std::move(file));
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(readFile(destination.incoming() / "single.bin"),
              readFile(from.path() / "single.bin"));
}

TEST(CarrierRealServers, MaxCarrierSuspendAbortAndResubmit) {
    REQUIRE_PYFTPD();
    TempDir served;
    for (int i = 1; i <= 5; ++i) {
        served.write("file" + std::to_string(i) + ".bin", randomBytes(100'000 + i, 10 + i));
    }
    TempDir local;
    PyFtpdServer server(served.path());
    QueueHarness h;
    for (int i = 1; i <= 5; ++i) {
        h.queue.AddItem(downloadItem("file" + std::to_string(i) + ".bin", server.port(),
                                     local.path().string()));
    }
    h.queue.StartCarriers();
    // Three start at once, in queue order.
    ASSERT_EQ(h.queue.RowCount(TCarrierList::Status), 3u);
    for (std::size_t row = 0; row < 3; ++row) {
        EXPECT_EQ(h.queue.Text(TCarrierList::Status, row, 0),
                  "file" + std::to_string(row + 1) + ".bin");
    }
    // Suspended, the running ones finish and the other two wait.
    h.queue.Suspend();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.queue.RunningCount() == 0; }, 30s));
    EXPECT_EQ(h.queue.RowCount(TCarrierList::Success), 3u);
    EXPECT_EQ(h.queue.RowCount(TCarrierList::Queue), 2u);

    // An aborted item goes to the fail list with the abort line, and runs again when
    // resubmitted.
    h.queue.SetMaxCarrier(1);
    h.queue.Resume();
    h.queue.Suspend();
    ASSERT_EQ(h.queue.RowCount(TCarrierList::Status), 1u);
    h.queue.Abort({0});
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.queue.RunningCount() == 0; }, 30s));
    EXPECT_EQ(h.failures(),
              std::vector<std::string>{"file4.bin: ! [127.0.0.1]: Operation aborted."});
    h.queue.Resume();
    h.queue.Resubmit({0});
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(h.queue.RowCount(TCarrierList::Success), 5u);
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "file" + std::to_string(i) + ".bin";
        EXPECT_EQ(readFile(local.path() / name), readFile(served.path() / name)) << name;
    }
}
