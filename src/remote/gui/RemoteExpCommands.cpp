// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's commands, the pieces they share and the small ones: the session a
// command works with, the selected entries, the tree's target, the list's changes after a
// command, and Filtering, Properties, Server Information, Telnet, Copy URL and Select All. Each
// Execute handler fills the client's request fields, remembers what the result applies to and
// issues the request; its completion applies the result to exactly that and forgets it.

#include "remote/gui/RemoteExpForm.h"

#include "base/LoginCopy.h"
#include "base/Utilities.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "remote/gui/InputForm.h"
#include "remote/gui/RemotePropertiesForm.h"
#include "remote/gui/ServerInfoForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>

#include <unordered_set>

namespace qx {

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
    TSessionLogin login;
    CopyLogin(login, *m_client);
    return login;
}

std::vector<TFTPListItem*> TRemoteExpForm::SelectedEntries() const {
    std::vector<TFTPListItem*> entries;
    for (const QModelIndex& row : m_shell->SelectedRows()) {
        if (TFTPListItem* entry = m_listModel->Entry(row)) {
            entries.push_back(entry);
        }
    }
    return entries;
}

void TRemoteExpForm::SelectEntries(const std::vector<const TFTPListItem*>& entries) {
    QModelIndexList rows;
    for (const TFTPListItem* entry : entries) {
        if (const auto row = m_fileList.RowOf(entry); row >= 0) {
            rows.append(m_listModel->index(static_cast<int>(row), 0));
        }
    }
    m_shell->SelectRows(rows);
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
    m_shell->FileStatus(0)->setText(QString::fromStdString(
        m_fileList.CountText(CoreFormat(TFileListContent::kCountFormat), DecimalPoint())));
    UpdateSelectionCounters();
    CompareShown();
}

void TRemoteExpForm::RefreshListRows(const std::vector<const TFTPListItem*>& entries) {
    m_listModel->EntriesChanged(entries);
    CompareShown();
}

void TRemoteExpForm::AddListEntry(TFTPListItem& entry, bool focusList) {
    m_listModel->AppendEntry(entry);
    m_shell->FileStatus(0)->setText(QString::fromStdString(
        m_fileList.CountText(CoreFormat(TFileListContent::kCountFormat), DecimalPoint())));
    m_shell->FitNameWidth();
    if (focusList) {
        ListView()->setFocus();
    }
    SelectEntries({&entry});
    CompareShown();
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
        texts.TypeName = QString::fromStdString(SharedShellIcons().FolderTypeName);
        texts.Size = QStringLiteral("0");
        texts.Date = texts.Permission = texts.LinkTo = QStringLiteral("?");
        dialog.SetTexts(texts);
    };
    if (m_shell->TreeActive()) {
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
    if (client.Protocol == TRemoteProtocolKind::Sftp) {
        dialog.SetSessionText(QString::fromStdString(client.ServerInfoText));
    } else {
        dialog.SetFeatures(client.Features);
    }
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
    if (m_shell->TreeActive()) {
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

void TRemoteExpForm::EditSelectAllActionExecute() {
    m_shell->SelectAll(false);
    ListView()->setFocus();
}

void TRemoteExpForm::EditInvertSelectionActionExecute() {
    m_shell->SelectAll(true);
    ListView()->setFocus();
}

} // namespace qx
