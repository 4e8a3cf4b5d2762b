// Steps the carrier's jobs share: login with retries, the restart probe, transfer types,
// listings with link detection and the destination folder of an exploration.

#include "queue/FTPCarrierThread.h"

#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"
#include "platform/TempFiles.h"
#include "session/RemoteNames.h"

#include <algorithm>
#include <cstdio>

namespace qx {

bool TFTPCarrierThread::Login(Side side) {
    TThreadedFTPCarrier& carrier = *m_carrier;
    TFtpClientEx& engine = Engine(side);
    const std::string& host = engine.HostName;
    EngineSlot& slot = m_slots[side];
    if (slot.loggedIn) {
        if (engine.ControlSocket().State() == TSocketState::wsConnected &&
            engine.State() == TFtpState::ftpReady) {
            DeliverTagged(side, '~',
                          "User [" + engine.UserName + "] still logged in onto host [" + host +
                              "] on port [" + engine.Port + "]");
            carrier.ResultCode = 0;
            return true;
        }
        DropSession(side); // the server ended the session meanwhile
    }
    int counter = carrier.ConnectRetry;
    while (counter > 0) {
        Step(side, &TCustomFtpCliEx::Connect);
        m_displayDetached = false;
        if (Aborted()) {
            return false;
        }
        if (!Failed()) {
            break;
        }
        DeliverTagged(side, '!',
                      "User [" + engine.UserName + "] failed to log in onto host [" + host +
                          "] on port [" + engine.Port + "]");
        engine.Abort();
        --counter;
        if (counter > 0) {
            DeliverTagged(side, '~',
                          "Retrying to connect host [" + host + "] on port [" + engine.Port +
                              "]. " + std::to_string(counter) + " connection retry remained");
            m_displayDetached = true; // the next attempt runs without log lines
        }
    }
    m_displayDetached = false;
    if (counter <= 0) {
        carrier.ResultCode = 1;
        if (carrier.ErrorMessage.empty()) {
            carrier.ErrorMessage = "500 Login failed: no login attempt is allowed.";
        }
        return false;
    }
    DeliverTagged(side, '~',
                  "User [" + engine.UserName + "] logged in successfully onto host [" + host +
                      "] on port [" + engine.Port + "]");
    slot.loggedIn = true;
    slot.probed = false;
    slot.typeKnown = false;
    return true;
}

bool TFTPCarrierThread::ProbeRestart() {
    if (m_slots[Source].probed) {
        return true; // a kept session: the answer is known
    }
    m_resumeSupported = false;
    // Servers may refuse REST in ASCII mode, the mode a session starts in.
    SendType(Source, true);
    if (Aborted()) {
        return false;
    }
    Quote(Source, "REST 1");
    if (Aborted()) {
        return false;
    }
    m_resumeSupported = !Failed();
    Quote(Source, "REST 0");
    m_slots[Source].probed = !Aborted();
    return !Aborted();
}

void TFTPCarrierThread::SetType(Side side, TFTPTransferType type) {
    bool binary = type != TFTPTransferType::ftpTypeASCII;
    if (type == TFTPTransferType::ftpTypeAuto && m_carrier->ASCIIExts != nullptr) {
        // The extension is compared as it is written: "README.TXT" is not ".txt".
        const std::string& name = m_carrier->FileName;
        const auto dot = name.rfind('.');
        if (dot != std::string::npos) {
            const std::string extension = name.substr(dot);
            const auto extensions = m_carrier->ASCIIExts->Current();
            binary =
                std::find(extensions->begin(), extensions->end(), extension) == extensions->end();
        }
    }
    SendType(side, binary);
}

void TFTPCarrierThread::SendType(Side side, bool binary) {
    EngineSlot& slot = m_slots[side];
    if (slot.loggedIn && slot.typeKnown && slot.binary == binary) {
        m_carrier->ResultCode = 0;
        return;
    }
    slot.engine->SetBinary(binary);
    Step(side, &TCustomFtpCliEx::SetType);
    slot.typeKnown = !Failed();
    slot.binary = binary;
}

void TFTPCarrierThread::QuitIfDone(Side side) {
    if (m_carrier->KeepSession) {
        m_carrier->ResultCode = 0;
        return; // the next job may go on with this session
    }
    // The work is done: a server that drops the connection instead of answering QUIT does
    // not make it a failure.
    Step(side, &TCustomFtpCliEx::Quit);
    m_slots[side].loggedIn = false;
    if (!Aborted()) {
        m_carrier->ResultCode = 0;
    }
}

bool TFTPCarrierThread::ListFolder(const std::string& folder, TFTPListItems& listing) {
    TFtpClientEx& engine = Engine(Source);
    engine.HostDirName = folder;
    Step(Source, &TCustomFtpCliEx::Cwd);
    if (Failed()) {
        return false;
    }
    SendType(Source, false); // listings travel as ASCII
    if (Failed()) {
        return false;
    }
    std::string listingFile;
    try {
        listingFile = CreateTempFile(PrivateTempFolder()).Path;
    } catch (const std::exception& error) {
        Fail(std::string("550 Cannot create a temporary file: ") + error.what());
        DeliverTagged(Source, '!', m_carrier->ErrorMessage);
        return false;
    }
    engine.HostFileName.clear();
    engine.LocalFileName = listingFile;
    Step(Source, &TCustomFtpCliEx::Dir);
    const bool decoded = !Failed() && DecodeListFile(listingFile, listing);
    std::remove(listingFile.c_str());
    if (Failed()) {
        return false;
    }
    if (!decoded) {
        Fail("550 Cannot read the listing file " + listingFile);
        DeliverTagged(Source, '!', m_carrier->ErrorMessage);
        return false;
    }
    if (listing.HasLinks) {
        DetectLinks(folder, listing);
    }
    return !Failed();
}

void TFTPCarrierThread::DetectLinks(const std::string& folder, TFTPListItems& listing) {
    TFtpClientEx& engine = Engine(Source);
    const TShellIcons& icons = SharedShellIcons();
    DeliverTagged(Source, '~', "Auto-detecting link property...");
    m_quiet = true;
    int folders = 0;
    int files = 0;
    for (const auto& item : listing) {
        if (!item->IsLink) {
            continue;
        }
        // An absolute path, so that a probe that entered a folder needs no way back.
        engine.HostDirName = JoinRemotePath(folder, item->Name);
        Step(Source, &TCustomFtpCliEx::Cwd);
        if (Aborted()) {
            m_quiet = false;
            return;
        }
        if (Failed()) {
            ++files;
            item->IsFile = true;
            item->ImageIndex = icons.GetIconIndex(item->Name);
            item->TypeName = icons.GetTypeName(item->Name);
        } else {
            ++folders;
            item->IsFile = false;
            item->Size = -1;
            item->ImageIndex = icons.FolderIconIndex;
            item->TypeName = icons.FolderTypeName;
        }
    }
    m_quiet = false;
    DeliverTagged(Source, '~',
                  std::to_string(folders) + " folder and " + std::to_string(files) +
                      " file links detected.");
    m_carrier->ResultCode = 0;
}

bool TFTPCarrierThread::EnterOrMakeFolder(const std::string& folder) {
    TFtpClientEx& engine = Engine(Destination);
    engine.HostDirName = folder;
    Step(Destination, &TCustomFtpCliEx::Cwd);
    if (Aborted()) {
        return false;
    }
    if (Failed()) {
        engine.HostFileName = folder;
        Step(Destination, &TCustomFtpCliEx::Mkd);
    }
    return !Failed();
}

bool TFTPCarrierThread::UsableRemoteEntry(const TFTPListItem& entry, const std::string& folder) {
    if (entry.Name == "." || entry.Name == "..") {
        return false;
    }
    if (!IsSafeEntryName(entry.Name)) {
        DeliverTagged(Source, '!',
                      "Skipped [" + entry.Name + "] in [" + folder +
                          "]: not a name that can be carried.");
        return false;
    }
    if (!entry.IsFile && entry.IsLink && LinkLoopsBack(folder, entry.LinkTo)) {
        DeliverTagged(Source, '!',
                      "Skipped the folder link [" + entry.Name + "] in [" + folder +
                          "]: it leads back into the folder.");
        return false;
    }
    return true;
}

} // namespace qx
