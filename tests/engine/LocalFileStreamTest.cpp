// SPDX-License-Identifier: GPL-3.0-or-later
// The local file of a download: an existing file keeps its bytes until data arrives, a file
// made for a transfer that brought nothing goes again, and devices can be written.

#include "engine/LocalFileStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qx;
using namespace qx::test;

TEST(LocalFileStream, ReplacesAFileOnlyOnceDataArrives) {
    TempDir dir;
    const std::string kept = dir.write("kept", "old content");
    LocalFileStream stream;
    ASSERT_TRUE(stream.Create(kept));
    EXPECT_TRUE(stream.Pending());
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(readFile(kept), "old content");

    ASSERT_TRUE(stream.Create(kept));
    ASSERT_TRUE(stream.Write("new", 3));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(readFile(kept), "new");

    ASSERT_TRUE(stream.Create(kept));
    EXPECT_TRUE(stream.Finish()); // an empty file arrived
    EXPECT_EQ(readFile(kept), "");
    EXPECT_TRUE(std::filesystem::exists(kept));

    const std::string made = dir.file("made");
    ASSERT_TRUE(stream.Create(made));
    EXPECT_TRUE(stream.Close());
    EXPECT_FALSE(std::filesystem::exists(made));

    ASSERT_TRUE(stream.Create("/dev/null"));
    EXPECT_TRUE(stream.Write("x", 1));
    EXPECT_TRUE(stream.Finish());
}
