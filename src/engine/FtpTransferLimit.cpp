// SPDX-License-Identifier: GPL-3.0-or-later
// The speed limit of file transfers: a transfer over its limit stops reading the data
// connection (so that the sender waits in its TCP window) or stops sending, and goes on from a
// timer of the thread's queue.

#include "engine/CustomFtpCliEx.h"

#include <algorithm>

namespace qx {

void TCustomFtpCliEx::TakeTransferLimit(const std::shared_ptr<TTokenBucket>& limit) {
    ++m_throttleRound;
    m_throttled = false;
    m_throttle.cancel();
    m_limit = limit;
}

std::size_t TCustomFtpCliEx::AllowedBytes(std::size_t wanted) {
    if (!m_limit) {
        return wanted;
    }
    const std::int64_t granted = m_limit->Grant(static_cast<std::int64_t>(wanted));
    if (granted > 0) {
        return static_cast<std::size_t>(granted);
    }
    PauseTransfer(m_limit->Delay());
    return 0;
}

void TCustomFtpCliEx::GiveBackUnused(std::size_t allowed, std::ptrdiff_t moved) {
    const auto used = static_cast<std::size_t>(std::max<std::ptrdiff_t>(moved, 0));
    if (m_limit && used < allowed) {
        m_limit->GiveBack(static_cast<std::int64_t>(allowed - used));
    }
}

void TCustomFtpCliEx::PauseTransfer(std::chrono::milliseconds delay) {
    m_throttled = true;
    ++m_throttlePauses;
    m_throttle.expires_after(std::max(delay, std::chrono::milliseconds{1}));
    std::weak_ptr<char> life = m_life;
    const std::uint64_t round = m_throttleRound;
    m_throttle.async_wait([this, life, round](const std::error_code& error) {
        if (life.expired() || error || round != m_throttleRound || !m_throttled) {
            return;
        }
        m_throttled = false;
        ++m_throttlePauses;
        if (m_dataSocket->State() != TSocketState::wsConnected) {
            return; // ended meanwhile (closed, aborted): its own events took care of it
        }
        try {
            if (m_uploading) {
                DataSocketPutDataSent(0);
            } else {
                DataSocketGetDataAvailable();
            }
        } catch (const std::exception& e) {
            HandleBackgroundException(e);
        }
    });
}

} // namespace qx
