// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/RemoteNames.h"
#include "session/SessionLog.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(RemoteNames, OnlyPlainNamesAreSafePathComponents) {
    for (const char* name :
         {"a.txt", "with space", "\xc3\xa9t\xc3\xa9", ".profile", "...", "a\\b"}) {
        EXPECT_TRUE(IsSafeEntryName(name)) << name;
    }
    for (const std::string& name :
         {std::string(""), std::string("."), std::string(".."), std::string("../escape"),
          std::string("a/b"), std::string("/abs"), std::string("cr\r"), std::string("lf\nx"),
          std::string("nul\0x", 5)}) {
        EXPECT_FALSE(IsSafeEntryName(name)) << name;
    }
}

TEST(RemoteNames, PathsJoinAndNormalise) {
    EXPECT_EQ(JoinRemotePath("/", "a"), "/a");
    EXPECT_EQ(JoinRemotePath("/pub", "a"), "/pub/a");
    EXPECT_EQ(JoinRemotePath("sub", "a"), "sub/a");
    EXPECT_EQ(NormalizeRemotePath("/a/./b/../c//d/"), "/a/c/d");
    EXPECT_EQ(NormalizeRemotePath("/.."), "/");
    EXPECT_EQ(NormalizeRemotePath("a/../.."), "..");
    EXPECT_EQ(NormalizeRemotePath("a/.."), ".");
}

TEST(RemoteNames, FolderLinksThatLeadBackAreRecognised) {
    EXPECT_TRUE(LinkLoopsBack("/pub/tree", "."));
    EXPECT_TRUE(LinkLoopsBack("/pub/tree", ".."));
    EXPECT_TRUE(LinkLoopsBack("/pub/tree", "../../"));
    EXPECT_TRUE(LinkLoopsBack("/pub/tree", "/pub"));
    EXPECT_TRUE(LinkLoopsBack("/pub/tree", "/"));
    EXPECT_TRUE(LinkLoopsBack("/pub/tree", "sub/../.."));
    EXPECT_TRUE(LinkLoopsBack("sub", ".."));
    EXPECT_FALSE(LinkLoopsBack("/pub/tree", "sub"));
    EXPECT_FALSE(LinkLoopsBack("/pub/tree", "/pub/tree2"));
    EXPECT_FALSE(LinkLoopsBack("/pub/tree", "../other"));
    EXPECT_FALSE(LinkLoopsBack("/pub/tree", ""));
}

TEST(RemoteNames, ExtensionsAndCase) {
    EXPECT_EQ(LowerCaseExtension("/home/a.b/README.TXT"), ".txt");
    EXPECT_EQ(LowerCaseExtension("/home/a.b/notes"), "");
    EXPECT_EQ(LowerCaseExtension("data.tar.gz"), ".gz");
    EXPECT_EQ(AsciiUpperCase("M\xc3\xa9lange.txt"), "M\xc3\xa9LANGE.TXT");
    EXPECT_EQ(AsciiLowerCase("ABC-xyz"), "abc-xyz");
}

TEST(SessionLog, LineKindsAndTheLinesOfAConnection) {
    EXPECT_EQ(LogLineKind("~ Looking up"), TLogLineKind::Information);
    EXPECT_EQ(LogLineKind("! failed"), TLogLineKind::Failure);
    EXPECT_EQ(LogLineKind("% Idle"), TLogLineKind::Status);
    EXPECT_EQ(LogLineKind("500 Cannot create folder [x]."), TLogLineKind::Plain);
    EXPECT_EQ(ConnectStateLogLine(TFTPConnectState::ftpcsHostFound, "ftp.example.com", "10.1.1.1"),
              "~ Host [ftp.example.com] found. IP address is [10.1.1.1].");
    EXPECT_EQ(ConnectStateLogLine(TFTPConnectState::ftpcsClosed, "h", ""),
              "~ Connection closed from host [h]");
}
