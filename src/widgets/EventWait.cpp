// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/EventWait.h"

#include <QEventLoop>
#include <QTimer>

namespace qx {

void RunEventsUntil(const std::function<bool()>& done, int intervalMs) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&done, &loop] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(intervalMs);
    loop.exec();
}

} // namespace qx
