// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TokenBucket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace qx {
namespace {

using Clock = TTokenBucket::Clock;
using std::chrono::milliseconds;

// Asks for `wanted` every millisecond of a simulated second and adds up what was granted.
std::int64_t GrantedOverOneSecond(TTokenBucket& bucket, Clock::time_point start,
                                  std::int64_t wanted) {
    std::int64_t total = 0;
    for (int ms = 1; ms <= 1000; ++ms) {
        total += bucket.Grant(wanted, start + milliseconds(ms));
    }
    return total;
}

TEST(TokenBucket, KeepsToItsRateAndChangesRateAtOnce) {
    const auto start = Clock::now();
    TTokenBucket bucket(1'000'000);
    bucket.Grant(1, start); // starts the clock with whatever was saved up
    const std::int64_t first = GrantedOverOneSecond(bucket, start, 64 * 1024);
    EXPECT_NEAR(static_cast<double>(first), 1'000'000.0, 60'000.0);

    bucket.SetRate(100'000);
    const std::int64_t second = GrantedOverOneSecond(bucket, start + milliseconds(1000), 64 * 1024);
    EXPECT_NEAR(static_cast<double>(second), 100'000.0, 6'000.0);

    bucket.SetRate(0);
    EXPECT_EQ(bucket.Grant(5'000'000, start + milliseconds(2001)), 5'000'000);
    EXPECT_EQ(bucket.Delay(start + milliseconds(2001)), milliseconds(0));
}

TEST(TokenBucket, AnEmptyBucketSaysHowLongToWaitAndTakesBackWhatWasNotUsed) {
    const auto start = Clock::now();
    TTokenBucket bucket(10'000); // chunks of 1024 bytes, about a tenth of a second each
    bucket.Grant(1, start);
    while (bucket.Grant(1024, start) > 0) {
    }
    EXPECT_EQ(bucket.Grant(1024, start), 0);
    const milliseconds wait = bucket.Delay(start);
    EXPECT_GT(wait, milliseconds(0));
    EXPECT_LE(wait, TTokenBucket::kMaxDelay);
    EXPECT_EQ(bucket.Grant(1024, start + wait), 1024);

    EXPECT_EQ(bucket.Grant(1024, start + wait), 0);
    bucket.GiveBack(1024);
    EXPECT_EQ(bucket.Grant(1024, start + wait), 1024);
}

// Several transfers on their own threads share one limit: together they get the rate, not a
// multiple of it.
TEST(TokenBucket, ThreadsSharingABucketGetTheRateTogether) {
    const auto start = Clock::now();
    TTokenBucket bucket(2'000'000);
    bucket.Grant(1, start);
    std::atomic<std::int64_t> total = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] { total += GrantedOverOneSecond(bucket, start, 32 * 1024); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_NEAR(static_cast<double>(total.load()), 2'000'000.0, 250'000.0);
}

} // namespace
} // namespace qx
