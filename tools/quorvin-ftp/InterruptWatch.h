// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <thread>

namespace qx::cli {

// Ctrl+C (SIGINT), SIGTERM and SIGHUP end the running request in order instead of killing the
// tool at once: the connections are closed and a partial download keeps what marks it as a
// part of its remote file, so that --resume can go on from it. The signals are taken by a
// thread of its own (sigwait), so nothing runs inside a signal handler; a second signal ends
// the tool at once.
//
// Create it first thing in main: the signals are blocked in the creating thread and in every
// thread started after it.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // Set once the first signal came; what the requests watch.
    const std::atomic<bool>& Interrupted() const { return m_interrupted; }
    // The exit status after an interruption: 128 plus the signal's number.
    int ExitStatus() const { return 128 + m_signal.load(); }

private:
    void Watch();

    std::atomic<bool> m_interrupted{false};
    std::atomic<int> m_signal{0};
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

} // namespace qx::cli
