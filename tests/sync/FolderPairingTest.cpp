// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/FolderPairing.h"

#include <gtest/gtest.h>

#include <map>

namespace qx {
namespace {

using Side = TFolderPairing::TSideId;

TSyncEntry File(std::string name, std::int64_t size, std::int64_t time) {
    return TSyncEntry{std::move(name), false, size, time, TTimePrecision::Second};
}

TSyncEntry Folder(std::string name) {
    return TSyncEntry{std::move(name), true, 0, 0, TTimePrecision::Second};
}

std::map<std::string, TCompareMark> MarksOf(const TFolderPairing& pairing, Side side) {
    std::map<std::string, TCompareMark> marks;
    for (const TComparePair& pair : pairing.Pairs()) {
        if ((side == Side::Local ? pair.Local : pair.Remote).has_value()) {
            marks.emplace(pair.Name, pair.Mark);
        }
    }
    return marks;
}

// Both explorers as the pairing sees them: what they were asked to open and how often they
// heard of a change.
struct Explorers {
    TFolderPairing pairing;
    std::vector<std::string> localOpened;
    std::vector<std::string> remoteOpened;
    int localChanges = 0;
    int remoteChanges = 0;

    Explorers() {
        pairing.SetLocalSide({[this](const std::string& f) { localOpened.push_back(f); },
                              [this] { ++localChanges; }});
    }
    TFolderPairing::TSide Remote() {
        return {[this](const std::string& f) { remoteOpened.push_back(f); },
                [this] { ++remoteChanges; }};
    }
};

TEST(FolderPairing, OtherSideFollowsIntoSameNamedFolderAndUp) {
    Explorers x;
    x.pairing.Start(&x, x.Remote(), "/pub", {Folder("docs"), File("a", 1, 100)}, "/home/u/",
                    {Folder("docs"), Folder("src"), File("a", 1, 200)});
    ASSERT_TRUE(x.pairing.Corresponding());
    EXPECT_EQ(MarksOf(x.pairing, Side::Local),
              (std::map<std::string, TCompareMark>{{"a", TCompareMark::NewerLocal},
                                                   {"docs", TCompareMark::Same},
                                                   {"src", TCompareMark::OnlyLocal}}));
    EXPECT_EQ(x.localChanges, 1);
    EXPECT_EQ(x.remoteChanges, 1);

    x.pairing.Shown(Side::Local, "/home/u/docs", {File("d", 2, 5)});
    EXPECT_EQ(x.remoteOpened, std::vector<std::string>{"/pub/docs"});
    EXPECT_FALSE(x.pairing.Corresponding()); // until the remote side shows it
    x.pairing.Shown(Side::Remote, "/pub/docs", {File("d", 3, 5)});
    EXPECT_TRUE(x.pairing.Corresponding());
    EXPECT_EQ(MarksOf(x.pairing, Side::Remote).at("d"), TCompareMark::SizeDiffers);
    EXPECT_TRUE(x.localOpened.empty()) << "the side that followed leads nobody back";

    // Up from the remote side, past the folders compared first.
    x.pairing.Shown(Side::Remote, "/", {Folder("pub")});
    EXPECT_EQ(x.localOpened, std::vector<std::string>{"/home"});
    x.pairing.Shown(Side::Local, "/home", {Folder("u")});
    EXPECT_TRUE(x.pairing.Corresponding());
    EXPECT_EQ(x.remoteOpened.size(), 1u);
}

TEST(FolderPairing, WithoutSameNamedFolderTheOtherSideStaysUntilTheyCorrespondAgain) {
    Explorers x;
    x.pairing.Start(&x, x.Remote(), "/pub", {Folder("only"), File("a", 1, 1)}, "/l",
                    {File("a", 1, 1)});
    x.pairing.Shown(Side::Remote, "/pub/only", {File("a", 1, 1)});
    EXPECT_TRUE(x.localOpened.empty());
    EXPECT_FALSE(x.pairing.Corresponding());
    EXPECT_EQ(MarksOf(x.pairing, Side::Remote).at("a"), TCompareMark::OnlyRemote);
    EXPECT_EQ(MarksOf(x.pairing, Side::Local).at("a"), TCompareMark::OnlyLocal);

    // Back up: the folders correspond again, and nothing moves the local side.
    x.pairing.Shown(Side::Remote, "/pub", {Folder("only"), File("a", 1, 1)});
    EXPECT_TRUE(x.localOpened.empty());
    EXPECT_EQ(MarksOf(x.pairing, Side::Local).at("a"), TCompareMark::Same);
    // A jump elsewhere is no step: nothing follows.
    x.pairing.Shown(Side::Local, "/other", {});
    EXPECT_TRUE(x.remoteOpened.empty());
    EXPECT_FALSE(x.pairing.Corresponding());
}

TEST(FolderPairing, MarksAreMadeAgainOnlyWhenAnEntryChanged) {
    Explorers x;
    x.pairing.Start(&x, x.Remote(), "/r", {File("a", 1, 1)}, "/l", {File("a", 1, 1)});
    const int changes = x.localChanges;
    x.pairing.Shown(Side::Local, "/l/", {File("a", 1, 1)});
    EXPECT_EQ(x.localChanges, changes);
    x.pairing.Shown(Side::Local, "/l", {File("a", 1, 9)});
    EXPECT_EQ(x.localChanges, changes + 1);
    EXPECT_EQ(MarksOf(x.pairing, Side::Remote).at("a"), TCompareMark::NewerLocal);
    x.pairing.SetOnlyDifferences(true);
    EXPECT_EQ(x.remoteChanges, changes + 2);
}

TEST(FolderPairing, AnotherRemoteExplorerOrStopEndsTheComparison) {
    Explorers x;
    Explorers other;
    x.pairing.Start(&x, x.Remote(), "/r", {}, "/l", {});
    x.pairing.SetOnlyDifferences(true);
    const int before = x.remoteChanges;
    x.pairing.Start(&other, other.Remote(), "/s", {}, "/l", {});
    EXPECT_EQ(x.remoteChanges, before + 1) << "the first explorer hears its marks went";
    EXPECT_TRUE(x.pairing.ActiveFor(&other));
    EXPECT_FALSE(x.pairing.ActiveFor(&x));
    EXPECT_FALSE(x.pairing.OnlyDifferences());
    x.pairing.Stop();
    EXPECT_FALSE(x.pairing.Active());
    EXPECT_TRUE(x.pairing.Pairs().empty());
    x.pairing.Shown(Side::Local, "/l/x", {});
    EXPECT_TRUE(other.remoteOpened.empty());
}

TEST(FolderPairing, PathBelowKeepsNamesWhole) {
    EXPECT_EQ(PathBelow("/a/bc", "/a/b"), std::nullopt);
    EXPECT_EQ(PathBelow("/a/b/c", "/a/b"), "c");
    EXPECT_EQ(PathBelow("/a", "/"), "a");
    EXPECT_EQ(PathBelow("/a", "/a"), "");
}

} // namespace
} // namespace qx
