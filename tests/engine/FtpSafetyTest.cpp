// SPDX-License-Identifier: GPL-3.0-or-later
// What a hostile or broken server, or a hostile name, must not achieve through the engine: a
// second command smuggled in with a line break, a short download taken for complete, a file
// destroyed by the download that was to replace it, a local failure hidden behind the
// server's reply, an old error reported for a new request.

#include "support/EngineHarness.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// Serves one passive RETR of the content after the reply given for it; the rest of the script
// waits for the client to go.
ScriptedFtpServer::Script serveRetr(std::string name, std::string preliminary, std::string content,
                                    std::string closing = "226 Done") {
    return [=](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR " + name);
        s.acceptData();
        s.reply(preliminary);
        try {
            s.dataSend(content);
        } catch (const ScriptFailure&) {
        }
        s.dataClose();
        std::this_thread::sleep_for(30ms);
        s.reply(closing);
        s.waitForClientClose();
    };
}

} // namespace

// "get ftp://host/pub/a.txt%0D%0ADELE%20/up/victim": the engine refuses such a command
// wherever it comes from, and sends nothing of it.
TEST(FtpSafety, ACommandHoldingALineBreakOrNulIsNeverSent) {
    for (const std::string& bad : {std::string("a.txt\r\nDELE /up/victim"),
                                   std::string("a.txt\nDELE victim"), std::string("a\0b", 3)}) {
        ScriptedFtpServer server([](ScriptedSession& s) {
            s.greetAndLogin();
            s.waitForClientClose();
        });
        TempDir dir;
        EngineHarness h(server.portText());
        ASSERT_TRUE(h.login());
        h.engine.Passive = true;
        h.engine.HostFileName = bad;
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Dele), 500);
        EXPECT_EQ(h.engine.ErrorMessage(),
                  "500 Refused to send a command that holds a CR, LF or NUL character.");
        h.engine.LocalFileName = "SITE CHMOD 777 " + bad;
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Quote), 500);
        h.engine.UserName = bad;
        EXPECT_EQ(h.run(&TCustomFtpCliEx::User), 500);
        // Still the same session, and the server never saw anything of it.
        EXPECT_TRUE(h.engine.Connected());
        h.engine.Abort();
        ASSERT_TRUE(server.waitFinished());
        const auto commands = server.commands();
        EXPECT_EQ(commands, (std::vector<std::string>{"USER anonymous", "PASS guest@"}));
    }
}

// In a set other than UTF-8 an escaped byte goes back to the server as itself: an escaped CR or
// LF is a line break all the same. A name the set cannot write is not sent either.
TEST(FtpSafety, ALineBreakOrUnwritableNameAfterConversionIsNeverSent) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    ASSERT_TRUE(h.engine.SetNameCharset("Windows-1251"));
    for (const char* escaped : {"a\xED\xB0\x8D"
                                "DELE victim",
                                "a\xED\xB0\x8A"
                                "DELE victim"}) {
        h.engine.HostFileName = escaped;
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Dele), 500);
    }
    h.engine.HostFileName = "\xE6\x97\xA5.txt"; // a character Windows-1251 has not
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Dele), 501);
    EXPECT_NE(h.engine.ErrorMessage().find("character set (Windows-1251)"), std::string::npos);
    EXPECT_TRUE(h.engine.Connected());
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.commands(), (std::vector<std::string>{"USER anonymous", "PASS guest@"}));
}

TEST(FtpSafety, ALineBreakThatTheCommandHookAddsIsRefusedToo) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.OnCommand = [](TCustomFtpCliEx&, std::string& command) { command += "\r\nQUIT"; };
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Pwd), 500);
    h.engine.OnCommand = nullptr;
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.commands().size(), 2u);
}

// The server announced 1000000 bytes (by SIZE, or in its 150 reply), sent 500000, closed the
// data connection and said 226: that is no complete file, and a new download leaves nothing
// under its name, where a truncated file would pass for the whole one.
TEST(FtpSafety, ABinaryDownloadShorterThanAnnouncedFails) {
    const std::string half(500000, 'h');
    for (const bool bySize : {true, false}) {
        ScriptedFtpServer server(
            serveRetr("f.bin",
                      bySize ? "150 Opening BINARY mode"
                             : "150 Opening BINARY mode for f.bin (1000000 bytes)",
                      half));
        TempDir dir;
        EngineHarness h(server.portText());
        ASSERT_TRUE(h.login());
        h.engine.Passive = true;
        h.engine.HostFileName = "f.bin";
        h.engine.LocalFileName = dir.file("f.bin");
        if (bySize) {
            h.engine.ExpectedSize = 1000000;
        }
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 426);
        EXPECT_EQ(h.engine.ErrorMessage(), "426 Transfer incomplete: 500000 of 1000000 bytes.");
        EXPECT_FALSE(std::filesystem::exists(dir.file("f.bin")));
        EXPECT_TRUE(readFile(dir.file("f.bin.part")) == half); // kept for a resume
        h.engine.Abort();
    }
}

// In ASCII mode the sizes differ by design (line ends), so the size is not held against it.
TEST(FtpSafety, AsciiDownloadsAreNotHeldToTheAnnouncedSize) {
    ScriptedFtpServer server(serveRetr("t.txt", "150 Opening (12 bytes)", "a\r\nb\r\nc\r\nd\r\n"));
    TempDir dir;
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.SetBinary(false);
    h.engine.HostFileName = "t.txt";
    h.engine.LocalFileName = dir.file("t.txt");
    h.engine.ExpectedSize = 12;
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 0) << h.engine.ErrorMessage();
    EXPECT_EQ(readFile(dir.file("t.txt")), "a\nb\nc\nd\n");
    h.engine.Abort();
}

// A server that answers REST with 350 but sends the whole file again: the local file would
// hold the first part twice.
TEST(FtpSafety, AResumedDownloadWhoseRestTheServerIgnoredFails) {
    const std::string content(3000, 'c');
    ScriptedFtpServer server([&content](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("REST 1000");
        s.reply("350 Restarting at 1000");
        s.expect("RETR f.bin");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend(content); // from the start, not from 1000
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    TempDir dir;
    writeFile(dir.file("f.bin.part"), std::string(1000, 'c'));
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f.bin";
    h.engine.LocalFileName = dir.file("f.bin");
    h.engine.ExpectedSize = 3000;
    EXPECT_EQ(h.run(&TCustomFtpCliEx::ResumeGet), 426);
    EXPECT_EQ(h.engine.ErrorMessage(),
              "426 More data than announced: 4000 bytes came where the server announced 3000.");
    h.engine.Abort();
}

// A download that replaces a file writes beside it: when it fails the old file is as it was and
// what arrived waits under the partial name, where a resumed download goes on; once complete
// the new file takes the old one's place, with its permissions.
TEST(FtpSafety, AFailedDownloadLeavesTheFileItWasToReplace) {
    const std::string fresh = std::string(2000, 'n') + std::string(2000, 'N');
    TempDir dir;
    const std::string target = dir.file("report.pdf");
    writeFile(target, "the old report");
    ::chmod(target.c_str(), 0640);
    {
        ScriptedFtpServer server(
            serveRetr("report.pdf", "150 Opening", fresh.substr(0, 2000), "426 Connection lost"));
        EngineHarness h(server.portText());
        ASSERT_TRUE(h.login());
        h.engine.Passive = true;
        h.engine.HostFileName = "report.pdf";
        h.engine.LocalFileName = target;
        EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 426);
        EXPECT_EQ(readFile(target), "the old report");
        EXPECT_EQ(readFile(target + ".part"), fresh.substr(0, 2000));
        EXPECT_EQ(ResumableSize(target), 2000);
        h.engine.Abort();
    }
    ScriptedFtpServer server([&fresh](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("REST 2000"); // the size of the partial file, not of the old one
        s.reply("350 Restarting at 2000");
        s.expect("RETR report.pdf");
        s.acceptData();
        s.reply("150 Opening");
        s.dataSend(fresh.substr(2000));
        s.dataClose();
        s.reply("226 Done");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "report.pdf";
    h.engine.LocalFileName = target;
    h.engine.ExpectedSize = 4000;
    EXPECT_EQ(h.run(&TCustomFtpCliEx::ResumeGet), 0) << h.engine.ErrorMessage();
    EXPECT_EQ(readFile(target), fresh);
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    h.engine.Abort();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

// A download into a full disk: the server only says that the transfer broke off; the failure
// is the disk's.
TEST(FtpSafety, AFullDiskIsTheFailureNotTheServersReply) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.expect("RETR f.bin");
        s.acceptData();
        s.reply("150 Opening");
        try {
            s.dataSend(std::string(4 * 1024 * 1024, 'f'));
        } catch (const ScriptFailure&) {
        }
        s.dataClose();
        s.reply("426 Failure writing network stream.");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "f.bin";
    h.engine.LocalFileName = "/dev/full";
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Get), 550);
    EXPECT_EQ(h.engine.ErrorMessage(),
              "550 Error writing local file /dev/full: No space left on device");
    h.engine.Abort();
}

// Each single command starts without an error of its own: the text of an earlier failure is
// not reported for a later one.
TEST(FtpSafety, ALaterFailureReportsItsOwnText) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.expect("CWD /missing");
        s.reply("550 No such folder.");
        s.expect("MKD new");
        s.reply("553 Not allowed here.");
        s.expect("PWD");
        s.reply("257 \"/\"");
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.HostDirName = "/missing";
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Cwd), 550);
    EXPECT_EQ(h.engine.ErrorMessage(), "550 No such folder.");
    h.engine.HostFileName = "new";
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Mkd), 553);
    EXPECT_EQ(h.engine.ErrorMessage(), "553 Not allowed here.");
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Pwd), 0);
    EXPECT_EQ(h.engine.ErrorMessage(), "");
    h.engine.Abort();
}

// Uploads take regular files only; a pipe would otherwise hold the upload for ever.
TEST(FtpSafety, AnUploadOfAPipeIsRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.greetAndLogin();
        s.handlePasv();
        s.waitForClientClose();
    });
    EngineHarness h(server.portText());
    ASSERT_TRUE(h.login());
    h.engine.Passive = true;
    h.engine.HostFileName = "pipe";
    h.engine.LocalFileName = fifo;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(h.run(&TCustomFtpCliEx::Put, 3s), 426);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(h.engine.ErrorMessage(),
              "426 Unable to open local file " + fifo + ": not a regular file");
    h.engine.Abort();
}

// The synchronous wait ends with the completion, also when the server closed the connection
// with its last reply (the engine is left internal ready then), not at its time-out.
TEST(FtpSafety, TheSynchronousWaitEndsWhenTheServerHangsUpWithItsReply) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("USER anonymous");
        s.sendRaw("530 Maximum login attempts. Disconnecting.\r\n");
        s.close();
    });
    EngineHarness h(server.portText());
    h.engine.MultiThreaded = true;
    h.engine.Timeout = 5;
    h.engine.UserName = "anonymous";
    h.engine.PassWord = "guest@";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(h.engine.RunAndWait(&TCustomFtpCliEx::Connect));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(h.engine.ErrorMessage(), "530 Maximum login attempts. Disconnecting.");
}
