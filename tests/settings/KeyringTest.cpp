// SPDX-License-Identifier: GPL-3.0-or-later
// Site passwords in a real keyring: the Keyring tests run inside tests/support/with_keyring.sh
// (a private D-Bus session with a keyring daemon of its own, QX_TEST_KEYRING=1); the NoKeyring
// tests run without a session bus.
#include "platform/ConfigStore.h"
#include "platform/SecretPasswordStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteProperties.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

namespace {

using namespace qx;
using qx::test::readFile;
using qx::test::TempDir;
namespace fs = std::filesystem;

constexpr std::string_view SitePath = "\\Software\\Quorvin Explorer\\SiteBook\\Tree\\Mirror";

void NeedKeyring() {
    if (std::getenv("QX_TEST_KEYRING") == nullptr) {
        GTEST_SKIP() << "runs inside with_keyring.sh";
    }
}

// A settings file with one site whose password is stored as plain text, as before.
fs::path PlainSiteBook(const TempDir& dir, int port, const std::string& password) {
    const fs::path file = dir.path() / "quorvin-explorer" / "settings.conf";
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "[\\Software\\Quorvin Explorer\\SiteBook\\Tree]\n@=string:\"Folder\"\n"
                        << "[" << SitePath << "]\n@=string:\"Site\"\n"
                        << "\"HostName\"=string:\"127.0.0.1\"\n\"Port\"=number:" << port << "\n"
                        << "\"UserName\"=string:\"user\"\n\"Password\"=string:\"" << password
                        << "\"\n\"PassiveMode\"=number:1\n";
    return file;
}

TEST(Keyring, StoresFindsReplacesAndRemovesByServerPortAndUser) {
    NeedKeyring();
    TSecretPasswordStore store;
    ASSERT_TRUE(store.Available());
    const TPasswordKey key{"ftp.example.org", 2121, "me"};
    EXPECT_EQ(store.Lookup(key).Status, TPasswordStore::TLookup::Missing);
    ASSERT_TRUE(store.Store(key, "first \xc3\xa9 pass"));
    ASSERT_TRUE(store.Store({"ftp.example.org", 21, "me"}, "other port"));
    ASSERT_TRUE(store.Store(key, "second"));

    TSecretPasswordStore fresh; // nothing cached: every answer comes from the daemon
    EXPECT_EQ(fresh.Lookup(key).Password, "second");
    EXPECT_EQ(fresh.Lookup({"ftp.example.org", 21, "me"}).Password, "other port");
    EXPECT_EQ(fresh.Lookup({"ftp.example.org", 2121, "you"}).Status,
              TPasswordStore::TLookup::Missing);
    EXPECT_TRUE(fresh.Remove(key));
    TSecretPasswordStore after;
    EXPECT_EQ(after.Lookup(key).Status, TPasswordStore::TLookup::Missing);
    EXPECT_EQ(after.Lookup({"ftp.example.org", 21, "me"}).Password, "other port");
}

// The site book moves a plain password into the keyring the first time the site is saved; the
// settings file then holds none, and a later start (and the command-line tool) finds it.
TEST(Keyring, APlainPasswordMovesIntoTheKeyringWhenTheSiteIsSaved) {
    NeedKeyring();
    TempDir dir;
    const fs::path file = PlainSiteBook(dir, 2100, "s3cr3t-plain");
    {
        TSecretPasswordStore passwords;
        TConfigStore store(file);
        TGlobalOptions options(store);
        TSiteBookModel book(store, options, "me", &passwords);
        book.Load();
        TSiteBookNode* node = book.FindByLocation("\\Mirror");
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->Properties()->Password, "s3cr3t-plain");
        book.SaveSite(*node);
    }
    const std::string text = readFile(file);
    EXPECT_EQ(text.find("s3cr3t-plain"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"Password\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"PasswordInKeyring\"=number:1"), std::string::npos) << text;

    TSecretPasswordStore passwords;
    TConfigStore store(file, TConfigStore::TOpenMode::ReadOnly);
    TGlobalOptions options(store);
    TSiteProperties site(options);
    site.LoadFromStore(store, SitePath, &passwords);
    EXPECT_EQ(site.Password, "s3cr3t-plain");
    EXPECT_FALSE(site.PasswordUnread);
}

// quorvin-ftp --site logs in with the password the keyring holds for the site.
TEST(Keyring, TheCommandLineToolTakesTheSitesPasswordFromTheKeyring) {
    NeedKeyring();
    if (!test::PyFtpdServer::available()) {
        GTEST_SKIP() << "pyftpdlib is not installed";
    }
    TempDir served;
    served.write("pub/hello.txt", "hello\n");
    test::PyFtpdServer server(served.path());
    TempDir config;
    const fs::path file = PlainSiteBook(config, server.port(), "secret");
    {
        TSecretPasswordStore passwords;
        TConfigStore store(file);
        TGlobalOptions options(store);
        TSiteProperties site(options);
        site.LoadFromStore(store, SitePath);
        site.SaveToStore(store, SitePath, &passwords);
    }
    ASSERT_EQ(readFile(file).find("secret"), std::string::npos);
    TempDir output;
    const std::string command = "XDG_CONFIG_HOME='" + config.path().string() + "' '" +
                                QX_CLI_BINARY + "' --site '\\Mirror' --tsv ls /pub >'" +
                                output.file("out") + "' 2>'" + output.file("err") + "' </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << readFile(output.file("err"));
    EXPECT_NE(readFile(output.file("out")).find("hello.txt"), std::string::npos);
}

// Without a session bus the store says so at once, and passwords stay in the settings file,
// which only its owner can read.
TEST(NoKeyring, WithoutASessionBusPasswordsStayInTheSettingsFile) {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    TSecretPasswordStore passwords;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(passwords.Available());
    EXPECT_FALSE(passwords.Store({"h", 21, "u"}, "x"));
    EXPECT_EQ(passwords.Lookup({"h", 21, "u"}).Status, TPasswordStore::TLookup::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));

    TempDir dir;
    const fs::path file = PlainSiteBook(dir, 2100, "stays-plain");
    {
        TConfigStore store(file);
        TGlobalOptions options(store);
        TSiteProperties site(options);
        site.LoadFromStore(store, SitePath, &passwords);
        EXPECT_EQ(site.Password, "stays-plain");
        site.Password = "changed-plain";
        site.SaveToStore(store, SitePath, &passwords);
    }
    EXPECT_NE(readFile(file).find("\"Password\"=string:\"changed-plain\""), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600);
}

} // namespace
