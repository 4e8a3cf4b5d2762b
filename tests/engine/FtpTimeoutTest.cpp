// SPDX-License-Identifier: GPL-3.0-or-later
// The inactivity limit: whatever a server leaves unanswered (the greeting, a reply, the data),
// the request ends within the limit, fails with "421 Timed out after %d seconds.", closes the
// connection, and a download keeps what arrived without ever being taken for complete.

#include "support/EngineHarness.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

constexpr int kLimit = 1;
const std::string kTimedOut = "421 Timed out after 1 seconds.";

struct TimedRun {
    int error = -1;
    std::chrono::milliseconds elapsed{};
};

TimedRun timedRun(EngineHarness& h, void (TCustomFtpCliEx::*request)()) {
    const auto start = std::chrono::steady_clock::now();
    TimedRun result;
    result.error = h.run(request, 10s);
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return result;
}

// Ends within the limit (and a little more for the watchdog's period), not at once.
void expectTimedOut(EngineHarness& h, const TimedRun& run) {
    EXPECT_EQ(run.error, 421);
    EXPECT_GE(run.elapsed, 900ms);
    EXPECT_LT(run.elapsed, 2500ms);
    EXPECT_TRUE(h.engine.TimedOut());
    EXPECT_TRUE(h.engine.FailureMadeByEngine());
    EXPECT_EQ(h.engine.ErrorMessage(), kTimedOut);
    EXPECT_EQ(h.engine.StatusCode(), 421);
    EXPECT_TRUE(h.displayed("! " + kTimedOut));
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_EQ(h.engine.ControlSocket().State(), TSocketState::wsClosed);
    EXPECT_EQ(h.engine.DataSocket().State(), TSocketState::wsClosed);
}

// A logged-in engine with the limit, ready to download the file into the folder.
void prepareDownload(EngineHarness& h, const std::string& name, const TempDir& dir) {
    h.engine.InactivityLimit = kLimit;
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = name;
    h.engine.LocalFileName = dir.file(name);
}

} // namespace

TEST(FtpTimeout, SilenceBeforeTheGreeting) {
    ScriptedFtpServer server([](ScriptedSession& s) { s.waitForClientClose(); });
    EngineHarness h(server.portText());
    h.engine.InactivityLimit = kLimit;
    expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Connect));
    ASSERT_TRUE(server.waitFinished());
}

TEST(FtpTimeout, AGreetingThatNeverEndsItsMultiLineReply) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220-Welcome");
        s.reply("220-to a server that never finishes");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.InactivityLimit = kLimit;
    expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Connect));
}

// A line every 200 ms is no progress while the reply never ends: the whole reply, greeting or
// answer, must come within the limit.
TEST(FtpTimeout, AReplyThatTricklesForEverTimesOut) {
    for (const bool greeting : {true, false}) {
        ScriptedFtpServer server(
            [greeting](ScriptedSession& s) {
                if (!greeting) {
                    s.greetAndLogin();
                    s.expect("STAT");
                }
                for (int line = 0; line < 25; ++line) {
                    s.reply((greeting ? "220-" : "211-") + std::string("still going"));
                    std::this_thread::sleep_for(200ms);
                }
            },
            10s);
        EngineHarness h(server.portText());
        h.engine.InactivityLimit = kLimit;
        if (greeting) {
            expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Connect));
            continue;
        }
        ASSERT_TRUE(h.login());
        h.engine.LocalFileName = "STAT";
        expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Quote));
    }
}

TEST(FtpTimeout, SilenceAfterUserAndAfterPass) {
    for (const bool afterUser : {true, false}) {
        ScriptedFtpServer server([afterUser](ScriptedSession& s) {
            s.reply("220 Ready");
            s.expect("USER anonymous");
            if (!afterUser) {
                s.reply("331 Password required");
                s.expectPrefix("PASS ");
            }
            s.waitForClientClose();
        });
        EngineHarness h(server.portText());
        h.engine.InactivityLimit = kLimit;
        h.engine.UserName = "anonymous";
        h.engine.PassWord = "guest@";
        expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Connect));
        // The multi-step request ends there: nothing after the silent step is sent.
        EXPECT_TRUE(server.waitFinished());
    }
}

TEST(FtpTimeout, SilenceAfter150LeavesNoFileBehind) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR file.bin");
        s.acceptData();
        s.reply("150 Opening BINARY mode data connection");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    prepareDownload(h, "file.bin", dir);
    expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Get));
    EXPECT_FALSE(std::filesystem::exists(dir.file("file.bin"))); // nothing arrived
}

TEST(FtpTimeout, SilenceInTheMiddleOfTheDataKeepsWhatArrived) {
    const std::string part(300000, 'p');
    ScriptedFtpServer server([&part](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR file.bin");
        s.acceptData();
        s.reply("150 Opening BINARY mode data connection");
        s.dataSend(part);
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    prepareDownload(h, "file.bin", dir);
    const TimedRun run = timedRun(h, &TCustomFtpCliEx::Get);
    expectTimedOut(h, run);
    // The data that came is kept for a resume, under the partial name, and the statistics line
    // of a finished transfer never appears.
    EXPECT_FALSE(std::filesystem::exists(dir.file("file.bin")));
    EXPECT_EQ(readFile(dir.file("file.bin.part")), part);
    for (const auto& line : h.display) {
        EXPECT_EQ(line.find("bytes received/sent"), std::string::npos) << line;
    }
}

// Data that keeps flowing is activity: a transfer slower than the limit in total is not cut.
TEST(FtpTimeout, ATransferThatKeepsMovingIsNotCut) {
    ScriptedFtpServer server(
        [](ScriptedSession& s) {
            s.greetAndLogin();
            s.handlePasv();
            s.expect("RETR slow.bin");
            s.acceptData();
            s.reply("150 Opening BINARY mode data connection");
            for (int i = 0; i < 8; ++i) {
                std::this_thread::sleep_for(300ms);
                s.dataSend("0123456789");
            }
            s.dataClose();
            s.reply("226 Transfer complete");
            s.waitForClientClose();
        },
        10s);
    TempDir dir;
    EngineHarness h(server.portText());
    prepareDownload(h, "slow.bin", dir);
    const TimedRun run = timedRun(h, &TCustomFtpCliEx::Get);
    EXPECT_EQ(run.error, 0) << h.engine.ErrorMessage();
    EXPECT_GE(run.elapsed, 2000ms);
    EXPECT_EQ(readFile(dir.file("slow.bin")).size(), 80u);
    h.engine.Abort();
}

// A server that stops reading an upload: the send buffers fill up, nothing moves any more.
TEST(FtpTimeout, AnUploadTheServerStopsReading) {
    TempDir dir;
    const std::string big(64 * 1024 * 1024, 'u');
    std::ofstream(dir.file("big.bin"), std::ios::binary) << big;
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("STOR big.bin");
        s.acceptData();
        s.reply("150 Ok to send data");
        s.waitForClientClose(); // never reads the data connection
    });
    EngineHarness h(server.portText());
    h.engine.InactivityLimit = kLimit;
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "big.bin";
    h.engine.LocalFileName = dir.file("big.bin");
    expectTimedOut(h, timedRun(h, &TCustomFtpCliEx::Put));
}

TEST(FtpTimeout, IdleBetweenRequestsIsNoWait) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        std::this_thread::sleep_for(1500ms); // the session is idle, not waiting
        s.expect("PWD");
        s.reply("257 \"/\" is the current directory");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.InactivityLimit = kLimit;
    ASSERT_TRUE(h.login());
    h.pumpFor(1500ms);
    EXPECT_TRUE(h.engine.Connected());
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Pwd), 0);
    h.engine.Abort();
}
