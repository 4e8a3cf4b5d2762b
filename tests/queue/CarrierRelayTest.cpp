// SPDX-License-Identifier: GPL-3.0-or-later
// Copies with an SFTP side, relayed by the carrier between OpenSSH's sshd and pyftpdlib, both
// started by the test on loopback ports.
#include "support/CarrierHarness.h"
#include "support/RealFtpServers.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace qx::test {
namespace {

namespace fs = std::filesystem;

// A sanitizer's shadow memory grows with the memory touched: the figure means nothing there.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

// A figure of /proc/self/status in KiB ("VmRSS", "VmHWM"), -1 when not there.
std::int64_t StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::stoll(line.substr(field.size() + 1));
        }
    }
    return -1;
}

bool SameFiles(const fs::path& a, const fs::path& b) {
    std::ifstream one(a, std::ios::binary);
    std::ifstream two(b, std::ios::binary);
    std::string x(1 << 20, '\0');
    std::string y(1 << 20, '\0');
    while (one && two) {
        one.read(x.data(), static_cast<std::streamsize>(x.size()));
        two.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (one.gcount() != two.gcount() || x.compare(0, one.gcount(), y, 0, two.gcount()) != 0) {
            return false;
        }
    }
    return one.eof() && two.eof();
}

class CarrierRelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << reason;
        }
        if (!PyFtpdServer::available()) {
            GTEST_SKIP() << "pyftpdlib is not installed";
        }
        sshd = std::make_unique<SshdServer>();
        sshd->trustHostKey();
        h = std::make_unique<CarrierHarness>();
        for (TSshSettings* ssh : {&h->carrier->SrcSsh, &h->carrier->DestSsh}) {
            ssh->ConfigFile = sshd->target().ConfigFile;
        }
    }

    void TearDown() override { h.reset(); }

    std::string sshPort() const { return std::to_string(sshd->port()); }
    std::string remote(const std::string& name) const { return (sshd->root() / name).string(); }
    // One side of the copy: SFTP with the test's login, or FTP as anonymous.
    void side(bool source, TRemoteProtocolKind protocol) {
        TFTPCarrier& carrier = *h->carrier;
        const bool sftp = protocol == TRemoteProtocolKind::Sftp;
        (source ? carrier.SrcProtocol : carrier.DestProtocol) = protocol;
        (source ? carrier.SrcUserName : carrier.DestUserName) = sftp ? "" : "anonymous";
        (source ? carrier.SrcPassword : carrier.DestPassword) = sftp ? "" : "guest@";
    }

    std::unique_ptr<SshdServer> sshd;
    std::unique_ptr<CarrierHarness> h;
    TempDir ftpRoot;
};

TEST_F(CarrierRelayTest, FtpToSftpResumesAPartialCopyAndSftpToFtpCopiesBack) {
    const std::string data = randomBytes(3'000'017, 7);
    ftpRoot.write("data", data);
    PyFtpdServer ftp(ftpRoot.path());
    fs::create_directories(sshd->root() / "in");
    // What an earlier copy left under the temporary name: the first MiB.
    std::ofstream(remote("in/data.part"), std::ios::binary) << data.substr(0, 1 << 20);

    side(true, TRemoteProtocolKind::Ftp);
    side(false, TRemoteProtocolKind::Sftp);
    h->carrier->ResumeTransfer = true;
    h->setJob("data", ftp.portText(), "/", sshPort(), remote("in") + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::Transfer), 0) << h->errorMessage;
    EXPECT_EQ(readFile(sshd->root() / "in" / "data"), data);
    EXPECT_FALSE(fs::exists(sshd->root() / "in" / "data.part"));
    EXPECT_TRUE(std::any_of(h->lines.begin(), h->lines.end(), [](const std::string& line) {
        return line.ends_with("REST 1048576");
    }));

    // A part longer than the source is no part of it: the whole file travels.
    std::ofstream(remote("in/data.part"), std::ios::binary) << data << "tail";
    ASSERT_EQ(h->run(&TFTPCarrier::Transfer), 0) << h->errorMessage;
    EXPECT_EQ(readFile(sshd->root() / "in" / "data"), data);

    // The destination's failure is the copy's, and it ends the source's download too.
    h->setJob("data", ftp.portText(), "/", sshPort(), remote("missing") + "/");
    ASSERT_EQ(h->run(&TFTPCarrier::Transfer), 1);
    EXPECT_NE(h->errorMessage.find("No such file"), std::string::npos) << h->errorMessage;

    side(true, TRemoteProtocolKind::Sftp);
    side(false, TRemoteProtocolKind::Ftp);
    h->carrier->ResumeTransfer = false;
    fs::create_directories(ftpRoot.path() / "back");
    h->setJob("data", sshPort(), remote("in") + "/", ftp.portText(), "/back/");
    ASSERT_EQ(h->run(&TFTPCarrier::Transfer), 0) << h->errorMessage;
    EXPECT_EQ(readFile(ftpRoot.path() / "back" / "data"), data);
}

// The file is bigger than anything the relay may hold: the measured peak of the process's
// memory grows by no more than a few MiB.
TEST_F(CarrierRelayTest, SftpToSftpRelaysABigFileInBoundedMemory) {
    constexpr std::int64_t kSize = 256LL * 1024 * 1024 + 4097;
    {
        // Sparse, with data of its own at a few places, so that a misplaced block shows.
        std::ofstream(remote("big"), std::ios::binary).put('\0');
        fs::resize_file(remote("big"), kSize);
        std::fstream file(remote("big"), std::ios::binary | std::ios::in | std::ios::out);
        for (const std::int64_t at :
             {std::int64_t{0}, std::int64_t{77'777'777}, std::int64_t{200'000'000}, kSize - 5000}) {
            file.seekp(at);
            file << randomBytes(5000, static_cast<unsigned>(at));
        }
    }
    fs::create_directories(sshd->root() / "to");
    side(true, TRemoteProtocolKind::Sftp);
    side(false, TRemoteProtocolKind::Sftp);
    h->setJob("big", sshPort(), sshd->root().string() + "/", sshPort(), remote("to") + "/");

    // A fresh peak from here on where the system lets it be reset; the samples count anyway.
    std::ofstream("/proc/self/clear_refs") << "5";
    const std::int64_t before = StatusKiB("VmRSS");
    std::int64_t peak = before;
    const auto started = std::chrono::steady_clock::now();
    const std::size_t dones = h->dones.size();
    h->carrier->Transfer();
    ASSERT_TRUE(h->ui.pumpUntil(
        [&] {
            peak = std::max(peak, StatusKiB("VmRSS"));
            return h->dones.size() > dones;
        },
        std::chrono::minutes(5)));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(h->resultCode, 0) << h->errorMessage;
    peak = std::max(peak, StatusKiB("VmHWM"));
    const double growthMiB = static_cast<double>(peak - before) / 1024.0;
    std::cout << "relay of " << kSize / (1024 * 1024)
              << " MiB: " << static_cast<double>(kSize) / (1024.0 * 1024.0) / seconds
              << " MiB/s, peak memory growth " << growthMiB << " MiB\n";
    if (kMemoryMeasured) {
        EXPECT_LT(growthMiB, 32.0);
    }
    EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(remote("to/big"))), kSize);
    EXPECT_TRUE(SameFiles(remote("big"), remote("to/big")));
}

// An abort while both sides wait (the destination takes its bytes slowly, the source is held
// back by the full ring) ends the job at once; the target is never touched.
TEST_F(CarrierRelayTest, AbortEndsARelayPromptly) {
    {
        std::ofstream(remote("slow"), std::ios::binary).put('s');
        fs::resize_file(remote("slow"), 64LL * 1024 * 1024);
    }
    PyFtpdServer ftp(ftpRoot.path(), {.throttleUploads = 256 * 1024});
    side(true, TRemoteProtocolKind::Sftp);
    side(false, TRemoteProtocolKind::Ftp);
    h->setJob("slow", sshPort(), sshd->root().string() + "/", ftp.portText(), "/");
    bool moving = false;
    h->carrier->OnTransferStatus = [&](TFTPCarrier&, std::int64_t position, std::int64_t,
                                       std::int64_t) { moving = moving || position > (8 << 20); };
    const std::size_t dones = h->dones.size();
    h->carrier->Transfer();
    ASSERT_TRUE(h->ui.pumpUntil([&] { return moving || h->dones.size() > dones; },
                                std::chrono::seconds(30)));
    ASSERT_EQ(h->dones.size(), dones) << h->errorMessage;
    const auto aborted = std::chrono::steady_clock::now();
    h->carrier->Abort();
    ASSERT_TRUE(h->ui.pumpUntil([&] { return h->dones.size() > dones; }, std::chrono::seconds(10)));
    EXPECT_LT(std::chrono::steady_clock::now() - aborted, std::chrono::seconds(3));
    EXPECT_EQ(h->resultCode, 2) << h->errorMessage;
    EXPECT_FALSE(fs::exists(ftpRoot.path() / "slow"));
}

} // namespace
} // namespace qx::test
