// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AsciiExtensions.h"
#include "base/ProxySettings.h"
#include "base/TransferType.h"
#include "session/OverwriteRule.h"
#include "settings/SpeedLimitSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class TConfigStore;
class TPasswordStore;

// What transfers do when their target exists; the number is stored and is the item index of the
// options dialog's list.
enum class TWhenTargetExists : std::uint8_t { Ask, Overwrite, OverwriteIfNewer, Resume, Skip };
inline constexpr int kWhenTargetExistsCount = 5;

// The choice that stands without a question, or nothing for Ask.
std::optional<TOverwriteChoice> StandingOverwriteChoice(TWhenTargetExists option);

// The application-wide options, one instance for the whole program. Construction sets the
// defaults and loads the stored options at once; destruction saves them.
class TGlobalOptions {
public:
    // A placeholder the user is expected to replace with an address of their own.
    static constexpr std::string_view DefaultEmail = "yourname@example.com";
    // A font name every Linux desktop resolves, at the size of its dialogs.
    static constexpr std::string_view DefaultFontName = "Sans Serif";
    static constexpr std::int32_t DefaultFontSize = 9;
    // Programs looked up through PATH when started.
    static constexpr std::string_view DefaultPingApp = "ping";
    static constexpr std::string_view DefaultTelnetApp = "telnet";
    // The extensions sent as ASCII until the user changes the list.
    static std::vector<std::string> DefaultASCIIFileExts();
    // The temporary download folder defaults to the user's private temporary folder with a
    // trailing "/", so downloads never land in a folder that other users can write.

    // Throws std::system_error when the private temporary folder cannot be made. The proxy's
    // password is kept in the password store when there is one.
    explicit TGlobalOptions(TConfigStore& store, TPasswordStore* passwords = nullptr);
    ~TGlobalOptions();
    TGlobalOptions(const TGlobalOptions&) = delete;
    TGlobalOptions& operator=(const TGlobalOptions&) = delete;

    void LoadFromStore();
    void SaveToStore();

    // The extension list as items, and as the text of the store and the dialog: every item
    // followed by ";".
    std::vector<std::string> ASCIIFileExtItems() const;
    std::string ASCIIFileExtsText() const;
    // Replaces the list from such a text (split at ";", empty pieces skipped, trimmed, lower
    // case) and publishes it to the FTP sessions.
    void SetASCIIFileExtsText(std::string_view text);

    std::string Email{DefaultEmail};
    TAsciiExtensions ASCIIFileExts;
    std::string TempDownloadFolder;
    std::string LoggedinWav = "Loggedin.wav";
    std::string TransferDoneWav = "TransferDone.wav";
    std::string ErrorWav = "Error.wav";
    std::string FontName{DefaultFontName};
    std::int32_t FontSize = DefaultFontSize;
    std::uint32_t GradColor = 15780518; // 0xBBGGRR: red 166, green 202, blue 240
    std::int32_t DefLoginRetry = 30;
    std::int32_t DefReloginDelay = 3;
    // Seconds a request may wait on the network without a byte moving.
    static constexpr std::int32_t MinTimeout = 5;
    static constexpr std::int32_t MaxTimeout = 600;
    std::int32_t Timeout = 30;
    bool DefResumeTransfer = false;
    TFTPTransferType DefTransferType = TFTPTransferType::ftpTypeAuto;
    bool DefPassiveMode = false;
    TWhenTargetExists WhenTargetExists = TWhenTargetExists::Ask;
    // Downloads and uploads give the copy the modification time of its original (not the
    // online editor's).
    bool KeepFileTimes = true;
    std::string PingApp{DefaultPingApp};
    std::string TelnetApp{DefaultTelnetApp};
    // Proxy: what sites that do not choose their own take (settings/ProxyStore.h).
    TProxySettings Proxy;
    // The speed limits of sites without their own, and the queue's.
    TSpeedLimitValues SpeedLimits;

private:
    TConfigStore& m_store;
    TPasswordStore* m_passwords;
};

// The extension items of an edit text: split at ";" with empty pieces skipped, each piece
// trimmed of blanks and control characters and its ASCII letters lowered.
std::vector<std::string> ParseAsciiExtensions(std::string_view text);

} // namespace qx
