// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/FindFields.h"
#include "remote/FindRun.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeView;

namespace qx {

class TConfigStore;
class TFindResultModel;
class TThreadedFTPClient;

// What the Find Files window needs of the explorer that opens it.
struct TRemoteFindSetup {
    std::string StartFolder;
    int TimeZoneOffset = 0;        // of the explorer's server
    TConfigStore* Store = nullptr; // keeps the size and the last fields; none: nothing kept
    // A session of its own for each search: login and questions set, thread started.
    std::function<std::shared_ptr<TThreadedFTPClient>()> NewClient;
    // The explorer's commands on found entries. Go to Folder, Download and Open return false
    // when the explorer cannot start them now (its session is busy).
    std::function<bool(const TFoundEntry& entry)> GoTo;
    std::function<bool(const std::vector<TFoundEntry>& entries)> Download;
    std::function<void(const std::vector<TFoundEntry>& entries)> DownloadInQueue;
    std::function<bool(const TFoundEntry& entry)> Open;
};

// Finds entries below a folder of the server by name, size and time, folder by folder through a
// session of its own, so that the explorer stays free; the results can be shown in the explorer,
// downloaded, queued or opened. Not modal; closing it ends the search.
class TRemoteFindForm final : public QWidget {
    Q_OBJECT
public:
    TRemoteFindForm(TRemoteFindSetup setup, QWidget* parent);
    ~TRemoteFindForm() override;
    TRemoteFindForm(const TRemoteFindForm&) = delete;
    TRemoteFindForm& operator=(const TRemoteFindForm&) = delete;

    void SetStartFolder(const std::string& folder);
    TFindFields Fields() const;
    void SetFields(const TFindFields& fields);
    bool Searching() const { return m_run && m_run->Running(); }
    QString StatusText() const;
    const TFindResultModel& Results() const { return *m_model; }

    void Find();
    void Stop();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildCriteria();
    QWidget* BuildResults();
    void CreateCommands();
    void Ended();
    void DropRun();
    void ShowProgress();
    void ShowEnd(bool stopped);
    void UpdateButtons();
    std::vector<TFoundEntry> SelectedEntries() const;
    void GoToSelected();
    void DownloadSelected();
    void QueueSelected();
    void OpenSelected();
    void TellBusy();
    QString ProblemText(TFindFieldProblem problem) const;

    TRemoteFindSetup m_setup;
    std::unique_ptr<TFindRun> m_run;
    std::unique_ptr<TFindRun> m_ended; // dropped once its last event has returned
    TFindResultModel* m_model;
    QLineEdit* m_folder;
    QLineEdit* m_masks;
    QCheckBox* m_subfolders;
    QSpinBox* m_depth;
    QLineEdit* m_larger;
    QLineEdit* m_smaller;
    QCheckBox* m_after;
    QDateEdit* m_afterDate;
    QCheckBox* m_before;
    QDateEdit* m_beforeDate;
    QPushButton* m_find;
    QPushButton* m_stop;
    QTreeView* m_view;
    QLabel* m_status;
    QAction* m_goTo;
    QAction* m_download;
    QAction* m_queue;
    QAction* m_open;
};

} // namespace qx
