// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncPlan.h"
#include "widgets/CaptionedDialog.h"

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;

namespace qx {

class TSyncPlanModel;

// The options of a synchronization, as the dialog keeps them (masks as the user typed them).
struct TSyncChoices {
    TSyncDirection Direction = TSyncDirection::Upload;
    TSyncCriteria Criteria = TSyncCriteria::TimeAndSize;
    bool Subfolders = true;
    QString Include;
    QString Exclude;
    bool DeleteOrphans = false;
};

// Synchronizes a local folder and a remote one in two steps: the options, then a preview of
// every action planned with its reason, where any can be left out. Nothing changes before
// Start; with deletes chosen, Start asks again and lists them. The owner plans (OnPlan, which
// answers later through ShowPlan or ShowPlanFailure) and runs what ChosenPlan() holds once the
// dialog is accepted.
class TSynchronizeForm final : public TCaptionedDialog {
    Q_OBJECT
public:
    TSynchronizeForm(const QString& fontName, int fontSize, QWidget* parent = nullptr);

    void SetFolders(const QString& localFolder, const QString& remoteFolder);
    void SetChoices(const TSyncChoices& choices);
    TSyncChoices Choices() const;
    // The options for the planner; nothing, with the mask's complaint shown, when a mask is
    // not valid.
    std::optional<TSyncOptions> Options();

    // Asked to plan with the options; the owner answers with ShowPlan or ShowPlanFailure.
    std::function<void(const TSyncOptions&)> OnPlan;
    // Asked to stop a planning under way.
    std::function<void()> OnStopPlanning;
    // Asks whether the deletes listed may run; a message box unless replaced (tests).
    std::function<bool(const QStringList& deletes)> ConfirmDeletes;

    void SetPlanningProgress(const QString& text);
    void ShowPlan(TSyncPlan plan);
    void ShowPlanFailure(const QString& text);
    TSyncPlan ChosenPlan() const;

private:
    QWidget* BuildOptionsPage();
    QWidget* BuildPreviewPage();
    void Preview();
    void Start();
    void Back();
    void UpdateSummary();
    void UpdateDeleteOption();
    bool AskDeletes(const QStringList& deletes);

    QLabel* m_folders;
    QStackedWidget* m_pages;
    QRadioButton* m_upload;
    QRadioButton* m_download;
    QRadioButton* m_both;
    QComboBox* m_criteria;
    QCheckBox* m_subfolders;
    QLineEdit* m_include;
    QLineEdit* m_exclude;
    QCheckBox* m_delete;
    QLabel* m_problem;
    QPushButton* m_preview;
    QTableView* m_table;
    TSyncPlanModel* m_model;
    QLabel* m_summary;
    QLabel* m_unlisted;
    QPushButton* m_start;
    bool m_planning = false;
};

} // namespace qx
