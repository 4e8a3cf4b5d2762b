// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "local/LocalFolderListing.h"
#include "local/gui/FolderWriteWatch.h"
#include "local/gui/UriListDrag.h"
#include "sync/gui/CompareMarks.h"

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <thread>
#include <unordered_map>
#include <vector>

namespace qx {

class TLocalIconProvider;

// The file list of one local folder: Name, Size, Type and Date. The folder is read, filtered and
// sorted on a worker thread, and a new sort order is found on one too, so the user-interface
// thread never waits for a big folder; it is read again when it changes on disk, keeping the
// rows that stay (and so the selection), and the entries of files written into it are read
// again when they are closed. The folder and the names are the file system's bytes.
class TLocalFileListModel final : public TUriListDragModel<QAbstractTableModel> {
    Q_OBJECT
public:
    TLocalFileListModel(const TLocalIconProvider& icons, QObject* parent = nullptr);
    ~TLocalFileListModel() override;

    // Reads the folder anew; Loaded follows when it is whole. A folder that is not watched
    // (one on a network file system) follows the disk on Refresh only.
    void SetFolder(const std::string& folder, bool watch = true);
    const std::string& Folder() const { return m_folder; }
    bool IsLoaded() const { return m_loaded; }
    QString Error() const { return m_error; }
    void SetNameFilters(const std::vector<std::string>& patterns);
    // The marks of a folder comparison the rows show (none: no comparison), and whether only
    // the rows that differ are shown; a change of what is shown reads the folder again.
    void SetCompareMarks(std::shared_ptr<const TCompareMarks> marks, bool onlyDifferences);
    const TCompareRowLook& CompareLook() const { return m_look; }
    // 1 name, 2 size, 3 type, 4 date; negative descending. The rows take the new order when
    // the worker has found it (Sorted follows).
    void SetSortColumn(int sortColumn);
    bool IsSorting() const { return m_sortPending; }
    void Refresh();
    // Reads the rows' entries again (sizes and dates change without the folder changing), all
    // of them or those of these names; Loaded follows when one has changed.
    void RefreshEntries(const std::set<std::string>& names = {});

    const TLocalFileEntry& Entry(const QModelIndex& index) const;
    const std::vector<TLocalFileEntry>& Rows() const { return m_rows; }
    // The path for display: a name that is not valid UTF-8 shows replacement characters.
    QString FilePath(const QModelIndex& index) const;
    // The path as the file system has its bytes, also for a name that is not valid UTF-8.
    std::string FilePathBytes(const QModelIndex& index) const;
    // The row of a name given as bytes.
    QModelIndex IndexOfBytes(const std::string& name) const;
    QString FileName(const QModelIndex& index) const;
    bool IsDir(const QModelIndex& index) const;
    QString TypeName(const QModelIndex& index) const;
    QModelIndex IndexOfName(const QString& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // The folder has been read whole and sorted.
    void Loaded(const QString& folder);
    // A rename in place failed; the text says why.
    void RenameFailed(const QString& text);
    // The rows have taken the order of the sort column.
    void Sorted();

private:
    std::string DragPath(const QModelIndex& index) const override;
    void StartReading(bool refresh);
    void Finish(int generation, bool refresh, int sortColumn, std::vector<TLocalFileEntry> rows,
                const QString& error);
    std::vector<std::size_t> ApplyRefresh(std::vector<TLocalFileEntry> incoming);
    void ApplyChangedEntries(int version,
                             std::vector<std::pair<std::size_t, TLocalFileEntry>> changed);
    void RunWorker(int id, std::function<void(const std::stop_token&)> work);
    void StartSort();
    void ApplyOrder(const std::vector<std::size_t>& order);
    const std::pair<QString, QIcon>& TypeOf(const std::string& name) const;

    const TLocalIconProvider& m_icons;
    std::string m_folder;
    std::vector<TLocalFileEntry> m_rows;
    std::vector<std::string> m_patterns;
    int m_sortColumn = 1;
    int m_generation = 0;
    bool m_loaded = false;
    QString m_error; // why the folder could not be read whole; empty when it could
    QFileSystemWatcher m_watcher;
    QTimer m_refreshTimer;
    TFolderWriteWatch m_writeWatch;
    std::set<std::string> m_written; // names written since the last reading of their entries
    bool m_allWritten = false;
    QTimer m_writtenTimer;
    int m_rowsVersion = 0; // counts changes of the rows; a sort of older rows is dropped
    bool m_sortPending = false;
    int m_nextWorker = 0;
    int m_readerId = 0;
    mutable std::unordered_map<std::string, std::pair<QString, QIcon>> m_typeCache;
    TCompareRowLook m_look{TCompareSide::Local};
    bool m_onlyDifferences = false;
    std::map<int, std::jthread> m_workers; // the last member: joined before the rest goes
};

} // namespace qx
