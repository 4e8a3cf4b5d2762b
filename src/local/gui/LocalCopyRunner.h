// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "local/LocalFileCopy.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>
#include <thread>

class QProgressDialog;
class QWidget;

namespace qx {

// Runs one copy or move of local files at a time on a worker thread, with a progress dialog
// that can cancel it. Conflicting names are asked about first, on the user-interface thread;
// failures are listed in a message box at the end.
class TLocalCopyRunner final : public QObject {
    Q_OBJECT
public:
    explicit TLocalCopyRunner(QWidget* window);
    ~TLocalCopyRunner() override;
    TLocalCopyRunner(const TLocalCopyRunner&) = delete;
    TLocalCopyRunner& operator=(const TLocalCopyRunner&) = delete;

    // False when refused (one is running, the request cannot run, or the user cancelled).
    bool Start(TCopyRequest request);
    bool Running() const { return m_worker.joinable() && !m_done; }

Q_SIGNALS:
    void Finished(const qx::TCopyResult& result);

private:
    void OnProgress(const TCopyProgress& progress);
    void OnFinished(const TCopyResult& result);

    QWidget* m_window;
    QPointer<QProgressDialog> m_progress;
    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_done{true};
    std::jthread m_worker;
};

} // namespace qx
