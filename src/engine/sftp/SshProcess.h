// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageQueue.h"
#include "platform/UniqueFd.h"

#include <asio/posix/stream_descriptor.hpp>
#include <asio/steady_timer.hpp>

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::sftp {

// What ssh's debug lines tell about the connection (empty where it said nothing).
struct TSshFacts {
    std::string ClientVersion;    // "OpenSSH_9.2p1 Debian-2+deb12u10, OpenSSL 3.0.x"
    std::string ServerVersion;    // the server's software version
    std::string KeyExchange;      // "curve25519-sha256"
    std::string HostKeyAlgorithm; // "ssh-ed25519"
    std::string HostKey;          // "ssh-ed25519 SHA256:..."
    std::string CipherToServer;   // "chacha20-poly1305@openssh.com MAC: <implicit> ..."
    std::string CipherFromServer;
    std::string AuthenticatedWith; // "publickey", "password", ...
};

// One ssh process and its pipes. Its standard input and output are one end of a socketpair
// whose other end the owner takes with TakeStdio() (the SFTP packets); its standard error is
// read on the owner's queue: ssh's messages are kept as the recent lines, its debug lines
// (it runs with -v) only give the connection's facts. ssh runs in a session of its own (it
// never reads the user's terminal) and is ended with its whole process group; every
// descriptor is close-on-exec, and the process is always reaped.
class TSshProcess {
public:
    // Messages kept (the last ones): enough for the changed-host-key warning.
    static constexpr std::size_t kRecentLines = 40;
    static constexpr std::size_t kMaxLineLength = 1024;

    explicit TSshProcess(MessageQueue& queue);
    TSshProcess(const TSshProcess&) = delete;
    TSshProcess& operator=(const TSshProcess&) = delete;
    // Ends the process (Kill) unless it ended already.
    ~TSshProcess();

    // Starts argv[0] (looked up in PATH when it holds no '/') with the inherited environment
    // and the given "NAME=value" entries, which replace inherited ones of the same name. False
    // with the reason in error.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               std::string& error);
    // Our end of the socketpair, non-blocking; once.
    UniqueFd TakeStdio() { return std::move(m_stdio); }

    pid_t Pid() const { return m_pid; }
    // Started and not reaped yet.
    bool Running() const { return m_pid > 0; }
    // How it ended ("exit status 255", "killed by signal 15"), once reaped.
    const std::string& EndText() const { return m_endText; }
    std::optional<int> ExitStatus() const { return m_exitStatus; }

    // Called for every line ssh writes to its standard error (progress of the login).
    std::function<void()> OnOutput;
    const std::deque<std::string>& RecentLines() const { return m_recent; }
    // The recent lines joined with line ends.
    std::string RecentText() const;
    const TSshFacts& Facts() const { return m_facts; }

    // Ends the process and its group now: SIGTERM, SIGKILL when it has not ended a moment
    // later; reaps it and reads what it wrote last.
    void Kill();
    // Waits on the queue (without blocking it) for the process to end by itself, up to the
    // grace time, then kills it; done runs on the queue once it is reaped. Never from inside
    // the call.
    void WaitForExit(std::chrono::milliseconds grace, std::function<void()> done);

private:
    void ArmStderr();
    void ReadStderr();
    void TakeLine(std::string_view line);
    bool Reap(bool block);
    void PollExit(std::chrono::steady_clock::time_point deadline, std::function<void()> done);

    MessageQueue& m_queue;
    asio::posix::stream_descriptor m_stderr;
    asio::steady_timer m_timer;
    std::shared_ptr<char> m_life = std::make_shared<char>();
    UniqueFd m_stdio;
    pid_t m_pid = -1;
    std::optional<int> m_exitStatus;
    std::string m_endText;
    std::string m_partial;
    bool m_partialTooLong = false;
    std::deque<std::string> m_recent;
    TSshFacts m_facts;
};

} // namespace qx::sftp
