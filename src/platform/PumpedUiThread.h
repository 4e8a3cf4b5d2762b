// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UiThread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qx {

struct CallResult;

// A UiThread for tests and command-line tools: the thread that creates it is the user-interface
// thread, and calls from workers run when that thread pumps.
class PumpedUiThread final : public UiThread {
public:
    PumpedUiThread();
    ~PumpedUiThread() override;

    void invoke(std::function<void()> function) override;
    void post(std::function<void()> function) override;
    bool isCurrentThread() const override;

    // Runs every call queued now; returns how many ran.
    std::size_t pump();
    // Runs calls as they arrive until done() is true (checked after every call) or the timeout
    // has passed; returns done().
    bool pumpUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration timeout);
    // From now on calls are not run any more: pending and later invoke() calls return without
    // running, so no worker can block on a user-interface thread that has stopped pumping.
    void shutdown();

private:
    struct Call {
        std::function<void()> function;
        std::shared_ptr<CallResult> result; // null for post()
    };
    bool runOne(std::unique_lock<std::mutex>& lock);

    const std::thread::id m_owner;
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<Call> m_calls;
    bool m_shutdown = false;
};

} // namespace qx
