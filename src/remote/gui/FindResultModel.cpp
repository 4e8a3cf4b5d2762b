// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/FindResultModel.h"

#include "remote/FileListContent.h"
#include "widgets/CoreTexts.h"
#include "widgets/QtShellIcons.h"

#include <QIcon>

#include <algorithm>

namespace qx {

namespace {

constexpr int kColumns = 4;

} // namespace

TFindResultModel::TFindResultModel(QObject* parent) : QAbstractTableModel(parent) {}

int TFindResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int TFindResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant TFindResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const TFoundEntry& entry = Entry(index.row());
    const auto column = static_cast<TFoundColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case TFoundColumn::Name:
            return QString::fromStdString(entry.Item.Name);
        case TFoundColumn::Folder:
            return QString::fromStdString(FoundFolder(entry));
        case TFoundColumn::Size:
            return QString::fromStdString(
                TFileListContent::CellText(entry.Item, 1, DecimalPoint()));
        case TFoundColumn::Modified:
            return QString::fromStdString(TFileListContent::CellText(entry.Item, 3));
        }
        return {};
    case Qt::ToolTipRole:
        return QString::fromStdString(entry.Path);
    case Qt::DecorationRole:
        if (column == TFoundColumn::Name) {
            if (const TQtShellIcons* icons = QtShellIcons()) {
                return entry.Item.IsLink ? icons->LinkIcon(entry.Item.ImageIndex)
                                         : icons->Icon(entry.Item.ImageIndex);
            }
        }
        return {};
    case Qt::TextAlignmentRole:
        return column == TFoundColumn::Size ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TFindResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kCaptions[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("In Folder"),
                                            QT_TR_NOOP("Size"), QT_TR_NOOP("Modified")};
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return tr(kCaptions[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return section == static_cast<int>(TFoundColumn::Size)
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

bool TFindResultModel::Before(const TFoundEntry& a, const TFoundEntry& b) const {
    const int order = CompareFound(a, b, m_sortColumn, m_compare);
    return m_order == Qt::AscendingOrder ? order < 0 : order > 0;
}

void TFindResultModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumns) {
        return;
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    m_sortColumn = static_cast<TFoundColumn>(column);
    m_order = order;
    std::vector<std::size_t> rows(m_entries.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row] = row;
    }
    std::ranges::stable_sort(
        rows, [this](std::size_t a, std::size_t b) { return Before(m_entries[a], m_entries[b]); });
    std::vector<int> newRow(rows.size());
    std::vector<TFoundEntry> sorted;
    sorted.reserve(m_entries.size());
    for (std::size_t at = 0; at < rows.size(); ++at) {
        newRow[rows[at]] = static_cast<int>(at);
        sorted.push_back(std::move(m_entries[rows[at]]));
    }
    m_entries = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.push_back(this->index(newRow[static_cast<std::size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// The batch is sorted first: the entries of one folder mostly go to one place, and go in as
// one block of rows.
void TFindResultModel::Add(const std::vector<TFoundEntry>& found) {
    std::vector<const TFoundEntry*> batch;
    batch.reserve(found.size());
    for (const TFoundEntry& entry : found) {
        batch.push_back(&entry);
    }
    const auto before = [this](const TFoundEntry& a, const TFoundEntry& b) { return Before(a, b); };
    std::ranges::stable_sort(batch, before,
                             [](const TFoundEntry* entry) -> const TFoundEntry& { return *entry; });
    std::size_t next = 0;
    while (next < batch.size()) {
        const auto at = std::ranges::upper_bound(m_entries, *batch[next], before);
        const auto place = static_cast<std::size_t>(at - m_entries.begin());
        // The run of the batch that sorts before the entry now at that place.
        std::size_t end = next + 1;
        while (end < batch.size() &&
               (place == m_entries.size() || Before(*batch[end], m_entries[place]))) {
            ++end;
        }
        beginInsertRows({}, static_cast<int>(place), static_cast<int>(place + end - next - 1));
        std::vector<TFoundEntry> block;
        block.reserve(end - next);
        for (std::size_t taken = next; taken < end; ++taken) {
            block.push_back(*batch[taken]);
        }
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(place),
                         std::make_move_iterator(block.begin()),
                         std::make_move_iterator(block.end()));
        endInsertRows();
        next = end;
    }
}

void TFindResultModel::Clear() {
    if (m_entries.empty()) {
        return;
    }
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

} // namespace qx
