// SPDX-License-Identifier: GPL-3.0-or-later
// Carrier jobs against servers that go silent, that are too busy, that end a session with
// their last word, and explorations that would go on for ever or follow local folder links.

#include "support/CarrierHarness.h"
#include "support/RealFtpServers.h"
#include "support/ScriptSteps.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

std::chrono::milliseconds since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

} // namespace

// A download whose data never comes: the job fails with the limit's text and goes to the fail
// list, where the queue shows that text.
TEST(CarrierFaults, ASilentServerFailsTheJobWithinTheLimit) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s);
        s.expect("SIZE /pub/f.bin");
        s.reply("213 1000");
        s.handlePasv();
        s.expect("RETR /pub/f.bin");
        s.acceptData();
        s.reply("150 Opening");
        s.waitForClientClose();
    });
    TempDir local;
    CarrierHarness h;
    h.carrier->Timeout = 1;
    h.carrier->PassiveMode = true;
    h.carrier->SrcPort = server.portText();
    h.carrier->FileName = "f.bin";
    h.carrier->SrcPath = "/pub/";
    h.carrier->DestPath = local.path().string() + "/";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TFTPCarrier::Download, 10s), 1);
    EXPECT_LT(since(start), 3s);
    EXPECT_EQ(h.errorMessage, "421 Timed out after 1 seconds.");
    EXPECT_TRUE(h.has("! [127.0.0.1]: 421 Timed out after 1 seconds."));
    ASSERT_TRUE(server.waitFinished());
}

// "421 There are too many connections": the server is busy, not refusing; the carrier tries
// again after a pause instead of failing the item at once.
TEST(CarrierFaults, ABusyServerIsTriedAgainAfterAPause) {
    ScriptedFtpServer server(
        [](ScriptedSession& s) {
            s.reply("421 There are too many connections from your internet address.");
            s.close();
            s.nextConnection();
            s.greetAndLogin();
            s.expect("CWD /up/folder");
            s.reply("250 OK");
            s.expect("QUIT");
            s.reply("221 Goodbye");
        },
        10s);
    TempDir local;
    local.write("folder/.hidden", "x");
    CarrierHarness h;
    h.carrier->ConnectRetry = 3;
    h.carrier->DestPort = server.portText();
    h.carrier->FileName = "folder";
    h.carrier->SrcPath = local.path().string() + "/";
    h.carrier->DestPath = "/up/";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreUpload, 15s), 0) << h.errorMessage;
    EXPECT_GE(since(start), 900ms); // the pause before the second attempt
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A server that stays full is tried again for the whole busy budget (without using up the
// login attempts), and only then fails the job.
TEST(CarrierFaults, AServerThatStaysFullFailsTheJobAfterTheBudget) {
    ScriptedFtpServer server(
        [](ScriptedSession& s) {
            for (int attempt = 0; attempt < 3; ++attempt) {
                s.reply("421 Too many connections (2) from this IP");
                if (attempt < 2) {
                    s.nextConnection();
                }
            }
        },
        10s);
    TempDir local;
    CarrierHarness h;
    h.carrier->BusyRetrySeconds = 3; // pauses of 1 and 2 seconds
    h.setJob("f.bin", server.portText(), "/", "", local.path().string() + "/");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TFTPCarrier::Download, 15s), 1);
    EXPECT_GE(since(start), 2900ms);
    EXPECT_EQ(h.errorMessage, "421 Too many connections (2) from this IP");
    EXPECT_EQ(h.carrier->BusySide, TCarrierSide::Source);
    EXPECT_FALSE(h.carrier->Yielded);
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A server-to-server copy that stands still: neither server says a word and the destination
// file does not grow. Both sides are ended within the limit, and the failure names both.
TEST(CarrierFaults, AStalledServerToServerCopyEndsWithinTheLimit) {
    if (!PyFtpdServer::available()) {
        GTEST_SKIP() << "pyftpdlib is not installed";
    }
    ScriptedFtpServer source(
        [](ScriptedSession& s) {
            s.greetAndLogin();
            AnswerRestartProbe(s);
            s.handlePasv();
            s.expect("RETR /f.bin");
            s.acceptData();
            s.reply("150 Sending"); // and nothing more
            if (!s.waitForClientClose()) {
                throw ScriptFailure("the copy was not ended");
            }
        },
        15s);
    TempDir root;
    PyFtpdServer destination(root.path());
    CarrierHarness h;
    h.carrier->Timeout = 1;
    h.setJob("f.bin", source.portText(), "/", destination.portText(), "/");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TFTPCarrier::Transfer, 15s), 1);
    EXPECT_LT(since(start), 5s);
    EXPECT_EQ(h.errorMessage,
              "421 Timed out after 1 seconds: no word from [127.0.0.1:" + source.portText() +
                  "] or [127.0.0.1:" + destination.portText() +
                  "] about the transfer, and [/f.bin.part] did not grow (0 bytes).");
    ASSERT_TRUE(source.waitFinished());
    EXPECT_EQ(source.failure(), "");
}

// A copy that takes several times the limit while the data moves is not cut: the destination
// file grows.
TEST(CarrierFaults, ASlowServerToServerCopyThatMovesIsNotCut) {
    if (!PyFtpdServer::available()) {
        GTEST_SKIP() << "pyftpdlib is not installed";
    }
    TempDir from;
    TempDir to;
    const std::string content = randomBytes(768 * 1024, 7);
    from.write("slow.bin", content);
    PyFtpdServer::Options throttled;
    throttled.throttle = 128 * 1024; // six seconds, twice the limit
    PyFtpdServer source(from.path(), throttled);
    PyFtpdServer destination(to.path());
    CarrierHarness h;
    // A limit that a loaded machine's late final replies do not reach.
    h.carrier->Timeout = 3;
    h.setJob("slow.bin", source.portText(), "/", destination.portText(), "/");
    EXPECT_EQ(h.run(&TFTPCarrier::Transfer, 20s), 0) << h.errorMessage;
    EXPECT_EQ(readFile(to.path() / "slow.bin"), content);
    EXPECT_TRUE(std::any_of(h.lines.begin(), h.lines.end(), [](const std::string& line) {
        return line.find("looking at the size of [/slow.bin.part]") != std::string::npos;
    }));
}

TEST(CarrierFaults, AFinalReplyWithTheCloseEndsTheJobAtOnce) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("USER anonymous");
        s.reply("331 Password required");
        s.expectPrefix("PASS ");
        s.sendRaw("530 Maximum login attempts. Disconnecting.\r\n");
        s.close();
    });
    TempDir local;
    CarrierHarness h;
    h.carrier->SrcPort = server.portText();
    h.carrier->FileName = "f.bin";
    h.carrier->SrcPath = "/";
    h.carrier->DestPath = local.path().string() + "/";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TFTPCarrier::Download, 10s), 1);
    EXPECT_LT(since(start), 1s);
    EXPECT_EQ(h.errorMessage, "530 Maximum login attempts. Disconnecting.");
}

// Each exploration of the queue is one level; the levels are counted like the session's.
TEST(CarrierFaults, ExplorationsStopAtTheDepthLimit) {
    CarrierHarness h;
    h.carrier->Depth = 33;
    h.carrier->FileName = "deep";
    h.carrier->SrcPath = "/a/";
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreDownload), 1);
    EXPECT_EQ(h.errorMessage, "500 Stopped at [/a/deep]: more than 32 folder levels.");
    EXPECT_TRUE(h.items.empty());
}

// A server-to-server exploration lists in the mode the user chose (passive here), and the items
// it makes are one level deeper and keep that mode.
TEST(CarrierFaults, AServerToServerExplorationListsInTheChosenMode) {
    ScriptedFtpServer destination([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /to/tree");
        s.reply("250 OK");
        s.expect("QUIT");
        s.reply("221 Goodbye");
    });
    ScriptedFtpServer source([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /from/tree");
        s.reply("250 OK");
        s.expect("TYPE A");
        s.reply("200 Type set to A");
        s.handlePasv(); // not PORT
        s.expect("LIST");
        s.acceptData();
        s.reply("150 Listing");
        s.dataSend("-rw-r--r-- 1 o g 4 Jan 1 2001 a.txt\r\n");
        s.dataClose();
        s.reply("226 Done");
        s.expect("QUIT");
        s.reply("221 Goodbye");
    });
    CarrierHarness h;
    h.carrier->PassiveMode = true;
    h.carrier->Depth = 4;
    h.carrier->SrcPort = source.portText();
    h.carrier->DestPort = destination.portText();
    h.carrier->FileName = "tree";
    h.carrier->SrcPath = "/from/";
    h.carrier->DestPath = "/to/";
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreTransfer), 0) << h.errorMessage;
    ASSERT_EQ(h.items.size(), 1u);
    EXPECT_TRUE(h.items[0]->PassiveMode);
    EXPECT_EQ(h.items[0]->Depth, 5);
    EXPECT_EQ(h.items[0]->Direction, TCarryDirection::ServerToServer);
    ASSERT_TRUE(source.waitFinished());
    EXPECT_EQ(source.failure(), "");
}

// Local folder links are not explored for upload: into the tree they would upload a part twice
// (or for ever), out of it files the user did not choose. Pipes are no files to upload.
TEST(CarrierFaults, AnUploadExplorationSkipsFolderLinksAndSpecialFiles) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /up/tree");
        s.reply("250 OK");
        s.expect("QUIT");
        s.reply("221 Goodbye");
    });
    TempDir local;
    TempDir outside;
    local.write("tree/file.txt", "f");
    local.write("tree/sub/inner.txt", "i");
    outside.write("secret.txt", "s");
    std::filesystem::create_directory_symlink(local.path() / "tree", local.path() / "tree/loop");
    std::filesystem::create_directory_symlink(outside.path(), local.path() / "tree/out");
    ASSERT_EQ(::mkfifo((local.path() / "tree/pipe").c_str(), 0600), 0);
    CarrierHarness h;
    h.carrier->DestPort = server.portText();
    h.carrier->FileName = "tree";
    h.carrier->SrcPath = local.path().string() + "/";
    h.carrier->DestPath = "/up/";
    std::vector<std::string> skipped;
    h.carrier->OnExploreDone = [&](TFTPCarrier& c) {
        skipped = c.SkippedEntries;
        h.record(c, "Explore");
        h.items = c.Items.TakeAll();
    };
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreUpload), 0) << h.errorMessage;
    std::vector<std::string> names;
    for (const auto& item : h.items) {
        names.push_back(item->FileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"file.txt", "sub"}));
    ASSERT_EQ(skipped.size(), 3u);
    EXPECT_NE(skipped[0].find("[loop]"), std::string::npos) << skipped[0];
    EXPECT_NE(skipped[1].find("[out]"), std::string::npos) << skipped[1];
    EXPECT_NE(skipped[2].find("[pipe]"), std::string::npos) << skipped[2];
    ASSERT_TRUE(server.waitFinished());
}

// A queued upload of a pipe fails at once with a clear text instead of waiting for a writer.
TEST(CarrierFaults, AQueuedUploadOfAPipeFails) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("TYPE I");
        s.reply("200 Type set to I");
        s.handlePasv();
        s.waitForClientClose();
    });
    TempDir local;
    ASSERT_EQ(::mkfifo((local.path() / "pipe").c_str(), 0600), 0);
    CarrierHarness h;
    h.carrier->PassiveMode = true;
    h.carrier->DestPort = server.portText();
    h.carrier->FileName = "pipe";
    h.carrier->SrcPath = local.path().string() + "/";
    h.carrier->DestPath = "/up/";
    EXPECT_EQ(h.run(&TFTPCarrier::Upload, 5s), 1);
    EXPECT_EQ(h.errorMessage, "426 Unable to open local file " + (local.path() / "pipe").string() +
                                  ": not a regular file");
}

// Between two servers the data is out of sight; once one of them has reported the end, the
// other must report it within the limit.
TEST(CarrierFaults, AServerToServerCopyWhoseOtherEndFallsSilent) {
    const std::string address = "127,0,0,1,200,10";
    ScriptedFtpServer source([&](ScriptedSession& s) {
        s.greetAndLogin("src");
        AnswerRestartProbe(s);
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (" + address + ").");
        s.expect("RETR /from/big.iso");
        s.reply("150 Sending");
        s.reply("226 Transfer complete");
        s.waitForClientClose();
    });
    ScriptedFtpServer destination([&](ScriptedSession& s) {
        s.greetAndLogin("dst");
        s.expect("TYPE I");
        s.reply("200 Type set to I");
        s.expect("PORT " + address);
        s.reply("200 PORT command successful");
        s.expect("STOR /to/big.iso.part");
        s.reply("150 Receiving");
        s.waitForClientClose(); // never reports the end
    });
    CarrierHarness h;
    TFTPCarrier& c = *h.carrier;
    c.Timeout = 1;
    c.SrcPort = source.portText();
    c.SrcUserName = "src";
    c.DestPort = destination.portText();
    c.DestUserName = "dst";
    c.FileName = "big.iso";
    c.SrcPath = "/from/";
    c.DestPath = "/to/";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TFTPCarrier::Transfer, 10s), 1);
    EXPECT_LT(since(start), 3s);
    EXPECT_EQ(h.errorMessage, "421 Timed out after 1 seconds.");
    ASSERT_TRUE(destination.waitFinished());
}
