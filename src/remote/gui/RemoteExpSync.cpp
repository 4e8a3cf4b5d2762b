// SPDX-License-Identifier: GPL-3.0-or-later
// Synchronize: the selected folder and a local one made alike through the transfer queue; the
// sessions such commands run beside the window's.

#include "remote/gui/RemoteExpForm.h"

#include "base/LoginCopy.h"
#include "platform/ConfigStore.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/gui/CertificateTrust.h"
#include "sync/gui/SyncController.h"
#include "widgets/BrowseFolderDialog.h"

namespace qx {

void TRemoteExpForm::ToolSynchronizeActionExecute() {
    Synchronize(m_context.LocalFolder ? m_context.LocalFolder() : std::nullopt);
}

void TRemoteExpForm::Synchronize(std::optional<std::string> localFolder) {
    std::string remote = SelectedFolder();
    if (!m_connected || remote.empty()) {
        return;
    }
    if (!localFolder) {
        const auto chosen = TBrowseFolderDialog::Browse({tr("Synchronize with the local folder"),
                                                         QString::fromStdString(m_downloadFolder),
                                                         {},
                                                         false},
                                                        this);
        if (!chosen) {
            return;
        }
        localFolder = chosen->Folder.toStdString();
    }
    if (remote.size() > 1 && remote.back() == '/') {
        remote.pop_back();
    }
    if (localFolder->size() > 1 && localFolder->back() == '/') {
        localFolder->pop_back();
    }
    TSyncSetup setup;
    CopyLogin(setup.Server, *m_client);
    setup.SiteName = CopyUrlText(Login(), "/");
    setup.Folders = TSyncFolders{remote, *localFolder};
    // A session of its own, so that this window stays free meanwhile.
    setup.Client = NewSideClient();
    setup.Queue = m_context.Queue;
    setup.QueueItems = m_context.QueueItems;
    setup.StateFolder = m_context.Store.File().parent_path() / "synchronize";
    setup.FontName = QString::fromStdString(m_context.Options.FontName);
    setup.FontSize = m_context.Options.FontSize;
    auto* controller = new TSyncController(std::move(setup), this); // frees itself at its end
    controller->Start();
}

std::shared_ptr<TThreadedFTPClient> TRemoteExpForm::NewSideClient() {
    auto made = TThreadedFTPClient::Create(m_context.Ui);
    TThreadedFTPClient& client = *made;
    // The site may be gone from the book by now: the session follows this window's one.
    CopyLogin(client, *m_client);
    client.ASCIIExts = m_client->ASCIIExts;
    client.UseMlsd = m_client->UseMlsd;
    client.LoginRetry = m_client->LoginRetry;
    client.ReloginDelay = m_client->ReloginDelay;
    client.Timeout = m_client->Timeout;
    client.SpeedLimits = m_client->SpeedLimits;
    AskClientQuestions(client, m_context.Store, m_context.Options, this);
    client.StartThread();
    return made;
}

} // namespace qx
