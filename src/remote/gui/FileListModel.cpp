// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/gui/FileListModel.h"

#include "remote/FolderTree.h"
#include "widgets/CoreTexts.h"
#include "widgets/FileListViews.h"
#include "widgets/QtShellIcons.h"

#include <QIcon>

#include <string>
#include <utility>

namespace qx {

TFileListModel::TFileListModel(TFileListContent& content, const TFolderTree& tree, QObject* parent)
    : QAbstractTableModel(parent), m_content(content), m_tree(tree) {}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_content.Count());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TFileListContent::kColumns;
}

TFTPListItem* TFileListModel::Entry(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return nullptr;
    }
    return &m_content.At(static_cast<std::size_t>(index.row()));
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    const TFTPListItem* entry = Entry(index);
    if (entry == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        // A folder's type is the core's word for it; a file's comes from the MIME database.
        if (index.column() == 2 && !entry->IsFile) {
            return CoreText(entry->TypeName);
        }
        return QString::fromStdString(
            TFileListContent::CellText(*entry, index.column(), DecimalPoint()));
    case Qt::EditRole:
        return index.column() == 0 ? QString::fromStdString(entry->Name) : QVariant();
    case Qt::DecorationRole:
        if (index.column() == 0) {
            if (const TQtShellIcons* icons = QtShellIcons()) {
                return m_look.Icon(entry->Name,
                                   std::to_string(entry->ImageIndex) + (entry->IsLink ? "l" : ""),
                                   [&] {
                                       return entry->IsLink ? icons->LinkIcon(entry->ImageIndex)
                                                            : icons->Icon(entry->ImageIndex);
                                   });
            }
        }
        return {};
    case Qt::BackgroundRole:
        return entry == m_dropTarget ? DropTargetBackground(true) : m_look.Background(entry->Name);
    case Qt::ForegroundRole:
        return entry == m_dropTarget ? QVariant() : m_look.Foreground(entry->Name);
    case Qt::ToolTipRole:
        return m_look.ToolTip(entry->Name);
    case Qt::TextAlignmentRole:
        return index.column() == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole: {
        const TFolderNode* node = m_tree.NodeOf(entry);
        return BoldFontWhen(!entry->IsFile && node != nullptr && node->Listed());
    }
    default:
        return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    static const char* const kCaptions[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Size"),
                                            QT_TR_NOOP("Type"), QT_TR_NOOP("Date"),
                                            QT_TR_NOOP("Permission")};
    if (role == Qt::DisplayRole && section >= 0 && section < TFileListContent::kColumns) {
        return tr(kCaptions[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return section == 1 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void TFileListModel::Reset() {
    beginResetModel();
    m_dropTarget = nullptr;
    endResetModel();
}

Qt::ItemFlags TFileListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid()) {
        flags |= Qt::ItemIsDragEnabled;
        if (index.column() == 0 && m_editRule && m_editRule()) {
            flags |= Qt::ItemIsEditable;
        }
    }
    return flags;
}

bool TFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TFTPListItem* entry = Entry(index);
    const QString text = value.toString();
    if (role == Qt::EditRole && index.column() == 0 && entry != nullptr && !text.isEmpty() &&
        text != QString::fromStdString(entry->Name)) {
        Q_EMIT NameEdited(entry, text);
    }
    return false;
}

void TFileListModel::AppendEntry(TFTPListItem& entry) {
    const int at = static_cast<int>(m_content.Count());
    beginInsertRows({}, at, at);
    m_content.Append(&entry);
    endInsertRows();
}

void TFileListModel::EntriesChanged(const std::vector<const TFTPListItem*>& entries) {
    for (const TFTPListItem* entry : entries) {
        const auto row = m_content.RowOf(entry);
        if (row >= 0) {
            Q_EMIT dataChanged(index(static_cast<int>(row), 0),
                               index(static_cast<int>(row), TFileListContent::kColumns - 1));
        }
    }
}

void TFileListModel::SetCompareMarks(std::shared_ptr<const TCompareMarks> marks) {
    if (!marks && !m_look.Marks()) {
        return;
    }
    m_look.SetMarks(std::move(marks));
    if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, TFileListContent::kColumns - 1));
    }
}

void TFileListModel::SetDropTarget(const TFTPListItem* entry) {
    if (entry == m_dropTarget) {
        return;
    }
    const TFTPListItem* old = std::exchange(m_dropTarget, entry);
    EntriesChanged({old, entry});
}

} // namespace qx
