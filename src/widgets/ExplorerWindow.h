// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/ExplorerViewCommands.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QMenuBar;

namespace qx {

class TActionList;
class TExplorerShell;

// The window both explorers are: the shell of their panes, their command list, the view
// commands with the dock toolbars, and the pop-up menus made from their tables. The explorer
// builds the shell and the list; the window adds what is the same in both on top of them.
class TExplorerWindow : public QMainWindow {
    Q_OBJECT
public:
    TExplorerWindow(QWidget* parent, int helpContext);

    // The command of that object name; none when there is none.
    QAction* Action(const char* name) const;

protected:
    // Makes the view commands over the shell and the command list.
    void AddViewCommands(TExplorerViewSpec spec);
    // Fills the menu bar and the toolbars from the tables and makes the pop-up menus.
    void FillMenus(QMenuBar& bar, const TExplorerMenus& menus);
    // The toggles of the dock toolbars, checked as things are.
    QMenu* createPopupMenu() override;

    TActionList* m_actions = nullptr;
    TExplorerShell* m_shell = nullptr;
    TExplorerViewCommands* m_viewCommands = nullptr;
    TExplorerPopups m_popups;
};

} // namespace qx
