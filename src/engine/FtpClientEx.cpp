// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FtpClientEx.h"

#include "base/Translatable.h"

#include <algorithm>

namespace qx {

TFtpClientEx::TFtpClientEx(MessageQueue& queue) : TCustomFtpCliEx(queue) {}

void TFtpClientEx::PushDeadline() {
    m_deadline = NowMs() + std::int64_t{Timeout} * 1000;
}

bool TFtpClientEx::TriggerProgress() {
    PushDeadline();
    return TCustomFtpCliEx::TriggerProgress();
}

bool TFtpClientEx::RunAndWait(void (TCustomFtpCliEx::*request)()) {
    try {
        (this->*request)();
    } catch (const std::exception&) {
        return false;
    }
    return WaitForReady();
}

bool TFtpClientEx::WaitForReady() {
    PushDeadline();
    for (;;) {
        // A request whose server closed the connection with its last reply has completed,
        // though the engine is left internal ready.
        if (State() == TFtpState::ftpReady || !RequestPending()) {
            return RequestResult() == 0;
        }
        const std::int64_t now = NowMs();
        if (m_terminating.load() || (Timeout > 0 && now >= m_deadline)) {
            Abort();
            OverrideFailure(426, QX_TRANSLATE_NOOP("qx::Core", "426 Timeout"));
            return false;
        }
        // Everything that is ready runs now; with nothing ready the wait blocks on the queue
        // instead of spinning.
        if (Queue().processMessages() == 0) {
            const std::int64_t wait =
                Timeout > 0 ? std::clamp<std::int64_t>(m_deadline - now, 1, 200) : 200;
            Queue().runOneFor(std::chrono::milliseconds(wait));
        }
    }
}

} // namespace qx
