// SPDX-License-Identifier: GPL-3.0-or-later
// The control connection: greetings, replies, the request machinery, refusals and aborts,
// against a scripted server on loopback.

#include "support/EngineHarness.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

std::size_t countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

} // namespace

TEST(FtpControl, MultiLineGreetingCompletesOpenOnceAfterTheLastLine) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220-Welcome to the scripted server");
        s.reply("220-Second line");
        s.reply("220 Ready");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.Open();
    ASSERT_TRUE(h.waitDone());
    h.pumpFor(100ms);
    ASSERT_EQ(h.done.size(), 1u);
    EXPECT_EQ(h.done[0].first, TFtpRequest::ftpOpen);
    EXPECT_EQ(h.done[0].second, 0);
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
    EXPECT_TRUE(h.engine.Connected());
    EXPECT_EQ(h.responses, (std::vector<std::string>{"220-Welcome to the scripted server",
                                                     "220-Second line", "220 Ready"}));
    EXPECT_EQ(countOf(h.display, "< 220-Second line"), 1u);
    EXPECT_EQ(h.connectStates, (std::vector<TFTPConnectState>{TFTPConnectState::ftpcsConnecting,
                                                              TFTPConnectState::ftpcsConnected,
                                                              TFTPConnectState::ftpcsGreeted}));
    h.engine.Abort();
}

TEST(FtpControl, GreetingWith421FailsConnectAndLeavesItDisconnected) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("421 Too many users, try later");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    h.engine.Connect();
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.done[0].first, TFtpRequest::ftpConnect);
    EXPECT_EQ(h.done[0].second, 421);
    EXPECT_EQ(h.engine.ErrorMessage(), "421 Too many users, try later");
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_TRUE(server.waitFinished());
    EXPECT_TRUE(server.commands().empty());
}

TEST(FtpControl, UserAnsweredWith230SendsNoPassword) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("USER anonymous");
        s.reply("230 Logged in without password");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.pumpFor(100ms);
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    EXPECT_EQ(server.commands(), std::vector<std::string>{"USER anonymous"});
}

TEST(FtpControl, FailedStepEndsTheRequestWithoutTheStepsAfterIt) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /missing");
        s.reply("550 /missing: No such file or directory");
        // No PASV, LIST or QUIT may follow.
        if (!s.waitForClientClose()) {
            throw ScriptFailure("the client went on after the failed CWD");
        }
    });
    EngineHarness h(server.portText());
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    h.engine.HostDirName = "/missing";
    h.engine.LocalFileName = "/dev/null";
    h.engine.Passive = true;
    h.engine.SessionDir();
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.done[0].second, 550);
    EXPECT_EQ(h.engine.LastResponse(), "550 /missing: No such file or directory");
    EXPECT_EQ(h.engine.ErrorMessage(), "550 /missing: No such file or directory");
    EXPECT_TRUE(h.engine.Connected()); // the control connection stays open
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpControl, QuotedFolderNamesOfPwd) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("PWD");
        s.reply("257 \"/home/say \"\"hi\"\"\" is the current directory");
        s.expect("PWD");
        s.reply("257 current directory is /home");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Pwd), 0);
    EXPECT_EQ(h.engine.DirResult(), "/home/say \"hi\"");
    ASSERT_NE(h.run(&TCustomFtpCliEx::Pwd), -1);
    EXPECT_EQ(h.engine.DirResult(), "");
    h.engine.Abort();
}

TEST(FtpControl, SizeRepliesIncludingFilesOverFourGigabytes) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("SIZE a.bin");
        s.reply("213 1048576");
        s.expect("SIZE big.iso");
        s.reply("213 5368709120");
        s.expect("SIZE odd");
        s.reply("213 unknown size");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.HostFileName = "a.bin";
    ASSERT_NE(h.run(&TCustomFtpCliEx::Size), -1);
    EXPECT_EQ(h.engine.SizeResult(), 1048576);
    h.engine.HostFileName = "big.iso";
    ASSERT_NE(h.run(&TCustomFtpCliEx::Size), -1);
    EXPECT_EQ(h.engine.SizeResult(), 5368709120LL);
    h.engine.HostFileName = "odd";
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Size), 0);
    EXPECT_EQ(h.engine.SizeResult(), -1);
    h.engine.Abort();
}

TEST(FtpControl, RepliesEndingInLfAloneOrCrLf) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.sendRaw("220-first\n220 Ready\r\n");
        s.expect("SYST");
        s.sendRaw("215 UNIX Type: L8\n");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.Open();
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.responses, (std::vector<std::string>{"220-first", "220 Ready"}));
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Syst), 0);
    EXPECT_EQ(h.engine.LastResponse(), "215 UNIX Type: L8");
    h.engine.Abort();
}

TEST(FtpControl, WithoutAcceptLfALineEndingInLfAloneStaysInTheBuffer) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.sendRaw("220 Ready\n");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.Options = 0;
    h.engine.Open();
    EXPECT_FALSE(h.waitDone(1, 300ms));
    EXPECT_TRUE(h.responses.empty());
    h.engine.Abort();
}

TEST(FtpControl, QuoteCountsCodesBelow500AsSuccess) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("SITE CHMOD 644 a.txt");
        s.reply("200 SITE CHMOD command ok.");
        s.expect("SITE BOGUS");
        s.reply("500 Unknown SITE command.");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.LocalFileName = "SITE CHMOD 644 a.txt";
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Quote), 0);
    h.engine.LocalFileName = "SITE BOGUS";
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Quote), 500);
    h.engine.Abort();
}

TEST(FtpControl, RefusalsRaiseFtpExceptionAndSendNothing) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("NOOP");
        s.reply("200 NOOP ok");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    EXPECT_THROW(
        {
            try {
                h.engine.Cwd();
            } catch (const FtpException& e) {
                EXPECT_STREQ(e.what(), "FTP component not connected");
                throw;
            }
        },
        FtpException);
    ASSERT_TRUE(h.login());
    EXPECT_THROW(h.engine.Open(), FtpException);
    h.engine.HostDirName.clear();
    try {
        h.engine.Cwd();
        ADD_FAILURE() << "Cwd with an empty folder was accepted";
    } catch (const FtpException& e) {
        EXPECT_STREQ(e.what(), "HostDirName emtpy");
    }
    // With an OnError handler the refusal goes there instead.
    std::string refused;
    h.engine.OnError = [&refused](TCustomFtpCliEx&, std::string& message) { refused = message; };
    h.engine.UserName.clear();
    h.engine.User();
    EXPECT_EQ(refused, "UserName emtpy");
    h.engine.OnError = nullptr;
    // A second request while one is pending.
    h.engine.LocalFileName = "NOOP";
    h.engine.Quote();
    try {
        h.engine.Pwd();
        ADD_FAILURE() << "a second request was accepted";
    } catch (const FtpException& e) {
        EXPECT_STREQ(e.what(), "FTP component not ready");
    }
    ASSERT_TRUE(h.waitDone(2));
    EXPECT_EQ(h.done[1].second, 0);
    h.pumpFor(50ms);
    EXPECT_EQ(h.done.size(), 2u);
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.commands(),
              (std::vector<std::string>{"USER anonymous", "PASS guest@", "NOOP"}));
}

TEST(FtpControl, RefusedStepInsideConnectFailsTheRequestWithTheRefusal) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("USER someone");
        s.reply("331 Password required");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.UserName = "someone";
    h.engine.PassWord.clear();
    h.engine.Connect();
    ASSERT_TRUE(h.waitDone());
    EXPECT_NE(h.done[0].second, 0);
    EXPECT_EQ(h.engine.ErrorMessage(), "Password emtpy");
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
    h.engine.Abort();
}

TEST(FtpControl, AbortDuringTheNameLookupLeavesTheEngineReady) {
    EngineHarness h("21");
    h.engine.HostName = "localhost";
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    h.engine.Connect();
    EXPECT_EQ(h.engine.State(), TFtpState::ftpDnsLookup);
    h.engine.Abort();
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
    EXPECT_FALSE(h.engine.Connected());
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.done[0].second, 426);
    EXPECT_EQ(h.engine.ErrorMessage(), "426 Operation aborted.");
    h.pumpFor(200ms);
    EXPECT_EQ(h.done.size(), 1u);
    EXPECT_EQ(h.connectStates, std::vector<TFTPConnectState>{TFTPConnectState::ftpcsLookingUp});
}

TEST(FtpControl, HostNamesAreLookedUpFirst) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    h.engine.HostName = "localhost";
    h.engine.Open();
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.done[0].second, 0);
    EXPECT_EQ(h.engine.DnsResult(), "127.0.0.1");
    EXPECT_EQ(h.connectStates, (std::vector<TFTPConnectState>{TFTPConnectState::ftpcsLookingUp,
                                                              TFTPConnectState::ftpcsHostFound,
                                                              TFTPConnectState::ftpcsConnecting,
                                                              TFTPConnectState::ftpcsConnected,
                                                              TFTPConnectState::ftpcsGreeted}));
    h.engine.Abort();
}

TEST(FtpControl, RefusedConnectionCompletesWithTheSocketError) {
    std::uint16_t freePort = 0;
    {
        // A port that was free a moment ago and has no listener now.
        ScriptedFtpServer probe([](ScriptedSession&) {}, 100ms);
        freePort = probe.port();
    }
    EngineHarness h(std::to_string(freePort));
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    h.engine.Connect();
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.done[0].second, 10061);
    EXPECT_EQ(h.engine.StatusCode(), 500);
    // The system's text and number, not the numbers of another platform's socket library.
    EXPECT_EQ(h.engine.LastResponse(), "500 Connection refused (socket error #111)");
    EXPECT_EQ(h.engine.ErrorMessage(), "500 Connection refused (socket error #111)");
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
}

TEST(FtpControl, QuitClosesTheConnectionAndTheEngineCanConnectAgain) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("QUIT");
        s.reply("221 Goodbye");
        if (!s.waitForClientClose()) {
            throw ScriptFailure("the client kept the connection after 221");
        }
        s.nextConnection();
        s.greetAndLogin();
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    int closed = 0;
    h.engine.OnSessionClosed = [&closed](TCustomFtpCliEx&, std::uint16_t) { ++closed; };
    ASSERT_TRUE(h.login());
    ASSERT_NE(h.run(&TCustomFtpCliEx::Quit), -1);
    EXPECT_EQ(h.done[1].first, TFtpRequest::ftpQuit);
    EXPECT_EQ(h.done[1].second, 0);
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_EQ(closed, 1);
    ASSERT_TRUE(h.login());
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpControl, ServerClosingDuringACommandFailsIt) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /pub");
        s.close();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.HostDirName = "/pub";
    EXPECT_NE(h.run(&TCustomFtpCliEx::Cwd), 0);
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_EQ(h.engine.ErrorMessage(), "421 Connection closed by the server.");
    // A later command is refused, not sent into a closed connection.
    EXPECT_THROW(h.engine.Pwd(), FtpException);
}

TEST(FtpControl, AbortedSingleCommandDoesNotReportSuccess) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /slow");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.HostDirName = "/slow";
    h.engine.Cwd();
    h.pumpFor(100ms);
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Abort), 426);
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
    h.pumpFor(50ms);
    EXPECT_EQ(h.done.size(), 2u);
}

TEST(FtpControl, OverlongReplyLineEndsTheSession) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("SYST");
        s.sendRaw(std::string(5000, 'x'));
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Syst), 421);
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_EQ(h.engine.ErrorMessage(), "421 Reply line too long: more than 4095 bytes without a "
                                       "line end; the connection is closed.");
}

// A reply that goes on and on (more than 10,000 lines, or more than 1 MiB) ends the session
// with a text that says so, even when its end comes at last.
TEST(FtpControl, AnEndlessReplyEndsTheSession) {
    struct Case {
        std::size_t lines;
        std::size_t width;
        std::string bound;
    };
    for (const Case& c :
         {Case{10001, 10, "more than 10000 lines"}, Case{600, 2000, "more than 1048576 bytes"}}) {
        ScriptedFtpServer server([&c](ScriptedSession& s) {
            s.greetAndLogin();
            s.expect("STAT");
            std::string reply;
            for (std::size_t i = 0; i < c.lines; ++i) {
                reply += "211-" + std::string(c.width, 'x') + "\r\n";
            }
            try {
                s.sendRaw(reply + "211 End\r\n");
            } catch (const ScriptFailure&) {
            }
            s.waitForClientClose();
        });
        EngineHarness h(server.portText());
        ASSERT_TRUE(h.login());
        h.engine.LocalFileName = "STAT";
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Quote), 421);
        EXPECT_FALSE(h.engine.Connected());
        EXPECT_EQ(h.engine.ErrorMessage(),
                  "421 Reply too long: " + c.bound + "; the connection is closed.");
    }
}

TEST(FtpControl, WaitForReadyGivesUpAfterTheTimeout) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("SYST");
        s.waitForClientClose(); // never answers
    });
    EngineHarness h(server.portText());
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    ASSERT_TRUE(h.engine.RunAndWait(&TCustomFtpCliEx::Connect));
    h.engine.Timeout = 1;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(h.engine.RunAndWait(&TCustomFtpCliEx::Syst));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 900ms);
    EXPECT_LT(waited, 5s);
    EXPECT_EQ(h.engine.ErrorMessage(), "426 Timeout");
    EXPECT_EQ(h.engine.StatusCode(), 426);
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
}

TEST(FtpControl, RefusalOfAStepRunInsideAnotherCompletesTheRequestOnce) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName.clear(); // no REST (nothing to resume), then RETR is refused
    ASSERT_NE(h.run(&TCustomFtpCliEx::ResumeGet), -1);
    h.pumpFor(100ms);
    EXPECT_EQ(h.done.size(), 2u);
    EXPECT_NE(h.done[1].second, 0);
    EXPECT_EQ(h.engine.ErrorMessage(), "LocalFileName empty");
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
    h.engine.Abort();
}

TEST(FtpControl, WholeSessionRequestReportsTheLastRealReplyNotQuit) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin("anonymous");
        s.expect("CWD /pub");
        s.reply("250 Directory changed");
        s.handlePasv();
        s.expect("LIST");
        s.acceptData();
        s.reply("150 Here comes the listing");
        s.dataSend("-rw-r--r-- 1 o g 3 Jan 1 2001 a\r\n");
        s.dataClose();
        s.reply("226 Directory send OK.");
        s.expect("QUIT");
        s.reply("221 Goodbye.");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    h.engine.HostDirName = "/pub";
    h.engine.LocalFileName = dir.file("listing");
    h.engine.Passive = true;
    h.engine.SessionDir();
    ASSERT_TRUE(h.waitDone());
    EXPECT_EQ(h.done[0].first, TFtpRequest::ftpSessionDir);
    EXPECT_EQ(h.done[0].second, 0);
    EXPECT_EQ(h.engine.LastResponse(), "226 Directory send OK.");
    EXPECT_EQ(h.engine.StatusCode(), 226);
    EXPECT_FALSE(h.engine.Connected());
    EXPECT_EQ(readFile(dir.file("listing")), "-rw-r--r-- 1 o g 3 Jan 1 2001 a\r\n");
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}
