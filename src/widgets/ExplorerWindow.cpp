// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ExplorerWindow.h"

#include "widgets/ActionList.h"
#include "widgets/CommandTable.h"

#include <QMenu>

namespace qx {

TExplorerWindow::TExplorerWindow(QWidget* parent, int helpContext)
    : QMainWindow(parent, Qt::Window) {
    setProperty("helpContext", helpContext);
}

QAction* TExplorerWindow::Action(const char* name) const {
    return FindCommand(*this, name);
}

void TExplorerWindow::AddViewCommands(TExplorerViewSpec spec) {
    m_viewCommands = new TExplorerViewCommands(*this, *m_actions, *m_shell, std::move(spec));
}

void TExplorerWindow::FillMenus(QMenuBar& bar, const TExplorerMenus& menus) {
    m_popups = m_viewCommands->FillMenus(bar, menus);
}

QMenu* TExplorerWindow::createPopupMenu() {
    m_actions->UpdateAll();
    return m_viewCommands->NewToolbarMenu();
}

} // namespace qx
