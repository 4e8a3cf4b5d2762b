// The operations of the threaded session: login, reconnection, transfer types, listings,
// single transfers and the loops over the entries of multi-entry requests.

#include "session/FTPClientThread.h"

#include "engine/LocalFileStream.h"
#include "session/RemoteNames.h"

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
    m_driver->UseMlsd = client.UseMlsd;
    m_driver->UploadToTemporaryName = client.UploadToTemporaryName;
    TEngineDriver::LoginPlan plan = PlanLogin(client.LoginRetry, true);
    plan.DelaySeconds = client.ReloginDelay;
    return m_driver->Login(plan);
}

void TFTPClientThread::OpConnect() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = Engine();
    client.ErrorMessage.clear();
    engine.Passive = client.PassiveMode;
    engine.TlsMode = client.Encryption;
    engine.TlsTrustedFingerprints = client.TrustedFingerprints;
    engine.TlsAcceptAnyCertificate = client.AcceptAnyCertificate;
    if (!Login()) {
        return;
    }
    client.Features = m_driver->Features();
    if (m_driver->Step(&TCustomFtpCliEx::Syst) == 2) {
        return;
    }
    client.SystemName = Failed() ? "Unknown" : engine.LastResponse();

    client.ResumeSupported = false;
    if (m_driver->ProbeResume() == 2) {
        return;
    }
    client.ResumeSupported = m_driver->ResumeSupported();

    if (!client.InitialFolder.empty()) {
        engine.HostDirName = client.InitialFolder;
        if (m_driver->Step(&TCustomFtpCliEx::Cwd) == 2) {
            return;
        }
    }
    m_driver->ForgetType();
    client.ResultCode = 0;
}

// The session reconnects when the server has closed the connection meanwhile. A failed attempt
// closes the connection before the next one, and when every attempt failed nothing is left
// open: no later operation runs on a session that is not logged in.
bool TFTPClientThread::ReconnectIfClosed() {
    TThreadedFTPClient& client = *m_client;
    if (Engine().ControlSocket().State() != TSocketState::wsClosed) {
        client.ResultCode = 0;
        return true;
    }
    Deliver("~ Connection closed. Reconnecting...");
    TEngineDriver::LoginPlan plan = PlanLogin(client.LoginRetry, false);
    plan.DelaySeconds = client.ReloginDelay;
    return m_driver->Login(plan);
}

bool TFTPClientThread::EnterHostDir() {
    if (!ReconnectIfClosed()) {
        return false;
    }
    Engine().HostDirName = m_client->HostDirName;
    return m_driver->Step(&TCustomFtpCliEx::Cwd) == 0;
}

void TFTPClientThread::OpQuit() {
    if (Engine().ControlSocket().State() != TSocketState::wsClosed) {
        m_driver->Step(&TCustomFtpCliEx::Quit);
    }
}

// --- Single requests -------------------------------------------------------------------------

void TFTPClientThread::OpChangeFolder() {
    if (ReconnectIfClosed()) {
        Engine().HostDirName = m_client->HostDirName;
        m_driver->Step(&TCustomFtpCliEx::Cwd);
    }
}

void TFTPClientThread::OpGetFolder() {
    if (ReconnectIfClosed()) {
        m_driver->Step(&TCustomFtpCliEx::Pwd);
        m_client->m_currentFolder = Engine().DirResult();
    }
}

void TFTPClientThread::OpGetListItems() {
    TThreadedFTPClient& client = *m_client;
    if (!ReconnectIfClosed()) {
        return;
    }
    Engine().HostDirName = client.HostDirName;
    if (client.ListItems != nullptr) {
        ListFolder(*client.ListItems, TEngineDriver::Purpose::Show);
    } else {
        TFTPListItems discarded;
        ListFolder(discarded);
    }
}

void TFTPClientThread::OpRename() {
    if (ReconnectIfClosed()) {
        Engine().HostFileName = m_client->HostFileName;
        Engine().LocalFileName = m_client->LocalFileName;
        m_driver->Step(&TCustomFtpCliEx::RenamePair);
    }
}

void TFTPClientThread::OpDownloadFile() {
    if (ReconnectIfClosed()) {
        Engine().HostFileName = m_client->HostFileName;
        Engine().LocalFileName = m_client->LocalFileName;
        DownloadOneFile();
    }
}

void TFTPClientThread::OpUploadFile() {
    if (ReconnectIfClosed()) {
        Engine().HostFileName = m_client->HostFileName;
        Engine().LocalFileName = m_client->LocalFileName;
        UploadOneFile();
    }
}

void TFTPClientThread::OpMakeFolder() {
    if (ReconnectIfClosed()) {
        Engine().HostFileName = m_client->HostFileName;
        m_driver->Step(&TCustomFtpCliEx::Mkd);
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
        const std::string extension = LowerCaseExtension(Engine().LocalFileName);
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

void TFTPClientThread::ListFolder(TFTPListItems& target, TEngineDriver::Purpose purpose) {
    PublishFileSize(-1);
    m_driver->ListFolder(Engine().HostDirName, target, purpose);
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
    // The size is known before the data flows, so that progress can be told against it.
    m_driver->Download(resume, [this](std::int64_t size) { PublishFileSize(size); });
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
    PublishFileSize(LocalFileSizeOf(Engine().LocalFileName));
    m_driver->Upload(resume);
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
    TFtpClientEx& engine = Engine();
    if (!EnterHostDir()) {
        return;
    }
    bool elsewhere = false; // a failed entry may have left the session in another folder
    EntryLoop(client.HostFileNames, [&](std::size_t index) {
        if (elsewhere) {
            engine.HostDirName = client.HostDirName;
            if (m_driver->Step(&TCustomFtpCliEx::Cwd) != 0) {
                return false;
            }
        }
        const std::string name = client.HostFileNames.Strings(index);
        if (!IsSafeEntryName(name)) {
            m_driver->FailAndLog("500 Cannot remove [" + name + "]: not a name inside [" +
                                 client.HostDirName + "].");
            return false;
        }
        engine.HostFileName = name;
        if (client.HostFileNames.Objects(index) == kFolderEntry) {
            RemoveFolder(name, 0);
        } else {
            m_driver->Step(&TCustomFtpCliEx::Dele);
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
    TFtpClientEx& engine = Engine();
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
        engine.HostFileName = client.HostFileNames.Strings(index);
        engine.LocalFileName = client.LocalFileNames.Strings(index);
        const bool folder = counted.Objects(index) == kFolderEntry;
        if (upload && folder) {
            UploadFolder(engine.LocalFileName, engine.HostFileName, 0);
        } else if (upload) {
            UploadOneFile();
        } else if (folder) {
            const std::string local = engine.LocalFileName;
            const std::size_t failedBefore = m_failed.size();
            DownloadFolder(engine.HostFileName, local, local, 0);
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
    TFtpClientEx& engine = Engine();
    if (!EnterHostDir()) {
        return;
    }
    while (!client.HostFileNames.Empty()) {
        const std::string& name = client.HostFileNames.Strings(0);
        engine.HostFileName = name;
        if (m_driver->Quote("SITE CHMOD " + client.LocalFileName + " " + name) != 0) {
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
    TFtpClientEx& engine = Engine();
    if (!EnterHostDir()) {
        return;
    }
    EntryLoop(client.HostFileNames, [&](std::size_t index) {
        const std::string& name = client.HostFileNames.Strings(index);
        engine.HostFileName = name;
        engine.LocalFileName = upper ? AsciiUpperCase(name) : AsciiLowerCase(name);
        m_driver->Step(&TCustomFtpCliEx::RenamePair);
        return true;
    });
}

} // namespace qx
