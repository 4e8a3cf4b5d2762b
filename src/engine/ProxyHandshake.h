// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// The conversation that makes a proxy open a tunnel to a server: SOCKS5 (with the user name
// and password method where the proxy settings hold a user) or HTTP CONNECT (with Basic
// authentication). It only builds and reads bytes; the socket moves them. Every reply is read
// as hostile: lengths are bounded, and nothing past the proxy's own reply is ever asked for,
// so what the server sends through the tunnel stays unread for the caller.
class TProxyHandshake {
public:
    enum class TStep : std::uint8_t { More, Send, Open, Failed };
    struct TResult {
        TStep Step = TStep::More;
        std::string Bytes; // Send: what goes to the proxy next
    };

    static constexpr std::size_t kMaxHttpHeader = 16384;

    TProxyHandshake(TProxySettings proxy, std::string targetHost, std::uint16_t targetPort);

    // The first bytes for the proxy; Failed when the target or credentials cannot be sent.
    TResult Start();
    // The most the next read may take (at least 1 until the tunnel is open).
    std::size_t Wanted() const;
    // Takes what was read (at most Wanted() bytes).
    TResult Feed(std::string_view bytes);
    // Why the handshake failed, as the user reads it.
    const std::string& Error() const { return m_error; }
    const TProxySettings& Proxy() const { return m_proxy; }

private:
    enum class TPhase : std::uint8_t {
        SocksMethod,
        SocksAuth,
        SocksReplyHead,
        SocksReplyAddress,
        HttpHeader,
        Open,
        Failed
    };

    TResult fail(std::string message);
    TResult socksConnectRequest();
    TResult feedSocks();
    TResult feedHttp();

    TProxySettings m_proxy;
    std::string m_targetHost;
    std::uint16_t m_targetPort;
    TPhase m_phase = TPhase::Failed;
    std::string m_received;
    std::size_t m_wanted = 0;
    std::string m_error;
};

// The text of a SOCKS5 reply code ("host unreachable" for 4).
std::string SocksReplyText(std::uint8_t code);

} // namespace qx
