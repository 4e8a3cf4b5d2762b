// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AsciiText.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

// Bytes outside ASCII keep their value whatever the locale: "\xc9" is a capital letter in
// Latin-1 and the first byte of a two-byte UTF-8 sequence.
TEST(AsciiText, ChangesTheCaseOfAsciiLettersOnly) {
    EXPECT_EQ(AsciiLowerCase("README.TXT @[`{"), "readme.txt @[`{");
    EXPECT_EQ(AsciiUpperCase("m\xc3\xa9lange \xc9t\xe9"), "M\xc3\xa9LANGE \xc9T\xe9");
    EXPECT_EQ(AsciiLowerCase(std::string_view("A\0B", 3)), std::string("a\0b", 3));
}

TEST(AsciiText, ComparesWithoutRegardToAsciiCase) {
    static_assert(AsciiEqualNoCase("OS.Unix=SLink", "os.unix=slink"));
    EXPECT_FALSE(AsciiEqualNoCase("ftp", "ftp-data"));
    EXPECT_FALSE(AsciiEqualNoCase("\xc9", "\xe9"));
    EXPECT_FALSE(AsciiEqualNoCase("[", "{")); // '[' + 32 is '{': not letters
    EXPECT_TRUE(AsciiStartsWithNoCase("FTPS://host", "ftps://"));
    EXPECT_FALSE(AsciiStartsWithNoCase("ftp:", "ftp://"));

    EXPECT_EQ(AsciiCompareNoCase("Apple", "apple"), 0);
    EXPECT_LT(AsciiCompareNoCase("apple", "Banana"), 0);
    EXPECT_LT(AsciiCompareNoCase("Zebra", "\xc3\xa4pfel"), 0); // bytes compare unsigned
    EXPECT_LT(AsciiCompareNoCase("ab", "ABC"), 0);
    EXPECT_GT(AsciiCompareNoCase("A", "_"), 0); // as "a", after "_"
}

TEST(AsciiText, ReadsHexadecimalDigitsOfEitherCase) {
    static_assert(AsciiHexValue('0') == 0 && AsciiHexValue('9') == 9);
    static_assert(AsciiHexValue('a') == 10 && AsciiHexValue('F') == 15);
    for (const char c : {'g', 'G', ':', '@', '`', '/', ' ', '\xe6'}) {
        EXPECT_EQ(AsciiHexValue(c), -1) << c;
    }
}

} // namespace
} // namespace qx
