// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/LocalFolderTreeModel.h"

#include "local/LocalFileSystem.h"
#include "local/LocalFolderListing.h"
#include "local/LocalTransfers.h"
#include "widgets/CoreTexts.h"

#include <QAbstractFileIconProvider>
#include <QFile>
#include <QIcon>
#include <QSocketNotifier>

#include <algorithm>
#include <fcntl.h>
#include <unordered_set>

namespace qx {

struct TLocalFolderTreeModel::Node {
    enum class State { Unread, Reading, Read };
    std::string Name; // the folder's name as bytes; a top-level node's is its path
    std::string Path;
    Node* Parent = nullptr;
    int Row = 0; // its row under the parent
    std::vector<std::unique_ptr<Node>> Children;
    State Status = State::Unread;
    int ReadId = 0; // the read whose result is awaited
    bool Watched = false;
    std::optional<TTopFolder> Top;
};

namespace {

QString Decoded(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

// A path that QString carries without loss can be watched (the watcher takes QString paths).
bool Watchable(const std::string& path) {
    return QFile::encodeName(Decoded(path)).toStdString() == path;
}

std::string ChildPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

} // namespace

TLocalFolderTreeModel::TLocalFolderTreeModel(const QAbstractFileIconProvider& icons,
                                             std::string home, QObject* parent)
    : TUriListDragModel(parent), m_icons(icons), m_home(std::move(home)),
      m_root(std::make_unique<Node>()) {
    setObjectName(QStringLiteral("FolderTreeModel"));
    m_root->Status = Node::State::Read;
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(300); // a burst of changes is read once
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        m_changed.insert(path);
        m_changeTimer.start();
    });
    connect(&m_changeTimer, &QTimer::timeout, this, [this] {
        const QSet<QString> changed = std::exchange(m_changed, {});
        for (const QString& path : changed) {
            if (Node* node = FindNode(QFile::encodeName(path).toStdString())) {
                StartRead(*node);
            }
        }
    });
    // The kernel flags the mount table's file when a mount comes or goes.
    m_mountTable = UniqueFd(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC));
    if (m_mountTable) {
        m_mountWatch = new QSocketNotifier(m_mountTable.get(), QSocketNotifier::Exception, this);
        connect(m_mountWatch, &QSocketNotifier::activated, this, [this] { ReloadVolumes(); });
    }
    ReloadVolumes();
}

TLocalFolderTreeModel::~TLocalFolderTreeModel() {
    for (auto& [id, reader] : m_readers) {
        reader.request_stop();
    }
}

void TLocalFolderTreeModel::ReloadVolumes() {
    m_mounts = ReadMountTable();
    SetTopFolders(qx::TopFolders(m_mounts, m_home));
}

void TLocalFolderTreeModel::SetTopFolders(std::vector<TTopFolder> tops) {
    const auto same = [](const TTopFolder& a, const TTopFolder& b) {
        return a.Path == b.Path && a.Kind == b.Kind;
    };
    for (int row = static_cast<int>(m_root->Children.size()) - 1; row >= 0; --row) {
        const TTopFolder& known = *m_root->Children[static_cast<std::size_t>(row)]->Top;
        if (std::none_of(tops.begin(), tops.end(),
                         [&](const TTopFolder& top) { return same(top, known); })) {
            RemoveChild(*m_root, row);
        }
    }
    // What stays is in the order of the new list; the new ones go in between.
    for (std::size_t i = 0; i < tops.size(); ++i) {
        if (i < m_root->Children.size() && same(*m_root->Children[i]->Top, tops[i])) {
            m_root->Children[i]->Top = tops[i];
            continue;
        }
        auto node = std::make_unique<Node>();
        node->Name = tops[i].Path;
        node->Path = tops[i].Path;
        node->Top = tops[i];
        InsertChild(*m_root, std::move(node), static_cast<int>(i));
    }
    m_tops = std::move(tops);
}

TLocalFolderTreeModel::Node* TLocalFolderTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_root.get();
}

QModelIndex TLocalFolderTreeModel::IndexOfNode(const Node* node) const {
    if (node == nullptr || node == m_root.get()) {
        return {};
    }
    return createIndex(node->Row, 0, const_cast<Node*>(node));
}

TLocalFolderTreeModel::Node* TLocalFolderTreeModel::FindNode(const std::string& path) const {
    const auto top = DeepestTopFolder(m_tops, path);
    if (!top || *top >= m_root->Children.size()) {
        return nullptr;
    }
    Node* node = m_root->Children[*top].get();
    std::string rest =
        path.substr(std::min(path.size(), node->Path == "/" ? 0 : node->Path.size()));
    for (std::size_t at = 0; node != nullptr && at < rest.size();) {
        const std::size_t end = std::min(rest.find('/', at), rest.size());
        const std::string name = rest.substr(at, end - at);
        at = end + 1;
        if (name.empty()) {
            continue;
        }
        const auto found =
            std::find_if(node->Children.begin(), node->Children.end(),
                         [&](const std::unique_ptr<Node>& child) { return child->Name == name; });
        node = found == node->Children.end() ? nullptr : found->get();
    }
    return node;
}

QModelIndex TLocalFolderTreeModel::IndexOf(const std::string& path) {
    if (!path.starts_with('/')) {
        return {};
    }
    const std::string clean = CleanLocalPath(path);
    const auto top = DeepestTopFolder(m_tops, clean);
    if (!top || *top >= m_root->Children.size()) {
        return {};
    }
    Node* node = m_root->Children[*top].get();
    const std::string rest = clean.substr(node->Path == "/" ? 0 : node->Path.size());
    for (std::size_t at = 0; at < rest.size();) {
        const std::size_t end = std::min(rest.find('/', at), rest.size());
        const std::string name = rest.substr(at, end - at);
        at = end + 1;
        if (name.empty()) {
            continue;
        }
        auto& children = node->Children;
        const auto found =
            std::find_if(children.begin(), children.end(),
                         [&](const std::unique_ptr<Node>& child) { return child->Name == name; });
        if (found != children.end()) {
            node = found->get();
            continue;
        }
        // Not read yet: the node is made now, and kept or dropped when its folder is read.
        auto child = std::make_unique<Node>();
        child->Name = name;
        child->Path = ChildPath(node->Path, name);
        const auto place =
            std::find_if(children.begin(), children.end(), [&](const std::unique_ptr<Node>& c) {
                return CompareLocalNames(name, c->Name) < 0;
            });
        const int row = static_cast<int>(place - children.begin());
        Node* made = child.get();
        InsertChild(*node, std::move(child), row);
        node = made;
    }
    return IndexOfNode(node);
}

std::string TLocalFolderTreeModel::FilePath(const QModelIndex& index) const {
    return index.isValid() ? NodeOf(index)->Path : std::string();
}

QString TLocalFolderTreeModel::DisplayPath(const QModelIndex& index) const {
    return Decoded(FilePath(index));
}

bool TLocalFolderTreeModel::IsTopLevel(const QModelIndex& index) const {
    return index.isValid() && NodeOf(index)->Top.has_value();
}

bool TLocalFolderTreeModel::IsRead(const QModelIndex& index) const {
    return NodeOf(index)->Status == Node::State::Read;
}

bool TLocalFolderTreeModel::IsOnNetwork(const std::string& path) const {
    const auto mount = MountOf(m_mounts, path);
    return mount && IsNetworkFileSystem(mount->FsType);
}

bool TLocalFolderTreeModel::IsMountPoint(const std::string& path) const {
    return std::any_of(m_mounts.begin(), m_mounts.end(),
                       [&](const TMountEntry& mount) { return mount.MountPoint == path; });
}

void TLocalFolderTreeModel::Refresh() {
    ReloadVolumes();
    std::vector<Node*> pending{m_root.get()};
    std::vector<Node*> read;
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        for (const auto& child : node->Children) {
            if (child->Status != Node::State::Unread) {
                read.push_back(child.get());
                pending.push_back(child.get());
            }
        }
    }
    for (Node* node : read) {
        StartRead(*node);
    }
}

void TLocalFolderTreeModel::StartRead(Node& node) {
    if (node.Status == Node::State::Unread) {
        node.Status = Node::State::Reading;
    }
    const int id = ++m_nextRead;
    node.ReadId = id;
    m_readers.emplace(
        id, std::jthread([this, id, path = node.Path](const std::stop_token& stop) {
            std::vector<TLocalFileEntry> folders;
            std::string error;
            ReadLocalFolder(
                path, 1000,
                [&](std::vector<TLocalFileEntry>&& batch) {
                    for (TLocalFileEntry& entry : batch) {
                        if (entry.IsFolder) {
                            folders.push_back(std::move(entry));
                        }
                    }
                },
                stop, error);
            if (stop.stop_requested()) {
                return;
            }
            SortLocalEntries(folders, 1, {});
            std::vector<std::string> names;
            names.reserve(folders.size());
            for (TLocalFileEntry& entry : folders) {
                names.push_back(std::move(entry.Name));
            }
            QMetaObject::invokeMethod(
                this, [this, id, path, names = std::move(names)] { OnRead(id, path, names); },
                Qt::QueuedConnection);
        }));
}

void TLocalFolderTreeModel::OnRead(int id, const std::string& path,
                                   const std::vector<std::string>& names) {
    const auto reader = m_readers.find(id);
    if (reader != m_readers.end()) {
        m_readers.erase(reader); // it has handed its result over: it ends now
    }
    Node* node = FindNode(path);
    if (node == nullptr || node->ReadId != id) {
        return;
    }
    node->Status = Node::State::Read;
    Merge(*node, names);
    Watch(*node);
    Q_EMIT FolderRead(Decoded(path));
}

void TLocalFolderTreeModel::Merge(Node& node, const std::vector<std::string>& names) {
    const std::unordered_set<std::string> fresh(names.begin(), names.end());
    for (int row = static_cast<int>(node.Children.size()) - 1; row >= 0; --row) {
        if (!fresh.contains(node.Children[static_cast<std::size_t>(row)]->Name)) {
            RemoveChild(node, row);
        }
    }
    std::unordered_set<std::string> known;
    for (const auto& child : node.Children) {
        known.insert(child->Name);
    }
    std::size_t row = 0;
    for (const std::string& name : names) { // both in name order
        if (known.contains(name)) {
            while (row < node.Children.size() && node.Children[row]->Name != name) {
                ++row;
            }
            row = std::min(row + 1, node.Children.size());
            continue;
        }
        auto child = std::make_unique<Node>();
        child->Name = name;
        child->Path = ChildPath(node.Path, name);
        InsertChild(node, std::move(child), static_cast<int>(row));
        ++row;
    }
    if (node.Children.empty() && node.Parent != nullptr) {
        const QModelIndex self = IndexOfNode(&node);
        Q_EMIT dataChanged(self, self); // no more expander
    }
}

void TLocalFolderTreeModel::InsertChild(Node& parent, std::unique_ptr<Node> child, int row) {
    beginInsertRows(IndexOfNode(&parent), row, row);
    child->Parent = &parent;
    parent.Children.insert(parent.Children.begin() + row, std::move(child));
    for (std::size_t i = static_cast<std::size_t>(row); i < parent.Children.size(); ++i) {
        parent.Children[i]->Row = static_cast<int>(i);
    }
    endInsertRows();
}

void TLocalFolderTreeModel::RemoveChild(Node& parent, int row) {
    beginRemoveRows(IndexOfNode(&parent), row, row);
    Unwatch(*parent.Children[static_cast<std::size_t>(row)]);
    parent.Children.erase(parent.Children.begin() + row);
    for (std::size_t i = static_cast<std::size_t>(row); i < parent.Children.size(); ++i) {
        parent.Children[i]->Row = static_cast<int>(i);
    }
    endRemoveRows();
}

void TLocalFolderTreeModel::Watch(Node& node) {
    // Network folders are read again on Refresh only: a watch would touch them here.
    if (node.Watched || IsOnNetwork(node.Path) || !Watchable(node.Path)) {
        return;
    }
    node.Watched = m_watcher.addPath(Decoded(node.Path));
}

void TLocalFolderTreeModel::Unwatch(Node& node) {
    if (node.Watched) {
        m_watcher.removePath(Decoded(node.Path));
        node.Watched = false;
    }
    for (const auto& child : node.Children) {
        Unwatch(*child);
    }
}

void TLocalFolderTreeModel::RePath(Node& node) {
    for (const auto& child : node.Children) {
        child->Path = ChildPath(node.Path, child->Name);
        RePath(*child);
    }
}

QModelIndex TLocalFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    if (row < 0 || column != 0 || static_cast<std::size_t>(row) >= node->Children.size()) {
        return {};
    }
    return createIndex(row, 0, node->Children[static_cast<std::size_t>(row)].get());
}

QModelIndex TLocalFolderTreeModel::parent(const QModelIndex& child) const {
    return child.isValid() ? IndexOfNode(NodeOf(child)->Parent) : QModelIndex();
}

int TLocalFolderTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : static_cast<int>(NodeOf(parent)->Children.size());
}

int TLocalFolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TLocalFolderTreeModel::hasChildren(const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    return node->Status != Node::State::Read || !node->Children.empty();
}

bool TLocalFolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    return parent.isValid() && NodeOf(parent)->Status == Node::State::Unread;
}

void TLocalFolderTreeModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) {
        StartRead(*NodeOf(parent));
    }
}

QVariant TLocalFolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Node& node = *NodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        if (node.Top && node.Top->Kind == TTopFolderKind::Home) {
            return tr("Home");
        }
        if (node.Top && node.Top->Kind == TTopFolderKind::Volume) {
            return Decoded(LocalBaseName(node.Path));
        }
        return Decoded(node.Name);
    case Qt::EditRole:
        return Decoded(node.Name);
    case Qt::ToolTipRole:
        return Decoded(node.Path);
    case Qt::DecorationRole: {
        const QIcon folder = m_icons.icon(QAbstractFileIconProvider::Folder);
        const QIcon drive = m_icons.icon(QAbstractFileIconProvider::Drive);
        if (!node.Top) {
            return folder;
        }
        switch (node.Top->Kind) {
        case TTopFolderKind::Root:
            return QIcon::fromTheme(QStringLiteral("drive-harddisk"), drive);
        case TTopFolderKind::Home:
            return QIcon::fromTheme(QStringLiteral("user-home"), folder);
        case TTopFolderKind::Volume:
            if (node.Top->Network) {
                return QIcon::fromTheme(QStringLiteral("folder-remote"), drive);
            }
            if (node.Path.starts_with("/media/") || node.Path.starts_with("/run/media/")) {
                return QIcon::fromTheme(QStringLiteral("drive-removable-media"), drive);
            }
            return QIcon::fromTheme(QStringLiteral("drive-harddisk"), drive);
        }
        return drive;
    }
    default:
        return {};
    }
}

Qt::ItemFlags TLocalFolderTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (!NodeOf(index)->Top) {
        flags |= Qt::ItemIsEditable; // the roots of volumes are not renamed here
    }
    return flags;
}

bool TLocalFolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || NodeOf(index)->Top) {
        return false;
    }
    Node& node = *NodeOf(index);
    const std::string name = QFile::encodeName(value.toString()).toStdString();
    if (value.toString() == Decoded(node.Name)) {
        return true; // unchanged, also for a name QString cannot carry
    }
    std::string error;
    if (!RenameLocal(node.Path, name, error)) {
        Q_EMIT RenameFailed(tr("Cannot rename [%1] to [%2]: %3.")
                                .arg(Decoded(node.Path), value.toString(), CoreText(error)));
        return false;
    }
    Unwatch(node);
    node.Name = name;
    node.Path = ChildPath(node.Parent->Path, name);
    RePath(node);
    Watch(node);
    Q_EMIT dataChanged(index, index);
    return true;
}

std::string TLocalFolderTreeModel::DragPath(const QModelIndex& index) const {
    return NodeOf(index)->Path;
}

} // namespace qx
