// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"
#include "engine/MlsdFacts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

namespace qx {
namespace {

// Times are shown in local time: the tests run in a zone two hours east of UTC.
class MlsdListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::setlocale(LC_TIME, "C");
        const char* zone = std::getenv("TZ");
        m_savedZone = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
        ::setenv("TZ", "UTC-2", 1);
        ::tzset();
    }
    void TearDown() override {
        if (m_savedZone) {
            ::setenv("TZ", m_savedZone->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

    TFTPListItems Decode(std::string_view bytes) {
        TFTPListItems list;
        DecodeListing(bytes, list, {.Icons = &m_icons, .Format = TListingFormat::Mlsd});
        return list;
    }

    // One line of either format, with the server's time-zone offset.
    TFTPListItem DecodeOne(std::string_view line, TListingFormat format = TListingFormat::List,
                           int offset = 0) {
        TFTPListItems list;
        DecodeListing(line, list,
                      {.Icons = &m_icons,
                       .CurrentYear = 2025,
                       .Format = format,
                       .TimeZoneOffsetMinutes = offset});
        EXPECT_EQ(list.Count(), 1u) << line;
        return list.Count() == 1 ? list[0] : TFTPListItem{};
    }

    TShellIcons m_icons{false};
    std::optional<std::string> m_savedZone;
};

TEST_F(MlsdListingTest, FactsFillTheItems) {
    const TFTPListItems list =
        Decode("type=cdir;modify=20260101000000; .\r\n"
               "type=pdir;modify=20260101000000; ..\r\n"
               "type=file;size=5000000000;modify=20261231223059.123;unix.mode=0644;UNIX.owner=joe; "
               "big file.iso\r\n"
               "Type=Dir;Modify=19991231230000;Unix.Mode=2755; src\r\n"
               "type=OS.unix=slink:/srv/data;modify=20260102030405; data\r\n"
               "type=OS.unix=chr-12/4;modify=20260101000000; tty0\r\n"
               "size=12; no type\r\n");
    ASSERT_EQ(list.Count(), 3u);

    const TFTPListItem& file = list[0];
    EXPECT_EQ(file.Name, "big file.iso");
    EXPECT_TRUE(file.IsFile);
    EXPECT_FALSE(file.IsLink);
    EXPECT_EQ(file.Size, 5000000000LL); // past 4 GiB
    EXPECT_EQ(file.Permission, "-rw-r--r--");
    // 22:30 UTC on New Year's Eve is 00:30 of the next year two hours east.
    EXPECT_EQ(file.Year, 2027);
    EXPECT_EQ(file.Month, 1);
    EXPECT_EQ(file.Day, 1);
    EXPECT_EQ(file.Hour, 0);
    EXPECT_EQ(file.Minute, 30);
    EXPECT_FALSE(file.DateText.empty());

    const TFTPListItem& folder = list[1];
    EXPECT_EQ(folder.Name, "src");
    EXPECT_FALSE(folder.IsFile);
    EXPECT_EQ(folder.Size, -1);
    EXPECT_EQ(folder.Permission, "drwxr-sr-x");
    EXPECT_EQ(folder.Year, 2000);
    EXPECT_EQ(folder.Hour, 1);

    const TFTPListItem& link = list[2];
    EXPECT_TRUE(link.IsLink);
    EXPECT_FALSE(link.IsFile);
    EXPECT_EQ(link.LinkTo, "/srv/data");
    EXPECT_EQ(link.Size, -1);
    EXPECT_EQ(link.Permission, "l---------");
    EXPECT_TRUE(list.HasLinks);
}

TEST_F(MlsdListingTest, MissingAndMalformedFactsLeaveNoGuess) {
    const TFTPListItems list = Decode("type=file;size=-5;modify=2026; a\n"
                                      "type=file;size=12x;modify=20261341000000;unix.mode=9; b\n"
                                      "type=file;unix.mode=77777; c\n");
    ASSERT_EQ(list.Count(), 3u);
    for (const auto& item : list) {
        EXPECT_EQ(item->Size, 0) << item->Name;
        EXPECT_TRUE(item->DateText.empty()) << item->Name;
        EXPECT_TRUE(item->TimeText.empty()) << item->Name;
        EXPECT_EQ(item->Permission, "----------") << item->Name;
    }
}

TEST_F(MlsdListingTest, NamesKeepTheirBytes) {
    // Blanks, semicolons and equal signs after the first blank are the name's; bytes that are
    // not UTF-8 stay as they came; a line with no name or no blank gives nothing.
    const TFTPListItems list = Decode("type=file;size=1;  two leading blanks\n"
                                      "type=file;size=1; a;b=c d\n"
                                      "type=file;size=1; caf\xE9\n"
                                      "type=file;size=1;\n"
                                      "type=file;size=1; \n"
                                      "type=dir; .\n");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0].Name, " two leading blanks");
    EXPECT_EQ(list[1].Name, "a;b=c d");
    EXPECT_EQ(list[2].Name, "caf\xE9");
}

TEST_F(MlsdListingTest, StreamDecodesLinesSplitAcrossPieces) {
    TFTPListItems list;
    TListDecodeStream stream(list, TListingFormat::Mlsd);
    stream.Feed("type=file;si");
    stream.Feed("ze=42; one\r");
    stream.Feed("\ntype=dir; two");
    stream.Finish();
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0].Size, 42);
    EXPECT_FALSE(list[1].IsFile);
}

// 2025-12-10 09:30:00 UTC
constexpr std::int64_t kDec10At0930 = 1765359000;

TEST_F(MlsdListingTest, PrecisionAndUtcTimeOfEachKindOfLine) {
    using P = TTimePrecision;
    const struct {
        std::string_view Line;
        TListingFormat Format;
        int Offset;
        P Precision;
        std::optional<std::int64_t> Utc;
    } cases[] = {
        {"-rw-r--r-- 1 o g 5 Dec 10 09:30 a", TListingFormat::List, 0, P::Minute, kDec10At0930},
        // A server an hour and a half east of UTC lists 11:00 for 09:30 UTC.
        {"-rw-r--r-- 1 o g 5 Dec 10 11:00 a", TListingFormat::List, 90, P::Minute, kDec10At0930},
        {"-rw-r--r-- 1 o g 5 Dec 10 04:30 a", TListingFormat::List, -300, P::Minute, kDec10At0930},
        {"-rw-r--r-- 1 o g 5 Dec 10  2025 a", TListingFormat::List, 0, P::Day,
         kDec10At0930 - 9 * 3600 - 30 * 60},
        {"12-10-25  09:30AM 5 a", TListingFormat::List, 0, P::Minute, kDec10At0930},
        {"12-10-25  09:30PM 5 a", TListingFormat::List, 0, P::Minute, kDec10At0930 + 12 * 3600},
        // Machine listings are exact and take no offset.
        {"type=file;size=5;modify=20251210093007; a", TListingFormat::Mlsd, 90, P::Second,
         kDec10At0930 + 7},
        {"type=file;size=5; a", TListingFormat::Mlsd, 0, P::Unknown, std::nullopt},
        {"-rw-r--r-- 1 o g 5 Foo 10 09:30 a", TListingFormat::List, 0, P::Unknown, std::nullopt},
    };
    for (const auto& c : cases) {
        const TFTPListItem item = DecodeOne(c.Line, c.Format, c.Offset);
        EXPECT_EQ(item.TimePrecision, c.Precision) << c.Line;
        EXPECT_EQ(EntryUtcTime(item, c.Offset), c.Utc) << c.Line;
    }
    // The machine listing's fields hold local time, with its seconds.
    const TFTPListItem exact =
        DecodeOne("type=file;modify=20251210093007; a", TListingFormat::Mlsd);
    EXPECT_EQ(exact.Hour, 11);
    EXPECT_EQ(exact.Second, 7);
}

TEST_F(MlsdListingTest, AnOffsetMovesTheShownListTimeButNotTheFields) {
    const TFTPListItem item =
        DecodeOne("-rw-r--r-- 1 o g 5 Jan  1 00:30 a", TListingFormat::List, 60);
    EXPECT_EQ(item.Year, 2025);
    EXPECT_EQ(item.Hour, 0);
    EXPECT_EQ(item.DateText, "12/31/24");
    EXPECT_EQ(item.TimeText, "23:30:00");
    const TFTPListItem day =
        DecodeOne("-rw-r--r-- 1 o g 5 Jan  1  2024 a", TListingFormat::List, 60);
    EXPECT_EQ(day.DateText, "01/01/24"); // a day alone is not moved
}

TEST(MlsdFactsTest, ModeTextShowsSpecialBitsAsLsDoes) {
    char text[9];
    ModePermissionText(04755, text);
    EXPECT_EQ(std::string(text, 9), "rwsr-xr-x");
    ModePermissionText(01777, text);
    EXPECT_EQ(std::string(text, 9), "rwxrwxrwt");
    ModePermissionText(06644, text);
    EXPECT_EQ(std::string(text, 9), "rwSr-Sr--");
    ModePermissionText(0, text);
    EXPECT_EQ(std::string(text, 9), "---------");
}

} // namespace
} // namespace qx
