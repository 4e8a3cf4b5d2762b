// SPDX-License-Identifier: GPL-3.0-or-later
// Compare Folders in the local explorer: its folder against the current remote explorer's,
// through the comparison the remote explorers share with this window.

#include "local/gui/LocalExpForm.h"
#include "local/gui/LocalFileListModel.h"
#include "remote/gui/RemoteExpForm.h"
#include "sync/FolderPairing.h"
#include "sync/SyncListings.h"
#include "sync/gui/CompareMarks.h"
#include "sync/gui/LocalEntriesReader.h"
#include "widgets/ExplorerShell.h"

namespace qx {

void TLocalExpForm::ToolCompareActionExecute() {
    if (m_pairing->Active()) {
        m_pairing->Stop();
    } else if (TRemoteExpForm* remote = CurrentRemoteExplorer()) {
        remote->StartCompare();
    }
    CompareChanged(); // the check follows what happened, also when nothing did
}

void TLocalExpForm::ToolCompareDifferencesActionExecute() {
    m_pairing->SetOnlyDifferences(!m_pairing->OnlyDifferences());
    CompareChanged();
}

void TLocalExpForm::CompareShown() {
    if (!m_pairing->Active() || m_listModel->Folder() != m_currentFolder) {
        return;
    }
    // Read on a worker, so that a big folder does not hold the window up; a folder that cannot
    // be read compares as empty: its rows are gone too.
    m_compareReader->Read(m_currentFolder, [this](const std::string& folder,
                                                  std::optional<std::vector<TSyncEntry>> entries) {
        if (m_pairing->Active() && folder == m_currentFolder) {
            m_pairing->Shown(TFolderPairing::TSideId::Local, folder,
                             std::move(entries).value_or(std::vector<TSyncEntry>{}));
        }
    });
}

void TLocalExpForm::CompareChanged() {
    const bool comparing = m_pairing->Active();
    m_listModel->SetCompareMarks(
        comparing ? std::make_shared<const TCompareMarks>(m_pairing->Pairs(), TCompareSide::Local)
                  : nullptr,
        m_pairing->OnlyDifferences());
    if (m_compareLegend == nullptr && comparing) {
        m_compareLegend = new TCompareLegend(TCompareSide::Local);
        m_shell->AddBarAboveList(m_compareLegend);
    }
    if (m_compareLegend != nullptr) {
        m_compareLegend->setVisible(comparing);
    }
    Action("ToolCompareAction")->setChecked(comparing);
    Action("ToolCompareDifferencesAction")->setChecked(comparing && m_pairing->OnlyDifferences());
}

} // namespace qx
