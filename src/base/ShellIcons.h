// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

namespace qx {

// Icon indexes and type names of files by their names, and the indexes of a few special
// folders. This plain implementation knows no icons: it hands out fixed indexes and makes type
// names from the extension. The GUI derives from it with the icon theme and the MIME database.
// Every method is const and may be called from any thread.
class TShellIcons {
public:
    // Reads the user's language from the environment.
    TShellIcons();
    explicit TShellIcons(bool koreanUserLanguage);
    virtual ~TShellIcons() = default;

    TShellIcons(const TShellIcons&) = delete;
    TShellIcons& operator=(const TShellIcons&) = delete;

    // Index of the icon shown for a file of this name; decided by the name alone.
    virtual int GetIconIndex(const std::string& fileName) const;
    // Type name of a file of this name: ".zzq File" from the extension, "File" without one.
    virtual std::string GetTypeName(const std::string& fileName) const;

    // True when LC_ALL, LC_MESSAGES or LANG (the first one set) starts with "ko".
    static bool UserLanguageIsKorean();

    // Index the plain implementation gives every file.
    static constexpr int FileIconIndex = 4;

    int DesktopIconIndex = 0;
    int NetworkIconIndex = 1;
    int FolderIconIndex = 2;
    int OpenFolderIconIndex = 3;
    int LinkOverlayIndex = 1;
    std::string FolderTypeName;

protected:
    bool KoreanUserLanguage() const { return m_korean; }

private:
    bool m_korean;
};

// The program's one instance: the installed one, or a plain default when none was installed.
TShellIcons& SharedShellIcons();

// Installs the program's instance at start-up, before any worker thread exists. References
// handed out earlier stay valid: a replaced instance is kept until the program ends. Passing
// nullptr goes back to the plain default.
void InstallSharedShellIcons(std::unique_ptr<TShellIcons> icons);

} // namespace qx
