// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

namespace qx {

// A speed limit in bytes per second that transfers on any threads may share: together they
// move no more than the rate, averaged over a fraction of a second.
//
// A transfer asks for a grant before it moves bytes and gives back what it did not use. A
// grant may take the bucket a small chunk into debt, which later grants pay off, so that a
// transfer never has to move bytes a few at a time; when the bucket holds nothing the
// transfer pauses for Delay() and asks again. The rate may change at any time; 0 is no limit.
class TTokenBucket {
public:
    using Clock = std::chrono::steady_clock;

    explicit TTokenBucket(std::int64_t bytesPerSecond = 0);

    void SetRate(std::int64_t bytesPerSecond);
    std::int64_t Rate() const;
    // The bytes that may move now, at most `wanted`; 0 when the caller has to wait.
    std::int64_t Grant(std::int64_t wanted, Clock::time_point now = Clock::now());
    // Returns the part of a grant that was not used.
    void GiveBack(std::int64_t bytes);
    // How long until a grant can be had again: zero when one can be had now, at most
    // kMaxDelay, so that a waiting transfer looks at its abort and at a changed rate often.
    std::chrono::milliseconds Delay(Clock::time_point now = Clock::now());

    static constexpr std::chrono::milliseconds kMaxDelay{100};

private:
    // The largest grant and the most the bucket saves up while nothing moves.
    std::int64_t Chunk() const;
    void Refill(Clock::time_point now);

    mutable std::mutex m_mutex;
    std::int64_t m_rate;
    double m_tokens = 0;
    Clock::time_point m_refilled;
};

// The limits of a session or a queue, one bucket a direction; a null bucket is no limit.
struct TSpeedLimits {
    std::shared_ptr<TTokenBucket> Download;
    std::shared_ptr<TTokenBucket> Upload;

    static TSpeedLimits Make(std::int64_t download, std::int64_t upload) {
        return {std::make_shared<TTokenBucket>(download), std::make_shared<TTokenBucket>(upload)};
    }
};

} // namespace qx
