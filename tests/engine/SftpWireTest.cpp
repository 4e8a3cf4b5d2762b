// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SftpWire.h"
#include "engine/sftp/SftpListing.h"
#include "engine/sftp/SshArguments.h"
#include "engine/sftp/SshQuestion.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qx::sftp {
namespace {

TEST(SftpWireTest, PacketsRoundTripWithAttributes) {
    std::string buffer;
    TAttributes sent;
    sent.Size = 5ULL << 30;
    sent.Uid = 1000;
    sent.Gid = 100;
    sent.Permissions = 0100644;
    sent.AccessTime = 1700000000;
    sent.ModifiedTime = 1700000001;
    sent.Extended = {{"x@example.com", std::string("a\0b", 3)}};
    TPacketBuilder(buffer, TPacketType::Open, 7).String("dir/file").U32(kOpenRead).Attributes(sent);

    TPacketStream stream;
    // Fed byte by byte: a packet is taken only when all of it is there.
    for (std::size_t i = 0; i + 1 < buffer.size(); ++i) {
        stream.Append(buffer.substr(i, 1));
        EXPECT_FALSE(stream.Next().has_value());
    }
    stream.Append(buffer.substr(buffer.size() - 1));
    const auto packet = stream.Next();
    ASSERT_TRUE(packet.has_value());
    TPacketReader reader(*packet);
    EXPECT_EQ(reader.U8(), static_cast<std::uint8_t>(TPacketType::Open));
    EXPECT_EQ(reader.U32(), 7u);
    EXPECT_EQ(reader.String(), "dir/file");
    EXPECT_EQ(reader.U32(), kOpenRead);
    const TAttributes got = reader.Attributes();
    ASSERT_TRUE(reader.Ok());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(got.Size, sent.Size);
    EXPECT_EQ(got.Uid, 1000u);
    EXPECT_EQ(got.Gid, 100u);
    EXPECT_EQ(got.Permissions, 0100644u);
    EXPECT_EQ(got.ModifiedTime, 1700000001u);
    EXPECT_EQ(got.Extended, sent.Extended);
    EXPECT_TRUE(got.IsRegular());
    EXPECT_FALSE(got.IsFolder());
}

TEST(SftpWireTest, HostileFieldsAndLengthsAreRefused) {
    // A string longer than the packet, an extended count beyond it: the reader fails and
    // stays failed, reserving nothing.
    TPacketReader longString(std::string_view("\x00\x00\x10\x00"
                                              "abc",
                                              7));
    EXPECT_TRUE(longString.String().empty());
    EXPECT_FALSE(longString.Ok());
    longString.U8();
    EXPECT_FALSE(longString.Ok());
    TPacketReader manyExtensions(std::string_view("\x80\x00\x00\x00\xff\xff\xff\xff", 8));
    manyExtensions.Attributes();
    EXPECT_FALSE(manyExtensions.Ok());

    TPacketStream oversized;
    oversized.Append(std::string_view("\x00\x04\x00\x01\x65", 5)); // 256 KiB + 1
    EXPECT_FALSE(oversized.Next().has_value());
    EXPECT_TRUE(oversized.Failed());
    EXPECT_EQ(oversized.FailedLength(), kMaxPacketLength + 1);
    TPacketStream empty;
    empty.Append(std::string_view("\x00\x00\x00\x00", 4));
    EXPECT_FALSE(empty.Next().has_value());
    EXPECT_TRUE(empty.Failed());
}

TEST(SftpWireTest, PermissionTexts) {
    EXPECT_EQ(PermissionText(040755), "drwxr-xr-x");
    EXPECT_EQ(PermissionText(0100644), "-rw-r--r--");
    EXPECT_EQ(PermissionText(0120777), "lrwxrwxrwx");
    EXPECT_EQ(PermissionText(0104755), "-rwsr-xr-x");
    EXPECT_EQ(PermissionText(041777), "drwxrwxrwt");
}

TEST(SshArgumentsTest, UnsafeValuesAreRefused) {
    TSshTarget good;
    good.Host = "example.org";
    EXPECT_FALSE(CheckSshTarget(good));
    for (const char* host : {"", "-oProxyCommand=x", "a b", "a\nb", "host;rm", "u@host", "$(x)"}) {
        TSshTarget target = good;
        target.Host = host;
        EXPECT_TRUE(CheckSshTarget(target)) << host;
    }
    for (const char* user : {"-l", "a b", "a'b", "x\ty"}) {
        TSshTarget target = good;
        target.User = user;
        EXPECT_TRUE(CheckSshTarget(target)) << user;
    }
    for (const int port : {-1, 65536}) {
        TSshTarget target = good;
        target.Port = port;
        EXPECT_TRUE(CheckSshTarget(target)) << port;
    }
    for (const char* option : {"ProxyCommand=nc %h %p", "LocalCommand=x", "Include /tmp/x",
                               "StrictHostKeyChecking=no", "LogLevel=QUIET", "Ciphers"}) {
        EXPECT_TRUE(CheckSshOption(option)) << option;
    }
    EXPECT_FALSE(CheckSshOption("Ciphers=aes128-gcm@openssh.com"));
    EXPECT_FALSE(CheckSshOption("ProxyJump jump.example.org"));
    EXPECT_FALSE(CheckSshOption("stricthostkeychecking=accept-new"));
}

TEST(SshArgumentsTest, ArgumentListEndsWithTheSubsystemOfTheHost) {
    TSshTarget target;
    target.Host = "example.org";
    target.User = "alice";
    target.Port = 2222;
    target.IdentityFile = "/keys/100% key";
    target.KnownHostsFile = "/my hosts/known";
    target.AcceptNewHostKey = true;
    target.TimeoutSeconds = 30;
    target.Options = {"Ciphers=aes128-gcm@openssh.com"};
    const auto batch = SshArgumentList(target, false);
    const auto asking = SshArgumentList(target, true);
    const auto has = [](const std::vector<std::string>& args, const std::string& value) {
        return std::find(args.begin(), args.end(), value) != args.end();
    };
    EXPECT_TRUE(has(batch, "BatchMode=yes"));
    EXPECT_FALSE(has(asking, "BatchMode=yes"));
    EXPECT_TRUE(has(asking, "StrictHostKeyChecking=accept-new"));
    EXPECT_TRUE(has(asking, "UserKnownHostsFile=\"/my hosts/known\""));
    EXPECT_TRUE(has(asking, "/keys/100%% key"));
    EXPECT_TRUE(has(asking, "ConnectTimeout=30"));
    EXPECT_TRUE(has(asking, "ServerAliveInterval=10"));
    EXPECT_TRUE(has(asking, "Ciphers=aes128-gcm@openssh.com"));
    const std::vector<std::string> tail(asking.end() - 4, asking.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"-s", "--", "example.org", "sftp"}));

    // A keep-alive shorter than the time-out's checks sets their interval; without a time-out
    // it is the only one.
    target.KeepAliveSeconds = 4;
    EXPECT_TRUE(has(SshArgumentList(target, true), "ServerAliveInterval=4"));
    target.TimeoutSeconds = 0;
    target.KeepAliveSeconds = 60;
    EXPECT_TRUE(has(SshArgumentList(target, true), "ServerAliveInterval=60"));
    EXPECT_FALSE(has(SshArgumentList(target, true), "ConnectTimeout=30"));
}

TEST(SshQuestionTest, PromptsAreClassified) {
    using K = TSshQuestion::TKind;
    EXPECT_EQ(ClassifySshPrompt("alice@example.org's password: ", "").Kind, K::Password);
    EXPECT_EQ(ClassifySshPrompt("Enter passphrase for key '/k/id': ", "").Kind, K::Passphrase);
    EXPECT_EQ(ClassifySshPrompt("(alice@example.org) Verification code: ", "").Kind,
              K::KeyboardInteractive);
    EXPECT_EQ(ClassifySshPrompt("Confirm user presence for key ED25519-SK", "none").Kind,
              K::Notice);
    const auto hostKey = ClassifySshPrompt(
        "The authenticity of host '[127.0.0.1]:2222 ([127.0.0.1]:2222)' can't be established.\n"
        "ED25519 key fingerprint is SHA256:K0XM9sATrU8V0eU9Bxjbev/xMSE4kxet0f/0cPd9fNs.\n"
        "This key is not known by any other names.\n"
        "Are you sure you want to continue connecting (yes/no/[fingerprint])? ",
        "");
    EXPECT_EQ(hostKey.Kind, K::UnknownHostKey);
    EXPECT_EQ(hostKey.Host, "[127.0.0.1]:2222");
    EXPECT_EQ(hostKey.KeyType, "ED25519");
    EXPECT_EQ(hostKey.Fingerprint, "SHA256:K0XM9sATrU8V0eU9Bxjbev/xMSE4kxet0f/0cPd9fNs");
}

TEST(SftpListingTest, NamesBecomeListingItemsAndHostileNamesAreDropped) {
    TFTPListItems items;
    {
        TSftpListingBuilder builder(items);
        const auto add = [&builder](std::string name, std::uint32_t mode, std::uint64_t size) {
            TName entry;
            entry.FileName = std::move(name);
            entry.Attributes.Permissions = mode;
            entry.Attributes.Size = size;
            entry.Attributes.ModifiedTime = 1700000000;
            builder.Add(entry);
        };
        add(".", 040755, 0);
        add("..", 040755, 0);
        add("big.iso", 0100640, 5ULL << 30);
        add("docs", 040750, 4096);
        add("latest", 0120777, 7);
        add("fifo", 010644, 0);
        add("\xff\xfe raw", 0100644, 1);
        for (const char* bad : {"a/b", "line\nbreak", "car\rriage", "../up"}) {
            add(bad, 0100644, 1);
        }
        add(std::string("nul\0byte", 8), 0100644, 1);
        add("", 0100644, 1);
        EXPECT_EQ(builder.Report().DroppedNames, 6u);
    }
    ASSERT_EQ(items.Count(), 4u);
    EXPECT_EQ(items[0].Name, "big.iso");
    EXPECT_TRUE(items[0].IsFile);
    EXPECT_EQ(items[0].Size, 5LL << 30);
    EXPECT_EQ(items[0].Permission, "-rw-r-----");
    EXPECT_EQ(items[0].Year, 2023);
    EXPECT_EQ(items[1].Name, "docs");
    EXPECT_FALSE(items[1].IsFile);
    EXPECT_EQ(items[1].Size, -1);
    EXPECT_EQ(items[1].Permission, "drwxr-x---");
    EXPECT_TRUE(items[2].IsLink);
    EXPECT_TRUE(items.HasLinks);
    EXPECT_EQ(items[3].Name, "\xff\xfe raw");
}

} // namespace
} // namespace qx::sftp
