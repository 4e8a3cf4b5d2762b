// SPDX-License-Identifier: GPL-3.0-or-later
// Find Files: a search of the server beside the explorer, whose results the explorer shows,
// downloads, queues and opens.

#include "remote/gui/RemoteExpForm.h"

#include "base/Utilities.h"
#include "remote/gui/FolderTreeModel.h"
#include "remote/gui/RemoteFindForm.h"
#include "session/ThreadedFTPClient.h"
#include "widgets/ExplorerShell.h"

#include <QTreeView>

#include <map>

namespace qx {

void TRemoteExpForm::ToolFindActionExecute() {
    if (m_findForm) {
        m_findForm->showNormal();
        m_findForm->raise();
        m_findForm->activateWindow();
        return;
    }
    TRemoteFindSetup setup;
    if (const TFolderNode* node = SelectedNode()) {
        setup.StartFolder = TFolderTree::GetNodePath(*node);
    }
    setup.TimeZoneOffset = m_client->TimeZoneOffset;
    setup.Store = &m_context.Store;
    setup.NewClient = [this] { return NewSideClient(); };
    setup.GoTo = [this](const TFoundEntry& entry) {
        return GoToRemoteEntry(FoundFolder(entry), entry.Item.Name);
    };
    setup.Download = [this](const std::vector<TFoundEntry>& entries) {
        return DownloadEntries(entries, FoundDownloadFolder());
    };
    setup.DownloadInQueue = [this](const std::vector<TFoundEntry>& entries) {
        std::map<std::string, std::vector<TFTPListItem>> byFolder;
        for (const TFoundEntry& entry : entries) {
            std::string folder = FoundFolder(entry);
            AddTrailingSeparator(folder);
            byFolder[folder].push_back(entry.Item);
        }
        for (const auto& [folder, items] : byFolder) {
            QueueDownloads(folder, items, FoundDownloadFolder());
        }
    };
    setup.Open = [this](const TFoundEntry& entry) {
        if (!entry.Item.IsFile) {
            return GoToRemoteEntry(entry.Path, {});
        }
        return DownloadToTemporary(entry.Path, entry.Item.Name,
                                   [this] { FTPClientDownloadFileDoneInOpen("open"); });
    };
    m_findForm = new TRemoteFindForm(std::move(setup), this);
    m_findForm->setAttribute(Qt::WA_DeleteOnClose);
    m_findForm->show();
}

// Where Download puts found entries: the local explorer's folder, else the folder Download To
// offers.
std::string TRemoteExpForm::FoundDownloadFolder() const {
    if (m_context.LocalFolder) {
        if (auto folder = m_context.LocalFolder()) {
            return *folder;
        }
    }
    return m_downloadFolder;
}

bool TRemoteExpForm::GoToRemoteEntry(const std::string& folder, const std::string& name) {
    TFolderNode* node = m_tree.Root();
    if (node == nullptr || m_client->Busy() || m_closing) {
        return false;
    }
    std::size_t at = 0;
    while (at < folder.size()) {
        const std::size_t slash = std::min(folder.find('/', at), folder.size());
        const std::string part = folder.substr(at, slash - at);
        at = slash + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        TFolderNode* child = TFolderTree::FindChildNode(*node, part);
        node = child != nullptr ? child : &m_tree.AppendChild(*node, part);
    }
    m_selectFolder = TFolderTree::GetNodePath(*node);
    m_selectName = name;
    if (node == m_shownNode) {
        SelectPendingEntry(*node);
    } else {
        SelectFolder(*node); // a folder already listed is shown at once
        TreeView().scrollTo(m_treeModel->IndexOf(node));
    }
    if (m_context.Main != nullptr) {
        m_context.Main->SelectRemoteExpTab(this);
    }
    window()->raise();
    window()->activateWindow();
    return true;
}

// Called whenever the list shows a folder: the entry Go to Folder asked for is selected there.
void TRemoteExpForm::SelectPendingEntry(const TFolderNode& shown) {
    if (m_selectFolder.empty()) {
        return;
    }
    const std::string folder = std::exchange(m_selectFolder, {});
    const std::string name = std::exchange(m_selectName, {});
    if (name.empty() || folder != TFolderTree::GetNodePath(shown)) {
        return;
    }
    for (std::size_t row = 0; row < m_fileList.Count(); ++row) {
        if (m_fileList.At(row).Name == name) {
            SelectEntries({&m_fileList.At(row)});
            ActivatePane(false);
            return;
        }
    }
}

} // namespace qx
