// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ByteStreams.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace qx {

// The bytes of a relayed copy between its two threads: the source's download puts them in, the
// destination's upload takes them out. The ring holds at most its capacity, so a full ring
// stops the download (and the source's server then waits in its own window) and an empty one
// the upload. Every wait looks at the cancel test a few times a second: nothing waits for ever.
class TRelayRing final : public TByteSink, public TByteSource {
public:
    static constexpr std::size_t kCapacity = 4 * 1024 * 1024;

    // cancelled is asked from both threads while they wait; true ends the relay as aborted.
    TRelayRing(std::size_t capacity, std::function<bool()> cancelled);

    bool Put(const char* data, std::size_t length) override;
    std::ptrdiff_t Get(char* buffer, std::size_t size) override;
    std::string Error() const override;

    // All bytes are in: Get() gives 0 once the ring is empty.
    void Close();
    // One end gave up: both ends fail from now on with the first reason given.
    // True when this was the first failure.
    bool Fail(const std::string& why);
    bool Failed() const;
    std::int64_t Given() const override;

private:
    // Until ready() or a failure; false on a failure (a cancel becomes one).
    bool WaitUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready);

    const std::function<bool()> m_cancelled;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<char> m_buffer;
    std::size_t m_head = 0; // the next byte to take
    std::size_t m_held = 0;
    std::int64_t m_taken = 0;
    bool m_closed = false;
    std::string m_failure; // empty while nobody failed
};

} // namespace qx
