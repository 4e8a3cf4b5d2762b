#include "widgets/CommandTable.h"

#include "widgets/DockToolbars.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

#include <cstring>

namespace qx {

namespace {

QString Translated(const QObject& window, const char* text) {
    return QCoreApplication::translate(window.metaObject()->className(), text);
}

QMenu* FindMenu(const QWidget& window, const char* name) {
    return window.findChild<QMenu*>(QString::fromLatin1(name));
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

void FillMenu(QMenu& menu, const QWidget& window, TMenuItems items) {
    for (const char* name : items) {
        if (std::strcmp(name, kSeparator) == 0) {
            menu.addSeparator();
        } else if (QAction* action = FindCommand(window, name)) {
            menu.addAction(action);
        } else if (QMenu* submenu = FindMenu(window, name)) {
            menu.addMenu(submenu);
        }
    }
}

void FillToolbar(QToolBar& bar, const QWidget& window, TMenuItems items) {
    for (const char* name : items) {
        if (std::strcmp(name, kSeparator) == 0) {
            bar.addSeparator();
        } else if (QAction* action = FindCommand(window, name)) {
            bar.addAction(action);
        } else if (QMenu* menu = FindMenu(window, name)) {
            QToolButton* button = AddMenuButton(bar, nullptr, menu, QToolButton::InstantPopup);
            button->setIcon(menu->icon());
            button->setToolTip(menu->title().remove(QLatin1Char('&')));
        }
    }
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
