// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SiteBookTreeModel.h"

#include "settings/gui/FormAppearance.h"
#include "settings/gui/SiteBookIcons.h"

#include <algorithm>
#include <vector>

namespace qx {

// What the view was last told about a node. The node pointer is cleared before the row is
// removed, so nothing reads a node the core has already freed.
struct TSiteBookTreeModel::TItem {
    TSiteBookNode* node = nullptr;
    TItem* parent = nullptr;
    std::string shownText;
    std::vector<std::unique_ptr<TItem>> children;

    int Row() const {
        const auto& siblings = parent->children;
        const auto found =
            std::find_if(siblings.begin(), siblings.end(),
                         [this](const auto& sibling) { return sibling.get() == this; });
        return static_cast<int>(found - siblings.begin());
    }

    void Forget() {
        node = nullptr;
        for (const auto& child : children) {
            child->Forget();
        }
    }
};

TSiteBookTreeModel::TSiteBookTreeModel(TSiteBookModel& book, QObject* parent)
    : QAbstractItemModel(parent), m_book(book), m_top(std::make_unique<TItem>()),
      m_rootIcon(SiteBookRootIcon()), m_folderIcon(SiteBookFolderIcon()),
      m_siteIcon(SiteBookSiteIcon()) {
    m_top->children.push_back(MakeItem(m_book.Root(), m_top.get()));
}

TSiteBookTreeModel::~TSiteBookTreeModel() = default;

std::unique_ptr<TSiteBookTreeModel::TItem> TSiteBookTreeModel::MakeItem(TSiteBookNode& node,
                                                                        TItem* parent) const {
    auto item = std::make_unique<TItem>();
    item->node = &node;
    item->parent = parent;
    item->shownText = node.Text();
    for (const auto& child : node.Children()) {
        item->children.push_back(MakeItem(*child, item.get()));
    }
    return item;
}

TSiteBookTreeModel::TItem* TSiteBookTreeModel::ItemOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TItem*>(index.internalPointer()) : m_top.get();
}

QModelIndex TSiteBookTreeModel::IndexOfItem(const TItem& item) const {
    if (&item == m_top.get()) {
        return {};
    }
    return createIndex(item.Row(), 0, &item);
}

QModelIndex TSiteBookTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TItem* item = ItemOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(item->children.size())) {
        return {};
    }
    return createIndex(row, 0, item->children[static_cast<std::size_t>(row)].get());
}

QModelIndex TSiteBookTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return IndexOfItem(*ItemOf(child)->parent);
}

int TSiteBookTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    return static_cast<int>(ItemOf(parent)->children.size());
}

int TSiteBookTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant TSiteBookTreeModel::data(const QModelIndex& index, int role) const {
    const TItem* item = ItemOf(index);
    if (!index.isValid() || item->node == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ToQt(item->shownText);
    case Qt::DecorationRole:
        if (item->node->IsRoot()) {
            return m_rootIcon;
        }
        return item->node->IsSite() ? m_siteIcon : m_folderIcon;
    default:
        return {};
    }
}

Qt::ItemFlags TSiteBookTreeModel::flags(const QModelIndex& index) const {
    const TItem* item = ItemOf(index);
    if (!index.isValid() || item->node == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!item->node->IsRoot()) {
        result |= Qt::ItemIsEditable;
    }
    if (item->node->IsSite()) {
        result |= Qt::ItemNeverHasChildren;
    }
    return result;
}

bool TSiteBookTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    Q_EMIT RenameRequested(index, value.toString());
    return true;
}

TSiteBookNode* TSiteBookTreeModel::Node(const QModelIndex& index) const {
    return index.isValid() ? ItemOf(index)->node : nullptr;
}

QModelIndex TSiteBookTreeModel::IndexOf(const TSiteBookNode* node) const {
    if (node == nullptr) {
        return {};
    }
    if (node->IsRoot()) {
        return RootIndex();
    }
    const QModelIndex parentIndex = IndexOf(node->Parent());
    const TItem* parentItem = ItemOf(parentIndex);
    if (!parentIndex.isValid()) {
        return {};
    }
    for (std::size_t row = 0; row < parentItem->children.size(); ++row) {
        if (parentItem->children[row]->node == node) {
            return createIndex(static_cast<int>(row), 0, parentItem->children[row].get());
        }
    }
    return {};
}

// Brings an item's children in line with its node's: removed rows first (the core never
// reorders, so what is left keeps the core's order), then the new ones where the core has
// them, then renamed texts, then the same one level down.
void TSiteBookTreeModel::Follow(TItem& item) {
    const QModelIndex here = IndexOfItem(item);
    const auto& nodes = item.node->Children();
    for (int row = static_cast<int>(item.children.size()) - 1; row >= 0; --row) {
        TItem& child = *item.children[static_cast<std::size_t>(row)];
        const bool kept = std::any_of(nodes.begin(), nodes.end(),
                                      [&](const auto& node) { return node.get() == child.node; });
        if (!kept) {
            child.Forget();
            beginRemoveRows(here, row, row);
            item.children.erase(item.children.begin() + row);
            endRemoveRows();
        }
    }
    for (std::size_t row = 0; row < nodes.size(); ++row) {
        if (row >= item.children.size() || item.children[row]->node != nodes[row].get()) {
            const int at = static_cast<int>(row);
            beginInsertRows(here, at, at);
            item.children.insert(item.children.begin() + at, MakeItem(*nodes[row], &item));
            endInsertRows();
        }
    }
    for (const auto& child : item.children) {
        if (child->shownText != child->node->Text()) {
            child->shownText = child->node->Text();
            const QModelIndex changed = IndexOfItem(*child);
            Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
        }
        Follow(*child);
    }
}

void TSiteBookTreeModel::Reload() {
    beginResetModel();
    m_top->children.clear();
    m_book.Load();
    m_top->children.push_back(MakeItem(m_book.Root(), m_top.get()));
    endResetModel();
}

TSiteBookCreateResult TSiteBookTreeModel::NewFolder(TSiteBookNode& target) {
    TSiteBookCreateResult result = m_book.NewFolder(target);
    Follow(*m_top->children.front());
    return result;
}

TSiteBookCreateResult TSiteBookTreeModel::CreateSite(TSiteBookNode& target, std::string_view name,
                                                     std::unique_ptr<TSiteProperties> site) {
    TSiteBookCreateResult result = m_book.CreateSite(target, name, std::move(site));
    Follow(*m_top->children.front());
    return result;
}

TSiteBookImportReport TSiteBookTreeModel::AddSites(TSiteBookNode& target, TSitesToAdd& sites) {
    TSiteBookImportReport report = qx::AddSites(m_book, target, sites, false);
    Follow(*m_top->children.front());
    return report;
}

TSiteBookMessage TSiteBookTreeModel::Rename(TSiteBookNode& node, std::string_view newText) {
    TSiteBookMessage message = m_book.Rename(node, newText);
    Follow(*m_top->children.front());
    return message;
}

TSiteBookMessage TSiteBookTreeModel::Delete(TSiteBookNode& node) {
    TSiteBookMessage message = m_book.Delete(node);
    Follow(*m_top->children.front());
    return message;
}

} // namespace qx
