#pragma once

#include "remote/FolderTree.h"

#include <QAbstractItemModel>

namespace qx {

// The folder tree as the tree view shows it: names decoded as UTF-8, the network icon for the
// root, folder icons (open when selected) for the others, bold once listed.
class TFolderTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TFolderTreeModel(TFolderTree& tree, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    TFolderNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const TFolderNode* node) const;

    // The tree was built anew (a new chain).
    void Reset();
    void BoldChanged(const TFolderNode& node);
    // Merges a node's new listing into its children, telling the views of every new child.
    void Merge(TFolderNode& node, const TLocaleTextCompare& compare);

private:
    TFolderTree& m_tree;
};

} // namespace qx
