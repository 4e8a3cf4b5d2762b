// SPDX-License-Identifier: GPL-3.0-or-later
// Steps the carrier's jobs share: login with retries, the restart probe, transfer types,
// listings and the destination folder of an exploration.

#include "queue/FTPCarrierThread.h"

#include "session/RemoteNames.h"

#include <algorithm>

namespace qx {

bool TFTPCarrierThread::Login(Side side) {
    TThreadedFTPCarrier& carrier = *m_carrier;
    if (m_sessions[side].loggedIn) {
        const bool ready =
            IsSftp(side) ? m_sftp[side]->Connected()
                         : Engine(side).ControlSocket().State() == TSocketState::wsConnected &&
                               Engine(side).State() == TFtpState::ftpReady;
        if (ready) {
            const bool source = side == Source;
            DeliverTagged(side, '~',
                          "User [" + (source ? carrier.SrcUserName : carrier.DestUserName) +
                              "] still logged in onto host [" +
                              (source ? carrier.SrcHostName : carrier.DestHostName) +
                              "] on port [" + (source ? carrier.SrcPort : carrier.DestPort) + "]");
            carrier.ResultCode = 0;
            return true;
        }
        DropSession(side); // the server ended the session meanwhile
    }
    // Nothing is asked but the certificate, and there is no pause between attempts.
    TEngineDriver::LoginPlan plan = PlanLogin(carrier.ConnectRetry, false);
    plan.ReportAttempts = true;
    plan.BusyRetrySeconds = carrier.BusyRetrySeconds;
    const TCarrierSide end = side == Source ? TCarrierSide::Source : TCarrierSide::Destination;
    plan.YieldWhenBusy = [this, end] {
        bool yield = false;
        OnUiThread([&] {
            TThreadedFTPCarrier& owner = *m_carrier;
            if (owner.OnServerBusy) {
                auto handler = owner.OnServerBusy;
                handler(owner, end, yield);
            }
        });
        return yield;
    };
    if (!Remote(side).Login(plan)) {
        if (!IsSftp(side) && Driver(side).LoginRefusedBusy() && !Aborted()) {
            carrier.BusySide = end;
            carrier.Yielded = Driver(side).LoginYielded();
        }
        if (carrier.Yielded) {
            DeliverTagged(side, '~',
                          "The server has no room for another connection while this queue "
                          "holds others there: the item waits for one of them.");
        }
        return false;
    }
    m_sessions[side] = SessionState{true, false, IsSftp(side)};
    return true;
}

bool TFTPCarrierThread::ProbeRestart() {
    if (m_sessions[Source].probed || IsSftp(Source)) {
        return true; // a kept session: the answer is known; SFTP always resumes
    }
    if (Driver(Source).ProbeResume() == 2) {
        return false;
    }
    m_sessions[Source].probed = true;
    return true;
}

bool TFTPCarrierThread::SetType(Side side) {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    Remote(side).SetType(
        BinaryType(side == Source ? carrier.SrcTransferType : carrier.DestTransferType));
    return !Failed();
}

bool TFTPCarrierThread::BinaryType(TFTPTransferType type) const {
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
    return binary;
}

void TFTPCarrierThread::QuitIfDone(Side side) {
    if (m_carrier->KeepSession) {
        m_carrier->ResultCode = 0;
        return; // the next job may go on with this session
    }
    // The work is done: a server that drops the connection instead of answering QUIT does
    // not make it a failure.
    Remote(side).Quit();
    m_sessions[side].loggedIn = false;
    if (!Aborted()) {
        m_carrier->ResultCode = 0;
    }
}

bool TFTPCarrierThread::GoesAhead(TTargetGuard::TGoAhead go, std::initializer_list<Side> servers) {
    if (go == TTargetGuard::TGoAhead::Transfer) {
        return true;
    }
    if (go == TTargetGuard::TGoAhead::Skip && !Failed()) {
        for (const Side side : servers) {
            QuitIfDone(side);
        }
    }
    return false;
}

bool TFTPCarrierThread::ListFolder(const std::string& folder, TFTPListItems& listing) {
    return Remote(Source).ListFolder(folder, listing);
}

bool TFTPCarrierThread::EnterOrMakeFolder(const std::string& folder) {
    TRemoteProtocol& destination = Remote(Destination);
    if (destination.ChangeFolder(folder) == 2) {
        return false;
    }
    if (Failed()) {
        destination.MakeFolder(folder);
    }
    return !Failed();
}

bool TFTPCarrierThread::UsableRemoteEntry(const TFTPListItem& entry, const std::string& folder) {
    if (entry.Name == "." || entry.Name == "..") {
        return false;
    }
    if (!IsSafeEntryName(entry.Name)) {
        Skip(Source,
             "Skipped [" + entry.Name + "] in [" + folder + "]: not a name that can be carried.");
        return false;
    }
    if (!entry.IsFile && entry.IsLink && LinkLoopsBack(folder, entry.LinkTo)) {
        Skip(Source, "Skipped the folder link [" + entry.Name + "] in [" + folder +
                         "]: it leads back into the folder.");
        return false;
    }
    return true;
}

} // namespace qx
