// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/LocalLinks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

TEST(LocalLinks, APathBelowTheRootStaysInsideUnlessALinkOnItsWayLeadsOut) {
    TempDir root;
    TempDir outside;
    root.write("sub/file.txt", "x");
    outside.write("target.txt", "y");
    fs::create_directory_symlink(outside.path(), root.path() / "out");
    fs::create_directory_symlink(root.path() / "sub", root.path() / "in");
    fs::create_symlink(outside.path() / "target.txt", root.path() / "file-out.txt");
    const std::string top = root.path().string();
    for (const char* inside : {"/sub/file.txt", "/sub/new.txt", "/new/deeper/file.txt",
                               "/in/file.txt", "/in/new/file.txt", "/sub/../sub/x"}) {
        EXPECT_FALSE(LeadsOutOf(top + inside, top)) << inside;
        EXPECT_FALSE(LeadsOutOf(top + inside, top + "/")) << inside;
    }
    for (const char* out : {"/out/file.txt", "/out/new/file.txt", "/file-out.txt",
                            "/../elsewhere.txt", "/sub/../../elsewhere.txt"}) {
        EXPECT_TRUE(LeadsOutOf(top + out, top)) << out;
    }
    // The root may itself be reached through a link.
    TempDir links;
    fs::create_directory_symlink(root.path(), links.path() / "root");
    EXPECT_FALSE(LeadsOutOf(links.file("root/sub/file.txt"), links.file("root")));
    EXPECT_FALSE(LeadsOutOf(top + "/sub/file.txt", links.file("root")));
    EXPECT_TRUE(LeadsOutOf(links.file("root/out/file.txt"), links.file("root")));
}
