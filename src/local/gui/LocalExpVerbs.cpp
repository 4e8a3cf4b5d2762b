// The local explorer's file commands, done the way of the desktop: open with the desktop's
// application, print through the spooler, delete into the trash, rename in place, new folders,
// symbolic links, properties, and cut, copy and paste through the clipboard.

#include "local/gui/LocalExpForm.h"

#include "local/LocalFileSystem.h"
#include "local/gui/LocalCopyRunner.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalPropertiesForm.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/InputForm.h"
#include "settings/GlobalOptions.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace qx {

namespace {

constexpr char kGnomeCopiedFiles[] = "x-special/gnome-copied-files";

} // namespace

QStringList TLocalExpForm::SelectedPaths() const {
    QStringList paths;
    for (const QModelIndex& row : m_fileListView->selectionModel()->selectedRows(0)) {
        paths.append(m_listModel->FilePath(row));
    }
    return paths;
}

void TLocalExpForm::SelectNames(const QStringList& names) {
    QItemSelectionModel* selection = m_fileListView->selectionModel();
    selection->clearSelection();
    for (const QString& name : names) {
        const QModelIndex index = m_listModel->IndexOfName(name);
        if (index.isValid()) {
            selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
    }
}

QString TLocalExpForm::TreeTargetPath() const {
    const QModelIndex node =
        m_treeMark.isValid() ? QModelIndex(m_treeMark) : m_folderTreeView->currentIndex();
    return node.isValid() ? m_treeModel->filePath(node) : QString();
}

void TLocalExpForm::SetTreeMark(const QString& path) {
    const QModelIndex node = path.isEmpty() ? QModelIndex() : m_treeModel->index(path);
    if (node == m_folderTreeView->currentIndex()) {
        m_treeMark = QPersistentModelIndex();
    } else {
        m_treeMark = node;
    }
    m_folderTreeView->viewport()->update();
}

std::vector<TLocalEntry> TLocalExpForm::CommandEntries() const {
    std::vector<TLocalEntry> entries;
    if (m_treeActive) {
        const QString path = TreeTargetPath();
        if (!path.isEmpty()) {
            entries.push_back({path.toStdString(), true, {}, 0});
        }
        return entries;
    }
    for (const QModelIndex& row : m_fileListView->selectionModel()->selectedRows(0)) {
        entries.push_back({m_listModel->FilePathBytes(row), m_listModel->IsDir(row),
                           m_listModel->TypeName(row).toStdString(), 0});
    }
    return entries;
}

void TLocalExpForm::OpenIndex(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const QString path = m_listModel->FilePath(index);
    if (m_listModel->IsDir(index)) {
        SetFolder(path.toStdString());
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        ShowError(tr("Local Explorer Open Error"),
                  tr("Cannot open [%1]: no program opens files of this type.").arg(path));
    }
}

void TLocalExpForm::FileOpenActionExecute() {
    const QModelIndexList rows = m_fileListView->selectionModel()->selectedRows(0);
    if (rows.size() == 1) {
        OpenIndex(rows.front());
    }
}

void TLocalExpForm::FilePrintActionExecute() {
    const QStringList paths = SelectedPaths();
    if (paths.size() != 1) {
        return;
    }
    const QString spooler = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (spooler.isEmpty()) {
        ShowError(tr("Local Explorer Print Error"),
                  tr("Cannot print [%1]: no print spooler (lp) is installed.").arg(paths.front()));
        return;
    }
    auto* job = new QProcess(this); // frees itself when lp has ended
    job->setProgram(spooler);
    job->setArguments({QStringLiteral("--"), paths.front()});
    connect(job, &QProcess::finished, this, [this, job, path = paths.front()](int code) {
        if (code != 0) {
            ShowError(tr("Local Explorer Print Error"),
                      tr("Cannot print [%1]:\n%2")
                          .arg(path, QString::fromLocal8Bit(job->readAllStandardError())));
        }
        job->deleteLater();
    });
    connect(job, &QProcess::errorOccurred, this, [this, job, path = paths.front()] {
        ShowError(tr("Local Explorer Print Error"),
                  tr("Cannot print [%1]: %2").arg(path, job->errorString()));
        job->deleteLater();
    });
    job->start();
}

void TLocalExpForm::FileUpOneLevelActionExecute() {
    const QModelIndex parent = m_folderTreeView->currentIndex().parent();
    if (parent.isValid()) {
        SetFolder(m_treeModel->filePath(parent).toStdString());
    }
}

void TLocalExpForm::FileNewFolderActionExecute() {
    const QString folder = m_treeActive ? TreeTargetPath() : m_currentFolder;
    if (m_treeActive && folder != m_currentFolder) {
        SetFolder(folder.toStdString());
    }
    std::string error;
    const auto made = MakeNewFolder(folder.toStdString(), error);
    if (!made) {
        ShowError(tr("Local Explorer Error"),
                  tr("Cannot create folder [%1]: %2.")
                      .arg(QDir(folder).filePath(QStringLiteral("New Folder")),
                           QString::fromStdString(error)));
        return;
    }
    // The new folder is named in place, as the desktop does.
    const QString path = QString::fromStdString(*made);
    const bool tree = m_treeActive;
    QTimer::singleShot(300, this, [this, tree, path] {
        QAbstractItemView* view =
            tree ? static_cast<QAbstractItemView*>(m_folderTreeView) : ListView();
        const QModelIndex index =
            tree ? m_treeModel->index(path) : m_listModel->IndexOfName(QFileInfo(path).fileName());
        if (index.isValid()) {
            view->setCurrentIndex(index);
            view->scrollTo(index);
            view->edit(index);
        }
    });
}

void TLocalExpForm::FileShortcutActionExecute() {
    QStringList failures;
    for (const TLocalEntry& entry : CommandEntries()) {
        std::string error;
        const std::string folder =
            m_treeActive ? LocalParentFolder(entry.Path) : m_currentFolder.toStdString();
        if (!MakeLinkTo(entry.Path, folder, error)) {
            failures.append(
                tr("Cannot create a link to [%1]: %2.")
                    .arg(QString::fromStdString(entry.Path), QString::fromStdString(error)));
        }
    }
    if (!failures.isEmpty()) {
        ShowError(tr("Local Explorer Error"), failures.join(u'\n'));
    }
}

void TLocalExpForm::FileDeleteActionExecute() {
    const std::vector<TLocalEntry> entries = CommandEntries();
    if (entries.empty()) {
        return;
    }
    const QString what = entries.size() == 1
                             ? tr("[%1]").arg(QString::fromStdString(entries.front().Path))
                             : tr("these %1 items").arg(entries.size());
    if (QMessageBox::question(this, tr("Local Explorer Delete Confirm"),
                              tr("Move %1 to the trash?").arg(what),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    const QString current = m_currentFolder;
    QStringList failures;
    for (const TLocalEntry& entry : entries) {
        const QString path = QString::fromStdString(entry.Path);
        if (m_treeActive && (current == path || current.startsWith(path + u'/'))) {
            SetFolder(LocalParentFolder(entry.Path)); // the list leaves the folder first
        }
        if (!QFile::moveToTrash(path)) {
            failures.append(tr("Cannot delete [%1].").arg(path));
        }
    }
    if (!failures.isEmpty()) {
        ShowError(tr("Local Explorer Delete Error"),
                  failures.join(u'\n') + tr("\nThe trash may not be available on this file "
                                            "system; nothing else was removed."));
    }
}

void TLocalExpForm::FileRenameActionExecute() {
    if (m_treeActive) {
        const QModelIndex node =
            m_treeMark.isValid() ? QModelIndex(m_treeMark) : m_folderTreeView->currentIndex();
        m_folderTreeView->edit(node);
        return;
    }
    const QModelIndexList rows = m_fileListView->selectionModel()->selectedRows(0);
    if (rows.size() == 1) {
        ListView()->setCurrentIndex(rows.front());
        ListView()->edit(rows.front());
    }
}

void TLocalExpForm::FileFilteringActionExecute() {
    TInputRequest request;
    request.ApplicationText = tr("Local Explorer");
    request.CaptionText = tr("[Filtering]");
    request.Prompt = tr("Filter:");
    request.InitialText = m_filter;
    const auto filter = TInputForm::Ask(request, QString::fromStdString(m_context.Options.FontName),
                                        m_context.Options.FontSize, this);
    if (filter && *filter != m_filter) {
        SetFilter(*filter);
    }
}

void TLocalExpForm::FilePropertiesActionExecute() {
    QStringList paths;
    if (m_treeActive) {
        paths.append(TreeTargetPath());
    } else {
        paths = SelectedPaths();
        if (paths.isEmpty()) {
            paths.append(m_currentFolder);
        }
    }
    paths.removeAll(QString());
    if (paths.isEmpty()) {
        return;
    }
    TLocalPropertiesForm dialog(paths, this);
    dialog.exec();
}

void TLocalExpForm::FileContextMenuActionExecute() {
    // The desktop has no one context menu for files: the window's own menu of these verbs, at
    // the place the last pop-up menu was asked for.
    if (m_treeActive) {
        m_folderTreePopup->exec(m_popupPoint);
    } else if (m_fileListView->selectionModel()->hasSelection()) {
        m_fileListPopup1->exec(m_popupPoint);
    }
}

void TLocalExpForm::EditCutCopyActionExecute(bool cut) {
    QList<QUrl> urls;
    QByteArray gnome = cut ? QByteArray("cut") : QByteArray("copy");
    for (const TLocalEntry& entry : CommandEntries()) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(entry.Path));
        urls.append(url);
        gnome += '\n' + url.toEncoded();
    }
    if (urls.isEmpty()) {
        return;
    }
    auto* mime = new QMimeData; // the clipboard takes it over
    mime->setUrls(urls);
    mime->setData(QString::fromLatin1(kGnomeCopiedFiles), gnome);
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TLocalExpForm::EditPasteActionExecute() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (mime == nullptr) {
        return;
    }
    const QStringList selected = SelectedPaths();
    std::optional<std::string> selectedFolder;
    if (!m_treeActive && selected.size() == 1 && QFileInfo(selected.front()).isDir()) {
        selectedFolder = selected.front().toStdString();
    }
    const std::string folder = PasteDestination(m_treeActive, TreeTargetPath().toStdString(),
                                                selectedFolder, m_currentFolder.toStdString());
    if (HasFileDropFormat(mime)) {
        QStringList paths;
        for (const std::string& path : GetDroppedFileNames(mime)) {
            paths.append(QString::fromStdString(path));
        }
        const bool cut = mime->data(QString::fromLatin1(kGnomeCopiedFiles)).startsWith("cut");
        PasteFiles(paths, QString::fromStdString(folder), cut);
        if (cut) {
            QGuiApplication::clipboard()->clear(); // what was cut is pasted once
        }
    } else if (HasRemoteFilesFormat(mime)) {
        ReceiveRemoteEntries(mime, folder);
    }
}

void TLocalExpForm::PasteFiles(const QStringList& paths, const QString& folder, bool move) {
    TCopyRequest request;
    for (const QString& path : paths) {
        request.Sources.push_back(path.toStdString());
    }
    request.DestinationFolder = folder.toStdString();
    request.Move = move;
    m_copier->Start(std::move(request));
}

bool TLocalExpForm::CopyRunning() const {
    return m_copier->Running();
}

void TLocalExpForm::EditSelectAllActionExecute(bool invert) {
    QItemSelectionModel* selection = m_fileListView->selectionModel();
    const int rows = m_listModel->rowCount();
    if (rows > 0) {
        const QItemSelection all(m_listModel->index(0, 0), m_listModel->index(rows - 1, 0));
        selection->select(all,
                          (invert ? QItemSelectionModel::Toggle : QItemSelectionModel::Select) |
                              QItemSelectionModel::Rows);
    }
    ActivatePane(false);
}

void TLocalExpForm::ViewRefreshActionExecute() {
    // The models watch the disk; a refresh reads the folder again for what the watch missed
    // (network file systems).
    m_listModel->Refresh();
    m_treeModel->setRootPath(QString());
    m_treeModel->setRootPath(QStringLiteral("/"));
}

void TLocalExpForm::UpdateClipboardState() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasFiles =
        mime != nullptr && (HasFileDropFormat(mime) || HasRemoteFilesFormat(mime));
}

void TLocalExpForm::ShowListPopup(QAbstractItemView* view, const QPoint& at) {
    m_actions->UpdateAll();
    const QPoint global =
        view->viewport()->mapToGlobal(QPoint(std::max(0, at.x()), std::max(0, at.y())));
    m_popupPoint = global;
    if (m_fileListView->selectionModel()->hasSelection()) {
        m_fileListPopup1->popup(global);
    } else {
        m_fileListPopup2->popup(global);
    }
}

void TLocalExpForm::ShowTreePopup(const QPoint& at) {
    const QModelIndex node = m_folderTreeView->indexAt(at - QPoint(0, 1));
    if (!node.isValid()) {
        return;
    }
    SetTreeMark(m_treeModel->filePath(node));
    SetActivePane(true);
    m_actions->UpdateAll();
    m_popupPoint = m_folderTreeView->viewport()->mapToGlobal(at);
    m_folderTreePopup->exec(m_popupPoint);
    SetTreeMark({});
}

} // namespace qx
