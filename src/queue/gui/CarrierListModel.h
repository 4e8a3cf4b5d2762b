// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/CarrierQueue.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <cstddef>
#include <functional>
#include <vector>

namespace qx {

// One list of the transfer queue as a table for a view. The scheduler holds the rows; the
// model reads them on demand and is told of every change through the calls below, so a list
// of twenty thousand rows costs nothing until it is shown.
class TCarrierListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The picture of an item's image index in the shell's small icon list.
    using IconProvider = std::function<QIcon(int imageIndex)>;

    TCarrierListModel(const TCarrierQueue& queue, TCarrierList list, QObject* parent = nullptr);

    TCarrierList List() const { return m_list; }
    void SetIconProvider(IconProvider icons);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The scheduler's announcements, in its order: the rows of an insertion or removal before
    // the change, the end after it.
    void BeginInsert(std::size_t first, std::size_t last);
    void EndInsert();
    void BeginRemove(std::size_t first, std::size_t last);
    void EndRemove();
    void RowChanged(std::size_t row);

private:
    QVariant Alignment(int column) const;

    const TCarrierQueue& m_queue;
    TCarrierList m_list;
    int m_columns;
    std::vector<bool> m_numeric;    // right-aligned columns
    std::vector<bool> m_fixedWords; // fixed words of the queue ("Carry", "Yes"), translated
    int m_detailColumn;             // "Response" or "Error Message": long texts, shown as tooltips
    IconProvider m_icons;
};

} // namespace qx
