// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's trash on a path's bytes: the home trash with its info file, unique names in the
// trash, and failures that remove nothing.

#include "local/LocalTrash.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace qx;
using namespace qx::test;
namespace fs = std::filesystem;

TEST(LocalTrash, ANameThatIsNotUtf8GoesIntoTheHomeTrashWithItsInfo) {
    TempDir dir;
    const std::string file = dir.write("caf\xe9.txt", "bytes");
    const TTrashPlaces places{dir.file("data"), static_cast<unsigned>(::getuid())};
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 6;
    when.tm_hour = 7;
    when.tm_min = 8;
    when.tm_sec = 9;
    when.tm_isdst = -1;
    std::string error;
    ASSERT_TRUE(MoveToTrash(file, places, error, std::mktime(&when))) << error;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(readFile(dir.file("data/Trash/files/caf\xe9.txt")), "bytes");
    std::string encoded;
    for (const char c : dir.path().string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            encoded += hex;
        }
    }
    EXPECT_EQ(readFile(dir.file("data/Trash/info/caf\xe9.txt.trashinfo")),
              "[Trash Info]\nPath=" + encoded + "/caf%E9.txt\nDeletionDate=2024-05-06T07:08:09\n");

    // A second item of the same name gets a name of its own; a folder goes whole.
    dir.write("caf\xe9.txt", "again");
    dir.write("folder/inner", "in");
    ASSERT_TRUE(MoveToTrash(dir.file("caf\xe9.txt"), places, error)) << error;
    ASSERT_TRUE(MoveToTrash(dir.file("folder"), places, error)) << error;
    EXPECT_EQ(readFile(dir.file("data/Trash/files/caf\xe9.txt.2")), "again");
    EXPECT_TRUE(fs::exists(dir.file("data/Trash/info/caf\xe9.txt.2.trashinfo")));
    EXPECT_EQ(readFile(dir.file("data/Trash/files/folder/inner")), "in");
    EXPECT_EQ(readFile(dir.file("data/Trash/files/caf\xe9.txt")), "bytes");
}

TEST(LocalTrash, WhatCannotGoIntoTheTrashStaysAndSaysWhy) {
    TempDir dir;
    const TTrashPlaces places{dir.file("data"), static_cast<unsigned>(::getuid())};
    std::string error;
    EXPECT_FALSE(MoveToTrash(dir.file("missing"), places, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir.file("data/Trash/info/missing.trashinfo")));
    error.clear();
    EXPECT_FALSE(MoveToTrash("/", places, error));
    EXPECT_FALSE(error.empty());
}
