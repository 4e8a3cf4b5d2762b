#pragma once

#include "engine/FTPListItem.h"
#include "platform/MessageQueue.h"
#include "platform/WorkerThread.h"
#include "queue/ThreadedFTPCarrier.h"
#include "session/EngineDriver.h"
#include "session/TargetGuard.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace qx {

// The worker of a carrier: a thread with its own message queue and two FTP engines, each run
// by an engine driver. It runs the jobs posted to it one after the other until the quit
// message; while a job waits for an engine it dispatches the engines' socket notifications,
// acts on abort and quit, and drops any other code.
class TFTPCarrierThread {
public:
    explicit TFTPCarrierThread(std::shared_ptr<TThreadedFTPCarrier> carrier);
    ~TFTPCarrierThread();
    TFTPCarrierThread(const TFTPCarrierThread&) = delete;
    TFTPCarrierThread& operator=(const TFTPCarrierThread&) = delete;

    // Starts the thread and returns once it takes messages.
    void Start();
    void Join();
    MessageQueue& Queue() { return m_queue; }
    // Set by the user-interface thread, cleared by the worker.
    std::atomic<bool> AbortFlag{false};

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
    };

    void Body(const std::function<void()>& ready);
    void RunJob(unsigned code);
    // bothServers: the job works on the source and the destination server.
    void PrepareEngines(bool bothServers);
    void DropSession(Side side);
    void QuitKeptSessions();
    TEngineDriver& Driver(Side side) { return *m_drivers[side]; }
    // Asks the carrier's owner, on the user-interface thread, before a file is replaced.
    TTargetGuard::TAsk OverwriteAsker();
    // Raises one of the carrier's questions on the user-interface thread and waits for it.
    template <typename Event, typename... Args>
    static void AskOwner(const std::shared_ptr<TThreadedFTPCarrier>& carrier,
                         Event TFTPCarrier::*event, Args&... args) {
        carrier->m_ui.invoke([&] {
            if ((*carrier).*event) {
                auto handler = (*carrier).*event;
                handler(*carrier, args...);
            }
        });
    }
    TFtpClientEx& Engine(Side side) { return m_drivers[side]->Engine(); }
    bool Failed() const { return m_carrier->ResultCode != 0; }
    bool Aborted() const { return m_carrier->ResultCode == 2; }
    void Fail(std::string errorMessage);
    void AbortBoth();

    // Delivery to the user-interface thread, as queued copies.
    void Deliver(const std::string& line);
    void DeliverTagged(Side side, char kind, const std::string& text);
    // Makes a server-to-server data connection between TLS sessions protected; false (with
    // the failure set) when the servers cannot.
    bool ProtectServerToServer(Side listening, bool& clientRoleSet, std::string& passive);
    void Skip(Side side, const std::string& text);

    // Steps shared by the jobs (CarrierSteps.cpp).
    bool Login(Side side);
    bool ProbeRestart();
    void SetType(Side side, TFTPTransferType type);
    void QuitIfDone(Side side);
    bool ListFolder(const std::string& folder, TFTPListItems& listing);
    bool EnterOrMakeFolder(const std::string& folder);
    // Remote entries of a listing that may become queue items.
    bool UsableRemoteEntry(const TFTPListItem& entry, const std::string& folder);
    // Explorations stop as deep as the session's recursive operations do.
    bool WithinDepth(const std::string& folder);

    // The jobs (CarrierJobs.cpp).
    bool NameFits(bool folder);
    // The local folder a download may write in, and the check of a local target against it.
    const std::string& LocalRoot() const;
    bool StaysInLocalRoot(const std::string& local);
    bool PrepareDestinationFolder(const std::string& folder);
    bool ListSourceFolder(const std::string& folder, TFTPListItems& listing);
    void JobDownload();
    void JobUpload();
    void JobTransfer();
    bool CopiesOntoItself(const std::string& sourcePath, const std::string& destinationPath,
                          bool folder);
    bool StartServerSide(Side side, const std::string& command);
    // The end of a server-to-server transfer (CarrierTransferEnd.cpp); the destination file
    // holds startSize bytes as the transfer starts.
    bool WaitForTransferEnd(const std::string& destinationFile, std::int64_t startSize);
    enum class Growth { Grew, Stalled, Unknown, Aborted };
    // Whether the destination file is now longer than size (which then becomes its size); why
    // it is not, when it is not.
    Growth LookAtDestination(const std::string& file, std::int64_t& size, std::string& why);
    void JobExploreDownload();
    void JobExploreUpload();
    void JobExploreTransfer();
    std::unique_ptr<TFTPCarryItem> NewItem(TCarryDirection direction) const;
    void QueueRemoteEntries(const TFTPListItems& listing, const std::string& sourceFolder,
                            TCarryDirection direction, const std::string& destinationFolder);

    std::shared_ptr<TThreadedFTPCarrier> m_carrier;
    MessageQueue m_queue;
    std::array<std::unique_ptr<TEngineDriver>, 2> m_drivers;
    std::array<SessionState, 2> m_sessions;
    std::array<ReplyWatch, 2> m_watches;
    std::int64_t m_heardAt = 0; // the last reply line of a server-to-server transfer (steady ms)
    // The session that reads the destination file's size while a transfer seems to stand still.
    std::unique_ptr<TEngineDriver> m_sizeLook;
    std::uint8_t m_lookResult = 0;
    std::string m_lookError;
    TWorkerThread m_thread;
    bool m_resumeSupported = false;
};

} // namespace qx
