// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageQueue.h"

namespace qx {

MessageQueue::MessageQueue() : m_keepAlive(asio::make_work_guard(m_context)) {}

MessageQueue::~MessageQueue() {
    m_keepAlive.reset();
    // Pending handlers are destroyed without running; they hold only weak references.
}

void MessageQueue::postThreadMessage(unsigned code, std::intptr_t wparam, std::intptr_t lparam) {
    asio::post(m_context, [this, code, wparam, lparam] {
        m_taken.push_back({Message::Kind::Thread, {code, wparam, lparam}});
    });
}

void MessageQueue::postQuit() {
    asio::post(m_context, [this] { m_taken.push_back({Message::Kind::Quit, {}}); });
}

std::optional<MessageQueue::Message> MessageQueue::popTaken() {
    if (m_taken.empty()) {
        return std::nullopt;
    }
    Message message = m_taken.front();
    m_taken.pop_front();
    return message;
}

MessageQueue::Message MessageQueue::take() {
    for (;;) {
        if (auto message = popTaken()) {
            return *message;
        }
        const std::size_t before = m_taken.size();
        if (m_context.run_one() == 0) {
            m_context.restart();
            continue;
        }
        if (m_taken.size() == before) {
            return {};
        }
    }
}

std::optional<MessageQueue::Message>
MessageQueue::takeFor(std::chrono::steady_clock::duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto message = popTaken()) {
            return message;
        }
        const std::size_t before = m_taken.size();
        if (m_context.run_one_until(deadline) == 0) {
            if (m_context.stopped()) {
                m_context.restart();
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return std::nullopt;
            }
            continue;
        }
        if (m_taken.size() == before) {
            return Message{};
        }
    }
}

std::size_t MessageQueue::processMessages() {
    const std::size_t count = m_context.poll();
    if (m_context.stopped()) {
        m_context.restart();
    }
    return count;
}

bool MessageQueue::runOneFor(std::chrono::steady_clock::duration timeout) {
    const bool ran = m_context.run_one_for(timeout) != 0;
    if (m_context.stopped()) {
        m_context.restart();
    }
    return ran;
}

} // namespace qx
