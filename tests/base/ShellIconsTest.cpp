// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellIcons.h"

#include <gtest/gtest.h>

#include <set>

namespace qx {
namespace {

TEST(ShellIconsTest, TypeNameFromTheExtension) {
    const TShellIcons icons(false);
    EXPECT_EQ(icons.GetTypeName("x.zzq"), ".zzq File");
    EXPECT_EQ(icons.GetTypeName("archive.tar.gz"), ".gz File");
    EXPECT_EQ(icons.GetTypeName("README"), "File");
    EXPECT_EQ(icons.GetTypeName(".profile"), ".profile File");
    EXPECT_EQ(icons.GetTypeName("trailing."), "File");
    EXPECT_EQ(icons.GetTypeName("dir.d/Makefile"), "File");
    EXPECT_EQ(icons.FolderTypeName, "Folder");
}

TEST(ShellIconsTest, KoreanWords) {
    const TShellIcons icons(true);
    EXPECT_EQ(icons.GetTypeName("x.zzq"), ".zzq 파일");
    EXPECT_EQ(icons.GetTypeName("README"), "파일");
    EXPECT_EQ(icons.FolderTypeName, "폴더");
}

TEST(ShellIconsTest, DistinctIndexes) {
    const TShellIcons icons(false);
    const std::set<int> indexes{icons.DesktopIconIndex, icons.NetworkIconIndex,
                                icons.FolderIconIndex, icons.OpenFolderIconIndex,
                                icons.GetIconIndex("a.txt")};
    EXPECT_EQ(indexes.size(), 5u);
    EXPECT_EQ(icons.LinkOverlayIndex, 1);
}

TEST(ShellIconsTest, UserLanguageFromTheEnvironment) {
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_MESSAGES", "ko_KR.UTF-8", 1);
    ::setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_TRUE(TShellIcons::UserLanguageIsKorean());
    ::setenv("LC_ALL", "C", 1);
    EXPECT_FALSE(TShellIcons::UserLanguageIsKorean());
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "ko", 1);
    EXPECT_TRUE(TShellIcons::UserLanguageIsKorean());
    EXPECT_EQ(TShellIcons().GetTypeName("a"), "파일");
    ::unsetenv("LANG");
    EXPECT_FALSE(TShellIcons::UserLanguageIsKorean());
}

class TFixedIcons : public TShellIcons {
public:
    TFixedIcons() : TShellIcons(false) {}
    int GetIconIndex(const std::string&) const override { return 42; }
};

TEST(ShellIconsTest, SharedInstance) {
    TShellIcons& plain = SharedShellIcons();
    EXPECT_EQ(&plain, &SharedShellIcons());

    InstallSharedShellIcons(std::make_unique<TFixedIcons>());
    TShellIcons& installed = SharedShellIcons();
    EXPECT_EQ(installed.GetIconIndex("a"), 42);

    // Replacing keeps the earlier instance alive for those who hold it.
    InstallSharedShellIcons(std::make_unique<TShellIcons>(false));
    EXPECT_EQ(installed.GetIconIndex("a"), 42);
    EXPECT_EQ(SharedShellIcons().GetIconIndex("a"), TShellIcons::FileIconIndex);

    InstallSharedShellIcons(nullptr);
    EXPECT_EQ(&SharedShellIcons(), &plain);
}

} // namespace
} // namespace qx
