// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/CommandTable.h"

#include "widgets/DockToolbars.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

namespace qx {

namespace {

// The names of a table's items; "-" stands for a separator.
std::vector<std::string> ItemNames(TMenuItems items) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < items.size();) {
        const std::size_t end = std::min(items.find(' ', at), items.size());
        if (end > at) {
            names.emplace_back(items.substr(at, end - at));
        }
        at = end + 1;
    }
    return names;
}

constexpr std::string_view kSeparator = "-";

QString Translated(const QObject& window, const char* text) {
    return QCoreApplication::translate(window.metaObject()->className(), text);
}

QMenu* FindMenu(const QWidget& window, const char* name) {
    return window.findChild<QMenu*>(QString::fromLatin1(name));
}

QActionGroup* FindGroup(const QWidget& window, const char* name) {
    return window.findChild<QActionGroup*>(QString::fromLatin1(name));
}

} // namespace

QAction* AddCommand(TActionList& list, const QObject& window, const TCommandLooks& looks,
                    TActionList::Execute execute, TActionList::Update update) {
    const TActionSpec spec{Translated(window, looks.Caption), Translated(window, looks.Hint),
                           looks.Key != 0 ? QKeySequence(looks.Key) : QKeySequence(), looks.Image};
    QAction* action = list.Add(spec, std::move(execute), std::move(update));
    action->setObjectName(QString::fromLatin1(looks.Name));
    action->setCheckable(looks.Checkable);
    if (looks.Image < 0 && looks.ThemeIcon != nullptr) {
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(looks.ThemeIcon)));
    }
    return action;
}

QAction* FindCommand(const QWidget& window, const char* name) {
    const auto* list = window.findChild<TActionList*>(QString(), Qt::FindDirectChildrenOnly);
    return list != nullptr ? list->Find(QString::fromLatin1(name)) : nullptr;
}

namespace {

// The items in order into a menu or a toolbar (QMenu and QToolBar share these calls); a
// submenu goes to addSubmenu.
template <typename Target, typename AddSubmenu>
void FillItems(Target& target, const QWidget& window, TMenuItems items, AddSubmenu addSubmenu) {
    for (const std::string& item : ItemNames(items)) {
        const char* name = item.c_str();
        if (item == kSeparator) {
            target.addSeparator();
        } else if (QAction* action = FindCommand(window, name)) {
            target.addAction(action);
        } else if (QActionGroup* group = FindGroup(window, name)) {
            target.addActions(group->actions());
        } else if (QMenu* submenu = FindMenu(window, name)) {
            addSubmenu(submenu);
        }
    }
}

} // namespace

void FillMenu(QMenu& menu, const QWidget& window, TMenuItems items) {
    FillItems(menu, window, items, [&menu](QMenu* submenu) { menu.addMenu(submenu); });
}

void FillToolbar(QToolBar& bar, const QWidget& window, TMenuItems items) {
    FillItems(bar, window, items, [&bar](QMenu* menu) {
        if (QAction* command = menu->defaultAction()) {
            AddMenuButton(bar, command, menu, QToolButton::MenuButtonPopup);
            return;
        }
        QToolButton* button = AddMenuButton(bar, nullptr, menu, QToolButton::InstantPopup);
        button->setIcon(menu->icon());
        button->setToolTip(menu->title().remove(QLatin1Char('&')));
    });
}

void FillMenuBar(QMenuBar& bar, const QWidget& window, std::span<const TMenuBarEntry> menus) {
    for (const TMenuBarEntry& entry : menus) {
        FillMenu(*bar.addMenu(Translated(window, entry.Title)), window, entry.Items);
    }
}

QMenu* NewPopupMenu(QWidget& window, const char* name, TMenuItems items) {
    auto* menu = new QMenu(&window);
    menu->setObjectName(QString::fromLatin1(name));
    FillMenu(*menu, window, items);
    return menu;
}

} // namespace qx
