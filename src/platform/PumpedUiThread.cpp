// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PumpedUiThread.h"

namespace qx {

struct CallResult {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr error;

    void complete(std::exception_ptr failure) {
        {
            std::lock_guard lock(mutex);
            done = true;
            error = std::move(failure);
        }
        finished.notify_all();
    }
};

PumpedUiThread::PumpedUiThread() : m_owner(std::this_thread::get_id()) {}

PumpedUiThread::~PumpedUiThread() {
    shutdown();
}

bool PumpedUiThread::isCurrentThread() const {
    return std::this_thread::get_id() == m_owner;
}

void PumpedUiThread::invoke(std::function<void()> function) {
    if (isCurrentThread()) {
        function();
        return;
    }
    auto result = std::make_shared<CallResult>();
    {
        std::lock_guard lock(m_mutex);
        if (m_shutdown) {
            return;
        }
        m_calls.push_back({std::move(function), result});
    }
    m_arrived.notify_all();
    std::unique_lock wait(result->mutex);
    result->finished.wait(wait, [&] { return result->done; });
    if (result->error) {
        std::rethrow_exception(result->error);
    }
}

void PumpedUiThread::post(std::function<void()> function) {
    {
        std::lock_guard lock(m_mutex);
        if (m_shutdown) {
            return;
        }
        m_calls.push_back({std::move(function), nullptr});
    }
    m_arrived.notify_all();
}

bool PumpedUiThread::runOne(std::unique_lock<std::mutex>& lock) {
    if (m_calls.empty()) {
        return false;
    }
    Call call = std::move(m_calls.front());
    m_calls.pop_front();
    lock.unlock();
    std::exception_ptr failure;
    try {
        call.function();
    } catch (...) {
        if (!call.result) {
            lock.lock();
            throw;
        }
        failure = std::current_exception();
    }
    if (call.result) {
        call.result->complete(failure);
    }
    lock.lock();
    return true;
}

std::size_t PumpedUiThread::pump() {
    std::unique_lock lock(m_mutex);
    std::size_t count = 0;
    while (!m_shutdown && runOne(lock)) {
        ++count;
    }
    return count;
}

bool PumpedUiThread::pumpUntil(const std::function<bool()>& done,
                               std::chrono::steady_clock::duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(m_mutex);
    for (;;) {
        while (!m_shutdown && runOne(lock)) {
            lock.unlock();
            const bool finished = done();
            lock.lock();
            if (finished) {
                return true;
            }
        }
        lock.unlock();
        if (done()) {
            return true;
        }
        lock.lock();
        if (m_shutdown ||
            !m_arrived.wait_until(lock, deadline, [&] { return !m_calls.empty() || m_shutdown; })) {
            lock.unlock();
            return done();
        }
    }
}

void PumpedUiThread::shutdown() {
    std::deque<Call> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_shutdown = true;
        dropped.swap(m_calls);
    }
    for (Call& call : dropped) {
        if (call.result) {
            call.result->complete(nullptr);
        }
    }
}

} // namespace qx
