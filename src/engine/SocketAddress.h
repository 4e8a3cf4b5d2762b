// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// An IPv4 or IPv6 address with a port, as the system's socket calls take it.
struct TSocketAddress {
    sockaddr_storage Storage{};
    socklen_t Length = 0;

    // A numeric address ("192.0.2.7", "2001:db8::1", or "[2001:db8::1]"); nullopt for a host
    // name or anything else.
    static std::optional<TSocketAddress> FromText(std::string_view address, std::uint16_t port);
    // What getsockname or accept filled in.
    static TSocketAddress FromSystem(const sockaddr_storage& storage, socklen_t length);

    int Family() const { return Storage.ss_family; }
    bool IsIpv6() const { return Storage.ss_family == AF_INET6; }
    const sockaddr* Raw() const { return reinterpret_cast<const sockaddr*>(&Storage); }
    std::uint16_t Port() const;
    // The address without the port ("127.0.0.1", "::1"); an IPv4 address mapped into IPv6 is
    // written as IPv4.
    std::string AddressText() const;
    // The IPv4 address in host byte order; 0 for an IPv6 address.
    std::uint32_t Ipv4() const;
};

// True for a numeric IPv4 or IPv6 address (brackets allowed around IPv6).
bool IsNumericAddress(std::string_view text);

} // namespace qx
