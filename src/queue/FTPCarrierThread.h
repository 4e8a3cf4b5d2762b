#pragma once

#include "engine/FTPListItem.h"
#include "engine/FtpClientEx.h"
#include "platform/MessageQueue.h"
#include "platform/WorkerThread.h"
#include "queue/ThreadedFTPCarrier.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <thread>

namespace qx {

// The worker of a carrier: a thread with its own message queue and two FTP engines. It runs
// the jobs posted to it one after the other until the quit message; while a job waits for an
// engine it dispatches the engines' socket notifications, acts on abort and quit, and drops
// any other code.
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
    using Request = void (TCustomFtpCliEx::*)();
    enum Side : std::size_t { Source = 0, Destination = 1 };

    // Reply lines of one engine counted from the moment a server-to-server command is sent:
    // the first final reply answers the command, the next one ends the transfer.
    struct ReplyWatch {
        bool armed = false;
        int finalReplies = 0;
        std::string answer;
        std::string end;
    };
    struct EngineSlot {
        std::unique_ptr<TFtpClientEx> engine;
        bool requestDone = false;
        std::uint16_t requestError = 0;
        ReplyWatch watch;
        bool loggedIn = false;  // a session kept from an earlier job
        bool probed = false;    // the restart probe ran on that session
        bool typeKnown = false; // the type that session was last set to
        bool binary = false;
    };

    void Body(const std::function<void()>& ready);
    void HookEngine(Side side);
    void PrepareEngines();
    void RunJob(unsigned code);
    void DropSession(Side side);
    void QuitKeptSessions();
    TFtpClientEx& Engine(Side side) { return *m_slots[side].engine; }

    // One engine request and the wait for it; the carrier's ResultCode tells how it went.
    void Step(Side side, Request request);
    void Quote(Side side, const std::string& command);
    void WaitForEngine(Side side);
    void AbortOne(Side side);
    void AbortBoth();
    bool Failed() const { return m_carrier->ResultCode != 0; }
    bool Aborted() const { return m_carrier->ResultCode == 2; }
    void Fail(std::string errorMessage);

    // Delivery to the user-interface thread, waiting for the handler to return. Lines are
    // tagged with the host of the engine concerned.
    void Deliver(const std::string& line, bool evenWhenDetached = false);
    void DeliverTagged(Side side, char kind, const std::string& text);
    void DeliverProgress(std::int64_t position, std::int64_t transfered, std::int64_t elapsed);

    // Steps shared by the jobs (CarrierSteps.cpp).
    bool Login(Side side);
    bool ProbeRestart();
    void SetType(Side side, TFTPTransferType type);
    // TYPE, unless the session kept from an earlier job has that type already.
    void SendType(Side side, bool binary);
    void QuitIfDone(Side side);
    bool ListFolder(const std::string& folder, TFTPListItems& listing);
    void DetectLinks(const std::string& folder, TFTPListItems& listing);
    bool EnterOrMakeFolder(const std::string& folder);
    // Remote entries of a listing that may become queue items.
    bool UsableRemoteEntry(const TFTPListItem& entry, const std::string& folder);

    // The jobs (CarrierJobs.cpp).
    bool NameFits(bool folder);
    bool PrepareDestinationFolder(const std::string& folder);
    bool ListSourceFolder(const std::string& folder, TFTPListItems& listing);
    void JobDownload();
    void JobUpload();
    void JobTransfer();
    bool WaitForTransferEnd();
    void JobExploreDownload();
    void JobExploreUpload();
    void JobExploreTransfer();
    std::unique_ptr<TFTPCarryItem> NewItem(TCarryDirection direction) const;
    void QueueRemoteEntries(const TFTPListItems& listing, const std::string& sourceFolder,
                            TCarryDirection direction, const std::string& destinationFolder);

    std::shared_ptr<TThreadedFTPCarrier> m_carrier;
    MessageQueue m_queue;
    std::array<EngineSlot, 2> m_slots;
    TWorkerThread m_thread;

    bool m_resumeSupported = false;
    bool m_displayDetached = false; // later login attempts leave no lines
    bool m_quiet = false;           // link probes leave no command and reply lines
};

} // namespace qx
