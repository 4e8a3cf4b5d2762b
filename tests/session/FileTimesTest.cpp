// SPDX-License-Identifier: GPL-3.0-or-later
// Completed transfers keep the modification time of their original, against servers the tests
// start: pyftpdlib (MDTM and MFMT), vsftpd ("MDTM time path", or nothing) and sshd (SFTP).
#include "engine/LocalFileStream.h"
#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/SshTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <memory>

namespace qx::test {
namespace {

constexpr std::int64_t kOldTime = 1'500'000'000; // 2017-07-14, far from the time of the test

bool Recent(const std::string& path) {
    const auto time = LocalFileTimeOf(path);
    return time && *time > std::time(nullptr) - 600;
}

// Downloads and uploads one file each way; the server's side is the folder serverRoot.
struct RoundTrip {
    ClientHarness& h;
    TempDir& local;

    void download(const std::string& hostPath, const std::string& name) {
        h.client->HostFileName = hostPath;
        h.client->LocalFileName = local.file(name);
        ASSERT_EQ(h.run(&TThreadedFTPClient::DownloadFile), 0) << h.client->ErrorMessage;
    }
    void upload(const std::string& name, const std::string& hostPath) {
        h.client->LocalFileName = local.write(name, "uploaded");
        ASSERT_TRUE(SetLocalFileTime(h.client->LocalFileName, kOldTime));
        h.client->HostFileName = hostPath;
        ASSERT_EQ(h.run(&TThreadedFTPClient::UploadFile), 0) << h.client->ErrorMessage;
    }
};

TEST(FileTimesTest, PyftpdlibKeepsBothWaysAndTheOptionOffLeavesTheTransferTime) {
    if (!PyFtpdServer::available()) {
        GTEST_SKIP() << "pyftpdlib is not installed";
    }
    TempDir root;
    TempDir local;
    ASSERT_TRUE(SetLocalFileTime(root.write("old.txt", "old bytes"), kOldTime));
    PyFtpdServer server(root.path());
    ClientHarness h(server.portText());
    h.client->KeepFileTimes = true;
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0) << h.client->ErrorMessage;
    RoundTrip trip{h, local};

    trip.download("/old.txt", "old.txt");
    EXPECT_EQ(LocalFileTimeOf(local.file("old.txt")), kOldTime);
    trip.upload("up.txt", "/up.txt");
    EXPECT_EQ(LocalFileTimeOf(root.file("up.txt")), kOldTime);
    EXPECT_EQ(h.countStartingWith("> MFMT "), 1u);

    h.client->KeepFileTimes = false;
    trip.download("/old.txt", "again.txt");
    EXPECT_TRUE(Recent(local.file("again.txt")));
    trip.upload("up2.txt", "/up2.txt");
    EXPECT_TRUE(Recent(root.file("up2.txt")));
}

TEST(FileTimesTest, VsftpdTakesMdtmWithATimeOrSaysOnceThatItCannot) {
    if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    for (const bool mdtmWrite : {true, false}) {
        SCOPED_TRACE(mdtmWrite);
        TempDir root;
        TempDir local;
        VsftpdServer server(root.path(), {.mdtmWrite = mdtmWrite});
        ClientHarness h(server.portText());
        h.client->KeepFileTimes = true;
        ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0) << h.client->ErrorMessage;
        RoundTrip trip{h, local};
        trip.upload("a.txt", "/incoming/a.txt");
        trip.upload("b.txt", "/incoming/b.txt");
        const std::size_t cannot =
            h.countStartingWith("~ File times cannot be kept on this server");
        if (mdtmWrite) {
            EXPECT_EQ(LocalFileTimeOf(server.incoming() / "a.txt"), kOldTime);
            EXPECT_EQ(LocalFileTimeOf(server.incoming() / "b.txt"), kOldTime);
            EXPECT_EQ(cannot, 0u);
        } else {
            EXPECT_TRUE(Recent(server.incoming() / "b.txt"));
            EXPECT_EQ(cannot, 1u);
            // The refused forms are not sent again for the second file.
            EXPECT_EQ(h.countStartingWith("> SITE UTIME "), 2u);
        }
    }
}

TEST(FileTimesTest, SftpKeepsBothWays) {
    if (const std::string reason = SshdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    SshdServer server;
    TempDir local;
    ClientHarness h(std::to_string(server.port()));
    TThreadedFTPClient& client = *h.client;
    client.Protocol = TRemoteProtocolKind::Sftp;
    client.UserName.clear();
    client.Password.clear();
    client.Ssh.ConfigFile = server.target().ConfigFile;
    client.KeepFileTimes = true;
    server.trustHostKey();
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0) << client.ErrorMessage;
    const std::string old = (server.root() / "old.bin").string();
    { std::ofstream(old) << "old"; }
    ASSERT_TRUE(SetLocalFileTime(old, kOldTime));
    RoundTrip trip{h, local};
    trip.download(old, "old.bin");
    EXPECT_EQ(LocalFileTimeOf(local.file("old.bin")), kOldTime);
    trip.upload("up.bin", (server.root() / "up.bin").string());
    EXPECT_EQ(LocalFileTimeOf(server.root() / "up.bin"), kOldTime);
}

} // namespace
} // namespace qx::test
