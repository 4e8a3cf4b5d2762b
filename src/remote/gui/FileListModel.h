// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/FileListContent.h"
#include "remote/FolderTree.h"
#include "sync/gui/CompareMarks.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>
#include <vector>

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

    TFTPListItem* Entry(const QModelIndex& index) const;

    // The content was filled or sorted anew.
    void Reset();
    // Appends the entry to the content, announced to the views as one row more at the end.
    void AppendEntry(TFTPListItem& entry);
    // The texts of these entries changed.
    void EntriesChanged(const std::vector<const TFTPListItem*>& entries);
    // The folder entry drawn as the target of a drop, or none.
    void SetDropTarget(const TFTPListItem* entry);
    // The marks of a folder comparison the rows show; none: no comparison.
    void SetCompareMarks(std::shared_ptr<const TCompareMarks> marks);
    const TCompareRowLook& CompareLook() const { return m_look; }
    // Whether a name may be edited now; none: never.
    void SetEditRule(std::function<bool()> rule) { m_editRule = std::move(rule); }
    // A name is edited where the rule allows it; an edited name is told by NameEdited.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // A name was edited in place; the entry keeps its name until the explorer changes it.
    void NameEdited(TFTPListItem* entry, const QString& text);

private:
    TFileListContent& m_content;
    const TFolderTree& m_tree;
    const TFTPListItem* m_dropTarget = nullptr;
    std::function<bool()> m_editRule;
    TCompareRowLook m_look{TCompareSide::Remote};
};

} // namespace qx
