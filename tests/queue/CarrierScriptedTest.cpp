// SPDX-License-Identifier: GPL-3.0-or-later
// Carrier jobs against scripted servers: the login retry lines, the automatic type, resuming a
// server-to-server copy, and what explorations queue.

#include "engine/LocalFileStream.h"
#include "support/CarrierHarness.h"
#include "support/ScriptSteps.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

void refuseLogin(ScriptedSession& s) {
    s.reply("220 Ready");
    s.expect("USER anonymous");
    s.reply("331 Password required");
    s.expectPrefix("PASS ");
    s.reply("530 Login incorrect.");
    if (!s.waitForClientClose()) {
        throw ScriptFailure("no abort after a failed attempt");
    }
}

// An exploration's listing: CWD, TYPE A, a passive LIST with the given lines, then QUIT.
void serveExploredFolder(ScriptedSession& s, const std::string& folder,
                         const std::string& listing) {
    s.greetAndLogin();
    s.expect("CWD " + folder);
    s.reply("250 OK");
    s.expect("TYPE A");
    s.reply("200 Type set to A");
    s.expect("PASV");
    s.reply(ScriptedSession::pasvReply(s.listenPassive()));
    s.expect("LIST");
    s.acceptData();
    s.reply("150 Listing");
    if (!listing.empty()) {
        s.dataSend(listing);
    }
    s.dataClose();
    s.reply("226 Done");
    ExpectQuit(s);
}

// The copy must fail with the text, and both scripts run through.
void expectFailedCopy(ScriptedFtpServer& source, ScriptedFtpServer& destination, bool temporaryName,
                      const std::string& failure) {
    CarrierHarness h;
    h.setJob("a.bin", source.portText(), "/", destination.portText(), "/b/");
    h.carrier->UploadToTemporaryName = temporaryName;
    EXPECT_EQ(h.run(&TFTPCarrier::Transfer), 1);
    EXPECT_EQ(h.errorMessage, failure);
    h.carrier->StopThread();
    ASSERT_TRUE(source.waitFinished());
    ASSERT_TRUE(destination.waitFinished());
    EXPECT_EQ(source.failure(), "");
    EXPECT_EQ(destination.failure(), "");
}

} // namespace

TEST(CarrierScripted, LoginRetriesLogTheFirstAttemptAndAFailureLineForEach) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        refuseLogin(s);
        s.nextConnection();
        refuseLogin(s);
        s.nextConnection();
        refuseLogin(s);
    });
    CarrierHarness h;
    h.carrier->ConnectRetry = 3;
    h.carrier->SrcPort = server.portText();
    h.carrier->FileName = "a.bin";
    h.carrier->SrcPath = "/";
    h.carrier->DestPath = "/tmp/";
    EXPECT_EQ(h.run(&TFTPCarrier::Download), 1);
    EXPECT_EQ(h.dones, std::vector<std::string>{"Carry"});
    EXPECT_EQ(h.errorMessage, "530 Login incorrect.");

    const std::string tag = "[127.0.0.1]: ";
    const std::string port = server.portText();
    const std::string failed = "! " + tag +
                               "User [anonymous] failed to log in onto host [127.0.0.1] on port [" +
                               port + "]";
    const auto retry = [&](int left) {
        return "~ " + tag + "Retrying to connect host [127.0.0.1] on port [" + port + "]. " +
               std::to_string(left) + " connection retry remained";
    };
    const std::string closed = "~ " + tag + "Connection closed from host [127.0.0.1]";
    const std::vector<std::string> expected = {
        "~ " + tag + "Contacting host [127.0.0.1]...",
        "~ " + tag + "Host [127.0.0.1] contacted. Waiting for reply...",
        "< " + tag + "220 Ready",
        "~ " + tag + "Host [127.0.0.1] connected. Sending Login information...",
        "> " + tag + "USER anonymous",
        "< " + tag + "331 Password required",
        "> " + tag + "PASS [What are you looking at?]",
        "< " + tag + "530 Login incorrect.",
        failed,
        closed, // the abort after the failed attempt
        retry(2),
        failed, // the second attempt itself left no lines
        closed,
        retry(1),
        failed,
        closed,
    };
    EXPECT_EQ(h.lines, expected);
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(CarrierScripted, AutomaticTypeComparesTheExtensionAsWritten) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s); // its TYPE I stays: README.TXT goes as binary, ".TXT" is not ".txt"
        s.expect("SIZE /pub/README.TXT"); // what the download must end with
        s.reply("213 9");
        s.expect("PASV");
        s.reply(ScriptedSession::pasvReply(s.listenPassive()));
        s.expect("RETR /pub/README.TXT");
        s.acceptData();
        s.reply("150 Sending");
        s.dataSend("read me\r\n");
        s.dataClose();
        s.reply("226 Done");
        ExpectQuit(s);
    });
    TempDir local;
    const TAsciiExtensions ascii({".txt"});
    CarrierHarness h;
    h.carrier->SrcPort = server.portText();
    h.carrier->PassiveMode = true;
    h.carrier->ASCIIExts = &ascii;
    h.carrier->SrcTransferType = TFTPTransferType::ftpTypeAuto;
    h.carrier->FileName = "README.TXT";
    h.carrier->SrcPath = "/pub/";
    h.carrier->DestPath = local.path().string() + "/";
    EXPECT_EQ(h.run(&TFTPCarrier::Download), 0) << h.errorMessage;
    EXPECT_EQ(readFile(local.path() / "README.TXT"), "read me\r\n"); // binary: bytes untouched
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A carrier that keeps file times asks for the remote time once the file is complete.
TEST(CarrierScripted, ACompletedDownloadTakesTheRemoteTime) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s);
        s.expect("SIZE /pub/a.bin");
        s.reply("213 2");
        s.expect("PASV");
        s.reply(ScriptedSession::pasvReply(s.listenPassive()));
        s.expect("RETR /pub/a.bin");
        s.acceptData();
        s.reply("150 Sending");
        s.dataSend("ab");
        s.dataClose();
        s.reply("226 Done");
        s.expect("MDTM /pub/a.bin");
        s.reply("213 20170714024000");
        ExpectQuit(s);
    });
    TempDir local;
    CarrierHarness h;
    h.carrier->SrcPort = server.portText();
    h.carrier->PassiveMode = true;
    h.carrier->KeepFileTimes = true;
    h.carrier->FileName = "a.bin";
    h.carrier->SrcPath = "/pub/";
    h.carrier->DestPath = local.path().string() + "/";
    EXPECT_EQ(h.run(&TFTPCarrier::Download), 0) << h.errorMessage;
    EXPECT_EQ(LocalFileTimeOf(local.file("a.bin")), 1'500'000'000);
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// Once the server has named a download's size in its 150 reply, the next downloads of the
// session ask no SIZE first, and are still held to the size the reply names.
TEST(CarrierScripted, AServerThatNamesTheSizeIsNotAskedForItAgain) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s);
        s.expect("SIZE /pub/a.bin");
        s.reply("213 2");
        for (const char* name : {"a.bin", "b.bin"}) {
            s.expect("PASV");
            s.reply(ScriptedSession::pasvReply(s.listenPassive()));
            s.expect(std::string("RETR /pub/") + name);
            s.acceptData();
            const bool first = std::string(name) == "a.bin";
            s.reply(std::string("150 Opening BINARY mode data connection for ") + name +
                    (first ? " (2 bytes)." : " (3 bytes)."));
            s.dataSend("ab");
            s.dataClose();
            s.reply("226 Done");
        }
        s.waitForClientClose();
    });
    TempDir local;
    CarrierHarness h;
    h.carrier->KeepSession = true;
    h.setJob("a.bin", server.portText(), "/pub/", "", local.path().string() + "/");
    h.carrier->PassiveMode = true;
    EXPECT_EQ(h.run(&TFTPCarrier::Download), 0) << h.errorMessage;
    EXPECT_EQ(readFile(local.path() / "a.bin"), "ab");
    h.carrier->FileName = "b.bin";
    EXPECT_EQ(h.run(&TFTPCarrier::Download), 1);
    EXPECT_EQ(h.errorMessage, "426 Transfer incomplete: 2 of 3 bytes.");
    EXPECT_FALSE(std::filesystem::exists(local.path() / "b.bin"));
    h.carrier->StopThread();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// The copy goes on in the temporary file the destination holds of it, never in the target, which
// the complete copy then replaces.
TEST(CarrierScripted, ResumedServerToServerCopyRestartsTheSourceAndAppends) {
    const std::string address = "127,0,0,1,200,10";
    ScriptedFtpServer source([&](ScriptedSession& s) {
        s.greetAndLogin("src");
        AnswerRestartProbe(s);
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (" + address + ").");
        s.expect("REST 1000");
        s.reply("350 Restarting at 1000");
        s.expect("RETR /from/big.iso");
        s.reply("150 Sending");
        s.reply("226 Transfer complete");
        ExpectQuit(s);
    });
    ScriptedFtpServer destination([&](ScriptedSession& s) {
        s.greetAndLogin("dst");
        s.expect("TYPE I");
        s.reply("200 Type set to I");
        s.expect("PORT " + address);
        s.reply("200 PORT command successful");
        s.expect("SIZE /to/big.iso.part");
        s.reply("213 1000");
        s.expect("APPE /to/big.iso.part");
        s.reply("150 Receiving");
        s.reply("226 Transfer complete");
        s.expect("RNFR /to/big.iso.part");
        s.reply("350 Ready for RNTO");
        s.expect("RNTO /to/big.iso");
        s.reply("250 Renamed");
        ExpectQuit(s);
    });
    CarrierHarness h;
    TFTPCarrier& c = *h.carrier;
    c.SrcPort = source.portText();
    c.SrcUserName = "src";
    c.DestPort = destination.portText();
    c.DestUserName = "dst";
    c.ResumeTransfer = true;
    c.FileName = "big.iso";
    c.FileSize = 5000;
    c.SrcPath = "/from/";
    c.DestPath = "/to/";
    EXPECT_EQ(h.run(&TFTPCarrier::Transfer), 0) << h.errorMessage;
    ASSERT_TRUE(source.waitFinished());
    ASSERT_TRUE(destination.waitFinished());
    EXPECT_EQ(source.failure(), "");
    EXPECT_EQ(destination.failure(), "");
}

// The part that arrived stays under the temporary name: the target is not replaced.
TEST(CarrierScripted, ServerToServerFailureOfTheSourceFailsTheJob) {
    ScriptedFtpServer source([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s);
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (127,0,0,1,200,11)");
        s.expect("RETR /a.bin");
        s.reply("150 Sending");
        s.reply("426 Connection lost");
        s.waitForClientClose();
    });
    ScriptedFtpServer destination([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("TYPE I");
        s.reply("200 Type set to I");
        s.expectPrefix("PORT ");
        s.reply("200 PORT command successful");
        s.expect("STOR /b/a.bin.part");
        s.reply("150 Receiving");
        s.reply("226 Transfer complete");
        s.waitForClientClose();
    });
    expectFailedCopy(source, destination, true, "426 Connection lost");
}

// Straight to the target's name (no temporary name), the destination listens and is told to
// store only once the source has answered RETR: a copy whose source cannot be read leaves the
// target alone.
TEST(CarrierScripted, ACopyWhoseSourceCannotBeReadNeverTouchesTheTarget) {
    ScriptedFtpServer source([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s);
        s.expectPrefix("PORT ");
        s.reply("200 PORT command successful");
        s.expect("RETR /a.bin");
        s.reply("550 /a.bin: Permission denied");
        s.waitForClientClose();
    });
    ScriptedFtpServer destination([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("TYPE I");
        s.reply("200 Type set to I");
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (127,0,0,1,200,12)");
        std::string next;
        try {
            next = s.readCommand();
        } catch (const ScriptFailure&) {
            return; // the client went away, and told the destination nothing more
        }
        throw ScriptFailure("the destination was told " + next + " after the source refused");
    });
    expectFailedCopy(source, destination, false, "550 /a.bin: Permission denied");
}

// A source whose passive reply names another host cannot send the destination there (a
// bounce): the destination is told the address our own connection to the source goes to.
TEST(CarrierScripted, AServerToServerCopyIgnoresTheHostOfThePassiveReply) {
    ScriptedFtpServer source([](ScriptedSession& s) {
        s.greetAndLogin();
        AnswerRestartProbe(s);
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (10,9,8,7,200,13)");
        s.expect("RETR /a.bin");
        s.reply("150 Sending");
        s.reply("226 Transfer complete");
        ExpectQuit(s);
    });
    ScriptedFtpServer destination([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("TYPE I");
        s.reply("200 Type set to I");
        s.expect("PORT 127,0,0,1,200,13");
        s.reply("200 PORT command successful");
        s.expect("STOR /b/a.bin.part");
        s.reply("150 Receiving");
        s.reply("226 Transfer complete");
        s.expect("RNFR /b/a.bin.part");
        s.reply("350 Ready for RNTO");
        s.expect("RNTO /b/a.bin");
        s.reply("250 Renamed");
        ExpectQuit(s);
    });
    CarrierHarness h;
    h.setJob("a.bin", source.portText(), "/", destination.portText(), "/b/");
    EXPECT_EQ(h.run(&TFTPCarrier::Transfer), 0) << h.errorMessage;
    EXPECT_TRUE(h.has("~ [127.0.0.1:" + source.portText() +
                      "]: The passive reply names [10.9.8.7]; the destination connects to "
                      "[127.0.0.1], where this connection goes."));
    ASSERT_TRUE(source.waitFinished());
    ASSERT_TRUE(destination.waitFinished());
    EXPECT_EQ(source.failure(), "");
    EXPECT_EQ(destination.failure(), "");
}

TEST(CarrierScripted, ExploringAnEmptyRemoteFolderSucceedsWithNoItems) {
    ScriptedFtpServer server([](ScriptedSession& s) { serveExploredFolder(s, "/pub/empty", ""); });
    TempDir local;
    CarrierHarness h;
    h.carrier->SrcPort = server.portText();
    h.carrier->PassiveMode = true;
    h.carrier->FileName = "empty";
    h.carrier->SrcPath = "/pub/";
    h.carrier->DestPath = local.path().string() + "/";
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreDownload), 0) << h.errorMessage;
    EXPECT_EQ(h.dones, std::vector<std::string>{"Explore"});
    EXPECT_TRUE(h.items.empty());
    EXPECT_TRUE(std::filesystem::is_directory(local.path() / "empty"));
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(CarrierScripted, ExploringALocalFolderQueuesNoDotFilesAndMakesTheRemoteFolder) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /up/tree");
        s.reply("550 No such folder");
        s.expect("MKD /up/tree");
        s.reply("257 \"/up/tree\" created");
        ExpectQuit(s);
    });
    TempDir local;
    local.write("tree/.hidden", "x");
    local.write("tree/.config/settings", "x");
    local.write("tree/b.txt", "12345");
    local.write("tree/a/inner.bin", "1");
    CarrierHarness h;
    h.carrier->DestPort = server.portText();
    h.carrier->FileName = "tree";
    h.carrier->SrcPath = local.path().string() + "/";
    h.carrier->DestPath = "/up/";
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreUpload), 0) << h.errorMessage;
    ASSERT_EQ(h.items.size(), 2u);
    EXPECT_EQ(h.items[0]->FileName, "a");
    EXPECT_TRUE(h.items[0]->IsFolder);
    EXPECT_EQ(h.items[0]->FileSize, -1);
    EXPECT_EQ(h.items[1]->FileName, "b.txt");
    EXPECT_FALSE(h.items[1]->IsFolder);
    EXPECT_EQ(h.items[1]->FileSize, 5);
    for (const auto& item : h.items) {
        EXPECT_EQ(item->Direction, TCarryDirection::Upload);
        EXPECT_EQ(item->SrcPath, local.path().string() + "/tree/");
        EXPECT_EQ(item->DestPath, "/up/tree/");
        EXPECT_EQ(item->DestPort, server.portText());
    }
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(CarrierScripted, ExplorationSkipsNamesThatWouldLeaveTheFolder) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        serveExploredFolder(s, "/pub",
                            "12-01-23  10:00AM       <DIR>          .\r\n"
                            "12-01-23  10:00AM       <DIR>          ..\r\n"
                            "12-01-23  10:00AM                  12 ok.txt\r\n"
                            "drwxr-xr-x   2 u  g   4096 Jan  1 10:00 sub\r\n");
    });
    TempDir local;
    CarrierHarness h;
    h.carrier->SrcPort = server.portText();
    h.carrier->PassiveMode = true;
    h.carrier->FileName = "pub";
    h.carrier->SrcPath = "/";
    h.carrier->DestPath = local.path().string() + "/";
    EXPECT_EQ(h.run(&TFTPCarrier::ExploreDownload), 0) << h.errorMessage;
    ASSERT_EQ(h.items.size(), 2u);
    EXPECT_EQ(h.items[0]->FileName, "ok.txt");
    EXPECT_EQ(h.items[0]->FileSize, 12);
    EXPECT_EQ(h.items[0]->SrcPath, "/pub/");
    EXPECT_EQ(h.items[0]->DestPath, local.path().string() + "/pub/");
    EXPECT_EQ(h.items[1]->FileName, "sub");
    EXPECT_TRUE(h.items[1]->IsFolder);
    EXPECT_EQ(h.items[1]->FileSize, -1);
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(CarrierScripted, AbortDuringAServerToServerTransferAbortsBothSides) {
    const auto hold = [](bool source) {
        return [source](ScriptedSession& s) {
            s.greetAndLogin();
            if (source) {
                AnswerRestartProbe(s);
                s.expect("PASV");
                s.reply("227 Entering Passive Mode (127,0,0,1,200,12)");
                s.expect("RETR /a.bin");
            } else {
                s.expect("TYPE I");
                s.reply("200 Type set to I");
                s.expectPrefix("PORT ");
                s.reply("200 PORT command successful");
                s.expect("STOR /b/a.bin.part");
            }
            s.reply("150 Transfer starting"); // and never ends
            if (!s.waitForClientClose()) {
                throw ScriptFailure("the abort did not drop the connection");
            }
        };
    };
    ScriptedFtpServer source(hold(true));
    ScriptedFtpServer destination(hold(false));
    CarrierHarness h;
    h.setJob("a.bin", source.portText(), "/", destination.portText(), "/b/");
    h.carrier->Transfer();
    // Both sessions go to one host: their lines carry the ports.
    const std::string sourceTag = "[127.0.0.1:" + source.portText() + "]";
    const std::string destinationTag = "[127.0.0.1:" + destination.portText() + "]";
    ASSERT_TRUE(h.ui.pumpUntil(
        [&] {
            return h.has("< " + sourceTag + ": 150 Transfer starting") &&
                   h.has("< " + destinationTag + ": 150 Transfer starting");
        },
        10s));
    // The line comes before the step that read it has ended: give the worker a moment to
    // settle into the wait for the end of the transfer.
    std::this_thread::sleep_for(100ms);
    h.carrier->Abort();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return !h.dones.empty(); }, 10s));
    EXPECT_EQ(h.resultCode, 2);
    EXPECT_EQ(h.errorMessage, "! [127.0.0.1:" + source.portText() + ", 127.0.0.1:" +
                                  destination.portText() + "]: Operation aborted.");
    EXPECT_TRUE(h.has(h.errorMessage));
    ASSERT_TRUE(source.waitFinished());
    ASSERT_TRUE(destination.waitFinished());
    EXPECT_EQ(source.failure(), "");
    EXPECT_EQ(destination.failure(), "");
}
