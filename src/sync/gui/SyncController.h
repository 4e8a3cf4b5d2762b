// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncItems.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "sync/gui/SynchronizeForm.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace qx {

class TCarrierQueue;
class TSyncPlanner;
class TSyncSession;
class TThreadedFTPClient;

// What a synchronization needs of the explorer that starts it.
struct TSyncSetup {
    TSyncServer Server;
    std::string SiteName; // with the folders, it names the two-way record
    TSyncFolders Folders;
    // The synchronization's own session: login and questions set, thread started.
    std::shared_ptr<TThreadedFTPClient> Client;
    TCarrierQueue* Queue = nullptr;
    TSyncRun::QueueItems QueueItems;
    std::filesystem::path StateFolder; // where two-way records are kept
    QString FontName;
    int FontSize = 9;
};

// One synchronization from the dialog to its end: plans while the dialog shows its progress,
// runs what the user chose once the dialog is accepted, tells the user how it went, and keeps
// the two-way record. It frees itself at the end; closing its parent ends it sooner.
class TSyncController final : public QObject {
    Q_OBJECT
public:
    TSyncController(TSyncSetup setup, QWidget* parent);
    ~TSyncController() override;

    // Shows the dialog (not modal); the rest follows from it.
    void Start();
    TSynchronizeForm* Form() const { return m_form; }

    // Shows the end of the run; a message box unless replaced (tests).
    std::function<void(const QString& text, bool problems)> Report;

Q_SIGNALS:
    // The run and its record are done (or the dialog was cancelled).
    void Finished();

private:
    void Plan(const TSyncOptions& options);
    void Planned(TSyncPlan plan);
    void Run();
    void RunEnded();
    void Recorded(const TSyncPlan& relisted);
    void End();
    std::filesystem::path StateFile() const;

    TSyncSetup m_setup;
    QWidget* m_parent;
    QPointer<TSynchronizeForm> m_form;
    std::unique_ptr<TSyncSession> m_session;
    std::optional<TSyncState> m_last;
    std::optional<TSyncOptions> m_options;
    std::unique_ptr<TSyncPlanner> m_planner;
    std::unique_ptr<TSyncRun> m_run;
    bool m_stateUnreadable = false;
};

} // namespace qx
