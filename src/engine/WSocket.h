// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ProxyHandshake.h"
#include "engine/SocketAddress.h"
#include "engine/TlsLayer.h"
#include "platform/MessageQueue.h"

#include <asio/ip/tcp.hpp>
#include <asio/posix/stream_descriptor.hpp>

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

enum class TSocketState : std::uint8_t {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed,
};

enum class TSocketLingerOnOff : std::uint8_t { wsLingerOff, wsLingerOn, wsLingerNoSet };

// A port number, or a service name of the system's services database ("ftp"); -1 when it is
// neither.
int ResolveServicePort(const std::string& port, const std::string& proto);

// The error OnSessionConnected reports when the proxy did not open the tunnel; the reason is
// in TunnelErrorText().
constexpr int kProxyTunnelFailed = 10900;

class ESocketException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An asynchronous, non-blocking TCP socket whose completions (name lookup, connect, incoming
// connection, data, send buffer drained, close) arrive later as events on the thread that owns
// its MessageQueue. An event is never raised from inside the call that caused it, except where
// a member says so (DnsLookup of a dotted address, Close).
//
// Readiness comes from asio waits on the descriptor; each wait carries the number of the
// connection it was made for, so a wait that completes after its connection ended is ignored.
class TWSocket {
public:
    using TDnsLookupDone = std::function<void(TWSocket&, std::uint16_t error)>;
    using TSessionConnected = std::function<void(TWSocket&, std::uint16_t error)>;
    using TSessionAvailable = std::function<void(TWSocket&, std::uint16_t error)>;
    using TDataAvailable = std::function<void(TWSocket&, std::uint16_t error)>;
    using TDataSent = std::function<void(TWSocket&, std::uint16_t error)>;
    using TSessionClosed = std::function<void(TWSocket&, std::uint16_t error)>;
    using TChangeState =
        std::function<void(TWSocket&, TSocketState oldState, TSocketState newState)>;
    using TNotifyEvent = std::function<void(TWSocket&)>;
    using TBgExceptionEvent = std::function<void(TWSocket&, const std::exception&, bool& canClose)>;

    explicit TWSocket(MessageQueue& queue);
    TWSocket(const TWSocket&) = delete;
    TWSocket& operator=(const TWSocket&) = delete;
    ~TWSocket();

    // Addr, Port and Proto may only change while the socket is closed.
    const std::string& Addr() const { return m_addr; }
    void SetAddr(const std::string& addr);
    const std::string& Port() const { return m_port; }
    void SetPort(const std::string& port);
    const std::string& Proto() const { return m_proto; }
    void SetProto(const std::string& proto);

    const std::string& DnsResult() const { return m_dnsResult; }
    // Every address of the last lookup, numeric (IPv4 or IPv6), in the system's order of
    // preference.
    const std::vector<std::string>& DnsResultList() const { return m_dnsResultList; }
    TSocketState State() const { return m_state; }
    int LastError() const { return m_lastError; }
    int Handle() const;

    TSocketLingerOnOff LingerOnOff = TSocketLingerOnOff::wsLingerNoSet;
    int LingerTimeout = 0; // seconds
    // There is one message queue per thread, so both values pump the owning thread's queue.
    bool MultiThreaded = false;

    TDnsLookupDone OnDnsLookupDone;
    TSessionConnected OnSessionConnected;
    TSessionAvailable OnSessionAvailable;
    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TSessionClosed OnSessionClosed;
    // The TLS handshake started by StartTls ended: 0, or nonzero with the reason in
    // TlsErrorText(); after a failure the connection closes (OnSessionClosed follows).
    TSessionConnected OnTlsHandshakeDone;
    TChangeState OnChangeState;
    // When assigned, errors are reported here (the text in LastErrorText) instead of thrown.
    TNotifyEvent OnError;
    TBgExceptionEvent OnBgException;
    const std::string& LastErrorText() const { return m_lastErrorText; }

    void DnsLookup(const std::string& hostName);
    void CancelLookup();
    void Connect();
    void Listen();
    // The handle of the waiting connection, or -1 (LastError set).
    int Accept();
    // Closes the current handle, if any, silently and adopts the connected handle.
    void Dup(int handle);
    TSocketAddress LocalAddress() const;
    // The other end of a connected socket; nothing when there is none.
    std::optional<TSocketAddress> PeerAddress() const;
    // At most size bytes; the count, 0 when the peer closed, -1 on failure (LastError set,
    // 10035 when nothing is waiting).
    std::ptrdiff_t ReceiveData(void* buffer, std::size_t size);
    // As ReceiveData, but the bytes go into the pipe (the system moves them without a copy
    // through our memory); -1 with LastError 10045 when the connection cannot do that.
    std::ptrdiff_t ReceiveToPipe(int pipeFd, std::size_t size);
    std::ptrdiff_t Send(const void* data, std::size_t length);
    std::ptrdiff_t SendText(std::string_view text) { return Send(text.data(), text.size()); }
    // Counts every connect, accept and every read or send that moved bytes, so that a watcher
    // can tell a connection that is making progress from one that is silent.
    std::uint64_t Activity() const { return m_activity; }
    // The system's text of the last failed name lookup.
    const std::string& LookupErrorText() const { return m_lookupErrorText; }
    // Raises OnSessionClosed(0) from inside the call unless it already fired for this
    // connection.
    void Close();
    void Shutdown(int how);
    void ApplyLinger();
    // A listening socket whose connection arrived while no OnSessionAvailable handler was set
    // raises the event again (after this call) once a handler is there to take it.
    void ResumeAcceptNotifications();
    // Runs TLS over the connected socket from now on: the handshake starts at once and reads and
    // sends go through TLS. Data given to Send during the handshake goes out after it; no data
    // is reported before it. Splicing into a pipe is then not possible. The context must
    // outlive the connection.
    void StartTls(const TTlsContext& context, TTlsLayer::Options options);
    // The TLS of the current connection, or null.
    const TTlsLayer* Tls() const { return m_tls.get(); }
    bool TlsHandshaking() const { return m_tlsHandshaking; }
    // Why the TLS of the last connection failed (kept after it closed), or empty.
    const std::string& TlsErrorText() const { return m_tlsError; }
    // Connect() then reaches Addr:Port, a proxy, and asks it for a tunnel to the target
    // (numeric port or service name); OnSessionConnected comes when the tunnel is open, or with
    // kProxyTunnelFailed when the proxy did not open it. Kept for every later Connect until
    // ClearTunnel.
    void SetTunnel(const TProxySettings& proxy, const std::string& targetHost,
                   const std::string& targetPort);
    void ClearTunnel() { m_tunnelProxy.reset(); }
    bool Tunnelled() const { return m_tunnelProxy.has_value(); }
    // Why the last tunnel was not opened, or empty.
    const std::string& TunnelErrorText() const { return m_tunnelError; }
    // Dispatches the pending messages of the owning thread.
    void ProcessMessages();
    // Bytes given to Send that have not been handed to the network yet.
    std::size_t BufferedBytes() const { return m_sendBuffer.size() - m_sendOffset; }

private:
    void changeState(TSocketState newState);
    template <typename Read> std::ptrdiff_t receiveWith(std::size_t size, Read read);
    void raiseError(const std::string& message);
    void raiseSocketError(int error, const std::string& function);
    template <typename Handler, typename... Args> void fire(const Handler& handler, Args... args);
    void handleBackgroundException(const std::exception& error);

    void adoptHandle(int fd);
    void closeHandle();
    void armRead();
    void armWrite();
    void armWait(asio::posix::descriptor_base::wait_type type);
    void postReadNotification();
    void postWriteNotification();
    void runWriteNotifications(std::uint64_t connection);
    void onReadable(std::uint64_t connection, const std::error_code& error);
    void onWritable(std::uint64_t connection, const std::error_code& error);
    struct TRequiredSetting {
        std::string_view Value;
        const char* MissingText;
    };
    // The address, port and protocol set as one address; nothing, with the error raised, when
    // one of them cannot be used: the text of the first required setting, in the order given,
    // that is empty, else the resolver's message after the prefix.
    std::optional<TSocketAddress> resolveAddress(std::initializer_list<TRequiredSetting> required,
                                                 const std::string& prefix);
    int openStreamSocket(int family);
    void connectCompleted(int error);
    void peerClosed(int error);
    void tryToSend();
    ssize_t sendSome(const char* data, std::size_t length);
    void continueHandshake();
    // The TCP connection to the server, or to the proxy that then opens the tunnel, ended.
    void tcpConnectCompleted(int error);
    void startTunnel();
    void continueTunnel();
    void takeTunnelStep(TProxyHandshake::TResult step);
    void failTunnel(std::string reason);
    // Hands the descriptor of a closing TLS connection to a reader that drops what still
    // comes until the peer closes.
    void lingerOnClose();
    void sendError(int error);
    void applyLingerTo(int fd);

    MessageQueue& m_queue;
    mutable asio::posix::stream_descriptor m_descriptor; // native_handle() is not const
    asio::ip::tcp::resolver m_resolver;
    // Expires with the socket; posted messages and waits hold a weak reference to it.
    std::shared_ptr<char> m_life = std::make_shared<char>();

    std::string m_addr = "0.0.0.0";
    std::string m_port;
    std::string m_proto = "tcp";
    std::string m_dnsResult;
    std::vector<std::string> m_dnsResultList;
    std::string m_lastErrorText;
    TSocketState m_state = TSocketState::wsClosed;
    int m_lastError = 0;

    std::uint64_t m_connection = 0; // numbers each handle the socket holds
    std::uint64_t m_lookup = 0;     // numbers each lookup
    bool m_lookupPending = false;
    bool m_readPosted = false;
    bool m_readArmed = false;
    bool m_writeArmed = false;
    bool m_inReadNotification = false;
    bool m_receiveCalled = false;
    bool m_lastReceiveFilled = false; // the last read returned all it asked for
    bool m_closeFired = false;
    // Self-posted "all sent" notifications raised while one of them runs are run in the same
    // handler, a few at a time, instead of each waiting for a turn of the reactor.
    bool m_inWriteNotification = false;
    bool m_writeNotificationPending = false;

    std::string m_sendBuffer;
    std::size_t m_sendOffset = 0;
    std::uint64_t m_activity = 0;
    std::string m_lookupErrorText;

    std::unique_ptr<TTlsLayer> m_tls;
    bool m_tlsHandshaking = false;
    std::string m_tlsError;

    std::optional<TProxySettings> m_tunnelProxy;
    std::string m_tunnelHost;
    std::string m_tunnelPort;
    std::unique_ptr<TProxyHandshake> m_tunnel; // while the proxy opens the tunnel
    std::string m_tunnelOutput;                // handshake bytes not sent yet
    std::string m_tunnelError;
};

} // namespace qx
