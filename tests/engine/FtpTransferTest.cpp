// SPDX-License-Identifier: GPL-3.0-or-later
// Data connections and transfers against a scripted server: both modes, the two orders of the
// closing reply and the data close, REST, line ends, and the failures that must not report a
// truncated file as success.

#include "support/EngineHarness.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    }
    return bytes;
}

bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// Serves one RETR in passive mode; closingFirst decides whether the data connection closes
// before or after the 226 reply. The client may shut the data connection down early.
ScriptedFtpServer::Script servePassiveRetr(std::string name, std::string content,
                                           bool closingFirst) {
    return
        [name = std::move(name), content = std::move(content), closingFirst](ScriptedSession& s) {
            s.greetAndLogin();
            s.handlePasv();
            s.expect("RETR " + name);
            s.acceptData();
            s.reply("150 Opening BINARY mode data connection");
            try {
                s.dataSend(content);
            } catch (const ScriptFailure&) {
            }
            if (closingFirst) {
                s.dataClose();
                std::this_thread::sleep_for(50ms);
                s.reply("226 Transfer complete");
            } else {
                s.reply("226 Transfer complete");
                std::this_thread::sleep_for(50ms);
                s.dataClose();
            }
            s.waitForClientClose();
        };
}

} // namespace

class FtpTransfer : public ::testing::TestWithParam<bool> {};

TEST_P(FtpTransfer, DownloadCompletesOnceWhicheverEndComesFirst) {
    const std::string content = pattern(300000);
    ScriptedFtpServer server(servePassiveRetr("file.bin", content, GetParam()));
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    std::size_t statsLineIndex = 0;
    std::size_t doneCountAtStats = 99;
    h.engine.OnDisplay = [&](TCustomFtpCliEx&, std::string& line) {
        if (line.rfind("! 300000 bytes received/sent in ", 0) == 0) {
            statsLineIndex = h.display.size();
            doneCountAtStats = h.done.size();
        }
        h.display.push_back(line);
    };
    h.engine.Passive = true;
    h.engine.HostFileName = "file.bin";
    h.engine.LocalFileName = dir.file("file.bin");
    ASSERT_NE(h.run(&TCustomFtpCliEx::Get), -1);
    h.pumpFor(100ms);
    ASSERT_EQ(h.done.size(), 2u);
    EXPECT_EQ(h.done[1].first, TFtpRequest::ftpGet);
    EXPECT_EQ(h.done[1].second, 0);
    EXPECT_EQ(readFile(dir.file("file.bin")), content);
    EXPECT_EQ(h.engine.ByteCount(), 300000);
    EXPECT_GT(statsLineIndex, 0u) << "no statistics line";
    EXPECT_EQ(doneCountAtStats, 1u) << "the statistics line must come before the completion";
    EXPECT_EQ(h.engine.LastResponse(), "226 Transfer complete");
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

INSTANTIATE_TEST_SUITE_P(ReplyOrders, FtpTransfer, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "DataClosedFirst" : "ReplyFirst";
                         });

TEST(FtpTransferModes, PassiveDataConnectionGoesToTheControlServerWhateverTheReplyNames) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("PASV");
        const std::uint16_t port = s.listenPassive();
        s.reply("227 Entering Passive Mode (192,168,1,5," + std::to_string(port / 256) + "," +
                std::to_string(port % 256) + ").");
        s.expect("LIST");
        s.acceptData();
        s.reply("150 Here comes the listing");
        s.dataSend("-rw-r--r-- 1 o g 5 Jan 1 2001 a\r\n");
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.LocalFileName = dir.file("listing.tmp");
    ASSERT_NE(h.run(&TCustomFtpCliEx::Dir), -1);
    EXPECT_EQ(h.done[1].first, TFtpRequest::ftpDir);
    EXPECT_EQ(h.done[1].second, 0);
    EXPECT_EQ(readFile(dir.file("listing.tmp")), "-rw-r--r-- 1 o g 5 Jan 1 2001 a\r\n");
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpTransferModes, MultiLinePreliminaryReplyIsOneReply) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR f");
        s.acceptData();
        s.reply("150-Opening data connection");
        s.reply("150-for f");
        s.reply("150 (3 bytes)");
        s.dataSend("abc");
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 0);
    EXPECT_EQ(readFile(dir.file("f")), "abc");
    h.engine.Abort();
}

TEST(FtpTransferModes, ZeroByteDownload) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR empty");
        s.acceptData();
        s.reply("150 Opening");
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "empty";
    h.engine.LocalFileName = dir.write("empty", "old content");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 0);
    EXPECT_EQ(readFile(dir.file("empty")), "");
    EXPECT_TRUE(hasLineStartingWith(h.display, "! 0 bytes received/sent in 0 seconds"));
    h.engine.Abort();
}

TEST(FtpTransferFailures, RefusedDownloadLeavesTheLocalFileAsItWas) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        for (int i = 0; i < 2; ++i) {
            s.handlePasv();
            s.expectPrefix("RETR ");
            s.acceptData();
            s.dataClose(); // an orderly close, before the refusal
            std::this_thread::sleep_for(20ms);
            s.reply("550 No such file");
        }
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "gone";
    h.engine.LocalFileName = dir.write("kept", "old content");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    EXPECT_EQ(readFile(dir.file("kept")), "old content");
    h.engine.LocalFileName = dir.file("new");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    EXPECT_FALSE(std::filesystem::exists(dir.file("new")));
    h.engine.Abort();
}

// A download goes on only in the partial file (NAME.part) an earlier one left; it takes the
// file's place when complete.
TEST(FtpTransferRest, ResumeFromThePartialSizeWhenTheServerAgrees) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("REST 1000");
        s.reply("350 Restarting at 1000");
        s.expect("RETR f");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend(std::string(500, 'B'));
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    std::int64_t lastProgress = 0;
    h.engine.OnProgress = [&](TCustomFtpCliEx&, std::int64_t count, bool&) {
        lastProgress = count;
    };
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    dir.write("f.part", std::string(1000, 'A'));
    ASSERT_NE(h.run(&TCustomFtpCliEx::ResumeGet), -1);
    EXPECT_EQ(h.done[1].first, TFtpRequest::ftpResumeGet);
    EXPECT_EQ(h.done[1].second, 0);
    EXPECT_EQ(readFile(dir.file("f")), std::string(1000, 'A') + std::string(500, 'B'));
    EXPECT_FALSE(std::filesystem::exists(dir.file("f.part")));
    // Progress counts from the resume offset (it is reported before each read).
    EXPECT_EQ(lastProgress, 1000);
    EXPECT_EQ(h.engine.ResumeAt, 0);
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpTransferRest, RestRefusedDownloadsTheWholeFileAgain) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("REST 1000");
        s.reply("502 REST not implemented");
        s.expect("RETR f");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend(std::string(700, 'C'));
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    dir.write("f.part", std::string(1000, 'A'));
    EXPECT_EQ(h.run(&TCustomFtpCliEx::ResumeGet), 0);
    EXPECT_EQ(readFile(dir.file("f")), std::string(700, 'C'));
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

// The file itself is never continued: without a partial file the download starts at 0.
TEST(FtpTransferRest, NoPartialFileSendsNoRest) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR f");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend("whole");
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.write("f", "an old version");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::ResumeGet), 0);
    EXPECT_EQ(readFile(dir.file("f")), "whole");
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpTransferRest, ResumeBeyondFourGigabytes) {
    constexpr std::int64_t kFiveGiB = 5LL * 1024 * 1024 * 1024;
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("REST 5368709120");
        s.reply("350 Restarting at 5368709120");
        s.expect("RETR huge.iso");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend("tail");
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    const std::string local = dir.file("huge.iso");
    {
        const int fd = ::open((local + ".part").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, kFiveGiB), 0); // sparse: takes no disk space
        ::close(fd);
    }
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    std::int64_t lastProgress = 0;
    h.engine.OnProgress = [&](TCustomFtpCliEx&, std::int64_t count, bool&) {
        lastProgress = count;
    };
    h.engine.Passive = true;
    h.engine.HostFileName = "huge.iso";
    h.engine.LocalFileName = local;
    EXPECT_EQ(h.run(&TCustomFtpCliEx::ResumeGet), 0);
    EXPECT_EQ(LocalFileSizeOf(local), kFiveGiB + 4);
    EXPECT_EQ(lastProgress, kFiveGiB);
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpTransferAscii, DownloadsTurnCrLfIntoLfAndUploadsTheReverse) {
    std::string uploaded;
    ScriptedFtpServer server([&](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("TYPE A");
        s.reply("200 Type set to A");
        s.handlePasv();
        s.expect("RETR notes.txt");
        s.acceptData();
        s.reply("150 Opening ASCII mode data connection");
        s.dataSend("line one\r\nline two\r");
        std::this_thread::sleep_for(30ms);
        s.dataSend("\nbare\rcr\r\n");
        s.dataClose();
        s.reply("226 Done");
        s.handlePasv();
        s.acceptData();
        s.expect("STOR notes.txt");
        s.reply("150 Ok");
        uploaded = s.dataReceiveAll();
        s.reply("226 Done");
        s.handlePasv();
        s.expect("LIST");
        s.acceptData();
        s.reply("150 Listing");
        s.dataSend("raw\r\nlisting\r\n");
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    ASSERT_NE(h.run(&TCustomFtpCliEx::SetTypeAscii), -1);
    h.engine.HostFileName = "notes.txt";
    h.engine.LocalFileName = dir.file("notes.txt");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 0);
    EXPECT_EQ(readFile(dir.file("notes.txt")), "line one\nline two\nbare\rcr\n");

    h.engine.LocalFileName = dir.write("upload.txt", "a\nb\r\nc\n");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Put), 0);

    h.engine.HostFileName.clear();
    h.engine.LocalFileName = dir.file("listing.tmp");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Dir), 0);
    EXPECT_EQ(readFile(dir.file("listing.tmp")), "raw\r\nlisting\r\n") << "listings stay raw";
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    EXPECT_EQ(uploaded, "a\r\nb\r\nc\r\n");
}

TEST(FtpTransferFailures, LocalWriteFailureFailsTheDownloadDespite226) {
    ScriptedFtpServer server(servePassiveRetr("f", pattern(200000), true));
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = "/dev/full"; // every write fails with "No space left on device"
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    EXPECT_TRUE(h.displayed("! Error writing local file"));
    EXPECT_EQ(h.engine.ErrorMessage().rfind("550 Error writing local file /dev/full", 0), 0u)
        << h.engine.ErrorMessage();
    h.engine.Abort();
}

TEST(FtpTransferFailures, LocalFileThatCannotBeCreated) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("no/such/folder/f");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    // The system's reason follows the name.
    EXPECT_EQ(h.engine.LastResponse(), "Unable to open local file " + dir.file("no/such/folder/f") +
                                           ": No such file or directory");
    h.engine.Abort();
}

TEST(FtpTransferFailures, ResetDataConnectionFailsTheDownloadDespite226) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR f");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend("partial");
        std::this_thread::sleep_for(50ms);
        s.dataReset();
        s.reply("226 Transfer complete");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    EXPECT_NE(h.run(&TCustomFtpCliEx::Get), 0);
    EXPECT_FALSE(h.engine.ErrorMessage().empty());
    h.engine.Abort();
}

TEST(FtpTransferFailures, AbortFromProgressIsNotASuccess) {
    ScriptedFtpServer server(servePassiveRetr("f", pattern(100000), true));
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.OnProgress = [](TCustomFtpCliEx&, std::int64_t, bool& abort) { abort = true; };
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 426);
    EXPECT_TRUE(h.displayed("! Abort requested"));
    h.engine.Abort();
}

TEST(FtpTransferFailures, AbortDuringATransferEndsItWith426) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR f");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend("some");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    h.engine.Get();
    h.pumpFor(200ms);
    ASSERT_EQ(h.done.size(), 1u);
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Abort), 426);
    EXPECT_EQ(h.engine.ErrorMessage(), "426 Operation aborted.");
    EXPECT_EQ(h.engine.State(), TFtpState::ftpReady);
    EXPECT_FALSE(h.engine.Connected());
}

TEST(FtpTransferFailures, UnreadablePassiveReplyFailsCleanlyAndTheSessionGoesOn) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (127,0,0,1,x,y).");
        s.expect("PASV");
        s.reply("227 Entering Passive Mode (127,0,0,1,0,0).");
        s.expect("PWD");
        s.reply("257 \"/\"");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("f");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    EXPECT_EQ(h.engine.ErrorMessage().rfind("550 Invalid passive mode reply", 0), 0u);
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Pwd), 0);
    EXPECT_EQ(h.engine.DirResult(), "/");
    h.engine.Abort();
    EXPECT_EQ(server.failure(), "");
}

TEST(FtpTransferFailures, CancelledUploadSendsNoCommand) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        if (!s.waitForClientClose()) {
            throw ScriptFailure("unexpected traffic");
        }
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.OnReadyToTransmit = [](TCustomFtpCliEx&, bool& cancel) { cancel = true; };
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.write("f", "data");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Put), 426);
    EXPECT_EQ(h.engine.ErrorMessage(), "426 Transmit cancelled by application");
    EXPECT_TRUE(h.displayed("! 426 Transmit cancelled by application"));
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    EXPECT_EQ(server.commands().back(), "PASV");
}

TEST(FtpTransferFailures, MissingUploadFile) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f";
    h.engine.LocalFileName = dir.file("absent");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Put), 426);
    EXPECT_EQ(h.engine.ErrorMessage(), "426 Unable to open local file " + dir.file("absent") +
                                           ": No such file or directory");
    h.engine.Abort();
}

TEST(FtpTransferModes, ServerConnectingRightAfterPortIsStillAccepted) {
    std::string port;
    ScriptedFtpServer server([&port](ScriptedSession& s) {
        s.greetAndLogin();
        port = s.expectPrefix("PORT ");
        s.connectActive(port); // before the data command, as some servers do
        s.reply("200 Active data connection established.");
        s.expect("RETR early");
        s.reply("125 Data connection already open. Transfer starting.");
        s.dataSend("early bytes");
        s.dataClose();
        s.reply("226 Transfer complete.");
        s.waitForClientClose();
    });
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = false;
    h.engine.HostFileName = "early";
    h.engine.LocalFileName = dir.file("early");
    h.engine.Get();
    ASSERT_TRUE(h.waitDone(2, 5s));
    EXPECT_EQ(h.done[1].second, 0);
    EXPECT_EQ(readFile(dir.file("early")), "early bytes");
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    // Towards a server on loopback the loopback address is announced.
    EXPECT_EQ(port.rfind("PORT 127,0,0,1,", 0), 0u) << port;
}

TEST(FtpTransferModes, ExtendedPassiveFirstAndPassiveForAServerThatRefusesIt) {
    // The first server takes EPSV; the second refuses it once and gets PASV from then on; the
    // third sends a 229 without a usable port, which fails that transfer only.
    const auto serveList = [](ScriptedSession& s, const char* data) {
        s.expect("LIST");
        s.acceptData();
        s.reply("150 Listing");
        s.dataSend(data);
        s.dataClose();
        s.reply("226 Done");
    };
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        ScriptedFtpServer server([&](ScriptedSession& s) {
            s.answerExtendedPassive = nullptr;
            s.greetAndLogin();
            for (int listing = 0; listing < 2; ++listing) {
                if (kind == 0) {
                    s.expect("EPSV");
                    s.reply("229 Entering Extended Passive Mode (|||" +
                            std::to_string(s.listenPassive()) + "|)");
                } else if (kind == 1) {
                    if (listing == 0) {
                        s.expect("EPSV");
                        s.reply("500 'EPSV': command not understood");
                    }
                    s.handlePasv();
                } else {
                    s.expect("EPSV");
                    s.reply(listing == 0 ? "229 Entering Extended Passive Mode (|||0|)"
                                         : "229 Entering Extended Passive Mode (|||" +
                                               std::to_string(s.listenPassive()) + "|)");
                    if (listing == 0) {
                        continue;
                    }
                }
                serveList(s, "-rw-r--r-- 1 o g 5 Jan 1 2001 a\r\n");
            }
            s.waitForClientClose();
        });
        TempDir dir;
        EngineHarness h(server.portText());
        ASSERT_TRUE(h.login());
        h.engine.Passive = true;
        h.engine.LocalFileName = dir.file("listing.tmp");
        const int first = h.run(&TCustomFtpCliEx::Dir);
        if (kind == 2) {
            EXPECT_EQ(first, 550);
            EXPECT_EQ(h.engine.ErrorMessage().rfind("550 Invalid passive mode reply", 0), 0u);
        } else {
            EXPECT_EQ(first, 0) << h.engine.ErrorMessage();
            EXPECT_EQ(h.engine.ErrorMessage(), ""); // the refused EPSV is no failure
        }
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Dir), 0) << h.engine.ErrorMessage();
        EXPECT_EQ(readFile(dir.file("listing.tmp")), "-rw-r--r-- 1 o g 5 Jan 1 2001 a\r\n");
        h.engine.Abort();
        EXPECT_EQ(server.failure(), "");
    }
}
