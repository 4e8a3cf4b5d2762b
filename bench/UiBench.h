// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks of windows share: a meter of the user-interface thread's longest gap,
// waiting with the event loop turning, and the command line's named arguments.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>

namespace qx::bench {

// The longest wait between two ticks of a fast timer.
class GapMeter {
public:
    GapMeter() {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_last >= 0) {
                m_longest = std::max(m_longest, now - m_last);
            }
            m_last = now;
        });
    }
    void Start() {
        m_longest = 0;
        m_last = -1;
        m_clock.start();
        m_timer.start();
    }
    double LongestMs() {
        m_timer.stop();
        return static_cast<double>(m_longest) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = -1;
    qint64 m_longest = 0;
};

// Turns the event loop (sleeping while nothing happens) until done or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer check;
    check.setInterval(10);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done() || clock.elapsed() > ms) {
            loop.quit();
        }
    });
    check.start();
    if (!done()) {
        loop.exec();
    }
    return done();
}

inline std::string Argument(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == name) {
            return argv[i + 1];
        }
    }
    return {};
}

} // namespace qx::bench
