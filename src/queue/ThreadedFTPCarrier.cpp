#include "queue/ThreadedFTPCarrier.h"

#include "queue/FTPCarrierThread.h"

#include "platform/WorkerThread.h"

#include <algorithm>

namespace qx {

std::shared_ptr<TThreadedFTPCarrier> TThreadedFTPCarrier::Create(UiThread& ui) {
    return std::shared_ptr<TThreadedFTPCarrier>(new TThreadedFTPCarrier(ui));
}

TThreadedFTPCarrier::TThreadedFTPCarrier(UiThread& ui) : m_ui(ui) {}

// Workers hold the carrier while they run, so it only goes away after they have ended.
TThreadedFTPCarrier::~TThreadedFTPCarrier() = default;

void TThreadedFTPCarrier::StartThread() {
    // An earlier worker is left to end on its own.
    auto worker = std::make_unique<TFTPCarrierThread>(shared_from_this());
    worker->Start();
    m_worker = worker.get();
    m_workers.push_back(std::move(worker));
    m_workerRunning = true;
}

void TThreadedFTPCarrier::RunJob(unsigned code) {
    // A worker that is still there has finished its job and waits for the next one, perhaps
    // still logged in.
    if (m_worker == nullptr) {
        StartThread();
    }
    m_worker->Queue().postThreadMessage(code);
}

void TThreadedFTPCarrier::Abort() {
    if (m_worker == nullptr) {
        return;
    }
    m_worker->Queue().postThreadMessage(carrier_job::Abort);
    m_worker->AbortFlag = true;
}

void TThreadedFTPCarrier::StopThread() {
    if (m_worker != nullptr) {
        m_worker->Queue().postQuit();
        m_worker = nullptr;
    }
}

void TThreadedFTPCarrier::EndOfWorker(TFTPCarrierThread* worker) {
    if (ReleaseEndedWorker(m_workers, m_worker, worker)) {
        m_workerRunning = false;
    }
    if (OnEndThread) {
        auto handler = OnEndThread;
        handler(*this);
    }
}

} // namespace qx
