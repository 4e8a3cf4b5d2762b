// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalPrompt.h"

#include <fcntl.h>
#include <pthread.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

#include "platform/UniqueFd.h"

namespace qx::cli {

std::optional<std::string> AskOnTerminal(const std::string& question, bool echo) {
    UniqueFd tty(::open("/dev/tty", O_RDWR | O_CLOEXEC));
    if (!tty.valid()) {
        return std::nullopt;
    }
    termios saved{};
    const bool canHide = !echo && ::tcgetattr(tty.get(), &saved) == 0;
    if (canHide) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(tty.get(), TCSAFLUSH, &quiet);
    }
    // Ctrl+C at the question ends the tool at once, as it did before anything ran.
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&interrupts, signal);
    }
    sigset_t kept;
    ::pthread_sigmask(SIG_UNBLOCK, &interrupts, &kept);
    [[maybe_unused]] const auto shown = ::write(tty.get(), question.data(), question.size());
    std::string answer;
    char c = 0;
    bool ended = true;
    while (::read(tty.get(), &c, 1) == 1) {
        if (c == '\n') {
            ended = false;
            break;
        }
        answer += c;
    }
    ::pthread_sigmask(SIG_SETMASK, &kept, nullptr);
    if (canHide) {
        ::tcsetattr(tty.get(), TCSAFLUSH, &saved);
        [[maybe_unused]] const auto newline = ::write(tty.get(), "\n", 1);
    }
    if (ended) {
        return std::nullopt;
    }
    return answer;
}

} // namespace qx::cli
