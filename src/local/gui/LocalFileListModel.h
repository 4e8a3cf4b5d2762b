#pragma once

#include "local/LocalFolderListing.h"

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QTimer>

#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

class QAbstractFileIconProvider;

namespace qx {

// The file list of one local folder: Name, Size, Type and Date. The folder is read, filtered and
// sorted on a worker thread, so the user-interface thread never waits for a big folder; it is
// read again when it changes on disk, keeping the rows that stay (and so the selection).
class TLocalFileListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    TLocalFileListModel(const QAbstractFileIconProvider& icons, QObject* parent = nullptr);
    ~TLocalFileListModel() override;

    // Reads the folder anew; Loaded follows when it is whole.
    void SetFolder(const QString& folder);
    QString Folder() const { return m_folder; }
    bool IsLoaded() const { return m_loaded; }
    QString Error() const { return m_error; }
    void SetNameFilters(const std::vector<std::string>& patterns);
    // 1 name, 2 size, 3 type, 4 date; negative descending.
    void SetSortColumn(int sortColumn);
    void Refresh();

    const TLocalFileEntry& Entry(const QModelIndex& index) const;
    const std::vector<TLocalFileEntry>& Rows() const { return m_rows; }
    QString FilePath(const QModelIndex& index) const;
    // The path as the file system has its bytes, also for a name that is not valid UTF-8.
    std::string FilePathBytes(const QModelIndex& index) const;
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
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

Q_SIGNALS:
    // The folder has been read whole and sorted.
    void Loaded(const QString& folder);
    // A rename in place failed; the text says why.
    void RenameFailed(const QString& text);

private:
    void StartReading(bool refresh);
    void Finish(int generation, bool refresh, int sortColumn, std::vector<TLocalFileEntry> rows,
                const QString& error);
    void ApplyRefresh(std::vector<TLocalFileEntry> incoming);
    void SortRows();

    const QAbstractFileIconProvider& m_icons;
    QString m_folder;
    std::vector<TLocalFileEntry> m_rows;
    std::vector<std::string> m_patterns;
    int m_sortColumn = 1;
    int m_generation = 0;
    bool m_loaded = false;
    QString m_error; // why the folder could not be read whole; empty when it could
    QFileSystemWatcher m_watcher;
    QTimer m_refreshTimer;
    std::jthread m_reader;
    mutable std::unordered_map<std::string, std::pair<QString, QIcon>> m_typeCache;
};

} // namespace qx
