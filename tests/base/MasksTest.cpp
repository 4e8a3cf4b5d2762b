// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Masks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qx {
namespace {

std::string ErrorOf(std::string_view mask) {
    try {
        TMask compiled(mask);
    } catch (const EMaskException& error) {
        return error.what();
    }
    return {};
}

TEST(MasksTest, SplitsTrimsAndJoins) {
    TMasks masks("*.htm; *.html");
    EXPECT_EQ(masks.Count(), 2u);
    EXPECT_EQ(masks.MaskText(), "*.htm;*.html");
    EXPECT_EQ(masks.MaskTexts(), (std::vector<std::string>{"*.htm", "*.html"}));
    EXPECT_TRUE(masks.Active());
    EXPECT_TRUE(masks.Matches("index.HTML"));
    EXPECT_FALSE(masks.Matches("a.htmx"));

    masks.SetMasks(";;*.txt;");
    EXPECT_EQ(masks.Count(), 1u);
    EXPECT_EQ(masks.MaskText(), "*.txt");
    EXPECT_FALSE(masks.Matches("a.htm"));

    masks.SetMasks("\t*.c \r\n;\x01*.h\x7F");
    EXPECT_EQ(masks.MaskText(), "*.c;*.h");

    // No masks: active, and nothing matches.
    masks.SetMasks("");
    EXPECT_EQ(masks.Count(), 0u);
    EXPECT_TRUE(masks.Active());
    EXPECT_EQ(masks.MaskText(), "");
    EXPECT_FALSE(masks.Matches(""));
}

TEST(MasksTest, MatchAllPartsMakeItInactive) {
    EXPECT_FALSE(TMasks("*.*").Active());
    EXPECT_FALSE(TMasks("*.txt;*").Active());
    EXPECT_FALSE(TMasks(" *.* ;*.txt").Active());
    EXPECT_TRUE(TMasks("**").Active());
    EXPECT_TRUE(TMasks("*.txt").Active());
    // Asked anyway, "*.*" wants a dot.
    TMasks all("*.*");
    EXPECT_FALSE(all.Matches("README"));
    EXPECT_TRUE(all.Matches("README."));
}

TEST(MasksTest, QuestionMarkTakesOneCharacter) {
    const TMask mask("file?.txt");
    EXPECT_TRUE(mask.Matches("file1.txt"));
    EXPECT_FALSE(mask.Matches("file.txt"));
    EXPECT_FALSE(mask.Matches("file10.txt"));
    // One whole UTF-8 character, or one byte that is not part of one.
    EXPECT_TRUE(mask.Matches("file\xC3\xA9.txt"));
    EXPECT_TRUE(mask.Matches("file\xF0\x9F\x98\x80.txt"));
    EXPECT_TRUE(mask.Matches("file\xE9.txt"));
    EXPECT_FALSE(mask.Matches("file\xE9\xE9.txt"));
}

TEST(MasksTest, Sets) {
    const TMask range("[a-c]*");
    EXPECT_TRUE(range.Matches("Beta.txt"));
    EXPECT_FALSE(range.Matches("delta.txt"));
    EXPECT_FALSE(range.Matches(""));
    const TMask negated("[!a-c]*");
    EXPECT_FALSE(negated.Matches("Beta.txt"));
    EXPECT_TRUE(negated.Matches("delta.txt"));
    // A multi-byte character is never in a set, so always outside one.
    EXPECT_FALSE(range.Matches("\xC3\xA9t\xC3\xA9"));
    EXPECT_TRUE(negated.Matches("\xC3\xA9t\xC3\xA9"));

    EXPECT_TRUE(TMask("[xyz0-9!]").Matches("!"));
    EXPECT_TRUE(TMask("[[]x").Matches("[x"));
    EXPECT_FALSE(TMask("[c-a]").Matches("b"));
    // Multi-byte characters in a set are skipped; the range next to one adds nothing.
    const TMask skipped("[\xC3\xA9x-\xC3\xA9y]");
    EXPECT_TRUE(skipped.Matches("x"));
    EXPECT_TRUE(skipped.Matches("y"));
    EXPECT_FALSE(skipped.Matches("\xC3\xA9"));
    EXPECT_FALSE(TMask("[\xC3\xA9]").Matches("\xC3\xA9"));
}

TEST(MasksTest, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(TMask("ReadMe").Matches("README"));
    EXPECT_TRUE(TMask("[A-C]").Matches("b"));
    EXPECT_TRUE(TMask("caf\xC3\xA9").Matches("CAF\xC3\xA9"));
    EXPECT_FALSE(TMask("caf\xC3\xA9").Matches("caf\xC3\x89"));
    // A high byte outside UTF-8 is a literal byte of its own.
    EXPECT_TRUE(TMask("a\xE9").Matches("A\xE9"));
    EXPECT_FALSE(TMask("a\xC3").Matches("a\xC3\xA9"));
}

TEST(MasksTest, StarsMatchAnyRun) {
    // "*?" is read as "*".
    EXPECT_TRUE(TMask("*?.txt").Matches(".txt"));
    EXPECT_FALSE(TMask("a?*").Matches("a"));
    EXPECT_TRUE(TMask("*").Matches(""));
    EXPECT_TRUE(TMask("a*").Matches("a"));
    EXPECT_TRUE(TMask("*a*b*").Matches("xxaxxbxx"));
    EXPECT_FALSE(TMask("*a*b*").Matches("xxbxxaxx"));
    EXPECT_TRUE(TMask("*\xC3\xA9").Matches("caf\xC3\xA9"));
    EXPECT_FALSE(TMask("*\xC3\xA9").Matches("caf\xC3\xA9x"));
    EXPECT_FALSE(TMask("abc").Matches("abcd"));
    EXPECT_FALSE(TMask("").Matches("a"));
}

TEST(MasksTest, InvalidMasksAndPositions) {
    EXPECT_EQ(ErrorOf("[abc"), "'[abc' is an invalid mask at (5)");
    EXPECT_EQ(ErrorOf("x[]"), "'x[]' is an invalid mask at (3)");
    EXPECT_EQ(ErrorOf("[!]"), "'[!]' is an invalid mask at (3)");
    EXPECT_EQ(ErrorOf("[-a]"), "'[-a]' is an invalid mask at (2)");
    EXPECT_EQ(ErrorOf("[a-]"), "'[a-]' is an invalid mask at (4)");
    EXPECT_EQ(ErrorOf("[a-"), "'[a-' is an invalid mask at (4)");
    EXPECT_EQ(ErrorOf("[a-c-e]"), "'[a-c-e]' is an invalid mask at (5)");

    std::string thirty;
    for (int i = 0; i < 30; ++i) {
        thirty += "*a";
    }
    EXPECT_EQ(ErrorOf(thirty), "");
    EXPECT_EQ(ErrorOf(thirty + "*b"), "'" + thirty + "*b' is an invalid mask at (62)");
    EXPECT_EQ(ErrorOf(thirty + "*"), "'" + thirty + "*' is an invalid mask at (62)");
}

TEST(MasksTest, InvalidPartLeavesEarlierParts) {
    TMasks masks("*.old");
    try {
        masks.SetMasks("*.txt; [abc ;*.htm");
        FAIL() << "no error";
    } catch (const EMaskException& error) {
        EXPECT_STREQ(error.what(), "'[abc' is an invalid mask at (5)");
    }
    EXPECT_EQ(masks.Count(), 1u);
    EXPECT_EQ(masks.MaskTexts(), (std::vector<std::string>{"*.txt", "[abc"}));
    EXPECT_EQ(masks.MaskText(), "*.txt;");
    EXPECT_TRUE(masks.Matches("a.txt"));
    EXPECT_FALSE(masks.Matches("a.old"));
    EXPECT_FALSE(masks.Matches("a.htm"));
}

TEST(MasksTest, ManyStarsStayFast) {
    std::string mask;
    for (int i = 0; i < 30; ++i) {
        mask += "*a";
    }
    const TMask compiled(mask + "b");
    const std::string name(20000, 'a');
    EXPECT_FALSE(compiled.Matches(name));
    EXPECT_TRUE(compiled.Matches(name + "b"));
}

// Leftmost-first backtracking over the same elements, for comparing answers.
bool Backtrack(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern[0] == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (Backtrack(pattern.substr(1), name.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    if (name.empty()) {
        return false;
    }
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return (pattern[0] == '?' || upper(pattern[0]) == upper(name[0])) &&
           Backtrack(pattern.substr(1), name.substr(1));
}

TEST(MasksTest, SameAnswersAsBacktracking) {
    std::mt19937 random(12345);
    const std::string patternChars = "*?ab.";
    const std::string nameChars = "abAB.";
    for (int round = 0; round < 20000; ++round) {
        std::string pattern;
        for (auto length = random() % 8; length > 0; --length) {
            pattern += patternChars[random() % patternChars.size()];
        }
        // Leave out "*?" whose "?" the compiler drops.
        if (pattern.find("*?") != std::string::npos) {
            continue;
        }
        std::string name;
        for (auto length = random() % 10; length > 0; --length) {
            name += nameChars[random() % nameChars.size()];
        }
        ASSERT_EQ(TMask(pattern).Matches(name), Backtrack(pattern, name))
            << "mask '" << pattern << "' name '" << name << "'";
    }
}

} // namespace
} // namespace qx
