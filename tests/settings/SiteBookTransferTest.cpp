// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteBookTransfer.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

using namespace qx;
using qx::test::TempDir;

namespace {

const char* kSiteManager = R"(<?xml version="1.0" encoding="UTF-8"?>
<FileZilla3><Servers>
  <Server><Host>ftp.example.com</Host><Port>2121</Port><Protocol>4</Protocol>
    <User>me</User><Pass encoding="base64">c2VjcmV0</Pass><Logontype>1</Logontype>
    <LocalDir>/srv/site</LocalDir><RemoteDir>1 0 3 www</RemoteDir><Name>Web</Name></Server>
  <Folder>Work
    <Folder>Clients
      <Server><Host>sftp.example.net</Host><Protocol>1</Protocol><Logontype>0</Logontype>
        <Name>Deploy</Name></Server>
    </Folder>
    <Server><Host>a.example.org</Host><Protocol>0</Protocol><Logontype>0</Logontype>
      <Name>Back\slash</Name></Server>
  </Folder>
</Servers></FileZilla3>)";

class SiteBookTransferTest : public testing::Test {
protected:
    std::filesystem::path Write(const std::string& name, const std::string& text) {
        const auto path = m_dir.file(name);
        std::ofstream(path) << text;
        return path;
    }

    TSiteBookImportReport Import(const std::filesystem::path& file, bool dryRun = false) {
        TCoreMessage error;
        auto sites = ReadSitesFile(file, m_options, error);
        EXPECT_TRUE(sites) << error.Text();
        return sites ? AddSites(m_book, m_book.Root(), *sites, dryRun) : TSiteBookImportReport{};
    }

    TempDir m_dir;
    TConfigStore m_store{m_dir.file("settings.conf")};
    TGlobalOptions m_options{m_store};
    TSiteBookModel m_book{m_store, m_options, "alice"};
};

} // namespace

TEST_F(SiteBookTransferTest, ImportsFoldersAndSitesOnceAndDryRunsChangeNothing) {
    m_book.Load();
    const auto file = Write("sitemanager.xml", kSiteManager);
    const auto before = m_store.SubKeyNames("\\Software\\Quorvin Explorer\\SiteBook\\Tree");

    const auto dry = Import(file, true);
    EXPECT_EQ(dry.Added, (std::vector<std::string>{"\\Web", "\\Work\\Clients\\Deploy"}));
    EXPECT_EQ(m_store.SubKeyNames("\\Software\\Quorvin Explorer\\SiteBook\\Tree"), before);
    EXPECT_EQ(m_book.FindByLocation("\\Web"), nullptr);

    const auto real = Import(file);
    EXPECT_EQ(real.Added, dry.Added);
    ASSERT_EQ(real.Notes.size(), 1u);
    ASSERT_EQ(dry.Notes.size(), 1u);
    EXPECT_EQ(real.Notes[0].Text(), dry.Notes[0].Text());
    EXPECT_NE(real.Notes[0].Text().find("Back\\slash"), std::string::npos);

    m_book.Load(); // what a later start (or quorvin-ftp --site) finds
    const TSiteBookNode* web = m_book.FindByLocation("\\Web");
    ASSERT_NE(web, nullptr);
    const TSiteProperties& site = *web->Properties();
    EXPECT_EQ(site.HostName, "ftp.example.com");
    EXPECT_EQ(site.Port, 2121);
    EXPECT_EQ(site.Encryption, TFtpTlsMode::ExplicitRequired);
    EXPECT_EQ(site.Password, "secret");
    EXPECT_EQ(site.InitialFolder, "/www");
    EXPECT_EQ(m_store.ReadString(TSiteBookModel::NodeKeyPath(*web), "DownloadtoFolderPath"),
              "/srv/site");
    const TSiteBookNode* deploy = m_book.FindByLocation("\\work\\clients\\deploy");
    ASSERT_NE(deploy, nullptr);
    EXPECT_EQ(deploy->Properties()->Protocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(deploy->Properties()->Port, 22);

    // Again: every name is taken now, and nothing is replaced.
    web->Properties()->HostName = "changed.example.com";
    m_book.SaveSite(*web);
    const auto again = Import(file);
    EXPECT_TRUE(again.Added.empty());
    EXPECT_EQ(again.Notes.size(), 3u);
    m_book.Load();
    EXPECT_EQ(m_book.FindByLocation("\\Web")->Properties()->HostName, "changed.example.com");
}

TEST_F(SiteBookTransferTest, ExportedBookComesBackWholeWithoutPasswordsUnlessAsked) {
    m_book.Load();
    Import(Write("sitemanager.xml", kSiteManager));
    m_book.Load();
    const std::filesystem::path plain = m_dir.file("book.sites");
    const std::filesystem::path secret = m_dir.file("book-with-passwords.sites");
    TCoreMessage error;
    ASSERT_TRUE(ExportSiteBook(m_book, plain, false, error)) << error.Text();
    ASSERT_TRUE(ExportSiteBook(m_book, secret, true, error)) << error.Text();
    struct stat info {};
    ASSERT_EQ(::stat(secret.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    TempDir other;
    TConfigStore store(other.file("settings.conf"));
    TGlobalOptions options(store);
    TSiteBookModel book(store, options, "bob");
    book.Load();
    for (const auto& [file, password] : {std::pair{plain, ""}, std::pair{secret, "secret"}}) {
        auto sites = ReadSitesFile(file, options, error);
        ASSERT_TRUE(sites) << error.Text();
        TSiteBookNode& target = *book.FolderNamed(book.Root(), file.stem().string()).Node;
        const auto report = AddSites(book, target, *sites, false);
        EXPECT_EQ(report.Added.size(), 2u);
        EXPECT_TRUE(report.Notes.empty());
        book.Load();
        const auto* web = book.FindByLocation("\\" + file.stem().string() + "\\Web");
        ASSERT_NE(web, nullptr);
        EXPECT_EQ(web->Properties()->Password, password);
        EXPECT_EQ(web->Properties()->Port, 2121);
        EXPECT_EQ(store.ReadString(TSiteBookModel::NodeKeyPath(*web), "DownloadtoFolderPath"),
                  "/srv/site");
    }
}

TEST_F(SiteBookTransferTest, DamagedOrForeignFilesAreRefusedWhole) {
    TCoreMessage error;
    for (const auto& [name, text] :
         {std::pair{"cut.xml", std::string(kSiteManager).substr(0, 300)},
          std::pair{"empty.xml", std::string()}, std::pair{"notes.txt", std::string("hello\n")}}) {
        error = {};
        EXPECT_FALSE(ReadSitesFile(Write(name, text), m_options, error)) << name;
        EXPECT_NE(error.Text().find(name), std::string::npos) << error.Text();
    }
    EXPECT_FALSE(ReadSitesFile(m_dir.file("missing.xml"), m_options, error));
    EXPECT_FALSE(ReadSitesFile(m_dir.path(), m_options, error));
}
