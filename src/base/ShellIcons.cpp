// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellIcons.h"

#include "base/Translatable.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <vector>

namespace qx {

namespace {

// The extension of a name: the text from its last "." on, looked for in the last path
// component only. A name ending in "." has none.
std::string_view Extension(std::string_view fileName) {
    const auto slash = fileName.rfind('/');
    if (slash != std::string_view::npos) {
        fileName.remove_prefix(slash + 1);
    }
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == fileName.size()) {
        return {};
    }
    return fileName.substr(dot);
}

struct SharedInstance {
    std::mutex InstallMutex;
    // Every instance ever installed, so that references handed out before a replacement stay
    // valid until the program ends.
    std::vector<std::unique_ptr<TShellIcons>> Installed;
    std::atomic<TShellIcons*> Current{nullptr};
};

SharedInstance& Shared() {
    static SharedInstance instance;
    return instance;
}

} // namespace

TShellIcons::TShellIcons() : TShellIcons(UserLanguageIsKorean()) {}

TShellIcons::TShellIcons(bool koreanUserLanguage)
    : FolderTypeName(koreanUserLanguage ? "폴더" : QX_TRANSLATE_NOOP("qx::Core", "Folder")),
      m_korean(koreanUserLanguage) {}

int TShellIcons::GetIconIndex(const std::string& /*fileName*/) const {
    return FileIconIndex;
}

std::string TShellIcons::GetTypeName(const std::string& fileName) const {
    const std::string_view word = m_korean ? "파일" : "File";
    const auto extension = Extension(fileName);
    std::string result;
    result.reserve(extension.size() + 1 + word.size());
    if (!extension.empty()) {
        result.append(extension);
        result.push_back(' ');
    }
    result.append(word);
    return result;
}

bool TShellIcons::UserLanguageIsKorean() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("ko");
        }
    }
    return false;
}

TShellIcons& SharedShellIcons() {
    if (TShellIcons* current = Shared().Current.load(std::memory_order_acquire)) {
        return *current;
    }
    static TShellIcons plainDefault;
    return plainDefault;
}

void InstallSharedShellIcons(std::unique_ptr<TShellIcons> icons) {
    auto& shared = Shared();
    std::lock_guard lock(shared.InstallMutex);
    TShellIcons* current = icons.get();
    if (icons) {
        shared.Installed.push_back(std::move(icons));
    }
    shared.Current.store(current, std::memory_order_release);
}

} // namespace qx
