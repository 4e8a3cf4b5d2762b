// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TempFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <set>

using namespace qx;

namespace {

class TmpdirOverride {
public:
    explicit TmpdirOverride(const std::string& value) {
        if (const char* old = std::getenv("TMPDIR")) {
            m_old = old;
            m_had = true;
        }
        ::setenv("TMPDIR", value.c_str(), 1);
    }
    ~TmpdirOverride() {
        if (m_had) {
            ::setenv("TMPDIR", m_old.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

private:
    std::string m_old;
    bool m_had = false;
};

} // namespace

TEST(TempFiles, PrivateFolderIsClosedToOthers) {
    test::TempDir root;
    TmpdirOverride tmpdir(root.path().string());
    const auto folder = PrivateTempFolder();
    EXPECT_EQ(folder.parent_path(), root.path());
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    ::chmod(folder.c_str(), 0755); // someone opened it up: it is closed again
    EXPECT_EQ(PrivateTempFolder(), folder);
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(TempFiles, ALinkInPlaceOfThePrivateFolderIsRefused) {
    test::TempDir root;
    TmpdirOverride tmpdir(root.path().string());
    const auto expected = root.path() / ("quorvin-explorer-" + std::to_string(::getuid()));
    std::filesystem::create_directory(root.path() / "elsewhere");
    std::filesystem::create_directory_symlink(root.path() / "elsewhere", expected);
    EXPECT_THROW(PrivateTempFolder(), std::system_error);
}

TEST(TempFiles, FilesAreNewWithEightLowerCaseLetters) {
    test::TempDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        TempFile file = CreateTempFile(dir.path());
        ASSERT_TRUE(file.Fd.valid());
        const std::string name = std::filesystem::path(file.Path).filename().string();
        ASSERT_EQ(name.size(), 12u) << name;
        EXPECT_EQ(name.substr(8), ".tmp");
        for (char c : name.substr(0, 8)) {
            EXPECT_TRUE(c >= 'a' && c <= 'z') << name;
        }
        struct stat info {};
        ASSERT_EQ(::stat(file.Path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 50u);
}
