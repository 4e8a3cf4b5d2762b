// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/LocaleTextCompare.h"
#include "remote/FindFields.h"

#include <QAbstractTableModel>

#include <vector>

namespace qx {

// The entries a search found: name, folder, size and time of change. Entries arrive folder by
// folder and take their place in the order the list is sorted by.
class TFindResultModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TFindResultModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    void Add(const std::vector<TFoundEntry>& found);
    void Clear();
    const TFoundEntry& Entry(int row) const { return m_entries.at(static_cast<std::size_t>(row)); }

private:
    bool Before(const TFoundEntry& a, const TFoundEntry& b) const;

    std::vector<TFoundEntry> m_entries;
    TLocaleTextCompare m_compare;
    TFoundColumn m_sortColumn = TFoundColumn::Folder;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

} // namespace qx
