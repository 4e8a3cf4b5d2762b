// SPDX-License-Identifier: GPL-3.0-or-later
// Remote entries leaving the explorer (a drag, Copy) and files or entries arriving (a drop,
// Paste). Whatever arrives becomes items of the transfer queue; the window's own session is
// never used for it.

#include "remote/gui/RemoteExpForm.h"

#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "session/ThreadedFTPClient.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragMoveEvent>
#include <QListView>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

namespace qx {

TFTPFileData TRemoteExpForm::TreeFileData(const TFolderNode& node) const {
    TFTPListItem entry;
    if (node.ListItem != nullptr) {
        entry = *node.ListItem;
    } else {
        entry = MakeFolderEntry(node.Text, {}, SharedShellIcons());
        entry.DateText.clear();
        entry.TimeText.clear();
    }
    const std::string folder =
        node.Parent != nullptr ? TFolderTree::GetNodeFolder(*node.Parent) : std::string("/");
    return MakeFileData(Login(), folder, {std::move(entry)});
}

TFTPFileData TRemoteExpForm::ListFileData() const {
    std::vector<TFTPListItem> entries;
    for (const TFTPListItem* entry : SelectedEntries()) {
        entries.push_back(*entry);
    }
    const TFolderNode* folder = SelectedNode();
    return MakeFileData(Login(), folder != nullptr ? TFolderTree::GetNodeFolder(*folder) : "/",
                        std::move(entries));
}

void TRemoteExpForm::EditCopyActionExecute() {
    TFTPFileData fileData;
    if (m_shell->TreeActive()) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        fileData = TreeFileData(*node);
    } else {
        fileData = ListFileData();
        if (fileData.Items.empty()) {
            return;
        }
    }
    QGuiApplication::clipboard()->setMimeData(new TFTPFileDataObject(std::move(fileData)));
}

void TRemoteExpForm::EditPasteActionExecute() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (m_shell->TreeActive()) {
        DropOnFolderTree(mime, TreeTarget());
        return;
    }
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    DropOnFileList(mime,
                   selected.size() == 1 && !selected.front()->IsFile ? selected.front() : nullptr);
}

void TRemoteExpForm::UpdateClipboardState() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasFiles = HasRemoteFilesFormat(mime) || HasFileDropFormat(mime);
}

bool TRemoteExpForm::DropOnFileList(const QMimeData* mime, const TFTPListItem* onFolder) {
    const TFolderNode* folder = SelectedNode();
    if (folder == nullptr) {
        return false;
    }
    std::string destination = TFolderTree::GetNodeFolder(*folder);
    if (onFolder != nullptr) {
        destination += onFolder->Name + "/";
    }
    return QueueDroppedData(mime, destination);
}

bool TRemoteExpForm::DropOnFolderTree(const QMimeData* mime, TFolderNode* node) {
    if (node == nullptr) {
        node = SelectedNode();
    }
    return node != nullptr && QueueDroppedData(mime, TFolderTree::GetNodeFolder(*node));
}

bool TRemoteExpForm::QueueDroppedData(const QMimeData* mime, const std::string& destination) {
    if (!m_context.QueueItems || !m_connected) {
        return false;
    }
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    if (HasFileDropFormat(mime)) {
        items =
            MakeUploadItems(GetDroppedFileNames(mime), Login(), destination, SharedShellIcons());
    } else if (const TFTPFileData* remote = GetRemoteFilesData(mime)) {
        if (remote->HostName == m_client->HostName) {
            if (const auto problem = SameServerDropProblem(*remote, destination)) {
                QMessageBox::critical(this, tr("Remote Explorer Error"), CoreText(*problem));
                return false;
            }
        }
        items = MakeServerToServerItems(*remote, Login(), destination);
    }
    if (items.empty()) {
        return false;
    }
    m_context.QueueItems(std::move(items));
    return true;
}

// --- Dragging out ------------------------------------------------------------------------------

void TRemoteExpForm::StartDragFromTree() {
    const TFolderNode* node = SelectedNode();
    const QModelIndex pressed = TreeView().indexAt(m_pressPoint);
    if (node == nullptr || node->Parent == nullptr || m_treeModel->Node(pressed) != node) {
        return; // only the selected folder is dragged, never the root
    }
    RunDrag(TreeFileData(*node), false);
}

void TRemoteExpForm::StartDragFromList() {
    if (m_selectedCount == 0) {
        return;
    }
    RunDrag(ListFileData(), true);
}

void TRemoteExpForm::RunDrag(TFTPFileData fileData, bool fromList) {
    if (fileData.Items.empty()) {
        return;
    }
    auto* drag = new QDrag(this);
    const TQtShellIcons* icons = QtShellIcons();
    if (icons != nullptr) {
        drag->setPixmap(icons->Icon(fileData.Items.front().ImageIndex).pixmap(32, 32));
    }
    drag->setMimeData(new TFTPFileDataObject(std::move(fileData)));
    m_draggingOwn = fromList;
    m_dragging = true;
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    m_dragging = false;
    m_draggingOwn = false;
}

// --- Dropping in -------------------------------------------------------------------------------

void TRemoteExpForm::SetListMark(const TFTPListItem* entry) {
    m_listMark = entry;
    m_listModel->SetDropTarget(entry);
}

bool TRemoteExpForm::DragEvent(QObject* watched, QEvent* event) {
    const bool tree = watched == TreeView().viewport();
    const bool list =
        watched == m_shell->DetailsView().viewport() || watched == m_shell->IconView().viewport();
    if (!tree && !list) {
        return false;
    }
    auto* view = qobject_cast<QAbstractItemView*>(static_cast<QWidget*>(watched)->parentWidget());
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        activateWindow();
        if (HasRemoteFilesFormat(enter->mimeData()) || HasFileDropFormat(enter->mimeData())) {
            enter->setDropAction(Qt::CopyAction);
            enter->accept();
            m_dragOverViewport = static_cast<QWidget*>(watched);
            m_dragPoint = enter->position().toPoint();
            m_scrollTimer->start();
        } else {
            enter->ignore();
        }
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        m_dragPoint = move->position().toPoint();
        m_dragOverViewport = static_cast<QWidget*>(watched);
        bool accept = false;
        if (tree) {
            TFolderNode* node = m_treeModel->Node(TreeView().indexAt(m_dragPoint));
            SetTreeMark(node);
            accept = node != nullptr;
        } else {
            const TFTPListItem* entry = m_listModel->Entry(view->indexAt(m_dragPoint));
            if (entry != nullptr && !entry->IsFile) {
                SetListMark(entry);
                accept = true;
            } else {
                SetListMark(nullptr);
                accept = !m_draggingOwn; // own entries onto themselves or their own folder
            }
        }
        if (accept) {
            move->setDropAction(Qt::CopyAction);
            move->accept();
        } else {
            move->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        if (tree) {
            SetTreeMark(nullptr);
        } else {
            SetListMark(nullptr);
        }
        m_dragOverViewport = nullptr;
        m_scrollTimer->stop();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        m_scrollTimer->stop();
        m_dragOverViewport = nullptr;
        if (tree) {
            TFolderNode* node = const_cast<TFolderNode*>(m_treeModel->DropTarget());
            if (node == nullptr) {
                node = m_treeModel->Node(TreeView().indexAt(drop->position().toPoint()));
            }
            SetTreeMark(nullptr);
            DropOnFolderTree(drop->mimeData(), node);
        } else {
            const TFTPListItem* onFolder = m_listMark;
            SetListMark(nullptr);
            DropOnFileList(drop->mimeData(), onFolder);
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    default:
        return false;
    }
}

// A pointer held near an edge of the view under a drag scrolls it one line about five times a
// second.
void TRemoteExpForm::AutoScroll() {
    QWidget* viewport = m_dragOverViewport;
    if (viewport == nullptr) {
        m_scrollTimer->stop();
        return;
    }
    auto* view = qobject_cast<QAbstractItemView*>(viewport->parentWidget());
    if (view == nullptr) {
        return;
    }
    const QRect client = viewport->rect();
    const QRect inner = client.adjusted(10, 10, -10, -10);
    const QPoint at = m_dragPoint;
    if (!client.contains(at) || inner.contains(at)) {
        return;
    }
    const auto step = [](QScrollBar* bar, bool forward) {
        bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd
                                   : QAbstractSlider::SliderSingleStepSub);
    };
    if (at.x() < inner.left()) {
        step(view->horizontalScrollBar(), false);
    } else if (at.x() > inner.right()) {
        step(view->horizontalScrollBar(), true);
    }
    if (at.y() < inner.top()) {
        step(view->verticalScrollBar(), false);
    } else if (at.y() > inner.bottom()) {
        step(view->verticalScrollBar(), true);
    }
}

} // namespace qx
