// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ListDecoder.h"
#include "base/ShellIcons.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

namespace qx {
namespace {

// Icons that tell which name they were asked about.
class TNameIcons : public TShellIcons {
public:
    TNameIcons() : TShellIcons(false) { FolderTypeName = "Folder!"; }
    int GetIconIndex(const std::string& name) const override {
        return 100 + static_cast<int>(name.size());
    }
    std::string GetTypeName(const std::string& name) const override { return "type " + name; }
};

class ListDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_TIME, "C"); }

    TFTPListItems Decode(std::string_view bytes) {
        TFTPListItems list;
        DecodeListing(bytes, list, {.Icons = &m_icons, .CurrentYear = 2001});
        return list;
    }

    TNameIcons m_icons;
};

struct TExpected {
    std::string_view Line;
    std::string_view Name;
    bool IsFile;
    int64_t Size;
    int Year, Month, Day, Hour, Minute;
};

TEST_F(ListDecoderTest, OneLineEach) {
    const TExpected cases[] = {
        {"drwxr-xr-x   2 owner    group        4096 Mar 15 14:02 public_html", "public_html", false,
         -1, 2001, 3, 15, 14, 2},
        {"-rw-r--r--   1 owner    group      123456 Nov  3  1999 archive.tar.gz", "archive.tar.gz",
         true, 123456, 1999, 11, 3, 0, 0},
        {"-rw-r--r--   1 owner      1234 Feb 28 10:00 notes.txt", "notes.txt", true, 1234, 2001, 2,
         28, 10, 0},
        {"drwxr-xr-x folder        3 Jun 30 23:59 Applications", "Applications", false, -1, 2001, 6,
         30, 23, 59},
        {"-rw-r--r--   1 owner    group  2048 3\xBF\xF9 15\xC0\xCF 14:02 memo.txt", "memo.txt",
         true, 2048, 2001, 3, 15, 14, 2},
        {"-rw-r--r--   1 owner    group  2048 3\xEC\x9B\x94 15\xEC\x9D\xBC 14:02 memo.txt",
         "memo.txt", true, 2048, 2001, 3, 15, 14, 2},
        {"-rw-r--r--   1 owner    group    10 Apr  1 08:00 my file.txt", "my file.txt", true, 10,
         2001, 4, 1, 8, 0},
        {"-rw-r--r-- 1 o g 10 Apr  1 08:00    two  blanks  ", "two  blanks  ", true, 10, 2001, 4, 1,
         8, 0},
        {"-rw-r--r-- 1 owner 1234 Jan notes", "notes", true, 1234, 0, 1, 0, 0, 0},
        {"-rw-r--r-- 1 o g 1 MAR 15 1999 upper", "upper", true, 1, 1999, 0, 15, 0, 0},
        {"-rw-r--r-- 1 o g 1 mar 15 1999 lower", "lower", true, 1, 1999, 0, 15, 0, 0},
        {"-rw-r--r-- 1 o g 1 3 15 1999 bare", "bare", true, 1, 1999, 0, 15, 0, 0},
        {"-rw-r--r-- 1 o g 1 Mar 15 ab:cd digitless", "digitless", true, 1, 2001, 3, 15, 0, 0},
        {"-rw-r--r-- 1 o g 1 Mar 15 20O1 letter", "letter", true, 1, 0, 3, 15, 0, 0},
        {"-rw-r--r-- 1 o g 5368709120 Mar 15 14:02 big", "big", true, 5368709120, 2001, 3, 15, 14,
         2},
        {"-rw-r--r-- 1 o g 9223372036854775808 Mar 15 14:02 over", "over", true, 0, 2001, 3, 15, 14,
         2},
        {"03-15-99  02:05PM       <DIR>          Backup", "Backup", false, -1, 1999, 3, 15, 14, 5},
        {"11-03-99  09:41AM               123456 report.doc", "report.doc", true, 123456, 1999, 11,
         3, 9, 41},
        {"11-03-99  09:41AM                 2048 my notes.txt", "my notes.txt", true, 2048, 1999,
         11, 3, 9, 41},
        {"11-03-99  09:41AM       <DIR>          ..", "..", false, -1, 1999, 11, 3, 9, 41},
        {"01-01-00  12:00AM  1 midnight", "midnight", true, 1, 2000, 1, 1, 0, 0},
        {"01-01-69  12:30PM  1 noon", "noon", true, 1, 2069, 1, 1, 12, 30},
        {"01-01-70  11:59PM  1 late", "late", true, 1, 1970, 1, 1, 23, 59},
        {"12-31-99  14:05    1 military", "military", true, 1, 1999, 12, 31, 14, 5},
        {"12-31-99  01:00pm  1,234 lowercase", "lowercase", true, 0, 1999, 12, 31, 1, 0},
        {"12-31-99  xx:yyPM  1 nohour", "nohour", true, 1, 1999, 12, 31, 0, 0},
        {"03-15-99  02:05PM  5368709120 big", "big", true, 5368709120, 1999, 3, 15, 14, 5},
        {"03-15-99  02:05PM  99999999999999999999 huge", "huge", true, 0, 1999, 3, 15, 14, 5},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.Line);
        const auto list = Decode(expected.Line);
        ASSERT_EQ(list.Count(), 1u);
        const auto& item = list[0];
        EXPECT_EQ(item.Name, expected.Name);
        EXPECT_EQ(item.IsFile, expected.IsFile);
        EXPECT_FALSE(item.IsLink);
        EXPECT_EQ(item.Size, expected.Size);
        EXPECT_EQ(item.Year, expected.Year);
        EXPECT_EQ(item.Month, expected.Month);
        EXPECT_EQ(item.Day, expected.Day);
        EXPECT_EQ(item.Hour, expected.Hour);
        EXPECT_EQ(item.Minute, expected.Minute);
        const bool dos = expected.Line[2] == '-';
        if (dos) {
            EXPECT_EQ(item.Permission, item.IsFile ? "----------" : "d---------");
        } else {
            EXPECT_EQ(item.Permission, expected.Line.substr(0, 10));
        }
        EXPECT_EQ(item.ImageIndex,
                  item.IsFile ? 100 + static_cast<int>(item.Name.size()) : m_icons.FolderIconIndex);
        EXPECT_EQ(item.TypeName, item.IsFile ? "type " + item.Name : "Folder!");
        EXPECT_FALSE(list.HasLinks);
    }
}

TEST_F(ListDecoderTest, Links) {
    const auto list =
        Decode("lrwxrwxrwx   1 root     root           11 Jan  5 09:30 www -> public_html\n"
               "lrwxrwxrwx 1 root root 5 Jan  5 09:30 a -> b -> c\n"
               "-rw-r--r-- 1 o g 7 Jan  5 09:30 x -> y\n");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_TRUE(list.HasLinks);
    EXPECT_EQ(list[0].Name, "www");
    EXPECT_EQ(list[0].LinkTo, "public_html");
    EXPECT_TRUE(list[0].IsLink);
    EXPECT_FALSE(list[0].IsFile);
    EXPECT_EQ(list[0].Size, -1);
    EXPECT_EQ(list[0].TypeName, "Folder!");
    EXPECT_EQ(list[1].Name, "a");
    EXPECT_EQ(list[1].LinkTo, "b -> c");
    // A file showing an arrow is split too, and stays a file.
    EXPECT_EQ(list[2].Name, "x");
    EXPECT_EQ(list[2].LinkTo, "y");
    EXPECT_EQ(list[2].Size, 7);
}

TEST_F(ListDecoderTest, LinesThatGiveNoItem) {
    const auto list = Decode("total 24\r\n"
                             "drwxr-xr-x   2 owner    group   512 Mar 15 14:02 .\r\n"
                             "drwxr-xr-x   2 owner    group   512 Mar 15 14:02 ..\r\n"
                             "-rwSr--r--   1 owner    group   512 Mar 15 14:02 capital\r\n"
                             "drwxrwxrwT   1 owner    group   512 Mar 15 14:02 capitalT\r\n"
                             "crw-r--r--   1 owner    group   512 Mar 15 14:02 device\r\n"
                             "-rw-r--r--x  1 owner    group   512 Mar 15 14:02 eleven\r\n"
                             "\t-rw-r--r-- 1 o g 1 Mar 15 14:02 tabbed\r\n"
                             "03-15-1999  02:05PM  <DIR> longyear\r\n"
                             "-rw-r--r-- 1 owner group 1234 Jan 5 2001   \r\n"
                             "-rw-r--r-- 1\r\n"
                             "03-15-99  02:05PM       <DIR>   \r\n"
                             "          \r\n"
                             "Welcome\r\n");
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(ListDecoderTest, LineEndsAndCtrlZ) {
    const std::string line = "-rw-r--r-- 1 o g 1 Mar 15 14:02 ";
    auto list = Decode(line + "cr\r" + line + "lf\n" + line + "crlf\r\n" + "\r\n\n\r" + line +
                       "lfcr\n\r" + line + "last");
    ASSERT_EQ(list.Count(), 5u);
    EXPECT_EQ(list[0].Name, "cr");
    EXPECT_EQ(list[1].Name, "lf");
    EXPECT_EQ(list[2].Name, "crlf");
    EXPECT_EQ(list[3].Name, "lfcr");
    EXPECT_EQ(list[4].Name, "last");

    list = Decode(line + "before\r\n" + line + "cut\x1A" + "after\r\n" + line + "gone");
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[1].Name, "cut");
}

TEST_F(ListDecoderTest, MixedFormatsAndGarbage) {
    std::string listing = "220-banner\r\n"
                          "drwxr-xr-x   2 owner    group        4096 Mar 15 14:02 public_html\r\n";
    listing += std::string("\0\xFF\xFE garbage\r\n", 13);
    listing += "03-15-99  02:05PM       <DIR>          Backup\r\n"
               "   -rw-r--r-- 1 o g 1 Mar 15 14:02 caf\xE9\r\n";
    const auto list = Decode(listing);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0].Name, "public_html");
    EXPECT_EQ(list[1].Name, "Backup");
    EXPECT_EQ(list[2].Name, "caf\xE9");
}

TEST_F(ListDecoderTest, DateAndTimeTextsOnlyForValidValues) {
    const auto list = Decode("-rw-r--r-- 1 o g 1 Mar 15 14:02 ok\n"
                             "-rw-r--r-- 1 o g 1 Feb 29 2000 leap\n"
                             "-rw-r--r-- 1 o g 1 Feb 29 1900 notleap\n"
                             "-rw-r--r-- 1 o g 1 Jan  1 1600 early\n"
                             "-rw-r--r-- 1 o g 1 Dec 31 30827 last\n"
                             "-rw-r--r-- 1 o g 1 Jan  1 30828 late\n"
                             "-rw-r--r-- 1 o g 1 Jan 32 24:00 day32\n"
                             "-rw-r--r-- 1 o g 1 Jan  5 23:60 minute60\n"
                             "02-30-01  01:00PM  1 feb30\n");
    ASSERT_EQ(list.Count(), 9u);
    const char* dates[] = {"03/15/01", "02/29/00", "", "", "12/31/27", "", "", "01/05/01", ""};
    const char* times[] = {"14:02:00", "00:00:00", "00:00:00", "00:00:00", "00:00:00",
                           "00:00:00", "",         "",         "13:00:00"};
    for (std::size_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list[i].DateText, dates[i]) << list[i].Name;
        EXPECT_EQ(list[i].TimeText, times[i]) << list[i].Name;
    }
}

TEST_F(ListDecoderTest, DecodeListFileReadsAppendsAndDeletes) {
    test::TempDir dir;
    const auto path = dir.write("abcdefgh.tmp", "-rw-r--r-- 1 o g 1 Mar 15 14:02 a.zzq\r\n");
    TFTPListItems list;
    list.Add(std::make_unique<TFTPListItem>());
    EXPECT_TRUE(DecodeListFile(path, list));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[1].Name, "a.zzq");
    EXPECT_EQ(list[1].TypeName, SharedShellIcons().GetTypeName("a.zzq"));
}

TEST_F(ListDecoderTest, DecodeListFileLeavesWhatItCannotRead) {
    test::TempDir dir;
    TFTPListItems list;
    EXPECT_FALSE(DecodeListFile(dir.file("missing.tmp"), list));
    const auto folder = dir.file("folder.tmp"); // opens, but cannot be read
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(DecodeListFile(folder, list));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(list.Count(), 0u);
}

// A hostile server can send one endless line: it is skipped and reported, and the lines around
// it, some cut by the reads of the file (a CR LF among them), still decode.
TEST_F(ListDecoderTest, OverlongLinesAreSkippedAndLinesSpanningReadsDecode) {
    test::TempDir dir;
    std::string listing = "-rw-r--r-- 1 o g 1 Mar 15 14:02 first.txt\r\n";
    listing += "-rw-r--r-- 1 o g 2 Mar 15 14:02 " + std::string(3 * 1024 * 1024, 'x') + "\r\n";
    // The next line's CR falls on the last byte of a 256 KiB read, its LF on the next one.
    const std::string spanning = "-rw-r--r-- 1 o g 3 Mar 15 14:02 spanning.txt";
    const std::size_t piece = 256 * 1024;
    const std::size_t pad = (2 * piece - (listing.size() + spanning.size() + 2) % piece) % piece;
    for (std::size_t i = 0; i < pad; ++i) {
        listing += i % 100 == 99 ? '\n' : ' '; // short lines of blanks, which decode to nothing
    }
    listing += "\n" + spanning + "\r\n";
    listing += "-rw-r--r-- 1 o g 4 Mar 15 14:02 " + std::string(kMaxListingLine - 33, 'k') + "\n";
    listing += "-rw-r--r-- 1 o g 5 Mar 15 14:02 last.txt";
    const auto path = dir.write("abcdefgh.tmp", listing);
    TFTPListItems list;
    TListDecodeReport report;
    ASSERT_TRUE(DecodeListFile(path, list, &report));
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list[0].Name, "first.txt");
    EXPECT_EQ(list[1].Name, "spanning.txt");
    EXPECT_EQ(list[2].Size, 4); // a line of exactly the limit is kept
    EXPECT_EQ(list[2].Name.size(), kMaxListingLine - 33);
    EXPECT_EQ(list[3].Name, "last.txt");
    EXPECT_EQ(report.SkippedLongLines, 1u);

    // In one piece the rule is the same; an endless last line is skipped as well.
    TFTPListItems whole;
    TListDecodeReport wholeReport;
    DecodeListing("-rw-r--r-- 1 o g 1 Mar 15 14:02 a\n" + std::string(kMaxListingLine + 1, 'y'),
                  whole, {.Icons = &m_icons, .CurrentYear = 2001}, &wholeReport);
    ASSERT_EQ(whole.Count(), 1u);
    EXPECT_EQ(wholeReport.SkippedLongLines, 1u);
}

TEST(FTPListItemsTest, DeleteHandsOverTheItem) {
    TFTPListItems list;
    for (const char* name : {"a", "b", "c"}) {
        auto item = std::make_unique<TFTPListItem>();
        item->Name = name;
        list.Add(std::move(item));
    }
    TFTPListItem* b = &list[1];
    EXPECT_EQ(list.IndexOf(b), 1);
    auto removed = list.Delete(1);
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(list.IndexOf(b), -1);
    EXPECT_EQ(list.Items(1).Name, "c");
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(removed->Name, "b");
}

} // namespace
} // namespace qx
