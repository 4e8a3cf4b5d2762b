// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncPlan.h"
#include "sync/SyncListings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace qx {
namespace {

constexpr std::int64_t kNoon = 1'765'368'000; // 2025-12-10 12:00:00 UTC

TSyncEntry File(std::string name, std::int64_t size, std::optional<std::int64_t> time,
                TTimePrecision precision = TTimePrecision::Second) {
    return TSyncEntry{std::move(name), false, size, time, precision};
}

TSyncEntry Folder(std::string name) {
    return TSyncEntry{std::move(name), true, 0, kNoon, TTimePrecision::Second};
}

TEST(SyncCompare, TimesCompareByTheSpansTheyAreKnownTo) {
    const auto local = [](std::int64_t at) { return File("f", 1, at); };
    const auto minute = File("f", 1, kNoon, TTimePrecision::Minute);
    const auto day = File("f", 1, kNoon - 12 * 3600, TTimePrecision::Day);
    EXPECT_EQ(CompareTimes(local(kNoon + 59), minute), TTimeOrder::EqualWithinPrecision);
    EXPECT_EQ(CompareTimes(local(kNoon + 60), minute), TTimeOrder::Newer);
    EXPECT_EQ(CompareTimes(local(kNoon - 1), minute), TTimeOrder::Older);
    EXPECT_EQ(CompareTimes(minute, local(kNoon - 1)), TTimeOrder::Newer);
    EXPECT_EQ(CompareTimes(local(kNoon + 11 * 3600), day), TTimeOrder::EqualWithinPrecision);
    EXPECT_EQ(CompareTimes(local(kNoon + 12 * 3600), day), TTimeOrder::Newer);
    EXPECT_EQ(CompareTimes(local(kNoon), local(kNoon)), TTimeOrder::Equal);
    EXPECT_EQ(CompareTimes(local(kNoon), File("f", 1, std::nullopt)), TTimeOrder::Unknown);
    EXPECT_EQ(CompareTimes(local(kNoon), File("f", 1, kNoon, TTimePrecision::Unknown)),
              TTimeOrder::Unknown);
}

TEST(SyncCompare, PairsByExactNameAndMarksEachPair) {
    const std::vector<TSyncEntry> local{File("same", 5, kNoon),       File("mine", 1, kNoon),
                                        File("newer", 5, kNoon + 90), File("Case", 1, kNoon),
                                        File("size", 4, kNoon + 30),  Folder("dir"),
                                        File("kind", 1, kNoon)};
    const std::vector<TSyncEntry> remote{
        File("same", 5, kNoon, TTimePrecision::Minute),
        File("theirs", 1, kNoon),
        File("newer", 5, kNoon),
        File("case", 1, kNoon),
        File("size", 5, kNoon, TTimePrecision::Minute),
        Folder("dir"),
        Folder("kind"),
        File("theirs", 9, kNoon), // named twice: the first one counts
    };
    std::map<std::string, TComparePair> pairs;
    for (auto& pair : CompareFolders(local, remote)) {
        EXPECT_TRUE(pairs.emplace(pair.Name, pair).second) << pair.Name;
    }
    ASSERT_EQ(pairs.size(), 9U);
    EXPECT_EQ(pairs["same"].Mark, TCompareMark::Same);
    EXPECT_TRUE(pairs["same"].Uncertain);
    EXPECT_EQ(pairs["mine"].Mark, TCompareMark::OnlyLocal);
    EXPECT_EQ(pairs["theirs"].Mark, TCompareMark::OnlyRemote);
    EXPECT_EQ(pairs["theirs"].Remote->Size, 1);
    EXPECT_EQ(pairs["newer"].Mark, TCompareMark::NewerLocal);
    EXPECT_EQ(pairs["Case"].Mark, TCompareMark::OnlyLocal);
    EXPECT_EQ(pairs["case"].Mark, TCompareMark::OnlyRemote);
    EXPECT_EQ(pairs["size"].Mark, TCompareMark::SizeDiffers);
    EXPECT_EQ(pairs["dir"].Mark, TCompareMark::Same);
    EXPECT_EQ(pairs["kind"].Mark, TCompareMark::KindDiffers);
}

// What one pair of files plans to, for each direction and criterion.
struct TOneWayRow {
    TSyncDirection Direction;
    TSyncCriteria Criteria;
    TSyncEntry Local;
    TSyncEntry Remote;
    std::optional<TSyncActionKind> Expected; // nothing: alike
};

std::optional<TSyncActionKind> PlanOf(const TOneWayRow& row) {
    TSyncOptions options;
    options.Direction = row.Direction;
    options.Criteria = row.Criteria;
    TSyncPlan plan;
    PlanFolder("", {row.Local}, {row.Remote}, options, nullptr, plan);
    EXPECT_EQ(plan.Actions.size() + plan.InSync.size(), 1U);
    return plan.Actions.empty() ? std::nullopt : std::optional(plan.Actions[0].Kind);
}

TEST(SyncPlan, OneWayFilesFollowTheCriterion) {
    using D = TSyncDirection;
    using C = TSyncCriteria;
    using K = TSyncActionKind;
    const auto older = File("f", 5, kNoon - 600);
    const auto newer = File("f", 5, kNoon + 600);
    const auto larger = File("f", 6, kNoon);
    const auto base = File("f", 5, kNoon);
    const auto listedMinute = File("f", 6, kNoon, TTimePrecision::Minute);
    const auto localInMinute = File("f", 5, kNoon + 30);
    const std::vector<TOneWayRow> rows{
        {D::Upload, C::TimeAndSize, newer, base, K::Upload},
        {D::Upload, C::TimeAndSize, older, base, K::Skip},
        {D::Upload, C::TimeAndSize, base, larger, K::Upload},
        {D::Upload, C::TimeAndSize, localInMinute, listedMinute, K::Upload},
        {D::Upload, C::TimeAndSize, base, base, std::nullopt},
        {D::Upload, C::Time, base, larger, std::nullopt},
        {D::Upload, C::Time, localInMinute, listedMinute, K::Skip},
        {D::Upload, C::Size, older, larger, K::Upload},
        {D::Upload, C::Size, newer, base, std::nullopt},
        {D::Upload, C::Presence, newer, larger, std::nullopt},
        {D::Download, C::TimeAndSize, older, base, K::Download},
        {D::Download, C::TimeAndSize, newer, base, K::Skip},
        {D::Download, C::Time, base, File("f", 9, std::nullopt), K::Skip},
        {D::Download, C::TimeAndSize, base, File("f", 9, std::nullopt), K::Download},
        {D::Download, C::TimeAndSize, base, File("f", 5, std::nullopt), std::nullopt},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(PlanOf(rows[i]), rows[i].Expected) << "row " << i;
    }
}

TEST(SyncPlan, SkippedFilesWaitForTheUserAndCarryTheTransfer) {
    TSyncOptions options;
    TSyncPlan plan;
    PlanFolder("", {File("f", 5, kNoon - 600)}, {File("f", 7, kNoon)}, options, nullptr, plan);
    ASSERT_EQ(plan.Actions.size(), 1U);
    EXPECT_FALSE(plan.Actions[0].Chosen);
    EXPECT_EQ(plan.Actions[0].Alternative, TSyncActionKind::Upload);
    EXPECT_EQ(plan.Actions[0].Bytes, 5);
    EXPECT_EQ(plan.Actions[0].Reason, "the target is newer");
}

// Two trees in memory; a folder named "locked" cannot be listed.
class TTreeLister : public TSyncLister {
public:
    std::map<std::string, std::vector<TSyncEntry>> Local, Remote;

    std::optional<std::vector<TSyncEntry>> ListLocal(const std::string& folder) override {
        return Listing(Local, folder);
    }
    std::optional<std::vector<TSyncEntry>> ListRemote(const std::string& folder) override {
        return Listing(Remote, folder);
    }

private:
    static std::optional<std::vector<TSyncEntry>>
    Listing(const std::map<std::string, std::vector<TSyncEntry>>& tree, const std::string& folder) {
        if (folder.ends_with("locked")) {
            return std::nullopt;
        }
        const auto found = tree.find(folder);
        return found == tree.end() ? std::vector<TSyncEntry>() : found->second;
    }
};

std::vector<std::string> Steps(const TSyncPlan& plan) {
    std::vector<std::string> steps;
    for (const TSyncAction& action : plan.Actions) {
        steps.push_back(std::string(SyncActionCaption(action.Kind)) + " " + action.Path);
    }
    return steps;
}

TEST(SyncPlan, TreesPlanFoldersFirstAndDeletesOnlyWhenAskedAfterTheContent) {
    TTreeLister trees;
    trees.Local[""] = {File("a.txt", 1, kNoon), File("skip.tmp", 1, kNoon), Folder("new")};
    trees.Local["new"] = {File("b.txt", 2, kNoon)};
    trees.Remote[""] = {Folder("old"),           File("gone.txt", 3, kNoon),
                        Folder("locked"),        File("keep.tmp", 1, kNoon),
                        File("../up", 1, kNoon), Folder(".."),
                        File("a/b", 1, kNoon),   File(std::string("nul\0", 4), 1, kNoon)};
    trees.Remote["old"] = {File("c.txt", 4, kNoon), Folder("deeper")};
    trees.Remote["old/deeper"] = {File("d.txt", 5, kNoon)};
    TSyncOptions options;
    options.Exclude.SetMasks("*.tmp");
    EXPECT_EQ(
        Steps(PlanSynchronization(trees, options, nullptr)),
        (std::vector<std::string>{"Upload a.txt", "Create remote folder new", "Upload new/b.txt"}));

    options.DeleteOrphans = true;
    const TSyncPlan plan = PlanSynchronization(trees, options, nullptr);
    EXPECT_EQ(Steps(plan),
              (std::vector<std::string>{"Upload a.txt", "Delete remote gone.txt",
                                        "Create remote folder new", "Upload new/b.txt",
                                        "Delete remote old/c.txt", "Delete remote old/deeper/d.txt",
                                        "Delete remote old/deeper", "Delete remote old"}));
    // The folder that could not be listed is neither walked nor deleted.
    EXPECT_EQ(plan.Unlisted, std::vector<std::string>{"locked"});
    const TSyncSummary summary = plan.Summary();
    EXPECT_EQ(summary.Uploads, 2U);
    EXPECT_EQ(summary.Deletes, 5U);
    EXPECT_EQ(summary.Bytes, 3);

    options.Subfolders = false;
    EXPECT_EQ(Steps(PlanSynchronization(trees, options, nullptr)),
              (std::vector<std::string>{"Upload a.txt", "Delete remote gone.txt"}));
}

TEST(SyncPlan, TwoWayFollowsTheSideThatChangedAndStopsAtConflicts) {
    TSyncOptions options;
    options.Direction = TSyncDirection::Both;
    const std::vector<TSyncEntry> local{
        File("edited-here", 6, kNoon + 100), File("edited-both", 6, kNoon + 100),
        File("fresh", 6, kNoon + 100), File("mine", 1, kNoon), File("unordered", 6, std::nullopt)};
    const std::vector<TSyncEntry> remote{
        File("edited-here", 5, kNoon), File("edited-both", 7, kNoon + 200), File("fresh", 5, kNoon),
        File("theirs", 1, kNoon), File("unordered", 5, kNoon)};
    TSyncState last;
    last.Record("edited-here", File("", 5, kNoon), File("", 5, kNoon));
    last.Record("edited-both", File("", 5, kNoon), File("", 5, kNoon));
    TSyncPlan plan;
    PlanFolder("", local, remote, options, &last, plan);
    std::map<std::string, TSyncAction> actions;
    for (const TSyncAction& action : plan.Actions) {
        actions[action.Path] = action;
    }
    EXPECT_EQ(actions["edited-here"].Kind, TSyncActionKind::Upload);
    EXPECT_EQ(actions["edited-both"].Kind, TSyncActionKind::Conflict);
    EXPECT_FALSE(actions["edited-both"].Chosen);
    EXPECT_EQ(actions["edited-both"].Alternative, TSyncActionKind::Download);
    EXPECT_EQ(actions["fresh"].Kind, TSyncActionKind::Upload);
    EXPECT_EQ(actions["fresh"].Reason, "newer here; no earlier synchronization is known");
    EXPECT_EQ(actions["mine"].Kind, TSyncActionKind::Upload);
    EXPECT_EQ(actions["theirs"].Kind, TSyncActionKind::Download);
    EXPECT_EQ(actions["unordered"].Kind, TSyncActionKind::Conflict);
    // Two-way never deletes, whatever the option says.
    options.DeleteOrphans = true;
    TSyncPlan again;
    PlanFolder("", local, remote, options, &last, again);
    EXPECT_EQ(again.Summary().Deletes, 0U);
}

TEST(SyncState, KeepsOddPathsAndRefusesDamagedText) {
    TSyncState state;
    state.Record("a\tb/new\nline\\x", File("", 1, 2), File("", 3, -4));
    state.Record("plain", File("", 5'000'000'000, 6), File("", 7, 8));
    const auto back = TSyncState::FromText(state.Text());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Text(), state.Text());
    const TSyncRecord* record = back->Find("a\tb/new\nline\\x");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->RemoteTime, -4);
    EXPECT_EQ(back->Find("plain")->LocalSize, 5'000'000'000);
    for (const char* damaged : {"plain\t1\t2\t3\n", "plain\t1\t2\t3\t4", "p\\q\t1\t2\t3\t4\n",
                                "plain\t1\t2\t3\tx\n", "\t1\t2\t3\t4\n"}) {
        EXPECT_FALSE(TSyncState::FromText(damaged)) << damaged;
    }

    const auto folder =
        std::filesystem::temp_directory_path() / ("qx-sync-state-" + std::to_string(::getpid()));
    const auto file = folder / SyncStateFileName("site", "/www", "/home/u/www");
    EXPECT_TRUE(TSyncState::Load(file)->Count() == 0); // none yet
    ASSERT_TRUE(state.Save(file));
    EXPECT_EQ(TSyncState::Load(file)->Text(), state.Text());
    std::filesystem::remove_all(folder);
    EXPECT_NE(SyncStateFileName("ab", "c", "d"), SyncStateFileName("a", "bc", "d"));
}

TEST(SyncListings, ListingTimesBecomeUtcAndLinksStayOut) {
    TFTPListItem listed;
    listed.Name = "index.html";
    listed.IsFile = true;
    listed.Size = 42;
    listed.Year = 2025;
    listed.Month = 12;
    listed.Day = 10;
    listed.Hour = 14; // the server's clock, two hours east of UTC
    listed.TimePrecision = TTimePrecision::Minute;
    auto entry = RemoteSyncEntry(listed, 120);
    ASSERT_TRUE(entry && entry->Time);
    EXPECT_EQ(*entry->Time, kNoon);
    EXPECT_EQ(entry->Precision, TTimePrecision::Minute);
    listed.TimePrecision = TTimePrecision::Unknown;
    EXPECT_FALSE(RemoteSyncEntry(listed, 0)->Time);
    listed.IsLink = true;
    EXPECT_FALSE(RemoteSyncEntry(listed, 0));

    const auto folder =
        std::filesystem::temp_directory_path() / ("qx-sync-listing-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "sub");
    std::ofstream(folder / "file") << "12345";
    std::filesystem::create_symlink("file", folder / "link");
    auto local = LocalSyncEntries(folder.string());
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(local);
    std::ranges::sort(*local, {}, &TSyncEntry::Name);
    ASSERT_EQ(local->size(), 2U);
    EXPECT_EQ((*local)[0].Size, 5);
    EXPECT_TRUE((*local)[1].IsFolder);
    EXPECT_FALSE(LocalSyncEntries(folder.string()));
}

} // namespace
} // namespace qx
