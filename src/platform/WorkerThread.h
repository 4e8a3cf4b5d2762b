// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace qx {

// The thread of a session or carrier worker. Start() returns once the body has said it is
// ready (its engines exist and it takes messages); Join() waits for the end, except on the
// thread itself, which can only be let go (its owner went away from within it).
class TWorkerThread {
public:
    TWorkerThread() = default;
    ~TWorkerThread() { Join(); }
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    // The body gets the function to call once it is ready.
    void Start(std::function<void(const std::function<void()>& ready)> body) {
        m_started = std::promise<void>();
        auto ready = m_started.get_future();
        m_thread = std::thread(
            [this, body = std::move(body)] { body([this] { m_started.set_value(); }); });
        ready.wait();
    }

    void Join() {
        if (!m_thread.joinable()) {
            return;
        }
        if (m_thread.get_id() == std::this_thread::get_id()) {
            m_thread.detach();
        } else {
            m_thread.join();
        }
    }

private:
    // A member, not a local of Start(): set_value() may still be finishing when Start() has
    // seen the value and returned.
    std::promise<void> m_started;
    std::thread m_thread;
};

// An owner's bookkeeping when one of its workers has ended: the worker's thread is joined and
// the worker freed, and the current worker is forgotten when it was that one. True when no
// current worker is left.
template <typename Worker>
bool ReleaseEndedWorker(std::vector<std::unique_ptr<Worker>>& workers, Worker*& current,
                        Worker* ended) {
    const auto it = std::find_if(workers.begin(), workers.end(),
                                 [ended](const auto& owned) { return owned.get() == ended; });
    if (it != workers.end()) {
        (*it)->Join();
        workers.erase(it);
    }
    if (current == ended) {
        current = nullptr;
    }
    return current == nullptr;
}

} // namespace qx
