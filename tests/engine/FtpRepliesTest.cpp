// SPDX-License-Identifier: GPL-3.0-or-later
// Reply lines, the results taken from them, and the other pure helpers of the engine.

#include "engine/FtpReplies.h"
#include "engine/AsciiLineEnds.h"
#include "engine/TransferStats.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(FtpReplies, LineCutting) {
    auto cut = FindReplyLineEnd("220 ok\r\nrest", true);
    ASSERT_TRUE(cut);
    EXPECT_EQ(ReplyLineText("220 ok\r\nrest", *cut), "220 ok");
    EXPECT_EQ(cut->length + cut->terminator, 8u);
    cut = FindReplyLineEnd("220 ok\nrest", true);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->terminator, 1u);
    EXPECT_FALSE(FindReplyLineEnd("220 ok\nrest", false));
    cut = FindReplyLineEnd("220 ok\r\n", false);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->terminator, 2u);
    EXPECT_FALSE(FindReplyLineEnd("220 partial", true));
}

TEST(FtpReplies, FinalAndIntermediateLines) {
    EXPECT_TRUE(IsFinalReplyLine("226 Transfer complete"));
    EXPECT_TRUE(IsFinalReplyLine("226"));
    EXPECT_FALSE(IsFinalReplyLine("226-More to come"));
    EXPECT_FALSE(IsFinalReplyLine(" 226 indented"));
    EXPECT_FALSE(IsFinalReplyLine("Some banner text"));
    EXPECT_FALSE(IsFinalReplyLine(""));
    EXPECT_EQ(ReplyCode("550 No such file"), 550);
    EXPECT_EQ(ReplyCode("text"), 0);
}

TEST(FtpReplies, QuotedNamesAndSizes) {
    EXPECT_EQ(QuotedDirName("257 \"/pub/a \"\"b\"\"\" created"), "/pub/a \"b\"");
    EXPECT_EQ(QuotedDirName("257   \"/x\""), "/x");
    EXPECT_EQ(QuotedDirName("257 /no/quotes"), "");
    EXPECT_EQ(QuotedDirName("257 \"/unterminated"), "/unterminated");
    EXPECT_EQ(SizeFromReply("213 1048576"), 1048576);
    EXPECT_EQ(SizeFromReply("213  size is 77 bytes"), 77);
    EXPECT_EQ(SizeFromReply("213 unknown"), -1);
    EXPECT_EQ(SizeFromReply("213 99999999999999999999999"), -1);
}

TEST(FtpReplies, PassivePorts) {
    EXPECT_EQ(PasvPortFromReply("227 Entering Passive Mode (192,168,1,5,19,137)."), 5001);
    EXPECT_EQ(PasvPortFromReply("227 Entering Passive Mode (192,168,1,5, 19, 137)"), 5001);
    EXPECT_EQ(PasvPortFromReply("227 Entering Passive Mode 127,0,0,1,4,1"), 1025);
    EXPECT_FALSE(PasvPortFromReply("227 Entering Passive Mode (127,0,0,1,x,y)."));
    EXPECT_FALSE(PasvPortFromReply("227 Entering Passive Mode (127,0,0,1,0,0)."));
    EXPECT_FALSE(PasvPortFromReply("227 Entering Passive Mode (127,0,0,1,256,1)."));
    EXPECT_FALSE(PasvPortFromReply("227 (127,0,0,1,5)"));
    EXPECT_FALSE(PasvPortFromReply("227 Passive"));
}

TEST(FtpReplies, PortCommands) {
    EXPECT_EQ(PortCommand(0x0A000007, 5001, false), "PORT 10,0,0,7,19,137");
    EXPECT_EQ(PortCommand(0xC0A80102, 5001, true), "PORT 127,0,0,1,19,137");
}

TEST(TransferStats, LineAndRate) {
    EXPECT_EQ(FormatTransferStats(0, 0), "0 bytes received/sent in 0 seconds");
    EXPECT_EQ(FormatTransferStats(100000, 2500),
              "100000 bytes received/sent in 2 seconds (40000 Bytes/sec)");
    EXPECT_EQ(FormatTransferStats(20000, 3000),
              "20000 bytes received/sent in 3 seconds (6666 Bytes/sec)");
    // Files over 4 GiB do not overflow the rate.
    EXPECT_EQ(FormatTransferStats(6000000000LL, 60000),
              "6000000000 bytes received/sent in 60 seconds (100000000 Bytes/sec)");
}

TEST(AsciiLineEnds, DownloadConversionAcrossBlocks) {
    CrLfToLf convert;
    std::string out, all;
    for (std::string_view block : {"a\r", "\nb\r", "c\r\r", "\n", "end\r"}) {
        convert.convert(block, out);
        all += out;
    }
    convert.finish(out);
    all += out;
    EXPECT_EQ(all, "a\nb\rc\r\nend\r");
}

TEST(AsciiLineEnds, UploadConversionAcrossBlocks) {
    LfToCrLf convert;
    std::string out, all;
    for (std::string_view block : {"a\n", "b\r", "\nc", "\n\n"}) {
        convert.convert(block, out);
        all += out;
    }
    EXPECT_EQ(all, "a\r\nb\r\nc\r\n\r\n");
}

TEST(ExtendedPassive, PortOfA229Reply) {
    EXPECT_EQ(EpsvPortFromReply("229 Entering Extended Passive Mode (|||6446|)"), 6446);
    EXPECT_EQ(EpsvPortFromReply("229 Entering Extended Passive Mode (!!!65535!)."), 65535);
    EXPECT_EQ(EpsvPortFromReply("229 Entering Extended Passive Mode (||| 21|)"), 21);
    for (std::string_view bad : {
             "229 Entering Extended Passive Mode",
             "229 Entering Extended Passive Mode (|||0|)",
             "229 Entering Extended Passive Mode (|||65536|)",
             "229 Entering Extended Passive Mode (|||123456|)",
             "229 Entering Extended Passive Mode (|||6446)",
             "229 Entering Extended Passive Mode (|1|::1|6446|)",
             "229 Entering Extended Passive Mode (|||64x6|)",
             "229 Entering Extended Passive Mode (1116446|)",
             "229 Entering Extended Passive Mode (|||)",
             "229 Entering Extended Passive Mode (",
         }) {
        EXPECT_FALSE(EpsvPortFromReply(bad).has_value()) << bad;
    }
}

TEST(ExtendedPassive, EprtCommandNamesTheFamily) {
    EXPECT_EQ(EprtCommand("127.0.0.1", false, 5282), "EPRT |1|127.0.0.1|5282|");
    EXPECT_EQ(EprtCommand("::1", true, 65535), "EPRT |2|::1|65535|");
}
