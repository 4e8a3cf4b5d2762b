// SPDX-License-Identifier: GPL-3.0-or-later
// What the local explorer sends and receives: direct uploads through the current remote
// explorer's session, queued uploads, and remote entries pasted or dropped on it, which become
// download items of the queue. Also the panes' focus and drag events.

#include "local/gui/LocalExpForm.h"

#include "base/Utilities.h"
#include "local/LocalUriList.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalFolderTreeModel.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/RemoteExpForm.h"
#include "widgets/ExplorerShell.h"
#include "widgets/QtShellIcons.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>

#include <sys/stat.h>

namespace qx {

namespace {

QString SkippedText(const std::vector<std::string>& skipped) {
    QStringList names;
    for (const std::string& name : skipped) {
        names.append(QStringLiteral("[%1]").arg(QString::fromStdString(name)));
    }
    return names.join(u'\n');
}

} // namespace

void TLocalExpForm::FileUploadActionExecute() {
    TRemoteExpForm* remote = CurrentRemoteExplorer();
    if (remote == nullptr || !remote->CanUploadNow()) {
        return;
    }
    std::vector<std::string> skipped;
    const auto uploads = MakeDirectUploads(remote->SelectedFolder(), CommandEntries(), &skipped);
    if (!skipped.empty()) {
        ShowError(tr("Local Explorer Upload Error"),
                  tr("These names cannot be sent to a server and are left out:\n%1")
                      .arg(SkippedText(skipped)));
    }
    std::vector<TLocalUploadEntry> entries;
    for (const TDirectUpload& upload : uploads) {
        entries.push_back({upload.LocalPath, upload.RemotePath, upload.IsFolder});
    }
    remote->UploadLocalEntries(entries);
}

void TLocalExpForm::FileUploadinQueueActionExecute() {
    TRemoteExpForm* remote = CurrentRemoteExplorer();
    if (remote == nullptr || !m_context.QueueItems) {
        return;
    }
    const TShellIcons& icons = SharedShellIcons();
    std::vector<TLocalEntry> entries = CommandEntries();
    for (TLocalEntry& entry : entries) {
        const std::string name = LocalBaseName(entry.Path);
        entry.ImageIndex = entry.IsFolder ? icons.FolderIconIndex : icons.GetIconIndex(name);
    }
    std::vector<std::string> skipped;
    auto items = MakeQueuedUploadItems(remote->Login(), remote->SelectedFolder(), entries,
                                       icons.FolderTypeName, &skipped);
    if (!skipped.empty()) {
        ShowError(tr("Local Explorer Upload Error"),
                  tr("These names cannot be sent to a server and are left out:\n%1")
                      .arg(SkippedText(skipped)));
    }
    if (!items.empty()) {
        m_context.QueueItems(std::move(items));
    }
}

bool TLocalExpForm::ReceiveRemoteEntries(const QMimeData* mime, const std::string& folder) {
    const TFTPFileData* files = GetRemoteFilesData(mime);
    struct stat info {};
    if (files == nullptr || !m_context.QueueItems || ::stat(folder.c_str(), &info) != 0 ||
        !S_ISDIR(info.st_mode)) {
        return false;
    }
    std::vector<std::string> skipped;
    auto items = MakeReceivedItems(*files, folder, &skipped);
    if (!skipped.empty()) {
        ShowError(tr("Local Explorer Error"),
                  tr("These names cannot be local file names and are left out:\n%1")
                      .arg(SkippedText(skipped)));
    }
    if (items.empty()) {
        return false;
    }
    m_context.QueueItems(std::move(items));
    return true;
}

bool TLocalExpForm::DropOnFileList(const QMimeData* mime,
                                   const std::optional<std::string>& folderItem) {
    const std::string folder = ListDropDestination(m_currentFolder, folderItem);
    if (HasRemoteFilesFormat(mime)) {
        return ReceiveRemoteEntries(mime, folder);
    }
    if (HasFileDropFormat(mime)) {
        return DropFiles(mime, folder);
    }
    return false;
}

bool TLocalExpForm::DropOnFolderTree(const QMimeData* mime, const std::string& nodePath) {
    if (nodePath.empty()) {
        return false;
    }
    const std::string& folder = nodePath;
    if (HasRemoteFilesFormat(mime)) {
        return ReceiveRemoteEntries(mime, folder);
    }
    if (HasFileDropFormat(mime)) {
        return DropFiles(mime, folder);
    }
    return false;
}

// Local files dropped into a folder are copied there; those dropped into the folder that
// already holds them (a drag that ended where it began) are left alone.
bool TLocalExpForm::DropFiles(const QMimeData* mime, std::string folder) {
    AddTrailingSeparator(folder);
    // The list is read byte for byte: a name that is not valid UTF-8 arrives intact.
    std::vector<std::string> paths;
    for (std::string& path :
         ParseUriList(mime->data(QStringLiteral("text/uri-list")).toStdString())) {
        if (LocalParentFolder(path) != folder) {
            paths.push_back(std::move(path));
        }
    }
    if (paths.empty()) {
        return false;
    }
    PasteFiles(paths, folder, false);
    return true;
}

// Drags over the panes: remote entries of this program and local files from other windows.
// The file-system models never take drops themselves (they would copy without asking).
bool TLocalExpForm::DragEvent(QAbstractItemView* view, QEvent* event) {
    const bool tree = view == &m_shell->TreeView();
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const QMimeData* mime = drag->mimeData();
        const bool own = HasRemoteFilesFormat(mime);
        if (!own && !HasFileDropFormat(mime)) {
            drag->ignore();
            return true;
        }
        if (event->type() == QEvent::DragEnter) {
            activateWindow();
        }
        const QModelIndex at = view->indexAt(drag->position().toPoint());
        bool accept = false;
        if (tree) {
            accept = at.isValid(); // the tree's nodes are folders
            SetTreeMark(accept ? m_treeModel->FilePath(at) : std::string());
            if (accept && !m_treeMark.isValid()) {
                m_treeMark = at; // the selected node is highlighted too while dragging
            }
        } else {
            const QModelIndex item = at.siblingAtColumn(0);
            const bool folderItem = item.isValid() && m_listModel->IsDir(item);
            m_listMark = folderItem ? QPersistentModelIndex(item) : QPersistentModelIndex();
            view->viewport()->update();
            accept = item.isValid() || LocalFolder().has_value();
        }
        if (accept) {
            drag->setDropAction(own ? Qt::CopyAction : drag->proposedAction());
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        if (tree) {
            SetTreeMark({});
        }
        m_listMark = QPersistentModelIndex();
        view->viewport()->update();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        bool done = false;
        if (tree) {
            const QModelIndex at = view->indexAt(drop->position().toPoint());
            done = at.isValid() && DropOnFolderTree(drop->mimeData(), m_treeModel->FilePath(at));
            SetTreeMark({});
        } else {
            std::optional<std::string> folderItem;
            if (m_listMark.isValid()) {
                folderItem = m_listModel->Entry(m_listMark).Name;
            }
            done = DropOnFileList(drop->mimeData(), folderItem);
            m_listMark = QPersistentModelIndex();
            view->viewport()->update();
        }
        if (done) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    default:
        return false;
    }
}

bool TLocalExpForm::eventFilter(QObject* watched, QEvent* event) {
    QTreeView* tree = &m_shell->TreeView();
    for (QAbstractItemView* view : m_shell->Views()) {
        // The Delete key deletes in either pane (a key an in-place editor passes on is not
        // the view's).
        if (watched == view && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier &&
            QApplication::focusWidget() == view) {
            TActionList::Run(Action("FileDeleteAction"));
            return true;
        }
        if (watched == view->viewport()) {
            if (DragEvent(view, event)) {
                return true;
            }
            // A right click on a node only marks it for the pop-up menu; the tree's folder
            // stays.
            if (view == tree && event->type() == QEvent::MouseButtonPress &&
                static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
                tree->setFocus(Qt::MouseFocusReason);
                return true;
            }
        }
        if (watched == view && event->type() == QEvent::FocusOut && view == tree) {
            // Leaving the tree removes the highlight, unless its own menu is open.
            if (QApplication::activePopupWidget() == nullptr) {
                SetTreeMark({});
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace qx
