// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/FolderTreeModel.h"

#include "widgets/FileListViews.h"
#include "widgets/QtShellIcons.h"

#include <QIcon>

#include <utility>

namespace qx {

namespace {
QIcon FolderIcon() {
    const TQtShellIcons* icons = QtShellIcons();
    if (icons == nullptr) {
        return QIcon::fromTheme(QStringLiteral("folder"));
    }
    // The open folder stands for the selected node.
    QIcon icon = icons->Icon(icons->FolderIconIndex);
    const QIcon open = icons->Icon(icons->OpenFolderIconIndex);
    for (const QSize size : {QSize(16, 16), QSize(22, 22), QSize(32, 32)}) {
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}
} // namespace

TFolderTreeModel::TFolderTreeModel(TFolderTree& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree) {
    m_tree.SetObserver(this);
}

TFolderTreeModel::~TFolderTreeModel() {
    m_tree.SetObserver(nullptr);
}

TFolderNode* TFolderTreeModel::Node(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TFolderNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TFolderTreeModel::IndexOf(const TFolderNode* node) const {
    if (node == nullptr) {
        return {};
    }
    return createIndex(static_cast<int>(node->Row()), 0, const_cast<TFolderNode*>(node));
}

QModelIndex TFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) {
        return {};
    }
    if (!parent.isValid()) {
        return row == 0 && m_tree.Root() != nullptr ? createIndex(0, 0, m_tree.Root())
                                                    : QModelIndex();
    }
    TFolderNode* node = Node(parent);
    if (static_cast<std::size_t>(row) >= node->Children.size()) {
        return {};
    }
    return createIndex(row, 0, node->Children[static_cast<std::size_t>(row)].get());
}

QModelIndex TFolderTreeModel::parent(const QModelIndex& child) const {
    const TFolderNode* node = Node(child);
    return node == nullptr ? QModelIndex() : IndexOf(node->Parent);
}

int TFolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return m_tree.Root() != nullptr ? 1 : 0;
    }
    if (parent.column() != 0) {
        return 0;
    }
    return static_cast<int>(Node(parent)->Children.size());
}

int TFolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TFolderTreeModel::data(const QModelIndex& index, int role) const {
    const TFolderNode* node = Node(index);
    if (node == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(node->Text);
    case Qt::ToolTipRole:
        return QString::fromStdString(TFolderTree::GetNodePath(*node));
    case Qt::DecorationRole:
        if (node->Parent == nullptr) {
            const TQtShellIcons* icons = QtShellIcons();
            return icons != nullptr ? icons->Icon(icons->NetworkIconIndex)
                                    : QIcon::fromTheme(QStringLiteral("network-server"));
        }
        if (node->IsLink()) {
            if (const TQtShellIcons* icons = QtShellIcons()) {
                return icons->LinkIcon(icons->FolderIconIndex);
            }
        }
        return FolderIcon();
    case Qt::BackgroundRole:
        return DropTargetBackground(node == m_dropTarget);
    case Qt::FontRole:
        return BoldFontWhen(node->Bold);
    default:
        return {};
    }
}

void TFolderTreeModel::Reset() {
    beginResetModel();
    endResetModel();
}

void TFolderTreeModel::BoldChanged(const TFolderNode& node) {
    const QModelIndex at = IndexOf(&node);
    Q_EMIT dataChanged(at, at, {Qt::FontRole});
}

Qt::ItemFlags TFolderTreeModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    const TFolderNode* node = Node(index);
    if (node != nullptr && node->Parent != nullptr) {
        flags |= Qt::ItemIsDragEnabled;
    }
    if (node != nullptr && node->Parent != nullptr && m_editRule && m_editRule(*node)) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool TFolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TFolderNode* node = Node(index);
    const QString text = value.toString();
    if (role == Qt::EditRole && node != nullptr && !text.isEmpty() &&
        text != QString::fromStdString(node->Text)) {
        Q_EMIT LabelEdited(node, text);
    }
    return false; // the node keeps its text until the server has renamed the folder
}

void TFolderTreeModel::SetDropTarget(const TFolderNode* node) {
    if (node == m_dropTarget) {
        return;
    }
    const TFolderNode* old = std::exchange(m_dropTarget, node);
    for (const TFolderNode* changed : {old, node}) {
        if (changed != nullptr) {
            const QModelIndex at = IndexOf(changed);
            Q_EMIT dataChanged(at, at, {Qt::BackgroundRole});
        }
    }
}

void TFolderTreeModel::BeginInsertNode(TFolderNode& parent, std::size_t row) {
    const int at = static_cast<int>(row);
    beginInsertRows(IndexOf(&parent), at, at);
}

void TFolderTreeModel::EndInsertNode() {
    endInsertRows();
}

void TFolderTreeModel::BeginRemoveNode(TFolderNode& node) {
    if (m_dropTarget != nullptr && TFolderTree::IsWithin(*m_dropTarget, node)) {
        m_dropTarget = nullptr;
    }
    Q_EMIT NodeRemoving(&node);
    const int row = static_cast<int>(node.Row());
    beginRemoveRows(IndexOf(node.Parent), row, row);
}

void TFolderTreeModel::EndRemoveNode() {
    endRemoveRows();
}

void TFolderTreeModel::NodeTextChanged(TFolderNode& node) {
    const QModelIndex at = IndexOf(&node);
    Q_EMIT dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
}

// The views keep indexes of the children (the current one, the expanded ones): they are
// moved along with their nodes.
void TFolderTreeModel::BeginReorder(TFolderNode& parent) {
    Q_EMIT layoutAboutToBeChanged({IndexOf(&parent)}, QAbstractItemModel::VerticalSortHint);
    m_reorderIndexes = persistentIndexList();
    m_reorderNodes.clear();
    for (const QModelIndex& index : m_reorderIndexes) {
        m_reorderNodes.push_back(Node(index));
    }
}

void TFolderTreeModel::EndReorder(TFolderNode& parent) {
    QModelIndexList moved;
    for (TFolderNode* node : m_reorderNodes) {
        moved.append(IndexOf(node));
    }
    changePersistentIndexList(m_reorderIndexes, moved);
    m_reorderIndexes.clear();
    m_reorderNodes.clear();
    Q_EMIT layoutChanged({IndexOf(&parent)}, QAbstractItemModel::VerticalSortHint);
}

} // namespace qx
