// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NameCharset.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(NameCharsetTest, ConvertsBothWaysAndKeepsEveryByte) {
    auto cp1251 = TNameCharset::Open("windows-1251");
    ASSERT_TRUE(cp1251);
    const std::string server = "\xCF\xF0\xE8\xE2\xE5\xF2.txt"; // "Привет.txt"
    EXPECT_EQ(cp1251->ToUtf8(server), "Привет.txt");
    EXPECT_EQ(cp1251->FromUtf8("Привет.txt"), server);

    // 0x98 has no character in Windows-1251: it is escaped, and the escape goes back to it.
    const std::string odd = "a\x98\xC0";
    const std::string shown = cp1251->ToUtf8(odd);
    EXPECT_EQ(shown, "a\xED\xB2\x98\xD0\x90");
    EXPECT_EQ(cp1251->FromUtf8(shown), odd);

    auto sjis = TNameCharset::Open("shift_jis");
    ASSERT_TRUE(sjis);
    const std::string japanese = "\x93\xFA\x96\x7B\x8C\xEA"; // "日本語"
    EXPECT_EQ(sjis->ToUtf8(japanese), "日本語");
    EXPECT_EQ(sjis->FromUtf8("日本語"), japanese);
    // A lead byte without its second byte, and one before a byte that cannot follow it.
    for (const std::string bytes : {"x\x93", "\x93\x20y", "\x80\xA0\xFD"}) {
        EXPECT_EQ(sjis->FromUtf8(sjis->ToUtf8(bytes)), bytes);
    }
    // Every byte pair survives the trip through UTF-8.
    for (unsigned first = 1; first < 256; ++first) {
        for (unsigned second = 1; second < 256; ++second) {
            const std::string bytes{static_cast<char>(first), static_cast<char>(second)};
            ASSERT_EQ(sjis->FromUtf8(sjis->ToUtf8(bytes)), bytes) << first << " " << second;
        }
    }
}

TEST(NameCharsetTest, RefusesWhatCannotBeWrittenAndUnknownSets) {
    auto cp1251 = TNameCharset::Open("Windows-1251");
    ASSERT_TRUE(cp1251);
    EXPECT_FALSE(cp1251->FromUtf8("日本"));
    EXPECT_EQ(cp1251->FromUtf8("\xFF"
                               "a"),
              "\xFF"
              "a"); // not UTF-8: goes as it is
    EXPECT_FALSE(TNameCharset::Open("no-such-set"));

    auto utf8 = TNameCharset::Open("utf8");
    ASSERT_TRUE(utf8);
    EXPECT_TRUE(utf8->IsUtf8());
    EXPECT_EQ(utf8->ToUtf8("\xFF\xED\xB2\x98"), "\xFF\xED\xB2\x98");
}

TEST(NameCharsetTest, ChoiceTextAndAuto) {
    EXPECT_EQ(EffectiveCharset("", true), "UTF-8");
    EXPECT_EQ(EffectiveCharset("", false), "UTF-8");
    EXPECT_EQ(EffectiveCharset("auto:koi8-r", true), "UTF-8");
    EXPECT_EQ(EffectiveCharset("auto:koi8-r", false), "KOI8-R");
    EXPECT_EQ(EffectiveCharset("big5", true), "Big5");
    const TCharsetChoice fixed{false, "GB18030"};
    EXPECT_EQ(CharsetChoiceText(fixed), "GB18030");
    EXPECT_EQ(CharsetChoiceText(TCharsetChoice{true, "UTF-8"}), "");
    const TCharsetChoice back =
        ParseCharsetChoice(CharsetChoiceText(TCharsetChoice{true, "EUC-KR"}));
    EXPECT_TRUE(back.Auto);
    EXPECT_EQ(back.Name, "EUC-KR");
}

} // namespace
} // namespace qx
