// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/LocalFileListModel.h"

#include "base/Utilities.h"
#include "local/LocalFileSystem.h"
#include "local/gui/LocalIconProvider.h"
#include "widgets/CoreTexts.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <string_view>
#include <unordered_set>

namespace qx {

namespace {
constexpr std::size_t kBatch = 2000;

QString Decoded(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string Extension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

// The type names a sort compares by: asked of the icon provider once per extension.
auto TypeNamesOfOneSort(const TLocalIconProvider& icons) {
    return [&icons, types = std::unordered_map<std::string, std::string>()](
               const TLocalFileEntry& entry) mutable {
        if (entry.IsFolder) {
            return std::string("Folder");
        }
        const std::string extension = Extension(entry.Name);
        auto found = types.find(extension);
        if (found == types.end()) {
            found = types.emplace(extension, icons.TypeForName(Decoded(entry.Name)).toStdString())
                        .first;
        }
        return found->second;
    };
}
} // namespace

TLocalFileListModel::TLocalFileListModel(const TLocalIconProvider& icons, QObject* parent)
    : TUriListDragModel(parent), m_icons(icons) {
    setObjectName(QStringLiteral("FileListModel"));
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(300); // a burst of changes is read once
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { StartReading(!m_rows.empty()); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { m_refreshTimer.start(); });
    m_writtenTimer.setSingleShot(true);
    m_writtenTimer.setInterval(300);
    connect(&m_writtenTimer, &QTimer::timeout, this, [this] {
        std::set<std::string> names = std::exchange(m_written, {});
        if (!std::exchange(m_allWritten, false)) {
            if (names.empty()) {
                return;
            }
        } else {
            names.clear(); // every row
        }
        RefreshEntries(names);
    });
    connect(&m_writeWatch, &TFolderWriteWatch::Written, this, [this](const QByteArray& name) {
        if (name.isEmpty()) {
            m_allWritten = true;
        } else {
            m_written.insert(name.toStdString());
        }
        m_writtenTimer.start();
    });
}

TLocalFileListModel::~TLocalFileListModel() {
    for (auto& [id, worker] : m_workers) {
        worker.request_stop();
    }
}

void TLocalFileListModel::RunWorker(int id, std::function<void(const std::stop_token&)> work) {
    // The thread is joined when its last message has arrived, so the user-interface thread
    // never waits for a worker that still works (a read of a hung network mount, a long sort).
    m_workers.emplace(id,
                      std::jthread([this, id, work = std::move(work)](const std::stop_token& stop) {
                          work(stop);
                          QMetaObject::invokeMethod(
                              this, [this, id] { m_workers.erase(id); }, Qt::QueuedConnection);
                      }));
}

void TLocalFileListModel::SetFolder(const std::string& folder, bool watch) {
    if (!m_watcher.directories().isEmpty()) {
        m_watcher.removePaths(m_watcher.directories());
    }
    m_folder = folder;
    beginResetModel();
    m_rows.clear();
    ++m_rowsVersion;
    endResetModel();
    // The watcher takes the path as text: a path that text does not carry is not watched.
    const QString text = Decoded(folder);
    if (watch && !folder.empty() && QFile::encodeName(text).toStdString() == folder) {
        m_watcher.addPath(text);
    }
    m_writeWatch.Watch(watch ? folder : std::string());
    m_written.clear();
    m_allWritten = false;
    StartReading(false);
}

void TLocalFileListModel::Refresh() {
    StartReading(true);
}

void TLocalFileListModel::RefreshEntries(const std::set<std::string>& names) {
    if (m_folder.empty() || m_rows.empty()) {
        return;
    }
    // The worker reads copies of the entries; what changed comes back with the rows' numbers.
    std::vector<TLocalFileEntry> entries;
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (names.empty() || names.contains(m_rows[row].Name)) {
            entries.push_back(m_rows[row]);
            rows.push_back(row);
        }
    }
    RunWorker(++m_nextWorker,
              [this, version = m_rowsVersion, folder = m_folder, entries = std::move(entries),
               rows = std::move(rows)](const std::stop_token& stop) {
                  auto changed = ReadChangedEntries(folder, entries, stop);
                  if (stop.stop_requested() || changed.empty()) {
                      return;
                  }
                  for (auto& [at, entry] : changed) {
                      at = rows[at];
                  }
                  QMetaObject::invokeMethod(
                      this,
                      [this, version, folder, changed = std::move(changed)]() mutable {
                          if (folder == m_folder) {
                              ApplyChangedEntries(version, std::move(changed));
                          }
                      },
                      Qt::QueuedConnection);
              });
}

void TLocalFileListModel::ApplyChangedEntries(
    int version, std::vector<std::pair<std::size_t, TLocalFileEntry>> changed) {
    if (version != m_rowsVersion) {
        // The rows moved or changed meanwhile: they are found by name.
        std::unordered_map<std::string_view, std::size_t> rowOf;
        rowOf.reserve(m_rows.size());
        for (std::size_t row = 0; row < m_rows.size(); ++row) {
            rowOf.emplace(m_rows[row].Name, row);
        }
        std::erase_if(changed, [&](auto& item) {
            const auto found = rowOf.find(item.second.Name);
            item.first = found != rowOf.end() ? found->second : m_rows.size();
            return found == rowOf.end();
        });
    }
    for (auto& [row, entry] : changed) {
        if (row < m_rows.size() && m_rows[row].Name == entry.Name) {
            m_rows[row] = std::move(entry);
            const int at = static_cast<int>(row);
            Q_EMIT dataChanged(index(at, 0), index(at, columnCount() - 1));
        }
    }
    ++m_rowsVersion;
    if (std::abs(m_sortColumn) == 2 || std::abs(m_sortColumn) == 4) {
        StartSort();
    }
    if (m_loaded) {
        Q_EMIT Loaded(Decoded(m_folder));
    }
}

void TLocalFileListModel::SetNameFilters(const std::vector<std::string>& patterns) {
    m_patterns = patterns;
    beginResetModel();
    m_rows.clear();
    ++m_rowsVersion;
    endResetModel();
    StartReading(false);
}

void TLocalFileListModel::SetCompareMarks(std::shared_ptr<const TCompareMarks> marks,
                                          bool onlyDifferences) {
    if (!marks && !m_look.Marks()) {
        return;
    }
    m_look.SetMarks(std::move(marks));
    const bool filtered = onlyDifferences && m_look.Marks();
    if (filtered || m_onlyDifferences) {
        // The rows that stay keep their place (and the selection).
        m_onlyDifferences = filtered;
        StartReading(!m_rows.empty());
    }
    if (!m_rows.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, 3));
    }
}

void TLocalFileListModel::StartReading(bool refresh) {
    if (const auto reader = m_workers.find(m_readerId); reader != m_workers.end()) {
        reader->second.request_stop();
    }
    m_loaded = false;
    const int generation = ++m_generation;
    if (m_folder.empty()) {
        return;
    }
    // The worker reads, filters and sorts the whole folder; the user-interface thread only
    // swaps the rows in.
    m_readerId = ++m_nextWorker;
    std::shared_ptr<const TCompareMarks> differences = m_onlyDifferences ? m_look.Marks() : nullptr;
    RunWorker(m_readerId, [this, generation, refresh, sortColumn = m_sortColumn, folder = m_folder,
                           patterns = m_patterns,
                           differences = std::move(differences)](const std::stop_token& stop) {
        std::string error;
        std::vector<TLocalFileEntry> rows;
        ReadLocalFolder(
            folder, kBatch,
            [&](std::vector<TLocalFileEntry>&& batch) {
                for (TLocalFileEntry& entry : batch) {
                    if (PassesFilter(entry, patterns) &&
                        (!differences || ShownWithOnlyDifferences(*differences, entry.Name))) {
                        rows.push_back(std::move(entry));
                    }
                }
            },
            stop, error);
        if (stop.stop_requested()) {
            return;
        }
        SortLocalEntries(rows, sortColumn, TypeNamesOfOneSort(m_icons));
        QMetaObject::invokeMethod(
            this,
            [this, generation, refresh, sortColumn, rows = std::move(rows),
             text = QString::fromStdString(error)]() mutable {
                Finish(generation, refresh, sortColumn, std::move(rows), text);
            },
            Qt::QueuedConnection);
    });
}

void TLocalFileListModel::Finish(int generation, bool refresh, int sortColumn,
                                 std::vector<TLocalFileEntry> rows, const QString& error) {
    if (generation != m_generation) {
        return;
    }
    m_error = error;
    if (refresh) {
        // Keeps the rows that stay, and so the selection; then every row takes the place the
        // worker sorted it to.
        const std::vector<std::size_t> ranks = ApplyRefresh(std::move(rows));
        if (sortColumn == m_sortColumn && !m_sortPending) {
            std::vector<std::size_t> order(ranks.size());
            for (std::size_t row = 0; row < ranks.size(); ++row) {
                order[ranks[row]] = row;
            }
            ApplyOrder(order);
        } else {
            StartSort();
        }
    } else {
        beginResetModel();
        m_rows = std::move(rows);
        ++m_rowsVersion;
        endResetModel();
        if (sortColumn != m_sortColumn) {
            StartSort();
        }
    }
    m_loaded = true;
    Q_EMIT Loaded(Decoded(m_folder));
}

std::vector<std::size_t> TLocalFileListModel::ApplyRefresh(std::vector<TLocalFileEntry> incoming) {
    ++m_rowsVersion;
    std::unordered_map<std::string, std::size_t> fresh;
    fresh.reserve(incoming.size());
    for (std::size_t i = 0; i < incoming.size(); ++i) {
        fresh.emplace(incoming[i].Name, i);
    }
    // Gone rows, from the bottom so that the rows above keep their numbers.
    for (int row = static_cast<int>(m_rows.size()) - 1; row >= 0; --row) {
        if (!fresh.contains(m_rows[static_cast<std::size_t>(row)].Name)) {
            beginRemoveRows({}, row, row);
            m_rows.erase(m_rows.begin() + row);
            endRemoveRows();
        }
    }
    // Each row's place in the incoming (sorted) list.
    std::vector<std::size_t> ranks;
    ranks.reserve(incoming.size());
    std::vector<bool> known(incoming.size(), false);
    for (TLocalFileEntry& row : m_rows) {
        const std::size_t rank = fresh.at(row.Name);
        row = incoming[rank];
        known[rank] = true;
        ranks.push_back(rank);
    }
    if (!m_rows.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, 3));
    }
    std::vector<TLocalFileEntry> added;
    for (std::size_t rank = 0; rank < incoming.size(); ++rank) {
        if (!known[rank]) {
            added.push_back(std::move(incoming[rank]));
            ranks.push_back(rank);
        }
    }
    if (!added.empty()) {
        const int first = static_cast<int>(m_rows.size());
        beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
        std::move(added.begin(), added.end(), std::back_inserter(m_rows));
        endInsertRows();
    }
    return ranks;
}

void TLocalFileListModel::SetSortColumn(int sortColumn) {
    m_sortColumn = sortColumn;
    StartSort();
}

void TLocalFileListModel::StartSort() {
    m_sortPending = true;
    // The worker sorts a copy of the rows and hands back only the new order; the rows take it
    // when they have not changed meanwhile.
    RunWorker(++m_nextWorker, [this, version = m_rowsVersion, sortColumn = m_sortColumn,
                               rows = m_rows](const std::stop_token& stop) {
        std::vector<std::size_t> order =
            LocalSortOrder(rows, sortColumn, TypeNamesOfOneSort(m_icons));
        if (stop.stop_requested()) {
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, version, sortColumn, order = std::move(order)] {
                if (sortColumn != m_sortColumn) {
                    return; // a later sort is on its way
                }
                if (version != m_rowsVersion) {
                    StartSort(); // the rows changed while they were sorted
                    return;
                }
                m_sortPending = false;
                ApplyOrder(order);
                Q_EMIT Sorted();
            },
            Qt::QueuedConnection);
    });
}

void TLocalFileListModel::ApplyOrder(const std::vector<std::size_t>& order) {
    if (order.size() != m_rows.size()) {
        return;
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRow(order.size());
    std::vector<TLocalFileEntry> sorted;
    sorted.reserve(m_rows.size());
    for (std::size_t row = 0; row < order.size(); ++row) {
        newRow[order[row]] = static_cast<int>(row);
        sorted.push_back(std::move(m_rows[order[row]]));
    }
    m_rows = std::move(sorted);
    ++m_rowsVersion;
    // The persistent indexes (the selection, the current item) follow their rows.
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& old : persistent) {
        moved.append(index(newRow[static_cast<std::size_t>(old.row())], old.column()));
    }
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const TLocalFileEntry& TLocalFileListModel::Entry(const QModelIndex& index) const {
    return m_rows[static_cast<std::size_t>(index.row())];
}

QString TLocalFileListModel::FileName(const QModelIndex& index) const {
    return index.isValid() ? Decoded(Entry(index).Name) : QString();
}

QString TLocalFileListModel::FilePath(const QModelIndex& index) const {
    return index.isValid() ? Decoded(FilePathBytes(index)) : QString();
}

std::string TLocalFileListModel::FilePathBytes(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    std::string path = m_folder;
    if (!path.ends_with('/')) {
        path += '/';
    }
    return path + Entry(index).Name;
}

bool TLocalFileListModel::IsDir(const QModelIndex& index) const {
    return index.isValid() && Entry(index).IsFolder;
}

const std::pair<QString, QIcon>& TLocalFileListModel::TypeOf(const std::string& name) const {
    // By the extension alone: nothing is read from the disk on this thread.
    const std::string extension = Extension(name);
    auto found = m_typeCache.find(extension);
    if (found == m_typeCache.end()) {
        const QString text = Decoded(name);
        found =
            m_typeCache
                .emplace(extension, std::pair{m_icons.TypeForName(text), m_icons.IconForName(text)})
                .first;
    }
    return found->second;
}

QString TLocalFileListModel::TypeName(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    const TLocalFileEntry& entry = Entry(index);
    return entry.IsFolder ? tr("Folder") : TypeOf(entry.Name).first;
}

QModelIndex TLocalFileListModel::IndexOfName(const QString& name) const {
    return IndexOfBytes(QFile::encodeName(name).toStdString());
}

QModelIndex TLocalFileListModel::IndexOfBytes(const std::string& name) const {
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].Name == name) {
            return index(static_cast<int>(row), 0);
        }
    }
    return {};
}

int TLocalFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TLocalFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant TLocalFileListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const TLocalFileEntry& entry = Entry(index);
    if (role == Qt::DisplayRole || (role == Qt::EditRole && index.column() == 0)) {
        switch (index.column()) {
        case 0:
            return Decoded(entry.Name);
        case 1:
            return entry.IsFolder
                       ? QString()
                       : QString::fromStdString(FormatFileSize(entry.Size, DecimalPoint()));
        case 2:
            return TypeName(index);
        case 3:
            return QLocale().toString(QDateTime::fromSecsSinceEpoch(entry.ModifiedTime),
                                      QLocale::ShortFormat);
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        return m_look.Icon(entry.Name, entry.IsFolder ? "/" : Extension(entry.Name), [&] {
            return entry.IsFolder ? m_icons.icon(QAbstractFileIconProvider::Folder)
                                  : TypeOf(entry.Name).second;
        });
    }
    if (role == Qt::BackgroundRole) {
        return m_look.Background(entry.Name);
    }
    if (role == Qt::ForegroundRole) {
        return m_look.Foreground(entry.Name);
    }
    if (role == Qt::ToolTipRole) {
        return m_look.ToolTip(entry.Name);
    }
    if (role == Qt::TextAlignmentRole && index.column() == 1) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant TLocalFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kTitles[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Size"),
                                          QT_TR_NOOP("Type"), QT_TR_NOOP("Date Modified")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4) {
        return tr(kTitles[section]);
    }
    return {};
}

Qt::ItemFlags TLocalFileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == 0) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool TLocalFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0) {
        return false;
    }
    const QString name = value.toString();
    if (name == FileName(index)) {
        return true;
    }
    std::string error;
    // The old name as the file system has its bytes: a name that is not valid UTF-8 can be
    // renamed to one that is.
    if (!RenameLocal(FilePathBytes(index), QFile::encodeName(name).toStdString(), error)) {
        Q_EMIT RenameFailed(
            tr("Cannot rename [%1] to [%2]: %3.").arg(FilePath(index), name, CoreText(error)));
        return false;
    }
    m_rows[static_cast<std::size_t>(index.row())].Name = QFile::encodeName(name).toStdString();
    ++m_rowsVersion;
    Q_EMIT dataChanged(index, index.siblingAtColumn(3));
    return true;
}

std::string TLocalFileListModel::DragPath(const QModelIndex& index) const {
    return FilePathBytes(index);
}

} // namespace qx
