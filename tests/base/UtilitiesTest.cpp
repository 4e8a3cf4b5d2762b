// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utilities.h"
#include "base/TimeZoneOffset.h"
#include "base/Translatable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace qx {
namespace {

TEST(UtilitiesTest, FormatFileSize) {
    EXPECT_EQ(FormatFileSize(0), "0.0 KB");
    EXPECT_EQ(FormatFileSize(1023), "1.0 KB");
    EXPECT_EQ(FormatFileSize(1048575), "1024.0 KB");
    EXPECT_EQ(FormatFileSize(1048576), "1.0 MB");
    EXPECT_EQ(FormatFileSize(1572864), "1.5 MB");
    EXPECT_EQ(FormatFileSize(int64_t{5} << 30), "5120.0 MB");
    // A window's decimal point, also one of several bytes.
    EXPECT_EQ(FormatFileSize(1572864, ","), "1,5 MB");
    EXPECT_EQ(FormatFileSize(1048575, "\xd9\xab"), "1024\xd9\xab"
                                                   "0 KB");
}

TEST(UtilitiesTest, FormatDiskFreeSpace) {
    constexpr uint64_t gib = uint64_t{1} << 30;
    EXPECT_EQ(FormatDiskFreeSpace(0), "0.00 MB Free");
    EXPECT_EQ(FormatDiskFreeSpace(gib - 1024), "1024.00 MB Free");
    EXPECT_EQ(FormatDiskFreeSpace(gib - 1023), "1.00 GB Free");
    EXPECT_EQ(FormatDiskFreeSpace(gib * 3 / 2), "1.50 GB Free");
}

TEST(UtilitiesTest, GetDiskFreeSpaceText) {
    test::TempDir dir;
    const std::string text = GetDiskFreeSpaceText(dir.path().string());
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d+\.\d\d [GM]B Free)"))) << text;
    EXPECT_EQ(GetDiskFreeSpaceText(dir.file("missing/folder")), "Unknown");
}

TEST(UtilitiesTest, IsNumber) {
    EXPECT_FALSE(IsNumber(""));
    EXPECT_TRUE(IsNumber("007"));
    EXPECT_FALSE(IsNumber("+7"));
    EXPECT_FALSE(IsNumber("7 "));
}

TEST(UtilitiesTest, GetLocalFileSizeOfOneFile) {
    test::TempDir dir;
    EXPECT_EQ(GetLocalFileSize(dir.write("a.txt", "12345")), 5);
    EXPECT_EQ(GetLocalFileSize(dir.write("empty", "")), 0);
    EXPECT_EQ(GetLocalFileSize(dir.file("missing")), -1);
    EXPECT_EQ(GetLocalFileSize(dir.path().string()), -1);

    const auto big = dir.write("big.img", "");
    std::filesystem::resize_file(big, uint64_t{5} << 30); // sparse
    EXPECT_EQ(GetLocalFileSize(big), int64_t{5} << 30);
}

TEST(UtilitiesTest, GetLocalFileSizeWithWildcards) {
    test::TempDir dir;
    dir.write("b.txt", "bb");
    dir.write("a.txt", "a");
    dir.write("c.log", "ccc");
    dir.write(".hidden.txt", "hhhh");
    dir.write("caf\xC3\xA9", "55555");
    std::filesystem::create_directory(dir.path() / "folder.dat");
    const auto in = [&](std::string_view pattern) { return dir.file(pattern); };

    EXPECT_EQ(GetLocalFileSize(in("*.txt")), 4); // ".hidden.txt" comes first by name
    EXPECT_EQ(GetLocalFileSize(in("?.txt")), 1);
    EXPECT_EQ(GetLocalFileSize(in("*.log")), 3);
    EXPECT_EQ(GetLocalFileSize(in("caf?")), 5);
    EXPECT_EQ(GetLocalFileSize(in("*.dat")), -1);
    EXPECT_EQ(GetLocalFileSize(in("*.none")), -1);
    EXPECT_EQ(GetLocalFileSize(in("missing/*")), -1);
    // Only "*" and "?" are wildcards.
    EXPECT_EQ(GetLocalFileSize(in("[ab].txt")), -1);
}

TEST(UtilitiesTest, AddTrailingSeparator) {
    std::string path;
    AddTrailingSeparator(path);
    EXPECT_EQ(path, "/");
    path = "/home/user";
    AddTrailingSeparator(path);
    EXPECT_EQ(path, "/home/user/");
    AddTrailingSeparator(path);
    EXPECT_EQ(path, "/home/user/");
}

TEST(UtilitiesTest, IsDriveRoot) {
    EXPECT_TRUE(IsDriveRoot("/"));
    EXPECT_FALSE(IsDriveRoot(""));
    EXPECT_FALSE(IsDriveRoot("/home"));
    EXPECT_FALSE(IsDriveRoot("c:\\"));
}

TEST(UtilitiesTest, SplitString) {
    std::vector<std::string> list{"old"};
    SplitString(";;a;;b;", ";", list);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b"}));
    SplitString("", ";", list);
    EXPECT_TRUE(list.empty());
    SplitString("one two,three", " ,", list);
    EXPECT_EQ(list, (std::vector<std::string>{"one", "two", "three"}));
}

TEST(UtilitiesTest, Utf8CharLength) {
    EXPECT_EQ(Utf8CharLength("a", 0), 1u);
    EXPECT_EQ(Utf8CharLength("\xC3\xA9", 0), 2u);
    EXPECT_EQ(Utf8CharLength("\xEC\x9B\x94", 0), 3u);
    EXPECT_EQ(Utf8CharLength("\xF0\x9F\x98\x80", 0), 4u);
    // Truncated, overlong, surrogate, beyond U+10FFFF, lone continuation.
    EXPECT_EQ(Utf8CharLength("\xE2\x82", 0), 1u);
    EXPECT_EQ(Utf8CharLength("\xC0\x80", 0), 1u);
    EXPECT_EQ(Utf8CharLength("\xE0\x80\x80", 0), 1u);
    EXPECT_EQ(Utf8CharLength("\xED\xA0\x80", 0), 1u);
    EXPECT_EQ(Utf8CharLength("\xF4\x90\x80\x80", 0), 1u);
}

TEST(UtilitiesTest, TimeZoneOffsetsReadAndWritten) {
    const std::pair<std::string_view, std::optional<int>> cases[] = {
        {"+02:00", 120}, {"-05:30", -330}, {"3", 180},     {"-0:45", -45},   {"24:00", 1440},
        {"24:01", {}},   {"+1:60", {}},    {"1:5", {}},    {"", {}},         {"+", {}},
        {"1:30x", {}},   {"--1", {}},      {"100:00", {}}, {"01:00:00", {}},
    };
    for (const auto& [text, minutes] : cases) {
        EXPECT_EQ(ParseTimeZoneOffset(text), minutes) << text;
    }
    for (const int minutes : {0, 120, -330, -45, 1440}) {
        EXPECT_EQ(ParseTimeZoneOffset(TimeZoneOffsetText(minutes)), minutes);
    }
    EXPECT_EQ(TimeZoneOffsetText(-330), "-05:30");
}

// A translated format may put the parts in another order; what an argument brings along is
// not filled again.
TEST(UtilitiesTest, FormatTextFillsEachNumberOnce) {
    EXPECT_EQ(FormatText("%2 of %1", {"a", "b"}), "b of a");
    EXPECT_EQ(FormatText("[%1] %2", {"%2", "x"}), "[%2] x");
    EXPECT_EQ(FormatText("%1%% %3 %", {"5"}), "5%% %3 %");
    EXPECT_EQ(FormatText("", {"a"}), "");
}

} // namespace
} // namespace qx
