// SPDX-License-Identifier: GPL-3.0-or-later
// The local explorer's file commands, done the way of the desktop: open with the desktop's
// application, print through the spooler, delete into the trash, rename in place, new folders,
// symbolic links, properties, and cut, copy and paste through the clipboard.

#include "local/gui/LocalExpForm.h"

#include "base/Utilities.h"
#include "local/LocalFileSystem.h"
#include "local/LocalTrash.h"
#include "local/LocalUriList.h"
#include "local/gui/LocalCopyRunner.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalFolderTreeModel.h"
#include "local/gui/LocalPropertiesForm.h"
#include "platform/UniqueFd.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/InputForm.h"
#include "settings/GlobalOptions.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace {

constexpr char kGnomeCopiedFiles[] = "x-special/gnome-copied-files";
constexpr char kUriList[] = "text/uri-list";

QString Shown(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// True when Qt's text paths carry the bytes of this path unchanged.
bool TextCarries(const std::string& path) {
    return QFile::encodeName(Shown(path)).toStdString() == path;
}

TTrashPlaces UserTrash() {
    TTrashPlaces places;
    places.DataHome = qEnvironmentVariable("XDG_DATA_HOME").toStdString();
    if (places.DataHome.empty() || !places.DataHome.starts_with('/')) {
        places.DataHome = QFile::encodeName(QDir::homePath()).toStdString() + "/.local/share";
    }
    places.Uid = ::getuid();
    return places;
}

bool IsFolderPath(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::vector<std::string> TLocalExpForm::SelectedPaths() const {
    std::vector<std::string> paths;
    for (const QModelIndex& row : m_shell->DetailsView().selectionModel()->selectedRows(0)) {
        paths.push_back(m_listModel->FilePathBytes(row));
    }
    return paths;
}

void TLocalExpForm::SelectNames(const QStringList& names) {
    QModelIndexList rows;
    for (const QString& name : names) {
        if (const QModelIndex index = m_listModel->IndexOfName(name); index.isValid()) {
            rows.append(index);
        }
    }
    m_shell->SelectRows(rows);
}

void TLocalExpForm::SelectNameBytes(const std::vector<std::string>& names) {
    QModelIndexList rows;
    for (const std::string& name : names) {
        if (const QModelIndex index = m_listModel->IndexOfBytes(name); index.isValid()) {
            rows.append(index);
        }
    }
    m_shell->SelectRows(rows);
}

std::string TLocalExpForm::TreeTargetPath() const {
    const QModelIndex node =
        m_treeMark.isValid() ? QModelIndex(m_treeMark) : m_shell->TreeView().currentIndex();
    return m_treeModel->FilePath(node);
}

void TLocalExpForm::SetTreeMark(const std::string& path) {
    const QModelIndex node = path.empty() ? QModelIndex() : m_treeModel->IndexOf(path);
    if (node == m_shell->TreeView().currentIndex()) {
        m_treeMark = QPersistentModelIndex();
    } else {
        m_treeMark = node;
    }
    m_shell->TreeView().viewport()->update();
}

std::vector<TLocalEntry> TLocalExpForm::CommandEntries() const {
    std::vector<TLocalEntry> entries;
    if (m_shell->TreeActive()) {
        const std::string path = TreeTargetPath();
        if (!path.empty()) {
            entries.push_back({path, true, {}, 0});
        }
        return entries;
    }
    for (const QModelIndex& row : m_shell->DetailsView().selectionModel()->selectedRows(0)) {
        entries.push_back({m_listModel->FilePathBytes(row), m_listModel->IsDir(row),
                           m_listModel->TypeName(row).toStdString(), 0});
    }
    return entries;
}

void TLocalExpForm::OpenIndex(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const std::string path = m_listModel->FilePathBytes(index);
    if (m_listModel->IsDir(index)) {
        if (!SetFolder(path)) {
            ShowError(tr("Local Explorer Open Error"),
                      tr("Cannot open [%1]: it is no folder any more.").arg(Shown(path)));
        }
        return;
    }
    // The address is built from the bytes: QUrl keeps an escape that is not UTF-8 as it is.
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(FileUriOf(path)));
    if (!QDesktopServices::openUrl(url)) {
        ShowError(tr("Local Explorer Open Error"),
                  tr("Cannot open [%1]: no program opens files of this type.").arg(Shown(path)));
    }
}

void TLocalExpForm::FileOpenActionExecute() {
    const QModelIndexList rows = m_shell->DetailsView().selectionModel()->selectedRows(0);
    if (rows.size() == 1) {
        OpenIndex(rows.front());
    }
}

void TLocalExpForm::FilePrintActionExecute() {
    const std::vector<std::string> paths = SelectedPaths();
    if (paths.size() != 1) {
        return;
    }
    const QString shown = Shown(paths.front());
    const QString spooler = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (spooler.isEmpty()) {
        ShowError(tr("Local Explorer Print Error"),
                  tr("Cannot print [%1]: no print spooler (lp) is installed.").arg(shown));
        return;
    }
    // The spooler reads the file from its standard input, opened here by the path's bytes:
    // its name need not survive the way through text.
    auto file = std::make_shared<UniqueFd>(::open(paths.front().c_str(), O_RDONLY | O_CLOEXEC));
    if (!*file) {
        ShowError(
            tr("Local Explorer Print Error"),
            tr("Cannot print [%1]: %2.").arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    auto* job = new QProcess(this); // frees itself when lp has ended
    job->setProgram(spooler);
    job->setArguments({QStringLiteral("-t"), Shown(LocalBaseName(paths.front()))});
    job->setChildProcessModifier([fd = file->get()] { ::dup2(fd, STDIN_FILENO); });
    connect(job, &QProcess::finished, this, [this, job, shown](int code) {
        if (code != 0) {
            ShowError(tr("Local Explorer Print Error"),
                      tr("Cannot print [%1]:\n%2")
                          .arg(shown, QString::fromLocal8Bit(job->readAllStandardError())));
        }
        job->deleteLater();
    });
    connect(job, &QProcess::errorOccurred, this, [this, job, shown] {
        ShowError(tr("Local Explorer Print Error"),
                  tr("Cannot print [%1]: %2").arg(shown, job->errorString()));
        job->deleteLater();
    });
    job->start();
    job->closeWriteChannel();
}

void TLocalExpForm::FileUpOneLevelActionExecute() {
    const QModelIndex parent = m_shell->TreeView().currentIndex().parent();
    if (parent.isValid()) {
        SetFolder(m_treeModel->FilePath(parent));
    }
}

void TLocalExpForm::FileNewFolderActionExecute() {
    const std::string folder = m_shell->TreeActive() ? TreeTargetPath() : m_currentFolder;
    if (m_shell->TreeActive() && folder != m_currentFolder) {
        SetFolder(folder);
    }
    std::string error;
    const auto made = MakeNewFolder(folder, error);
    if (!made) {
        std::string wanted = folder;
        AddTrailingSeparator(wanted);
        ShowError(tr("Local Explorer Error"),
                  tr("Cannot create folder [%1]: %2.")
                      .arg(Shown(wanted + "New Folder"), QString::fromStdString(error)));
        return;
    }
    // The new folder is named in place, as the desktop does.
    const bool tree = m_shell->TreeActive();
    QTimer::singleShot(300, this, [this, tree, path = *made] {
        QAbstractItemView* view = tree ? &m_shell->TreeView() : ListView();
        const QModelIndex index =
            tree ? m_treeModel->IndexOf(path) : m_listModel->IndexOfBytes(LocalBaseName(path));
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
            m_shell->TreeActive() ? LocalParentFolder(entry.Path) : m_currentFolder;
        if (!MakeLinkTo(entry.Path, folder, error)) {
            failures.append(tr("Cannot create a link to [%1]: %2.")
                                .arg(Shown(entry.Path), QString::fromStdString(error)));
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
    const QString question =
        entries.size() == 1
            ? tr("Move [%1] to the trash?").arg(Shown(entries.front().Path))
            : tr("Move these %n items to the trash?", nullptr, static_cast<int>(entries.size()));
    if (QMessageBox::question(this, tr("Local Explorer Delete Confirm"), question,
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    const std::string current = m_currentFolder;
    QStringList failures;
    for (const TLocalEntry& entry : entries) {
        const std::string& path = entry.Path;
        if (m_shell->TreeActive() && (current == path || current.starts_with(path + '/'))) {
            std::string parent = LocalParentFolder(path);
            SetFolder(parent); // the list leaves the folder first
        }
        // Qt's trash takes text paths; a name that text cannot carry goes the same way on its
        // bytes.
        std::string error;
        const bool trashed = TextCarries(path) ? QFile::moveToTrash(Shown(path))
                                               : MoveToTrash(path, UserTrash(), error);
        if (!trashed) {
            failures.append(error.empty()
                                ? tr("Cannot delete [%1].").arg(Shown(path))
                                : tr("Cannot delete [%1]: %2.").arg(Shown(path), CoreText(error)));
        }
    }
    if (!failures.isEmpty()) {
        ShowError(tr("Local Explorer Delete Error"),
                  failures.join(u'\n') + tr("\nThe trash may not be available on this file "
                                            "system; nothing else was removed."));
    }
}

void TLocalExpForm::FileRenameActionExecute() {
    if (m_shell->TreeActive()) {
        const QModelIndex node =
            m_treeMark.isValid() ? QModelIndex(m_treeMark) : m_shell->TreeView().currentIndex();
        m_shell->TreeView().edit(node);
        return;
    }
    const QModelIndexList rows = m_shell->DetailsView().selectionModel()->selectedRows(0);
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
    std::vector<std::string> paths;
    if (m_shell->TreeActive()) {
        paths.push_back(TreeTargetPath());
    } else {
        paths = SelectedPaths();
        if (paths.empty()) {
            paths.push_back(m_currentFolder);
        }
    }
    std::erase(paths, std::string());
    if (paths.empty()) {
        return;
    }
    TLocalPropertiesForm dialog(paths, this);
    dialog.exec();
}

void TLocalExpForm::FileContextMenuActionExecute() {
    // The desktop has no one context menu for files: the window's own menu of these verbs, at
    // the place the last pop-up menu was asked for.
    if (m_shell->TreeActive()) {
        m_popups.Tree->exec(m_popupPoint);
    } else if (m_shell->DetailsView().selectionModel()->hasSelection()) {
        m_popups.List->exec(m_popupPoint);
    }
}

void TLocalExpForm::EditCutCopyActionExecute(bool cut) {
    // The lists are written byte for byte (percent-encoded), so that any name travels.
    std::vector<std::string> paths;
    for (const TLocalEntry& entry : CommandEntries()) {
        paths.push_back(entry.Path);
    }
    if (paths.empty()) {
        return;
    }
    std::string gnome = cut ? "cut" : "copy";
    for (const std::string& path : paths) {
        gnome += '\n' + FileUriOf(path);
    }
    auto* mime = new QMimeData; // the clipboard takes it over
    mime->setData(QString::fromLatin1(kUriList), QByteArray::fromStdString(MakeUriList(paths)));
    mime->setData(QString::fromLatin1(kGnomeCopiedFiles), QByteArray::fromStdString(gnome));
    QGuiApplication::clipboard()->setMimeData(mime);
    // What was cut is drawn faded until the clipboard holds something else (a paste empties
    // it); a copy takes the look away.
    m_cutPaths.clear();
    m_cutList.clear();
    if (cut) {
        m_cutPaths.insert(paths.begin(), paths.end());
        m_cutList = QByteArray::fromStdString(gnome);
    }
    RepaintViews();
}

void TLocalExpForm::EditPasteActionExecute() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (mime == nullptr) {
        return;
    }
    const std::vector<std::string> selected = SelectedPaths();
    std::optional<std::string> selectedFolder;
    if (!m_shell->TreeActive() && selected.size() == 1 && IsFolderPath(selected.front())) {
        selectedFolder = selected.front();
    }
    const std::string folder =
        PasteDestination(m_shell->TreeActive(), TreeTargetPath(), selectedFolder, m_currentFolder);
    if (HasFileDropFormat(mime)) {
        const std::vector<std::string> paths =
            ParseUriList(mime->data(QString::fromLatin1(kUriList)).toStdString());
        const bool cut = mime->data(QString::fromLatin1(kGnomeCopiedFiles)).startsWith("cut");
        PasteFiles(paths, folder, cut);
        if (cut) {
            QGuiApplication::clipboard()->clear(); // what was cut is pasted once
        }
    } else if (HasRemoteFilesFormat(mime)) {
        ReceiveRemoteEntries(mime, folder);
    }
}

void TLocalExpForm::PasteFiles(const std::vector<std::string>& paths, const std::string& folder,
                               bool move) {
    if (paths.empty()) {
        return;
    }
    TCopyRequest request;
    request.Sources = paths;
    request.DestinationFolder = folder;
    request.Move = move;
    m_copier->Start(std::move(request));
}

bool TLocalExpForm::CopyRunning() const {
    return m_copier->Running();
}

void TLocalExpForm::EditSelectAllActionExecute() {
    m_shell->SelectAll(false);
    ActivatePane(false);
}

void TLocalExpForm::EditInvertSelectionActionExecute() {
    m_shell->SelectAll(true);
    ActivatePane(false);
}

void TLocalExpForm::ViewRefreshActionExecute() {
    // The models watch the disk; a refresh reads the folder again for what the watch missed
    // (network file systems).
    m_listModel->Refresh();
    m_treeModel->Refresh();
}

void TLocalExpForm::UpdateClipboardState() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasFiles =
        mime != nullptr && (HasFileDropFormat(mime) || HasRemoteFilesFormat(mime));
    if (!m_cutPaths.empty() &&
        (mime == nullptr || mime->data(QString::fromLatin1(kGnomeCopiedFiles)) != m_cutList)) {
        m_cutPaths.clear();
        m_cutList.clear();
        RepaintViews();
    }
}

void TLocalExpForm::RepaintViews() {
    for (QAbstractItemView* view : m_shell->Views()) {
        view->viewport()->update();
    }
}

void TLocalExpForm::ShowListPopup(QAbstractItemView* view, const QPoint& at) {
    m_actions->UpdateAll();
    const QPoint global =
        view->viewport()->mapToGlobal(QPoint(std::max(0, at.x()), std::max(0, at.y())));
    m_popupPoint = global;
    if (m_shell->DetailsView().selectionModel()->hasSelection()) {
        m_popups.List->popup(global);
    } else {
        m_popups.ListEmpty->popup(global);
    }
}

void TLocalExpForm::ShowTreePopup(const QPoint& at) {
    const QModelIndex node = m_shell->TreeView().indexAt(at - QPoint(0, 1));
    if (!node.isValid()) {
        return;
    }
    SetTreeMark(m_treeModel->FilePath(node));
    m_shell->SetActivePane(true);
    m_actions->UpdateAll();
    m_popupPoint = m_shell->TreeView().viewport()->mapToGlobal(at);
    m_popups.Tree->exec(m_popupPoint);
    SetTreeMark({});
}

} // namespace qx
