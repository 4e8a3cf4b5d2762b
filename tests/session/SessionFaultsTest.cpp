// The threaded session against servers that go silent, that end the connection with their
// last word, that refuse a reconnection, and against local files that are complete already or
// longer than the remote one.

#include "support/ClientHarness.h"
#include "support/ScriptSteps.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "support/VirtualFtpTree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

// The limit of the options reaches the engine; a timed-out attempt is a failed one, and the
// log says why.
TEST(SessionFaults, ASilentServerTimesOutEveryLoginAttempt) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (attempt > 0) {
                s.nextConnection();
            }
            s.reply("220 Ready");
            s.expect("USER anonymous");
            if (!s.waitForClientClose()) { // silent until the client gives up
                throw ScriptFailure("the client did not give up");
            }
        }
    });
    ClientHarness h(server.portText());
    h.client->Timeout = 1;
    h.client->LoginRetry = 2;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect, 10s), 1);
    EXPECT_LT(since(start), 4s);
    EXPECT_EQ(h.client->ErrorMessage, "421 Timed out after 1 seconds.");
    EXPECT_EQ(h.count("! 421 Timed out after 1 seconds."), 2u);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// pyftpdlib's "530 Maximum login attempts. Disconnecting." and vsftpd's refusal of a login
// without TLS: the final reply and the close arrive in one read. The request ends at once.
TEST(SessionFaults, AFinalReplyWithTheCloseEndsTheRequestAtOnce) {
    for (const bool atUser : {true, false}) {
        ScriptedFtpServer server([atUser](ScriptedSession& s) {
            s.reply("220 Ready");
            s.expect("USER anonymous");
            if (!atUser) {
                s.reply("331 Password required");
                s.expectPrefix("PASS ");
            }
            s.sendRaw("530 Maximum login attempts. Disconnecting.\r\n");
            s.close();
        });
        ClientHarness h(server.portText());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(h.run(&TThreadedFTPClient::Connect, 10s), 1);
        EXPECT_LT(since(start), 1s);
        EXPECT_EQ(h.client->ErrorMessage, "530 Maximum login attempts. Disconnecting.");
        EXPECT_TRUE(h.has("~ Connection closed from host [127.0.0.1]"));
    }
}

// vsftpd's "421 Data timeout. Reconnect. Sorry." in the middle of a download: the request ends
// with it, and the next request reconnects.
TEST(SessionFaults, AServerThatHangsUpDuringATransferEndsItAndTheNextRequestReconnects) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        AnswerSessionConnect(s);
        s.expect("TYPE I"); // the type is set anew after a login
        s.reply("200 Type set to I");
        s.expect("SIZE /f.bin");
        s.reply("213 100");
        s.handlePasv();
        s.expect("RETR /f.bin");
        s.acceptData();
        s.reply("150 Opening");
        s.sendRaw("421 Data timeout. Reconnect. Sorry.\r\n");
        s.dataClose();
        s.nextConnection();
        s.greetAndLogin();
        s.expect("PWD");
        s.reply("257 \"/\" is the current directory");
        s.waitForClientClose();
    });
    TempDir dir;
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostFileName = "/f.bin";
    h.client->LocalFileName = dir.file("f.bin");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TThreadedFTPClient::DownloadFile, 10s), 1);
    EXPECT_LT(since(start), 2s);
    EXPECT_EQ(h.client->ErrorMessage, "421 Data timeout. Reconnect. Sorry.");
    EXPECT_EQ(h.run(&TThreadedFTPClient::GetFolder, 10s), 0);
    EXPECT_TRUE(h.has("~ Connection closed. Reconnecting..."));
    EXPECT_EQ(h.client->CurrentFolder(), "/");
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// The reconnection check after the server dropped the session: a rejected login is closed
// before the next attempt (each attempt gets a connection of its own), and when all of them
// failed nothing stays open, so the next request reconnects instead of working unauthenticated.
TEST(SessionFaults, AReconnectionWhoseLoginIsRefusedLeavesNothingOpen) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        AnswerSessionConnect(s);
        s.close(); // the server ends the session
        for (int attempt = 0; attempt < 3; ++attempt) {
            s.nextConnection();
            s.reply("220 Ready");
            s.expect("USER anonymous");
            s.reply("331 Password required");
            s.expectPrefix("PASS ");
            if (attempt < 2) {
                s.reply("530 Login incorrect.");
                if (!s.waitForClientClose()) {
                    throw ScriptFailure("a failed login attempt was left open");
                }
                continue;
            }
            s.reply("230 Logged in");
            s.expect("PWD");
            s.reply("257 \"/home\"");
        }
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    h.client->LoginRetry = 2;
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    std::this_thread::sleep_for(100ms); // the close reaches the client
    EXPECT_EQ(h.run(&TThreadedFTPClient::GetFolder, 10s), 1);
    EXPECT_EQ(h.client->ErrorMessage, "530 Login incorrect.");
    // Not a PWD on a session that is not logged in: a reconnection first.
    EXPECT_EQ(h.run(&TThreadedFTPClient::GetFolder, 10s), 0);
    EXPECT_EQ(h.client->CurrentFolder(), "/home");
    EXPECT_EQ(h.count("~ Connection closed. Reconnecting..."), 2u);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A resumed download compares the local part with SIZE first: as long means complete, longer
// means it is not the start of the remote file.
TEST(SessionFaults, AResumedDownloadLooksAtTheSizeFirst) {
    const std::string content(1000, 'r');
    ScriptedFtpServer server([&content](ScriptedSession& s) {
        AnswerSessionConnect(s);
        s.expect("TYPE I"); // the type is set anew after a login
        s.reply("200 Type set to I");
        s.expect("SIZE /same.bin");
        s.reply("213 1000");
        s.expect("SIZE /longer.bin");
        s.reply("213 1000");
        s.handlePasv();
        s.expect("RETR /longer.bin"); // no REST: from the start
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend(content);
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    std::ofstream(dir.file("same.bin"), std::ios::binary) << content;
    std::ofstream(dir.file("longer.bin"), std::ios::binary) << std::string(1500, 'x');
    ClientHarness h(server.portText());
    h.client->ResumeTransfer = true;
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    ASSERT_TRUE(h.client->ResumeSupported);
    for (const char* name : {"same.bin", "longer.bin"}) {
        h.client->HostFileName = std::string("/") + name;
        h.client->LocalFileName = dir.file(name);
        EXPECT_EQ(h.run(&TThreadedFTPClient::DownloadFile), 0) << h.client->ErrorMessage;
        EXPECT_EQ(readFile(dir.file(name)), content) << name;
    }
    EXPECT_TRUE(h.has("~ [" + dir.file("same.bin") + "] is complete already: nothing to resume."));
    EXPECT_EQ(h.client->FileSize, 1000);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A recursive download that left entries out still succeeds for the windows, but says how
// many, and the owner learns which.
TEST(SessionFaults, ARecursiveTransferCountsWhatItSkipped) {
    VirtualFtpTree tree;
    tree.listing = [](const std::string& folder) -> std::optional<std::string> {
        if (folder == "/top" || folder == "/top/again") { // a link back to the folder itself
            return "-rw-r--r-- 1 o g 4 Jan 1 2001 ../escape\r\n"
                   "lrwxrwxrwx 1 o g 4 Jan 1 2001 again -> /top\r\n"
                   "-rw-r--r-- 1 o g 4 Jan 1 2001 kept.txt\r\n";
        }
        return std::nullopt;
    };
    tree.file = [](const std::string& file) -> std::optional<std::string> {
        return file == "/top/kept.txt" ? std::optional<std::string>("kept") : std::nullopt;
    };
    ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); });
    TempDir dir;
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostFileNames.Add("/top", kFolderEntry);
    h.client->LocalFileNames.Add(dir.file("top"), kFolderEntry);
    std::vector<std::string> skipped;
    h.client->OnDownloadsDone = [&, recorded = h.client->OnDownloadsDone](TThreadedFTPClient& c) {
        skipped = c.SkippedEntries;
        recorded(c);
    };
    EXPECT_EQ(h.run(&TThreadedFTPClient::Downloads), 0) << h.client->ErrorMessage;
    EXPECT_EQ(readFile(dir.file("top/kept.txt")), "kept");
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0], "Skipped [../escape] in [/top]: not a usable name.");
    EXPECT_EQ(skipped[1], "Skipped the folder link [again -> /top] in [/top]: it leads back to a "
                          "folder being copied.");
    EXPECT_TRUE(h.has("! 2 entries were skipped."));
    h.stop();
}
