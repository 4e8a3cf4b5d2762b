// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/CarrierQueue.h"
#include "queue/gui/CarrierListModel.h"
#include "queue/gui/CarrierQueueModels.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSpinBox;
class QTabWidget;
class QTreeView;

namespace qx {

class TActionList;
class TConfigStore;
class UiThread;

// The transfer queue's window, "Carrier": the queue, status, success and fail lists on four
// pages, the commands that steer the queue, and the number of carriers that may run at once.
// The scheduler itself is the TCarrierQueue it owns; the window shows its rows and hands it
// the commands. There is one for the whole program: closing it only hides it, and its place
// and service settings are loaded when it is created and saved when it is destroyed.
class TCarrierForm final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 1002;

    // Automatic transfers use the ASCII extensions (referenced, not owned); the settings live
    // in the store, which must outlive the window.
    TCarrierForm(TCarrierQueue::CarrierFactory carriers, const TAsciiExtensions* asciiExtensions,
                 TConfigStore& store, QWidget* parent = nullptr);
    ~TCarrierForm() override;

    // Carriers that run their jobs on worker threads and report to the user-interface thread.
    // Carriers on worker threads of their own; each takes the inactivity limit and the choice
    // of keeping file times that the options hold when it is made.
    static TCarrierQueue::CarrierFactory ThreadedCarriers(UiThread& ui,
                                                          std::function<int()> timeout,
                                                          std::function<bool()> keepFileTimes = {});

    // The font of the global options, at creation and whenever they change.
    void ApplyAppearance(const QString& fontName, int fontSize);
    // The pictures of the rows' image indexes; without them the rows have no icon.
    void SetRowIcons(const TCarrierListModel::IconProvider& icons);
    // The queue's speed limits in bytes per second (0 none); running transfers follow at once.
    void SetSpeedLimits(std::int64_t download, std::int64_t upload);
    // The user chose other limits with "Speed Limit..." (they are in effect already).
    std::function<void(std::int64_t download, std::int64_t upload)> OnSpeedLimitsChosen;

    // --- For the producers of items ---
    void AddItem(std::unique_ptr<TFTPCarryItem> item);
    void AddItems(std::vector<std::unique_ptr<TFTPCarryItem>> items);
    void StartCarriers();
    TCarrierQueue& Queue() { return m_queue; }
    const TCarrierQueue& Queue() const { return m_queue; }
    // Suspends the queue without making that the user's choice: the stored service state stays
    // the one last chosen with Resume or Suspend (a queue restored at the start waits for the
    // user, later starts do not).
    void SuspendUntilResumed();

    // "[%d Items Queued]", as the title shows it now. The title follows the queue once per
    // pass of the event loop, however many items a burst adds.
    QString CaptionText() const { return m_caption; }

    // For the end of the program: stops starting new jobs, aborts the running ones and runs
    // the event loop until every carrier's worker has ended, for at most the given time. The
    // queue's journal is let go first, so that it keeps the aborted jobs as queued.
    // False when some worker was still running then.
    bool FinishWork(int timeoutMs);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreatePages();
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    void SetDefaultColumnWidths();
    void LoadSettings();
    void SaveSettings();

    void MaxCarrierEditChange();
    void ChooseSpeedLimits(); // see CarrierSpeedLimit.cpp
    void ScheduleCaption();
    void UpdateCaption();
    void UpdateState();

    QTreeView* ListView(TCarrierList list) const;
    std::vector<std::size_t> SelectedRows(TCarrierList list) const;
    bool HasSelection(TCarrierList list) const;

    TConfigStore& m_store;
    TCarrierQueue m_queue;
    TCarrierQueueModels m_models; // goes before the queue

    TActionList* m_actions = nullptr;
    QTabWidget* m_pages = nullptr;
    std::array<QTreeView*, 4> m_views{};
    QSpinBox* m_maxCarrierUpDown = nullptr;
    QLabel* m_stateLabel = nullptr;
    QMenu* m_clearMenu = nullptr;

    QAction* m_resumeAction = nullptr;
    QAction* m_suspendAction = nullptr;
    QAction* m_abortAction = nullptr;
    QAction* m_resubmitAction = nullptr;
    QAction* m_hideAction = nullptr;
    QAction* m_addAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_clearQueueAction = nullptr;
    QAction* m_clearSuccessAction = nullptr;
    QAction* m_clearFailAction = nullptr;
    QAction* m_speedLimitAction = nullptr;

    QString m_caption;
    bool m_captionPending = false;
    bool m_finishing = false;
    // The service state the user chose (Resume or Suspend, or the stored one); the one stored.
    bool m_chosenResumeService = true;
};

} // namespace qx
