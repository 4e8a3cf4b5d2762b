// SPDX-License-Identifier: GPL-3.0-or-later
// The operations of the threaded session: login, reconnection, transfer types, listings,
// single transfers and the loops over the entries of multi-entry requests.

#include "session/FTPClientThread.h"

#include "engine/LocalFileStream.h"
#include "session/RemoteNames.h"
#include "session/RemoteTransfers.h"

#include <algorithm>

namespace qx {

// --- Login -----------------------------------------------------------------------------------

bool TFTPClientThread::Login() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = Engine();
    engine.HostName = client.HostName;
    engine.Port = client.Port;
    engine.UserName = client.UserName;
    engine.PassWord = client.Password;
    engine.InactivityLimit = client.Timeout;
    m_ftp->UseMlsd = client.UseMlsd;
    m_ftp->TimeZoneOffset = client.TimeZoneOffset;
    m_ftp->NameCharset = client.NameCharset;
    m_ftp->UploadToTemporaryName = client.UploadToTemporaryName;
    m_ftp->SpeedLimits = client.SpeedLimits;
    TEngineDriver::LoginPlan plan = PlanLogin(client.LoginRetry, true);
    plan.DelaySeconds = client.ReloginDelay;
    return m_ftp->Login(plan);
}

void TFTPClientThread::ConnectSftp() {
    TThreadedFTPClient& client = *m_client;
    if (m_driver == m_ftp.get() && m_ftp->Connected()) {
        m_ftp->Quit();
    }
    if (!m_sftp) {
        TEngineDriver::Hooks hooks = DeliveryHooks();
        hooks.Skipped = [this](const std::string& text) { Skip(text); };
        m_sftp = std::make_unique<TSftpProtocol>(
            Queue(), AbortFlag, ftp_request::Abort,
            TEngineDriver::Outcome{client.ResultCode, client.ErrorMessage}, std::move(hooks));
    }
    m_driver = m_sftp.get();
    TSftpSite& site = m_sftp->Site;
    site.Host = client.HostName;
    site.Port = client.Port;
    site.User = client.UserName;
    site.Password = client.Password;
    site.Ssh = client.Ssh;
    site.Proxy = client.Proxy;
    site.NameCharset = client.NameCharset;
    site.TimeoutSeconds = client.Timeout;
    site.KeepAliveSeconds = client.KeepAliveInterval;
    m_sftp->UploadToTemporaryName = client.UploadToTemporaryName;
    m_sftp->SpeedLimits = client.SpeedLimits;
    m_sftp->AskSsh = SshAsker();
    client.Features = TFtpFeatures{};
    client.ResumeSupported = false;
    client.ServerInfoText.clear();
    TLoginPlan plan = PlanLogin(client.LoginRetry, true);
    plan.DelaySeconds = client.ReloginDelay;
    if (!m_sftp->Login(plan)) {
        return;
    }
    client.SystemName = "SFTP";
    client.ServerInfoText = m_sftp->ServerInfoText();
    client.ResumeSupported = m_sftp->Capabilities().Resume;
    if (!client.InitialFolder.empty() && m_sftp->ChangeFolder(client.InitialFolder) == 2) {
        return;
    }
    client.ResultCode = 0;
}

void TFTPClientThread::OpConnect() {
    TThreadedFTPClient& client = *m_client;
    client.ErrorMessage.clear();
    m_keepAliveInterval = client.KeepAliveInterval;
    if (client.Protocol == TRemoteProtocolKind::Sftp) {
        ConnectSftp();
        return;
    }
    if (m_driver != m_ftp.get()) {
        m_sftp->Quit();
        m_driver = m_ftp.get();
    }
    TFtpClientEx& engine = Engine();
    engine.Passive = client.PassiveMode;
    engine.TlsMode = client.Encryption;
    engine.Proxy = client.Proxy;
    engine.TlsTrustedFingerprints = client.TrustedFingerprints;
    engine.TlsAcceptAnyCertificate = client.AcceptAnyCertificate;
    if (!Login()) {
        return;
    }
    client.Features = m_ftp->Features();
    client.ServerInfoText.clear();
    if (m_ftp->Step(&TCustomFtpCliEx::Syst) == 2) {
        return;
    }
    client.SystemName = Failed() ? "Unknown" : engine.LastResponse();

    client.ResumeSupported = false;
    if (m_ftp->ProbeResume() == 2) {
        return;
    }
    client.ResumeSupported = m_ftp->ResumeSupported();

    if (!client.InitialFolder.empty()) {
        if (m_driver->ChangeFolder(client.InitialFolder) == 2) {
            return;
        }
    }
    m_ftp->ForgetType();
    client.ResultCode = 0;
}

// The session reconnects when the server has closed the connection meanwhile. A failed attempt
// closes the connection before the next one, and when every attempt failed nothing is left
// open: no later operation runs on a session that is not logged in.
bool TFTPClientThread::ReconnectIfClosed() {
    TThreadedFTPClient& client = *m_client;
    if (m_driver->Connected()) {
        client.ResultCode = 0;
        return true;
    }
    Deliver("~ Connection lost; reconnecting...");
    TEngineDriver::LoginPlan plan = PlanLogin(client.LoginRetry, false);
    plan.DelaySeconds = client.ReloginDelay;
    return m_driver->Login(plan);
}

bool TFTPClientThread::EnterHostDir() {
    if (!ReconnectIfClosed()) {
        return false;
    }
    return m_driver->ChangeFolder(m_client->HostDirName) == 0;
}

void TFTPClientThread::OpQuit() {
    if (m_driver->Connected()) {
        m_driver->Quit();
    }
}

// --- Single requests -------------------------------------------------------------------------

void TFTPClientThread::OpChangeFolder() {
    if (ReconnectIfClosed()) {
        m_driver->ChangeFolder(m_client->HostDirName);
    }
}

void TFTPClientThread::OpGetFolder() {
    if (ReconnectIfClosed()) {
        m_driver->CurrentFolder(m_client->m_currentFolder);
    }
}

void TFTPClientThread::OpGetListItems() {
    TThreadedFTPClient& client = *m_client;
    if (!ReconnectIfClosed()) {
        return;
    }
    if (client.ListItems != nullptr) {
        ListFolder(client.HostDirName, *client.ListItems, TRemoteProtocol::Purpose::Show);
    } else {
        TFTPListItems discarded;
        ListFolder(client.HostDirName, discarded);
    }
}

void TFTPClientThread::OpRename() {
    if (ReconnectIfClosed()) {
        m_driver->Rename(m_client->HostFileName, m_client->LocalFileName, false);
    }
}

void TFTPClientThread::OpDownloadFile() {
    if (ReconnectIfClosed()) {
        m_remoteFile = m_client->HostFileName;
        m_localFile = m_client->LocalFileName;
        DownloadOneFile();
    }
}

void TFTPClientThread::OpUploadFile() {
    if (ReconnectIfClosed()) {
        m_remoteFile = m_client->HostFileName;
        m_localFile = m_client->LocalFileName;
        UploadOneFile();
    }
}

void TFTPClientThread::OpMakeFolder() {
    if (ReconnectIfClosed()) {
        m_driver->MakeFolder(m_client->HostFileName);
    }
}

// --- Transfer types --------------------------------------------------------------------------

void TFTPClientThread::ChooseTransferType() {
    const TThreadedFTPClient& client = *m_client;
    bool binary = true;
    switch (client.TransferType) {
    case TFTPTransferType::ftpTypeASCII:
        binary = false;
        break;
    case TFTPTransferType::ftpTypeBinary:
        break;
    case TFTPTransferType::ftpTypeAuto: {
        const std::string extension = LowerCaseExtension(m_localFile);
        if (!extension.empty() && client.ASCIIExts != nullptr) {
            const auto extensions = client.ASCIIExts->Current();
            binary =
                std::find(extensions->begin(), extensions->end(), extension) == extensions->end();
        }
        break;
    }
    }
    m_driver->SetType(binary);
}

// --- Listings and transfers ------------------------------------------------------------------

void TFTPClientThread::ListFolder(const std::string& folder, TFTPListItems& target,
                                  TRemoteProtocol::Purpose purpose) {
    PublishFileSize(-1);
    m_driver->ListFolder(folder, target, purpose);
}

void TFTPClientThread::DownloadOneFile() {
    const TThreadedFTPClient& client = *m_client;
    ChooseTransferType();
    if (Failed()) {
        return;
    }
    bool resume = client.ResumeTransfer && client.ResumeSupported;
    if (CheckTarget(false, resume) != TGoAhead::Transfer) {
        return;
    }
    m_driver->KeepFileTimes = client.KeepFileTimes;
    // The size is known before the data flows, so that progress can be told against it.
    DownloadFile(*m_driver, m_remoteFile, m_localFile, resume,
                 [this](std::int64_t size) { PublishFileSize(size); });
}

void TFTPClientThread::UploadOneFile() {
    const TThreadedFTPClient& client = *m_client;
    ChooseTransferType();
    if (Failed()) {
        return;
    }
    bool resume = client.ResumeTransfer && client.ResumeSupported;
    if (CheckTarget(true, resume) != TGoAhead::Transfer) {
        return;
    }
    PublishFileSize(LocalFileSizeOf(m_localFile));
    m_driver->KeepFileTimes = client.KeepFileTimes;
    UploadFile(*m_driver, m_localFile, m_remoteFile, resume);
}

// --- Multi-entry requests --------------------------------------------------------------------

template <typename Entry> void TFTPClientThread::EntryLoop(TStringList& list, Entry&& carryOut) {
    std::size_t index = 0;
    while (index < list.Count()) {
        const bool done = carryOut(index);
        if (Aborted()) {
            break;
        }
        if (done && !Failed()) {
            list.Delete(index);
        } else {
            ++index;
        }
    }
}

void TFTPClientThread::OpRemove() {
    TThreadedFTPClient& client = *m_client;
    if (!EnterHostDir()) {
        return;
    }
    bool elsewhere = false; // a failed entry may have left the session in another folder
    EntryLoop(client.HostFileNames, [&](std::size_t index) {
        if (elsewhere && m_driver->ChangeFolder(client.HostDirName) != 0) {
            return false;
        }
        const std::string name = client.HostFileNames.Strings(index);
        if (!IsSafeEntryName(name)) {
            m_driver->FailAndLog("500 Cannot remove [" + name + "]: not a name inside [" +
                                 client.HostDirName + "].");
            return false;
        }
        if (client.HostFileNames.Objects(index) == kFolderEntry) {
            RemoveFolder(name, 0);
        } else {
            m_driver->RemoveFile(name);
        }
        elsewhere = Failed();
        return true;
    });
    ReportSkipped();
}

void TFTPClientThread::OpDownloads() {
    Transfers(false);
}

void TFTPClientThread::OpUploads() {
    Transfers(true);
}

void TFTPClientThread::Transfers(bool upload) {
    TThreadedFTPClient& client = *m_client;
    if (!ReconnectIfClosed()) {
        return; // no CWD: the entries carry full paths
    }
    // Downloads count their entries and take their kinds from the remote names, uploads from
    // the local ones; both lists lose the entries that were done.
    TStringList& counted = upload ? client.LocalFileNames : client.HostFileNames;
    TStringList& parallel = upload ? client.HostFileNames : client.LocalFileNames;
    EntryLoop(counted, [&](std::size_t index) {
        if (index >= parallel.Count()) {
            m_driver->Fail(std::string("500 No ") + (upload ? "remote" : "local") + " name for [" +
                           counted.Strings(index) + "].");
            return false;
        }
        m_remoteFile = client.HostFileNames.Strings(index);
        m_localFile = client.LocalFileNames.Strings(index);
        const bool folder = counted.Objects(index) == kFolderEntry;
        if (upload && folder) {
            UploadFolder(m_localFile, m_remoteFile, 0);
        } else if (upload) {
            UploadOneFile();
        } else if (folder) {
            const std::string local = m_localFile;
            const std::size_t failedBefore = m_failed.size();
            DownloadFolder(m_remoteFile, local, local, 0);
            if (!Failed() && m_failed.size() > failedBefore) {
                FailForEntriesSince(failedBefore);
            }
        } else {
            DownloadOneFile();
        }
        if (!Failed()) {
            parallel.Delete(index);
        }
        return true;
    });
    ReportSkipped();
}

void TFTPClientThread::OpChangePerms() {
    TThreadedFTPClient& client = *m_client;
    if (!EnterHostDir()) {
        return;
    }
    while (!client.HostFileNames.Empty()) {
        if (m_driver->ChangeMode(client.LocalFileName, client.HostFileNames.Strings(0)) != 0) {
            break; // the first failure ends the request
        }
        client.HostFileNames.Delete(0);
    }
}

void TFTPClientThread::OpUppercase() {
    ChangeCase(true);
}

void TFTPClientThread::OpLowercase() {
    ChangeCase(false);
}

void TFTPClientThread::ChangeCase(bool upper) {
    TThreadedFTPClient& client = *m_client;
    if (!EnterHostDir()) {
        return;
    }
    EntryLoop(client.HostFileNames, [&](std::size_t index) {
        const std::string& name = client.HostFileNames.Strings(index);
        m_driver->Rename(name, upper ? AsciiUpperCase(name) : AsciiLowerCase(name), false);
        return true;
    });
}

} // namespace qx
