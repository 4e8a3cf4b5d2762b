// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SocketAddress.h"

#include <gtest/gtest.h>

#include <netinet/in.h>

#include <cstring>

using namespace qx;

TEST(SocketAddress, NumericAddressesOfBothFamilies) {
    const auto v4 = TSocketAddress::FromText("192.0.2.7", 2121);
    ASSERT_TRUE(v4);
    EXPECT_EQ(v4->Family(), AF_INET);
    EXPECT_EQ(v4->Port(), 2121);
    EXPECT_EQ(v4->AddressText(), "192.0.2.7");
    EXPECT_EQ(v4->Ipv4(), 0xC0000207u);
    EXPECT_EQ(v4->Length, sizeof(sockaddr_in));

    for (const char* text : {"2001:db8::1", "[2001:db8::1]"}) {
        const auto v6 = TSocketAddress::FromText(text, 21);
        ASSERT_TRUE(v6) << text;
        EXPECT_TRUE(v6->IsIpv6());
        EXPECT_EQ(v6->Port(), 21);
        EXPECT_EQ(v6->AddressText(), "2001:db8::1");
        EXPECT_EQ(v6->Ipv4(), 0u);
    }
    // Not numeric, or not an address at all.
    for (const char* text : {"", "localhost", "[192.0.2.7]", "1.2.3", "::g", "[::1", "::1]"}) {
        EXPECT_FALSE(IsNumericAddress(text)) << text;
    }
}

TEST(SocketAddress, MappedIpv4IsWrittenAsIpv4) {
    sockaddr_storage storage{};
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(990);
    const unsigned char mapped[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 127, 0, 0, 1};
    std::memcpy(&v6->sin6_addr, mapped, sizeof mapped);
    const TSocketAddress address = TSocketAddress::FromSystem(storage, sizeof(sockaddr_in6));
    EXPECT_EQ(address.AddressText(), "127.0.0.1");
    EXPECT_EQ(address.Port(), 990);
}
