// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CommandTable.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace qx {

class TActionList;
class TExplorerShell;

// What an explorer's view commands need of it.
struct TExplorerViewSpec {
    // The list is arranged by the first this many of name, type, size, date and permission.
    int ArrangeColumns = 4;
    // The title of the Arrange Icons menu, with its access key where the View menu has room.
    const char* ArrangeTitle = QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Arrange Icons");
    std::function<int()> SortColumn; // 1-based, negative: descending
    std::function<void(int column)> ArrangeBy;
};

// An explorer's menus and toolbars as tables.
struct TExplorerMenus {
    std::span<const TMenuBarEntry> MenuBar;
    TMenuItems ListPopup;      // over the list with a selection
    TMenuItems ListPopupEmpty; // over the list without one
    TMenuItems TreePopup;
    std::array<TMenuItems, 4> Toolbars; // File, Edit, View, Tool
};

// The pop-up menus made from the tables.
struct TExplorerPopups {
    QMenu* List = nullptr;
    QMenu* ListEmpty = nullptr;
    QMenu* Tree = nullptr;
};

// The commands both explorers show their file list and toolbars with: the four view styles
// (the group ViewStyleActions) with the toolbar's style button and its menu
// (ViewStylePopupMenu), Arrange Icons by column (ViewArrangeIconsMenu), and the toggles of the
// four dock toolbars (File, Edit, View, Tool; ViewToolbarMenu), kept checked as things are.
// The window's menu tables name these; the toolbars are the window's dock toolbars.
class TExplorerViewCommands final : public QObject {
    Q_OBJECT
public:
    TExplorerViewCommands(QMainWindow& window, TActionList& actions, TExplorerShell& shell,
                          TExplorerViewSpec spec);

    QToolBar* Toolbar(int bar) const { return m_toolbars[static_cast<std::size_t>(bar)]; }
    // Fills the menu bar and the toolbars from the tables and makes the pop-up menus.
    TExplorerPopups FillMenus(QMenuBar& bar, const TExplorerMenus& menus);
    // The menu of a right click on the docks.
    QMenu* NewToolbarMenu() const;

private:
    void UpdateChecks();

    QMainWindow& m_window;
    TExplorerShell& m_shell;
    TExplorerViewSpec m_spec;
    std::array<QToolBar*, 4> m_toolbars{};
    std::array<QAction*, 4> m_toolbarToggles{};
    std::array<QAction*, 4> m_styles{};
    std::array<QAction*, 5> m_arrange{};
    std::array<int, 5> m_arrangeImage{}; // the image shown: 0 none, else the sort image
    QAction* m_styleButton = nullptr;
    int m_shownStyle = -1;
};

} // namespace qx
