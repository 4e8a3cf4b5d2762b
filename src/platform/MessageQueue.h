// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <asio/post.hpp>

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

namespace qx {

// The message queue of one thread, built on an io_context that only that thread runs.
//
// Two kinds of messages travel through it, in the order they were posted:
// - window messages: handlers (socket notifications, an engine's private messages) that run
//   wherever the owning thread pumps the queue;
// - thread messages: request codes and the quit message, which are not run but handed to the
//   caller of take(), so only a thread body's own loop acts on them.
//
// post(), postThreadMessage() and postQuit() may be called from any thread; everything else
// belongs to the owning thread.
class MessageQueue {
public:
    struct ThreadMessage {
        unsigned Code = 0;
        std::intptr_t WParam = 0;
        std::intptr_t LParam = 0;
    };

    struct Message {
        enum class Kind { Window, Thread, Quit };
        Kind kind = Kind::Window;
        ThreadMessage thread; // valid for Kind::Thread
    };

    MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;
    ~MessageQueue();

    asio::io_context& context() { return m_context; }

    template <typename Handler> void post(Handler&& handler) {
        asio::post(m_context, std::forward<Handler>(handler));
    }
    void postThreadMessage(unsigned code, std::intptr_t wparam = 0, std::intptr_t lparam = 0);
    void postQuit();

    // Blocks until one message is there. A window message has already been dispatched when
    // take() returns it; thread messages and quit are returned undispatched.
    Message take();
    // As take(), but gives up after the timeout.
    std::optional<Message> takeFor(std::chrono::steady_clock::duration timeout);
    // Dispatches the window messages that are ready, without blocking; thread messages found on
    // the way stay queued for take(). Returns the number of handlers run.
    std::size_t processMessages();
    // Runs at most one handler, waiting for it up to the timeout; thread messages stay queued.
    bool runOneFor(std::chrono::steady_clock::duration timeout);

    bool hasThreadMessage() const { return !m_taken.empty(); }

private:
    std::optional<Message> popTaken();

    asio::io_context m_context{1};
    asio::executor_work_guard<asio::io_context::executor_type> m_keepAlive;
    // Thread messages already pulled out of the io_context, in order; owning thread only.
    std::deque<Message> m_taken;
};

} // namespace qx
