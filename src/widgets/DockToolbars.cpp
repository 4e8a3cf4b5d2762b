// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/DockToolbars.h"

#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

namespace qx {

std::array<QToolBar*, 4> AddDockToolbars(QMainWindow& window,
                                         const std::array<TToolbarName, 4>& names) {
    std::array<QToolBar*, 4> bars{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        bars[index] = window.addToolBar(names[index].Title);
        bars[index]->setObjectName(QString::fromLatin1(names[index].ObjectName));
        bars[index]->setIconSize(QSize(16, 16));
    }
    return bars;
}

QToolButton* AddMenuButton(QToolBar& bar, QAction* action, QMenu* menu,
                           QToolButton::ToolButtonPopupMode mode) {
    auto* button = new QToolButton(&bar);
    if (action != nullptr) {
        button->setDefaultAction(action);
    }
    button->setMenu(menu);
    button->setPopupMode(mode);
    bar.addWidget(button);
    return button;
}

QMenu* ToolbarPopupMenu(QWidget& owner, std::span<QAction* const> toggles) {
    auto* menu = new QMenu(&owner);
    menu->setObjectName(QStringLiteral("ToolbarPopupMenu"));
    for (QAction* toggle : toggles) {
        menu->addAction(toggle);
    }
    return menu;
}

} // namespace qx
