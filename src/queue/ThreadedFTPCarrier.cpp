// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/ThreadedFTPCarrier.h"

#include "queue/FTPCarrierThread.h"

namespace qx {

std::shared_ptr<TThreadedFTPCarrier> TThreadedFTPCarrier::Create(UiThread& ui) {
    return std::shared_ptr<TThreadedFTPCarrier>(new TThreadedFTPCarrier(ui));
}

TThreadedFTPCarrier::TThreadedFTPCarrier(UiThread& ui) : m_ui(ui) {}

// Workers hold the carrier while they run, so it only goes away after they have ended.
TThreadedFTPCarrier::~TThreadedFTPCarrier() = default;

void TThreadedFTPCarrier::RunJob(unsigned code) {
    // A worker that is still there has finished its job and waits for the next one, perhaps
    // still logged in. An earlier worker is left to end on its own.
    if (!m_workers.HasCurrent()) {
        m_workers.Start(std::make_unique<TFTPCarrierThread>(shared_from_this()), LowestPriority);
    }
    m_workers.Post(code);
}

void TThreadedFTPCarrier::Abort() {
    m_workers.Abort(carrier_job::Abort);
}

void TThreadedFTPCarrier::StopThread() {
    m_workers.Stop();
}

// --- The worker's side -----------------------------------------------------------------------

void TThreadedFTPCarrier::WorkerEnded(TWorkerHost* worker) {
    m_workers.Ended(worker);
    RaiseEvent(OnEndThread, *this);
}

} // namespace qx
