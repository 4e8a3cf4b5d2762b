#pragma once

#include "remote/FileListContent.h"
#include "remote/FolderTree.h"

#include <QAbstractTableModel>

namespace qx {

// The file list as the views show it: the five columns, icons from the shared shell icons,
// sizes right-aligned, folders that have been listed in bold.
class TFileListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    TFileListModel(TFileListContent& content, const TFolderTree& tree, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const TFTPListItem* Entry(const QModelIndex& index) const;

    // The content was filled or sorted anew.
    void Reset();

private:
    TFileListContent& m_content;
    const TFolderTree& m_tree;
};

} // namespace qx
