#include "remote/gui/FolderTreeModel.h"

#include "widgets/QtShellIcons.h"

#include <QFont>
#include <QIcon>

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
    : QAbstractItemModel(parent), m_tree(tree) {}

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
    case Qt::FontRole:
        if (node->Bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
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

void TFolderTreeModel::Merge(TFolderNode& node, const TLocaleTextCompare& compare) {
    m_tree.MergeFolderNodes(
        node, compare,
        [this](TFolderNode& parent, std::size_t row) {
            const int at = static_cast<int>(row);
            beginInsertRows(IndexOf(&parent), at, at);
        },
        [this](TFolderNode&, std::size_t) { endInsertRows(); });
}

} // namespace qx
