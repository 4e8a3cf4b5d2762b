// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/gui/CarrierListModel.h"

#include "widgets/CoreTexts.h"

#include <string_view>

namespace qx {

namespace {

bool IsNumberColumn(std::string_view name) {
    for (const std::string_view number :
         {"Size", "Position", "Transfer Rate", "Time Left", "Done"}) {
        if (name == number) {
            return true;
        }
    }
    return false;
}

int DetailColumn(TCarrierList list) {
    const auto& columns = TCarrierQueue::Columns(list);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (columns[column] == "Response" || columns[column] == "Error Message") {
            return static_cast<int>(column);
        }
    }
    return -1;
}

} // namespace

TCarrierListModel::TCarrierListModel(const TCarrierQueue& queue, TCarrierList list, QObject* parent)
    : QAbstractTableModel(parent), m_queue(queue), m_list(list),
      m_columns(static_cast<int>(TCarrierQueue::Columns(list).size())),
      m_detailColumn(DetailColumn(list)) {
    for (const std::string& name : TCarrierQueue::Columns(list)) {
        m_numeric.push_back(IsNumberColumn(name));
        m_fixedWords.push_back(name == "Command" || name == "Resuming");
    }
}

void TCarrierListModel::SetIconProvider(IconProvider icons) {
    m_icons = std::move(icons);
    if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
    }
}

int TCarrierListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_queue.RowCount(m_list));
}

int TCarrierListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant TCarrierListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    // While the scheduler moves an item from one list to another, its old row is empty until
    // the removal has been announced.
    if (m_list != TCarrierList::Success && m_queue.Item(m_list, row) == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        if (m_fixedWords[column]) {
            return CoreText(m_queue.Text(m_list, row, column));
        }
        return QString::fromStdString(m_queue.Text(m_list, row, column));
    case Qt::ToolTipRole:
        if (index.column() == m_detailColumn) {
            return QString::fromStdString(m_queue.Text(m_list, row, column));
        }
        return {};
    case Qt::DecorationRole:
        if (index.column() == 0 && m_icons) {
            return m_icons(m_queue.ImageIndex(m_list, row));
        }
        return {};
    case Qt::TextAlignmentRole:
        return Alignment(index.column());
    default:
        return {};
    }
}

QVariant TCarrierListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return CoreText(TCarrierQueue::Columns(m_list)[static_cast<std::size_t>(section)]);
    }
    if (role == Qt::TextAlignmentRole) {
        return Alignment(section);
    }
    return {};
}

Qt::ItemFlags TCarrierListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant TCarrierListModel::Alignment(int column) const {
    if (!m_numeric[static_cast<std::size_t>(column)]) {
        return {};
    }
    return (Qt::AlignRight | Qt::AlignVCenter).toInt();
}

void TCarrierListModel::BeginInsert(std::size_t first, std::size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TCarrierListModel::EndInsert() {
    endInsertRows();
}

void TCarrierListModel::BeginRemove(std::size_t first, std::size_t last) {
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TCarrierListModel::EndRemove() {
    endRemoveRows();
}

void TCarrierListModel::RowChanged(std::size_t row) {
    const int at = static_cast<int>(row);
    Q_EMIT dataChanged(index(at, 0), index(at, m_columns - 1), {Qt::DisplayRole, Qt::ToolTipRole});
}

} // namespace qx
