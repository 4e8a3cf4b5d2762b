// SPDX-License-Identifier: GPL-3.0-or-later
// The queue over TLS: carriers download trees, upload and resume against vsftpd (TLS required
// for login and data, session reuse required) and pyftpdlib's TLS handler; a server-to-server
// copy between TLS servers that offer neither SSCN nor CPSV fails instead of going in clear
// text.

#include "platform/PumpedUiThread.h"
#include "queue/CarrierQueue.h"
#include "queue/ThreadedFTPCarrier.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct TlsQueue {
    explicit TlsQueue(const TestCertificate& certificate) {
        queue.TrustedFingerprints = {certificate.sha256()};
        queue.AskCertificate = [this](const TCertificateQuestion&) {
            ++questions;
            return false;
        };
    }
    ~TlsQueue() {
        queue.Suspend();
        queue.AbortAll();
        ui.pumpUntil([this] { return !queue.WorkersRunning(); }, 30s);
    }
    bool runToEnd() {
        queue.StartCarriers();
        return ui.pumpUntil([this] { return queue.Idle(); }, 90s);
    }
    std::vector<std::string> failures() const {
        std::vector<std::string> texts;
        for (std::size_t row = 0; row < queue.RowCount(TCarrierList::Fail); ++row) {
            texts.push_back(queue.Text(TCarrierList::Fail, row, 0) + ": " +
                            queue.Text(TCarrierList::Fail, row, 6));
        }
        return texts;
    }

    PumpedUiThread ui;
    TAsciiExtensions ascii{{".txt"}};
    TCarrierQueue queue{[this] {
                            auto carrier = TThreadedFTPCarrier::Create(ui);
                            carrier->LowestPriority = false;
                            carrier->ConnectRetry = 1;
                            carrier->Timeout = 30;
                            return carrier;
                        },
                        &ascii};
    int questions = 0;
};

std::unique_ptr<TFTPCarryItem> item(TCarryDirection direction, const std::string& name, bool folder,
                                    std::uint16_t port) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->Direction = direction;
    item->IsFolder = folder;
    item->FileName = name;
    item->PassiveMode = true;
    item->SrcHostName = item->DestHostName = "127.0.0.1";
    item->SrcPort = item->DestPort = std::to_string(port);
    item->SrcUserName = item->DestUserName = "anonymous";
    item->SrcPassword = item->DestPassword = "guest@";
    item->SrcEncryption = item->DestEncryption = TFtpTlsMode::ExplicitRequired;
    return item;
}

void writeTree(const TempDir& dir, const std::string& top) {
    dir.write(top + "/big.bin", randomBytes(3 * 1024 * 1024 + 17, 1));
    dir.write(top + "/sub/small.dat", randomBytes(999, 2));
    dir.write(top + "/sub/empty.bin", "");
}

#define REQUIRE_TLS_PARTNERS(vsftpd)                                                               \
    if (!TestCertificate::available()) {                                                           \
        GTEST_SKIP() << "the openssl tool is not installed";                                       \
    }                                                                                              \
    if (const std::string reason = (vsftpd) ? VsftpdServer::unavailableReason() : std::string();   \
        !reason.empty()) {                                                                         \
        GTEST_SKIP() << reason;                                                                    \
    }                                                                                              \
    if (!(vsftpd) && !PyFtpdServer::tlsAvailable()) {                                              \
        GTEST_SKIP() << "pyftpdlib or python3-openssl is not installed";                           \
    }

} // namespace

TEST(CarrierTls, VsftpdWithSessionReuseRequiredDownloadsUploadsAndResumes) {
    REQUIRE_TLS_PARTNERS(true);
    TestCertificate certificate;
    TempDir served;
    writeTree(served, "tree");
    const std::string whole = randomBytes(2 * 1024 * 1024 + 3, 4);
    served.write("resume.bin", whole);
    VsftpdServer vsftpd(served.path(), {TestTls::Explicit, &certificate});
    TempDir local;
    local.write("up/upload.bin", randomBytes(1024 * 1024 + 9, 5));
    // A download of this file that broke off: its start, with the remote file's time.
    local.write("resume.bin.part", whole.substr(0, 700000));
    fs::last_write_time(local.path() / "resume.bin.part",
                        fs::last_write_time(served.path() / "resume.bin"));

    TlsQueue h(certificate);
    auto tree = item(TCarryDirection::Download, "tree", true, vsftpd.port());
    tree->SrcPath = "/";
    tree->DestPath = local.path().string() + "/";
    auto resumed = item(TCarryDirection::Download, "resume.bin", false, vsftpd.port());
    resumed->SrcPath = "/";
    resumed->DestPath = local.path().string() + "/";
    resumed->ResumeTransfer = true;
    resumed->FileSize = static_cast<std::int64_t>(whole.size());
    auto upload = item(TCarryDirection::Upload, "upload.bin", false, vsftpd.port());
    upload->SrcPath = (local.path() / "up").string() + "/";
    upload->DestPath = "/incoming/";
    h.queue.AddItem(std::move(tree));
    h.queue.AddItem(std::move(resumed));
    h.queue.AddItem(std::move(upload));
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(h.questions, 0); // the fingerprint was trusted beforehand
    EXPECT_EQ(treeContents(local.path() / "tree"), treeContents(served.path() / "tree"));
    EXPECT_TRUE(readFile(local.path() / "resume.bin") == whole);
    EXPECT_TRUE(readFile(vsftpd.incoming() / "upload.bin") ==
                readFile(local.path() / "up" / "upload.bin"));
}

TEST(CarrierTls, PyftpdlibUploadsATreeAndDownloadsIt) {
    REQUIRE_TLS_PARTNERS(false);
    TestCertificate certificate;
    TempDir served;
    PyFtpdServer pyftpd(served.path(), {.tls = &certificate});
    TempDir local;
    writeTree(local, "tree");

    TlsQueue h(certificate);
    auto upload = item(TCarryDirection::Upload, "tree", true, pyftpd.port());
    upload->SrcPath = local.path().string() + "/";
    upload->DestPath = "/";
    h.queue.AddItem(std::move(upload));
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(treeContents(served.path() / "tree"), treeContents(local.path() / "tree"));

    TempDir back;
    auto download = item(TCarryDirection::Download, "tree", true, pyftpd.port());
    download->SrcPath = "/";
    download->DestPath = back.path().string() + "/";
    h.queue.AddItem(std::move(download));
    ASSERT_TRUE(h.runToEnd());
    EXPECT_EQ(h.failures(), std::vector<std::string>{});
    EXPECT_EQ(treeContents(back.path() / "tree"), treeContents(local.path() / "tree"));
}

TEST(CarrierTls, ServerToServerBetweenTlsServersWithoutSscnOrCpsvFailsClearly) {
    REQUIRE_TLS_PARTNERS(true);
    TestCertificate certificate;
    TempDir one;
    one.write("file.bin", randomBytes(100000, 6));
    TempDir two;
    VsftpdServer source(one.path(), {TestTls::Explicit, &certificate});
    VsftpdServer destination(two.path(), {TestTls::Explicit, &certificate});

    TlsQueue h(certificate);
    auto copy = item(TCarryDirection::ServerToServer, "file.bin", false, source.port());
    copy->DestPort = destination.portText();
    copy->SrcPath = "/";
    copy->DestPath = "/incoming/";
    h.queue.AddItem(std::move(copy));
    ASSERT_TRUE(h.runToEnd());
    const auto failures = h.failures();
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_NE(failures[0].find("SSCN or CPSV"), std::string::npos) << failures[0];
    EXPECT_FALSE(fs::exists(destination.incoming() / "file.bin"));
}
