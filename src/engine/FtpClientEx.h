// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CustomFtpCliEx.h"

#include <atomic>
#include <cstdint>

namespace qx {

// The engine as the program creates it: adds a time-out and a synchronous wait.
class TFtpClientEx : public TCustomFtpCliEx {
public:
    explicit TFtpClientEx(MessageQueue& queue);

    // Seconds without progress after which WaitForReady gives up; 0 waits for ever.
    int Timeout = 15;
    // One queue per thread: both values make the wait pump the owning thread's queue.
    bool MultiThreaded = false;

    // Runs the request and waits for it; false when it was refused or did not succeed.
    bool RunAndWait(void (TCustomFtpCliEx::*request)());
    // Pumps the thread's queue until the engine is ready again; true when the request
    // succeeded. After Timeout seconds without progress it aborts, with ErrorMessage
    // "426 Timeout".
    bool WaitForReady();

    // Set from another thread to make a running wait give up at once, as when the program is
    // ending.
    void RequestTermination() { m_terminating.store(true); }

protected:
    bool TriggerProgress() override;

private:
    void PushDeadline();

    std::int64_t m_deadline = 0;
    std::atomic<bool> m_terminating{false};
};

} // namespace qx
