// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "local/LocalVolumes.h"
#include "local/gui/UriListDrag.h"
#include "platform/UniqueFd.h"

#include <QAbstractItemModel>
#include <QFileSystemWatcher>
#include <QSet>
#include <QTimer>

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QAbstractFileIconProvider;
class QSocketNotifier;

namespace qx {

// The folder tree of the local explorer. Its top level holds the file system's root, the home
// folder and the mounted volumes of the user (from the kernel's mount table, which it follows);
// below them the folders, hidden ones too. Names are kept as the file system's bytes, so a
// folder whose name is not valid UTF-8 is shown and reached. Folders are read on worker threads
// when the view asks for them, so a slow or hung network mount never holds the user-interface
// thread; local folders that were read are watched and follow changes on disk.
class TLocalFolderTreeModel final : public TUriListDragModel<QAbstractItemModel> {
    Q_OBJECT
public:
    TLocalFolderTreeModel(const QAbstractFileIconProvider& icons, std::string home,
                          QObject* parent = nullptr);
    ~TLocalFolderTreeModel() override;
    TLocalFolderTreeModel(const TLocalFolderTreeModel&) = delete;
    TLocalFolderTreeModel& operator=(const TLocalFolderTreeModel&) = delete;

    // Replaces the top level (for tests; the model reads the mount table itself).
    void SetTopFolders(std::vector<TTopFolder> tops);
    const std::vector<TTopFolder>& TopFolders() const { return m_tops; }
    // Reads the mount table again and updates the volumes.
    void ReloadVolumes();
    // The node of an absolute path under the deepest top-level node that holds it; the nodes
    // on the way are made when they were not read yet. Invalid for a relative path.
    QModelIndex IndexOf(const std::string& path);
    // The path of a node as bytes; empty for none.
    std::string FilePath(const QModelIndex& index) const;
    QString DisplayPath(const QModelIndex& index) const;
    bool IsTopLevel(const QModelIndex& index) const;
    // True when the node's folder has been read (and so its rows are the folder's).
    bool IsRead(const QModelIndex& index) const;
    // True when the path lies on a network file system (its calls may hang).
    bool IsOnNetwork(const std::string& path) const;
    // True when a file system is mounted on the path (the root of a volume).
    bool IsMountPoint(const std::string& path) const;
    // Reads every folder read so far again, and the mount table.
    void Refresh();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // A folder's sub-folders have been read (path decoded for display).
    void FolderRead(const QString& path);
    // A rename in place failed; the text says why.
    void RenameFailed(const QString& text);

private:
    struct Node;
    std::string DragPath(const QModelIndex& index) const override;
    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(const Node* node) const;
    Node* FindNode(const std::string& path) const;
    void StartRead(Node& node);
    void OnRead(int id, const std::string& path, const std::vector<std::string>& names);
    void Merge(Node& node, const std::vector<std::string>& names);
    void InsertChild(Node& parent, std::unique_ptr<Node> child, int row);
    void RemoveChild(Node& parent, int row);
    void Unwatch(Node& node);
    void Watch(Node& node);
    void RePath(Node& node);

    const QAbstractFileIconProvider& m_icons;
    std::string m_home;
    std::unique_ptr<Node> m_root; // invisible; its children are the top level
    std::vector<TTopFolder> m_tops;
    std::vector<TMountEntry> m_mounts;
    UniqueFd m_mountTable; // polled for changes of the mount table
    QSocketNotifier* m_mountWatch = nullptr;
    QFileSystemWatcher m_watcher;
    QSet<QString> m_changed; // watched folders that changed, read again after a pause
    QTimer m_changeTimer;
    int m_nextRead = 0;
    std::map<int, std::jthread> m_readers;
};

} // namespace qx
