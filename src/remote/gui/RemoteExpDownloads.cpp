// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's downloads: direct ones through its session, queued ones, and the
// single file that Open, Print and Online Edit fetch into the folder of temporary downloads.

#include "remote/gui/RemoteExpForm.h"

#include "base/LoginCopy.h"
#include "base/Utilities.h"
#include "session/RemoteNames.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "widgets/BrowseFolderDialog.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"
#include "widgets/QtShellIcons.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <filesystem>

namespace qx {

// --- Downloads --------------------------------------------------------------------------------

void TRemoteExpForm::FileDownloadActionExecute() {
    if (m_context.LocalFolder) {
        if (const auto folder = m_context.LocalFolder()) {
            FileDownloadActionExecuteBase(*folder);
        }
    }
}

void TRemoteExpForm::FileDownloadActionExecuteBase(std::string localFolder) {
    if (m_client->Busy()) {
        return;
    }
    std::vector<TFoundEntry> entries;
    if (m_shell->TreeActive()) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        entries.push_back(
            {TFolderTree::GetNodePath(*node), MakeFolderEntry(node->Text, {}, SharedShellIcons())});
    } else {
        const std::string folder = TFolderTree::GetNodeFolder(*SelectedNode());
        for (const TFTPListItem* entry : SelectedEntries()) {
            entries.push_back({folder + entry->Name, *entry});
        }
    }
    DownloadEntries(entries, std::move(localFolder));
}

bool TRemoteExpForm::DownloadEntries(const std::vector<TFoundEntry>& entries,
                                     std::string localFolder) {
    TThreadedFTPClient& client = *m_client;
    if (client.Busy()) {
        return false;
    }
    AddTrailingSeparator(localFolder);
    client.HostFileNames.Clear();
    client.LocalFileNames.Clear();
    for (const TFoundEntry& entry : entries) {
        const std::string& name = entry.Item.Name;
        if (!IsSafeEntryName(name)) {
            AddLogLine(tr("Skipped [%1]: not a name a local file can have.")
                           .arg(QString::fromStdString(name)),
                       QColor(255, 0, 0));
            continue;
        }
        const std::intptr_t kind = entry.Item.IsFile ? kFileEntry : kFolderEntry;
        client.HostFileNames.Add(entry.Path, kind);
        client.LocalFileNames.Add(localFolder + name, kind);
    }
    if (client.HostFileNames.Empty()) {
        return true;
    }
    client.OnDownloadsDone = [this](TThreadedFTPClient&) { FTPClientDownloadsDone(); };
    client.Downloads();
    return true;
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
    if (m_shell->TreeActive()) {
        const TFolderNode* node = TreeTarget();
        if (node == nullptr || node->Parent == nullptr) {
            return;
        }
        sourceFolder = TFolderTree::GetNodeFolder(*node->Parent);
        TFTPListItem entry = MakeFolderEntry(node->Text, {}, SharedShellIcons());
        entries.push_back(std::move(entry));
    } else {
        sourceFolder = TFolderTree::GetNodeFolder(*SelectedNode());
        for (const TFTPListItem* entry : SelectedEntries()) {
            entries.push_back(*entry);
        }
    }
    QueueDownloads(sourceFolder, entries, std::move(localFolder));
}

void TRemoteExpForm::QueueDownloads(const std::string& sourceFolder,
                                    const std::vector<TFTPListItem>& entries,
                                    std::string localFolder) {
    if (!m_context.QueueItems) {
        return;
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
    if (selected.size() != 1 || !selected.front()->IsFile) {
        return;
    }
    DownloadToTemporary(TFolderTree::GetNodeFolder(*SelectedNode()) + selected.front()->Name,
                        selected.front()->Name, std::move(done));
}

bool TRemoteExpForm::DownloadToTemporary(const std::string& remotePath, const std::string& name,
                                         std::function<void()> done) {
    if (m_client->Busy()) {
        return false;
    }
    if (!IsSafeEntryName(name)) {
        ShowError(tr("Remote Explorer Error"),
                  tr("Cannot download [%1]: not a name a local file can have.")
                      .arg(QString::fromStdString(name)));
        return true;
    }
    std::string folder = m_context.Options.TempDownloadFolder;
    AddTrailingSeparator(folder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    TThreadedFTPClient& client = *m_client;
    client.HostFileName = remotePath;
    client.LocalFileName = folder + name;
    client.OnDownloadFileDone = [done = std::move(done)](TThreadedFTPClient&) { done(); };
    client.DownloadFile();
    return true;
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
                           QString::fromStdString(FormatFileSize(entry.Size, DecimalPoint())),
                           QString::fromStdString(
                               FormatFileSize(kMaxOnlineEditFileSize, DecimalPoint()))));
        return;
    }
    m_pendingItems = {selected.front()};
    // The editor keeps the bytes and the line ends as they are, and writes them back in binary:
    // an ASCII round trip would turn CR LF into LF on many servers.
    // The editor's copy keeps the time of its download.
    const TFTPTransferType kept = m_client->TransferType;
    m_client->TransferType = TFTPTransferType::ftpTypeBinary;
    m_client->KeepFileTimes = false;
    DownloadSelectedFile([this, kept] {
        m_client->TransferType = kept;
        m_client->KeepFileTimes = m_context.Options.KeepFileTimes;
        FTPClientDownloadFileDoneInOnlineEdit();
    });
    if (!m_client->Busy()) {
        m_client->TransferType = kept;
        m_client->KeepFileTimes = m_context.Options.KeepFileTimes;
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
    CopyLogin(*file, client);
    file->TransferType = TFTPTransferType::ftpTypeBinary;
    file->HostDirName = TFolderTree::GetNodeFolder(*SelectedNode());
    file->FileName = pending.front()->Name;
    file->LocalFileName = client.LocalFileName;
    if (m_context.OpenInEditor) {
        m_context.OpenInEditor(std::move(file));
    }
}

} // namespace qx
