// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ActionList.h"

#include "widgets/MainDataModule.h"

#include <QAbstractEventDispatcher>
#include <QWidget>

namespace qx {

QString HintTooltip(const QString& hint) {
    const auto bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString HintStatusText(const QString& hint) {
    const auto bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

TActionList::TActionList(QWidget* owner) : QObject(owner), m_owner(owner) {
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TActionList::UpdateAll);
    }
}

QAction* TActionList::Add(const TActionSpec& spec, Execute execute, Update update) {
    auto* action = new QAction(spec.Caption, m_owner);
    action->setToolTip(HintTooltip(spec.Hint));
    action->setStatusTip(HintStatusText(spec.Hint));
    if (!spec.Shortcut.isEmpty()) {
        action->setShortcut(spec.Shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    if (spec.ImageIndex >= 0) {
        action->setIcon(TMainDataModule::ActionIcon(spec.ImageIndex));
    }
    m_owner->addAction(action);
    m_entries.push_back({action, std::move(update)});
    connect(action, &QAction::triggered, this, [this, action, execute = std::move(execute)] {
        // Bring the rule up to date first: the trigger may have come before the idle moment.
        for (Entry& entry : m_entries) {
            if (entry.action == action && entry.update) {
                entry.update(*action);
            }
        }
        if (action->isEnabled() && action->isVisible() && execute) {
            execute();
        }
    });
    if (const Update& initial = m_entries.back().update) {
        initial(*action);
    }
    return action;
}

QAction* TActionList::Find(QStringView name) const {
    for (const Entry& entry : m_entries) {
        if (entry.action->objectName() == name) {
            return entry.action;
        }
    }
    return nullptr;
}

void TActionList::UpdateAll() {
    for (Entry& entry : m_entries) {
        if (entry.update) {
            entry.update(*entry.action);
        }
    }
}

bool TActionList::Run(QAction* action) {
    if (action == nullptr) {
        return false;
    }
    // A disabled action ignores triggers before its handler runs: bring its rule up to date
    // first, as the next idle moment would.
    if (auto* list = action->parent() != nullptr ? action->parent()->findChild<TActionList*>(
                                                       QString(), Qt::FindDirectChildrenOnly)
                                                 : nullptr) {
        list->UpdateAll();
    }
    action->trigger();
    return action->isEnabled();
}

} // namespace qx
