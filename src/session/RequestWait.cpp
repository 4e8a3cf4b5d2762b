// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/RequestWait.h"

#include <chrono>

namespace qx {

TRequestWait::TRequestWait(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode)
    : m_queue(queue), m_abortFlag(abortFlag), m_abortCode(abortCode) {}

std::uint64_t TRequestWait::Begin() {
    m_done = false;
    m_error = 0;
    return ++m_current;
}

void TRequestWait::Complete(std::uint64_t request, std::uint16_t error) {
    if (request == m_current) {
        m_done = true;
        m_error = error;
    }
}

TRequestWait::End TRequestWait::Wait() {
    for (;;) {
        if (m_abortFlag.load()) {
            return End::Aborted;
        }
        if (m_done) {
            // The completion is the end of the request; an abort that comes after it is the
            // next request's.
            m_abortFlag = false;
            return End::Completed;
        }
        if (WaitForMessage() != Wake::Message) {
            return End::Aborted;
        }
    }
}

TRequestWait::Wake TRequestWait::WaitForMessage() {
    const MessageQueue::Message message = m_queue.take();
    if (message.kind == MessageQueue::Message::Kind::Quit) {
        m_queue.postQuit(); // so that the thread's own loop ends as well
        return Wake::Quit;
    }
    if (message.kind == MessageQueue::Message::Kind::Thread && message.thread.Code == m_abortCode) {
        return Wake::Abort;
    }
    // A window message has been dispatched; any other code is dropped.
    return Wake::Message;
}

bool TRequestWait::Pause(int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        if (m_abortFlag.load()) {
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) {
            return true;
        }
        const auto message = m_queue.takeFor(until - now);
        if (!message) {
            continue;
        }
        if (message->kind == MessageQueue::Message::Kind::Quit) {
            m_queue.postQuit();
            m_abortFlag = true; // the next step aborts
            return false;
        }
        if (message->kind == MessageQueue::Message::Kind::Thread &&
            message->thread.Code == m_abortCode) {
            m_abortFlag = true;
            return false;
        }
    }
}

} // namespace qx
