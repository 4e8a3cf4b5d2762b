// SPDX-License-Identifier: GPL-3.0-or-later
// The threaded session against scripted servers: login retries, authentication, the restart
// probe, type memory, link detection, the entry loops, aborting and stopping.

#include "support/ClientHarness.h"
#include "support/ScriptSteps.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "support/VirtualFtpTree.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

// Greets, logs in and answers SYST and the restart probe.
void connectPreamble(ScriptedSession& s, const char* rest0Reply = "350 Restarting at 0") {
    s.greetAndLogin();
    s.expect("SYST");
    s.reply("215 UNIX Type: L8");
    s.expect("TYPE I");
    s.reply("200 Type set to I");
    s.expect("REST 1");
    s.reply("350 Restarting at 1");
    s.expect("REST 0");
    s.reply(rest0Reply);
}

void serveListing(ScriptedSession& s, const std::string& listing) {
    s.expect("PASV");
    s.reply(ScriptedSession::pasvReply(s.listenPassive()));
    s.expect("LIST");
    s.acceptData();
    s.reply("150 Listing");
    s.dataSend(listing);
    s.dataClose();
    s.reply("226 Done");
}

} // namespace

TEST(ThreadedClient, LoginRetriesWithAnAbortAfterEachAttempt) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (attempt > 0) {
                s.nextConnection();
            }
            s.reply("220 Ready");
            s.expect("USER anonymous");
            s.reply("331 Password required");
            s.expectPrefix("PASS ");
            s.reply("530 Login incorrect.");
            if (!s.waitForClientClose()) {
                throw ScriptFailure("no abort after a failed attempt");
            }
        }
    });
    ClientHarness h(server.portText());
    h.client->LoginRetry = 3;
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect), 1);
    EXPECT_EQ(h.dones.size(), 1u);
    EXPECT_EQ(h.dones[0].event, "Connect");
    EXPECT_EQ(h.count("> USER anonymous"), 3u);
    EXPECT_EQ(h.count("> PASS [What are you looking at?]"), 3u);
    EXPECT_EQ(h.count("< 530 Login incorrect."), 3u);
    EXPECT_EQ(h.client->ErrorMessage, "530 Login incorrect.");
    EXPECT_EQ(h.lines.front(), "% Connecting");
    EXPECT_EQ(h.lines.back(), "% Idle");
    EXPECT_EQ(h.lines[1], "~ Contacting host [127.0.0.1]...");
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(ThreadedClient, CancelledAuthenticationEndsTheLogin) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    h.client->LoginRetry = 3;
    h.client->UserName.clear();
    int asked = 0;
    h.client->OnAuthenticate = [&](TThreadedFTPClient&, TFTPAuthenticate what, std::string&,
                                   bool& cancel) {
        ++asked;
        EXPECT_EQ(what, TFTPAuthenticate::ftpAuthUserName);
        cancel = true;
    };
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect), 2);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(h.has("! Login canceled."));
    EXPECT_EQ(h.countStartingWith("> USER"), 0u);
    EXPECT_EQ(server.commands().size(), 0u);
}

TEST(ThreadedClient, AnsweredQuestionIsKeptAndAnEmptyPasswordFailsCleanly) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("USER someone");
        s.reply("331 Password required");
        s.waitForClientClose();
        s.nextConnection();
        connectPreamble(s);
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    h.client->UserName.clear();
    h.client->Password.clear();
    // Without a handler an empty password is refused by the engine: a failed step, no crash.
    h.client->OnAuthenticate = [](TThreadedFTPClient&, TFTPAuthenticate what, std::string& need,
                                  bool&) {
        if (what == TFTPAuthenticate::ftpAuthUserName) {
            need = "someone";
        }
    };
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect), 1);
    EXPECT_EQ(h.client->ErrorMessage, "Password emtpy");
    EXPECT_EQ(h.client->UserName, "someone");
    EXPECT_TRUE(h.has("! Password emtpy"));

    h.client->OnAuthenticate = [](TThreadedFTPClient&, TFTPAuthenticate what, std::string& need,
                                  bool&) {
        EXPECT_EQ(what, TFTPAuthenticate::ftpAuthPassword);
        need = "secret";
    };
    h.client->UserName = "anonymous";
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    EXPECT_EQ(h.client->Password, "secret");
    EXPECT_EQ(h.client->SystemName, "215 UNIX Type: L8");
    EXPECT_TRUE(h.client->ResumeSupported);
    EXPECT_EQ(h.client->HostAddress(), "127.0.0.1");
}

TEST(ThreadedClient, RestartProbeAndInitialFolder) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s, "500 REST 0 not understood");
        s.expect("CWD /missing");
        s.reply("550 No such folder");
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    h.client->InitialFolder = "/missing";
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    EXPECT_FALSE(h.client->ResumeSupported);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(ThreadedClient, TypeIsSentOnlyWhenItChangesAndAutoGoesByExtension) {
    TempDir dir;
    VirtualFtpTree tree;
    tree.listing = [](const std::string& folder) -> std::optional<std::string> {
        if (folder == "/") {
            return "-rw-r--r-- 1 o g 1 Jan 1 2001 a.bin\r\n";
        }
        return std::nullopt;
    };
    tree.file = [](const std::string&) -> std::optional<std::string> { return "x"; };
    ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); });
    ClientHarness h(server.portText());
    TAsciiExtensions extensions({".txt"});
    h.client->ASCIIExts = &extensions;
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    const std::size_t probeTypes = h.count("> TYPE I"); // the restart probe runs in binary
    const auto sentI = [&] { return h.count("> TYPE I") - probeTypes; };
    const auto download = [&](const std::string& name) {
        h.client->HostFileName = "/" + name;
        h.client->LocalFileName = dir.file(name);
        return h.run(&TThreadedFTPClient::DownloadFile);
    };
    h.client->TransferType = TFTPTransferType::ftpTypeBinary;
    EXPECT_EQ(download("one.bin"), 0);
    EXPECT_EQ(download("two.bin"), 0);
    EXPECT_EQ(sentI(), 1u);
    h.client->HostDirName = "/";
    EXPECT_EQ(h.run(&TThreadedFTPClient::GetListItems), 0);
    EXPECT_EQ(h.count("> TYPE A"), 1u);
    EXPECT_EQ(download("three.bin"), 0);
    EXPECT_EQ(sentI(), 2u);

    h.client->TransferType = TFTPTransferType::ftpTypeAuto;
    EXPECT_EQ(download("README.TXT"), 0); // the extension is lowered before comparing
    EXPECT_EQ(h.count("> TYPE A"), 2u);
    EXPECT_EQ(download("notes"), 0);
    EXPECT_EQ(download("data.tar.gz"), 0);
    EXPECT_EQ(sentI(), 3u);
    EXPECT_EQ(h.client->FileSize, 1);
}

TEST(ThreadedClient, LinkDetectionCountsAndHidesItsProbes) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s);
        s.expect("CWD /pub");
        s.reply("250 OK");
        s.expect("TYPE A");
        s.reply("200 OK");
        serveListing(s, "lrwxrwxrwx 1 o g 3 Jan 1 2001 docs -> /srv/docs\r\n"
                        "lrwxrwxrwx 1 o g 3 Jan 1 2001 www -> html\r\n"
                        "lrwxrwxrwx 1 o g 3 Jan 1 2001 latest.tgz -> v2.tgz\r\n"
                        "drwxr-xr-x 2 o g 3 Jan 1 2001 html\r\n");
        s.expect("PWD");
        s.reply("257 \"/pub\"");
        for (const char* link : {"docs", "www"}) {
            s.expect(std::string("CWD /pub/") + link);
            s.reply("250 OK");
            s.expect("CWD /pub");
            s.reply("250 back");
        }
        s.expect("CWD /pub/latest.tgz");
        s.reply("550 Not a folder");
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    TFTPListItems items;
    h.client->ListItems = &items;
    h.client->HostDirName = "/pub";
    EXPECT_EQ(h.run(&TThreadedFTPClient::GetListItems), 0);
    EXPECT_TRUE(h.has("~ Auto-detecting link property..."));
    EXPECT_TRUE(h.has("~ 2 folder and 1 file links detected."));
    EXPECT_EQ(h.countStartingWith("> CWD /pub/"), 0u);
    EXPECT_EQ(h.count("> PWD"), 0u);
    ASSERT_EQ(items.Count(), 4u);
    EXPECT_FALSE(items[0].IsFile);
    EXPECT_FALSE(items[1].IsFile);
    EXPECT_TRUE(items[2].IsFile);
    EXPECT_TRUE(items[2].IsLink);
    EXPECT_EQ(h.client->FileSize, -1);
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(ThreadedClient, RemoveLoopKeepsOnlyTheEntriesItCouldNotRemove) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s);
        s.expect("CWD /pub");
        s.reply("250 OK");
        s.expect("DELE a.txt");
        s.reply("250 Deleted");
        s.expect("DELE locked.txt");
        s.reply("550 Permission denied");
        s.expect("CWD /pub"); // back to the folder after a failure
        s.reply("250 OK");
        s.expect("DELE c.txt");
        s.reply("250 Deleted");
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostDirName = "/pub";
    for (const char* name : {"a.txt", "locked.txt", "c.txt"}) {
        h.client->HostFileNames.Add(name, kFileEntry);
    }
    EXPECT_EQ(h.run(&TThreadedFTPClient::Remove), 0);
    EXPECT_EQ(h.dones.back().hostFileNames, std::vector<std::string>{"locked.txt"});
    EXPECT_TRUE(h.client->HostFileNames.Empty());
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(ThreadedClient, ChangePermsStopsAtTheFirstFailure) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s);
        s.expect("CWD /pub");
        s.reply("250 OK");
        s.expect("SITE CHMOD 644 a");
        s.reply("550 Not allowed");
        if (!s.waitForClientClose()) {
            throw ScriptFailure("more commands after the failure");
        }
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostDirName = "/pub";
    h.client->LocalFileName = "644";
    for (const char* name : {"a", "b", "c"}) {
        h.client->HostFileNames.Add(name);
    }
    EXPECT_EQ(h.run(&TThreadedFTPClient::ChangePerms), 1);
    EXPECT_EQ(h.dones.back().hostFileNames, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ThreadedClient, PasswordsAndLookAlikesAreMasked) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s);
        s.expect("MKD PASSWORDS");
        s.reply("257 created");
        s.expect("MKD passwords");
        s.reply("257 created");
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostFileName = "PASSWORDS";
    EXPECT_EQ(h.run(&TThreadedFTPClient::MakeFolder), 0);
    h.client->HostFileName = "passwords";
    EXPECT_EQ(h.run(&TThreadedFTPClient::MakeFolder), 0);
    EXPECT_EQ(h.count("> PASS [What are you looking at?]"), 2u);
    EXPECT_TRUE(h.has("> MKD passwords"));
    EXPECT_EQ(h.countStartingWith("> PASS guest"), 0u);
    EXPECT_EQ(h.count("% Making Folder"), 2u);
}

TEST(ThreadedClient, AbortWhileIdleDoesNothing) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s);
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    const std::size_t lines = h.lines.size();
    h.client->Abort();
    h.ui.pumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(h.lines.size(), lines);
}

TEST(ThreadedClient, AbortDuringARecursiveDownloadEndsTheWholeRequest) {
    TempDir dir;
    VirtualFtpTree tree;
    tree.listing = [](const std::string& folder) -> std::optional<std::string> {
        if (folder == "/" || folder == "/tree") {
            return "-rw-r--r-- 1 o g 100 Jan 1 2001 slow.bin\r\n";
        }
        return std::nullopt;
    };
    tree.file = [](const std::string&) -> std::optional<std::string> {
        std::this_thread::sleep_for(3s); // long enough to be aborted
        return std::string(100, 'x');
    };
    ScriptedFtpServer server([&tree](ScriptedSession& s) { ServeVirtualTree(s, tree); }, 10s);
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    h.client->HostFileNames.Add("/tree", kFolderEntry);
    h.client->LocalFileNames.Add(dir.file("tree"), kFolderEntry);
    h.client->HostFileNames.Add("/tree", kFolderEntry);
    h.client->LocalFileNames.Add(dir.file("again"), kFolderEntry);
    h.client->Downloads();
    h.ui.pumpUntil([&] { return h.countStartingWith("> SIZE") > 0; }, 10s);
    h.client->Abort();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.dones.size() == 2; }, 10s));
    h.ui.pumpUntil([] { return false; }, 300ms);
    ASSERT_EQ(h.dones.size(), 2u);
    EXPECT_EQ(h.dones[1].event, "Downloads");
    EXPECT_EQ(h.dones[1].resultCode, 2);
    EXPECT_EQ(h.dones[1].hostFileNames, (std::vector<std::string>{"/tree", "/tree"}));
    EXPECT_EQ(h.count("! Operation aborted."), 1u);
    EXPECT_TRUE(h.client->HostFileNames.Empty());
}

TEST(ThreadedClient, StopThreadDuringARequestStillRaisesItsDoneEvent) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        connectPreamble(s);
        s.expect("PWD");
        s.waitForClientClose(); // never answers
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    std::vector<std::string> order;
    h.client->OnGetFolderDone = [&](TThreadedFTPClient& c) {
        order.push_back("done " + std::to_string(c.ResultCode));
    };
    h.client->OnEndThread = [&](TThreadedFTPClient&) { order.push_back("end"); };
    h.client->GetFolder();
    h.ui.pumpUntil([&] { return h.has("> PWD"); }, 5s);
    h.client->StopThread();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return !h.client->WorkerRunning(); }, 10s));
    EXPECT_EQ(order, (std::vector<std::string>{"done 2", "end"}));
}

namespace {

void answerModernFeatures(ScriptedSession& s) {
    s.reply("211-Features:");
    s.reply(" MLST type*;size*;modify*;unix.mode;");
    s.reply(" UTF8");
    s.reply(" SIZE");
    s.reply("211 End");
}

// The data of a listing command that the test expects (LIST or MLSD).
void serveData(ScriptedSession& s, const char* command, const std::string& data,
               const char* reply = nullptr) {
    s.expect("PASV");
    s.reply(ScriptedSession::pasvReply(s.listenPassive()));
    s.expect(command);
    if (reply != nullptr) {
        s.reply(reply);
        return;
    }
    s.acceptData();
    s.reply("150 Listing");
    s.dataSend(data);
    s.dataClose();
    s.reply("226 Done");
}

void enterForListing(ScriptedSession& s) {
    s.expect("CWD /pub");
    s.reply("250 OK");
    s.expect("TYPE A");
    s.reply("200 OK");
}

} // namespace

TEST(ThreadedClient, FeaturesAfterLoginTurnOnUtf8AndMachineListings) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.answerFeatures = nullptr;
        s.greetAndLogin();
        s.expect("FEAT");
        answerModernFeatures(s);
        s.expect("OPTS UTF8 ON");
        s.reply("200 Always in UTF8 mode.");
        s.expect("OPTS MLST type;size;modify;unix.mode;"); // unix.mode was offered, not active
        s.reply("200 MLST OPTS type;size;modify;unix.mode;");
        s.expect("SYST");
        s.reply("215 UNIX Type: L8");
        AnswerRestartProbe(s);
        enterForListing(s);
        serveData(s, "MLSD",
                  "type=cdir;modify=20240101000000; .\r\n"
                  "type=file;size=5000000000;modify=20240305143000;unix.mode=0644; big.iso\r\n"
                  "type=dir;modify=20231231235959;unix.mode=0o755; sub dir\r\n"
                  "type=OS.unix=slink:/etc; etc\r\n"
                  "type=file;size=7; caf\xc3\xa9.txt\r\n");
        s.expect("PWD"); // the link is probed like a listed one
        s.reply("257 \"/pub\"");
        s.expect("CWD /pub/etc");
        s.reply("250 OK");
        s.expect("CWD /pub");
        s.reply("250 OK");
        s.waitForClientClose();
    });
    ClientHarness h(server.portText());
    ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
    EXPECT_TRUE(h.client->Features.Answered);
    EXPECT_TRUE(h.client->Features.Mlsd);
    EXPECT_TRUE(h.client->Features.Utf8);
    TFTPListItems items;
    h.client->ListItems = &items;
    h.client->HostDirName = "/pub";
    ASSERT_EQ(h.run(&TThreadedFTPClient::GetListItems), 0) << h.client->ErrorMessage;
    ASSERT_EQ(items.Count(), 4u);
    EXPECT_EQ(items[0].Name, "big.iso");
    EXPECT_TRUE(items[0].IsFile);
    EXPECT_EQ(items[0].Size, 5000000000);
    EXPECT_EQ(items[0].Permission, "-rw-r--r--");
    EXPECT_EQ(items[1].Name, "sub dir");
    EXPECT_FALSE(items[1].IsFile);
    EXPECT_EQ(items[1].Permission, "drwxr-xr-x");
    EXPECT_EQ(items[2].Name, "etc");
    EXPECT_TRUE(items[2].IsLink);
    EXPECT_FALSE(items[2].IsFile); // probed: a folder link
    EXPECT_EQ(items[3].Name, "caf\xc3\xa9.txt");
    h.stop();
    ASSERT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
}

TEST(ThreadedClient, MachineListingsFallBackToListWhenRefusedOrTurnedOff) {
    for (const bool useMlsd : {true, false}) {
        SCOPED_TRACE(useMlsd ? "MLSD refused" : "MLSD turned off");
        ScriptedFtpServer server([useMlsd](ScriptedSession& s) {
            s.answerFeatures = [](ScriptedSession& session) { answerModernFeatures(session); };
            s.greetAndLogin();
            s.expect("OPTS UTF8 ON");
            s.reply("501 Not now"); // a refusal changes nothing
            s.expectPrefix("OPTS MLST ");
            s.reply("501 Not now");
            s.expect("SYST");
            s.reply("215 UNIX Type: L8");
            AnswerRestartProbe(s);
            enterForListing(s);
            if (useMlsd) {
                serveData(s, "MLSD", {}, "500 Unknown command");
            }
            serveData(s, "LIST", "-rw-r--r-- 1 o g 3 Jan 1 2001 a.txt\r\n");
            // The second listing goes straight to LIST: a refused MLSD is not tried again.
            s.expect("CWD /pub");
            s.reply("250 OK");
            serveData(s, "LIST", "-rw-r--r-- 1 o g 3 Jan 1 2001 a.txt\r\n");
            s.waitForClientClose();
        });
        ClientHarness h(server.portText());
        h.client->UseMlsd = useMlsd;
        ASSERT_EQ(h.run(&TThreadedFTPClient::Connect), 0);
        for (int listing = 0; listing < 2; ++listing) {
            TFTPListItems items;
            h.client->ListItems = &items;
            h.client->HostDirName = "/pub";
            ASSERT_EQ(h.run(&TThreadedFTPClient::GetListItems), 0) << h.client->ErrorMessage;
            ASSERT_EQ(items.Count(), 1u);
            EXPECT_EQ(items[0].Name, "a.txt");
        }
        h.stop();
        ASSERT_TRUE(server.waitFinished());
        EXPECT_EQ(server.failure(), "");
    }
}
