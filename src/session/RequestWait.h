// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageQueue.h"

#include <atomic>
#include <cstdint>

namespace qx {

// How a worker waits for one request of a protocol client that completes requests by
// callbacks on the worker's message queue: the wait dispatches the queue (the client's socket
// and pipe notifications, its timers, its completions) until the completion of the request it
// waits for has come, and ends early on abort (the flag, or the abort code posted to the
// queue) and on quit (posted again, so that the worker's own loop ends as well). A completion
// of an earlier request (one an abort left behind) is never taken for the one waited for:
// requests are numbered.
class TRequestWait {
public:
    TRequestWait(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode);

    // A request is about to start: its number. Completions of earlier ones are dropped from
    // now on.
    std::uint64_t Begin();
    // The client's completion of a request, delivered on the worker's queue (never from inside
    // the call that started the request); error 0 is success.
    void Complete(std::uint64_t request, std::uint16_t error);
    std::uint64_t Current() const { return m_current; }

    enum class End { Completed, Aborted };
    // Until the request last begun has completed (the abort flag is then cleared), or an abort
    // or quit came first.
    End Wait();
    std::uint16_t Error() const { return m_error; }

    // What woke a wait up that is not for a completion (a watch over several requests).
    enum class Wake { Message, Abort, Quit };
    // Dispatches the next message of the queue, blocking; the quit message is posted again.
    Wake WaitForMessage();
    // Waits the seconds unless an abort or quit comes first (then false, with the abort flag
    // raised, so that the next request aborts).
    bool Pause(int seconds);

    bool AbortRaised() const { return m_abortFlag.load(); }
    void ClearAbort() { m_abortFlag = false; }
    MessageQueue& Queue() { return m_queue; }

private:
    MessageQueue& m_queue;
    std::atomic<bool>& m_abortFlag;
    const unsigned m_abortCode;
    std::uint64_t m_current = 0;
    bool m_done = false;
    std::uint16_t m_error = 0;
};

} // namespace qx
