// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace qx {
namespace {

// The tests run in a zone two hours east of UTC, so that local and UTC times differ.
class ListTimesTest : public ::testing::Test {
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

    TFTPListItem Decode(std::string_view line, TListingFormat format = TListingFormat::List,
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

// 2025-12-10 09:30:00 UTC
constexpr std::int64_t kDec10At0930 = 1765359000;

TEST_F(ListTimesTest, PrecisionAndUtcTimeOfEachKindOfLine) {
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
        const TFTPListItem item = Decode(c.Line, c.Format, c.Offset);
        EXPECT_EQ(item.TimePrecision, c.Precision) << c.Line;
        EXPECT_EQ(EntryUtcTime(item, c.Offset), c.Utc) << c.Line;
    }
    // The machine listing's fields hold local time, with its seconds.
    const TFTPListItem exact = Decode("type=file;modify=20251210093007; a", TListingFormat::Mlsd);
    EXPECT_EQ(exact.Hour, 11);
    EXPECT_EQ(exact.Second, 7);
}

TEST_F(ListTimesTest, AnOffsetMovesTheShownListTimeButNotTheFields) {
    const TFTPListItem item = Decode("-rw-r--r-- 1 o g 5 Jan  1 00:30 a", TListingFormat::List, 60);
    EXPECT_EQ(item.Year, 2025);
    EXPECT_EQ(item.Hour, 0);
    EXPECT_EQ(item.DateText, "12/31/24");
    EXPECT_EQ(item.TimeText, "23:30:00");
    const TFTPListItem day = Decode("-rw-r--r-- 1 o g 5 Jan  1  2024 a", TListingFormat::List, 60);
    EXPECT_EQ(day.DateText, "01/01/24"); // a day alone is not moved
}

} // namespace
} // namespace qx
