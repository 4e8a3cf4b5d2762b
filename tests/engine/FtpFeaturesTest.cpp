// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FtpFeatures.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(FtpFeaturesTest, ReadsTheFeaturesOfACommonServer) {
    const TFtpFeatures features = ParseFeatReply({
        "211-Features:",
        " EPRT",
        " EPSV",
        " MDTM",
        " MLST type*;size*;Modify*;perm;unix.mode;",
        " PASV",
        " REST STREAM",
        " SIZE",
        " TVFS",
        " UTF8",
        " AUTH TLS;TLS-C;SSL",
        " PBSZ",
        " PROT",
        "211 End",
    });
    EXPECT_TRUE(features.Answered);
    EXPECT_TRUE(features.Mlsd);
    EXPECT_TRUE(features.HasMlstFact("modify"));
    EXPECT_TRUE(features.HasMlstFact("UNIX.mode"));
    EXPECT_FALSE(features.HasMlstFact("unique"));
    EXPECT_TRUE(features.Utf8);
    EXPECT_TRUE(features.Epsv);
    EXPECT_TRUE(features.Eprt);
    EXPECT_TRUE(features.AuthTls);
    EXPECT_TRUE(features.Pbsz);
    EXPECT_TRUE(features.Prot);
    EXPECT_TRUE(features.RestStream);
    EXPECT_TRUE(features.Size);
    EXPECT_TRUE(features.Mdtm);
    EXPECT_FALSE(features.Cpsv);
    EXPECT_FALSE(features.Sscn);
    ASSERT_EQ(features.Lines.size(), 12u);
    EXPECT_EQ(features.Lines[3], "MLST type*;size*;Modify*;perm;unix.mode;");
}

TEST(FtpFeaturesTest, OffersNothingUnlessTheServerAnswered211) {
    for (const std::vector<std::string>& reply : std::vector<std::vector<std::string>>{
             {"500 Unknown command."}, {"502 FEAT not implemented."}, {}}) {
        const TFtpFeatures features = ParseFeatReply(reply);
        EXPECT_FALSE(features.Answered);
        EXPECT_FALSE(features.Mlsd);
        EXPECT_TRUE(features.Lines.empty());
    }
    // A bare "211 no features" line is an answer that offers nothing.
    const TFtpFeatures none = ParseFeatReply({"211 No features."});
    EXPECT_TRUE(none.Answered);
    EXPECT_TRUE(none.Lines.empty());
}

TEST(FtpFeaturesTest, ReadsOnlyFeatureLines) {
    // Lines without the leading blank are text of the reply, not features; case does not
    // matter; REST without STREAM and an AUTH without TLS offer neither.
    const TFtpFeatures features = ParseFeatReply({
        "211-Extensions supported:",
        "UTF8",
        " mlst Type;Size;",
        " rest",
        " auth SSL",
        " cpsv",
        " sscn",
        "211 END",
    });
    EXPECT_FALSE(features.Utf8);
    EXPECT_TRUE(features.Mlsd);
    EXPECT_TRUE(features.HasMlstFact("type"));
    EXPECT_FALSE(features.RestStream);
    EXPECT_FALSE(features.AuthTls);
    EXPECT_TRUE(features.Cpsv);
    EXPECT_TRUE(features.Sscn);
}

} // namespace
} // namespace qx
