// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListingOutput.h"

#include <gtest/gtest.h>

using namespace qx::cli;

TEST(ListingOutput, EscapesOnlyTheFourCharacters) {
    EXPECT_EQ(EscapeField("a\\b\tc\nd\re"), "a\\\\b\\tc\\nd\\re");
    EXPECT_EQ(EscapeField("\xc3\xa9 \xff"), "\xc3\xa9 \xff");
}
