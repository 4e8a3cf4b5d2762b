// SPDX-License-Identifier: GPL-3.0-or-later
#include "HumanListing.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qx::cli {
namespace {

TEST(HumanListingTest, ReadableSizesRoundUpAsLsDoes) {
    EXPECT_EQ(ReadableSize(0), "0");
    EXPECT_EQ(ReadableSize(1023), "1023");
    EXPECT_EQ(ReadableSize(1024), "1.0K");
    EXPECT_EQ(ReadableSize(1025), "1.1K");
    EXPECT_EQ(ReadableSize(1536), "1.5K");
    EXPECT_EQ(ReadableSize(10 * 1024 - 1), "10K");
    EXPECT_EQ(ReadableSize(10 * 1024 + 1), "11K");
    EXPECT_EQ(ReadableSize(1024 * 1024 - 1), "1.0M");
    EXPECT_EQ(ReadableSize(5LL * 1024 * 1024 * 1024), "5.0G"); // past 4 GiB
    EXPECT_EQ(ReadableSize(INT64_MAX), "8.0E");
    EXPECT_EQ(ReadableSize(-1), "-");
}

std::unique_ptr<TFTPListItem> Entry(std::string name, bool file, std::int64_t size, int year,
                                    int month, int day, int hour, int minute) {
    auto item = std::make_unique<TFTPListItem>();
    item->Name = std::move(name);
    item->IsFile = file;
    item->Size = file ? size : -1;
    item->Permission = file ? "-rw-r--r--" : "drwxr-xr-x";
    item->Year = year;
    item->Month = month;
    item->Day = day;
    item->Hour = hour;
    item->Minute = minute;
    return item;
}

TEST(HumanListingTest, ColumnsAlignAndOldEntriesShowTheirYear) {
    TFTPListItems items;
    items.Add(Entry("recent.txt", true, 5, 2026, 11, 3, 9, 5));
    items.Add(Entry("old.tar", true, 123456789, 2024, 2, 29, 23, 59));
    items.Add(Entry("future", true, 1, 2027, 1, 1, 0, 0));
    items.Add(Entry("folder", false, 0, 2026, 12, 1, 12, 0));
    auto link = Entry("latest", false, 0, 2026, 12, 2, 8, 30);
    link->IsLink = true;
    link->Permission = "lrwxrwxrwx";
    link->LinkTo = "releases/2.0";
    items.Add(std::move(link));
    items.Add(Entry("undated", true, 7, 0, 0, 0, -1, -1));

    std::ostringstream out;
    PrintHumanListing(items, {.ReadableSizes = false, .CurrentYear = 2026, .CurrentMonth = 12},
                      out);
    EXPECT_EQ(out.str(), "-rw-r--r--         5 Nov  3 09:05 recent.txt\n"
                         "-rw-r--r-- 123456789 Feb 29  2024 old.tar\n"
                         "-rw-r--r--         1 Jan  1  2027 future\n"
                         "drwxr-xr-x         - Dec  1 12:00 folder\n"
                         "lrwxrwxrwx         - Dec  2 08:30 latest -> releases/2.0\n"
                         "-rw-r--r--         7 ?            undated\n");
}

// A name that holds the four characters "\x00" and one that holds a NUL look different.
TEST(HumanListingTest, BackslashesAreEscapedSoThatNoNameLooksLikeAnother) {
    TFTPListItems items;
    items.Add(Entry("a\\x00", true, 1, 2026, 1, 1, 0, 0));
    items.Add(Entry(std::string("a\0", 2), true, 1, 2026, 1, 1, 0, 0));
    items.Add(Entry("tab\there", true, 1, 2026, 1, 1, 0, 0));
    std::ostringstream out;
    PrintHumanListing(items, {.ReadableSizes = false, .CurrentYear = 2026, .CurrentMonth = 1}, out);
    EXPECT_EQ(out.str(), "-rw-r--r-- 1 Jan  1 00:00 a\\\\x00\n"
                         "-rw-r--r-- 1 Jan  1 00:00 a\\x00\n"
                         "-rw-r--r-- 1 Jan  1 00:00 tab\\there\n");
}

} // namespace
} // namespace qx::cli
