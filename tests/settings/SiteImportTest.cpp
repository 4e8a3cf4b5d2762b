// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteImport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qx {
namespace {

const TImportedSite* Named(const TSiteImport& list, const std::string& name) {
    const auto found = std::ranges::find(list.Sites, name, &TImportedSite::Name);
    return found == list.Sites.end() ? nullptr : &*found;
}

bool Noted(const TSiteImport& list, const std::string& text) {
    return std::ranges::any_of(list.Notes, [&](const TCoreMessage& note) {
        return note.Text().find(text) != std::string::npos;
    });
}

TEST(SiteImport, ReadsEveryFieldOfASiteManagerFileWithNestedFolders) {
    const char* xml = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>
<FileZilla3 version="3.66.5" platform="*nix">
  <Servers>
    <Server>
      <Host>ftp.example.com</Host><Port>2121</Port><Protocol>0</Protocol><Type>0</Type>
      <User>me</User><Pass encoding="base64">c2VjcsOpdA==</Pass><Logontype>1</Logontype>
      <TimezoneOffset>-90</TimezoneOffset><PasvMode>MODE_ACTIVE</PasvMode>
      <Name>Home &amp; garden</Name><LocalDir>/home/me/site</LocalDir>
      <RemoteDir>1 0 4 home 7 my site</RemoteDir>Home &amp; garden
    </Server>
    <Folder expanded="1">Work
      <Folder>Clients ü
        <Server><Host>sftp.example.net</Host><Protocol>1</Protocol><Logontype>5</Logontype>
          <User>deploy</User><Keyfile>/home/me/.ssh/id_ed25519</Keyfile>
          <Name>Deploy</Name><RemoteDir></RemoteDir></Server>
      </Folder>
      <Server><Host>secure.example.org</Host><Protocol>3</Protocol><Logontype>0</Logontype>
        <Name>Public</Name><PasvMode>MODE_PASSIVE</PasvMode></Server>
      <Server><Host>x.example.org</Host><Protocol>4</Protocol><Logontype>1</Logontype>
        <User>a</User><Pass encoding="crypt" pubkey="abc">xyz</Pass><Name>Locked</Name></Server>
      <Server><Host>y.example.org</Host><Protocol>9</Protocol><Name>Odd</Name></Server>
      <Server><Host>z.example.org</Host><Protocol>6</Protocol><Logontype>1</Logontype>
        <User>p</User><Pass>plain</Pass><Name>Plain</Name><RemoteDir>1 0 9 ab</RemoteDir>
      </Server>
    </Folder>
  </Servers>
</FileZilla3>
)";
    TCoreMessage error;
    const auto list = ReadSiteList(xml, error);
    ASSERT_TRUE(list) << error.Text();
    ASSERT_EQ(list->Sites.size(), 5U);

    const TImportedSite* home = Named(*list, "Home & garden");
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(home->Folder.empty());
    EXPECT_EQ(home->Encryption, TFtpTlsMode::ExplicitIfAvailable);
    EXPECT_EQ(home->Port, "2121");
    EXPECT_EQ(home->Password, std::optional<std::string>("secr\xC3\xA9t"));
    EXPECT_EQ(home->RemoteFolder, "/home/my site");
    EXPECT_EQ(home->LocalFolder, "/home/me/site");
    EXPECT_EQ(home->Passive, std::optional<bool>(false));
    EXPECT_EQ(home->TimeZoneOffsetMinutes, -90);

    const TImportedSite* deploy = Named(*list, "Deploy");
    ASSERT_NE(deploy, nullptr);
    EXPECT_EQ(deploy->Folder, (std::vector<std::string>{"Work", "Clients \xC3\xBC"}));
    EXPECT_EQ(deploy->Protocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(deploy->Port, "22");
    EXPECT_EQ(deploy->KeyFile, "/home/me/.ssh/id_ed25519");
    EXPECT_FALSE(deploy->Password);

    const TImportedSite* public_ = Named(*list, "Public");
    ASSERT_NE(public_, nullptr);
    EXPECT_EQ(public_->User, "anonymous");
    EXPECT_EQ(public_->Port, "990");
    EXPECT_EQ(public_->Encryption, TFtpTlsMode::Implicit);
    EXPECT_EQ(Named(*list, "Locked")->Encryption, TFtpTlsMode::ExplicitRequired);
    EXPECT_FALSE(Named(*list, "Locked")->Password);
    EXPECT_EQ(Named(*list, "Plain")->Encryption, TFtpTlsMode::None);
    EXPECT_EQ(Named(*list, "Plain")->Password, std::optional<std::string>("plain"));
    EXPECT_EQ(Named(*list, "Odd"), nullptr);

    EXPECT_TRUE(Noted(*list, "[Work/Locked]: its password is kept under a master password"));
    EXPECT_TRUE(Noted(*list, "[Work/Odd]: its protocol (9) is not one this program speaks"));
    EXPECT_TRUE(Noted(*list, "[Work/Plain]: its remote folder could not be read"));
}

TEST(SiteImport, ReadsSessionsOfAnIniFile) {
    const char* ini = "[Configuration\\Interface]\nTheme=dark\n\n"
                      "[Sessions\\Default%20Settings]\nHostName=ignored\n"
                      "[Sessions\\Web/Main%20site]\nHostName=www.example.com\nUserName=web\n"
                      "FSProtocol=5\nFtps=1\nRemoteDirectory=/var/www\nPassword=A35C4E\n"
                      "LocalDirectory=C:%5CUsers%5Cme\n"
                      "[Sessions\\Web/Shell]\r\nHostName=ssh.example.com\r\nPortNumber=2222\r\n"
                      "[Sessions\\Old]\nHostName=old.example.com\nFSProtocol=0\n"
                      "[Sessions\\Dav]\nHostName=dav.example.com\nFSProtocol=6\n"
                      "; a comment\n[Sessions\\Cloud]\nHostName=s3\nFSProtocol=7\n";
    TCoreMessage error;
    const auto list = ReadSiteList(ini, error);
    ASSERT_TRUE(list) << error.Text();
    ASSERT_EQ(list->Sites.size(), 2U);
    const TImportedSite& main = list->Sites[0];
    EXPECT_EQ(main.Folder, std::vector<std::string>{"Web"});
    EXPECT_EQ(main.Name, "Main site");
    EXPECT_EQ(main.Encryption, TFtpTlsMode::Implicit);
    EXPECT_EQ(main.Port, "990");
    EXPECT_EQ(main.RemoteFolder, "/var/www");
    EXPECT_EQ(main.LocalFolder, "C:\\Users\\me");
    EXPECT_FALSE(main.Password);
    const TImportedSite& shell = list->Sites[1];
    EXPECT_EQ(shell.Protocol, TRemoteProtocolKind::Sftp);
    EXPECT_EQ(shell.Port, "2222");
    EXPECT_TRUE(Noted(*list, "[Web/Main site]: its stored password was not imported"));
    for (const char* note : {"[Old]: SCP", "[Dav]: WebDAV", "[Cloud]: S3"}) {
        EXPECT_TRUE(Noted(*list, note)) << note;
    }
}

TEST(SiteImport, DamagedFilesGiveNothing) {
    for (const char* damaged :
         {"", "just text", "<FileZilla3><Servers><Server><Host>a</Host></Servers></FileZilla3>",
          "<Other/>", "[Sessions\\A]\nHostName=a\nno equals sign\n", "[Sessions\\A\nx=y\n"}) {
        TCoreMessage error;
        EXPECT_FALSE(ReadSiteList(damaged, error)) << damaged;
        EXPECT_FALSE(error.Empty()) << damaged;
    }
}

} // namespace
} // namespace qx
