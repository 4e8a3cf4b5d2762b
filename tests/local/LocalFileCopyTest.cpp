// SPDX-License-Identifier: GPL-3.0-or-later
// Copy and move of pasted files: nothing is overwritten unless the user said so, a replaced
// file is whole or untouched, a folder is never pasted into itself, links are not followed.

#include "local/LocalFileCopy.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

namespace {

TCopyResult RunJob(TCopyRequest request, std::set<std::string> replace = {},
                   std::int64_t* lastDone = nullptr) {
    std::atomic<bool> abort{false};
    TFileCopyJob job(std::move(request), std::move(replace));
    return job.Run(
        [&](const TCopyProgress& progress) {
            if (lastDone != nullptr) {
                *lastDone = progress.DoneBytes;
                EXPECT_LE(progress.DoneBytes, progress.TotalBytes);
            }
        },
        abort);
}

} // namespace

TEST(LocalFileCopy, CopiesFilesAndFoldersWithProgress) {
    TempDir dir;
    const std::string src = dir.write("src/a.txt", "alpha");
    dir.write("src/tree/deep/b.bin", std::string(3 << 20, 'b'));
    fs::create_directory(dir.path() / "dst");
    std::int64_t done = 0;
    const auto result = RunJob({{src, dir.file("src/tree")}, dir.file("dst"), false}, {}, &done);
    EXPECT_TRUE(result.Failures.empty());
    EXPECT_FALSE(result.Aborted);
    EXPECT_EQ(readFile(dir.file("dst/a.txt")), "alpha");
    EXPECT_EQ(fs::file_size(dir.file("dst/tree/deep/b.bin")), 3u << 20);
    EXPECT_EQ(done, 5 + (3 << 20));
    EXPECT_TRUE(fs::exists(src)); // a copy keeps the source
}

TEST(LocalFileCopy, ConflictsAreSkippedUnlessReplaced) {
    TempDir dir;
    const std::string a = dir.write("src/a.txt", "new a");
    const std::string b = dir.write("src/b.txt", "new b");
    dir.write("dst/a.txt", "old a");
    dir.write("dst/b.txt", "old b");
    const TCopyRequest request{{a, b}, dir.file("dst"), false};
    EXPECT_EQ(ConflictingSources(request), (std::vector<std::string>{a, b}));
    const auto result = RunJob(request, {b});
    EXPECT_TRUE(result.Failures.empty());
    EXPECT_EQ(readFile(dir.file("dst/a.txt")), "old a");
    EXPECT_EQ(readFile(dir.file("dst/b.txt")), "new b");
    // No partial file is left beside the replaced one.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.file("dst"))) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST(LocalFileCopy, AFolderIsNeverPastedIntoItselfAndAFileIntoItsFolderGetsANewName) {
    TempDir dir;
    dir.write("top/inner/x", "x");
    const TCopyRequest into{{dir.file("top")}, dir.file("top/inner"), false};
    ASSERT_TRUE(CopyProblem(into));
    const auto refused = RunJob(into);
    ASSERT_EQ(refused.Failures.size(), 1u);
    EXPECT_FALSE(fs::exists(dir.file("top/inner/top")));
    EXPECT_TRUE(CopyProblem({{dir.file("top")}, dir.file("top"), false}));

    const std::string file = dir.write("top/report.txt", "r");
    const TCopyRequest same{{file}, dir.file("top"), false};
    EXPECT_TRUE(ConflictingSources(same).empty());
    RunJob(same);
    EXPECT_EQ(readFile(dir.file("top/report (2).txt")), "r");
    EXPECT_EQ(readFile(file), "r");
}

TEST(LocalFileCopy, MovesRemoveTheSourceOnlyWhenCopiedAndLinksStayLinks) {
    TempDir dir;
    const std::string file = dir.write("src/m.txt", "move me");
    fs::create_directory(dir.path() / "dst");
    fs::create_symlink("/etc", dir.path() / "src" / "etc-link");
    const auto result = RunJob({{file, dir.file("src/etc-link")}, dir.file("dst"), true});
    EXPECT_TRUE(result.Failures.empty());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(readFile(dir.file("dst/m.txt")), "move me");
    EXPECT_TRUE(fs::is_symlink(dir.file("dst/etc-link")));
    EXPECT_EQ(fs::read_symlink(dir.file("dst/etc-link")).string(), "/etc");

    // A move onto an existing name that is not replaced leaves both where they are.
    const std::string again = dir.write("src/m.txt", "second");
    const auto kept = RunJob({{again}, dir.file("dst"), true});
    EXPECT_TRUE(kept.Created.empty());
    EXPECT_EQ(readFile(again), "second");
    EXPECT_EQ(readFile(dir.file("dst/m.txt")), "move me");
}

TEST(LocalFileCopy, AnAbortStopsWithoutAHalfFile) {
    TempDir dir;
    const std::string big = dir.write("src/big", std::string(4 << 20, 'z'));
    fs::create_directory(dir.path() / "dst");
    std::atomic<bool> abort{false};
    TFileCopyJob job({{big}, dir.file("dst"), false}, {});
    const auto result = job.Run([&](const TCopyProgress&) { abort = true; }, abort);
    EXPECT_TRUE(result.Aborted);
    EXPECT_FALSE(fs::exists(dir.file("dst/big")));
}

TEST(LocalFileCopy, MissingSourcesAndUnwritableFoldersAreReported) {
    TempDir dir;
    fs::create_directory(dir.path() / "dst");
    const auto missing = RunJob({{dir.file("nothing")}, dir.file("dst"), false});
    ASSERT_EQ(missing.Failures.size(), 1u);
    EXPECT_NE(missing.Failures[0].Text().find("[" + dir.file("nothing") + "]"), std::string::npos);
    EXPECT_TRUE(CopyProblem({{dir.file("dst")}, dir.file("nothing"), false}));
}
