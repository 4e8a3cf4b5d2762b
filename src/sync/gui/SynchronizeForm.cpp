// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/gui/SynchronizeForm.h"

#include "sync/gui/SyncPlanModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace qx {

namespace {

QPushButton* AddButton(QDialogButtonBox* box, const QString& text, const char* name,
                       QDialogButtonBox::ButtonRole role) {
    QPushButton* button = box->addButton(text, role);
    button->setObjectName(QLatin1String(name));
    return button;
}

bool IsDelete(const TSyncAction& action) {
    return action.Kind == TSyncActionKind::DeleteLocal ||
           action.Kind == TSyncActionKind::DeleteRemote;
}

} // namespace

TSynchronizeForm::TSynchronizeForm(const QString& fontName, int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("SynchronizeForm"));
    SetTitles(tr("Synchronize"), {}, tr("Synchronize"));
    m_folders = new QLabel(this);
    m_folders->setObjectName(QStringLiteral("FoldersLabel"));
    m_folders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(BuildOptionsPage());
    m_pages->addWidget(BuildPreviewPage());
    Body().addWidget(m_folders);
    Body().addWidget(m_pages);
    ConfirmDeletes = [this](const QStringList& deletes) { return AskDeletes(deletes); };
    UpdateDeleteOption();
}

QWidget* TSynchronizeForm::BuildOptionsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* direction = new QGroupBox(tr("Direction"), page);
    auto* directions = new QVBoxLayout(direction);
    m_upload =
        new QRadioButton(tr("&Upload: make the remote folder like the local one"), direction);
    m_upload->setObjectName(QStringLiteral("UploadRadio"));
    m_download =
        new QRadioButton(tr("&Download: make the local folder like the remote one"), direction);
    m_download->setObjectName(QStringLiteral("DownloadRadio"));
    m_both = new QRadioButton(tr("&Both ways: newer files go to the other side"), direction);
    m_both->setObjectName(QStringLiteral("BothRadio"));
    m_upload->setChecked(true);
    for (QRadioButton* radio : {m_upload, m_download, m_both}) {
        directions->addWidget(radio);
        connect(radio, &QRadioButton::toggled, this, &TSynchronizeForm::UpdateDeleteOption);
    }
    layout->addWidget(direction);

    auto* form = new QFormLayout();
    m_criteria = new QComboBox(page);
    m_criteria->setObjectName(QStringLiteral("CriteriaCombo"));
    // In the order of TSyncCriteria.
    m_criteria->addItems({tr("Time"), tr("Size"), tr("Time and size"), tr("Presence only")});
    m_criteria->setCurrentIndex(static_cast<int>(TSyncCriteria::TimeAndSize));
    form->addRow(tr("&Compare by:"), m_criteria);
    m_include = new QLineEdit(page);
    m_include->setObjectName(QStringLiteral("IncludeEdit"));
    m_include->setPlaceholderText(tr("every file (for example *.html;*.css)"));
    form->addRow(tr("&Include files:"), m_include);
    m_exclude = new QLineEdit(page);
    m_exclude->setObjectName(QStringLiteral("ExcludeEdit"));
    m_exclude->setPlaceholderText(tr("nothing (for example *.tmp;.git)"));
    form->addRow(tr("E&xclude:"), m_exclude);
    layout->addLayout(form);

    m_subfolders = new QCheckBox(tr("Include &subfolders"), page);
    m_subfolders->setObjectName(QStringLiteral("SubfoldersCheck"));
    m_subfolders->setChecked(true);
    layout->addWidget(m_subfolders);
    m_delete = new QCheckBox(tr("D&elete files that are not in the source"), page);
    m_delete->setObjectName(QStringLiteral("DeleteCheck"));
    layout->addWidget(m_delete);
    m_problem = new QLabel(page);
    m_problem->setObjectName(QStringLiteral("ProblemLabel"));
    m_problem->setWordWrap(true);
    layout->addWidget(m_problem);

    auto* buttons = new QDialogButtonBox(page);
    m_preview = AddButton(buttons, tr("&Preview"), "PreviewBitBtn", QDialogButtonBox::ActionRole);
    m_preview->setDefault(true);
    AddButton(buttons, tr("Cancel"), "CancelBitBtn", QDialogButtonBox::RejectRole);
    connect(m_preview, &QPushButton::clicked, this, &TSynchronizeForm::Preview);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    return page;
}

QWidget* TSynchronizeForm::BuildPreviewPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_unlisted = new QLabel(page);
    m_unlisted->setObjectName(QStringLiteral("UnlistedLabel"));
    m_unlisted->setWordWrap(true);
    m_unlisted->hide();
    layout->addWidget(m_unlisted);

    m_model = new TSyncPlanModel(this);
    m_table = new QTableView(page);
    m_table->setObjectName(QStringLiteral("PlanTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(m_table->fontMetrics().averageCharWidth() * 100,
                            m_table->fontMetrics().height() * 16);
    layout->addWidget(m_table);

    auto* choose = new QHBoxLayout();
    auto* all = new QPushButton(tr("Select &all"), page);
    all->setObjectName(QStringLiteral("SelectAllBitBtn"));
    auto* none = new QPushButton(tr("Select &none"), page);
    none->setObjectName(QStringLiteral("SelectNoneBitBtn"));
    connect(all, &QPushButton::clicked, this, [this] { m_model->ChooseAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { m_model->ChooseAll(false); });
    choose->addWidget(all);
    choose->addWidget(none);
    choose->addStretch();
    layout->addLayout(choose);
    m_summary = new QLabel(page);
    m_summary->setObjectName(QStringLiteral("SummaryLabel"));
    layout->addWidget(m_summary);
    connect(m_model, &TSyncPlanModel::ChoiceChanged, this, &TSynchronizeForm::UpdateSummary);

    auto* buttons = new QDialogButtonBox(page);
    QPushButton* back =
        AddButton(buttons, tr("< &Back"), "BackBitBtn", QDialogButtonBox::ResetRole);
    m_start = AddButton(buttons, tr("&Start"), "StartBitBtn", QDialogButtonBox::AcceptRole);
    AddButton(buttons, tr("Cancel"), "CancelPreviewBitBtn", QDialogButtonBox::RejectRole);
    connect(back, &QPushButton::clicked, this, &TSynchronizeForm::Back);
    connect(m_start, &QPushButton::clicked, this, &TSynchronizeForm::Start);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    return page;
}

void TSynchronizeForm::SetFolders(const QString& localFolder, const QString& remoteFolder) {
    m_folders->setText(tr("Local folder: %1\nRemote folder: %2").arg(localFolder, remoteFolder));
}

void TSynchronizeForm::SetChoices(const TSyncChoices& choices) {
    (choices.Direction == TSyncDirection::Upload     ? m_upload
     : choices.Direction == TSyncDirection::Download ? m_download
                                                     : m_both)
        ->setChecked(true);
    m_criteria->setCurrentIndex(static_cast<int>(choices.Criteria));
    m_subfolders->setChecked(choices.Subfolders);
    m_include->setText(choices.Include);
    m_exclude->setText(choices.Exclude);
    m_delete->setChecked(choices.DeleteOrphans);
    UpdateDeleteOption();
}

TSyncChoices TSynchronizeForm::Choices() const {
    TSyncChoices choices;
    choices.Direction = m_upload->isChecked()     ? TSyncDirection::Upload
                        : m_download->isChecked() ? TSyncDirection::Download
                                                  : TSyncDirection::Both;
    choices.Criteria = static_cast<TSyncCriteria>(m_criteria->currentIndex());
    choices.Subfolders = m_subfolders->isChecked();
    choices.Include = m_include->text().trimmed();
    choices.Exclude = m_exclude->text().trimmed();
    choices.DeleteOrphans = m_delete->isChecked() && m_delete->isEnabled();
    return choices;
}

std::optional<TSyncOptions> TSynchronizeForm::Options() {
    const TSyncChoices choices = Choices();
    TSyncOptions options;
    options.Direction = choices.Direction;
    options.Criteria = choices.Criteria;
    options.Subfolders = choices.Subfolders;
    options.DeleteOrphans = choices.DeleteOrphans;
    try {
        options.Include.SetMasks(choices.Include.toStdString());
        options.Exclude.SetMasks(choices.Exclude.toStdString());
    } catch (const EMaskException& problem) {
        m_problem->setText(QString::fromUtf8(problem.what()));
        return std::nullopt;
    }
    m_problem->clear();
    return options;
}

void TSynchronizeForm::UpdateDeleteOption() {
    // Both ways has no source to delete by: a file missing on one side is copied to it.
    m_delete->setEnabled(!m_both->isChecked());
}

void TSynchronizeForm::Preview() {
    if (m_planning) {
        if (OnStopPlanning) {
            OnStopPlanning();
        }
        return;
    }
    const auto options = Options();
    if (!options || !OnPlan) {
        return;
    }
    m_planning = true;
    m_preview->setText(tr("&Stop"));
    m_problem->setText(tr("Comparing the folders..."));
    OnPlan(*options);
}

void TSynchronizeForm::SetPlanningProgress(const QString& text) {
    m_problem->setText(text);
}

void TSynchronizeForm::ShowPlan(TSyncPlan plan) {
    m_planning = false;
    m_preview->setText(tr("&Preview"));
    m_problem->clear();
    QStringList unlisted;
    for (const std::string& folder : plan.Unlisted) {
        unlisted << (folder.empty() ? QStringLiteral(".") : QString::fromUtf8(folder));
    }
    m_unlisted->setText(tr("These folders could not be listed and are left alone: %1")
                            .arg(unlisted.join(QStringLiteral(", "))));
    m_unlisted->setVisible(!unlisted.isEmpty());
    m_model->SetPlan(std::move(plan));
    m_table->resizeColumnsToContents();
    m_pages->setCurrentIndex(1);
    m_start->setFocus();
}

void TSynchronizeForm::ShowPlanFailure(const QString& text) {
    m_planning = false;
    m_preview->setText(tr("&Preview"));
    m_problem->setText(text);
}

TSyncPlan TSynchronizeForm::ChosenPlan() const {
    return m_model->ChosenPlan();
}

void TSynchronizeForm::UpdateSummary() {
    const TSyncSummary summary = m_model->ChosenPlan().Summary();
    m_summary->setText(SyncSummaryText(summary));
    m_start->setEnabled(summary.Uploads + summary.Downloads + summary.Folders + summary.Deletes >
                        0);
}

void TSynchronizeForm::Back() {
    m_pages->setCurrentIndex(0);
}

void TSynchronizeForm::Start() {
    QStringList deletes;
    for (const TSyncAction& action : m_model->ChosenPlan().Actions) {
        if (action.Chosen && IsDelete(action)) {
            const QString path = QString::fromUtf8(action.Path) +
                                 (action.IsFolder ? QStringLiteral("/") : QString());
            deletes << (action.Kind == TSyncActionKind::DeleteLocal ? tr("local %1").arg(path)
                                                                    : tr("remote %1").arg(path));
        }
    }
    if (!deletes.isEmpty() && !(ConfirmDeletes && ConfirmDeletes(deletes))) {
        return;
    }
    accept();
}

bool TSynchronizeForm::AskDeletes(const QStringList& deletes) {
    QMessageBox box(QMessageBox::Warning, tr("Synchronize"),
                    tr("Delete %n files and folders that are not in the source?", nullptr,
                       static_cast<int>(deletes.size())),
                    QMessageBox::Yes | QMessageBox::No, this);
    constexpr qsizetype kShown = 12;
    QString shown = deletes.mid(0, kShown).join(QLatin1Char('\n'));
    if (deletes.size() > kShown) {
        shown += tr("\n... and %n more", nullptr, static_cast<int>(deletes.size() - kShown));
    }
    box.setInformativeText(shown);
    box.setDetailedText(deletes.join(QLatin1Char('\n')));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace qx
