// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace qx {

// What a command of a window is: caption with its access key ("&Connect"), hint with the
// tooltip before "|" and the status-bar text after it, shortcut and image index in the shared
// action image list (-1: none).
struct TActionSpec {
    QString Caption;
    QString Hint;
    QKeySequence Shortcut;
    int ImageIndex = -1;
};

// The commands of one window. Each has an Execute handler and, usually, an Update handler that
// enables, checks or hides it; Update handlers run whenever the application goes idle. A
// command triggered while its Update rule says disabled (a key press or a double click that
// came before the next idle moment) does nothing.
class TActionList final : public QObject {
    Q_OBJECT
public:
    using Execute = std::function<void()>;
    using Update = std::function<void(QAction&)>;

    // The actions belong to the owner window and work while it (or a child) has focus.
    explicit TActionList(QWidget* owner);

    QAction* Add(const TActionSpec& spec, Execute execute, Update update = {});
    // The command of that object name; none when the list has none.
    QAction* Find(QStringView name) const;
    // Runs every Update handler now.
    void UpdateAll();
    // Runs the command as a key press would: only when its Update rule lets it.
    static bool Run(QAction* action);

private:
    struct Entry {
        QAction* action;
        Update update;
    };
    QWidget* m_owner;
    std::vector<Entry> m_entries;
};

// Splits "Tooltip|Status text"; without "|" both are the whole hint.
QString HintTooltip(const QString& hint);
QString HintStatusText(const QString& hint);

} // namespace qx
