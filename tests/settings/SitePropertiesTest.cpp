// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteProperties.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SitePropertiesEditor.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qx;
using qx::test::TempDir;
using Names = std::vector<std::string>;

namespace {

const std::string Key = "\\Software\\Quorvin Explorer\\SiteBook\\Tree\\Work\\Mirror";

class SitePropertiesTest : public testing::Test {
protected:
    TempDir m_dir;
    TConfigStore m_store{m_dir.file("settings.conf")};
    TGlobalOptions m_options{m_store};
};

} // namespace

TEST_F(SitePropertiesTest, LoadingKeepsDefaultsForMissingEmptyOrMistypedValues) {
    m_store.CreateKey(Key);
    m_store.WriteString(Key, "HostName", "");
    m_store.WriteString(Key, "UserName", "");
    m_store.WriteString(Key, "Port", "2121");
    m_store.WriteNumber(Key, "TransferType", 0x201);
    m_store.WriteNumber(Key, "PassiveMode", 7);

    m_options.DefLoginRetry = 5;
    m_options.DefReloginDelay = 9;
    m_options.DefResumeTransfer = true;
    m_options.DefTransferType = TFTPTransferType::ftpTypeASCII;
    TSiteProperties site(m_options);
    site.UserName = "bob";
    site.LoadFromStore(m_store, Key);
    EXPECT_EQ(site.HostName, "HostName.DomainName");
    EXPECT_EQ(site.UserName, "");
    EXPECT_EQ(site.Port, 21);
    EXPECT_EQ(site.LoginRetry, 5);
    EXPECT_EQ(site.ReloginDelay, 9);
    EXPECT_TRUE(site.ResumeTransfer);
    EXPECT_EQ(site.TransferType, TFTPTransferType::ftpTypeBinary);
    EXPECT_TRUE(site.PassiveMode);
    EXPECT_EQ(site.SiteNode, nullptr);
    EXPECT_FALSE(site.QuickConnect);

    site.LoadFromStore(m_store, Key + "\\Missing");
    EXPECT_EQ(site.TransferType, TFTPTransferType::ftpTypeBinary);
}

TEST_F(SitePropertiesTest, SavingWritesItsValuesAndLeavesTheRestOfTheKey) {
    m_store.CreateKey(Key + "\\Toolbar");
    m_store.WriteString(Key, "", "Site");
    m_store.WriteNumber(Key, "Left", 10);
    TSiteProperties site(m_options);
    site.HostName = "ftp.example.org";
    site.ResumeTransfer = true;
    site.UseMlsd = false;
    site.UploadToTemporaryName = false;
    site.SaveToStore(m_store, Key);
    site.SaveToStore(m_store, Key + "New"); // creates the key

    EXPECT_EQ(m_store.ValueNames(Key), (Names{"",
                                              "Left",
                                              "HostName",
                                              "Port",
                                              "UserName",
                                              "Password",
                                              "InitialFolder",
                                              "LoginRetry",
                                              "ReloginDelay",
                                              "ResumeTransfer",
                                              "TransferType",
                                              "PassiveMode",
                                              "UseMlsd",
                                              "UploadToTemporaryName",
                                              "Encryption",
                                              "Protocol",
                                              "SshKeyFile",
                                              "SshUseAgent",
                                              "UseGlobalSpeedLimits",
                                              "DownloadLimit",
                                              "UploadLimit",
                                              "KeepAliveInterval"}));
    EXPECT_EQ(m_store.SubKeyNames(Key), Names{"Toolbar"});
    EXPECT_EQ(m_store.ReadString(Key, ""), "Site");
    EXPECT_EQ(m_store.ReadNumber(Key, "TransferType"), 2);
    EXPECT_EQ(m_store.ReadNumber(Key, "ResumeTransfer"), 1);

    TSiteProperties loaded(m_options);
    loaded.LoadFromStore(m_store, Key + "New");
    EXPECT_EQ(loaded.HostName, "ftp.example.org");
    EXPECT_TRUE(loaded.ResumeTransfer);
    EXPECT_EQ(loaded.TransferType, TFTPTransferType::ftpTypeAuto);
    EXPECT_FALSE(loaded.UseMlsd);
    EXPECT_FALSE(loaded.UploadToTemporaryName);
    TSiteProperties older(m_options); // a site saved before the values existed
    older.LoadFromStore(m_store, Key + "\\Toolbar");
    EXPECT_TRUE(older.UseMlsd);
    EXPECT_TRUE(older.UploadToTemporaryName);
}

TEST_F(SitePropertiesTest, FileNameEncodingRoundTripsAsTheSessionsChoice) {
    TSiteProperties site(m_options);
    site.HostName = "ftp.example.org";
    EXPECT_EQ(site.NameCharset(), ""); // Auto, falling back to UTF-8
    site.FileNameEncodingAuto = false;
    site.FileNameEncoding = "KOI8-R";
    site.FileNameEncodingFallback = "Big5";
    site.SaveToStore(m_store, Key);
    TSiteProperties loaded(m_options);
    loaded.LoadFromStore(m_store, Key);
    EXPECT_EQ(loaded.NameCharset(), "KOI8-R");
    loaded.FileNameEncodingAuto = true;
    EXPECT_EQ(loaded.NameCharset(), "auto:Big5");
    loaded.FileNameEncodingFallback = "UTF-8";
    loaded.SaveToStore(m_store, Key);
    EXPECT_FALSE(m_store.ValueExists(Key, "FileNameEncoding"));
    EXPECT_FALSE(m_store.ValueExists(Key, "FileNameEncodingFallback"));
}

TEST_F(SitePropertiesTest, EncryptionIsStoredAndAnAbsentOrUnknownValueIsPlainFtp) {
    TSiteProperties site(m_options);
    site.HostName = "ftp.example.org";
    site.Encryption = TFtpTlsMode::ExplicitRequired;
    site.SaveToStore(m_store, Key);
    EXPECT_EQ(m_store.ReadNumber(Key, "Encryption"), 2);
    TSiteProperties loaded(m_options);
    loaded.LoadFromStore(m_store, Key);
    EXPECT_EQ(loaded.Encryption, TFtpTlsMode::ExplicitRequired);

    // A site book from before the value existed, and a value no version wrote.
    m_store.DeleteValue(Key, "Encryption");
    TSiteProperties old(m_options);
    old.LoadFromStore(m_store, Key);
    EXPECT_EQ(old.Encryption, TFtpTlsMode::None);
    m_store.WriteNumber(Key, "Encryption", 7);
    TSiteProperties unknown(m_options);
    unknown.LoadFromStore(m_store, Key);
    EXPECT_EQ(unknown.Encryption, TFtpTlsMode::None);
}

TEST_F(SitePropertiesTest, ProtocolKeyFileAndAgentRoundTripAndOldSiteBooksStayFtp) {
    struct TCase {
        TRemoteProtocolKind Protocol;
        TFtpTlsMode Encryption;
    };
    for (const TCase kind : {TCase{TRemoteProtocolKind::Ftp, TFtpTlsMode::None},
                             TCase{TRemoteProtocolKind::Ftp, TFtpTlsMode::ExplicitRequired},
                             TCase{TRemoteProtocolKind::Sftp, TFtpTlsMode::Implicit}}) {
        TSiteProperties site(m_options);
        site.Protocol = kind.Protocol;
        site.Encryption = kind.Encryption;
        site.SshKeyFile = "keys/id_ed25519";
        site.SshUseAgent = false;
        site.SshConfigFile = "ssh/config";
        site.SshKnownHostsFile = "ssh/known";
        site.SaveToStore(m_store, Key);
        TSiteProperties loaded(m_options);
        loaded.LoadFromStore(m_store, Key);
        EXPECT_EQ(loaded.Protocol, kind.Protocol);
        EXPECT_EQ(loaded.Encryption, kind.Encryption);
        EXPECT_EQ(loaded.SshSettings().IdentityFile, "keys/id_ed25519");
        EXPECT_FALSE(loaded.SshSettings().UseAgent);
        EXPECT_EQ(loaded.SshSettings().ConfigFile, "ssh/config");
        EXPECT_EQ(loaded.SshSettings().KnownHostsFile, "ssh/known");
    }
    // Emptied, the optional files leave the key.
    TSiteProperties emptied(m_options);
    emptied.SaveToStore(m_store, Key);
    EXPECT_FALSE(m_store.ReadString(Key, "SshConfigFile").has_value());
    EXPECT_FALSE(m_store.ReadString(Key, "SshKnownHostsFile").has_value());

    // A site book from before the values existed, and a protocol no version wrote.
    for (const char* name : {"Protocol", "SshKeyFile", "SshUseAgent"}) {
        m_store.DeleteValue(Key, name);
    }
    m_store.WriteNumber(Key, "Encryption", 1);
    TSiteProperties old(m_options);
    old.LoadFromStore(m_store, Key);
    EXPECT_EQ(old.Protocol, TRemoteProtocolKind::Ftp);
    EXPECT_EQ(old.Encryption, TFtpTlsMode::ExplicitIfAvailable);
    EXPECT_EQ(old.SshSettings(), TSshSettings{});
    m_store.WriteNumber(Key, "Protocol", 5);
    TSiteProperties unknown(m_options);
    unknown.LoadFromStore(m_store, Key);
    EXPECT_EQ(unknown.Protocol, TRemoteProtocolKind::Ftp);
}

TEST_F(SitePropertiesTest, SftpTakesPort22WhileThePortIsADefaultAndDisablesFtpFields) {
    TSiteProperties site(m_options);
    TSitePropertiesEditor editor(site, m_options);
    EXPECT_TRUE(editor.FtpFieldsEnabled());
    EXPECT_FALSE(editor.SshFieldsEnabled());
    editor.SetProtocolIndex(1);
    EXPECT_EQ(editor.PortText, "22");
    EXPECT_FALSE(editor.FtpFieldsEnabled());
    EXPECT_TRUE(editor.SshFieldsEnabled());
    editor.SetProtocolIndex(0);
    EXPECT_EQ(editor.PortText, "21");
    editor.SetEncryptionIndex(3);
    editor.SetProtocolIndex(1); // implicit TLS's default is a default too
    EXPECT_EQ(editor.PortText, "22");
    editor.SetProtocolIndex(0);
    EXPECT_EQ(editor.PortText, "990");
    editor.PortText = "2222";
    editor.SetProtocolIndex(1);
    EXPECT_EQ(editor.PortText, "2222");
    editor.SetProtocolIndex(4);
    EXPECT_EQ(editor.ProtocolIndex(), 1);

    editor.SshKeyFileText = "/keys/site";
    editor.SshUseAgentChecked = false;
    editor.Commit();
    EXPECT_EQ(site.Protocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(site.Encryption, TFtpTlsMode::Implicit); // kept for a change back
    EXPECT_EQ(site.Port, 2222);
    EXPECT_EQ(site.SshKeyFile, "/keys/site");
    EXPECT_FALSE(site.SshUseAgent);

    TSitePropertiesEditor reopened(site, m_options);
    EXPECT_EQ(reopened.ProtocolIndex(), 1);
    EXPECT_EQ(reopened.SshKeyFileText, "/keys/site");
    EXPECT_FALSE(reopened.SshUseAgentChecked);
}

TEST_F(SitePropertiesTest, ImplicitTlsTakesItsPortWhileThePortIsADefault) {
    TSiteProperties site(m_options);
    TSitePropertiesEditor editor(site, m_options);
    editor.NameText = "Mirror";
    editor.HostNameText = "ftp.example.org";
    editor.SetEncryptionIndex(3);
    EXPECT_EQ(editor.PortText, "990");
    editor.SetEncryptionIndex(2);
    EXPECT_EQ(editor.PortText, "21");
    editor.PortText = "2121"; // a port of the user's own stays
    editor.SetEncryptionIndex(3);
    EXPECT_EQ(editor.PortText, "2121");
    editor.SetEncryptionIndex(9);
    EXPECT_EQ(editor.EncryptionIndex(), 3);
    editor.Commit();
    EXPECT_EQ(site.Encryption, TFtpTlsMode::Implicit);
    EXPECT_EQ(site.Port, 2121);
}

TEST_F(SitePropertiesTest, EnableRuleNeedsHostPortAndForStoredSitesAName) {
    TSiteProperties site(m_options);
    TSitePropertiesEditor editor(site, m_options);
    EXPECT_FALSE(editor.SaveEnabled());
    EXPECT_FALSE(editor.ConnectEnabled());
    editor.NameText = "Mirror";
    EXPECT_TRUE(editor.SaveEnabled());
    EXPECT_TRUE(editor.ConnectEnabled());
    for (const char* port : {"21a", "", "-1", " 21", "2147483648", "99999999999999999999"}) {
        editor.PortText = port;
        EXPECT_FALSE(editor.SaveEnabled()) << port;
        EXPECT_FALSE(editor.ConnectEnabled()) << port;
    }
    for (const char* port : {"0", "2147483647", "000000000000000021"}) {
        editor.PortText = port;
        EXPECT_TRUE(editor.ConnectEnabled()) << port;
    }
    editor.HostNameText = "";
    EXPECT_FALSE(editor.ConnectEnabled());

    TSiteProperties quick(m_options);
    quick.QuickConnect = true;
    TSitePropertiesEditor quickEditor(quick, m_options);
    EXPECT_TRUE(quickEditor.ConnectEnabled());
    EXPECT_FALSE(quickEditor.SaveEnabled());
    quickEditor.NameText = "named";
    EXPECT_FALSE(quickEditor.SaveEnabled());
}

TEST_F(SitePropertiesTest, AnonymousLoginFollowsTheUserName) {
    m_options.Email = "me@host.example";
    TSiteProperties site(m_options);
    site.UserName = "anonymous";
    site.Password = "stored secret";
    TSitePropertiesEditor editor(site, m_options);
    EXPECT_TRUE(editor.AnonymousLogin());
    EXPECT_FALSE(editor.PasswordMasked());
    EXPECT_EQ(editor.PasswordText(), "stored secret");

    editor.SetAnonymousLogin(false);
    EXPECT_EQ(editor.UserNameText(), "");
    EXPECT_EQ(editor.PasswordText(), "");
    EXPECT_TRUE(editor.PasswordMasked());

    editor.SetUserNameText("Anonymous");
    EXPECT_FALSE(editor.AnonymousLogin());
    editor.SetPasswordText("typed");
    editor.SetUserNameText("anonymous");
    EXPECT_TRUE(editor.AnonymousLogin());
    EXPECT_EQ(editor.PasswordText(), "me@host.example");
    EXPECT_FALSE(editor.PasswordMasked());
    editor.SetUserNameText("anonymous"); // no change of state, no effect
    EXPECT_EQ(editor.PasswordText(), "me@host.example");

    editor.SetUserNameText("anonymou");
    EXPECT_FALSE(editor.AnonymousLogin());
    EXPECT_EQ(editor.UserNameText(), "");
    EXPECT_EQ(editor.PasswordText(), "");

    editor.SetAnonymousLogin(true);
    EXPECT_EQ(editor.UserNameText(), "anonymous");
    EXPECT_EQ(editor.PasswordText(), "me@host.example");
}

TEST_F(SitePropertiesTest, TimeZoneOffsetIsStoredOnlyWhenSetAndEditedAsHoursAndMinutes) {
    TSiteProperties site(m_options);
    site.TimeZoneOffset = -330;
    site.SaveToStore(m_store, Key);
    EXPECT_EQ(m_store.ReadNumber(Key, "TimeZoneOffset"), -330);
    TSiteProperties loaded(m_options);
    loaded.LoadFromStore(m_store, Key);
    EXPECT_EQ(loaded.TimeZoneOffset, -330);

    TSitePropertiesEditor editor(loaded, m_options);
    EXPECT_EQ(editor.TimeZoneHours, -5);
    EXPECT_EQ(editor.TimeZoneMinutes, 30);
    editor.TimeZoneHours = 0;
    editor.TimeZoneMinutes = -45;
    editor.Commit();
    EXPECT_EQ(loaded.TimeZoneOffset, -45);
    editor.TimeZoneMinutes = 0;
    editor.Commit();
    loaded.SaveToStore(m_store, Key);
    EXPECT_FALSE(m_store.ReadNumber(Key, "TimeZoneOffset").has_value());

    m_store.WriteNumber(Key, "TimeZoneOffset", 5000); // beyond a day: not taken
    TSiteProperties odd(m_options);
    odd.LoadFromStore(m_store, Key);
    EXPECT_EQ(odd.TimeZoneOffset, 0);
}

TEST_F(SitePropertiesTest, CommitCopiesTheControlsIntoTheSite) {
    TSiteProperties site(m_options);
    site.LoginRetry = 0;
    site.ReloginDelay = 500;
    site.TransferType = static_cast<TFTPTransferType>(7);
    TSitePropertiesEditor editor(site, m_options);
    EXPECT_EQ(editor.PortText, "21");
    EXPECT_EQ(editor.LoginRetryPosition(), 1);
    EXPECT_EQ(editor.ReloginDelayPosition(), 100);
    EXPECT_EQ(editor.TransferTypeIndex(), -1);

    editor.HostNameText = "ftp.example.org";
    editor.PortText = "0021";
    editor.SetUserNameText("bob");
    editor.SetPasswordText("pw");
    editor.InitialFolderText = "/pub";
    editor.PassiveModeChecked = true;
    editor.Commit();
    EXPECT_EQ(site.TransferType, static_cast<TFTPTransferType>(7)); // nothing selected
    editor.SetTransferTypeIndex(2);
    editor.Commit();
    EXPECT_EQ(site.HostName, "ftp.example.org");
    EXPECT_EQ(site.Port, 21);
    EXPECT_EQ(site.UserName, "bob");
    EXPECT_EQ(site.Password, "pw");
    EXPECT_EQ(site.InitialFolder, "/pub");
    EXPECT_EQ(site.LoginRetry, 1);
    EXPECT_EQ(site.ReloginDelay, 100);
    EXPECT_TRUE(site.PassiveMode);
    EXPECT_EQ(site.TransferType, TFTPTransferType::ftpTypeAuto);
}

namespace {

// A keyring in memory that can be switched off or made to fail.
class MemoryPasswords final : public TPasswordStore {
public:
    bool Running = true;
    bool StoreFails = false;
    std::vector<std::pair<TPasswordKey, std::string>> Entries;

    bool Available() override { return Running; }
    TLookupResult Lookup(const TPasswordKey& key) override {
        if (!Running) {
            return {TLookup::Failed, {}};
        }
        for (const auto& [k, password] : Entries) {
            if (k == key) {
                return {TLookup::Found, password};
            }
        }
        return {TLookup::Missing, {}};
    }
    bool Store(const TPasswordKey& key, const std::string& password) override {
        if (!Running || StoreFails) {
            return false;
        }
        std::erase_if(Entries, [&](const auto& entry) { return entry.first == key; });
        Entries.emplace_back(key, password);
        return true;
    }
    bool Remove(const TPasswordKey& key) override {
        std::erase_if(Entries, [&](const auto& entry) { return entry.first == key; });
        return Running;
    }
};

} // namespace

// The first save with a keyring moves a plain password there; the key then holds none, and
// loading takes it from the keyring.
TEST_F(SitePropertiesTest, APlainPasswordMovesIntoTheKeyringOnTheFirstSave) {
    MemoryPasswords keyring;
    m_store.CreateKey(Key);
    m_store.WriteString(Key, "HostName", "ftp.example.org");
    m_store.WriteString(Key, "UserName", "bob");
    m_store.WriteString(Key, "Password", "plain one");
    TSiteProperties site(m_options);
    site.LoadFromStore(m_store, Key, &keyring);
    EXPECT_EQ(site.Password, "plain one");
    EXPECT_TRUE(keyring.Entries.empty()) << "loading moves nothing";

    site.SaveToStore(m_store, Key, &keyring);
    ASSERT_EQ(keyring.Entries.size(), 1U);
    EXPECT_EQ(keyring.Entries[0].first, (TPasswordKey{"ftp.example.org", 21, "bob"}));
    EXPECT_EQ(keyring.Entries[0].second, "plain one");
    EXPECT_FALSE(m_store.ValueExists(Key, "Password"));
    EXPECT_EQ(m_store.ReadNumber(Key, "PasswordInKeyring"), 1);
    m_store.Flush();
    EXPECT_EQ(test::readFile(m_store.File()).find("plain one"), std::string::npos);

    TSiteProperties again(m_options);
    again.LoadFromStore(m_store, Key, &keyring);
    EXPECT_EQ(again.Password, "plain one");
    EXPECT_FALSE(again.PasswordUnread);
}

// A keyring that fails or is gone never costs the password: it is written into the key, and a
// keyring password that cannot be read is not written over by the empty one.
TEST_F(SitePropertiesTest, NoPasswordIsLostWhenTheKeyringFailsOrIsGone) {
    MemoryPasswords keyring;
    keyring.StoreFails = true;
    TSiteProperties site(m_options);
    site.HostName = "h";
    site.Password = "kept";
    site.SaveToStore(m_store, Key, &keyring);
    EXPECT_EQ(m_store.ReadString(Key, "Password"), "kept");
    EXPECT_FALSE(m_store.ValueExists(Key, "PasswordInKeyring"));

    keyring.StoreFails = false;
    site.SaveToStore(m_store, Key, &keyring);
    EXPECT_FALSE(m_store.ValueExists(Key, "Password"));

    keyring.Running = false; // the next session has no keyring
    TSiteProperties unread(m_options);
    unread.LoadFromStore(m_store, Key, &keyring);
    EXPECT_TRUE(unread.PasswordUnread);
    EXPECT_EQ(unread.Password, "");
    unread.InitialFolder = "/changed";
    unread.SaveToStore(m_store, Key, &keyring);
    EXPECT_FALSE(m_store.ValueExists(Key, "Password"));
    EXPECT_EQ(m_store.ReadNumber(Key, "PasswordInKeyring"), 1);
    keyring.Running = true;
    TSiteProperties back(m_options);
    back.LoadFromStore(m_store, Key, &keyring);
    EXPECT_EQ(back.Password, "kept");

    // Typed anew while the keyring is gone: into the key, and the keyring mark goes.
    keyring.Running = false;
    unread.Password = "typed";
    unread.SaveToStore(m_store, Key, &keyring);
    EXPECT_EQ(m_store.ReadString(Key, "Password"), "typed");
    EXPECT_FALSE(m_store.ValueExists(Key, "PasswordInKeyring"));
}

// A site takes the global proxy unless it says otherwise; both proxies keep their password in
// the keyring as site passwords are kept.
TEST_F(SitePropertiesTest, ProxyChoicesRoundTripWithTheirPasswordsInTheKeyring) {
    MemoryPasswords keyring;
    const TProxySettings own{TProxyKind::Http, "proxy.example", 3128, "pu", "secret one"};
    TSiteProperties site(m_options);
    EXPECT_EQ(site.ProxyMode, TSiteProxyMode::Global);
    site.HostName = "ftp.example.org";
    site.ProxyMode = TSiteProxyMode::Own;
    site.Proxy = own;
    site.SaveToStore(m_store, Key, &keyring);

    {
        TConfigStore globalStore{m_dir.file("global.conf")};
        TGlobalOptions options(globalStore, &keyring);
        options.Proxy = {TProxyKind::Socks5Hostname, "socks.example", 1080, "gu", "secret two"};
    } // saved at the end
    TConfigStore globalStore{m_dir.file("global.conf")};
    const TGlobalOptions options(globalStore, &keyring);
    EXPECT_EQ(options.Proxy.Password, "secret two");
    m_store.Flush();
    globalStore.Flush();
    for (const auto& file : {m_store.File(), globalStore.File()}) {
        EXPECT_EQ(test::readFile(file).find("secret"), std::string::npos);
    }

    TSiteProperties again(m_options);
    again.LoadFromStore(m_store, Key, &keyring);
    EXPECT_EQ(again.Proxy, own);
    EXPECT_EQ(ChosenProxy(again.ProxyMode, again.Proxy, options.Proxy), own);
    EXPECT_EQ(ChosenProxy(TSiteProxyMode::Global, again.Proxy, options.Proxy), options.Proxy);
    EXPECT_FALSE(ChosenProxy(TSiteProxyMode::None, again.Proxy, options.Proxy).Enabled());
}
