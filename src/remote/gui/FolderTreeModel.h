// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/FolderTree.h"

#include <QAbstractItemModel>

#include <functional>
#include <vector>

namespace qx {

// The folder tree as the tree view shows it: names decoded as UTF-8, the network icon for the
// root, folder icons (open when selected) for the others, bold once listed.
// It follows every change of the tree as its observer. A label edited in place is not taken
// over: the model reports it (LabelEdited) and the node keeps its text until the explorer
// changes it.
class TFolderTreeModel final : public QAbstractItemModel, private TFolderTreeObserver {
    Q_OBJECT
public:
    explicit TFolderTreeModel(TFolderTree& tree, QObject* parent = nullptr);
    ~TFolderTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    TFolderNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const TFolderNode* node) const;

    // The tree was built anew (a new chain).
    void Reset();
    void BoldChanged(const TFolderNode& node);
    // The node drawn as the target of a drop or a pop-up menu, or none.
    void SetDropTarget(const TFolderNode* node);
    const TFolderNode* DropTarget() const { return m_dropTarget; }
    // Whether a label may be edited now; none: never.
    void SetEditRule(std::function<bool(const TFolderNode&)> rule) { m_editRule = std::move(rule); }

Q_SIGNALS:
    void LabelEdited(TFolderNode* node, const QString& text);
    // The node and its subtree are about to leave the tree.
    void NodeRemoving(TFolderNode* node);

private:
    void BeginInsertNode(TFolderNode& parent, std::size_t row) override;
    void EndInsertNode() override;
    void BeginRemoveNode(TFolderNode& node) override;
    void EndRemoveNode() override;
    void NodeTextChanged(TFolderNode& node) override;
    void BeginReorder(TFolderNode& parent) override;
    void EndReorder(TFolderNode& parent) override;

    TFolderTree& m_tree;
    const TFolderNode* m_dropTarget = nullptr;
    std::function<bool(const TFolderNode&)> m_editRule;
    QModelIndexList m_reorderIndexes;
    std::vector<TFolderNode*> m_reorderNodes;
};

} // namespace qx
