// SPDX-License-Identifier: GPL-3.0-or-later
// The queue file on its own: what it writes (no passwords, owner only, no temporary file left),
// what it reads back, and how it takes a damaged file or hostile entries.
#include "queue/QueueFile.h"

#include "platform/PasswordStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<TFTPCarryItem> Upload(const std::string& name) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->Direction = TCarryDirection::Upload;
    item->FileName = name;
    item->SrcPath = "/home/me/\n odd/";
    item->DestHostName = "ftp.example.org";
    item->DestPort = "2121";
    item->DestUserName = "bob";
    item->DestPassword = "hunter2";
    item->DestPath = "/in/";
    item->DestTransferType = TFTPTransferType::ftpTypeASCII;
    item->FileSize = 5'000'000'000;
    item->ResumeTransfer = true;
    item->PassiveMode = true;
    item->DestEncryption = TFtpTlsMode::ExplicitRequired;
    item->Depth = 2;
    item->LocalRoot = "/home/me/";
    item->UploadToTemporaryName = false;
    item->DestTimeZoneOffset = -330;
    item->TypeName = "Text File";
    return item;
}

class OneEntryPasswords final : public TPasswordStore {
public:
    std::vector<std::pair<TPasswordKey, std::string>> Entries;
    bool Available() override { return true; }
    TLookupResult Lookup(const TPasswordKey& key) override {
        for (const auto& [k, password] : Entries) {
            if (k == key) {
                return {TLookup::Found, password};
            }
        }
        return {TLookup::Missing, {}};
    }
    bool Store(const TPasswordKey& key, const std::string& password) override {
        std::erase_if(Entries, [&](const auto& entry) { return entry.first == key; });
        Entries.emplace_back(key, password);
        return true;
    }
    bool Remove(const TPasswordKey&) override { return true; }
};

} // namespace

TEST(QueueFile, KeepsEveryFieldButThePasswordForItsOwnerOnly) {
    TempDir dir;
    const fs::path file = TQueueFile::FileBeside(dir.path() / "settings.conf");
    EXPECT_EQ(file, dir.path() / "queue.conf");
    const fs::path crash = dir.path() / "crash";
    fs::create_directory(crash);
    const auto item = Upload("notes.txt");
    {
        TQueueFile journal(file);
        TCarrierQueueChange change;
        change.Queued.push_back(item.get());
        journal.QueueChanged(change);
        journal.Settle();
        EXPECT_TRUE(journal.WriteProblem().empty());
        // What a crash now leaves: the item only as records of the log.
        fs::copy_file(dir.path() / "queue.conf.log", crash / "queue.conf.log");
    }
    const std::string text = readFile(file);
    EXPECT_EQ(text.find("hunter2"), std::string::npos) << text;
    EXPECT_EQ(readFile(crash / "queue.conf.log").find("hunter2"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_TRUE(entry.path() == file || entry.path() == crash)
            << "left behind: " << entry.path();
    }

    for (const fs::path& from : {file, crash / "queue.conf"}) {
        TQueueFile reopened(from);
        TQueueFile::TKept kept = reopened.TakeItems();
        ASSERT_EQ(kept.Queued.size(), 1U) << from;
        const TFTPCarryItem& back = *kept.Queued[0];
        EXPECT_EQ(back.Direction, TCarryDirection::Upload);
        EXPECT_EQ(back.FileName, "notes.txt");
        EXPECT_EQ(back.SrcPath, "/home/me/\n odd/");
        EXPECT_EQ(back.DestHostName, "ftp.example.org");
        EXPECT_EQ(back.DestPort, "2121");
        EXPECT_EQ(back.DestUserName, "bob");
        EXPECT_EQ(back.DestPassword, "");
        EXPECT_EQ(back.DestPath, "/in/");
        EXPECT_EQ(back.DestTransferType, TFTPTransferType::ftpTypeASCII);
        EXPECT_EQ(back.FileSize, 5'000'000'000);
        EXPECT_TRUE(back.ResumeTransfer);
        EXPECT_TRUE(back.PassiveMode);
        EXPECT_EQ(back.SrcEncryption, TFtpTlsMode::None);
        EXPECT_EQ(back.DestEncryption,
                  TFtpTlsMode::ExplicitRequired); // never plain after a restart
        EXPECT_EQ(back.Depth, 2);
        EXPECT_EQ(back.LocalRoot, "/home/me/");
        EXPECT_FALSE(back.UploadToTemporaryName);
        EXPECT_EQ(back.SrcTimeZoneOffset, 0);
        EXPECT_EQ(back.DestTimeZoneOffset, -330);
        EXPECT_EQ(back.TypeName, "Text File");
        EXPECT_EQ(back.Carrier, nullptr);
    }
    EXPECT_EQ(text.find("SrcTimeZoneOffset"), std::string::npos) << "written only when set";
}

// SFTP sides keep their protocol and ssh settings; FTP sides write none of it, and an entry
// whose protocol or ssh options cannot be taken is left out rather than read as FTP.
TEST(QueueFile, SftpSidesComeBackWithTheirSshSettings) {
    TempDir dir;
    const fs::path file = dir.path() / "queue.conf";
    auto item = Upload("key.bin");
    item->DestProtocol = TRemoteProtocolKind::Sftp;
    item->DestSsh.IdentityFile = "/home/me/.ssh/id_work";
    item->DestSsh.UseAgent = false;
    item->DestSsh.AcceptNewHostKey = true;
    item->DestSsh.Options = {"Ciphers=aes256-gcm@openssh.com", "ConnectTimeout=5"};
    {
        TQueueFile journal(file);
        TCarrierQueueChange change;
        change.Queued.push_back(item.get());
        journal.QueueChanged(change);
    }
    EXPECT_EQ(readFile(file).find("SrcProtocol"), std::string::npos);
    TQueueFile reopened(file);
    TQueueFile::TKept kept = reopened.TakeItems();
    ASSERT_EQ(kept.Queued.size(), 1U);
    EXPECT_EQ(kept.Queued[0]->SrcProtocol, TRemoteProtocolKind::Ftp);
    EXPECT_EQ(kept.Queued[0]->DestProtocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(kept.Queued[0]->DestSsh, item->DestSsh);

    const auto entry = [](const std::string& key, const std::string& option) {
        return "[\\Items\\" + key + "]\n\"FileName\"=string:\"" + key +
               "\"\n\"Direction\"=number:1\n\"SrcPath\"=string:\"/a/\"\n"
               "\"DestPath\"=string:\"/b/\"\n\"FileSize\"=string:\"1\"\n"
               "\"SrcTransferType\"=number:1\n\"DestTransferType\"=number:1\n"
               "\"DestProtocol\"=number:1\n\"DestSshOptionCount\"=number:1\n"
               "\"DestSshOption0\"=string:\"" +
               option + "\"\n";
    };
    std::ofstream(file) << entry("0000000001", "ConnectTimeout=5")
                        << entry("0000000002", "ProxyCommand=sh -c id");
    TQueueFile hostile(file);
    TQueueFile::TKept read = hostile.TakeItems();
    ASSERT_EQ(read.Queued.size(), 1U);
    EXPECT_EQ(read.Queued[0]->DestSsh.Options, std::vector<std::string>{"ConnectTimeout=5"});
    EXPECT_EQ(read.Unreadable, 1U);
}

// With a keyring the passwords of queued logins go there and come back with the items;
// anonymous logins keep none.
TEST(QueueFile, PasswordsGoToTheKeyringAndComeBack) {
    TempDir dir;
    const fs::path file = dir.path() / "queue.conf";
    OneEntryPasswords keyring;
    auto item = Upload("a.txt");
    auto anonymous = Upload("b.txt");
    anonymous->DestUserName = "anonymous";
    anonymous->DestPassword = "me@example.org";
    {
        TQueueFile journal(file, &keyring);
        TCarrierQueueChange change;
        change.Queued = {item.get(), anonymous.get()};
        journal.QueueChanged(change);
    }
    ASSERT_EQ(keyring.Entries.size(), 1U);
    EXPECT_EQ(keyring.Entries[0].first, (TPasswordKey{"ftp.example.org", 2121, "bob"}));
    EXPECT_EQ(keyring.Entries[0].second, "hunter2");

    TQueueFile reopened(file, &keyring);
    TQueueFile::TKept kept = reopened.TakeItems();
    ASSERT_EQ(kept.Queued.size(), 2U);
    EXPECT_EQ(kept.Queued[0]->DestPassword, "hunter2");
    EXPECT_EQ(kept.Queued[1]->DestPassword, "");
}

// A damaged file is moved aside and named; the queue starts empty and is kept anew.
TEST(QueueFile, ADamagedFileIsMovedAsideAndTheQueueStartsEmpty) {
    TempDir dir;
    const fs::path file = dir.path() / "queue.conf";
    dir.write("queue.conf", "[\\Items\\0000000001]\n\"FileName\"=string:\"cut off");
    TQueueFile journal(file);
    EXPECT_NE(journal.LoadProblem().find("transfer queue file"), std::string::npos);
    EXPECT_NE(journal.LoadProblem().find("moved to"), std::string::npos);
    EXPECT_NE(journal.LoadProblem().find("an empty transfer queue"), std::string::npos);
    TQueueFile::TKept kept = journal.TakeItems();
    EXPECT_TRUE(kept.Queued.empty());
    int aside = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        aside += entry.path().filename().string().starts_with("queue.conf.damaged-");
    }
    EXPECT_EQ(aside, 1);

    const auto item = Upload("next.txt");
    TCarrierQueueChange change;
    change.Queued.push_back(item.get());
    journal.QueueChanged(change);
    journal.Settle();
    TQueueFile reopened(file);
    EXPECT_TRUE(reopened.LoadProblem().empty());
    EXPECT_EQ(reopened.TakeItems().Queued.size(), 1U);
}

// Entries that a carrier must not take (a name that leaves its folder, values out of range or
// missing) are left out and counted; the others come back.
TEST(QueueFile, HostileOrIncompleteEntriesAreLeftOut) {
    TempDir dir;
    const fs::path file = dir.path() / "queue.conf";
    const std::string good = "\"Direction\"=number:0\n\"SrcPath\"=string:\"/pub/\"\n"
                             "\"DestPath\"=string:\"/tmp/\"\n\"SrcTransferType\"=number:1\n"
                             "\"DestTransferType\"=number:1\n\"FileSize\"=string:\"10\"\n";
    std::ofstream(file) << "[\\Items\\0000000001]\n\"FileName\"=string:\"..\"\n"
                        << good << "[\\Items\\0000000002]\n\"FileName\"=string:\"a/b\"\n"
                        << good << "[\\Items\\0000000003]\n\"FileName\"=string:\"ok.bin\"\n"
                        << good << "[\\Items\\0000000004]\n\"FileName\"=string:\"x\"\n"
                        << "\"Direction\"=number:9\n"
                        << "[\\Items\\0000000007]\n\"FileName\"=string:\"y\"\n"
                        << "\"FileSize\"=string:\"12abc\"\n"
                        << "[\\Items\\0000000005]\n\"FileName\"=string:\"tls.bin\"\n"
                        << good << "\"DestEncryption\"=number:7\n";
    TQueueFile journal(file);
    TQueueFile::TKept kept = journal.TakeItems();
    ASSERT_EQ(kept.Queued.size(), 1U);
    EXPECT_EQ(kept.Queued[0]->FileName, "ok.bin");
    EXPECT_EQ(kept.Queued[0]->FileSize, 10);
    EXPECT_EQ(kept.Unreadable, 5U);

    // New entries never take the key of one in the file.
    const auto item = Upload("new.txt");
    TCarrierQueueChange change;
    change.Queued.push_back(item.get());
    journal.QueueChanged(change);
    journal.Settle();
    const std::string records = readFile(dir.path() / "queue.conf.log");
    EXPECT_NE(records.find("V 0000000008 s FileName\tnew.txt"), std::string::npos) << records;
}

TEST(QueueFile, AWriteThatFailsIsToldOnceUntilWritingWorksAgain) {
    TempDir dir;
    const fs::path folder = dir.path() / "config";
    fs::create_directory(folder);
    TQueueFile journal(folder / "queue.conf");
    journal.TakeItems();
    std::vector<std::string> told;
    journal.OnWriteProblem = [&](const std::string& problem) { told.push_back(problem); };
    std::vector<std::unique_ptr<TFTPCarryItem>> items; // the queue holds what it queued
    const auto queue = [&](const char* name) {
        items.push_back(Upload(name));
        TCarrierQueueChange change;
        change.Queued.push_back(items.back().get());
        journal.QueueChanged(change);
        journal.Settle();
    };
    // A file takes the folder's place: nothing can be written there, even as root.
    const auto block = [&] {
        fs::remove_all(folder);
        std::ofstream(folder) << "not a folder";
    };
    block();
    queue("a.txt");
    queue("b.txt");
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told[0].find("cannot write the transfer queue file"), std::string::npos);
    EXPECT_EQ(journal.WriteProblem(), told[0]);

    fs::remove(folder);
    fs::create_directory(folder);
    queue("c.txt");
    EXPECT_EQ(journal.WriteProblem(), "");
    const std::string written = readFile(folder / "queue.conf.log");
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) { // nothing was lost meanwhile
        EXPECT_NE(written.find(name), std::string::npos) << name;
    }
    block();
    queue("d.txt");
    EXPECT_EQ(told.size(), 2U);
}

// Every change costs short records, not a rewrite of the file, written by the journal's thread;
// the file is written whole from the file and the records once they outnumber the items. What the
// file and its records hold at any moment (all a crash leaves, even amid a whole write) brings back
// the same queue.
TEST(QueueFile, ChangesAreRecordsUntilTheyOutnumberTheItems) {
    TempDir dir;
    const fs::path file = dir.path() / "queue.conf";
    const fs::path log = dir.path() / "queue.conf.log";
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    auto journal = std::make_unique<TQueueFile>(file);
    journal->TakeItems();
    TCarrierQueueChange added;
    for (int i = 0; i < 600; ++i) {
        items.push_back(Upload("f" + std::to_string(i)));
        added.Queued.push_back(items.back().get());
    }
    journal->QueueChanged(added);
    journal->Settle();
    const std::string whole = readFile(file);
    EXPECT_NE(whole.find("\"f599\""), std::string::npos);
    EXPECT_FALSE(fs::exists(log));
    const auto done = [&](int first, int last) {
        for (int i = first; i < last; ++i) {
            TCarrierQueueChange change;
            change.Gone.push_back(items[static_cast<std::size_t>(i)].get());
            journal->QueueChanged(change);
        }
    };
    done(0, 250);
    TCarrierQueueChange failed;
    failed.Failed = items[300].get();
    failed.ErrorMessage = "550 No such\nfile \\ here";
    journal->QueueChanged(failed);
    done(250, 299);
    journal->Settle();
    EXPECT_EQ(readFile(file), whole);
    const std::string before = readFile(log);

    const auto expectLive = [&](const fs::path& folder) {
        TQueueFile later(folder / "queue.conf");
        TQueueFile::TKept kept = later.TakeItems();
        ASSERT_EQ(kept.Queued.size(), 299u) << folder;
        EXPECT_EQ(kept.Queued.front()->FileName, "f301");
        ASSERT_EQ(kept.Failed.size(), 1u);
        EXPECT_EQ(kept.Failed[0].first->FileName, "f300");
        EXPECT_EQ(kept.Failed[0].second, failed.ErrorMessage);
    };
    const auto crash = [&](const std::string& name, const std::string& fileText,
                           const std::string& aside, const std::string& records) {
        const fs::path folder = dir.path() / name;
        fs::create_directory(folder);
        std::ofstream(folder / "queue.conf") << fileText;
        std::ofstream(folder / "queue.conf.log.1") << aside;
        std::ofstream(folder / "queue.conf.log") << records << "G\nX\nG x1\nF \nV 1 n\n"; // damaged
        return folder;
    };
    // The next change tips the records over the items: they go aside and the file is written.
    const std::string lastGone = "G 0000000300\n";
    {
        const fs::path beforeWrite = crash("before", whole, before, lastGone);
        expectLive(beforeWrite);
    }
    done(299, 300);
    journal->Settle();
    EXPECT_FALSE(fs::exists(dir.path() / "queue.conf.log.1"));
    const std::string rewritten = readFile(file);
    EXPECT_LE(rewritten.size(), whole.size() / 2 + 1000);
    expectLive(crash("after", rewritten, before + lastGone, ""));

    done(301, 460);
    journal.reset(); // the end writes the file whole and drops the records
    EXPECT_FALSE(fs::exists(log));
    TQueueFile next(file);
    EXPECT_EQ(next.TakeItems().Queued.size(), 140u);
}

// An item that goes through a proxy never comes back connecting directly.
TEST(QueueFile, ProxiesComeBackWithTheirPasswordFromTheKeyring) {
    TempDir dir;
    const fs::path file = dir.path() / "queue.conf";
    OneEntryPasswords keyring;
    auto item = Upload("a.txt");
    item->DestProxy = {TProxyKind::Socks5Hostname, "proxy.example", 1081, "pu", "pp"};
    {
        TQueueFile journal(file, &keyring);
        TCarrierQueueChange change;
        change.Queued = {item.get()};
        journal.QueueChanged(change);
    }
    EXPECT_EQ(readFile(file).find("pp"), std::string::npos);
    TQueueFile reopened(file, &keyring);
    TQueueFile::TKept kept = reopened.TakeItems();
    ASSERT_EQ(kept.Queued.size(), 1U);
    EXPECT_EQ(kept.Queued[0]->DestProxy, item->DestProxy);
    EXPECT_FALSE(kept.Queued[0]->SrcProxy.Enabled());
}
