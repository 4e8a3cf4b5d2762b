// SPDX-License-Identifier: GPL-3.0-or-later
// The ProxyCommand that ssh runs for SFTP connections through a proxy: opens the tunnel to the
// server (the port is its argument, everything else comes from the environment, see
// engine/sftp/SshProxy.h) and then copies standard input to the tunnel and the tunnel to
// standard output until the server closes. Failures are told on standard error, which ssh
// shows, with exit status 1.
#include "engine/ProxyHandshake.h"
#include "engine/sftp/SshProxy.h"
#include "platform/WriteAll.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

namespace {

using qx::TProxyHandshake;

// The handshake may take this long; ssh's own limits take over once the tunnel is open.
constexpr unsigned kHandshakeSeconds = 30;

int fail(const std::string& message) {
    std::cerr << "quorvin-proxy-connect: " << message << "\n";
    return 1;
}

// The first address of the name that takes a connection; -1 with the reason in problem.
int connectTo(const std::string& host, const std::string& port, std::string& problem) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0) {
        problem = host + ": " + ::gai_strerror(error);
        return -1;
    }
    int fd = -1;
    for (const addrinfo* entry = found; entry != nullptr && fd < 0; entry = entry->ai_next) {
        fd = ::socket(entry->ai_family, entry->ai_socktype | SOCK_CLOEXEC, entry->ai_protocol);
        if (fd >= 0 && ::connect(fd, entry->ai_addr, entry->ai_addrlen) != 0) {
            problem = std::strerror(errno);
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    return fd;
}

// The server's address as text, for a SOCKS5 proxy that is handed addresses.
std::string lookUp(const std::string& host, std::string& problem) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), "1", &hints, &found); error != 0) {
        problem = host + ": " + ::gai_strerror(error);
        return {};
    }
    std::array<char, NI_MAXHOST> text{};
    const int error = ::getnameinfo(found->ai_addr, found->ai_addrlen, text.data(), text.size(),
                                    nullptr, 0, NI_NUMERICHOST);
    ::freeaddrinfo(found);
    return error == 0 ? std::string(text.data()) : std::string();
}

// Runs the handshake on the connected socket; the reason when it failed.
std::string openTunnel(int fd, TProxyHandshake& handshake) {
    TProxyHandshake::TResult step = handshake.Start();
    std::array<char, 512> buffer{};
    for (;;) {
        switch (step.Step) {
        case TProxyHandshake::TStep::Open:
            return {};
        case TProxyHandshake::TStep::Failed:
            return handshake.Error();
        case TProxyHandshake::TStep::Send:
            if (!qx::WriteAll(fd, step.Bytes)) {
                return "the proxy closed the connection";
            }
            break;
        case TProxyHandshake::TStep::More:
            break;
        }
        const std::size_t wanted = std::min(handshake.Wanted(), buffer.size());
        ssize_t count = 0;
        do {
            count = ::read(fd, buffer.data(), wanted);
        } while (count < 0 && errno == EINTR);
        if (count <= 0) {
            return "The proxy closed the connection before the tunnel was open";
        }
        step = handshake.Feed({buffer.data(), static_cast<std::size_t>(count)});
    }
}

// Copies both ways until the server has closed the tunnel.
int relay(int fd) {
    std::array<char, 64 * 1024> buffer{};
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {fd, POLLIN, 0}};
    for (;;) {
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 1;
        }
        for (int side = 0; side < 2; ++side) {
            if (waits[side].revents == 0) {
                continue;
            }
            const ssize_t count = ::read(waits[side].fd, buffer.data(), buffer.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                if (side == 1) {
                    return 0; // the server closed
                }
                ::shutdown(fd, SHUT_WR); // ssh is done sending; the server's reply may follow
                waits[0].fd = -1;
                continue;
            }
            const int to = side == 0 ? fd : STDOUT_FILENO;
            if (!qx::WriteAll(to,
                              std::string_view(buffer.data(), static_cast<std::size_t>(count)))) {
                return side == 0 ? 1 : 0;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::uint16_t port = 0;
    const std::string portText = argc == 2 ? argv[1] : "";
    const auto [end, error] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (error != std::errc() || end != portText.data() + portText.size() || port == 0) {
        return fail("usage: quorvin-proxy-connect PORT (the proxy in QX_PROXY_* variables)");
    }
    qx::sftp::TProxyRequest request;
    std::string problem;
    if (!qx::sftp::ReadProxyEnvironment(request, problem)) {
        return fail(problem);
    }
    ::alarm(kHandshakeSeconds);
    if (request.Proxy.Kind == qx::TProxyKind::Socks5) {
        request.Host = lookUp(request.Host, problem);
        if (request.Host.empty()) {
            return fail("the server cannot be found: " + problem);
        }
    }
    const std::string proxyName = request.Proxy.Host + ":" + std::to_string(request.Proxy.Port);
    const int fd = connectTo(request.Proxy.Host, std::to_string(request.Proxy.Port), problem);
    if (fd < 0) {
        return fail("The proxy " + proxyName + " cannot be reached: " + problem);
    }
    TProxyHandshake handshake(request.Proxy, request.Host, port);
    if (std::string failure = openTunnel(fd, handshake); !failure.empty()) {
        ::close(fd);
        return fail(failure);
    }
    ::alarm(0);
    const int status = relay(fd);
    ::close(fd);
    return status;
}
