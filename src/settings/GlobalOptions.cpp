// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/GlobalOptions.h"

#include "base/AsciiText.h"
#include "base/Utilities.h"
#include "platform/ConfigStore.h"
#include "platform/TempFiles.h"
#include "settings/ProxyStore.h"
#include "settings/StoreKeys.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qx {

std::vector<std::string> TGlobalOptions::DefaultASCIIFileExts() {
    return {".txt", ".htm", ".html", ".c", ".cpp", ".h", ".hpp"};
}

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

void ReadText(const TConfigStore& store, std::string_view name, std::string& option) {
    if (auto text = store.ReadString(GlobalOptionsKey, name); text && !text->empty()) {
        option = std::move(*text);
    }
}

template <typename T> void ReadNumber(const TConfigStore& store, std::string_view name, T& option) {
    if (const auto number = store.ReadNumber(GlobalOptionsKey, name)) {
        option = static_cast<T>(*number);
    }
}

void ReadFlag(const TConfigStore& store, std::string_view name, bool& option) {
    if (const auto number = store.ReadNumber(GlobalOptionsKey, name)) {
        option = *number != 0;
    }
}

} // namespace

std::vector<std::string> ParseAsciiExtensions(std::string_view text) {
    std::vector<std::string> pieces;
    SplitString(text, ";", pieces);
    std::vector<std::string> items;
    for (const std::string& piece : pieces) {
        std::string_view item = piece;
        while (!item.empty() && IsBlank(item.front())) {
            item.remove_prefix(1);
        }
        while (!item.empty() && IsBlank(item.back())) {
            item.remove_suffix(1);
        }
        if (item.empty()) {
            continue;
        }
        items.push_back(AsciiLowerCase(item));
    }
    return items;
}

TGlobalOptions::TGlobalOptions(TConfigStore& store, TPasswordStore* passwords)
    : ASCIIFileExts(DefaultASCIIFileExts()), TempDownloadFolder(PrivateTempFolder().string()),
      m_store(store), m_passwords(passwords) {
    AddTrailingSeparator(TempDownloadFolder);
    LoadFromStore();
}

TGlobalOptions::~TGlobalOptions() {
    SaveToStore();
}

std::vector<std::string> TGlobalOptions::ASCIIFileExtItems() const {
    return *ASCIIFileExts.Current();
}

std::string TGlobalOptions::ASCIIFileExtsText() const {
    std::string text;
    for (const std::string& item : *ASCIIFileExts.Current()) {
        text += item;
        text += ';';
    }
    return text;
}

void TGlobalOptions::SetASCIIFileExtsText(std::string_view text) {
    ASCIIFileExts.Publish(ParseAsciiExtensions(text));
}

std::optional<TOverwriteChoice> StandingOverwriteChoice(TWhenTargetExists option) {
    switch (option) {
    case TWhenTargetExists::Ask:
        return std::nullopt;
    case TWhenTargetExists::Overwrite:
        return TOverwriteChoice::Overwrite;
    case TWhenTargetExists::OverwriteIfNewer:
        return TOverwriteChoice::OverwriteIfNewer;
    case TWhenTargetExists::Resume:
        return TOverwriteChoice::Resume;
    case TWhenTargetExists::Skip:
        return TOverwriteChoice::Skip;
    }
    return std::nullopt;
}

void TGlobalOptions::LoadFromStore() {
    const TConfigStore& store = m_store;
    if (!store.KeyExists(GlobalOptionsKey)) {
        return;
    }
    ReadText(store, "FontName", FontName);
    ReadNumber(store, "FontSize", FontSize);
    ReadNumber(store, "GradColor", GradColor);
    ReadNumber(store, "DefLoginRetry", DefLoginRetry);
    ReadNumber(store, "DefReloginDelay", DefReloginDelay);
    ReadNumber(store, "Timeout", Timeout);
    Timeout = std::clamp(Timeout, MinTimeout, MaxTimeout);
    ReadText(store, "Email", Email);
    ReadFlag(store, "DefResumeTransfer", DefResumeTransfer);
    if (const auto type = store.ReadNumber(GlobalOptionsKey, "DefTransferType")) {
        DefTransferType = static_cast<TFTPTransferType>(static_cast<std::uint8_t>(*type));
    }
    ReadFlag(store, "DefPassiveMode", DefPassiveMode);
    ReadFlag(store, "KeepFileTimes", KeepFileTimes);
    if (const auto when = store.ReadNumber(GlobalOptionsKey, "WhenTargetExists");
        when && *when >= 0 && *when < kWhenTargetExistsCount) {
        WhenTargetExists = static_cast<TWhenTargetExists>(*when);
    }
    if (const auto text = store.ReadString(GlobalOptionsKey, "ASCIIFileExts");
        text && !text->empty()) {
        SetASCIIFileExtsText(*text);
    }
    if (auto folder = store.ReadString(GlobalOptionsKey, "TempDownloadFolder")) {
        std::error_code error;
        if (!folder->empty() && std::filesystem::is_directory(*folder, error)) {
            AddTrailingSeparator(*folder);
            TempDownloadFolder = std::move(*folder);
        }
    }
    ReadText(store, "LoggedinWav", LoggedinWav);
    ReadText(store, "ErrorWav", ErrorWav);
    ReadText(store, "TransferDoneWav", TransferDoneWav);
    ReadText(store, "PingApp", PingApp);
    ReadText(store, "TelnetApp", TelnetApp);
    // Proxy
    Proxy = LoadProxy(store, GlobalOptionsKey, m_passwords);
    SpeedLimits.Load(store, GlobalOptionsKey);
}

void TGlobalOptions::SaveToStore() {
    const TConfigBatch batch(m_store);
    const std::string_view key = GlobalOptionsKey;
    m_store.CreateKey(key);
    m_store.WriteString(key, "FontName", FontName);
    m_store.WriteNumber(key, "FontSize", FontSize);
    m_store.WriteNumber(key, "GradColor", static_cast<std::int32_t>(GradColor));
    m_store.WriteNumber(key, "DefLoginRetry", DefLoginRetry);
    m_store.WriteNumber(key, "DefReloginDelay", DefReloginDelay);
    m_store.WriteNumber(key, "Timeout", Timeout);
    m_store.WriteString(key, "Email", Email);
    m_store.WriteNumber(key, "DefResumeTransfer", DefResumeTransfer ? 1 : 0);
    m_store.WriteNumber(key, "DefTransferType", static_cast<std::int32_t>(DefTransferType));
    m_store.WriteNumber(key, "DefPassiveMode", DefPassiveMode ? 1 : 0);
    m_store.WriteNumber(key, "KeepFileTimes", KeepFileTimes ? 1 : 0);
    m_store.WriteNumber(key, "WhenTargetExists", static_cast<std::int32_t>(WhenTargetExists));
    m_store.WriteString(key, "ASCIIFileExts", ASCIIFileExtsText());
    m_store.WriteString(key, "TempDownloadFolder", TempDownloadFolder);
    m_store.WriteString(key, "LoggedinWav", LoggedinWav);
    m_store.WriteString(key, "ErrorWav", ErrorWav);
    m_store.WriteString(key, "TransferDoneWav", TransferDoneWav);
    m_store.WriteString(key, "PingApp", PingApp);
    m_store.WriteString(key, "TelnetApp", TelnetApp);
    // Proxy
    SaveProxy(m_store, key, Proxy, m_passwords);
    SpeedLimits.Save(m_store, key);
}

} // namespace qx
