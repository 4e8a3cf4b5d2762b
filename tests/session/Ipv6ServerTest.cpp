// SPDX-License-Identifier: GPL-3.0-or-later
// The threaded session against vsftpd listening only on ::1: the host given as an IPv6 address,
// data connections with EPSV (passive) and EPRT (active), transfers byte for byte.

#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

TEST(Ipv6Server, ListsDownloadsAndUploadsInBothDataModes) {
    if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    TempDir root;
    const std::string content = randomBytes(3 * 1024 * 1024 + 17, 6);
    { std::ofstream(root.path() / "data.bin", std::ios::binary) << content; }
    VsftpdServer::Options options;
    options.family = VsftpdServer::Family::Ipv6;
    VsftpdServer server(root.path(), options);
    for (const bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "EPSV" : "EPRT");
        TempDir local;
        ClientHarness h(server.portText());
        h.client->HostName = "::1";
        h.client->PassiveMode = passive;
        h.client->TransferType = TFTPTransferType::ftpTypeBinary;
        ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0) << h.client->ErrorMessage;
        EXPECT_EQ(h.client->HostAddress(), "::1");

        TFTPListItems items;
        h.client->ListItems = &items;
        h.client->HostDirName = "/";
        ASSERT_EQ(h.run(&TThreadedFTPClient::GetListItems), 0) << h.client->ErrorMessage;
        bool listed = false;
        for (const auto& item : items) {
            listed = listed || (item->Name == "data.bin" &&
                                item->Size == static_cast<std::int64_t>(content.size()));
        }
        EXPECT_TRUE(listed);

        h.client->HostFileName = "/data.bin";
        h.client->LocalFileName = local.file("data.bin");
        ASSERT_EQ(h.run(&TThreadedFTPClient::DownloadFile, 30s), 0) << h.client->ErrorMessage;
        EXPECT_EQ(readFile(local.file("data.bin")), content);

        const std::string uploaded = passive ? "up-epsv.bin" : "up-eprt.bin";
        h.client->HostFileName = "/incoming/" + uploaded;
        h.client->LocalFileName = local.file("data.bin");
        ASSERT_EQ(h.run(&TThreadedFTPClient::UploadFile, 30s), 0) << h.client->ErrorMessage;
        EXPECT_EQ(readFile(root.path() / "incoming" / uploaded), content);

        if (passive) {
            EXPECT_GE(h.countStartingWith("> EPSV"), 3u);
            EXPECT_EQ(h.countStartingWith("> PASV"), 0u);
        } else {
            EXPECT_GE(h.countStartingWith("> EPRT |2|::1|"), 3u);
            EXPECT_EQ(h.countStartingWith("> PORT"), 0u);
        }
        h.stop();
    }
}
