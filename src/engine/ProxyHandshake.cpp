// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ProxyHandshake.h"

#include "engine/SocketAddress.h"

#include <openssl/evp.h>

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace qx {

namespace {

constexpr char kSocksVersion = 5;
constexpr char kMethodNone = 0;
constexpr char kMethodPassword = 2;
constexpr auto kMethodRefused = static_cast<char>(0xFF);
constexpr char kAddressIpv4 = 1;
constexpr char kAddressName = 3;
constexpr char kAddressIpv6 = 4;
constexpr std::size_t kSocksFieldLimit = 255;

std::string base64(std::string_view text) {
    std::string out(4 * ((text.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                       reinterpret_cast<const unsigned char*>(text.data()),
                                       static_cast<int>(text.size()));
    out.resize(static_cast<std::size_t>(std::max(length, 0)));
    return out;
}

bool holdsSpaceOrControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

// What a reply line may show the user: printable ASCII, shortened.
std::string printable(std::string_view text) {
    constexpr std::size_t kShown = 120;
    std::string out;
    for (const char c : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    return out;
}

std::string withBrackets(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

void appendPort(std::string& bytes, std::uint16_t port) {
    bytes += static_cast<char>(port >> 8);
    bytes += static_cast<char>(port & 0xFF);
}

} // namespace

std::string SocksReplyText(std::uint8_t code) {
    static constexpr std::array<const char*, 9> kTexts{
        "succeeded",
        "general failure of the proxy",
        "connection not allowed by the proxy's rules",
        "network unreachable",
        "host unreachable",
        "connection refused by the server",
        "time to live expired",
        "command not supported by the proxy",
        "address type not supported by the proxy",
    };
    if (code < kTexts.size()) {
        return kTexts[code];
    }
    return "unknown reply code " + std::to_string(code);
}

TProxyHandshake::TProxyHandshake(TProxySettings proxy, std::string targetHost,
                                 std::uint16_t targetPort)
    : m_proxy(std::move(proxy)), m_targetHost(std::move(targetHost)), m_targetPort(targetPort) {
    if (m_targetHost.size() > 2 && m_targetHost.front() == '[' && m_targetHost.back() == ']') {
        m_targetHost = m_targetHost.substr(1, m_targetHost.size() - 2);
    }
}

TProxyHandshake::TResult TProxyHandshake::fail(std::string message) {
    m_phase = TPhase::Failed;
    m_wanted = 0;
    m_error = std::move(message);
    return {TStep::Failed, {}};
}

TProxyHandshake::TResult TProxyHandshake::Start() {
    if (m_targetHost.empty() || holdsSpaceOrControl(m_targetHost)) {
        return fail("The server's name cannot be sent to the proxy: it is empty or holds a "
                    "space or control character");
    }
    m_received.clear();
    if (m_proxy.Kind == TProxyKind::Http) {
        const std::string target = withBrackets(m_targetHost) + ":" + std::to_string(m_targetPort);
        std::string request = "CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n";
        if (!m_proxy.User.empty()) {
            request += "Proxy-Authorization: Basic " +
                       base64(m_proxy.User + ":" + m_proxy.Password) + "\r\n";
        }
        request += "\r\n";
        m_phase = TPhase::HttpHeader;
        m_wanted = 1;
        return {TStep::Send, std::move(request)};
    }
    if (m_proxy.User.size() > kSocksFieldLimit || m_proxy.Password.size() > kSocksFieldLimit) {
        return fail("The proxy's user name and password may be at most 255 bytes each");
    }
    if (!IsNumericAddress(m_targetHost) && m_targetHost.size() > kSocksFieldLimit) {
        return fail("The server's name is longer than a SOCKS5 proxy takes (255 bytes)");
    }
    std::string greeting{kSocksVersion};
    if (m_proxy.User.empty()) {
        greeting += {1, kMethodNone};
    } else {
        greeting += {2, kMethodNone, kMethodPassword};
    }
    m_phase = TPhase::SocksMethod;
    m_wanted = 2;
    return {TStep::Send, std::move(greeting)};
}

std::size_t TProxyHandshake::Wanted() const {
    return m_wanted > m_received.size() ? m_wanted - m_received.size() : 0;
}

TProxyHandshake::TResult TProxyHandshake::Feed(std::string_view bytes) {
    if (m_phase == TPhase::Open || m_phase == TPhase::Failed) {
        return {m_phase == TPhase::Open ? TStep::Open : TStep::Failed, {}};
    }
    if (bytes.size() > Wanted()) {
        return fail("The proxy's reply could not be read (more bytes than asked for)");
    }
    m_received.append(bytes);
    if (m_phase == TPhase::HttpHeader) {
        return feedHttp();
    }
    if (Wanted() > 0) {
        return {TStep::More, {}};
    }
    return feedSocks();
}

TProxyHandshake::TResult TProxyHandshake::socksConnectRequest() {
    std::string request{kSocksVersion, 1, 0};
    std::array<unsigned char, 16> address{};
    if (::inet_pton(AF_INET, m_targetHost.c_str(), address.data()) == 1) {
        request += kAddressIpv4;
        request.append(reinterpret_cast<const char*>(address.data()), 4);
    } else if (::inet_pton(AF_INET6, m_targetHost.c_str(), address.data()) == 1) {
        request += kAddressIpv6;
        request.append(reinterpret_cast<const char*>(address.data()), 16);
    } else {
        request += kAddressName;
        request += static_cast<char>(m_targetHost.size());
        request += m_targetHost;
    }
    appendPort(request, m_targetPort);
    m_received.clear();
    m_phase = TPhase::SocksReplyHead;
    m_wanted = 5;
    return {TStep::Send, std::move(request)};
}

TProxyHandshake::TResult TProxyHandshake::feedSocks() {
    const auto byte = [this](std::size_t index) {
        return static_cast<std::uint8_t>(m_received[index]);
    };
    switch (m_phase) {
    case TPhase::SocksMethod: {
        if (byte(0) != kSocksVersion) {
            return fail("The proxy does not answer as a SOCKS5 proxy");
        }
        const char method = m_received[1];
        if (method == kMethodNone) {
            return socksConnectRequest();
        }
        if (method == kMethodPassword && !m_proxy.User.empty()) {
            std::string login{1};
            login += static_cast<char>(m_proxy.User.size());
            login += m_proxy.User;
            login += static_cast<char>(m_proxy.Password.size());
            login += m_proxy.Password;
            m_received.clear();
            m_phase = TPhase::SocksAuth;
            m_wanted = 2;
            return {TStep::Send, std::move(login)};
        }
        if (method == kMethodRefused && m_proxy.User.empty()) {
            return fail("The proxy requires a user name and password");
        }
        return fail("The proxy accepts none of the authentication methods offered");
    }
    case TPhase::SocksAuth:
        if (byte(1) != 0) {
            return fail("The proxy refused the user name or password");
        }
        return socksConnectRequest();
    case TPhase::SocksReplyHead: {
        if (byte(0) != kSocksVersion) {
            return fail("The proxy does not answer as a SOCKS5 proxy");
        }
        if (byte(1) != 0) {
            return fail("The proxy refused the connection: " + SocksReplyText(byte(1)));
        }
        // The bound address follows; its first byte is already here.
        std::size_t rest = 0;
        switch (m_received[3]) {
        case kAddressIpv4:
            rest = 4 - 1 + 2;
            break;
        case kAddressIpv6:
            rest = 16 - 1 + 2;
            break;
        case kAddressName:
            rest = byte(4) + 2;
            break;
        default:
            return fail("The proxy's reply is malformed (address type " + std::to_string(byte(3)) +
                        ")");
        }
        m_phase = TPhase::SocksReplyAddress;
        m_wanted = m_received.size() + rest;
        return {TStep::More, {}};
    }
    case TPhase::SocksReplyAddress:
        m_phase = TPhase::Open;
        m_wanted = 0;
        return {TStep::Open, {}};
    default:
        return fail("The proxy's reply could not be read");
    }
}

TProxyHandshake::TResult TProxyHandshake::feedHttp() {
    const bool ended = m_received.ends_with("\r\n\r\n") || m_received.ends_with("\n\n");
    if (!ended) {
        if (m_received.size() >= kMaxHttpHeader) {
            return fail("The proxy's reply header is longer than " +
                        std::to_string(kMaxHttpHeader) + " bytes");
        }
        m_wanted = m_received.size() + 1;
        return {TStep::More, {}};
    }
    const std::string_view header = m_received;
    const std::string_view statusLine = header.substr(0, header.find_first_of("\r\n"));
    // "HTTP/1.1 200 Connection established"
    const bool wellFormed = statusLine.starts_with("HTTP/") && statusLine.size() >= 12 &&
                            statusLine.find(' ') != std::string_view::npos;
    const std::size_t space = statusLine.find(' ');
    const std::string_view code = wellFormed ? statusLine.substr(space + 1, 3) : "";
    const bool digits = code.size() == 3 && std::all_of(code.begin(), code.end(), [](char c) {
                            return c >= '0' && c <= '9';
                        });
    if (!digits || (statusLine.size() > space + 4 && statusLine[space + 4] != ' ')) {
        return fail("The proxy's reply is not an HTTP reply: \"" + printable(statusLine) + "\"");
    }
    const std::string status = printable(statusLine.substr(space + 1));
    if (code[0] == '2') {
        m_phase = TPhase::Open;
        m_wanted = 0;
        return {TStep::Open, {}};
    }
    if (code == "407") {
        return fail(m_proxy.User.empty()
                        ? "The proxy requires a user name and password (" + status + ")"
                        : "The proxy refused the user name or password (" + status + ")");
    }
    return fail("The proxy refused the tunnel: " + status);
}

} // namespace qx
