#pragma once

#include "base/AsciiExtensions.h"
#include "base/TransferType.h"
#include "engine/FTPListItem.h"
#include "platform/UiThread.h"
#include "session/StringList.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qx {

class TFTPClientThread;

// What an authentication question asks for.
enum class TFTPAuthenticate : std::uint8_t { ftpAuthUserName = 0, ftpAuthPassword = 1 };

// Request codes posted to the worker: the user-message base plus 100 to 115.
namespace ftp_request {
constexpr unsigned kUserMessage = 0x0400;
constexpr unsigned Connect = kUserMessage + 100;
constexpr unsigned ChangeFolder = kUserMessage + 101;
constexpr unsigned GetFolder = kUserMessage + 102;
constexpr unsigned GetListItems = kUserMessage + 103;
constexpr unsigned Rename = kUserMessage + 104;
constexpr unsigned Remove = kUserMessage + 105;
constexpr unsigned DownloadFile = kUserMessage + 106;
constexpr unsigned UploadFile = kUserMessage + 107;
constexpr unsigned Abort = kUserMessage + 108;
constexpr unsigned MakeFolder = kUserMessage + 109;
constexpr unsigned Downloads = kUserMessage + 110;
constexpr unsigned Uploads = kUserMessage + 111;
constexpr unsigned Quit = kUserMessage + 112;
constexpr unsigned ChangePerms = kUserMessage + 113;
constexpr unsigned Uppercase = kUserMessage + 114;
constexpr unsigned Lowercase = kUserMessage + 115;
} // namespace ftp_request

// One FTP session on a worker thread of its own. The owner (a window, or the command-line
// tool) fills the request fields, calls one request method and later receives exactly one done
// event for it; meanwhile the session reports log lines, status texts ("% ..."), progress and
// authentication questions. Every event runs on the user-interface thread, delivered through
// UiThread while the worker waits for it to return.
//
// The worker keeps the client alive while it runs, so the owner may go away before the worker
// has ended: it then calls Detach(), which clears every event handler and stops the worker.
//
// Threads: request fields are written by the owner before a request and read by the worker
// during it (the owner leaves them alone while Busy()); result fields are written by the worker
// and read by the owner in the handlers the worker raises. Busy and the abort flag are atomic.
class TThreadedFTPClient : public std::enable_shared_from_this<TThreadedFTPClient> {
public:
    using TNotifyEvent = std::function<void(TThreadedFTPClient&)>;
    using TFTPDisplayEvent = std::function<void(TThreadedFTPClient&, const std::string& msg)>;
    using TFTPAuthenticateEvent = std::function<void(TThreadedFTPClient&, TFTPAuthenticate auth,
                                                     std::string& need, bool& cancel)>;
    using TFTPTransferStatusEvent = std::function<void(
        TThreadedFTPClient&, std::int64_t position, std::int64_t transfered, std::int64_t elapsed)>;

    static std::shared_ptr<TThreadedFTPClient> Create(UiThread& ui);
    ~TThreadedFTPClient();
    TThreadedFTPClient(const TThreadedFTPClient&) = delete;
    TThreadedFTPClient& operator=(const TThreadedFTPClient&) = delete;

    // --- Request fields ---
    std::string HostName;
    std::string Port;
    std::string UserName;
    std::string Password;
    std::string HostDirName;
    std::string LocalDirName;
    std::string HostFileName;
    std::string LocalFileName;
    // Extensions that automatic transfers send as ASCII; referenced, not owned.
    const TAsciiExtensions* ASCIIExts = nullptr;
    int LoginRetry = 30;
    int ReloginDelay = 1;
    bool ResumeTransfer = false;
    TFTPTransferType TransferType = TFTPTransferType::ftpTypeBinary;
    std::string InitialFolder;
    bool PassiveMode = true;
    // The worker runs at the lowest priority, so that windows stay responsive.
    bool LowestPriority = true;

    // --- Events ---
    TFTPDisplayEvent OnDisplay;
    TFTPAuthenticateEvent OnAuthenticate;
    TFTPTransferStatusEvent OnTransferStatus;
    TNotifyEvent OnConnectDone;
    TNotifyEvent OnChangeFolderDone;
    TNotifyEvent OnGetFolderDone;
    TNotifyEvent OnGetListItemsDone;
    TNotifyEvent OnDownloadFileDone;
    TNotifyEvent OnUploadFileDone;
    TNotifyEvent OnMakeFolderDone;
    TNotifyEvent OnRenameDone;
    TNotifyEvent OnRemoveDone;
    TNotifyEvent OnDownloadsDone;
    TNotifyEvent OnUploadsDone;
    TNotifyEvent OnQuitDone;
    TNotifyEvent OnChangePermsDone;
    TNotifyEvent OnUppercaseDone;
    TNotifyEvent OnLowercaseDone;
    TNotifyEvent OnEndThread;

    // --- Results ---
    bool Busy() const { return m_busy.load(); }
    std::uint8_t ResultCode = 0; // 0 success, 1 failure, 2 aborted or cancelled
    std::string ErrorMessage;
    std::string SystemName;
    bool ResumeSupported = false;
    std::int64_t FileSize = -1;
    TFTPListItems* ListItems = nullptr; // listing target of GetListItems, the caller's
    TStringList HostFileNames;
    TStringList LocalFileNames;
    // The address the host name resolved to, and the folder of the last PWD reply.
    const std::string& HostAddress() const { return m_hostAddress; }
    const std::string& CurrentFolder() const { return m_currentFolder; }

    // --- Lifecycle ---
    void StartThread();
    void StopThread();
    // The owner goes away: no event reaches it any more and the worker stops.
    void Detach();
    bool WorkerRunning() const { return m_workerRunning.load(); }

    // --- Requests ---
    void Connect();
    void ChangeFolder();
    void GetFolder();
    void GetListItems();
    void Rename();
    void Remove();
    void DownloadFile();
    void UploadFile();
    void Abort();
    void MakeFolder();
    void Downloads();
    void Uploads();
    void Quit();
    void ChangePerms();
    void Uppercase();
    void Lowercase();

private:
    friend class TFTPClientThread;
    explicit TThreadedFTPClient(UiThread& ui);
    void Post(unsigned code);
    void EndOfWorker(TFTPClientThread* worker);

    UiThread& m_ui;
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_workerRunning{false};
    // Every worker that has not ended yet; the last one takes the requests, the others were
    // stopped and end on their own.
    std::vector<std::unique_ptr<TFTPClientThread>> m_workers;
    TFTPClientThread* m_worker = nullptr;
    std::string m_hostAddress;
    std::string m_currentFolder;
};

} // namespace qx
