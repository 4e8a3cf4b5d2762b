// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/RemoteFindForm.h"

#include "remote/FindSettings.h"
#include "remote/gui/FindResultModel.h"
#include "widgets/CoreTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace qx {

TRemoteFindForm::TRemoteFindForm(TRemoteFindSetup setup, QWidget* parent)
    : QWidget(parent, Qt::Window), m_setup(std::move(setup)), m_model(new TFindResultModel(this)) {
    setObjectName(QStringLiteral("RemoteFindForm"));
    setWindowTitle(tr("Find Files"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildCriteria());
    layout->addWidget(BuildResults(), 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    CreateCommands();
    SetStartFolder(m_setup.StartFolder);
    TFindSettings settings;
    if (m_setup.Store != nullptr) {
        settings.LoadFromStore(*m_setup.Store);
        SetFields(settings.Fields);
    }
    resize(settings.Width, settings.Height);
    UpdateButtons();
}

TRemoteFindForm::~TRemoteFindForm() = default;

QWidget* TRemoteFindForm::BuildCriteria() {
    auto* criteria = new QWidget(this);
    auto* form = new QFormLayout(criteria);
    form->setContentsMargins(0, 0, 0, 0);
    m_folder = new QLineEdit(criteria);
    m_folder->setObjectName(QStringLiteral("FolderEdit"));
    form->addRow(tr("&Look in:"), m_folder);
    m_masks = new QLineEdit(criteria);
    m_masks->setObjectName(QStringLiteral("MasksEdit"));
    m_masks->setPlaceholderText(tr("every name; several masks apart by \";\", e.g. *.txt;*.log"));
    form->addRow(tr("&Names:"), m_masks);

    auto* depthRow = new QHBoxLayout;
    m_subfolders = new QCheckBox(tr("In &subfolders, levels deep:"), criteria);
    m_subfolders->setChecked(true);
    m_depth = new QSpinBox(criteria);
    m_depth->setRange(1, kMaxRecursionDepth);
    m_depth->setValue(kMaxRecursionDepth);
    connect(m_subfolders, &QCheckBox::toggled, m_depth, &QWidget::setEnabled);
    depthRow->addWidget(m_subfolders);
    depthRow->addWidget(m_depth);
    depthRow->addStretch();
    form->addRow(QString(), depthRow);

    auto* sizeRow = new QHBoxLayout;
    m_larger = new QLineEdit(criteria);
    m_larger->setObjectName(QStringLiteral("LargerEdit"));
    m_smaller = new QLineEdit(criteria);
    m_smaller->setObjectName(QStringLiteral("SmallerEdit"));
    for (QLineEdit* edit : {m_larger, m_smaller}) {
        edit->setPlaceholderText(tr("e.g. 500K, 2M, 1G"));
    }
    sizeRow->addWidget(new QLabel(tr("larger than"), criteria));
    sizeRow->addWidget(m_larger);
    sizeRow->addWidget(new QLabel(tr("smaller than"), criteria));
    sizeRow->addWidget(m_smaller);
    form->addRow(tr("Si&ze:"), sizeRow);

    auto* timeRow = new QHBoxLayout;
    const QDate today = QDate::currentDate();
    m_after = new QCheckBox(tr("&after"), criteria);
    m_afterDate = new QDateEdit(today.addMonths(-1), criteria);
    m_before = new QCheckBox(tr("&before"), criteria);
    m_beforeDate = new QDateEdit(today.addDays(1), criteria);
    for (QDateEdit* date : {m_afterDate, m_beforeDate}) {
        date->setCalendarPopup(true);
        date->setEnabled(false);
    }
    connect(m_after, &QCheckBox::toggled, m_afterDate, &QWidget::setEnabled);
    connect(m_before, &QCheckBox::toggled, m_beforeDate, &QWidget::setEnabled);
    timeRow->addWidget(m_after);
    timeRow->addWidget(m_afterDate);
    timeRow->addWidget(m_before);
    timeRow->addWidget(m_beforeDate);
    timeRow->addStretch();
    form->addRow(tr("Modified:"), timeRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_find = new QPushButton(tr("&Find"), criteria);
    m_find->setObjectName(QStringLiteral("FindButton"));
    m_find->setDefault(true);
    m_stop = new QPushButton(tr("S&top"), criteria);
    m_stop->setObjectName(QStringLiteral("StopButton"));
    connect(m_find, &QPushButton::clicked, this, &TRemoteFindForm::Find);
    connect(m_stop, &QPushButton::clicked, this, &TRemoteFindForm::Stop);
    for (QLineEdit* edit : {m_folder, m_masks, m_larger, m_smaller}) {
        connect(edit, &QLineEdit::returnPressed, this, &TRemoteFindForm::Find);
    }
    buttons->addWidget(m_find);
    buttons->addWidget(m_stop);
    form->addRow(buttons);
    return criteria;
}

QWidget* TRemoteFindForm::BuildResults() {
    auto* results = new QWidget(this);
    auto* layout = new QVBoxLayout(results);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new QTreeView(results);
    m_view->setObjectName(QStringLiteral("ResultView"));
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setModel(m_model);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(static_cast<int>(TFoundColumn::Folder), Qt::AscendingOrder);
    m_view->header()->resizeSection(0, 200);
    m_view->header()->resizeSection(1, 240);
    m_view->header()->resizeSection(2, 90);
    layout->addWidget(m_view);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TRemoteFindForm::UpdateButtons);
    connect(m_view, &QTreeView::doubleClicked, this, &TRemoteFindForm::GoToSelected);
    return results;
}

void TRemoteFindForm::CreateCommands() {
    const auto command = [this](const QString& text, const char* name, auto handler) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_goTo = command(tr("&Go to Folder"), "GoToFolderAction", &TRemoteFindForm::GoToSelected);
    m_download = command(tr("&Download"), "DownloadAction", &TRemoteFindForm::DownloadSelected);
    m_queue =
        command(tr("Download in &Queue"), "DownloadInQueueAction", &TRemoteFindForm::QueueSelected);
    m_open = command(tr("&Open"), "OpenAction", &TRemoteFindForm::OpenSelected);
    auto* row = new QHBoxLayout;
    for (QAction* action : {m_goTo, m_download, m_queue, m_open}) {
        auto* button = new QPushButton(action->text(), this);
        button->setObjectName(
            action->objectName().replace(QLatin1String("Action"), QLatin1String("Button")));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
        row->addWidget(button);
    }
    row->addStretch();
    auto* close = new QPushButton(tr("&Close"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    row->addWidget(close);
    qobject_cast<QVBoxLayout*>(layout())->insertLayout(2, row);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (SelectedEntries().empty()) {
            return;
        }
        QMenu menu(this);
        menu.addActions({m_goTo, m_open});
        menu.addSeparator();
        menu.addActions({m_download, m_queue});
        menu.exec(m_view->viewport()->mapToGlobal(at));
    });
}

void TRemoteFindForm::SetStartFolder(const std::string& folder) {
    m_folder->setText(QString::fromStdString(folder.empty() ? std::string("/") : folder));
}

TFindFields TRemoteFindForm::Fields() const {
    TFindFields fields;
    fields.Masks = m_masks->text().toStdString();
    fields.Subfolders = m_subfolders->isChecked();
    fields.MaxDepth = m_depth->value();
    fields.LargerThan = m_larger->text().toStdString();
    fields.SmallerThan = m_smaller->text().toStdString();
    // After a day: from its start on; before a day: up to its start.
    if (m_after->isChecked()) {
        fields.NewerThan = m_afterDate->date().startOfDay().toSecsSinceEpoch() - 1;
    }
    if (m_before->isChecked()) {
        fields.OlderThan = m_beforeDate->date().startOfDay().toSecsSinceEpoch();
    }
    fields.TimeZoneOffset = m_setup.TimeZoneOffset;
    return fields;
}

void TRemoteFindForm::SetFields(const TFindFields& fields) {
    m_masks->setText(QString::fromStdString(fields.Masks));
    m_subfolders->setChecked(fields.Subfolders);
    m_depth->setValue(fields.MaxDepth);
    m_larger->setText(QString::fromStdString(fields.LargerThan));
    m_smaller->setText(QString::fromStdString(fields.SmallerThan));
}

QString TRemoteFindForm::ProblemText(TFindFieldProblem problem) const {
    switch (problem) {
    case TFindFieldProblem::BadMasks:
        return tr("The names are not valid masks.");
    case TFindFieldProblem::BadLargerThan:
    case TFindFieldProblem::BadSmallerThan:
        return tr("A size is a number of bytes, or of K, M or G (powers of 1024): 1500, 500K, "
                  "2M.");
    case TFindFieldProblem::NoSizeBetween:
        return tr("No file can be larger than the one size and smaller than the other.");
    case TFindFieldProblem::NoTimeBetween:
        return tr("No entry can be modified after the first day and before the second.");
    case TFindFieldProblem::None:
        break;
    }
    return {};
}

void TRemoteFindForm::Find() {
    if (Searching() || !m_setup.NewClient) {
        return;
    }
    const TFindFieldsResult fields = FindCriteriaOf(Fields());
    if (fields.Problem != TFindFieldProblem::None) {
        QString text = ProblemText(fields.Problem);
        if (!fields.MaskError.empty()) {
            text += QLatin1Char('\n') + QString::fromStdString(fields.MaskError);
        }
        QMessageBox::warning(this, tr("Find Files"), text);
        return;
    }
    std::string top = m_folder->text().trimmed().toStdString();
    if (top.empty() || top.front() != '/') {
        QMessageBox::warning(this, tr("Find Files"),
                             tr("The folder to look in is a path of the server from \"/\" on."));
        return;
    }
    while (top.size() > 1 && top.back() == '/') {
        top.pop_back();
    }
    DropRun();
    m_model->Clear();
    auto session = std::make_unique<TSyncSession>(m_setup.NewClient());
    m_run = std::make_unique<TFindRun>(std::move(session), top, fields.Criteria);
    m_run->OnListing = [this](const std::string&) { ShowProgress(); };
    m_run->OnFound = [this](const std::vector<TFoundEntry>& found) { m_model->Add(found); };
    m_run->OnDone = [this] { Ended(); };
    m_run->Start();
    UpdateButtons();
}

void TRemoteFindForm::Stop() {
    if (!Searching()) {
        return;
    }
    m_run->Stop();
    ShowEnd(true);
    DropRun();
    UpdateButtons();
}

void TRemoteFindForm::Ended() {
    ShowEnd(false);
    DropRun();
    UpdateButtons();
}

// The run goes once control is back in the event loop: its session may be in the middle of
// telling it something.
void TRemoteFindForm::DropRun() {
    if (!m_run) {
        return;
    }
    m_run->OnListing = nullptr;
    m_run->OnFound = nullptr;
    m_run->OnDone = nullptr;
    m_ended = std::move(m_run);
    QTimer::singleShot(0, this, [this] { m_ended.reset(); });
}

void TRemoteFindForm::closeEvent(QCloseEvent* event) {
    Stop();
    m_ended.reset();
    if (m_setup.Store != nullptr) {
        TFindSettings settings;
        settings.Width = width();
        settings.Height = height();
        settings.Fields = Fields();
        settings.SaveToStore(*m_setup.Store);
    }
    QWidget::closeEvent(event);
}

void TRemoteFindForm::ShowProgress() {
    m_status->setText(tr("Searching %1... %2 found in %3 folders")
                          .arg(QString::fromStdString(m_run->CurrentFolder()))
                          .arg(m_run->Found())
                          .arg(m_run->FoldersListed()));
}

void TRemoteFindForm::ShowEnd(bool stopped) {
    QString text = tr("%1 found in %2 folders").arg(m_run->Found()).arg(m_run->FoldersListed());
    if (stopped) {
        text = tr("Stopped: %1").arg(text);
    }
    const std::vector<TFindFailure>& failures = m_run->Failures();
    if (!failures.empty()) {
        text += QLatin1Char('\n') + tr("%n folder(s) could not be listed, first [%1]: %2", nullptr,
                                       static_cast<int>(failures.size()))
                                        .arg(QString::fromStdString(failures.front().Folder),
                                             CoreText(failures.front().Reason));
    }
    if (const std::size_t deep = m_run->FoldersTooDeep(); deep > 0) {
        text += QLatin1Char('\n') + tr("%n folder(s) lie deeper than the levels searched", nullptr,
                                       static_cast<int>(deep));
    }
    m_status->setText(text);
}

QString TRemoteFindForm::StatusText() const {
    return m_status->text();
}

void TRemoteFindForm::UpdateButtons() {
    const bool searching = Searching();
    m_find->setEnabled(!searching);
    m_stop->setEnabled(searching);
    const auto selected = m_view->selectionModel()->selectedRows().size();
    m_goTo->setEnabled(selected == 1);
    m_open->setEnabled(selected == 1);
    m_download->setEnabled(selected > 0);
    m_queue->setEnabled(selected > 0);
}

std::vector<TFoundEntry> TRemoteFindForm::SelectedEntries() const {
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::ranges::sort(rows, {}, &QModelIndex::row);
    std::vector<TFoundEntry> entries;
    entries.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& row : rows) {
        entries.push_back(m_model->Entry(row.row()));
    }
    return entries;
}

void TRemoteFindForm::GoToSelected() {
    const auto entries = SelectedEntries();
    if (entries.size() == 1 && m_setup.GoTo && !m_setup.GoTo(entries.front())) {
        TellBusy();
    }
}

void TRemoteFindForm::DownloadSelected() {
    const auto entries = SelectedEntries();
    if (!entries.empty() && m_setup.Download && !m_setup.Download(entries)) {
        TellBusy();
    }
}

void TRemoteFindForm::QueueSelected() {
    const auto entries = SelectedEntries();
    if (!entries.empty() && m_setup.DownloadInQueue) {
        m_setup.DownloadInQueue(entries);
    }
}

void TRemoteFindForm::OpenSelected() {
    const auto entries = SelectedEntries();
    if (entries.size() == 1 && m_setup.Open && !m_setup.Open(entries.front())) {
        TellBusy();
    }
}

void TRemoteFindForm::TellBusy() {
    QMessageBox::information(this, tr("Find Files"),
                             tr("The explorer is busy with another command; try again when it "
                                "has ended, or use Download in Queue."));
}

} // namespace qx
