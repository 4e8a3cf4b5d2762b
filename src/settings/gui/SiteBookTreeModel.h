// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SiteBookModel.h"
#include "settings/SiteBookTransfer.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <memory>
#include <string_view>

namespace qx {

// The site book tree for a view: one column, the node texts, the node images and label editing
// for every node but the root. Every change goes through this model, which runs the command of
// the core model and then brings its own mirror of the tree up to date, announcing each
// inserted, removed or renamed row; the view never sees a node the core has freed.
class TSiteBookTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TSiteBookTreeModel(TSiteBookModel& book, QObject* parent = nullptr);
    ~TSiteBookTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TSiteBookNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const TSiteBookNode* node) const;
    QModelIndex RootIndex() const { return index(0, 0); }

    // The commands of the core model (see there), followed by the view.
    void Reload();
    TSiteBookCreateResult NewFolder(TSiteBookNode& target);
    TSiteBookCreateResult CreateSite(TSiteBookNode& target, std::string_view name,
                                     std::unique_ptr<TSiteProperties> site);
    TSiteBookMessage Rename(TSiteBookNode& node, std::string_view newText);
    TSiteBookMessage Delete(TSiteBookNode& node);
    TSiteBookImportReport AddSites(TSiteBookNode& target, TSitesToAdd& sites);

Q_SIGNALS:
    // A label edit was confirmed; the receiver renames (or reports why not).
    void RenameRequested(const QModelIndex& index, const QString& text);

private:
    struct TItem;

    TItem* ItemOf(const QModelIndex& index) const;
    QModelIndex IndexOfItem(const TItem& item) const;
    std::unique_ptr<TItem> MakeItem(TSiteBookNode& node, TItem* parent) const;
    void Follow(TItem& item);

    TSiteBookModel& m_book;
    std::unique_ptr<TItem> m_top; // an invisible item above the root node
    QIcon m_rootIcon;
    QIcon m_folderIcon;
    QIcon m_siteIcon;
};

} // namespace qx
