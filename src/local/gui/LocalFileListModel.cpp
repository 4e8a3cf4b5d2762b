#include "local/gui/LocalFileListModel.h"

#include "local/LocalFileSystem.h"

#include <QAbstractFileIconProvider>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeData>
#include <QUrl>

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
} // namespace

TLocalFileListModel::TLocalFileListModel(const QAbstractFileIconProvider& icons, QObject* parent)
    : QAbstractTableModel(parent), m_icons(icons) {
    setObjectName(QStringLiteral("FileListModel"));
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(300); // a burst of changes is read once
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] { StartReading(!m_rows.empty()); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { m_refreshTimer.start(); });
}

TLocalFileListModel::~TLocalFileListModel() {
    m_reader.request_stop();
}

void TLocalFileListModel::SetFolder(const QString& folder) {
    if (!m_watcher.directories().isEmpty()) {
        m_watcher.removePaths(m_watcher.directories());
    }
    m_folder = folder;
    beginResetModel();
    m_rows.clear();
    endResetModel();
    if (!folder.isEmpty()) {
        m_watcher.addPath(folder);
    }
    StartReading(false);
}

void TLocalFileListModel::Refresh() {
    StartReading(true);
}

void TLocalFileListModel::SetNameFilters(const std::vector<std::string>& patterns) {
    m_patterns = patterns;
    beginResetModel();
    m_rows.clear();
    endResetModel();
    StartReading(false);
}

void TLocalFileListModel::StartReading(bool refresh) {
    m_reader.request_stop();
    if (m_reader.joinable()) {
        m_reader.join();
    }
    m_loaded = false;
    const int generation = ++m_generation;
    if (m_folder.isEmpty()) {
        return;
    }
    // The worker reads, filters and sorts the whole folder; the user-interface thread only
    // swaps the rows in.
    m_reader =
        std::jthread([this, generation, refresh, sortColumn = m_sortColumn, folder = m_folder,
                      patterns = m_patterns](const std::stop_token& stop) {
            std::string error;
            std::vector<TLocalFileEntry> rows;
            ReadLocalFolder(
                QFile::encodeName(folder).toStdString(), kBatch,
                [&](std::vector<TLocalFileEntry>&& batch) {
                    for (TLocalFileEntry& entry : batch) {
                        if (PassesFilter(entry, patterns)) {
                            rows.push_back(std::move(entry));
                        }
                    }
                },
                stop, error);
            if (stop.stop_requested()) {
                return;
            }
            std::unordered_map<std::string, std::string> types; // by extension, for this sort
            SortLocalEntries(rows, sortColumn, [&](const TLocalFileEntry& entry) {
                const std::string extension = Extension(entry.Name);
                auto found = types.find(extension);
                if (found == types.end()) {
                    const QFileInfo info(folder + u'/' + Decoded(entry.Name));
                    found = types.emplace(extension, m_icons.type(info).toStdString()).first;
                }
                return found->second;
            });
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
        ApplyRefresh(std::move(rows)); // keeps the rows that stay, and so the selection
        SortRows();
    } else {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
        if (sortColumn != m_sortColumn) {
            SortRows();
        }
    }
    m_loaded = true;
    Q_EMIT Loaded(m_folder);
}

void TLocalFileListModel::ApplyRefresh(std::vector<TLocalFileEntry> incoming) {
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
    std::unordered_set<std::string> known;
    known.reserve(m_rows.size());
    for (TLocalFileEntry& row : m_rows) {
        row = incoming[fresh.at(row.Name)];
        known.insert(row.Name);
    }
    if (!m_rows.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, 3));
    }
    std::vector<TLocalFileEntry> added;
    for (TLocalFileEntry& entry : incoming) {
        if (!known.contains(entry.Name)) {
            added.push_back(std::move(entry));
        }
    }
    if (!added.empty()) {
        const int first = static_cast<int>(m_rows.size());
        beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
        std::move(added.begin(), added.end(), std::back_inserter(m_rows));
        endInsertRows();
    }
}

void TLocalFileListModel::SetSortColumn(int sortColumn) {
    m_sortColumn = sortColumn;
    SortRows();
}

void TLocalFileListModel::SortRows() {
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(persistent.size()));
    for (const QModelIndex& index : persistent) {
        names.push_back(m_rows[static_cast<std::size_t>(index.row())].Name);
    }
    SortLocalEntries(m_rows, m_sortColumn, [this](const TLocalFileEntry& entry) {
        if (entry.IsFolder) {
            return std::string("Folder");
        }
        const std::string extension = Extension(entry.Name);
        auto found = m_typeCache.find(extension);
        if (found == m_typeCache.end()) {
            const QFileInfo info(m_folder + u'/' + Decoded(entry.Name));
            found =
                m_typeCache.emplace(extension, std::pair{m_icons.type(info), m_icons.icon(info)})
                    .first;
        }
        return found->second.first.toStdString();
    });
    // The new rows of the persistent indexes (the selection, the current item), by name.
    std::unordered_map<std::string_view, int> rowOf;
    if (!persistent.isEmpty()) {
        rowOf.reserve(m_rows.size());
        for (std::size_t row = 0; row < m_rows.size(); ++row) {
            rowOf.emplace(m_rows[row].Name, static_cast<int>(row));
        }
    }
    QModelIndexList moved;
    for (qsizetype i = 0; i < persistent.size(); ++i) {
        const auto found = rowOf.find(names[static_cast<std::size_t>(i)]);
        moved.append(found == rowOf.end() ? QModelIndex()
                                          : index(found->second, persistent[i].column()));
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
    return index.isValid() ? QDir(m_folder).filePath(FileName(index)) : QString();
}

std::string TLocalFileListModel::FilePathBytes(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    std::string path = QFile::encodeName(m_folder).toStdString();
    if (!path.ends_with('/')) {
        path += '/';
    }
    return path + Entry(index).Name;
}

bool TLocalFileListModel::IsDir(const QModelIndex& index) const {
    return index.isValid() && Entry(index).IsFolder;
}

QString TLocalFileListModel::TypeName(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    const TLocalFileEntry& entry = Entry(index);
    if (entry.IsFolder) {
        return QStringLiteral("Folder");
    }
    const std::string extension = Extension(entry.Name);
    auto found = m_typeCache.find(extension);
    if (found == m_typeCache.end()) {
        const QFileInfo info(FilePath(index));
        found =
            m_typeCache.emplace(extension, std::pair{m_icons.type(info), m_icons.icon(info)}).first;
    }
    return found->second.first;
}

QModelIndex TLocalFileListModel::IndexOfName(const QString& name) const {
    const std::string bytes = QFile::encodeName(name).toStdString();
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].Name == bytes) {
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
            return entry.IsFolder ? QString() : QLocale().formattedDataSize(entry.Size);
        case 2:
            return TypeName(index);
        case 3:
            return QLocale().toString(QDateTime::fromSecsSinceEpoch(entry.ModifiedTime),
                                      QLocale::ShortFormat);
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        if (entry.IsFolder) {
            return m_icons.icon(QAbstractFileIconProvider::Folder);
        }
        TypeName(index); // fills the cache
        return m_typeCache[Extension(entry.Name)].second;
    }
    if (role == Qt::TextAlignmentRole && index.column() == 1) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant TLocalFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kTitles[] = {"Name", "Size", "Type", "Date Modified"};
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
        Q_EMIT RenameFailed(tr("Cannot rename [%1] to [%2]: %3.")
                                .arg(FilePath(index), name, QString::fromStdString(error)));
        return false;
    }
    m_rows[static_cast<std::size_t>(index.row())].Name = QFile::encodeName(name).toStdString();
    Q_EMIT dataChanged(index, index.siblingAtColumn(3));
    return true;
}

QStringList TLocalFileListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* TLocalFileListModel::mimeData(const QModelIndexList& indexes) const {
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes) {
        if (index.column() == 0) {
            urls.append(QUrl::fromLocalFile(FilePath(index)));
        }
    }
    auto* mime = new QMimeData; // the drag takes it over
    mime->setUrls(urls);
    return mime;
}

Qt::DropActions TLocalFileListModel::supportedDragActions() const {
    return Qt::CopyAction;
}

} // namespace qx
