// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SocketAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <array>
#include <cstring>

namespace qx {

namespace {

std::string_view WithoutBrackets(std::string_view text) {
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

} // namespace

std::optional<TSocketAddress> TSocketAddress::FromText(std::string_view address,
                                                       std::uint16_t port) {
    const std::string text(WithoutBrackets(address));
    if (text.empty() || text.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    TSocketAddress result;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&result.Storage);
    if (text.size() == address.size() && ::inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        result.Length = sizeof(sockaddr_in);
        return result;
    }
    result.Storage = {};
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&result.Storage);
    if (::inet_pton(AF_INET6, text.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        result.Length = sizeof(sockaddr_in6);
        return result;
    }
    return std::nullopt;
}

TSocketAddress TSocketAddress::FromSystem(const sockaddr_storage& storage, socklen_t length) {
    TSocketAddress result;
    result.Storage = storage;
    result.Length = length;
    return result;
}

std::uint16_t TSocketAddress::Port() const {
    if (IsIpv6()) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&Storage)->sin6_port);
    }
    if (Family() == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in*>(&Storage)->sin_port);
    }
    return 0;
}

std::string TSocketAddress::AddressText() const {
    std::array<char, INET6_ADDRSTRLEN> text{};
    if (IsIpv6()) {
        const in6_addr& address = reinterpret_cast<const sockaddr_in6*>(&Storage)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&address)) {
            in_addr v4{};
            std::memcpy(&v4, address.s6_addr + 12, sizeof v4);
            ::inet_ntop(AF_INET, &v4, text.data(), text.size());
        } else {
            ::inet_ntop(AF_INET6, &address, text.data(), text.size());
        }
    } else if (Family() == AF_INET) {
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&Storage)->sin_addr, text.data(),
                    text.size());
    }
    return text.data();
}

std::uint32_t TSocketAddress::Ipv4() const {
    if (Family() != AF_INET) {
        return 0;
    }
    return ntohl(reinterpret_cast<const sockaddr_in*>(&Storage)->sin_addr.s_addr);
}

bool IsNumericAddress(std::string_view text) {
    return TSocketAddress::FromText(text, 0).has_value();
}

} // namespace qx
