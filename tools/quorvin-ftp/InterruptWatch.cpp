// SPDX-License-Identifier: GPL-3.0-or-later
#include "InterruptWatch.h"

#include <pthread.h>
#include <unistd.h>

#include <csignal>

namespace qx::cli {

namespace {

sigset_t InterruptSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    return signals;
}

} // namespace

InterruptWatch::InterruptWatch() {
    const sigset_t signals = InterruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    m_thread = std::thread([this] { Watch(); });
}

InterruptWatch::~InterruptWatch() {
    m_stopping = true;
    // Wakes the watch's sigwait: SIGTERM is blocked in every thread, so it ends nothing.
    // NOLINTNEXTLINE(bugprone-bad-signal-to-kill-thread): taken by sigwait, see above
    ::pthread_kill(m_thread.native_handle(), SIGTERM);
    m_thread.join();
}

void InterruptWatch::Watch() {
    const sigset_t signals = InterruptSignals();
    for (;;) {
        int signal = 0;
        if (::sigwait(&signals, &signal) != 0 || m_stopping.load()) {
            return;
        }
        if (m_interrupted.load()) {
            ::_exit(128 + signal); // asked twice: no more waiting
        }
        m_signal = signal;
        m_interrupted = true;
        static constexpr char kNote[] = "\nquorvin-ftp: interrupted; ending the transfer (again to "
                                        "end at once)\n";
        [[maybe_unused]] const auto written = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
    }
}

} // namespace qx::cli
