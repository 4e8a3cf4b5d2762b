// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's commands on folders and entries: New Folder, Change Folder, Delete,
// Rename and Change Permission, each from the tree or from the list.

#include "remote/gui/RemoteExpForm.h"

#include "remote/gui/ChangePermForm.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "session/RemoteNames.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "widgets/CoreTexts.h"
#include "widgets/ExplorerShell.h"
#include "widgets/QtShellIcons.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QTreeView>

#include <algorithm>
#include <unordered_set>

namespace qx {

namespace {

std::unordered_set<std::string> NamesOf(const TStringList& list) {
    std::unordered_set<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        names.insert(list.Strings(i));
    }
    return names;
}

} // namespace

// --- Folders ----------------------------------------------------------------------------------

void TRemoteExpForm::FileNewFolderActionExecute() {
    const bool fromTree = m_shell->TreeActive();
    const auto name = AskText(tr("[New Folder]"), tr("Folder Name:"));
    TFolderNode* parent = SelectedNode();
    if (!name || parent == nullptr || m_client->Busy()) {
        return;
    }
    const std::string text = name->toStdString();
    if (!IsSafeEntryName(text)) {
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
        auto made = std::make_unique<TFTPListItem>(
            MakeFolderEntry(m_newFolderName, {}, SharedShellIcons()));
        entry = made.get();
        parent->ListItems->Add(std::move(made));
    }
    m_tree.AppendChild(*parent, m_newFolderName, entry);
    if (entry != nullptr && parent == SelectedNode()) {
        AddListEntry(*entry, false); // selected and focused in the list; the tree keeps the keys
    }
    TreeView().expand(m_treeModel->IndexOf(parent));
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
    auto made =
        std::make_unique<TFTPListItem>(MakeFolderEntry(m_newFolderName, "?", SharedShellIcons()));
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
        auto made = std::make_unique<TFTPListItem>(MakeFolderEntry(text, {}, SharedShellIcons()));
        entry = made.get();
        selected->ListItems->Add(std::move(made));
    }
    TFolderNode& node = m_tree.AppendChild(*selected, text, entry);
    SelectFolder(node);
}

// --- Delete -----------------------------------------------------------------------------------

void TRemoteExpForm::FileDeleteActionExecute() {
    TThreadedFTPClient& client = *m_client;
    if (m_shell->TreeActive()) {
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
    if (QMessageBox::question(this, tr("Remote Explorer Delete Confirm"),
                              tr("Are you sure to delete %n selected items?", nullptr,
                                 static_cast<int>(selected.size())),
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
        m_shell->FileStatus(0)->setText(QString::fromStdString(
            m_fileList.CountText(CoreFormat(TFileListContent::kCountFormat), DecimalPoint())));
        UpdateSelectionCounters();
    }
    if (deleting) {
        const TFolderNode* selected = SelectedNode();
        ++m_quietSelection;
        if (selected != nullptr && TFolderTree::IsWithin(*selected, *node)) {
            TreeView().setCurrentIndex(m_treeModel->IndexOf(parent));
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
    if (m_shell->TreeActive()) {
        if (TFolderNode* node = TreeTarget(); node != nullptr && node->Parent != nullptr) {
            TreeView().edit(m_treeModel->IndexOf(node));
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

void TRemoteExpForm::RenameNode(TFolderNode& node, const std::string& newName) {
    if (m_client->Busy() || node.Parent == nullptr || newName == node.Text) {
        return;
    }
    if (!IsSafeEntryName(newName)) {
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
    if (!IsSafeEntryName(newName)) {
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
        m_shell->FolderCombo().setItemText(index, QString::fromStdString(node.Text));
        m_shell->FolderCombo().setItemData(
            index, QString::fromStdString(TFolderTree::GetNodePath(node)), Qt::ToolTipRole);
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
    if (m_shell->TreeActive()) {
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

} // namespace qx
