// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/OverwriteRule.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(OverwriteRuleTest, NumberedNamesKeepTheExtensionAndTheFolder) {
    EXPECT_EQ(NumberedName("/home/me/report.pdf", 1), "/home/me/report (1).pdf");
    EXPECT_EQ(NumberedName("/home/me/archive.tar.gz", 2), "/home/me/archive.tar (2).gz");
    EXPECT_EQ(NumberedName("/home/me/Makefile", 3), "/home/me/Makefile (3)");
    EXPECT_EQ(NumberedName("/home/me/.profile", 1), "/home/me/.profile (1)");
    EXPECT_EQ(NumberedName("/home/my.folder/notes", 1), "/home/my.folder/notes (1)");
    EXPECT_EQ(NumberedName("plain.txt", 1), "plain (1).txt");
}

TEST(OverwriteRuleTest, AFreeNameIsOneThatIsNotTaken) {
    test::TempDir folder;
    folder.write("a.txt", "x");
    folder.write("a (1).txt", "x");
    EXPECT_EQ(FreeLocalName(folder.file("a.txt")), folder.file("a (2).txt"));
    EXPECT_EQ(
        FreeName("/pub/a.txt", [](const std::string& name) { return name != "/pub/a (3).txt"; }),
        "/pub/a (3).txt");
    EXPECT_EQ(FreeName("/pub/a.txt", [](const std::string&) { return true; }), "")
        << "gives up rather than looping for ever";
}

TEST(OverwriteRuleTest, NewerNeedsBothTimesElseTransfers) {
    TOverwriteQuestion question;
    EXPECT_TRUE(SourceIsNewer(question)) << "unknown times: nothing is left out on a guess";
    question.SourceTime = 1000;
    EXPECT_TRUE(SourceIsNewer(question));
    question.TargetTime = 1000;
    EXPECT_FALSE(SourceIsNewer(question)) << "the same second is not newer";
    question.SourceTime = 1001;
    EXPECT_TRUE(SourceIsNewer(question));
    question.TargetTime = 5000;
    EXPECT_FALSE(SourceIsNewer(question));
}

} // namespace
} // namespace qx
