#pragma once

#include "platform/UiThread.h"
#include "queue/FTPCarrier.h"

#include <atomic>
#include <memory>
#include <vector>

namespace qx {

class TFTPCarrierThread;

// The carrier that does the work: its jobs run on a worker thread with two FTP engines, one
// for the source server and one for the destination. The worker is started by the first job
// and takes the later ones until StopThread(). Events reach the user-interface
// thread through UiThread while the worker waits for them to return.
//
// A worker keeps its carrier alive until it has ended, so the owner may drop the carrier in
// its done handler after StopThread(): the worker ends, frees its engines and connections,
// raises OnEndThread and lets the carrier go.
class TThreadedFTPCarrier final : public TFTPCarrier,
                                  public std::enable_shared_from_this<TThreadedFTPCarrier> {
public:
    static std::shared_ptr<TThreadedFTPCarrier> Create(UiThread& ui);
    ~TThreadedFTPCarrier() override;

    // Workers run at the lowest priority, so that windows stay responsive.
    bool LowestPriority = true;

    void Abort() override;
    void StopThread() override;
    bool WorkerRunning() const { return m_workerRunning.load(); }

protected:
    void RunJob(unsigned code) override;

private:
    friend class TFTPCarrierThread;
    explicit TThreadedFTPCarrier(UiThread& ui);
    void StartThread();
    void EndOfWorker(TFTPCarrierThread* worker);

    UiThread& m_ui;
    std::atomic<bool> m_workerRunning{false};
    // Every worker that has not ended yet; the last one runs the current job.
    std::vector<std::unique_ptr<TFTPCarrierThread>> m_workers;
    TFTPCarrierThread* m_worker = nullptr;
};

} // namespace qx
