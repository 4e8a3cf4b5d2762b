// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/RelayRing.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace qx {

namespace {
constexpr auto kCancelLook = std::chrono::milliseconds(100);
} // namespace

TRelayRing::TRelayRing(std::size_t capacity, std::function<bool()> cancelled)
    : m_cancelled(std::move(cancelled)), m_buffer(std::max<std::size_t>(capacity, 1)) {}

bool TRelayRing::WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready) {
    while (m_failure.empty() && !ready()) {
        if (m_cancelled && m_cancelled()) {
            m_failure = "Operation aborted.";
            m_changed.notify_all();
            break;
        }
        m_changed.wait_for(lock, kCancelLook);
    }
    return m_failure.empty();
}

bool TRelayRing::Put(const char* data, std::size_t length) {
    std::unique_lock lock(m_mutex);
    const std::size_t capacity = m_buffer.size();
    while (length > 0) {
        if (!WaitUntil(lock, [&] { return m_held < capacity; })) {
            return false;
        }
        const std::size_t tail = (m_head + m_held) % capacity;
        const std::size_t count = std::min({length, capacity - m_held, capacity - tail});
        std::memcpy(m_buffer.data() + tail, data, count);
        m_held += count;
        data += count;
        length -= count;
        m_changed.notify_all();
    }
    return true;
}

std::ptrdiff_t TRelayRing::Get(char* buffer, std::size_t size) {
    std::unique_lock lock(m_mutex);
    if (!WaitUntil(lock, [&] { return m_held > 0 || m_closed; })) {
        return -1;
    }
    const std::size_t count = std::min({size, m_held, m_buffer.size() - m_head});
    std::memcpy(buffer, m_buffer.data() + m_head, count);
    m_head = (m_head + count) % m_buffer.size();
    m_held -= count;
    m_taken += static_cast<std::int64_t>(count);
    m_changed.notify_all();
    return static_cast<std::ptrdiff_t>(count);
}

std::string TRelayRing::Error() const {
    const std::lock_guard lock(m_mutex);
    return m_failure;
}

void TRelayRing::Close() {
    const std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

bool TRelayRing::Fail(const std::string& why) {
    const std::lock_guard lock(m_mutex);
    const bool first = m_failure.empty();
    if (first) {
        m_failure = why.empty() ? "The relay ended." : why;
    }
    m_changed.notify_all();
    return first;
}

bool TRelayRing::Failed() const {
    const std::lock_guard lock(m_mutex);
    return !m_failure.empty();
}

std::int64_t TRelayRing::Given() const {
    const std::lock_guard lock(m_mutex);
    return m_taken;
}

} // namespace qx
