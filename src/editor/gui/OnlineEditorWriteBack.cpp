// SPDX-License-Identifier: GPL-3.0-or-later
// The online editor's write-back: the page's text goes to its local file and from there to the
// server over the window's own session (connect, upload, quit); the session log and the
// progress show in the log panel.

#include "base/LoginCopy.h"
#include "editor/EditorTexts.h"
#include "editor/gui/EditorLogPanel.h"
#include "editor/gui/EditorPage.h"
#include "editor/gui/OnlineEditorForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "widgets/EventWait.h"

#include "settings/gui/CertificateTrust.h"

#include <filesystem>

namespace qx {

void TOnlineEditorForm::ConfigureClient() {
    m_client = TThreadedFTPClient::Create(m_context.Ui);
    TThreadedFTPClient& client = *m_client;
    client.LoginRetry = 30;
    client.ReloginDelay = 1;
    client.ResumeTransfer = false;
    client.TransferType = TFTPTransferType::ftpTypeBinary;
    client.PassiveMode = true;
    client.ASCIIExts = &m_context.Options.ASCIIFileExts;
    client.Timeout = m_context.Options.Timeout;
    AskClientQuestions(client, m_context.Store, m_context.Options, this);
    client.OnDisplay = [this](TThreadedFTPClient&, const std::string& line) {
        m_logPanel->Display(line);
    };
    client.OnTransferStatus = [this](TThreadedFTPClient& c, std::int64_t position,
                                     std::int64_t transfered, std::int64_t elapsed) {
        m_logPanel->ShowProgress(c.FileSize, position, transfered, elapsed);
    };
    client.OnConnectDone = [this](TThreadedFTPClient&) { FTPClientConnectDone(); };
    client.OnUploadFileDone = [this](TThreadedFTPClient&) { FTPClientUploadFileDone(); };
    client.OnQuitDone = [this](TThreadedFTPClient&) {
        m_quitDone = true;
        m_writeBackRunning = false;
    };
    client.OnEndThread = [this](TThreadedFTPClient&) { m_threadEnded = true; };
    client.StartThread();
}

void TOnlineEditorForm::PlaySound(const std::string& file) const {
    if (m_context.PlaySound) {
        m_context.PlaySound(file);
    }
}

void TOnlineEditorForm::FileUpdateActionExecute() {
    if (TEditorPage* page = ActivePage();
        page != nullptr && !m_client->Busy() && !m_writeBackRunning) {
        StartWriteBack(*page);
    }
}

bool TOnlineEditorForm::StartWriteBack(TEditorPage& page) {
    m_logPanel->ClearLog();
    m_lastWriteBackSucceeded = false;
    const TRemoteEditFile& file = page.File();
    std::string error;
    if (!page.SaveToFile(file.LocalFileName, error)) {
        PlaySound(m_context.Options.ErrorWav);
        m_prompts.Error(
            tr("Online Editor Error"),
            tr("Cannot write the local file [%1]: %2")
                .arg(QString::fromStdString(file.LocalFileName), QString::fromStdString(error)));
        return false;
    }
    TThreadedFTPClient& client = *m_client;
    CopyLogin(client, file);
    client.ResumeTransfer = false;
    client.HostFileName = file.HostDirName + file.FileName;
    client.LocalFileName = file.LocalFileName;
    m_writeBackPage = &page;
    m_writeBackFile = file.LocalFileName;
    m_quitDone = false;
    m_writeBackRunning = true;
    client.Connect();
    return true;
}

// The upload follows whatever the connect's outcome: a failed login is tried again by the
// upload's reconnection check.
void TOnlineEditorForm::FTPClientConnectDone() {
    m_client->UploadFile();
}

void TOnlineEditorForm::FTPClientUploadFileDone() {
    std::error_code ignored;
    std::filesystem::remove(m_writeBackFile, ignored);
    if (m_client->ResultCode != 0) {
        PlaySound(m_context.Options.ErrorWav); // the page stays modified
    } else {
        PlaySound(m_context.Options.TransferDoneWav);
        m_lastWriteBackSucceeded = true;
        if (m_writeBackPage != nullptr) {
            m_writeBackPage->setModified(false);
            if (m_writeBackPage == ActivePage()) {
                UpdateStatusBar();
            }
        }
    }
    m_writeBackPage = nullptr;
    m_client->Quit();
}

void TOnlineEditorForm::WaitUntilIdle() {
    const auto idle = [this] {
        return !m_client->WorkerRunning() || (!m_client->Busy() && !m_writeBackRunning);
    };
    if (!idle()) {
        RunEventsUntil(idle);
    }
}

bool TOnlineEditorForm::WriteBackAndWait(TEditorPage& page) {
    WaitUntilIdle();
    if (!StartWriteBack(page)) {
        return false;
    }
    if (!m_quitDone) {
        RunEventsUntil([this] { return m_quitDone || !m_client->WorkerRunning(); });
    }
    m_quitDone = false;
    return m_lastWriteBackSucceeded;
}

void TOnlineEditorForm::SaveModifiedPageAtEnd(TEditorPage& page) {
    m_pages->setCurrentWidget(&page);
    if (!m_prompts.ConfirmUpdate(CloseConfirmText(page.File()))) {
        return;
    }
    if (WriteBackAndWait(page)) {
        return;
    }
    // The text must not go with the program: it is kept in a local file of the user's choice.
    m_prompts.Error(tr("Online Editor Error"),
                    tr("%1 could not be written back. Choose a local file to keep the text in.")
                        .arg(QString::fromStdString(EditFileTitle(page.File()))));
    for (;;) {
        const QString path = m_prompts.AskSaveFile(QString::fromStdString(page.File().FileName));
        if (path.isEmpty()) {
            return;
        }
        std::string error;
        if (page.SaveToFile(path.toStdString(), error)) {
            return;
        }
        m_prompts.Error(tr("Online Editor Error"),
                        tr("Cannot write [%1]: %2").arg(path, QString::fromStdString(error)));
    }
}

} // namespace qx
