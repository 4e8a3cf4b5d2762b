// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedFtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace qx::test {

namespace {

int listenOnLoopback(std::uint16_t* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        throw std::runtime_error("socket failed");
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen failed");
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void sendAll(int fd, std::string_view bytes, const char* what) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ScriptFailure(std::string("send failed on ") + what + ": " +
                                std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

} // namespace

// --- Session ---------------------------------------------------------------------------------

ScriptedSession::ScriptedSession(int listener, std::chrono::milliseconds timeout,
                                 std::function<void(const std::string&)> record)
    : m_listener(listener), m_timeout(timeout), m_record(std::move(record)) {
    m_control = acceptOn(m_listener, "the control connection");
}

ScriptedSession::~ScriptedSession() {
    closeFd(m_data);
    closeFd(m_passiveListener);
    closeFd(m_control);
}

void ScriptedSession::waitReadable(int fd, const char* what) {
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(m_timeout.count()));
    if (ready <= 0) {
        throw ScriptFailure(std::string("timed out waiting for ") + what);
    }
}

int ScriptedSession::acceptOn(int listener, const char* what) {
    waitReadable(listener, what);
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        throw ScriptFailure(std::string("accept failed for ") + what);
    }
    return fd;
}

void ScriptedSession::reply(std::string_view line) {
    sendAll(m_control, std::string(line) + "\r\n", "the control connection");
}

void ScriptedSession::sendRaw(std::string_view bytes) {
    sendAll(m_control, bytes, "the control connection");
}

std::string ScriptedSession::readCommand() {
    for (;;) {
        const auto end = m_received.find("\r\n");
        if (end != std::string::npos) {
            std::string line = m_received.substr(0, end);
            m_received.erase(0, end + 2);
            if (line == "FEAT" && answerFeatures) {
                answerFeatures(*this);
                continue;
            }
            if (line == "EPSV" && answerExtendedPassive) {
                answerExtendedPassive(*this);
                continue;
            }
            m_record(line);
            return line;
        }
        waitReadable(m_control, "a command");
        char buffer[4096];
        const ssize_t count = ::recv(m_control, buffer, sizeof buffer, 0);
        if (count <= 0) {
            throw ScriptFailure("the client closed the control connection while a command was "
                                "expected");
        }
        m_received.append(buffer, static_cast<std::size_t>(count));
    }
}

void ScriptedSession::expect(std::string_view command) {
    const std::string got = readCommand();
    if (got != command) {
        throw ScriptFailure("expected \"" + std::string(command) + "\", got \"" + got + "\"");
    }
}

std::string ScriptedSession::expectPrefix(std::string_view prefix) {
    std::string got = readCommand();
    if (got.compare(0, prefix.size(), prefix) != 0) {
        throw ScriptFailure("expected a command starting with \"" + std::string(prefix) +
                            "\", got \"" + got + "\"");
    }
    return got;
}

void ScriptedSession::greetAndLogin(std::string_view user) {
    reply("220 Scripted server ready");
    expect("USER " + std::string(user));
    reply("331 Password required");
    expectPrefix("PASS ");
    reply("230 Logged in");
}

bool ScriptedSession::waitForClientClose() {
    const auto deadline = std::chrono::steady_clock::now() + m_timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd entry{m_control, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char buffer[512];
        const ssize_t count = ::recv(m_control, buffer, sizeof buffer, 0);
        if (count <= 0) {
            return true;
        }
        m_received.append(buffer, static_cast<std::size_t>(count));
    }
}

void ScriptedSession::close() {
    closeFd(m_control);
}

void ScriptedSession::nextConnection() {
    closeFd(m_data);
    closeFd(m_passiveListener);
    closeFd(m_control);
    m_received.clear();
    m_control = acceptOn(m_listener, "the next control connection");
}

std::uint16_t ScriptedSession::listenPassive() {
    closeFd(m_passiveListener);
    std::uint16_t port = 0;
    m_passiveListener = listenOnLoopback(&port);
    return port;
}

std::string ScriptedSession::pasvReply(std::uint16_t port) {
    return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," +
           std::to_string(port % 256) + ").";
}

void ScriptedSession::handlePasv() {
    expect("PASV");
    reply(pasvReply(listenPassive()));
}

void ScriptedSession::acceptData() {
    if (!m_pendingActive.empty()) {
        const std::string command = m_pendingActive;
        m_pendingActive.clear();
        connectActive(command);
        return;
    }
    if (m_passiveListener < 0) {
        throw ScriptFailure("acceptData without a passive listener or PORT command");
    }
    closeFd(m_data);
    m_data = acceptOn(m_passiveListener, "the data connection");
    closeFd(m_passiveListener);
}

void ScriptedSession::connectActive(std::string_view portCommand) {
    const auto space = portCommand.find(' ');
    std::string fields(portCommand.substr(space == std::string_view::npos ? 0 : space + 1));
    for (char& c : fields) {
        if (c == ',') {
            c = ' ';
        }
    }
    std::istringstream in(fields);
    unsigned h[4]{}, p1 = 0, p2 = 0;
    if (!(in >> h[0] >> h[1] >> h[2] >> h[3] >> p1 >> p2)) {
        throw ScriptFailure("cannot read the PORT command \"" + std::string(portCommand) + "\"");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl((h[0] << 24) | (h[1] << 16) | (h[2] << 8) | h[3]);
    address.sin_port = htons(static_cast<std::uint16_t>(p1 * 256 + p2));
    closeFd(m_data);
    m_data = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(m_data, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        throw ScriptFailure("cannot connect to the client's data port");
    }
}

std::string ScriptedSession::handlePort() {
    std::string command = expectPrefix("PORT ");
    reply("200 PORT command successful");
    m_pendingActive = command;
    return command;
}

void ScriptedSession::dataSend(std::string_view bytes) {
    sendAll(m_data, bytes, "the data connection");
}

std::string ScriptedSession::dataReceiveAll() {
    std::string all;
    for (;;) {
        waitReadable(m_data, "upload data");
        char buffer[65536];
        const ssize_t count = ::recv(m_data, buffer, sizeof buffer, 0);
        if (count < 0) {
            throw ScriptFailure("receive failed on the data connection");
        }
        if (count == 0) {
            return all;
        }
        all.append(buffer, static_cast<std::size_t>(count));
    }
}

void ScriptedSession::dataClose() {
    closeFd(m_data);
}

void ScriptedSession::dataReset() {
    if (m_data >= 0) {
        linger hard{1, 0};
        ::setsockopt(m_data, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    closeFd(m_data);
}

// --- Server ----------------------------------------------------------------------------------

ScriptedFtpServer::ScriptedFtpServer(Script script, std::chrono::milliseconds timeout) {
    m_listener = listenOnLoopback(&m_port);
    m_thread = std::thread([this, script = std::move(script), timeout] {
        std::string failure;
        try {
            ScriptedSession session(m_listener, timeout, [this](const std::string& line) {
                std::lock_guard lock(m_mutex);
                m_commands.push_back(line);
            });
            script(session);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        std::lock_guard lock(m_mutex);
        m_failure = failure;
        m_finished = true;
    });
}

ScriptedFtpServer::~ScriptedFtpServer() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    closeFd(m_listener);
}

bool ScriptedFtpServer::waitFinished(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        {
            std::lock_guard lock(m_mutex);
            if (m_finished) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::string ScriptedFtpServer::failure() const {
    std::lock_guard lock(m_mutex);
    return m_failure;
}

std::vector<std::string> ScriptedFtpServer::commands() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

} // namespace qx::test
