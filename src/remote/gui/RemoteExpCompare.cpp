// SPDX-License-Identifier: GPL-3.0-or-later
// Compare Folders in the remote explorer: the folder shown against the local explorer's, with
// marks on the rows that follow both explorers, and the filter that shows only differences.

#include "remote/gui/FileListModel.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "sync/FolderPairing.h"
#include "sync/SyncListings.h"
#include "sync/gui/CompareMarks.h"
#include "sync/gui/LocalEntriesReader.h"
#include "widgets/BrowseFolderDialog.h"
#include "widgets/ExplorerShell.h"

#include <QMessageBox>

namespace qx {

void TRemoteExpForm::ToolCompareActionExecute() {
    if (m_context.Pairing && m_context.Pairing->ActiveFor(this)) {
        m_context.Pairing->Stop();
    } else {
        StartCompare();
    }
    CompareChanged(); // the check follows what happened, also when nothing did
}

void TRemoteExpForm::ToolCompareDifferencesActionExecute() {
    if (m_context.Pairing && m_context.Pairing->ActiveFor(this)) {
        m_context.Pairing->SetOnlyDifferences(!m_context.Pairing->OnlyDifferences());
    }
    CompareChanged();
}

void TRemoteExpForm::StartCompare() {
    const std::shared_ptr<TFolderPairing> pairing = m_context.Pairing;
    if (!pairing || m_shownNode == nullptr || !m_shownNode->Listed()) {
        return;
    }
    std::optional<std::string> local =
        m_context.LocalFolder ? m_context.LocalFolder() : std::nullopt;
    const bool asked = !local.has_value();
    if (asked) {
        TBrowseFolderRequest request;
        request.Title = tr("Select Local Folder to Compare");
        request.StartFolder = QString::fromStdString(m_downloadFolder);
        const auto chosen = TBrowseFolderDialog::Browse(request, this);
        if (!chosen) {
            return;
        }
        local = chosen->Folder.toStdString();
    }
    // The local folder is read on a worker; the comparison starts when it is whole, with the
    // remote folder shown by then.
    m_compareReader->Read(*local, [this, asked](const std::string& folder,
                                                std::optional<std::vector<TSyncEntry>> entries) {
        LocalFolderRead(folder, std::move(entries), asked);
    });
}

void TRemoteExpForm::LocalFolderRead(const std::string& folder,
                                     std::optional<std::vector<TSyncEntry>> entries, bool asked) {
    const std::shared_ptr<TFolderPairing> pairing = m_context.Pairing;
    if (!pairing || m_shownNode == nullptr || !m_shownNode->Listed()) {
        return;
    }
    if (!entries) {
        ShowError(tr("Remote Explorer Error"),
                  tr("Cannot read the folder [%1].").arg(QString::fromStdString(folder)));
        return;
    }
    if (!asked && m_context.LocalFolder && m_context.LocalFolder() != folder) {
        StartCompare(); // the local explorer moved on while its folder was read
        return;
    }
    pairing->Start(this,
                   {[this](const std::string& shown) { OpenComparedFolder(shown); },
                    [this] { CompareChanged(); }},
                   TFolderTree::GetNodePath(*m_shownNode),
                   RemoteSyncEntries(*m_shownNode->ListItems, m_client->TimeZoneOffset), folder,
                   std::move(*entries));
    if (asked) {
        pairing->Open(TFolderPairing::TSideId::Local, folder);
    }
    CompareChanged();
}

void TRemoteExpForm::CompareShown() {
    if (m_context.Pairing && m_context.Pairing->ActiveFor(this) && m_shownNode != nullptr &&
        m_shownNode->Listed()) {
        m_context.Pairing->Shown(
            TFolderPairing::TSideId::Remote, TFolderTree::GetNodePath(*m_shownNode),
            RemoteSyncEntries(*m_shownNode->ListItems, m_client->TimeZoneOffset));
    }
}

std::function<bool(const TFTPListItem&)> TRemoteExpForm::DifferencesFilter() const {
    const std::shared_ptr<const TCompareMarks>& marks = m_listModel->CompareLook().Marks();
    if (!m_context.Pairing || !m_context.Pairing->ActiveFor(this) ||
        !m_context.Pairing->OnlyDifferences() || !marks) {
        return {};
    }
    return
        [marks](const TFTPListItem& entry) { return ShownWithOnlyDifferences(*marks, entry.Name); };
}

void TRemoteExpForm::CompareChanged() {
    const bool comparing = m_context.Pairing && m_context.Pairing->ActiveFor(this);
    m_listModel->SetCompareMarks(comparing ? std::make_shared<const TCompareMarks>(
                                                 m_context.Pairing->Pairs(), TCompareSide::Remote)
                                           : nullptr);
    if (m_compareLegend == nullptr && comparing) {
        m_compareLegend = new TCompareLegend(TCompareSide::Remote);
        m_shell->AddBarAboveList(m_compareLegend);
    }
    if (m_compareLegend != nullptr) {
        m_compareLegend->setVisible(comparing);
    }
    const bool onlyDifferences = comparing && m_context.Pairing->OnlyDifferences();
    // The filter takes the new marks: the list is filled again (its entries are the same, so
    // the comparison is not made again), keeping the selection that stays.
    if ((onlyDifferences || m_listOnlyDifferences) && m_shownNode != nullptr) {
        m_listOnlyDifferences = onlyDifferences;
        const std::vector<TFTPListItem*> selected = SelectedEntries();
        FillFileList(*m_shownNode);
        SelectEntries({selected.begin(), selected.end()});
        UpdateSelectionCounters();
    }
    Action("ToolCompareAction")->setChecked(comparing);
    Action("ToolCompareDifferencesAction")->setChecked(onlyDifferences);
}

void TRemoteExpForm::OpenComparedFolder(const std::string& folder) {
    TFolderNode* node = m_tree.Root();
    std::size_t at = 0;
    while (node != nullptr && at < folder.size()) {
        const std::size_t slash = std::min(folder.find('/', at), folder.size());
        const std::string name = folder.substr(at, slash - at);
        at = slash + 1;
        if (name.empty()) {
            continue;
        }
        const auto child = std::ranges::find_if(
            node->Children, [&](const auto& candidate) { return candidate->Text == name; });
        node = child == node->Children.end() ? nullptr : child->get();
    }
    if (node != nullptr && node != m_shownNode) {
        SelectFolder(*node); // refused while busy: the folders then no longer correspond
    }
}

} // namespace qx
