// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/RemoteFind.h"

#include "base/LocaleTextCompare.h"
#include "base/QuantityText.h"
#include "remote/FindFields.h"
#include "remote/FindSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>

using namespace qx;

namespace {

TFTPListItem Entry(const std::string& name, std::int64_t size, int year = 2026) {
    TFTPListItem item;
    item.Name = name;
    item.IsFile = size >= 0;
    item.Size = size;
    item.Year = year;
    item.Month = 6;
    item.Day = 1;
    item.TimePrecision = TTimePrecision::Day;
    return item;
}

TFTPListItem Link(const std::string& name) {
    TFTPListItem item = Entry(name, -1);
    item.IsLink = true;
    return item;
}

using Listings = std::map<std::string, std::vector<TFTPListItem>>;

// Runs the search over listings by folder path; a folder without one cannot be listed.
std::vector<std::string> Search(TRemoteFind& find, const Listings& listings) {
    std::vector<std::string> found;
    while (const auto folder = find.NextFolder()) {
        const auto listing = listings.find(*folder);
        if (listing == listings.end()) {
            find.NotListed();
            continue;
        }
        TFTPListItems items;
        for (const TFTPListItem& item : listing->second) {
            items.Add(std::make_unique<TFTPListItem>(item));
        }
        for (const TFoundEntry& entry : find.Listed(items)) {
            found.push_back(entry.Path);
        }
    }
    return found;
}

} // namespace

TEST(QuantityText, ByteCountsAndMomentsAsPeopleWriteThem) {
    EXPECT_EQ(ParseByteCount("1500"), 1500);
    EXPECT_EQ(ParseByteCount("500K"), 500 * 1024);
    EXPECT_EQ(ParseByteCount("1.5g"), 1536LL * 1024 * 1024);
    EXPECT_EQ(ParseByteCount("2MiB"), 2 * 1024 * 1024);
    EXPECT_EQ(ParseByteCount("8T"), 8LL << 40);
    for (const char* wrong : {"", "K", "-1", "2X", "1e30", "nan", "5 M", "9999999T"}) {
        EXPECT_FALSE(ParseByteCount(wrong)) << wrong;
    }
    ::setenv("TZ", "UTC", 1);
    EXPECT_EQ(ParseLocalMoment("2026-12-01"), 1796083200);
    EXPECT_EQ(ParseLocalMoment("2026-12-01 14:30"), 1796083200 + 14 * 3600 + 30 * 60);
    EXPECT_EQ(ParseLocalMoment("2026-12-01T14:30:05"), 1796083200 + 14 * 3600 + 30 * 60 + 5);
    for (const char* wrong : {"2026-02-30", "2026-12-1", "2026-12-01 25:00", "2026-12-01 14",
                              "2026-12-01 14:30:", "yesterday", "2026-12-01x"}) {
        EXPECT_FALSE(ParseLocalMoment(wrong)) << wrong;
    }
    ::unsetenv("TZ");
}

TEST(RemoteFind, WalksLevelByLevelWithinTheDepthAndMatchesEveryCriterion) {
    const Listings listings = {
        {"/top",
         {Entry("a.log", 5000), Entry("b.txt", 10), Entry("logs", -1), Link("loop"),
          Entry("..", -1), Entry("old.log", 100, 2019)}},
        {"/top/logs", {Entry("c.log", 20), Entry("deeper", -1), Entry("broken", -1)}},
        {"/top/logs/deeper", {Entry("d.log", 30)}},
    };
    TFindCriteria names;
    names.Names.SetMasks("*.log");
    TRemoteFind all("/top", names);
    EXPECT_EQ(Search(all, listings),
              (std::vector<std::string>{"/top/a.log", "/top/old.log", "/top/logs/c.log",
                                        "/top/logs/deeper/d.log"}));
    EXPECT_EQ(all.FoldersListed(), 3u); // not the link, not "..", not the broken folder

    TFindCriteria shallow;
    shallow.MaxDepth = 1;
    shallow.LargerThan = 15;
    shallow.OlderThan = 1735689600; // 2025-01-01 UTC
    TRemoteFind limited("/top", shallow);
    EXPECT_EQ(Search(limited, listings), (std::vector<std::string>{"/top/old.log"}));
    EXPECT_EQ(limited.FoldersTooDeep(), 2u);
}

TEST(FindFields, TheFormsTextsBecomeCriteriaOrTellWhatIsWrong) {
    TFindFields fields;
    fields.Masks = "*.txt;*.log";
    fields.LargerThan = " 1.5K ";
    fields.SmallerThan = "2M";
    fields.MaxDepth = 99;
    TFindFieldsResult result = FindCriteriaOf(fields);
    ASSERT_EQ(result.Problem, TFindFieldProblem::None);
    EXPECT_TRUE(result.Criteria.Names.Matches("a.log"));
    EXPECT_FALSE(result.Criteria.Names.Matches("a.bin"));
    EXPECT_EQ(result.Criteria.LargerThan, 1536);
    EXPECT_EQ(result.Criteria.SmallerThan, 2 * 1024 * 1024);
    EXPECT_EQ(result.Criteria.MaxDepth, kMaxRecursionDepth);
    // Blank fields ask for nothing: every entry matches.
    result = FindCriteriaOf({});
    ASSERT_EQ(result.Problem, TFindFieldProblem::None);
    EXPECT_TRUE(FindMatches(Entry("x", 5), result.Criteria));
    const auto problem = [](auto change) {
        TFindFields wrong;
        change(wrong);
        return FindCriteriaOf(wrong).Problem;
    };
    EXPECT_EQ(problem([](auto& f) { f.Masks = "*.txt; [abc"; }), TFindFieldProblem::BadMasks);
    EXPECT_EQ(problem([](auto& f) { f.LargerThan = "5X"; }), TFindFieldProblem::BadLargerThan);
    EXPECT_EQ(problem([](auto& f) { f.SmallerThan = "-1"; }), TFindFieldProblem::BadSmallerThan);
    // Larger than 10 and smaller than 11 leaves no size.
    EXPECT_EQ(problem([](auto& f) {
                  f.LargerThan = "10";
                  f.SmallerThan = "11";
              }),
              TFindFieldProblem::NoSizeBetween);
    EXPECT_EQ(problem([](auto& f) {
                  f.NewerThan = 1000;
                  f.OlderThan = 1000;
              }),
              TFindFieldProblem::NoTimeBetween);
}

TEST(FindFields, FoundEntriesSortByColumnWithTiesByPath) {
    const TLocaleTextCompare compare;
    const TFoundEntry folder{"/b/dir", Entry("dir", -1, 2024)};
    const TFoundEntry small{"/a/Zed.txt", Entry("Zed.txt", 10, 2025)};
    const TFoundEntry big{"/top.txt", Entry("top.txt", 900, 2023)};
    const TFoundEntry sameName{"/c/Zed.txt", Entry("Zed.txt", 10, 2025)};
    using enum TFoundColumn;
    EXPECT_EQ(FoundFolder(big), "/");
    EXPECT_EQ(FoundFolder(small), "/a");
    EXPECT_LT(CompareFound(folder, small, Size, compare), 0); // folders before files
    EXPECT_LT(CompareFound(small, big, Size, compare), 0);
    EXPECT_LT(CompareFound(big, folder, Modified, compare), 0);
    EXPECT_LT(CompareFound(big, small, Folder, compare), 0);
    EXPECT_LT(CompareFound(folder, big, Name, compare), 0);
    EXPECT_LT(CompareFound(small, sameName, Name, compare), 0);
    EXPECT_GT(CompareFound(sameName, small, Size, compare), 0);
}

TEST(FindSettings, KeepTheLastFieldsAndBoundWhatIsOutOfRange) {
    const qx::test::TempDir dir;
    TConfigStore store(dir.path() / "settings.conf");
    TFindSettings settings;
    settings.LoadFromStore(store); // no key: defaults stay
    EXPECT_EQ(settings.Fields.MaxDepth, kMaxRecursionDepth);
    settings.Fields.Masks = "*.txt;*.log";
    settings.Fields.LargerThan = "2M";
    settings.Fields.Subfolders = false;
    settings.Width = 900;
    settings.SaveToStore(store);
    store.WriteNumber(FindFilesKey, "MaxDepth", 500);
    store.WriteNumber(FindFilesKey, "Height", 3);
    TFindSettings reloaded;
    reloaded.LoadFromStore(store);
    EXPECT_EQ(reloaded.Fields.Masks, "*.txt;*.log");
    EXPECT_EQ(reloaded.Fields.LargerThan, "2M");
    EXPECT_FALSE(reloaded.Fields.Subfolders);
    EXPECT_EQ(reloaded.Fields.MaxDepth, kMaxRecursionDepth);
    EXPECT_EQ(reloaded.Width, 900);
    EXPECT_EQ(reloaded.Height, 200);
}
