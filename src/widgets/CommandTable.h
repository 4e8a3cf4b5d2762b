// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/ActionList.h"

#include <QObject>

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace qx {

// A key with its modifiers as a command table holds it.
constexpr int Ctrl(Qt::Key key) {
    return (Qt::CTRL | key).toCombined();
}

// One command of a window as a line of its table: the action's object name, its caption with
// the access key, its hint ("Tooltip|Status text"), its shortcut (0: none), its image in the
// shared action images (-1: the icon theme's image of that name, or none), the window's
// handler, the rule that enables it (none: always enabled) and whether it is checked on and
// off. Captions and hints are translated in the window's context.
template <class Owner, class Rule> struct TCommand {
    const char* Name;
    const char* Caption;
    const char* Hint;
    int Key = 0;
    int Image = -1;
    void (Owner::*Execute)() = nullptr;
    std::optional<Rule> EnabledWhen = std::nullopt;
    const char* ThemeIcon = nullptr;
    bool Checkable = false;
};

// The part of a command that is no template: its looks.
struct TCommandLooks {
    const char* Name;
    const char* Caption;
    const char* Hint;
    int Key;
    int Image;
    const char* ThemeIcon;
    bool Checkable;
};

// Adds one command to the list, its texts translated in the context of WINDOW's class (the
// window, or the object that shares the commands among windows).
QAction* AddCommand(TActionList& list, const QObject& window, const TCommandLooks& looks,
                    TActionList::Execute execute, TActionList::Update update);

// Adds the commands of a table (an array of TCommand<Owner, Rule>); enabled(rule) tells whether
// a rule holds now.
template <class Owner, class Rows, class Enabled>
void AddCommands(TActionList& list, Owner& owner, const Rows& rows, Enabled enabled) {
    for (const auto& row : rows) {
        TActionList::Execute execute;
        if (row.Execute != nullptr) {
            execute = [&owner, handler = row.Execute] { (owner.*handler)(); };
        }
        TActionList::Update update;
        if (row.EnabledWhen) {
            update = [enabled, rule = *row.EnabledWhen](QAction& action) {
                action.setEnabled(enabled(rule));
            };
        }
        AddCommand(
            list, owner,
            {row.Name, row.Caption, row.Hint, row.Key, row.Image, row.ThemeIcon, row.Checkable},
            std::move(execute), std::move(update));
    }
}

// A menu or a toolbar as a table: the object names of the window's actions in order, apart by
// blanks. "-" is a separator, the name of an action group puts in its actions, and the name of a
// menu of the window puts that menu in: in a menu as a submenu, on a toolbar as a button that drops
// it down, with the menu's icon or, when the menu has a default action, as that action's button
// with the menu beside it.
using TMenuItems = std::string_view;

// One menu of a menu bar: its title and items.
struct TMenuBarEntry {
    const char* Title;
    TMenuItems Items;
};

// The command of that object name in the window's action list; none when it has none.
QAction* FindCommand(const QWidget& window, const char* name);
void FillMenu(QMenu& menu, const QWidget& window, TMenuItems items);
void FillToolbar(QToolBar& bar, const QWidget& window, TMenuItems items);
// Adds the menus to the bar, their titles translated in the window's context.
void FillMenuBar(QMenuBar& bar, const QWidget& window, std::span<const TMenuBarEntry> menus);
// A pop-up menu of the window with that object name.
QMenu* NewPopupMenu(QWidget& window, const char* name, TMenuItems items);

} // namespace qx
