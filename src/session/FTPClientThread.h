#pragma once

#include "engine/FtpClientEx.h"
#include "platform/MessageQueue.h"
#include "platform/WorkerThread.h"
#include "session/ThreadedFTPClient.h"

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <thread>

namespace qx {

// The worker of a TThreadedFTPClient: a thread with its own message queue and FTP engine. Its
// loop takes request codes from the queue and runs one operation to its end; while an
// operation waits for the engine it dispatches the engine's socket notifications from the same
// queue, acts on abort and quit, and drops any other request code.
class TFTPClientThread {
public:
    explicit TFTPClientThread(std::shared_ptr<TThreadedFTPClient> client);
    ~TFTPClientThread();
    TFTPClientThread(const TFTPClientThread&) = delete;
    TFTPClientThread& operator=(const TFTPClientThread&) = delete;

    // Starts the thread and returns once its engine exists.
    void Start();
    void Join();
    MessageQueue& Queue() { return m_queue; }
    // Set by the user-interface thread, cleared by the worker.
    std::atomic<bool> AbortFlag{false};

private:
    using Request = void (TCustomFtpCliEx::*)();
    using DoneEvent = TThreadedFTPClient::TNotifyEvent TThreadedFTPClient::*;

    void Body(const std::function<void()>& ready);
    void InstallEngineHandlers();
    void RunOperation(unsigned code);
    void Finish(DoneEvent event, bool consumesHostNames, bool consumesLocalNames);

    // One engine request and the wait for it; ResultCode tells how it went.
    void Step(Request request);
    void WaitForEngine();
    void DoAbort();
    bool Failed() const; // ResultCode is not 0
    bool Aborted() const;

    // Delivery to the user-interface thread, waiting for the handler to return.
    void Deliver(const std::string& line);
    // An authentication question; false when the user cancelled it.
    bool Ask(TFTPAuthenticate what, std::string& answer);
    void SleepUnlessAborted(int seconds);

    // Operations (FtpOperations.cpp)
    void OpConnect();
    bool Login();
    bool ReconnectIfClosed();
    // The reconnection check, then a CWD to the client's HostDirName; false when either failed.
    bool EnterHostDir();
    void SetTransferType();
    void ChooseTransferType();
    void ListFolder(TFTPListItems& target);
    void DetectLinks(TFTPListItems& target, const std::string& listedFolder);
    void DownloadOneFile();
    void UploadOneFile();
    void OpRemove();
    void OpTransfers(bool upload); // Downloads and Uploads
    void OpChangePerms();
    void OpChangeCase(bool upper);
    void OpQuit();
    template <typename Entry> void EntryLoop(TStringList& list, Entry&& carryOut);

    // Folder trees (FtpTreeOperations.cpp). The paths are copies: the engine's fields that
    // callers pass change on the way.
    void DownloadFolder(std::string remoteFolder, std::string localFolder, int depth);
    void UploadFolder(std::string localFolder, std::string remoteFolder, int depth);
    void RemoveFolder(std::string folder, int depth);
    bool UsableEntry(const TFTPListItem& item, const std::string& folder);
    bool WithinDepth(int depth, const std::string& folder);

    std::shared_ptr<TThreadedFTPClient> m_client;
    MessageQueue m_queue;
    std::unique_ptr<TFtpClientEx> m_engine;
    TWorkerThread m_thread;

    bool m_typeKnown = false;
    bool m_knownBinary = false;
    bool m_quiet = false; // link probes leave no command and reply lines
    bool m_requestDone = false;
    std::uint16_t m_requestError = 0;
};

} // namespace qx
