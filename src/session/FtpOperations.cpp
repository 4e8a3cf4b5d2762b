// The operations of the threaded session: login, reconnection, transfer types, listings with
// link detection, single transfers and the loops over the entries of multi-entry requests.

#include "session/FTPClientThread.h"

#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"
#include "engine/LocalFileStream.h"
#include "platform/TempFiles.h"
#include "session/RemoteNames.h"

#include <algorithm>
#include <cstdio>

namespace qx {

// --- Login -----------------------------------------------------------------------------------

bool TFTPClientThread::Login() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    engine.HostName = client.HostName;
    engine.Port = client.Port;
    engine.UserName = client.UserName;
    engine.PassWord = client.Password;

    // One attempt: open, USER and PASS. Each step either goes on, ends the attempt (the engine
    // is aborted, the counter lowered and the delay waited) or ends the login.
    enum class Outcome { LoggedIn, Retry, End };
    const auto step = [&](Request request) {
        Step(request);
        if (Aborted()) {
            return Outcome::End;
        }
        if (Failed()) {
            engine.Abort();
            SleepUnlessAborted(client.ReloginDelay);
            return Outcome::Retry;
        }
        return Outcome::LoggedIn;
    };
    const auto ask = [&](TFTPAuthenticate what, std::string& value) {
        if (!value.empty() || Ask(what, value)) {
            return true;
        }
        Deliver("! Login canceled.");
        client.ResultCode = 2;
        engine.Abort();
        return false;
    };
    const auto attempt = [&] {
        Outcome outcome = step(&TCustomFtpCliEx::Open);
        if (outcome != Outcome::LoggedIn) {
            return outcome;
        }
        if (!ask(TFTPAuthenticate::ftpAuthUserName, engine.UserName)) {
            return Outcome::End;
        }
        outcome = step(&TCustomFtpCliEx::User);
        if (outcome != Outcome::LoggedIn || engine.StatusCode() == 230) {
            return outcome; // a 230 logs in without a password: PASS would be out of sequence
        }
        if (!ask(TFTPAuthenticate::ftpAuthPassword, engine.PassWord)) {
            return Outcome::End;
        }
        return step(&TCustomFtpCliEx::Pass);
    };

    int counter = client.LoginRetry;
    for (; counter > 0; --counter) {
        const Outcome outcome = attempt();
        if (outcome == Outcome::End) {
            return false;
        }
        if (outcome == Outcome::LoggedIn) {
            break;
        }
    }
    if (counter <= 0) {
        client.ResultCode = 1;
        if (client.ErrorMessage.empty()) {
            client.ErrorMessage = "500 Login failed: no login attempt is allowed.";
        }
        engine.Abort();
        return false;
    }
    client.ResultCode = 0;
    return true;
}

void TFTPClientThread::OpConnect() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    client.ErrorMessage.clear();
    engine.Passive = client.PassiveMode;
    if (!Login()) {
        return;
    }
    Step(&TCustomFtpCliEx::Syst);
    if (Aborted()) {
        return;
    }
    client.SystemName = Failed() ? "Unknown" : engine.LastResponse();

    // The restart probe: a server that takes both REST commands can resume transfers. It runs
    // in binary mode, since servers refuse REST in ASCII mode, the mode a session starts in.
    client.ResumeSupported = false;
    engine.SetBinary(true);
    Step(&TCustomFtpCliEx::SetType);
    if (Aborted()) {
        return;
    }
    engine.LocalFileName = "REST 1";
    Step(&TCustomFtpCliEx::Quote);
    if (Aborted()) {
        return;
    }
    const bool restOne = !Failed();
    engine.LocalFileName = "REST 0";
    Step(&TCustomFtpCliEx::Quote);
    if (Aborted()) {
        return;
    }
    client.ResumeSupported = restOne && !Failed();

    if (!client.InitialFolder.empty()) {
        engine.HostDirName = client.InitialFolder;
        Step(&TCustomFtpCliEx::Cwd);
        if (Aborted()) {
            return;
        }
    }
    m_typeKnown = false;
    client.ResultCode = 0;
}

bool TFTPClientThread::ReconnectIfClosed() {
    TThreadedFTPClient& client = *m_client;
    if (m_engine->ControlSocket().State() != TSocketState::wsClosed) {
        client.ResultCode = 0;
        return true;
    }
    Deliver("~ Connection closed. Reconnecting...");
    int counter = client.LoginRetry;
    while (counter > 0) {
        Step(&TCustomFtpCliEx::Connect);
        if (!Failed()) {
            break;
        }
        if (Aborted()) {
            return false;
        }
        --counter;
        SleepUnlessAborted(client.ReloginDelay);
    }
    if (counter <= 0) {
        client.ResultCode = 1;
        return false;
    }
    m_typeKnown = false;
    client.ResultCode = 0;
    return true;
}

void TFTPClientThread::OpQuit() {
    if (m_engine->ControlSocket().State() != TSocketState::wsClosed) {
        Step(&TCustomFtpCliEx::Quit);
    }
}

// --- Transfer types --------------------------------------------------------------------------

void TFTPClientThread::SetTransferType() {
    if (m_typeKnown && m_engine->Binary() == m_knownBinary) {
        m_client->ResultCode = 0;
        return;
    }
    Step(&TCustomFtpCliEx::SetType);
    if (!Failed()) {
        m_typeKnown = true;
        m_knownBinary = m_engine->Binary();
    }
}

void TFTPClientThread::ChooseTransferType() {
    const TThreadedFTPClient& client = *m_client;
    switch (client.TransferType) {
    case TFTPTransferType::ftpTypeASCII:
        m_engine->SetBinary(false);
        break;
    case TFTPTransferType::ftpTypeBinary:
        m_engine->SetBinary(true);
        break;
    case TFTPTransferType::ftpTypeAuto: {
        const std::string extension = LowerCaseExtension(m_engine->LocalFileName);
        bool ascii = false;
        if (!extension.empty() && client.ASCIIExts != nullptr) {
            const auto extensions = client.ASCIIExts->Current();
            ascii =
                std::find(extensions->begin(), extensions->end(), extension) != extensions->end();
        }
        m_engine->SetBinary(!ascii);
        break;
    }
    }
    SetTransferType();
}

// --- Listings --------------------------------------------------------------------------------

void TFTPClientThread::ListFolder(TFTPListItems& target) {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    client.FileSize = -1;
    const std::string listed = engine.HostDirName;
    Step(&TCustomFtpCliEx::Cwd);
    if (Failed()) {
        return;
    }
    engine.SetBinary(false); // listings travel as ASCII
    SetTransferType();
    if (Failed()) {
        return;
    }
    std::string listingFile;
    try {
        listingFile = CreateTempFile(PrivateTempFolder()).Path;
    } catch (const std::exception& error) {
        client.ResultCode = 1;
        client.ErrorMessage = std::string("550 Cannot create a temporary file: ") + error.what();
        Deliver(client.ErrorMessage);
        return;
    }
    engine.HostFileName.clear();
    engine.LocalFileName = listingFile;
    Step(&TCustomFtpCliEx::Dir);
    if (Failed()) {
        std::remove(listingFile.c_str());
        return;
    }
    if (!DecodeListFile(listingFile, target)) {
        std::remove(listingFile.c_str());
        client.ResultCode = 1;
        client.ErrorMessage = "550 Cannot read the listing file " + listingFile;
        Deliver(client.ErrorMessage);
        return;
    }
    if (target.HasLinks) {
        DetectLinks(target, listed);
    }
}

void TFTPClientThread::DetectLinks(TFTPListItems& target, const std::string& listedFolder) {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    const TShellIcons& icons = SharedShellIcons();
    Deliver("~ Auto-detecting link property...");
    m_quiet = true;
    struct Unquiet {
        bool& quiet;
        ~Unquiet() { quiet = false; }
    } unquiet{m_quiet};

    // A probe that succeeds enters the linked folder; the listed folder must be current again
    // afterwards, since the recursive operations go on by bare names.
    Step(&TCustomFtpCliEx::Pwd);
    if (Aborted()) {
        return;
    }
    const std::string back =
        !Failed() && !engine.DirResult().empty() ? engine.DirResult() : listedFolder;

    int folders = 0;
    int files = 0;
    for (const auto& item : target) {
        if (!item->IsLink) {
            continue;
        }
        engine.HostDirName = JoinRemotePath(listedFolder, item->Name);
        Step(&TCustomFtpCliEx::Cwd);
        if (Aborted()) {
            return;
        }
        if (Failed()) {
            ++files;
            item->IsFile = true;
            item->ImageIndex = icons.GetIconIndex(item->Name);
            item->TypeName = icons.GetTypeName(item->Name);
            continue;
        }
        ++folders;
        item->IsFile = false;
        item->Size = -1;
        item->ImageIndex = icons.FolderIconIndex;
        item->TypeName = icons.FolderTypeName;
        engine.HostDirName = back;
        Step(&TCustomFtpCliEx::Cwd);
        if (Failed()) {
            if (!Aborted()) {
                client.ErrorMessage = "550 Cannot return to the folder [" + back +
                                      "] after probing the link [" + item->Name + "].";
                Deliver("! " + client.ErrorMessage);
            }
            return;
        }
    }
    Deliver("~ " + std::to_string(folders) + " folder and " + std::to_string(files) +
            " file links detected.");
    client.ResultCode = 0;
}

// --- Single transfers ------------------------------------------------------------------------

void TFTPClientThread::DownloadOneFile() {
    TThreadedFTPClient& client = *m_client;
    ChooseTransferType();
    if (Failed()) {
        return;
    }
    Step(&TCustomFtpCliEx::Size);
    if (Aborted()) {
        return;
    }
    client.FileSize = Failed() ? -1 : m_engine->SizeResult();
    if (client.ResumeTransfer && client.ResumeSupported) {
        Step(&TCustomFtpCliEx::ResumeGet);
    } else {
        Step(&TCustomFtpCliEx::Get);
    }
}

void TFTPClientThread::UploadOneFile() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    ChooseTransferType();
    if (Failed()) {
        return;
    }
    client.FileSize = LocalFileSizeOf(engine.LocalFileName);
    // Offsets count the server's bytes: ASCII uploads always start from the beginning.
    if (client.ResumeTransfer && client.ResumeSupported && engine.Binary()) {
        Step(&TCustomFtpCliEx::Size);
        if (Aborted()) {
            return;
        }
        // A remote file longer than the local one is not the start of it: it is replaced.
        if (!Failed() && engine.SizeResult() >= 0 && engine.SizeResult() <= client.FileSize) {
            engine.ResumeAt = engine.SizeResult();
            Step(&TCustomFtpCliEx::Append);
        } else {
            Step(&TCustomFtpCliEx::Put);
        }
    } else {
        Step(&TCustomFtpCliEx::Put);
    }
    engine.ResumeAt = 0;
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

bool TFTPClientThread::EnterHostDir() {
    if (!ReconnectIfClosed()) {
        return false;
    }
    m_engine->HostDirName = m_client->HostDirName;
    Step(&TCustomFtpCliEx::Cwd);
    return !Failed();
}

void TFTPClientThread::OpRemove() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    if (!EnterHostDir()) {
        return;
    }
    bool elsewhere = false; // a failed entry may have left the session in another folder
    EntryLoop(client.HostFileNames, [&](std::size_t index) {
        if (elsewhere) {
            engine.HostDirName = client.HostDirName;
            Step(&TCustomFtpCliEx::Cwd);
            if (Failed()) {
                return false;
            }
        }
        const std::string name = client.HostFileNames.Strings(index);
        if (!IsSafeEntryName(name)) {
            client.ResultCode = 1;
            client.ErrorMessage =
                "500 Cannot remove [" + name + "]: not a name inside [" + client.HostDirName + "].";
            Deliver("! " + client.ErrorMessage);
            return false;
        }
        engine.HostFileName = name;
        if (client.HostFileNames.Objects(index) == kFolderEntry) {
            RemoveFolder(name, 0);
        } else {
            Step(&TCustomFtpCliEx::Dele);
        }
        elsewhere = Failed();
        return true;
    });
}

void TFTPClientThread::OpTransfers(bool upload) {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    if (!ReconnectIfClosed()) {
        return; // no CWD: the entries carry full paths
    }
    // Downloads count their entries and take their kinds from the remote names, uploads from
    // the local ones; both lists lose the entries that were done.
    TStringList& counted = upload ? client.LocalFileNames : client.HostFileNames;
    TStringList& parallel = upload ? client.HostFileNames : client.LocalFileNames;
    EntryLoop(counted, [&](std::size_t index) {
        if (index >= parallel.Count()) {
            client.ResultCode = 1;
            client.ErrorMessage = std::string("500 No ") + (upload ? "remote" : "local") +
                                  " name for [" + counted.Strings(index) + "].";
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
            DownloadFolder(engine.HostFileName, engine.LocalFileName, 0);
        } else {
            DownloadOneFile();
        }
        if (!Failed()) {
            parallel.Delete(index);
        }
        return true;
    });
}

void TFTPClientThread::OpChangePerms() {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    if (!EnterHostDir()) {
        return;
    }
    while (!client.HostFileNames.Empty()) {
        const std::string& name = client.HostFileNames.Strings(0);
        if (name.find_first_of("\r\n") != std::string::npos ||
            client.LocalFileName.find_first_of("\r\n") != std::string::npos) {
            client.ResultCode = 1;
            client.ErrorMessage = "500 Cannot change the permission of [" + name + "].";
            Deliver("! " + client.ErrorMessage);
            break;
        }
        engine.HostFileName = name;
        engine.LocalFileName = "SITE CHMOD " + client.LocalFileName + " " + name;
        Step(&TCustomFtpCliEx::Quote);
        if (Failed()) {
            break; // the first failure ends the request
        }
        client.HostFileNames.Delete(0);
    }
}

void TFTPClientThread::OpChangeCase(bool upper) {
    TThreadedFTPClient& client = *m_client;
    TFtpClientEx& engine = *m_engine;
    if (!EnterHostDir()) {
        return;
    }
    EntryLoop(client.HostFileNames, [&](std::size_t index) {
        const std::string& name = client.HostFileNames.Strings(index);
        engine.HostFileName = name;
        engine.LocalFileName = upper ? AsciiUpperCase(name) : AsciiLowerCase(name);
        Step(&TCustomFtpCliEx::RenamePair);
        return true;
    });
}

} // namespace qx
