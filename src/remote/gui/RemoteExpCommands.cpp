// The remote explorer's commands: each Execute handler fills the client's request fields,
// remembers what the result applies to and issues the request; its completion applies the
// result to exactly that and forgets it.

#include "remote/gui/RemoteExpForm.h"

#include "base/Utilities.h"
#include "remote/gui/ChangePermForm.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "remote/gui/InputForm.h"
#include "remote/gui/RemotePropertiesForm.h"
#include "remote/gui/ServerInfoForm.h"
#include "session/RemoteNames.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "widgets/BrowseFolderDialog.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <unordered_set>

namespace qx {

namespace {

const TShellIcons& Icons() {
    if (const TQtShellIcons* icons = QtShellIcons()) {
        return *icons;
    }
    static const TShellIcons plain;
    return plain;
}

// Names the server listed that cannot become a local file or a single remote name.
bool UsableName(const std::string& name) {
    return IsSafeEntryName(name);
}

std::unordered_set<std::string> NamesOf(const TStringList& list) {
    std::unordered_set<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        names.insert(list.Strings(i));
    }
    return names;
}

} // namespace

// --- Shared pieces ----------------------------------------------------------------------------

std::optional<QString> TRemoteExpForm::AskText(const QString& caption, const QString& prompt,
                                               const QString& initial) {
    TInputRequest request;
    request.ApplicationText = tr("Remote Explorer");
    request.CaptionText = caption;
    request.Prompt = prompt;
    request.InitialText = initial;
    return TInputForm::Ask(request, QString::fromStdString(m_context.Options.FontName),
                           m_context.Options.FontSize, this);
}

void TRemoteExpForm::ShowError(const QString& title, const QString& text) {
    QMessageBox::critical(this, title, text);
}

TSessionLogin TRemoteExpForm::Login() const {
    const TThreadedFTPClient& client = *m_client;
    TSessionLogin login;
    login.HostName = client.HostName;
    login.Port = client.Port;
    login.UserName = client.UserName;
    login.Password = client.Password;
    login.TransferType = client.TransferType;
    login.ResumeTransfer = client.ResumeTransfer;
    login.PassiveMode = client.PassiveMode;
    login.Encryption = client.Encryption;
    login.UploadToTemporaryName = client.UploadToTemporaryName;
    return login;
}

QAbstractItemView* TRemoteExpForm::ListView() const {
    return m_viewStyle == vsReport ? static_cast<QAbstractItemView*>(m_fileListView)
                                   : static_cast<QAbstractItemView*>(m_fileIconView);
}

std::vector<TFTPListItem*> TRemoteExpForm::SelectedEntries() const {
    QModelIndexList rows = m_fileListView->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<TFTPListItem*> entries;
    entries.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& row : rows) {
        if (TFTPListItem* entry = m_listModel->Entry(row)) {
            entries.push_back(entry);
        }
    }
    return entries;
}

void TRemoteExpForm::SelectEntries(const std::vector<const TFTPListItem*>& entries) {
    QItemSelection selection;
    QModelIndex first;
    for (const TFTPListItem* entry : entries) {
        const auto row = m_fileList.RowOf(entry);
        if (row >= 0) {
            const QModelIndex at = m_listModel->index(static_cast<int>(row), 0);
            selection.select(at, at);
            if (!first.isValid()) {
                first = at;
            }
        }
    }
    QItemSelectionModel* model = m_fileListView->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (first.isValid()) {
        model->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        ListView()->scrollTo(first);
    }
}

TFolderNode* TRemoteExpForm::TreeTarget() const {
    if (const TFolderNode* mark = m_treeModel->DropTarget()) {
        return const_cast<TFolderNode*>(mark); // the model draws it; the tree owns it
    }
    return SelectedNode();
}

void TRemoteExpForm::SetTreeMark(TFolderNode* node) {
    m_treeModel->SetDropTarget(node);
}

// The list entries leave the content, the listing of the selected node and, for folders, the
// tree.
void TRemoteExpForm::RemoveListedEntries(const std::vector<TFTPListItem*>& entries) {
    TFolderNode* folder = SelectedNode();
    if (entries.empty() || folder == nullptr) {
        return;
    }
    for (TFTPListItem* entry : entries) {
        if (!entry->IsFile) {
            if (TFolderNode* node = m_tree.NodeOf(entry)) {
                ++m_quietSelection;
                m_tree.RemoveNode(*node);
                --m_quietSelection;
            }
        }
    }
    const int scrolled = ListView()->verticalScrollBar()->value();
    const std::vector<const TFTPListItem*> going(entries.begin(), entries.end());
    m_fileList.Remove(going);
    m_listModel->Reset();
    ListView()->verticalScrollBar()->setValue(scrolled);
    if (folder->ListItems) {
        const std::unordered_set<const TFTPListItem*> set(going.begin(), going.end());
        folder->ListItems->RemoveIf(
            [&](const TFTPListItem& entry) { return set.contains(&entry); });
    }
    m_fileStatus[0]->setText(QString::fromStdString(m_fileList.CountText()));
    UpdateSelectionCounters();
}

void TRemoteExpForm::RefreshListRows(const std::vector<const TFTPListItem*>& entries) {
    m_listModel->EntriesChanged(entries);
}

void TRemoteExpForm::AddListEntry(TFTPListItem& entry, bool focusList) {
    m_listModel->RowAppended(m_fileList.Append(&entry));
    m_fileStatus[0]->setText(QString::fromStdString(m_fileList.CountText()));
    FitNameWidth();
    if (focusList) {
        ListView()->setFocus();
    }
    SelectEntries({&entry});
}

// --- Downloads --------------------------------------------------------------------------------

void TRemoteExpForm::FileDownloadActionExecute() {
    if (m_context.LocalFolder) {
        if (const auto folder = m_context.LocalFolder()) {
            FileDownloadActionExecuteBase(*folder);
        }
    }
}

void TRemoteExpForm::FileDownloadActionExecuteBase(std::string localFolder) {
    TThreadedFTPClient& client = *m_client;
    if (client.Busy()) {
        return;
    }
    AddTrailingSeparator(localFolder);
    client.HostFileNames.Clear();
    client.LocalFileNames.Clear();
    std::vector<std::string> skipped;
    const auto add = [&](const std::string& remote, const std::string& name, bool folder) {
        if (!UsableName(name)) {
            skipped.push_back(name);
            return;
        }
        const std::intptr_t kind = folder ? kFolderEntry : kFileEntry;
        client.HostFileNames.Add(remote, kind);
        client.LocalFileNames.Add(localFolder + name, kind);
    };
    if (m_treeActive) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        add(TFolderTree::GetNodePath(*node), node->Text, true);
    } else {
        const std::string folder = TFolderTree::GetNodeFolder(*SelectedNode());
        for (const TFTPListItem* entry : SelectedEntries()) {
            add(folder + entry->Name, entry->Name, !entry->IsFile);
        }
    }
    for (const std::string& name : skipped) {
        AddLogLine(
            tr("Skipped [%1]: not a name a local file can have.").arg(QString::fromStdString(name)),
            QColor(255, 0, 0));
    }
    if (client.HostFileNames.Empty()) {
        return;
    }
    client.OnDownloadsDone = [this](TThreadedFTPClient&) { FTPClientDownloadsDone(); };
    client.Downloads();
}

void TRemoteExpForm::FTPClientDownloadsDone() {
    PlaySound(m_client->ResultCode == 0 ? m_context.Options.TransferDoneWav
                                        : m_context.Options.ErrorWav);
    for (const std::string& skipped : m_client->SkippedEntries) {
        AddLogLine(QString::fromStdString(skipped), QColor(255, 0, 0));
    }
}

void TRemoteExpForm::FileDownloadtoActionExecute() {
    TBrowseFolderRequest request;
    request.Title = tr("Select Destination Folder");
    request.StartFolder = QString::fromStdString(m_downloadFolder);
    request.CheckBoxText = tr("Download in Queue");
    const auto chosen = TBrowseFolderDialog::Browse(request, this);
    if (!chosen) {
        return;
    }
    m_downloadFolder = chosen->Folder.toStdString();
    if (chosen->Checked) {
        FileDownloadinQueueActionExecuteBase(m_downloadFolder);
    } else if (m_client->Busy()) {
        QMessageBox::critical(this, tr("Remote Explorer Error"),
                              tr("Cannot download, busy on processing."));
    } else {
        FileDownloadActionExecuteBase(m_downloadFolder);
    }
}

void TRemoteExpForm::FileDownloadinQueueActionExecute() {
    if (m_context.LocalFolder) {
        if (const auto folder = m_context.LocalFolder()) {
            FileDownloadinQueueActionExecuteBase(*folder);
        }
    }
}

void TRemoteExpForm::FileDownloadinQueueActionExecuteBase(std::string localFolder) {
    if (!m_context.QueueItems) {
        return;
    }
    std::string sourceFolder;
    std::vector<TFTPListItem> entries;
    if (m_treeActive) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        sourceFolder = TFolderTree::GetNodeFolder(*node->Parent);
        TFTPListItem entry = MakeFolderEntry(node->Text, {}, Icons());
        entries.push_back(std::move(entry));
    } else {
        sourceFolder = TFolderTree::GetNodeFolder(*SelectedNode());
        for (const TFTPListItem* entry : SelectedEntries()) {
            entries.push_back(*entry);
        }
    }
    std::vector<std::string> skipped;
    auto items =
        MakeDownloadItems(Login(), sourceFolder, entries, std::move(localFolder), &skipped);
    for (const std::string& name : skipped) {
        AddLogLine(
            tr("Skipped [%1]: not a name a local file can have.").arg(QString::fromStdString(name)),
            QColor(255, 0, 0));
    }
    if (!items.empty()) {
        m_context.QueueItems(std::move(items));
    }
}

// --- Open, Print, Online Edit -----------------------------------------------------------------

void TRemoteExpForm::FileOpenActionExecute() {
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    if (selected.size() != 1) {
        return;
    }
    if (!selected.front()->IsFile) {
        if (TFolderNode* node = m_tree.NodeOf(selected.front())) {
            SelectFolder(*node);
        }
        return;
    }
    DownloadSelectedFile([this] { FTPClientDownloadFileDoneInOpen("open"); });
}

// Downloads the selected file into the folder of temporary downloads.
void TRemoteExpForm::DownloadSelectedFile(std::function<void()> done) {
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    if (selected.size() != 1 || !selected.front()->IsFile || m_client->Busy()) {
        return;
    }
    const TFTPListItem& entry = *selected.front();
    if (!UsableName(entry.Name)) {
        ShowError(tr("Remote Explorer Error"),
                  tr("Cannot download [%1]: not a name a local file can have.")
                      .arg(QString::fromStdString(entry.Name)));
        return;
    }
    std::string folder = m_context.Options.TempDownloadFolder;
    AddTrailingSeparator(folder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    TThreadedFTPClient& client = *m_client;
    client.HostFileName = TFolderTree::GetNodeFolder(*SelectedNode()) + entry.Name;
    client.LocalFileName = folder + entry.Name;
    client.OnDownloadFileDone = [done = std::move(done)](TThreadedFTPClient&) { done(); };
    client.DownloadFile();
}

void TRemoteExpForm::FTPClientDownloadFileDoneInOpen(const char* verb) {
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    const QString file = QString::fromStdString(m_client->LocalFileName);
    if (std::string_view(verb) == "open") {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
            ShowError(tr("Remote Explorer Error"),
                      tr("No program of this desktop opens [%1].").arg(file));
        }
        return;
    }
    // Printing goes through the system's print spooler.
    auto* spooler = new QProcess(this);
    connect(spooler, &QProcess::errorOccurred, this, [this, spooler, file](QProcess::ProcessError) {
        if (spooler->state() == QProcess::NotRunning && spooler->exitCode() == 0) {
            ShowError(tr("Remote Explorer Error"),
                      tr("Cannot print [%1]: the print spooler (lp) cannot be started: %2")
                          .arg(file, spooler->errorString()));
        }
        spooler->deleteLater();
    });
    connect(spooler, &QProcess::finished, this, [this, spooler, file](int code) {
        if (code != 0) {
            const QString reason =
                QString::fromLocal8Bit(spooler->readAllStandardError()).trimmed();
            ShowError(
                tr("Remote Explorer Error"),
                tr("Cannot print [%1]: %2").arg(file, reason.isEmpty() ? tr("lp failed") : reason));
        }
        spooler->deleteLater();
    });
    spooler->start(QStringLiteral("lp"), {QStringLiteral("--"), file});
}

void TRemoteExpForm::FileOnlineEditActionExecute() {
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    if (selected.size() != 1 || !selected.front()->IsFile || !m_context.OpenInEditor) {
        return;
    }
    const TFTPListItem& entry = *selected.front();
    if (entry.Size > kMaxOnlineEditFileSize) {
        ShowError(tr("Remote Explorer Error"),
                  tr("[%1] is too large for the online editor: %2, at most %3.")
                      .arg(QString::fromStdString(entry.Name),
                           QString::fromStdString(FormatFileSize(entry.Size)),
                           QString::fromStdString(FormatFileSize(kMaxOnlineEditFileSize))));
        return;
    }
    m_pendingItems = {selected.front()};
    // The editor keeps the bytes and the line ends as they are, and writes them back in binary:
    // an ASCII round trip would turn CR LF into LF on many servers.
    const TFTPTransferType kept = m_client->TransferType;
    m_client->TransferType = TFTPTransferType::ftpTypeBinary;
    DownloadSelectedFile([this, kept] {
        m_client->TransferType = kept;
        FTPClientDownloadFileDoneInOnlineEdit();
    });
    if (!m_client->Busy()) {
        m_client->TransferType = kept;
        m_pendingItems.clear(); // nothing was issued
    }
}

void TRemoteExpForm::FTPClientDownloadFileDoneInOnlineEdit() {
    const std::vector<TFTPListItem*> pending = std::exchange(m_pendingItems, {});
    if (m_client->ResultCode != 0 || pending.empty()) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    const TThreadedFTPClient& client = *m_client;
    auto file = std::make_unique<TRemoteEditFile>();
    file->HostName = client.HostName;
    file->Port = client.Port;
    file->UserName = client.UserName;
    file->Password = client.Password;
    file->HostDirName = TFolderTree::GetNodeFolder(*SelectedNode());
    file->FileName = pending.front()->Name;
    file->TransferType = TFTPTransferType::ftpTypeBinary;
    file->PassiveMode = client.PassiveMode;
    file->UploadToTemporaryName = client.UploadToTemporaryName;
    file->Encryption = client.Encryption;
    file->LocalFileName = client.LocalFileName;
    if (m_context.OpenInEditor) {
        m_context.OpenInEditor(std::move(file));
    }
}

// --- Folders ----------------------------------------------------------------------------------

void TRemoteExpForm::FileNewFolderActionExecute() {
    const bool fromTree = m_treeActive;
    const auto name = AskText(tr("[New Folder]"), tr("Folder Name:"));
    TFolderNode* parent = SelectedNode();
    if (!name || parent == nullptr || m_client->Busy()) {
        return;
    }
    const std::string text = name->toStdString();
    if (!UsableName(text)) {
        ShowError(tr("Remote Explorer Error"),
                  tr("[%1] is not a name a folder can have.").arg(*name));
        return;
    }
    if (fromTree) {
        m_pendingNode = parent;
    }
    m_newFolderName = text;
    TThreadedFTPClient& client = *m_client;
    client.HostFileName = TFolderTree::GetNodeFolder(*parent) + text;
    if (fromTree) {
        client.OnMakeFolderDone = [this](TThreadedFTPClient&) {
            FTPClientMakeFolderDoneInFolderTree();
        };
    } else {
        client.OnMakeFolderDone = [this](TThreadedFTPClient&) {
            FTPClientMakeFolderDoneInFileList();
        };
    }
    client.MakeFolder();
}

void TRemoteExpForm::FTPClientMakeFolderDoneInFolderTree() {
    TFolderNode* parent = std::exchange(m_pendingNode, nullptr);
    if (m_client->ResultCode != 0 || parent == nullptr) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    TFTPListItem* entry = nullptr;
    if (parent->Listed()) {
        auto made = std::make_unique<TFTPListItem>(MakeFolderEntry(m_newFolderName, {}, Icons()));
        entry = made.get();
        parent->ListItems->Add(std::move(made));
    }
    m_tree.AppendChild(*parent, m_newFolderName, entry);
    if (entry != nullptr && parent == SelectedNode()) {
        AddListEntry(*entry, false); // selected and focused in the list; the tree keeps the keys
    }
    m_folderTreeView->expand(m_treeModel->IndexOf(parent));
}

void TRemoteExpForm::FTPClientMakeFolderDoneInFileList() {
    TFolderNode* folder = SelectedNode();
    if (m_client->ResultCode != 0 || folder == nullptr) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    if (!folder->ListItems) {
        folder->ListItems = std::make_unique<TFTPListItems>();
    }
    auto made = std::make_unique<TFTPListItem>(MakeFolderEntry(m_newFolderName, "?", Icons()));
    TFTPListItem& entry = *made;
    folder->ListItems->Add(std::move(made));
    m_tree.AddFolderTreeNode(*folder, entry);
    AddListEntry(entry, true);
}

void TRemoteExpForm::FileChangeFolderActionExecute() {
    const auto name = AskText(tr("[Change Folder]"), tr("Folder Name:"));
    TFolderNode* selected = SelectedNode();
    if (!name || selected == nullptr || m_client->Busy()) {
        return;
    }
    const std::string text = name->toStdString();
    if (TFolderNode* child = TFolderTree::FindChildNode(*selected, text)) {
        SelectFolder(*child);
        return;
    }
    TFTPListItem* entry = nullptr;
    if (selected->Listed()) {
        auto made = std::make_unique<TFTPListItem>(MakeFolderEntry(text, {}, Icons()));
        entry = made.get();
        selected->ListItems->Add(std::move(made));
    }
    TFolderNode& node = m_tree.AppendChild(*selected, text, entry);
    SelectFolder(node);
}

// --- Delete -----------------------------------------------------------------------------------

void TRemoteExpForm::FileDeleteActionExecute() {
    TThreadedFTPClient& client = *m_client;
    if (m_treeActive) {
        TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        if (node->IsLink()) {
            QMessageBox::critical(this, tr("Remote Explorer Delete Error"),
                                  tr("Cannot delete folder link."));
            return;
        }
        if (QMessageBox::question(this, tr("Remote Explorer Delete Confirm"),
                                  tr("Are you sure to delete the folder [%1]?")
                                      .arg(QString::fromStdString(node->Text)),
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes ||
            client.Busy()) {
            return;
        }
        m_pendingNode = node;
        m_deletingNode = true;
        client.HostDirName = TFolderTree::GetNodePath(*node->Parent);
        client.HostFileNames.Clear();
        client.HostFileNames.Add(node->Text, kFolderEntry);
        client.OnRemoveDone = [this](TThreadedFTPClient&) { FTPClientRemoveDoneInFolderTree(); };
        client.Remove();
        return;
    }
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    if (selected.empty()) {
        return;
    }
    if (QMessageBox::question(
            this, tr("Remote Explorer Delete Confirm"),
            tr("Are you sure to delete %1 selected items?").arg(static_cast<int>(selected.size())),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes ||
        client.Busy()) {
        return;
    }
    if (std::any_of(selected.begin(), selected.end(),
                    [](const TFTPListItem* entry) { return !entry->IsFile && entry->IsLink; })) {
        QMessageBox::critical(this, tr("Remote Explorer Delete Error"),
                              tr("Cannot delete folder link."));
        return;
    }
    m_pendingItems = selected;
    client.HostDirName = TFolderTree::GetNodePath(*SelectedNode());
    client.HostFileNames.Clear();
    for (const TFTPListItem* entry : selected) {
        client.HostFileNames.Add(entry->Name, entry->IsFile ? kFileEntry : kFolderEntry);
    }
    client.OnRemoveDone = [this](TThreadedFTPClient&) { FTPClientRemoveDoneInFileList(); };
    client.Remove();
}

void TRemoteExpForm::FTPClientRemoveDoneInFolderTree() {
    TFolderNode* node = std::exchange(m_pendingNode, nullptr);
    const bool deleting = std::exchange(m_deletingNode, false);
    if (m_client->ResultCode != 0 || node == nullptr) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    TFolderNode* parent = node->Parent;
    TFTPListItem* entry = node->ListItem;
    if (entry != nullptr && parent == SelectedNode()) {
        const int scrolled = ListView()->verticalScrollBar()->value();
        m_fileList.Remove({entry});
        m_listModel->Reset();
        ListView()->verticalScrollBar()->setValue(scrolled);
        m_fileStatus[0]->setText(QString::fromStdString(m_fileList.CountText()));
        UpdateSelectionCounters();
    }
    if (deleting) {
        const TFolderNode* selected = SelectedNode();
        ++m_quietSelection;
        if (selected != nullptr && TFolderTree::IsWithin(*selected, *node)) {
            m_folderTreeView->setCurrentIndex(m_treeModel->IndexOf(parent));
        }
        m_tree.RemoveNode(*node);
        --m_quietSelection;
    }
    if (entry != nullptr && parent->ListItems) {
        parent->ListItems->RemoveIf([&](const TFTPListItem& item) { return &item == entry; });
    }
    if (SelectedNode() != parent) {
        SelectFolder(*parent); // shows it from its cache
    } else if (m_shownNode != parent) {
        ShowNode(parent);
    }
}

void TRemoteExpForm::FTPClientRemoveDoneInFileList() {
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav);
    }
    const std::vector<TFTPListItem*> pending = std::exchange(m_pendingItems, {});
    const std::unordered_set<std::string> left = NamesOf(m_client->HostFileNames);
    std::vector<TFTPListItem*> removed;
    for (TFTPListItem* entry : pending) {
        if (!left.contains(entry->Name)) {
            removed.push_back(entry);
        }
    }
    RemoveListedEntries(removed);
    for (const std::string& skipped : m_client->SkippedEntries) {
        AddLogLine(QString::fromStdString(skipped), QColor(255, 0, 0));
    }
}

// --- Rename -----------------------------------------------------------------------------------

void TRemoteExpForm::FileRenameActionExecute() {
    if (m_treeActive) {
        if (TFolderNode* node = TreeTarget(); node != nullptr && node->Parent != nullptr) {
            m_folderTreeView->edit(m_treeModel->IndexOf(node));
        }
        return;
    }
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    if (selected.size() == 1) {
        const auto row = m_fileList.RowOf(selected.front());
        if (row >= 0) {
            QAbstractItemView* view = ListView();
            const QModelIndex at = m_listModel->index(static_cast<int>(row), 0);
            view->scrollTo(at);
            view->edit(at);
        }
    }
}

namespace {
bool UsableNewName(const std::string& name) {
    return IsSafeEntryName(name);
}
} // namespace

void TRemoteExpForm::RenameNode(TFolderNode& node, const std::string& newName) {
    if (m_client->Busy() || node.Parent == nullptr || newName == node.Text) {
        return;
    }
    if (!UsableNewName(newName)) {
        ShowError(tr("Remote Explorer Error"),
                  tr("[%1] is not a name a folder can have.").arg(QString::fromStdString(newName)));
        return;
    }
    m_newTreeName = newName;
    m_pendingNode = &node;
    const std::string folder = TFolderTree::GetNodeFolder(*node.Parent);
    m_client->HostFileName = folder + node.Text;
    m_client->LocalFileName = folder + newName;
    m_client->OnRenameDone = [this](TThreadedFTPClient&) { FTPClientRenameDoneInFolderTree(); };
    m_client->Rename();
}

void TRemoteExpForm::RenameEntry(TFTPListItem& entry, const std::string& newName) {
    if (m_client->Busy() || SelectedNode() == nullptr || newName == entry.Name) {
        return;
    }
    if (!UsableNewName(newName)) {
        ShowError(tr("Remote Explorer Error"),
                  tr("[%1] is not a name a file can have.").arg(QString::fromStdString(newName)));
        return;
    }
    m_newListName = newName;
    m_pendingItems = {&entry};
    const std::string folder = TFolderTree::GetNodeFolder(*SelectedNode());
    m_client->HostFileName = folder + entry.Name;
    m_client->LocalFileName = folder + newName;
    m_client->OnRenameDone = [this](TThreadedFTPClient&) { FTPClientRenameDoneInFileList(); };
    m_client->Rename();
}

void TRemoteExpForm::SetComboText(const TFolderNode& node) {
    const auto at = std::find(m_comboNodes.begin(), m_comboNodes.end(), &node);
    if (at != m_comboNodes.end()) {
        const int index = static_cast<int>(at - m_comboNodes.begin());
        m_folderCombo->setItemText(index, QString::fromStdString(node.Text));
        m_folderCombo->setItemData(index, QString::fromStdString(TFolderTree::GetNodePath(node)),
                                   Qt::ToolTipRole);
    }
}

void TRemoteExpForm::FTPClientRenameDoneInFolderTree() {
    TFolderNode* node = std::exchange(m_pendingNode, nullptr);
    if (m_client->ResultCode != 0 || node == nullptr) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    m_tree.SetNodeText(*node, m_newTreeName);
    if (node->ListItem != nullptr) {
        node->ListItem->Name = m_newTreeName;
        RefreshListRows({node->ListItem});
    }
    SetComboText(*node);
    if (node == m_shownNode) {
        FillFileList(*node); // the titles name the folder
    }
}

void TRemoteExpForm::FTPClientRenameDoneInFileList() {
    const std::vector<TFTPListItem*> pending = std::exchange(m_pendingItems, {});
    if (m_client->ResultCode != 0 || pending.empty()) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    TFTPListItem& entry = *pending.front();
    entry.Name = m_newListName;
    RefreshListRows({&entry});
    if (!entry.IsFile) {
        if (TFolderNode* node = m_tree.NodeOf(&entry)) {
            m_tree.SetNodeText(*node, m_newListName);
            SetComboText(*node);
        }
    }
}

// --- Change Permission ------------------------------------------------------------------------

void TRemoteExpForm::FileChangePermActionExecute() {
    TThreadedFTPClient& client = *m_client;
    const QString font = QString::fromStdString(m_context.Options.FontName);
    TChangePermForm dialog(font, m_context.Options.FontSize, this);
    if (m_treeActive) {
        TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        const TFTPListItem* entry = node->ListItem;
        dialog.SetPermission(entry != nullptr && !entry->IsLink ? entry->Permission : "");
        if (dialog.exec() != QDialog::Accepted || client.Busy()) {
            return;
        }
        m_newPermission = dialog.GetPermission();
        m_pendingNode = node;
        client.HostDirName = TFolderTree::GetNodePath(*node->Parent);
        client.LocalFileName = dialog.GetOctal();
        client.HostFileNames.Clear();
        client.HostFileNames.Add(node->Text, kFolderEntry);
        client.OnChangePermsDone = [this](TThreadedFTPClient&) {
            FTPClientChangePermsDoneInFolderTree();
        };
        client.ChangePerms();
        return;
    }
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    if (selected.empty()) {
        return;
    }
    dialog.SetPermission(
        selected.size() == 1 && !selected.front()->IsLink ? selected.front()->Permission : "");
    if (dialog.exec() != QDialog::Accepted || client.Busy()) {
        return;
    }
    m_newPermission = dialog.GetPermission();
    client.HostDirName = TFolderTree::GetNodePath(*SelectedNode());
    client.LocalFileName = dialog.GetOctal();
    m_pendingItems = selected;
    client.HostFileNames.Clear();
    for (const TFTPListItem* entry : selected) {
        client.HostFileNames.Add(entry->Name, entry->IsFile ? kFileEntry : kFolderEntry);
    }
    client.OnChangePermsDone = [this](TThreadedFTPClient&) {
        FTPClientChangePermsDoneInFileList();
    };
    client.ChangePerms();
}

void TRemoteExpForm::FTPClientChangePermsDoneInFolderTree() {
    TFolderNode* node = std::exchange(m_pendingNode, nullptr);
    if (m_client->ResultCode != 0 || node == nullptr) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    if (TFTPListItem* entry = node->ListItem; entry != nullptr && !entry->IsLink) {
        entry->Permission = ChangedPermission(m_newPermission, true);
        if (node->Parent == SelectedNode()) {
            RefreshListRows({entry});
        }
    }
}

void TRemoteExpForm::FTPClientChangePermsDoneInFileList() {
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav);
    }
    const std::vector<TFTPListItem*> pending = std::exchange(m_pendingItems, {});
    const std::unordered_set<std::string> left = NamesOf(m_client->HostFileNames);
    std::vector<const TFTPListItem*> changed;
    for (TFTPListItem* entry : pending) {
        if (!left.contains(entry->Name) && !entry->IsLink) {
            entry->Permission = ChangedPermission(m_newPermission, !entry->IsFile);
            changed.push_back(entry);
        }
    }
    RefreshListRows(changed);
}

// --- Filtering, Properties, Server Information, Telnet ---------------------------------------

void TRemoteExpForm::FileFilteringActionExecute() {
    const auto masks =
        AskText(tr("[Filtering]"), tr("Filter:"), QString::fromStdString(m_masks.MaskText()));
    if (masks) {
        SetFilter(masks->toStdString());
    }
}

void TRemoteExpForm::FilePropertiesActionExecute() {
    TRemotePropertiesForm dialog(QString::fromStdString(m_context.Options.FontName),
                                 m_context.Options.FontSize, this);
    const TQtShellIcons* icons = QtShellIcons();
    const auto fallback = [&](const QIcon& icon, const std::string& name) {
        dialog.SetIcon(icon);
        TRemoteEntryTexts texts;
        texts.Name = QString::fromStdString(name);
        texts.TypeName = QString::fromStdString(Icons().FolderTypeName);
        texts.Size = QStringLiteral("0");
        texts.Date = texts.Permission = texts.LinkTo = QStringLiteral("?");
        dialog.SetTexts(texts);
    };
    if (m_treeActive) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        dialog.SetPath(QString::fromStdString(TFolderTree::GetNodeFolder(*node->Parent)));
        if (node->ListItem != nullptr) {
            dialog.ShowItem(*node->ListItem);
        } else {
            fallback(icons != nullptr ? icons->Icon(icons->FolderIconIndex) : QIcon(), node->Text);
        }
    } else {
        const std::vector<TFTPListItem*> selected = SelectedEntries();
        if (selected.size() != 1) {
            return;
        }
        dialog.SetPath(QString::fromStdString(TFolderTree::GetNodeFolder(*SelectedNode())));
        dialog.ShowItem(*selected.front());
    }
    dialog.exec();
}

void TRemoteExpForm::ViewServerInfoActionExecute() {
    const TThreadedFTPClient& client = *m_client;
    TServerInfoForm dialog(QString::fromStdString(m_context.Options.FontName),
                           m_context.Options.FontSize, this);
    dialog.SetHostName(QString::fromStdString(client.HostName));
    dialog.SetPort(QString::fromStdString(client.Port).toInt());
    dialog.SetIPAddress(QString::fromStdString(client.HostAddress()));
    dialog.SetServerType(QString::fromStdString(client.SystemName));
    dialog.SetResumingSupportText(client.ResumeSupported
                                      ? tr("Server Supports Resuming Transfer")
                                      : tr("Server Does not Support Resuming Transfer"));
    dialog.SetFeatures(client.Features);
    dialog.exec();
}

void TRemoteExpForm::ToolTelnetActionExecute() {
    const QString program = QString::fromStdString(m_context.Options.TelnetApp);
    const QString host = QString::fromStdString(m_client->HostName);
    if (program.isEmpty() || !QProcess::startDetached(program, {host})) {
        ShowError(tr("Remote Explorer Error"),
                  tr("Cannot start the telnet program [%1]. Choose another one in the global "
                     "options.")
                      .arg(program));
    }
}

// --- Clipboard and selection ------------------------------------------------------------------

void TRemoteExpForm::EditCopyURLActionExecute() {
    std::string path;
    if (m_treeActive) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr) {
            return;
        }
        path = TFolderTree::GetNodePath(*node);
    } else {
        const std::vector<TFTPListItem*> selected = SelectedEntries();
        if (selected.size() != 1) {
            return;
        }
        path = TFolderTree::GetNodeFolder(*SelectedNode()) + selected.front()->Name;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(CopyUrlText(Login(), path)));
}

void TRemoteExpForm::EditSelectAllActionExecute(bool invert) {
    QItemSelectionModel* selection = m_fileListView->selectionModel();
    const int rows = m_listModel->rowCount();
    if (rows > 0) {
        const QItemSelection all(m_listModel->index(0, 0),
                                 m_listModel->index(rows - 1, TFileListContent::kColumns - 1));
        selection->select(all, invert ? QItemSelectionModel::Toggle
                                      : QItemSelectionModel::ClearAndSelect);
    }
    ListView()->setFocus();
}

} // namespace qx
