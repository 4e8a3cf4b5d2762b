// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SshProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace qx::sftp {

namespace {

// Larger socket buffers let ssh and the client each move big pieces per system call.
constexpr int kStdioBufferSize = 4 * 1024 * 1024;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view After(std::string_view text, std::string_view prefix) {
    return text.substr(prefix.size());
}

std::string NameOf(std::string_view entry) {
    return std::string(entry.substr(0, entry.find('=')));
}

// The spawned process's environment: the inherited one without the entries that are given
// (and without the askpass variables of an outer ssh), then the given ones.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& given) {
    std::vector<std::string> result;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string name = NameOf(*entry);
        const bool replaced = std::any_of(given.begin(), given.end(),
                                          [&](const std::string& g) { return NameOf(g) == name; });
        if (!replaced && name != "SSH_ASKPASS" && name != "SSH_ASKPASS_REQUIRE" &&
            name != "QX_ASKPASS_SOCKET") {
            result.emplace_back(*entry);
        }
    }
    result.insert(result.end(), given.begin(), given.end());
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (auto& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string DescribeEnd(int status) {
    if (WIFEXITED(status)) {
        return "exit status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "killed by signal " + std::to_string(WTERMSIG(status));
    }
    return "ended";
}

} // namespace

TSshProcess::TSshProcess(MessageQueue& queue)
    : m_queue(queue), m_stderr(queue.context()), m_timer(queue.context()) {}

TSshProcess::~TSshProcess() {
    m_life.reset();
    OnOutput = nullptr;
    try {
        Kill();
    } catch (...) {
        // A destructor must not throw; what could throw here is only the reaping's bookkeeping.
    }
}

bool TSshProcess::Start(const std::vector<std::string>& argv,
                        const std::vector<std::string>& environment, std::string& error) {
    int stdio[2];
    int errorPipe[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stdio) != 0) {
        error = std::string("Cannot create a socket pair: ") + std::strerror(errno);
        return false;
    }
    UniqueFd ours(stdio[0]);
    UniqueFd theirs(stdio[1]);
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        error = std::string("Cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    UniqueFd errorRead(errorPipe[0]);
    UniqueFd errorWrite(errorPipe[1]);
    for (const int fd : {ours.get(), theirs.get()}) {
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &kStdioBufferSize, sizeof kStdioBufferSize);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kStdioBufferSize, sizeof kStdioBufferSize);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, theirs.get(), 0);
    posix_spawn_file_actions_adddup2(&actions, theirs.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, errorWrite.get(), 2);
    // A session of its own: no terminal to read passwords from, and a process group that can
    // be ended as a whole. Signals as a fresh program expects them, whatever the thread that
    // starts it blocks.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> args = argv;
    std::vector<std::string> env = ChildEnvironment(environment);
    const auto argPointers = Pointers(args);
    const auto envPointers = Pointers(env);
    pid_t pid = -1;
    const int result = ::posix_spawnp(&pid, args.front().c_str(), &actions, &attributes,
                                      argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        error = "Cannot start " + args.front() + ": " + std::strerror(result);
        return false;
    }
    m_pid = pid;
    m_exitStatus.reset();
    m_endText.clear();
    m_recent.clear();
    m_facts = {};
    ::fcntl(ours.get(), F_SETFL, ::fcntl(ours.get(), F_GETFL) | O_NONBLOCK);
    ::fcntl(errorRead.get(), F_SETFL, ::fcntl(errorRead.get(), F_GETFL) | O_NONBLOCK);
    m_stdio = std::move(ours);
    std::error_code ignored;
    m_stderr.close(ignored);
    m_stderr.assign(errorRead.release());
    ArmStderr();
    return true;
}

void TSshProcess::ArmStderr() {
    if (!m_stderr.is_open()) {
        return;
    }
    m_stderr.async_wait(asio::posix::descriptor_base::wait_read,
                        [this, life = std::weak_ptr<char>(m_life)](const std::error_code& error) {
                            if (life.expired() || error) {
                                return;
                            }
                            ReadStderr();
                        });
}

void TSshProcess::ReadStderr() {
    std::array<char, 8192> buffer{};
    for (;;) {
        const ssize_t count = ::read(m_stderr.native_handle(), buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            ArmStderr();
            return;
        }
        if (count <= 0) {
            if (!m_partial.empty()) {
                TakeLine(m_partial);
                m_partial.clear();
            }
            std::error_code ignored;
            m_stderr.close(ignored);
            return;
        }
        std::string_view piece(buffer.data(), static_cast<std::size_t>(count));
        while (!piece.empty()) {
            const std::size_t end = piece.find('\n');
            const std::string_view part = piece.substr(0, end);
            if (!m_partialTooLong) {
                m_partial.append(part.substr(0, kMaxLineLength - m_partial.size()));
                m_partialTooLong = m_partial.size() >= kMaxLineLength;
            }
            if (end == std::string_view::npos) {
                break;
            }
            TakeLine(m_partial);
            m_partial.clear();
            m_partialTooLong = false;
            piece.remove_prefix(end + 1);
        }
    }
}

void TSshProcess::TakeLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (StartsWith(line, "debug")) {
        const std::string_view text = line.substr(std::min(line.find(": "), line.size()));
        const auto fact = [text](std::string_view prefix) -> std::optional<std::string> {
            if (StartsWith(text, prefix)) {
                return std::string(After(text, prefix));
            }
            return std::nullopt;
        };
        if (auto value = fact(": Remote protocol version 2.0, remote software version ")) {
            m_facts.ServerVersion = *value;
        } else if (auto kex = fact(": kex: algorithm: ")) {
            m_facts.KeyExchange = *kex;
        } else if (auto hostKeyAlgorithm = fact(": kex: host key algorithm: ")) {
            m_facts.HostKeyAlgorithm = *hostKeyAlgorithm;
        } else if (auto fromServer = fact(": kex: server->client cipher: ")) {
            m_facts.CipherFromServer = *fromServer;
        } else if (auto toServer = fact(": kex: client->server cipher: ")) {
            m_facts.CipherToServer = *toServer;
        } else if (auto hostKey = fact(": Server host key: ")) {
            m_facts.HostKey = *hostKey;
        }
    } else if (StartsWith(line, "OpenSSH_") && m_facts.ClientVersion.empty()) {
        m_facts.ClientVersion = line;
    } else if (StartsWith(line, "Authenticated to ")) {
        const std::size_t using_ = line.rfind(" using \"");
        if (using_ != std::string_view::npos) {
            std::string_view method = line.substr(using_ + 8);
            m_facts.AuthenticatedWith = method.substr(0, method.find('"'));
        }
    } else if (!StartsWith(line, "Transferred: ") && !StartsWith(line, "Bytes per second: ")) {
        m_recent.emplace_back(line);
        if (m_recent.size() > kRecentLines) {
            m_recent.pop_front();
        }
    }
    if (OnOutput) {
        OnOutput();
    }
}

std::string TSshProcess::RecentText() const {
    std::string text;
    for (const auto& line : m_recent) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

bool TSshProcess::Reap(bool block) {
    if (m_pid <= 0) {
        return true;
    }
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(m_pid, &status, block ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == 0) {
        return false;
    }
    // ECHILD: someone else reaped it (a SIGCHLD set to be ignored); it is gone either way.
    m_exitStatus =
        result == m_pid && WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
    m_endText = result == m_pid ? DescribeEnd(status) : "ended";
    m_pid = -1;
    m_timer.cancel();
    // What it wrote last is in the pipe now (unless a child of it still holds the pipe).
    if (m_stderr.is_open()) {
        ReadStderr();
    }
    return true;
}

void TSshProcess::Kill() {
    if (m_pid <= 0) {
        return;
    }
    ::kill(-m_pid, SIGTERM);
    ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (Reap(false)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL);
    Reap(true);
}

void TSshProcess::WaitForExit(std::chrono::milliseconds grace, std::function<void()> done) {
    PollExit(std::chrono::steady_clock::now() + grace, std::move(done));
}

void TSshProcess::PollExit(std::chrono::steady_clock::time_point deadline,
                           std::function<void()> done) {
    if (m_pid <= 0 || std::chrono::steady_clock::now() >= deadline || Reap(false)) {
        Kill();
        m_queue.post([life = std::weak_ptr<char>(m_life), done = std::move(done)] {
            if (!life.expired()) {
                done();
            }
        });
        return;
    }
    m_timer.expires_after(std::chrono::milliseconds(10));
    m_timer.async_wait([this, life = std::weak_ptr<char>(m_life), deadline,
                        done = std::move(done)](const std::error_code&) mutable {
        if (!life.expired()) {
            PollExit(deadline, std::move(done));
        }
    });
}

} // namespace qx::sftp
