// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TokenBucket.h"

#include <algorithm>
#include <cmath>

namespace qx {

namespace {
constexpr std::int64_t kMinChunk = 1024;
constexpr std::int64_t kMaxChunk = 256 * 1024;
} // namespace

TTokenBucket::TTokenBucket(std::int64_t bytesPerSecond)
    : m_rate(std::max<std::int64_t>(bytesPerSecond, 0)), m_refilled(Clock::now()) {}

void TTokenBucket::SetRate(std::int64_t bytesPerSecond) {
    const std::lock_guard lock(m_mutex);
    Refill(Clock::now());
    m_rate = std::max<std::int64_t>(bytesPerSecond, 0);
    m_tokens = std::min<double>(m_tokens, static_cast<double>(Chunk()));
}

std::int64_t TTokenBucket::Rate() const {
    const std::lock_guard lock(m_mutex);
    return m_rate;
}

// A twentieth of a second's worth: small enough to keep the pace even, large enough that
// reads and writes stay efficient.
std::int64_t TTokenBucket::Chunk() const {
    return std::clamp<std::int64_t>(m_rate / 20, kMinChunk, kMaxChunk);
}

void TTokenBucket::Refill(Clock::time_point now) {
    if (now <= m_refilled) {
        return;
    }
    const double seconds = std::chrono::duration<double>(now - m_refilled).count();
    m_refilled = now;
    if (m_rate == 0) {
        m_tokens = 0;
        return;
    }
    m_tokens =
        std::min(m_tokens + seconds * static_cast<double>(m_rate), static_cast<double>(Chunk()));
}

std::int64_t TTokenBucket::Grant(std::int64_t wanted, Clock::time_point now) {
    const std::lock_guard lock(m_mutex);
    if (m_rate == 0 || wanted <= 0) {
        return std::max<std::int64_t>(wanted, 0);
    }
    Refill(now);
    if (m_tokens <= 0) {
        return 0;
    }
    const std::int64_t granted = std::min(wanted, Chunk());
    m_tokens -= static_cast<double>(granted);
    return granted;
}

void TTokenBucket::GiveBack(std::int64_t bytes) {
    if (bytes <= 0) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    if (m_rate != 0) {
        m_tokens = std::min(m_tokens + static_cast<double>(bytes), static_cast<double>(Chunk()));
    }
}

std::chrono::milliseconds TTokenBucket::Delay(Clock::time_point now) {
    const std::lock_guard lock(m_mutex);
    if (m_rate == 0) {
        return std::chrono::milliseconds{0};
    }
    Refill(now);
    if (m_tokens > 0) {
        return std::chrono::milliseconds{0};
    }
    const double seconds = (1 - m_tokens) / static_cast<double>(m_rate);
    const auto wait =
        std::chrono::milliseconds(static_cast<std::int64_t>(std::ceil(seconds * 1000)));
    return std::clamp(wait, std::chrono::milliseconds{1}, kMaxDelay);
}

} // namespace qx
