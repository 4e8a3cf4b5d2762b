// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"
#include "queue/RelayDestination.h"
#include "queue/ThreadedFTPCarrier.h"
#include "session/EngineDriver.h"
#include "session/SftpProtocol.h"
#include "session/TargetGuard.h"
#include "session/WorkerHost.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace qx {

// The worker of a carrier, on the worker host with one protocol for the source server and one
// for the destination: an engine driver for an FTP side, an SFTP protocol for an SFTP side. Each
// job code is looked up in the job table and runs its step to its end, then the job's done event,
// which waits for the user-interface thread.
class TFTPCarrierThread final : public TWorkerHost {
public:
    explicit TFTPCarrierThread(std::shared_ptr<TThreadedFTPCarrier> carrier);
    ~TFTPCarrierThread() override;

private:
    enum Side : std::size_t { Source = 0, Destination = 1 };

    // Reply lines of one engine counted from the moment a server-to-server command is sent:
    // the first final reply answers the command, the next one ends the transfer.
    struct ReplyWatch {
        bool armed = false;
        int finalReplies = 0;
        std::string answer;
        std::string end;
    };
    struct SessionState {
        bool loggedIn = false; // a session kept from an earlier job
        bool probed = false;   // the restart probe ran on that session
        bool sftp = false;     // that session is an SFTP one
    };

    // One line of the job table: what the worker does with a job code.
    struct JobEntry {
        unsigned Code;
        TFTPCarrier::TNotifyEvent TFTPCarrier::*DoneEvent;
        void (TFTPCarrierThread::*Job)();
        bool BothServers;
    };
    static const JobEntry* FindJob(unsigned code);

    void SetUp() override;
    void Run(unsigned code) override;
    void TearDown() override;
    // bothServers: the job works on the source and the destination server.
    void PrepareEngines(bool bothServers);
    void DropSession(Side side);
    void QuitKeptSessions();
    // The FTP side's driver and engine (what is FTP's alone: the restart probe, FXP).
    TEngineDriver& Driver(Side side) { return *m_drivers[side]; }
    TFtpClientEx& Engine(Side side) { return m_drivers[side]->Engine(); }
    bool IsSftp(Side side) const;
    // The side's protocol, as the job's item names it.
    TRemoteProtocol& Remote(Side side);
    bool ResumeSupported(Side side);
    std::unique_ptr<TSftpProtocol> MakeSftp(Side side);
    // A side's settings as the job names them: onto an FTP engine, or as an SFTP site.
    void ApplyFtpSettings(Side side, TFtpClientEx& engine) const;
    TSftpSite SftpSite(Side side) const;
    void PrepareSftp(Side side);
    void AbortBoth();

    void DeliverTagged(Side side, char kind, const std::string& text);
    // Makes a server-to-server data connection between TLS sessions protected; false (with
    // the failure set) when the servers cannot.
    bool ProtectServerToServer(Side listening, bool& clientRoleSet, std::string& passive);
    void Skip(Side side, const std::string& text);

    // Steps shared by the jobs (CarrierSteps.cpp).
    bool Login(Side side);
    bool ProbeRestart();
    // The side's transfer type of the job; false when setting it failed.
    bool SetType(Side side);
    void QuitIfDone(Side side);
    // Whether the answer about the target lets the transfer go on; a skipped file is a job
    // done, after which the servers' sessions are left as QuitIfDone says.
    bool GoesAhead(TTargetGuard::TGoAhead go, std::initializer_list<Side> servers);
    bool ListFolder(const std::string& folder, TFTPListItems& listing);
    bool EnterOrMakeFolder(const std::string& folder);
    // Remote entries of a listing that may become queue items.
    bool UsableRemoteEntry(const TFTPListItem& entry, const std::string& folder);

    // The jobs (CarrierJobs.cpp).
    bool NameFits(bool folder);
    // An exploration names a folder (or none) that lies within the depth walks go to.
    bool ExplorationFits();
    // The local folder a download may write in, and the check of a local target against it.
    const std::string& LocalRoot() const;
    bool StaysInLocalRoot(const std::string& local);
    bool PrepareDestinationFolder(const std::string& folder);
    bool ListSourceFolder(const std::string& folder, TFTPListItems& listing);
#define QX_JOB_STEP(name, code, doneEvent, bothServers) void Job##name();
    QX_CARRIER_JOBS(QX_JOB_STEP)
#undef QX_JOB_STEP
    bool CopiesOntoItself(const std::string& sourcePath, const std::string& destinationPath,
                          bool folder);
    // A copy with an SFTP side: the source's bytes relayed to the destination
    // (CarrierRelay.cpp).
    void RelayCopy();
    TRelayDestination::TPlan RelayPlan(const std::string& target, std::int64_t sourceSize,
                                       std::optional<std::int64_t> sourceTime, bool resume);
    bool BinaryType(TFTPTransferType type) const;
    bool StartServerSide(Side side, const std::string& command);
    // The end of a server-to-server transfer (CarrierTransferEnd.cpp); the destination file
    // holds startSize bytes as the transfer starts.
    bool WaitForTransferEnd(const std::string& destinationFile, std::int64_t startSize);
    enum class Growth { Grew, Stalled, Unknown, Aborted };
    // Whether the destination file is now longer than size (which then becomes its size); why
    // it is not, when it is not.
    Growth LookAtDestination(const std::string& file, std::int64_t& size, std::string& why);
    std::unique_ptr<TFTPCarryItem> NewItem(TCarryDirection direction) const;
    void QueueRemoteEntries(const TFTPListItems& listing, const std::string& sourceFolder,
                            TCarryDirection direction, const std::string& destinationFolder);

    std::shared_ptr<TThreadedFTPCarrier> m_carrier;
    std::array<std::unique_ptr<TEngineDriver>, 2> m_drivers;
    std::array<std::unique_ptr<TSftpProtocol>, 2> m_sftp;
    std::array<SessionState, 2> m_sessions;
    std::array<ReplyWatch, 2> m_watches;
    std::int64_t m_heardAt = 0; // the last reply line of a server-to-server transfer (steady ms)
    // The session that reads the destination file's size while a transfer seems to stand still.
    std::unique_ptr<TEngineDriver> m_sizeLook;
    std::uint8_t m_lookResult = 0;
    std::string m_lookError;
};

} // namespace qx
