// SPDX-License-Identifier: GPL-3.0-or-later
// The threaded session against servers that go silent, that end the connection with their
// last word, that refuse a reconnection, and against partial downloads that are or are not a
// part of the remote file.

#include "support/ClientHarness.h"
#include "support/ScriptSteps.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "support/VirtualFtpTree.h"

#include "engine/LocalFileStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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
    EXPECT_TRUE(h.has("~ Connection lost; reconnecting..."));
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
    EXPECT_EQ(h.count("~ Connection lost; reconnecting..."), 2u);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A download goes on only from a partial file of the very file on the server: one whose size
// fits and whose time is the remote file's modification time, which a download that does not
// complete gives its partial file. Anything else is downloaded whole, and the overwrite
// question offers Resume only where the rule allows it.
TEST(SessionFaults, AResumedDownloadGoesOnOnlyFromAPartialOfTheSameFile) {
    const std::string content = randomBytes(1000, 9);
    const std::int64_t remoteTime = 1767323045; // 2026-01-02 03:04:05 UTC
    std::size_t offset = 0;
    ScriptedFtpServer server([&](ScriptedSession& s) {
        s.answerFeatures = [](ScriptedSession& session) {
            for (const char* line : {"211-Features:", " MDTM", " SIZE", "211 End"}) {
                session.reply(line);
            }
        };
        AnswerCommands(s, [&](ScriptedSession& session, const std::string& command) {
            if (command.starts_with("SIZE ")) {
                session.reply("213 1000");
            } else if (command.starts_with("MDTM ")) {
                session.reply("213 20260102030405");
            } else if (command.starts_with("REST ")) {
                offset = std::stoul(command.substr(5));
                session.reply("350 Restarting");
            } else if (command.starts_with("RETR ")) {
                session.acceptData();
                session.reply("150 Opening");
                const bool cut = command == "RETR /cut.bin";
                session.dataSend(cut ? content.substr(0, 300) : content.substr(offset));
                session.dataClose();
                session.reply(cut ? "426 Connection lost" : "226 Done");
            } else {
                return false;
            }
            return true;
        });
    });
    TempDir dir;
    const auto partial = [&](const char* name, const std::string& bytes, std::int64_t time) {
        dir.write(std::string(name) + ".part", bytes);
        ASSERT_TRUE(SetLocalFileTime(dir.file(std::string(name) + ".part"), time));
    };
    dir.write("same.bin", std::string(1000, 'x')); // as long, but no partial download
    dir.write("stale.bin", "old");
    partial("stale.bin", std::string(400, 's'), remoteTime - 3600); // of an older version
    dir.write("good.bin", "old");
    partial("good.bin", content.substr(0, 400), remoteTime);
    partial("whole.bin", content, remoteTime); // all of it arrived, the end did not

    ClientHarness h(server.portText());
    h.client->ResumeTransfer = true;
    std::map<std::string, bool> offered;
    h.client->OnOverwrite = [&](TThreadedFTPClient&, const TOverwriteQuestion& question,
                                TOverwriteAnswer& answer) {
        offered[question.Target] = question.CanResume;
        answer.Choice = TOverwriteChoice::Resume;
    };
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    const auto download = [&](const std::string& name) {
        h.client->HostFileName = "/" + name;
        h.client->LocalFileName = dir.file(name);
        return h.run(&TThreadedFTPClient::DownloadFile);
    };
    for (const char* name : {"same.bin", "stale.bin", "good.bin", "whole.bin"}) {
        EXPECT_EQ(download(name), 0) << name << ": " << h.client->ErrorMessage;
        EXPECT_EQ(readFile(dir.file(name)), content) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.file(name) + ".part")) << name;
    }
    EXPECT_EQ(offered, (std::map<std::string, bool>{{dir.file("same.bin"), false},
                                                    {dir.file("stale.bin"), false},
                                                    {dir.file("good.bin"), true}}));
    // The one that broke off keeps its part, marked with the remote time.
    EXPECT_EQ(download("cut.bin"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("cut.bin")));
    EXPECT_EQ(readFile(dir.file("cut.bin.part")), content.substr(0, 300));
    EXPECT_EQ(LocalFileTimeOf(dir.file("cut.bin.part")), remoteTime);
    EXPECT_EQ(h.run(&TThreadedFTPClient::Quit), 0);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    const auto commands = server.commands();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                            [](const std::string& c) { return c.starts_with("REST 4"); }),
              1);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "RETR /whole.bin"), 0);
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
