// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

#include <array>
#include <span>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace qx {

// One dockable toolbar of a window: its object name (the key of its place in the settings) and
// its title, translated.
struct TToolbarName {
    const char* ObjectName;
    QString Title;
};

// Adds the window's dockable toolbars, small icons each, in the order given.
std::array<QToolBar*, 4> AddDockToolbars(QMainWindow& window,
                                         const std::array<TToolbarName, 4>& names);

// A button on the toolbar with a menu dropping down from it (and the action, when given).
QToolButton* AddMenuButton(QToolBar& bar, QAction* action, QMenu* menu,
                           QToolButton::ToolButtonPopupMode mode);

// The menu of a right click on the docks: the toggles of the toolbars.
QMenu* ToolbarPopupMenu(QWidget& owner, std::span<QAction* const> toggles);

} // namespace qx
