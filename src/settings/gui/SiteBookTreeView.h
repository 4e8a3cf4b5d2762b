// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

namespace qx {

// The site book's tree. A right press on a node other than the selected one makes it the drop
// target: it is highlighted in place of the selection, which does not move, and the commands
// then act on it. A right press on the selected node, or beside the nodes, clears it.
class TSiteBookTreeView final : public QTreeView {
    Q_OBJECT
public:
    explicit TSiteBookTreeView(QWidget* parent = nullptr);

    QModelIndex DropTarget() const { return m_dropTarget; }
    void SetDropTarget(const QModelIndex& index);
    void ClearDropTarget() { SetDropTarget({}); }

    // Starts editing a label whether or not the node is selected.
    bool EditLabel(const QModelIndex& index);
    bool IsEditingLabel() const { return state() == QAbstractItemView::EditingState; }

Q_SIGNALS:
    // A double click with the left button on a node, with the keys held at that moment.
    void NodeDoubleClicked(const QModelIndex& index, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPersistentModelIndex m_dropTarget;
};

} // namespace qx
