// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's session with its server: connecting, showing folders from the server
// or from the listing cache, the file list, the session log and the transfer panels.

#include "remote/gui/RemoteExpForm.h"
#include "remote/gui/SessionLogView.h"

#include "base/Utilities.h"
#include "remote/RemoteExpTexts.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "remote/gui/InputForm.h"
#include "session/ThreadedFTPClient.h"
#include "session/gui/OverwriteForm.h"
#include "settings/GlobalOptions.h"
#include "settings/ProxyStore.h"
#include "settings/SiteProperties.h"
#include "settings/gui/CertificateTrust.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"
#include "widgets/MainDataModule.h"
#include "widgets/QtShellIcons.h"
#include "widgets/TitlePanel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace qx {

void TRemoteExpForm::ConfigureClient() {
    m_client = TThreadedFTPClient::Create(m_context.Ui);
    TThreadedFTPClient& client = *m_client;
    const TSiteProperties& site = *m_site;
    client.ASCIIExts = &m_context.Options.ASCIIFileExts;
    client.PassiveMode = site.PassiveMode;
    client.UseMlsd = site.UseMlsd;
    client.UploadToTemporaryName = site.UploadToTemporaryName;
    client.Encryption = site.Encryption;
    client.Protocol = site.Protocol;
    client.Ssh = site.SshSettings();
    client.ResumeTransfer = site.ResumeTransfer;
    client.TransferType = site.TransferType;
    client.LoginRetry = site.LoginRetry;
    client.ReloginDelay = site.ReloginDelay;
    client.Timeout = m_context.Options.Timeout;
    client.KeepFileTimes = m_context.Options.KeepFileTimes;
    client.TimeZoneOffset = site.TimeZoneOffset;
    client.Proxy = ChosenProxy(site.ProxyMode, site.Proxy, m_context.Options.Proxy);
    client.NameCharset = site.NameCharset();
    const TSpeedLimitValues limits = EffectiveSpeedLimits(site, m_context.Options);
    client.SpeedLimits = TSpeedLimits::Make(limits.Download, limits.Upload);
    client.KeepAliveInterval = site.KeepAliveInterval;
    client.OnDisplay = [this](TThreadedFTPClient&, const std::string& line) { OnDisplay(line); };
    client.OnTransferStatus = [this](TThreadedFTPClient& c, std::int64_t position,
                                     std::int64_t transfered, std::int64_t elapsed) {
        const TTransferPanels panels = TransferPanels(c.FileSize, position, transfered, elapsed);
        const std::string* texts[] = {&panels.Size, &panels.Position, &panels.Rate,
                                      &panels.TimeLeft, &panels.Done};
        for (int panel = 0; panel < 5; ++panel) {
            m_status[panel]->setText(QString::fromStdString(*texts[panel]));
        }
    };
    client.OnAuthenticate = [this](TThreadedFTPClient& c, TFTPAuthenticate what, std::string& need,
                                   bool& cancel) {
        // A missing user name or password is asked for; anonymous gets the e-mail address
        // of the options, shown in the clear.
        const bool password = what == TFTPAuthenticate::ftpAuthPassword;
        const bool anonymous = password && c.UserName == "anonymous";
        TInputRequest request;
        request.ApplicationText = tr("Remote Explorer");
        request.CaptionText = tr("[Authenticate]");
        request.Prompt = password ? tr("Password:") : tr("User Name:");
        request.InitialText =
            anonymous ? QString::fromStdString(m_context.Options.Email) : QString();
        request.PasswordMask = password && !anonymous;
        const auto answer =
            TInputForm::Ask(request, QString::fromStdString(m_context.Options.FontName),
                            m_context.Options.FontSize, this);
        cancel = !answer.has_value();
        if (answer) {
            need = answer->toStdString();
        }
    };
    client.OnOverwrite = [this](TThreadedFTPClient&, const TOverwriteQuestion& question,
                                TOverwriteAnswer& answer) {
        // Open, Print and Online Edit download into the private temporary folder, where an
        // older copy is simply replaced.
        const std::string& temporary = m_context.Options.TempDownloadFolder;
        if (!question.Upload && !temporary.empty() && question.Target.starts_with(temporary)) {
            answer.Choice = TOverwriteChoice::Overwrite;
            return;
        }
        if (const auto standing = StandingOverwriteChoice(m_context.Options.WhenTargetExists)) {
            answer.Choice = *standing;
            answer.ApplyToAll = true;
            return;
        }
        answer = TOverwriteForm::Ask(question, QString::fromStdString(m_context.Options.FontName),
                                     m_context.Options.FontSize, this);
    };
    AskClientQuestions(client, m_context.Store, m_context.Options, this);
    client.OnConnectDone = [this](TThreadedFTPClient&) { OnConnectDone(); };
    client.OnGetFolderDone = [this](TThreadedFTPClient&) { OnGetFolderDone(); };
    client.OnQuitDone = [this](TThreadedFTPClient& c) { c.StopThread(); };
    client.OnEndThread = [this](TThreadedFTPClient&) {
        m_canClose = true;
        PostClose();
    };
    client.StartThread();
    client.HostName = site.HostName;
    client.Port = std::to_string(site.Port);
    client.UserName = site.UserName;
    client.Password = site.Password;
    client.InitialFolder = site.InitialFolder;
}

void TRemoteExpForm::PlaySound(const std::string& file) const {
    if (m_context.PlaySound) {
        m_context.PlaySound(file);
    }
}

void TRemoteExpForm::OnConnectDone() {
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav);
        m_closing = false; // the close that follows ends the session
        if (m_client->ResultCode == 1) {
            QMetaObject::invokeMethod(
                this, [this] { ReportConnectFailure(); }, Qt::QueuedConnection);
        } else {
            PostClose(); // cancelled: nothing to report
        }
        return;
    }
    m_connected = true;
    // An SFTP login may leave the user to ssh: then the caption names none. Nor does it
    // name an address, which only ssh knows.
    const QString user = QString::fromStdString(m_client->UserName);
    const QString address = QString::fromStdString(m_client->HostAddress());
    m_captionText = QStringLiteral("[%1%2%3]")
                        .arg(user.isEmpty() ? QString() : user + QLatin1Char('@'),
                             QString::fromStdString(m_client->HostName),
                             address.isEmpty() ? QString() : QStringLiteral(", ") + address);
    UpdateCaption();
    if (m_context.Main != nullptr && m_context.Explorers.First() == this) {
        m_context.Main->SetCaptionText(m_captionText);
    }
    m_client->GetFolder();
}

void TRemoteExpForm::UpdateCaption() {
    setWindowTitle(tr("Pellucor's Remote Explorer %1").arg(m_captionText));
}

// A session that could not be opened says why before its window goes.
void TRemoteExpForm::ReportConnectFailure() {
    QString reason = CoreText(m_client->ErrorMessage).trimmed();
    if (reason.isEmpty()) {
        reason = tr("The server did not accept the connection.");
    }
    QMessageBox::critical(
        this, tr("Remote Explorer Error"),
        tr("Cannot connect to [%1]:\n%2").arg(QString::fromStdString(m_client->HostName), reason));
    PostClose();
}

void TRemoteExpForm::OnGetFolderDone() {
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav);
        PostClose();
        return;
    }
    TFolderNode& deepest = m_tree.BuildChain(m_client->CurrentFolder());
    m_treeModel->Reset();
    TreeView().expandAll();
    TreeView().setCurrentIndex(m_treeModel->IndexOf(&deepest)); // lists it
    PlaySound(m_context.Options.LoggedinWav);
}

// --- Showing a folder -----------------------------------------------------------------------

void TRemoteExpForm::SelectNodeQuietly(TFolderNode* node) {
    if (node == nullptr) {
        return; // nothing shown yet: the selection stays where it is
    }
    ++m_quietSelection;
    TreeView().setCurrentIndex(m_treeModel->IndexOf(node));
    --m_quietSelection;
}

void TRemoteExpForm::ShowNode(TFolderNode* node) {
    if (node == nullptr || node == m_shownNode) {
        return;
    }
    if (m_client->Busy()) {
        // No second request while one runs: the tree keeps showing the folder it showed, or
        // the one being listed first.
        SelectNodeQuietly(m_shownNode != nullptr ? m_shownNode : m_listingNode);
        return;
    }
    if (!node->Listed()) {
        m_listingNode = node;
        node->ListItems = std::make_unique<TFTPListItems>();
        m_client->HostDirName = TFolderTree::GetNodePath(*node);
        m_client->ListItems = node->ListItems.get();
        m_client->OnGetListItemsDone = [this](TThreadedFTPClient&) { OnListed(m_listingNode); };
        m_client->GetListItems();
        return;
    }
    m_shownNode = node;
    const auto entry = std::find(m_comboNodes.begin(), m_comboNodes.end(), node);
    SetComboIndex(entry == m_comboNodes.end() ? -1
                                              : static_cast<int>(entry - m_comboNodes.begin()));
    FillFileList(*node);
}

// The folder shown has the open folder in the combo, every other entry the closed one; the
// entry of a folder that is a link carries the link overlay.
void TRemoteExpForm::SetComboIndex(int index) {
    const TQtShellIcons* icons = QtShellIcons();
    const auto setIcon = [&](int entry, bool open) {
        if (icons == nullptr || entry < 0 || entry >= m_shell->FolderCombo().count() ||
            entry >= static_cast<int>(m_comboNodes.size())) {
            return;
        }
        const TFTPListItem* listItem = m_comboNodes[static_cast<std::size_t>(entry)]->ListItem;
        const int image = open ? icons->OpenFolderIconIndex : icons->FolderIconIndex;
        m_shell->FolderCombo().setItemIcon(entry, listItem != nullptr && listItem->IsLink
                                                      ? icons->LinkIcon(image)
                                                      : icons->Icon(image));
    };
    setIcon(m_comboIndex, false);
    m_comboIndex = index;
    const QSignalBlocker quiet(m_shell->FolderCombo());
    if (index >= 0 && index < m_shell->FolderCombo().count()) {
        setIcon(index, true);
        m_shell->FolderCombo().setCurrentIndex(index);
    }
}

void TRemoteExpForm::OnListed(TFolderNode* node) {
    m_client->ListItems = nullptr;
    m_listingNode = nullptr;
    if (node == nullptr) {
        return;
    }
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav);
        m_tree.ForgetListing(*node); // listed again when chosen again
        SelectNodeQuietly(m_shownNode);
        return;
    }
    m_comboNodes.push_back(node);
    {
        const QSignalBlocker quiet(m_shell->FolderCombo());
        m_shell->FolderCombo().addItem(QString::fromStdString(node->Text));
        m_shell->FolderCombo().setItemData(m_shell->FolderCombo().count() - 1,
                                           QString::fromStdString(TFolderTree::GetNodePath(*node)),
                                           Qt::ToolTipRole);
    }
    SetComboIndex(m_shell->FolderCombo().count() - 1);
    node->Bold = true;
    m_treeModel->BoldChanged(*node);
    m_tree.MergeFolderNodes(*node, m_compare);
    TreeView().expand(m_treeModel->IndexOf(node));
    m_shownNode = node;
    FillFileList(*node);
}

void TRemoteExpForm::FillFileList(TFolderNode& node) {
    m_fileList.Fill(node.ListItems.get(), m_masks, DifferencesFilter());
    m_listModel->Reset();
    m_shell->FitNameWidth();
    m_shell->ShowSortColumn(m_fileList.SortColumn());
    m_shell->FileStatus(0)->setText(QString::fromStdString(
        m_fileList.CountText(CoreFormat(TFileListContent::kCountFormat), DecimalPoint())));
    m_shell->FileStatus(1)->clear();
    const QString path = QString::fromStdString(TFolderTree::GetNodePath(node));
    m_shell->TreeTitle().SetCaptionText(
        QStringLiteral("[%1]").arg(QString::fromStdString(node.Text)));
    m_shell->TreeTitle().setToolTip(path);
    m_shell->ListTitle().SetCaptionText(
        QStringLiteral("[%1][%2]").arg(path, QString::fromStdString(m_masks.MaskText())));
    m_shell->ListTitle().setToolTip(path);
    if (m_fileList.Count() > 0) {
        m_shell->DetailsView().selectionModel()->setCurrentIndex(m_listModel->index(0, 0),
                                                                 QItemSelectionModel::NoUpdate);
    }
    CompareShown();
    SelectPendingEntry(node);
}

void TRemoteExpForm::UpdateSelectionCounters() {
    int folders = 0;
    int files = 0;
    std::int64_t size = 0;
    int firstRow = -1;
    m_firstSelected = nullptr;
    const QModelIndexList rows = m_shell->DetailsView().selectionModel()->selectedRows();
    for (const QModelIndex& row : rows) {
        if (const TFTPListItem* entry = m_listModel->Entry(row)) {
            if (entry->IsFile) {
                ++files;
                size += std::max<std::int64_t>(entry->Size, 0);
            } else {
                ++folders;
            }
            if (firstRow < 0 || row.row() < firstRow) {
                firstRow = row.row();
                m_firstSelected = entry;
            }
        }
    }
    m_selectedCount = folders + files;
    m_shell->FileStatus(1)->setText(
        rows.isEmpty() ? QString()
                       : QString::fromStdString(SelectionText(
                             folders, files, size, CoreFormat(kSelectionFormat), DecimalPoint())));
}

void TRemoteExpForm::ArrangeBy(int column) {
    const std::vector<TFTPListItem*> selected = SelectedEntries();
    m_fileList.Sort(TFileListContent::NextSortColumn(m_fileList.SortColumn(), column));
    m_listModel->Reset();
    SelectEntries({selected.begin(), selected.end()});
    UpdateSelectionCounters();
    m_shell->ShowSortColumn(m_fileList.SortColumn());
}

void TRemoteExpForm::SetFilter(const std::string& masks) {
    m_masks.SetMasks(masks);
    if (m_shownNode != nullptr) {
        FillFileList(*m_shownNode);
    }
}

std::string TRemoteExpForm::SelectedFolder() const {
    const TFolderNode* node = SelectedNode();
    return node != nullptr ? TFolderTree::GetNodeFolder(*node) : std::string();
}

bool TRemoteExpForm::CanUploadNow() const {
    return m_connected && !m_closing && !m_client->Busy();
}

void TRemoteExpForm::UploadLocalEntries(const std::vector<TLocalUploadEntry>& entries) {
    if (entries.empty() || !CanUploadNow()) {
        return;
    }
    TThreadedFTPClient& client = *m_client;
    for (const TLocalUploadEntry& entry : entries) {
        const std::intptr_t kind = entry.IsFolder ? kFolderEntry : kFileEntry;
        client.HostFileNames.Add(entry.RemotePath, kind);
        client.LocalFileNames.Add(entry.LocalPath, kind);
    }
    client.OnUploadsDone = [this](TThreadedFTPClient&) { OnUploadsDone(); };
    client.Uploads();
}

// The uploads the local explorer started: the sounds, then the shown folder lists them.
void TRemoteExpForm::OnUploadsDone() {
    PlaySound(m_client->ResultCode == 0 ? m_context.Options.TransferDoneWav
                                        : m_context.Options.ErrorWav);
    Refresh();
}

void TRemoteExpForm::Refresh() {
    TFolderNode* node = SelectedNode();
    if (node == nullptr || m_client->Busy() || !m_connected) {
        return;
    }
    m_pendingNode = node;
    m_refreshListing = std::make_unique<TFTPListItems>();
    m_client->HostDirName = TFolderTree::GetNodePath(*node);
    m_client->ListItems = m_refreshListing.get();
    m_client->OnGetListItemsDone = [this](TThreadedFTPClient&) {
        FTPClientGetListItemsDoneInRefresh();
    };
    m_client->GetListItems();
}

void TRemoteExpForm::ServerFolderChanged(const std::string& hostName, const std::string& port,
                                         const std::string& userName, const std::string& folder) {
    if (m_closing || !m_connected || m_tree.Empty() || hostName != m_client->HostName ||
        port != m_client->Port || userName != m_client->UserName) {
        return;
    }
    std::vector<std::string> parts;
    SplitString(folder, "/", parts);
    TFolderNode* node = m_tree.Root();
    for (const std::string& part : parts) {
        node = TFolderTree::FindChildNode(*node, part);
        if (node == nullptr) {
            return; // never shown here
        }
    }
    if (node == m_shownNode) {
        if (!std::exchange(m_refreshWanted, true)) {
            RefreshWhenIdle(); // many transfers ending together make one listing
        }
    } else if (node->Listed() && node != m_listingNode && node != m_pendingNode) {
        m_tree.ForgetListing(*node); // listed anew when it is shown
    }
}

void TRemoteExpForm::RefreshWhenIdle() {
    QTimer::singleShot(500, this, [this] {
        if (m_closing || !m_refreshWanted) {
            return;
        }
        if (m_client->Busy()) {
            RefreshWhenIdle();
            return;
        }
        m_refreshWanted = false;
        if (m_shownNode != nullptr && m_shownNode == SelectedNode()) {
            Refresh();
        }
    });
}

// A new listing replaces the cache only when it came in whole; the tree follows it.
void TRemoteExpForm::FTPClientGetListItemsDoneInRefresh() {
    m_client->ListItems = nullptr;
    std::unique_ptr<TFTPListItems> listing = std::move(m_refreshListing);
    TFolderNode* node = std::exchange(m_pendingNode, nullptr);
    if (m_client->ResultCode != 0 || node == nullptr || !listing) {
        PlaySound(m_context.Options.ErrorWav);
        return;
    }
    const bool shown = node == m_shownNode;
    if (shown) {
        m_fileList.Clear(); // it shows entries of the old listing
        m_listModel->Reset();
        UpdateSelectionCounters();
    }
    m_tree.ForgetListing(*node);
    node->ListItems = std::move(listing);
    ++m_quietSelection;
    m_tree.RefreshFolderNodes(*node, m_compare);
    --m_quietSelection;
    node->Bold = true;
    m_treeModel->BoldChanged(*node);
    if (node == SelectedNode()) {
        m_shownNode = node;
        FillFileList(*node);
    }
}

bool TRemoteExpForm::SelectFolder(TFolderNode& node) {
    if (m_client->Busy()) {
        return false;
    }
    TreeView().setCurrentIndex(m_treeModel->IndexOf(&node));
    return true;
}

void TRemoteExpForm::UpOneLevel() {
    const TFolderNode* node = SelectedNode();
    if (node != nullptr && node->Parent != nullptr && !m_client->Busy()) {
        TreeView().setCurrentIndex(m_treeModel->IndexOf(node->Parent));
    }
}

// --- The session log ------------------------------------------------------------------------

void TRemoteExpForm::OnDisplay(const std::string& line) {
    if (!line.empty() && line.front() == '%') {
        ShowSessionStatus(line, *m_status[5], *m_statusIcon);
        return;
    }
    m_log->AddSessionLine(line);
}

void TRemoteExpForm::AddLogLine(const QString& text, const QColor& colour) {
    m_log->AddLine(text, colour);
}

int TRemoteExpForm::LogLineCount() const {
    return m_log->LineCount();
}

} // namespace qx
