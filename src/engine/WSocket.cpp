// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/WSocket.h"

#include "base/AsciiText.h"
#include "engine/SocketErrors.h"

#include <asio/steady_timer.hpp>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace qx {

int ResolveServicePort(const std::string& port, const std::string& proto) {
    if (port.empty()) {
        return -1;
    }
    if (std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (port.size() > 5) {
            return -1;
        }
        const int number = std::atoi(port.c_str());
        return number <= 65535 ? number : -1;
    }
    std::array<char, 1024> buffer{};
    servent entry{};
    servent* found = nullptr;
    if (::getservbyname_r(port.c_str(), proto.c_str(), &entry, buffer.data(), buffer.size(),
                          &found) == 0 &&
        found != nullptr) {
        return ntohs(static_cast<std::uint16_t>(found->s_port));
    }
    // The two services the system needs, for machines without a services database.
    if (AsciiEqualNoCase(port, "ftp")) {
        return 21;
    }
    if (AsciiEqualNoCase(port, "ftp-data")) {
        return 20;
    }
    return -1;
}

namespace {

// Closing a connection with bytes unread makes the system reset it, and a reset makes the peer
// drop what it has received and not read yet. A TLS peer keeps sending after the data (TLS 1.3
// session tickets, its close notification), so a closed TLS connection reads and drops what
// still comes until the peer closes too, or the limit passes. What comes still goes through
// TLS, so that session tickets sent after a short connection's handshake are taken.
class LingeringClose : public std::enable_shared_from_this<LingeringClose> {
public:
    LingeringClose(asio::io_context& context, int fd, std::unique_ptr<TTlsLayer> tls)
        : m_descriptor(context, fd), m_timer(context), m_tls(std::move(tls)) {}

    void start(std::chrono::seconds limit) {
        if (!drain()) {
            finish();
            return;
        }
        m_timer.expires_after(limit);
        m_timer.async_wait([self = shared_from_this()](const std::error_code& error) {
            if (!error) {
                self->finish();
            }
        });
        wait();
    }

private:
    void wait() {
        m_descriptor.async_wait(asio::posix::descriptor_base::wait_read,
                                [self = shared_from_this()](const std::error_code& error) {
                                    if (!error && self->drain()) {
                                        self->wait();
                                    } else {
                                        self->finish();
                                    }
                                });
    }

    // False once the peer has closed (or the connection failed).
    bool drain() {
        std::array<char, 4096> junk{};
        if (m_tls && !m_tls->HandshakeDone()) {
            m_tls.reset(); // closed during the handshake: nothing to take from it
        }
        while (m_tls) {
            const ssize_t count = m_tls->Read(junk.data(), junk.size());
            if (count > 0) {
                continue;
            }
            if (count < 0 && errno == EAGAIN && !m_tls->WantsWrite()) {
                return true;
            }
            m_tls.reset(); // ended or failed: the rest is read as it is
        }
        for (;;) {
            const ssize_t count =
                ::recv(m_descriptor.native_handle(), junk.data(), junk.size(), MSG_DONTWAIT);
            if (count > 0) {
                continue;
            }
            return count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
        }
    }

    void finish() {
        std::error_code ignored;
        m_timer.cancel();
        m_tls.reset();
        m_descriptor.close(ignored);
    }

    asio::posix::stream_descriptor m_descriptor;
    asio::steady_timer m_timer;
    std::unique_ptr<TTlsLayer> m_tls;
};

constexpr std::chrono::seconds kLingerLimit{10};

} // namespace

TWSocket::TWSocket(MessageQueue& queue)
    : m_queue(queue), m_descriptor(queue.context()), m_resolver(queue.context()) {}

TWSocket::~TWSocket() {
    // No events from a socket that is going away.
    m_life.reset();
    std::error_code ignored;
    m_resolver.cancel();
    m_descriptor.close(ignored);
}

int TWSocket::Handle() const {
    return m_descriptor.is_open() ? m_descriptor.native_handle() : -1;
}

void TWSocket::SetAddr(const std::string& addr) {
    if (m_state != TSocketState::wsClosed) {
        raiseError("Cannot change Addr if not closed");
        return;
    }
    m_addr = addr;
}

void TWSocket::SetPort(const std::string& port) {
    if (m_state != TSocketState::wsClosed) {
        raiseError("Cannot change Port if not closed");
        return;
    }
    m_port = port;
}

void TWSocket::SetProto(const std::string& proto) {
    if (m_state != TSocketState::wsClosed) {
        raiseError("Cannot change Proto if not closed");
        return;
    }
    m_proto = proto;
}

void TWSocket::changeState(TSocketState newState) {
    const TSocketState oldState = m_state;
    m_state = newState;
    if (oldState != newState) {
        fire(OnChangeState, oldState, newState);
    }
}

void TWSocket::raiseError(const std::string& message) {
    m_lastErrorText = message;
    if (OnError) {
        auto handler = OnError;
        handler(*this);
        return;
    }
    throw ESocketException(message);
}

void TWSocket::raiseSocketError(int error, const std::string& function) {
    m_lastError = error;
    if (error == 10054 || error == kWsaNotConnected) {
        closeHandle();
        changeState(TSocketState::wsClosed);
    }
    raiseError(WSocketErrorText(error, function));
}

template <typename Handler, typename... Args>
void TWSocket::fire(const Handler& handler, Args... args) {
    if (!handler) {
        return;
    }
    // A copy, so that the handler may replace itself or any other handler while it runs.
    Handler call = handler;
    call(*this, args...);
}

void TWSocket::handleBackgroundException(const std::exception& error) {
    bool canClose = true;
    if (OnBgException) {
        try {
            auto handler = OnBgException;
            handler(*this, error, canClose);
        } catch (...) {
            canClose = true;
        }
    }
    if (canClose) {
        closeHandle();
        changeState(TSocketState::wsClosed);
    }
}

void TWSocket::applyLingerTo(int fd) {
    if (LingerOnOff == TSocketLingerOnOff::wsLingerNoSet) {
        return;
    }
    linger value{};
    value.l_onoff = LingerOnOff == TSocketLingerOnOff::wsLingerOn ? 1 : 0;
    value.l_linger = LingerTimeout;
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &value, sizeof value);
}

void TWSocket::ApplyLinger() {
    if (LingerOnOff == TSocketLingerOnOff::wsLingerNoSet) {
        return;
    }
    if (!m_descriptor.is_open()) {
        raiseError("Cannot set linger option at this time");
        return;
    }
    applyLingerTo(m_descriptor.native_handle());
}

// --- Name lookup ---------------------------------------------------------------------------

void TWSocket::DnsLookup(const std::string& hostName) {
    if (hostName.empty()) {
        raiseError("DNS lookup: invalid host name.");
        return;
    }
    CancelLookup();
    if (const auto numeric = TSocketAddress::FromText(hostName, 0)) {
        m_dnsResult = numeric->AddressText();
        m_dnsResultList = {m_dnsResult};
        fire(OnDnsLookupDone, std::uint16_t{0});
        return;
    }
    const std::uint64_t lookup = ++m_lookup;
    m_lookupPending = true;
    std::weak_ptr<char> life = m_life;
    try {
        m_resolver.async_resolve(
            hostName, "",
            [this, life, lookup](const std::error_code& error,
                                 const asio::ip::tcp::resolver::results_type& results) {
                if (life.expired() || lookup != m_lookup ||
                    error == asio::error::operation_aborted) {
                    return;
                }
                m_lookupPending = false;
                int code = WinsockErrorFromAsio(error);
                m_lookupErrorText = error ? error.message() : std::string();
                if (code == 0) {
                    m_dnsResultList.clear();
                    for (const auto& entry : results) {
                        std::string address = entry.endpoint().address().to_string();
                        if (std::find(m_dnsResultList.begin(), m_dnsResultList.end(), address) ==
                            m_dnsResultList.end()) {
                            m_dnsResultList.push_back(std::move(address));
                        }
                    }
                    if (m_dnsResultList.empty()) {
                        code = 11004;
                    } else {
                        m_dnsResult = m_dnsResultList.front();
                    }
                }
                try {
                    fire(OnDnsLookupDone, static_cast<std::uint16_t>(code));
                } catch (const std::exception& e) {
                    handleBackgroundException(e);
                }
            });
    } catch (const std::system_error& e) {
        m_lookupPending = false;
        raiseError(hostName + ": can't start DNS lookup, error #" +
                   std::to_string(WinsockErrorFromAsio(e.code())));
    }
}

void TWSocket::CancelLookup() {
    if (!m_lookupPending) {
        return;
    }
    m_lookupPending = false;
    ++m_lookup;
    m_resolver.cancel();
}

// --- Handles and waits -----------------------------------------------------------------------

void TWSocket::adoptHandle(int fd) {
    ++m_connection;
    m_tunnel.reset();
    m_descriptor.assign(fd);
    m_tls.reset();
    m_tlsHandshaking = false;
    m_readArmed = false;
    m_writeArmed = false;
    m_closeFired = false;
    m_sendBuffer.clear();
    m_sendOffset = 0;
}

void TWSocket::closeHandle() {
    if (!m_descriptor.is_open()) {
        return;
    }
    ++m_connection;
    m_tunnel.reset();
    if (m_tls && !m_tls->Error().empty()) {
        m_tlsError = m_tls->Error();
    }
    m_tls.reset();
    m_tlsHandshaking = false;
    std::error_code ignored;
    m_descriptor.close(ignored);
    m_readArmed = false;
    m_writeArmed = false;
    m_sendBuffer.clear();
    m_sendOffset = 0;
}

void TWSocket::armRead() {
    // Bytes TLS already took from the connection raise no event of the system: they get a
    // notification of their own.
    if (m_tls && m_tls->HandshakeDone() && m_tls->HasPending()) {
        postReadNotification();
        return;
    }
    armWait(asio::posix::descriptor_base::wait_read);
}

void TWSocket::armWrite() {
    armWait(asio::posix::descriptor_base::wait_write);
}

void TWSocket::armWait(asio::posix::descriptor_base::wait_type type) {
    const bool reading = type == asio::posix::descriptor_base::wait_read;
    bool& armed = reading ? m_readArmed : m_writeArmed;
    if (armed || !m_descriptor.is_open()) {
        return;
    }
    armed = true;
    std::weak_ptr<char> life = m_life;
    const std::uint64_t connection = m_connection;
    m_descriptor.async_wait(type, [this, life, connection, reading](const std::error_code& error) {
        if (life.expired() || connection != m_connection) {
            return;
        }
        (reading ? m_readArmed : m_writeArmed) = false;
        try {
            if (reading) {
                onReadable(connection, error);
            } else {
                onWritable(connection, error);
            }
        } catch (const std::exception& e) {
            handleBackgroundException(e);
        }
    });
}

void TWSocket::postReadNotification() {
    if (m_readPosted) {
        return;
    }
    m_readPosted = true;
    std::weak_ptr<char> life = m_life;
    const std::uint64_t connection = m_connection;
    m_queue.post([this, life, connection] {
        if (life.expired()) {
            return;
        }
        m_readPosted = false;
        if (connection != m_connection) {
            return;
        }
        try {
            onReadable(connection, {});
        } catch (const std::exception& e) {
            handleBackgroundException(e);
        }
    });
}

void TWSocket::postWriteNotification() {
    if (m_inWriteNotification) {
        m_writeNotificationPending = true;
        return;
    }
    std::weak_ptr<char> life = m_life;
    const std::uint64_t connection = m_connection;
    m_queue.post([this, life, connection] {
        if (life.expired() || connection != m_connection) {
            return;
        }
        runWriteNotifications(connection);
    });
}

void TWSocket::runWriteNotifications(std::uint64_t connection) {
    // Bounded, so that the other events of the thread (replies, aborts) wait at most this many
    // blocks.
    constexpr int kBatch = 16;
    std::weak_ptr<char> life = m_life;
    m_inWriteNotification = true;
    int round = 0;
    do {
        m_writeNotificationPending = false;
        try {
            onWritable(connection, {});
        } catch (const std::exception& e) {
            if (life.expired()) {
                return;
            }
            handleBackgroundException(e);
        }
        if (life.expired()) {
            return; // the handler destroyed the socket
        }
    } while (m_writeNotificationPending && connection == m_connection && ++round < kBatch);
    m_inWriteNotification = false;
    if (m_writeNotificationPending && connection == m_connection) {
        m_writeNotificationPending = false;
        postWriteNotification();
    }
}

// --- Connecting, listening, accepting ----------------------------------------------------------

std::optional<TSocketAddress>
TWSocket::resolveAddress(std::initializer_list<TRequiredSetting> required,
                         const std::string& prefix) {
    for (const TRequiredSetting& setting : required) {
        if (setting.Value.empty()) {
            raiseError(setting.MissingText);
            return std::nullopt;
        }
    }
    if (!IsNumericAddress(m_addr)) {
        raiseError(prefix + "WSocketResolveHost: Cannot convert host address '" + m_addr + "'");
        return std::nullopt;
    }
    if (!AsciiEqualNoCase(m_proto, "tcp")) {
        raiseError(prefix + "WSocketResolveProto: Cannot convert protocol '" + m_proto + "'");
        return std::nullopt;
    }
    const int port = ResolveServicePort(m_port, "tcp");
    if (port < 0) {
        raiseError(prefix + "WSocketResolvePort: Cannot convert port '" + m_port + "'");
        return std::nullopt;
    }
    return *TSocketAddress::FromText(m_addr, static_cast<std::uint16_t>(port));
}

// A non-blocking stream socket of the family; -1 once the error is raised.
int TWSocket::openStreamSocket(int family) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        raiseSocketError(WinsockErrorFromErrno(errno), "socket");
    }
    return fd;
}

void TWSocket::Connect() {
    if (m_state != TSocketState::wsClosed && m_state != TSocketState::wsInvalidState) {
        raiseError("Connect: Socket already in use");
        return;
    }
    const std::optional<TSocketAddress> resolved =
        resolveAddress({{m_port, "Connect: No Port Specified"},
                        {m_addr, "Connect: No IP Address Specified"},
                        {m_proto, "Connect: No Protocol Specified"}},
                       "connect: ");
    if (!resolved) {
        return;
    }
    const TSocketAddress& target = *resolved;

    const int fd = openStreamSocket(target.Family());
    if (fd < 0) {
        return;
    }
    applyLingerTo(fd);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    adoptHandle(fd);
    changeState(TSocketState::wsConnecting);

    int error = 0;
    if (::connect(fd, target.Raw(), target.Length) != 0) {
        if (errno == EINPROGRESS) {
            armWrite();
            return;
        }
        error = WinsockErrorFromErrno(errno);
    }
    // Completed (or failed) at once; the event still comes later.
    std::weak_ptr<char> life = m_life;
    const std::uint64_t connection = m_connection;
    m_queue.post([this, life, connection, error] {
        if (!life.expired() && connection == m_connection) {
            tcpConnectCompleted(error);
        }
    });
}

void TWSocket::connectCompleted(int error) {
    ++m_activity;
    try {
        changeState(TSocketState::wsConnected);
        m_lastError = error;
        fire(OnSessionConnected, static_cast<std::uint16_t>(error));
        if (error != 0) {
            Close();
            return;
        }
        armRead();
    } catch (const std::exception& e) {
        handleBackgroundException(e);
    }
}

void TWSocket::Listen() {
    const std::optional<TSocketAddress> resolved =
        resolveAddress({{m_port, "listen: port not assigned"},
                        {m_proto, "listen: protocol not assigned"},
                        {m_addr, "listen: address not assigned"}},
                       "");
    if (!resolved) {
        return;
    }
    const TSocketAddress& local = *resolved;
    closeHandle();
    const int fd = openStreamSocket(local.Family());
    if (fd < 0) {
        return;
    }
    if (::bind(fd, local.Raw(), local.Length) != 0) {
        m_lastError = WinsockErrorFromErrno(errno);
        ::close(fd);
        raiseError("winsock.bind failed, error #" + std::to_string(m_lastError));
        return;
    }
    if (::listen(fd, 5) != 0) {
        m_lastError = WinsockErrorFromErrno(errno);
        ::close(fd);
        raiseSocketError(m_lastError, "listen");
        return;
    }
    applyLingerTo(fd);
    adoptHandle(fd);
    changeState(TSocketState::wsListening);
    armRead();
}

int TWSocket::Accept() {
    if (m_state != TSocketState::wsListening) {
        raiseError("not a listening socket");
        return -1;
    }
    const int fd =
        ::accept4(m_descriptor.native_handle(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        m_lastError = WinsockErrorFromErrno(errno);
        if (m_lastError != kWsaWouldBlock) {
            armRead();
            raiseSocketError(m_lastError, "Accept");
            return -1;
        }
    } else {
        ++m_activity;
    }
    armRead();
    return fd;
}

void TWSocket::Dup(int handle) {
    if (m_descriptor.is_open() && m_descriptor.native_handle() != handle) {
        closeHandle();
    }
    if (handle < 0) {
        raiseSocketError(10038, "Dup");
        return;
    }
    const int flags = ::fcntl(handle, F_GETFL);
    ::fcntl(handle, F_SETFL, flags | O_NONBLOCK);
    applyLingerTo(handle);
    adoptHandle(handle);
    changeState(TSocketState::wsConnected);
    armRead();
}

TSocketAddress TWSocket::LocalAddress() const {
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    if (!m_descriptor.is_open() ||
        ::getsockname(m_descriptor.native_handle(), reinterpret_cast<sockaddr*>(&local), &length) !=
            0) {
        const int error = m_descriptor.is_open() ? WinsockErrorFromErrno(errno) : 10038;
        throw ESocketException("winsock.getsockname failed, error #" + std::to_string(error));
    }
    return TSocketAddress::FromSystem(local, length);
}

std::optional<TSocketAddress> TWSocket::PeerAddress() const {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    if (!m_descriptor.is_open() ||
        ::getpeername(m_descriptor.native_handle(), reinterpret_cast<sockaddr*>(&peer), &length) !=
            0) {
        return std::nullopt;
    }
    return TSocketAddress::FromSystem(peer, length);
}

// --- Data ------------------------------------------------------------------------------------

std::ptrdiff_t TWSocket::ReceiveData(void* buffer, std::size_t size) {
    if (m_tls) {
        return receiveWith(size, [this, buffer, size](int) { return m_tls->Read(buffer, size); });
    }
    return receiveWith(size, [buffer, size](int fd) { return ::recv(fd, buffer, size, 0); });
}

std::ptrdiff_t TWSocket::ReceiveToPipe(int pipeFd, std::size_t size) {
    if (m_tls) {
        m_lastError = 10045; // the bytes have to be decrypted on their way
        return -1;
    }
    return receiveWith(size, [pipeFd, size](int fd) {
        const ssize_t moved =
            ::splice(fd, nullptr, pipeFd, nullptr, size, SPLICE_F_MOVE | SPLICE_F_NONBLOCK);
        if (moved < 0 && (errno == EINVAL || errno == ENOSYS)) {
            errno = EOPNOTSUPP;
        }
        return moved;
    });
}

template <typename Read> std::ptrdiff_t TWSocket::receiveWith(std::size_t size, Read read) {
    if (!m_descriptor.is_open()) {
        m_lastError = 10038;
        return -1;
    }
    m_receiveCalled = true;
    ssize_t count;
    do {
        count = read(m_descriptor.native_handle());
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        m_lastError = WinsockErrorFromErrno(errno);
    } else if (count > 0) {
        ++m_activity;
    }
    m_lastReceiveFilled = count > 0 && static_cast<std::size_t>(count) == size;
    if (!m_inReadNotification &&
        (m_state == TSocketState::wsConnected || m_state == TSocketState::wsConnecting)) {
        // Reading outside a notification asks for the next one.
        armRead();
    }
    return count;
}

std::ptrdiff_t TWSocket::Send(const void* data, std::size_t length) {
    if (m_state != TSocketState::wsConnected || !m_descriptor.is_open()) {
        m_lastError = kWsaNotConnected;
        raiseError(WSocketErrorText(kWsaNotConnected, "Send"));
        return -1;
    }
    const char* bytes = static_cast<const char*>(data);
    std::size_t taken = 0;
    if (m_tlsHandshaking) {
        m_sendBuffer.append(bytes, length); // goes out when the handshake is done
        return static_cast<std::ptrdiff_t>(length);
    }
    if (BufferedBytes() == 0) {
        // Nothing queued: hand the data to the network straight from the caller's buffer and
        // keep only what it did not take.
        m_sendBuffer.clear();
        m_sendOffset = 0;
        while (taken < length) {
            const ssize_t sent = sendSome(bytes + taken, length - taken);
            if (sent < 0) {
                if (errno == EINTR) {
                    continue;
                }
                break; // would block or failed: tryToSend below deals with it
            }
            ++m_activity;
            taken += static_cast<std::size_t>(sent);
        }
    }
    m_sendBuffer.append(bytes + taken, length - taken);
    const std::uint64_t connection = m_connection;
    tryToSend();
    if (connection == m_connection && m_descriptor.is_open()) {
        if (BufferedBytes() == 0) {
            postWriteNotification();
        } else {
            armWrite();
        }
    }
    return static_cast<std::ptrdiff_t>(length);
}

void TWSocket::sendError(int error) {
    m_lastError = error;
    if (error == kWsaWouldBlock) {
        armWrite();
        return;
    }
    if (error == 10022 || error == 10038 || error == 10053 || error == 10054 ||
        error == kWsaNotConnected) {
        peerClosed(error);
        return;
    }
    raiseSocketError(error, "TryToSend failed");
}

ssize_t TWSocket::sendSome(const char* data, std::size_t length) {
    if (m_tls) {
        return m_tls->Write(data, length);
    }
    return ::send(m_descriptor.native_handle(), data, length, MSG_NOSIGNAL);
}

void TWSocket::tryToSend() {
    while (m_sendOffset < m_sendBuffer.size()) {
        const ssize_t sent =
            sendSome(m_sendBuffer.data() + m_sendOffset, m_sendBuffer.size() - m_sendOffset);
        if (sent >= 0) {
            ++m_activity;
            m_sendOffset += static_cast<std::size_t>(sent);
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        sendError(WinsockErrorFromErrno(errno));
        return;
    }
    m_sendBuffer.clear();
    m_sendOffset = 0;
}

void TWSocket::onWritable(std::uint64_t connection, const std::error_code& error) {
    if (error == asio::error::operation_aborted) {
        return;
    }
    if (m_tunnel) {
        continueTunnel();
        return;
    }
    if (m_state == TSocketState::wsConnecting) {
        int socketError = 0;
        socklen_t length = sizeof socketError;
        if (::getsockopt(m_descriptor.native_handle(), SOL_SOCKET, SO_ERROR, &socketError,
                         &length) != 0) {
            socketError = errno;
        }
        tcpConnectCompleted(WinsockErrorFromErrno(socketError));
        return;
    }
    if (m_state != TSocketState::wsConnected) {
        return;
    }
    if (m_tlsHandshaking) {
        continueHandshake();
        return;
    }
    if (m_tls && m_tls->WantsWrite()) {
        onReadable(connection, {}); // a read that had to send first can go on now
        if (connection != m_connection) {
            return;
        }
    }
    tryToSend();
    if (connection == m_connection && m_descriptor.is_open() && BufferedBytes() == 0) {
        fire(OnDataSent, std::uint16_t{0});
    }
}

void TWSocket::onReadable(std::uint64_t connection, const std::error_code& error) {
    if (error == asio::error::operation_aborted) {
        return;
    }
    if (m_tunnel) {
        continueTunnel();
        return;
    }
    if (m_state == TSocketState::wsListening) {
        // Without a handler the connection waits; ResumeAcceptNotifications() asks again.
        fire(OnSessionAvailable, std::uint16_t{0});
        return;
    }
    if (m_state != TSocketState::wsConnected) {
        return;
    }
    if (m_tlsHandshaking) {
        continueHandshake();
        return;
    }
    const int fd = m_descriptor.native_handle();
    bool moreLikely = false;
    for (;;) {
        if (m_tls && m_tls->PeerEnded()) {
            peerClosed(0); // the server ended TLS; its closing of the connection may follow
            return;
        }
        // A read that filled its buffer almost always leaves more waiting; only otherwise ask
        // the system how much is there.
        int waiting = moreLikely ? 1 : 0;
        if (!moreLikely && ::ioctl(fd, FIONREAD, &waiting) != 0) {
            waiting = 0;
        }
        if (waiting == 0 && m_tls && m_tls->HasPending()) {
            waiting = 1;
        }
        if (waiting > 0) {
            m_receiveCalled = false;
            m_inReadNotification = true;
            struct Reset {
                TWSocket& socket;
                ~Reset() { socket.m_inReadNotification = false; }
            } reset{*this};
            if (OnDataAvailable) {
                fire(OnDataAvailable, std::uint16_t{0});
            } else {
                std::array<char, 1024> discard{};
                ReceiveData(discard.data(), discard.size());
            }
            if (connection != m_connection || m_state != TSocketState::wsConnected) {
                return;
            }
            if (!m_receiveCalled) {
                // The handler left the data waiting: the next read asks for the next
                // notification.
                return;
            }
            moreLikely = m_lastReceiveFilled;
            continue;
        }
        char probe = 0;
        const ssize_t peeked = ::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        if (peeked > 0) {
            continue;
        }
        if (m_tls && m_tls->WantsWrite()) {
            armWrite();
        }
        if (peeked == 0) {
            peerClosed(0);
            return;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            armRead();
            return;
        }
        peerClosed(WinsockErrorFromErrno(errno));
        return;
    }
}

void TWSocket::peerClosed(int error) {
    m_lastError = error;
    if (!m_closeFired) {
        m_closeFired = true;
        const std::uint64_t connection = m_connection;
        fire(OnSessionClosed, static_cast<std::uint16_t>(error));
        if (connection != m_connection) {
            return; // the handler already closed or reused the socket
        }
    }
    closeHandle();
    changeState(TSocketState::wsClosed);
}

void TWSocket::Close() {
    if (!m_descriptor.is_open()) {
        if (m_state != TSocketState::wsClosed) {
            changeState(TSocketState::wsClosed);
        }
        return;
    }
    if (m_state == TSocketState::wsConnected) {
        if (m_tls && !m_tlsHandshaking) {
            m_tls->Shutdown(); // the close notification tells the server that nothing is cut off
        }
        ::shutdown(m_descriptor.native_handle(), SHUT_WR);
        if (m_tls) {
            lingerOnClose();
        }
    }
    closeHandle();
    changeState(TSocketState::wsClosed);
    if (!m_closeFired) {
        m_closeFired = true;
        fire(OnSessionClosed, std::uint16_t{0});
    }
}

void TWSocket::lingerOnClose() {
    ++m_connection; // the waits of the connection are over
    if (!m_tls->Error().empty()) {
        m_tlsError = m_tls->Error();
    }
    std::unique_ptr<TTlsLayer> tls = std::move(m_tls);
    m_tlsHandshaking = false;
    m_sendBuffer.clear();
    m_sendOffset = 0;
    m_readArmed = false;
    m_writeArmed = false;
    std::error_code ignored;
    m_descriptor.cancel(ignored);
    const int fd = m_descriptor.release();
    try {
        std::make_shared<LingeringClose>(m_queue.context(), fd, std::move(tls))
            ->start(kLingerLimit);
    } catch (const std::exception&) {
        ::close(fd);
    }
}

void TWSocket::Shutdown(int how) {
    if (m_descriptor.is_open()) {
        ::shutdown(m_descriptor.native_handle(), how);
    }
}

void TWSocket::ResumeAcceptNotifications() {
    if (m_state == TSocketState::wsListening) {
        armRead();
    }
}

// --- TLS -------------------------------------------------------------------------------------

void TWSocket::StartTls(const TTlsContext& context, TTlsLayer::Options options) {
    if (m_state != TSocketState::wsConnected || !m_descriptor.is_open()) {
        raiseError("StartTls: not connected");
        return;
    }
    m_tlsError.clear();
    m_tls = std::make_unique<TTlsLayer>(context, m_descriptor.native_handle(), std::move(options));
    m_tlsHandshaking = true;
    // The first step runs from the reactor, so that its outcome is never raised from inside
    // this call; a connection is writable at once.
    armWrite();
}

void TWSocket::continueHandshake() {
    const std::uint64_t connection = m_connection;
    const TTlsLayer::Progress progress = m_tls->Handshake();
    ++m_activity;
    switch (progress) {
    case TTlsLayer::Progress::WantRead:
        armRead();
        return;
    case TTlsLayer::Progress::WantWrite:
        armWrite();
        return;
    case TTlsLayer::Progress::Done:
        m_tlsHandshaking = false;
        fire(OnTlsHandshakeDone, std::uint16_t{0});
        if (connection != m_connection || !m_descriptor.is_open()) {
            return;
        }
        if (BufferedBytes() > 0) {
            armWrite(); // what was sent during the handshake
        }
        armRead();
        return;
    case TTlsLayer::Progress::Failed:
        m_tlsHandshaking = false;
        m_tlsError = m_tls->Error();
        m_lastError = 10053;
        fire(OnTlsHandshakeDone, std::uint16_t{10053});
        if (connection == m_connection && m_descriptor.is_open()) {
            peerClosed(10053);
        }
        return;
    }
}

void TWSocket::ProcessMessages() {
    m_queue.processMessages();
}

} // namespace qx
