// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ExplorerShell.h"

#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qx {

namespace {

TTitlePanel* NewTitlePanel(const QString& text, const char* name, QWidget* parent) {
    auto* panel = new TTitlePanel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->SetApplicationText(text);
    panel->setFixedHeight(18);
    panel->setCursor(Qt::PointingHandCursor);
    return panel;
}

QVBoxLayout* NewPaneLayout(QWidget* panel, int spacing) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

TExplorerShell::TExplorerShell(QMainWindow& window, const TExplorerShellSpec& spec)
    : QObject(&window), m_window(window), m_treeActive(spec.TreeActiveAtStart) {
    m_clientSplitter = new QSplitter(Qt::Horizontal, &window);
    m_clientSplitter->setObjectName(QStringLiteral("ClientPanelDivider"));
    m_clientSplitter->setHandleWidth(3);
    auto* treePanel = new QWidget(m_clientSplitter);
    treePanel->setObjectName(QStringLiteral("FolderTreePanel"));
    BuildTreePane(treePanel, spec);
    QWidget* listParent = m_clientSplitter;
    if (spec.BottomHeight > 0) {
        m_rightSplitter = new QSplitter(Qt::Vertical, m_clientSplitter);
        m_rightSplitter->setObjectName(QStringLiteral("RightPanelDivider"));
        listParent = m_rightSplitter;
    }
    auto* listPanel = new QWidget(listParent);
    listPanel->setObjectName(QStringLiteral("FileListPanel"));
    BuildListPane(listPanel, spec);
    if (m_rightSplitter != nullptr) {
        m_bottomPanel = new QWidget(m_rightSplitter);
        m_bottomPanel->setObjectName(QStringLiteral("LogPanel"));
        NewPaneLayout(m_bottomPanel, 6);
        m_rightSplitter->setStretchFactor(0, 1);
        m_rightSplitter->setSizes({spec.ListHeight, spec.BottomHeight});
    }
    m_clientSplitter->setStretchFactor(1, 1);
    m_clientSplitter->setSizes({spec.TreeWidth, spec.ListWidth});
    window.setCentralWidget(m_clientSplitter);
    ConnectPanes();
}

void TExplorerShell::AddBarAboveList(QWidget* bar) {
    auto* layout = qobject_cast<QVBoxLayout*>(m_listTitle->parentWidget()->layout());
    bar->setParent(m_listTitle->parentWidget());
    layout->insertWidget(layout->indexOf(m_listTitle) + 1, bar);
}

void TExplorerShell::BuildTreePane(QWidget* panel, const TExplorerShellSpec& spec) {
    QVBoxLayout* layout = NewPaneLayout(panel, 2);
    m_treeTitle = NewTitlePanel(tr("Folder Tree"), "FolderTreeGradPanel", panel);
    m_folderCombo = new QComboBox(panel);
    m_folderCombo->setObjectName(QStringLiteral("FolderCombo"));
    m_folderCombo->setMaxVisibleItems(10);
    m_treeView = new TExplorerTreeView(panel);
    m_treeView->setObjectName(QStringLiteral("FolderTreeView"));
    m_treeView->setHeaderHidden(true);
    m_treeView->setRootIsDecorated(spec.TreeRootDecorated);
    m_treeView->setUniformRowHeights(true);
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    EnableDragAndDrop(*m_treeView);
    layout->addWidget(m_treeTitle);
    layout->addWidget(m_folderCombo);
    layout->addWidget(m_treeView);
}

void TExplorerShell::BuildListPane(QWidget* panel, const TExplorerShellSpec& spec) {
    QVBoxLayout* layout = NewPaneLayout(panel, 2);
    m_listTitle = NewTitlePanel(tr("File List"), "FileListGradPanel", panel);
    m_detailsView = new TExplorerTreeView(panel);
    m_detailsView->setObjectName(QStringLiteral("FileListView"));
    m_detailsView->setRootIsDecorated(false);
    m_detailsView->setItemsExpandable(false);
    m_detailsView->setUniformRowHeights(true); // fast with 100,000 rows
    m_detailsView->setAllColumnsShowFocus(true);
    m_detailsView->header()->setSectionsClickable(true);
    m_iconView = new TExplorerIconView(panel);
    m_iconView->setObjectName(QStringLiteral("FileListIconView"));
    SetupFileListView(*m_detailsView);
    SetupFileListView(*m_iconView);
    m_listViews = new QStackedWidget(panel);
    m_listViews->addWidget(m_iconView);
    m_listViews->addWidget(m_detailsView);
    layout->addWidget(m_listTitle);
    layout->addWidget(m_listViews);
    if (!spec.FileStatus.empty()) {
        auto* bar = new QWidget(panel);
        auto* barLayout = new QHBoxLayout(bar);
        barLayout->setContentsMargins(4, 0, 4, 0);
        for (const int width : spec.FileStatus) {
            auto* label = new QLabel(bar);
            label->setFrameShape(QFrame::StyledPanel);
            label->setMinimumWidth(width);
            barLayout->addWidget(label);
            m_fileStatus.push_back(label);
        }
        barLayout->addStretch();
        layout->addWidget(bar);
    }
}

void TExplorerShell::ConnectPanes() {
    for (QAbstractItemView* view : Views()) {
        view->installEventFilter(this);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            if (view == m_treeView) {
                if (OnTreeMenu) {
                    OnTreeMenu(at);
                }
            } else if (OnListMenu) {
                OnListMenu(view, at);
            }
        });
    }
    connect(m_detailsView->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { Q_EMIT ColumnClicked(section + 1); });
    connect(m_treeTitle, &TTitlePanel::Clicked, this, [this] { m_treeView->setFocus(); });
    connect(m_listTitle, &TTitlePanel::Clicked, this, [this] { ListView()->setFocus(); });
    connect(m_listTitle, &TTitlePanel::DoubleClicked, this, [this] {
        if (OnListTitleDoubleClick) {
            OnListTitleDoubleClick();
        }
    });
}

void TExplorerShell::SetModels(QAbstractItemModel* tree, QAbstractItemModel* list) {
    m_treeView->setModel(tree);
    m_detailsView->setModel(list);
    m_iconView->setModel(list);
    m_iconView->setSelectionModel(m_detailsView->selectionModel()); // one selection
    SetViewStyle(vsList);
}

void TExplorerShell::WatchViews(QObject& filter) {
    for (QAbstractItemView* view : Views()) {
        view->installEventFilter(&filter);
        view->viewport()->installEventFilter(&filter);
    }
}

void TExplorerShell::ApplyPlace(const TExplorerPlace& place) {
    QRect rect = m_window.geometry();
    if (place.Left) {
        rect.moveLeft(*place.Left);
    }
    if (place.Top) {
        rect.moveTop(*place.Top);
    }
    if (place.Width && *place.Width > 100) {
        rect.setWidth(*place.Width);
    }
    if (place.Height && *place.Height > 100) {
        rect.setHeight(*place.Height);
    }
    m_window.setGeometry(rect);
    if (place.TreeWidth && *place.TreeWidth > 20) {
        m_clientSplitter->setSizes(
            {*place.TreeWidth, std::max(100, rect.width() - *place.TreeWidth)});
    }
    if (m_rightSplitter != nullptr && place.BottomHeight && *place.BottomHeight >= 0) {
        m_rightSplitter->setSizes(
            {std::max(50, rect.height() - *place.BottomHeight), *place.BottomHeight});
    }
}

TExplorerPlace TExplorerShell::Place() const {
    const QRect rect = m_window.geometry();
    TExplorerPlace place{
        rect.left(), rect.top(), rect.width(), rect.height(), m_clientSplitter->sizes().value(0),
        std::nullopt};
    if (m_rightSplitter != nullptr) {
        place.BottomHeight = m_rightSplitter->sizes().value(1);
    }
    return place;
}

QAbstractItemView* TExplorerShell::ListView() const {
    return m_viewStyle == vsReport ? static_cast<QAbstractItemView*>(m_detailsView)
                                   : static_cast<QAbstractItemView*>(m_iconView);
}

std::array<QAbstractItemView*, 3> TExplorerShell::Views() const {
    return {m_treeView, m_detailsView, m_iconView};
}

bool TExplorerShell::IsListView(const QObject* object) const {
    return object == m_detailsView || object == m_iconView;
}

QLabel* TExplorerShell::FileStatus(int panel) const {
    return panel >= 0 && panel < FileStatusCount() ? m_fileStatus[static_cast<std::size_t>(panel)]
                                                   : nullptr;
}

void TExplorerShell::SetViewStyle(int style) {
    if (style < vsIcon || style > vsReport) {
        style = vsList;
    }
    m_viewStyle = style;
    const bool hadFocus = m_listViews->currentWidget()->hasFocus();
    if (style == vsReport) {
        m_listViews->setCurrentWidget(m_detailsView);
        ShowSortColumn(m_sortColumn);
    } else {
        // A new style resets the icon view's drag and drop, which the fitting sets again.
        FitNameWidth();
        m_listViews->setCurrentWidget(m_iconView);
    }
    if (hadFocus) {
        ListView()->setFocus();
    }
}

void TExplorerShell::FitNameWidth() {
    if (m_viewStyle == vsReport) {
        return;
    }
    ApplyIconViewStyle(*m_iconView, m_viewStyle, m_widest ? m_widest(m_iconView->font()) : 0);
}

void TExplorerShell::ShowSortColumn(int sortColumn) {
    m_sortColumn = sortColumn;
    if (sortColumn == 0) {
        return;
    }
    QHeaderView* header = m_detailsView->header();
    header->setSortIndicatorShown(false);
    header->setSortIndicator(std::abs(sortColumn) - 1,
                             sortColumn < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
}

void TExplorerShell::ActivatePane(bool tree) {
    if (tree) {
        m_treeView->setFocus();
    } else {
        ListView()->setFocus();
    }
    SetActivePane(tree);
}

void TExplorerShell::SetActivePane(bool tree) {
    m_treeActive = tree;
    m_listActive = !tree;
    UpdateTitleColours();
}

void TExplorerShell::SetTitleColour(const QColor& colour) {
    m_titleColour = colour;
    UpdateTitleColours();
}

void TExplorerShell::UpdateTitleColours() {
    const QColor inactive = QApplication::palette().color(QPalette::Inactive, QPalette::Dark);
    const bool tree = m_treeActive || !m_listActive;
    m_treeTitle->SetColours(Qt::black, tree ? m_titleColour : inactive);
    m_listTitle->SetColours(Qt::black, tree ? inactive : m_titleColour);
}

bool TExplorerShell::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_treeView) {
            SetActivePane(true);
        } else if (IsListView(watched)) {
            SetActivePane(false);
        }
    }
    return QObject::eventFilter(watched, event);
}

QModelIndexList TExplorerShell::SelectedRows() const {
    QModelIndexList rows = m_detailsView->selectionModel()->selectedRows(0);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return rows;
}

int TExplorerShell::SelectedCount() const {
    return static_cast<int>(m_detailsView->selectionModel()->selectedRows(0).size());
}

void TExplorerShell::SelectRows(const QModelIndexList& rows) {
    QItemSelection selection;
    for (const QModelIndex& row : rows) {
        selection.select(row, row);
    }
    QItemSelectionModel* model = m_detailsView->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!rows.isEmpty()) {
        model->setCurrentIndex(rows.front(), QItemSelectionModel::NoUpdate);
        ListView()->scrollTo(rows.front());
    }
}

void TExplorerShell::SelectAll(bool invert) {
    QAbstractItemModel* model = m_detailsView->model();
    const int rows = model != nullptr ? model->rowCount() : 0;
    if (rows > 0) {
        const QItemSelection all(model->index(0, 0), model->index(rows - 1, 0));
        m_detailsView->selectionModel()->select(
            all, (invert ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect) |
                     QItemSelectionModel::Rows);
    }
}

} // namespace qx
