// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtUiThread.h"

#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace qx {

namespace {
struct PendingCall {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};
} // namespace

QtUiThread::QtUiThread(QObject* parent) : QObject(parent) {}

QtUiThread::~QtUiThread() {
    Shutdown();
}

bool QtUiThread::isCurrentThread() const {
    return QThread::currentThread() == thread();
}

void QtUiThread::Shutdown() {
    m_shutdown = true;
}

void QtUiThread::invoke(std::function<void()> function) {
    if (isCurrentThread()) {
        function();
        return;
    }
    if (m_shutdown) {
        return;
    }
    auto pending = std::make_shared<PendingCall>();
    // The function is run on the user-interface thread while this thread waits, so it may use
    // what the caller holds by reference; once Shutdown() has been called it is not run.
    QMetaObject::invokeMethod(
        this,
        [this, pending, &function] {
            if (!m_shutdown) {
                function();
            }
            std::lock_guard lock(pending->mutex);
            pending->finished = true;
            pending->done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(pending->mutex);
    while (!pending->finished) {
        if (pending->done.wait_for(lock, std::chrono::milliseconds(50)) ==
                std::cv_status::timeout &&
            m_shutdown) {
            // The queued call may still be delivered later: it no longer runs the function,
            // but the lambda above must not touch it either.
            break;
        }
    }
}

void QtUiThread::post(std::function<void()> function) {
    if (m_shutdown) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, function = std::move(function)] {
            if (!m_shutdown) {
                function();
            }
        },
        Qt::QueuedConnection);
}

} // namespace qx
