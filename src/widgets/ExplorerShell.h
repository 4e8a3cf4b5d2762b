// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/ExplorerViews.h"
#include "widgets/FileListViews.h"

#include <QColor>
#include <QModelIndexList>
#include <QObject>

#include <array>
#include <functional>
#include <optional>
#include <span>

class QAbstractItemModel;
class QAbstractItemView;
class QComboBox;
class QLabel;
class QMainWindow;
class QSplitter;
class QStackedWidget;

namespace qx {

class TTitlePanel;

// How an explorer wants its panes.
struct TExplorerShellSpec {
    int TreeWidth = 169; // the first widths of the folder tree and the right side
    int ListWidth = 394;
    bool TreeRootDecorated = true;   // an expander before the tree's top nodes
    std::span<const int> FileStatus; // the widths of the panels under the file list; none
    int BottomHeight = 0;            // a panel under the file list (the log) this high; 0: none
    int ListHeight = 0;              // the file list's first height above that panel
    bool TreeActiveAtStart = false;  // the pane the commands work on before either has focus
};

// A window's place as the settings keep it; what is missing stays as it is.
struct TExplorerPlace {
    std::optional<int> Left;
    std::optional<int> Top;
    std::optional<int> Width;
    std::optional<int> Height;
    std::optional<int> TreeWidth;
    std::optional<int> BottomHeight;
};

// The frame both explorers share: the folder tree with its title and folder combo on the
// left, the file list on the right with its title, its two views over one model and one
// selection (details, and the icon view for the other styles) and its status panels, and
// below it an optional panel (the log). It keeps the view style, the pane the commands work
// on with the titles' colours, the sort mark, and whole-row selection in every style. The
// window owns the models and the commands; the shell tells it of menus asked for, columns
// clicked and the filter title double-clicked.
class TExplorerShell final : public QObject {
    Q_OBJECT
public:
    TExplorerShell(QMainWindow& window, const TExplorerShellSpec& spec);

    void SetModels(QAbstractItemModel* tree, QAbstractItemModel* list);
    // Sends the events of the three views and their viewports to the window's filter too.
    void WatchViews(QObject& filter);

    // Puts the window where the settings say: a width or height of 100 or less, a tree of 20
    // or less and a negative bottom panel are left as they are.
    void ApplyPlace(const TExplorerPlace& place);
    TExplorerPlace Place() const;

    // --- The panes ---
    QSplitter& ClientSplitter() const { return *m_clientSplitter; }
    QSplitter* RightSplitter() const { return m_rightSplitter; }
    TTitlePanel& TreeTitle() const { return *m_treeTitle; }
    TTitlePanel& ListTitle() const { return *m_listTitle; }
    // Puts a bar between the list's title and the list, in the list pane's keeping.
    void AddBarAboveList(QWidget* bar);
    QComboBox& FolderCombo() const { return *m_folderCombo; }
    TExplorerTreeView& TreeView() const { return *m_treeView; }
    TExplorerTreeView& DetailsView() const { return *m_detailsView; }
    TExplorerIconView& IconView() const { return *m_iconView; }
    // The view of the file list in the current style.
    QAbstractItemView* ListView() const;
    std::array<QAbstractItemView*, 3> Views() const; // tree, details, icons
    bool IsListView(const QObject* object) const;
    QWidget* BottomPanel() const { return m_bottomPanel; }
    QLabel* FileStatus(int panel) const;
    int FileStatusCount() const { return static_cast<int>(m_fileStatus.size()); }

    // --- View style, names and sorting ---
    // Puts the list in a style (an unknown one is the list style); the focus stays with it.
    void SetViewStyle(int style);
    int ViewStyle() const { return m_viewStyle; }
    // How wide the widest name of the list is in that font: the icon view's items take it.
    void SetNameWidth(std::function<int(const QFont&)> widest) { m_widest = std::move(widest); }
    // The names changed: the icon view's items take the new widest name.
    void FitNameWidth();
    // The sort column (1-based; negative: descending) as the details header shows it.
    void ShowSortColumn(int sortColumn);

    // --- The pane the commands work on ---
    void ActivatePane(bool tree);
    void SetActivePane(bool tree);
    bool TreeActive() const { return m_treeActive; }
    bool ListActive() const { return m_listActive; }
    // The active pane's title ends in this colour, the other in that of an inactive caption.
    void SetTitleColour(const QColor& colour);

    // --- Selection: whole rows, in every style ---
    QModelIndexList SelectedRows() const; // in row order
    int SelectedCount() const;
    // Selects exactly these rows; the first becomes current and is scrolled to.
    void SelectRows(const QModelIndexList& rows);
    void SelectAll(bool invert);

    // What the window does when a menu is asked for over a pane, and on a double click on the
    // file list's title.
    std::function<void(const QPoint& at)> OnTreeMenu;
    std::function<void(QAbstractItemView* view, const QPoint& at)> OnListMenu;
    std::function<void()> OnListTitleDoubleClick;

Q_SIGNALS:
    // A column header of the details view was clicked (1-based).
    void ColumnClicked(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTreePane(QWidget* panel, const TExplorerShellSpec& spec);
    void BuildListPane(QWidget* panel, const TExplorerShellSpec& spec);
    void ConnectPanes();
    void UpdateTitleColours();

    QMainWindow& m_window;
    QSplitter* m_clientSplitter = nullptr;
    QSplitter* m_rightSplitter = nullptr;
    TTitlePanel* m_treeTitle = nullptr;
    TTitlePanel* m_listTitle = nullptr;
    QComboBox* m_folderCombo = nullptr;
    TExplorerTreeView* m_treeView = nullptr;
    TExplorerTreeView* m_detailsView = nullptr;
    TExplorerIconView* m_iconView = nullptr;
    QStackedWidget* m_listViews = nullptr;
    QWidget* m_bottomPanel = nullptr;
    std::vector<QLabel*> m_fileStatus;
    std::function<int(const QFont&)> m_widest;
    int m_viewStyle = vsList;
    int m_sortColumn = 0;
    bool m_treeActive = false;
    bool m_listActive = false;
    QColor m_titleColour;
};

} // namespace qx
