#pragma once

#include "platform/MessageQueue.h"
#include "platform/WorkerThread.h"
#include "session/EngineDriver.h"
#include "session/ThreadedFTPClient.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qx {

// The worker of a TThreadedFTPClient: a thread with its own message queue and FTP engine. Its
// loop takes request codes from the queue and runs one operation to its end; while an
// operation waits for the engine it dispatches the engine's socket notifications from the same
// queue, acts on abort and quit, and drops any other request code.
//
// Log lines, status texts and progress reach the user-interface thread as queued copies, in
// order; the done event and the questions of the login wait for it.
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
    // One line of the request table: what the worker does with a request code.
    struct RequestEntry {
        unsigned Code;
        const char* Status;
        TThreadedFTPClient::TNotifyEvent TThreadedFTPClient::*DoneEvent;
        void (TFTPClientThread::*Operation)();
        bool ConsumesHostNames;
        bool ConsumesLocalNames;
    };
    static const RequestEntry* FindRequest(unsigned code);

    void Body(const std::function<void()>& ready);
    void RunOperation(const RequestEntry& request);
    void Finish(const RequestEntry& request);

    // Delivery to the user-interface thread.
    void Deliver(const std::string& line);
    void PublishFileSize(std::int64_t size);
    // An authentication question, waited for; false when the user cancelled it.
    bool Ask(TFTPAuthenticate what, std::string& answer);
    bool AskCertificate(const TCertificateQuestion& question);

    TFtpClientEx& Engine() { return m_driver->Engine(); }
    bool Failed() const { return m_driver->Failed(); }
    bool Aborted() const { return m_driver->Aborted(); }

    // The operations of the request table (FtpOperations.cpp).
#define QX_OPERATION(name, code, status, consumesHostNames, consumesLocalNames) void Op##name();
    QX_FTP_REQUESTS(QX_OPERATION)
#undef QX_OPERATION

    // Steps the operations share (FtpOperations.cpp).
    bool Login();
    bool ReconnectIfClosed();
    // The reconnection check, then a CWD to the client's HostDirName; false when either failed.
    bool EnterHostDir();
    void ChooseTransferType();
    void ListFolder(TFTPListItems& target,
                    TEngineDriver::Purpose purpose = TEngineDriver::Purpose::Walk);
    void DownloadOneFile();
    void UploadOneFile();
    void Transfers(bool upload); // Downloads and Uploads
    // Before a transfer replaces a file (OverwriteCheck.cpp): the owner's answer decides; a
    // Rename changes the engine's target name, a Resume the resume flag.
    enum class TGoAhead { Transfer, Skip, Cancel };
    TGoAhead CheckTarget(bool upload, bool& resume);
    void ChangeCase(bool upper);
    template <typename Entry> void EntryLoop(TStringList& list, Entry&& carryOut);

    // Folder trees (FtpTreeOperations.cpp). The paths are copies: the engine's fields that
    // callers pass change on the way. The local root is the folder the user chose, which no
    // local link may lead out of.
    void DownloadFolder(std::string remoteFolder, std::string localFolder,
                        const std::string& localRoot, int depth);
    void UploadFolder(std::string localFolder, std::string remoteFolder, int depth);
    void RemoveFolder(std::string folder, int depth);
    bool UsableEntry(const TFTPListItem& item, const std::string& folder);
    bool WithinDepth(int depth, const std::string& folder);
    void Skip(const std::string& line);
    // After an entry of a recursive download failed: notes it and clears the failure, so that
    // the download goes on (true); false when the session is gone or the user aborted.
    bool CarryOnAfter(const std::string& remotePath);
    // Fails the request for the entries noted from first on.
    void FailForEntriesSince(std::size_t first);
    // The closing line of a request that skipped entries.
    void ReportSkipped();

    std::shared_ptr<TThreadedFTPClient> m_client;
    MessageQueue m_queue;
    std::unique_ptr<TEngineDriver> m_driver;
    TWorkerThread m_thread;
    std::vector<std::string> m_skipped;
    std::vector<std::string> m_failed; // "[remote path]: why" of each entry a download missed
    // An answer about replacing files given for the rest of the request.
    std::optional<TOverwriteAnswer> m_answerForAll;
};

} // namespace qx
