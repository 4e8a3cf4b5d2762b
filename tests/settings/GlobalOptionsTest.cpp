// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/GlobalOptions.h"

#include "platform/ConfigStore.h"
#include "platform/TempFiles.h"
#include "settings/GlobalOptionsEditor.h"
#include "settings/StoreKeys.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qx;
using qx::test::TempDir;
using Names = std::vector<std::string>;

namespace {

const std::string Key(GlobalOptionsKey);

const Names DefaultExtensions = {".txt", ".htm", ".html", ".c", ".cpp", ".h", ".hpp"};

class GlobalOptionsTest : public testing::Test {
protected:
    TempDir m_dir;
    TConfigStore m_store{m_dir.file("settings.conf")};
};

} // namespace

TEST_F(GlobalOptionsTest, WithoutStoredOptionsEverythingIsDefaultAndTheEndSavesAll) {
    {
        TGlobalOptions options(m_store);
        EXPECT_FALSE(m_store.KeyExists(Key)); // loading writes nothing
        EXPECT_EQ(options.Email, "yourname@example.com");
        EXPECT_EQ(options.ASCIIFileExtItems(), DefaultExtensions);
        EXPECT_EQ(options.TempDownloadFolder, PrivateTempFolder().string() + "/");
        EXPECT_EQ(options.FontName, "Sans Serif");
        EXPECT_EQ(options.FontSize, 9);
        EXPECT_EQ(options.GradColor, 0xF0CAA6u);
        EXPECT_EQ(options.DefLoginRetry, 30);
        EXPECT_EQ(options.DefReloginDelay, 3);
        EXPECT_EQ(options.Timeout, 30);
        EXPECT_FALSE(options.DefResumeTransfer);
        EXPECT_EQ(options.DefTransferType, TFTPTransferType::ftpTypeAuto);
        EXPECT_FALSE(options.DefPassiveMode);
        EXPECT_TRUE(options.KeepFileTimes);
        EXPECT_EQ(options.WhenTargetExists, TWhenTargetExists::Ask);
        EXPECT_EQ(options.PingApp, "ping");
        EXPECT_EQ(options.TelnetApp, "telnet");
        EXPECT_EQ(options.LoggedinWav, "Loggedin.wav");
    }
    EXPECT_EQ(m_store.ValueNames(Key),
              (Names{"FontName",       "FontSize",           "GradColor",
                     "DefLoginRetry",  "DefReloginDelay",    "Timeout",
                     "Email",          "DefResumeTransfer",  "DefTransferType",
                     "DefPassiveMode", "KeepFileTimes",      "WhenTargetExists",
                     "ASCIIFileExts",  "TempDownloadFolder", "LoggedinWav",
                     "ErrorWav",       "TransferDoneWav",    "PingApp",
                     "TelnetApp",      "DownloadLimit",      "UploadLimit"}));
    EXPECT_EQ(m_store.ReadString(Key, "ASCIIFileExts"), ".txt;.htm;.html;.c;.cpp;.h;.hpp;");
    EXPECT_EQ(m_store.ReadNumber(Key, "GradColor"), 15780518);
    EXPECT_EQ(m_store.ReadNumber(Key, "DefTransferType"), 2);
}

TEST_F(GlobalOptionsTest, LoadingTakesOnlyUsableValues) {
    const std::string folder = (m_dir.path() / "downloads").string();
    std::filesystem::create_directory(folder);
    m_store.CreateKey(Key);
    m_store.WriteString(Key, "FontName", "");
    m_store.WriteString(Key, "FontSize", "12");
    m_store.WriteString(Key, "Email", "me@host.example");
    m_store.WriteNumber(Key, "DefResumeTransfer", 5);
    m_store.WriteNumber(Key, "DefTransferType", 0x101);
    m_store.WriteNumber(Key, "GradColor", -1);
    m_store.WriteString(Key, "ASCIIFileExts", " .TXT ; ; .Htm;txt");
    m_store.WriteString(Key, "TempDownloadFolder", folder);
    m_store.WriteString(Key, "PingApp", "");
    m_store.WriteNumber(Key, "Timeout", 100000); // beyond the range: its end
    m_store.WriteNumber(Key, "WhenTargetExists", 3);

    TGlobalOptions options(m_store);
    EXPECT_EQ(options.FontName, "Sans Serif");
    EXPECT_EQ(options.FontSize, 9);
    EXPECT_EQ(options.Email, "me@host.example");
    EXPECT_TRUE(options.DefResumeTransfer);
    EXPECT_EQ(options.DefTransferType, TFTPTransferType::ftpTypeBinary);
    EXPECT_EQ(options.GradColor, 0xFFFFFFFFu);
    EXPECT_EQ(options.ASCIIFileExtItems(), (Names{".txt", ".htm", "txt"}));
    EXPECT_EQ(options.TempDownloadFolder, folder + "/");
    EXPECT_EQ(options.PingApp, "ping");
    EXPECT_EQ(options.Timeout, 600);
    EXPECT_EQ(options.WhenTargetExists, TWhenTargetExists::Resume);
    EXPECT_EQ(StandingOverwriteChoice(options.WhenTargetExists), TOverwriteChoice::Resume);
    EXPECT_EQ(StandingOverwriteChoice(TWhenTargetExists::Ask), std::nullopt);

    m_store.WriteString(Key, "TempDownloadFolder", folder + "/gone");
    m_store.WriteString(Key, "ASCIIFileExts", "");
    m_store.WriteNumber(Key, "WhenTargetExists", 9); // no such choice: Ask stays
    TGlobalOptions reloaded(m_store);
    EXPECT_EQ(reloaded.WhenTargetExists, TWhenTargetExists::Ask);
    EXPECT_EQ(reloaded.TempDownloadFolder, PrivateTempFolder().string() + "/");
    EXPECT_EQ(reloaded.ASCIIFileExtItems(), DefaultExtensions);
}

TEST_F(GlobalOptionsTest, ConfirmingTheDialogRefillsTheExtensionsAndSaves) {
    TGlobalOptions options(m_store);
    const auto before = options.ASCIIFileExts.Current();
    TGlobalOptionsEditor editor(options);
    EXPECT_EQ(editor.ASCIIFileExtsText, ".txt;.htm;.html;.c;.cpp;.h;.hpp;");
    editor.ASCIIFileExtsText = " .TXT ; ; .Htm;";
    editor.SetLoginRetryPosition(0);
    editor.SetReloginDelayPosition(500);
    editor.SetTimeoutSeconds(1);
    editor.SetBrowsedFolder(m_dir.path().string());
    editor.EmailText = "";
    editor.TransferTypeIndex = TFTPTransferType::ftpTypeASCII;
    EXPECT_TRUE(editor.KeepFileTimesChecked);
    editor.KeepFileTimesChecked = false;
    editor.Commit(options);

    EXPECT_EQ(*before, DefaultExtensions); // sessions holding the old list keep it whole
    EXPECT_EQ(options.ASCIIFileExtItems(), (Names{".txt", ".htm"}));
    EXPECT_EQ(options.DefLoginRetry, 1);
    EXPECT_EQ(options.DefReloginDelay, 100);
    EXPECT_EQ(options.Timeout, 5);
    EXPECT_EQ(m_store.ReadNumber(Key, "Timeout"), 5);
    EXPECT_EQ(options.TempDownloadFolder, m_dir.path().string() + "/");
    EXPECT_EQ(m_store.ReadString(Key, "ASCIIFileExts"), ".txt;.htm;");
    EXPECT_EQ(m_store.ReadString(Key, "Email"), "");
    EXPECT_EQ(m_store.ReadNumber(Key, "DefTransferType"), 0);

    TGlobalOptions reloaded(m_store); // an empty e-mail is not loaded back
    EXPECT_EQ(reloaded.Email, "yourname@example.com");
    EXPECT_FALSE(reloaded.KeepFileTimes);
    EXPECT_EQ(reloaded.ASCIIFileExtItems(), (Names{".txt", ".htm"}));
}
