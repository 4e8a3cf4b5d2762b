// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/EngineDriver.h"
#include "session/SftpProtocol.h"
#include "session/TargetGuard.h"
#include "session/ThreadedFTPClient.h"
#include "session/WorkerHost.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qx {

// The worker of a TThreadedFTPClient, on the worker host with one protocol (the FTP engine
// driver, or SFTP by the client's Protocol at each connection): each request
// code is looked up in the request table and runs its operation to its end, then the done
// event, which waits for the user-interface thread.
class TFTPClientThread final : public TWorkerHost {
public:
    explicit TFTPClientThread(std::shared_ptr<TThreadedFTPClient> client);
    ~TFTPClientThread() override;

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

    void SetUp() override;
    void Run(unsigned code) override;
    void TearDown() override;
    void Finish(const RequestEntry& request);
    // Keep-alive of an idle FTP connection (SessionKeepAlive.cpp).
    std::chrono::milliseconds IdleWait() override;
    void Idle() override;

    void PublishFileSize(std::int64_t size);

    TFtpClientEx& Engine() { return m_ftp->Engine(); }

    // The operations of the request table (FtpOperations.cpp).
#define QX_OPERATION(name, code, status, consumesHostNames, consumesLocalNames) void Op##name();
    QX_FTP_REQUESTS(QX_OPERATION)
#undef QX_OPERATION

    // Steps the operations share (FtpOperations.cpp).
    bool Login();
    // The SFTP connection instead of the FTP one: OpConnect with Protocol Sftp.
    void ConnectSftp();
    bool ReconnectIfClosed();
    // The reconnection check, then a CWD to the client's HostDirName; false when either failed.
    bool EnterHostDir();
    void ChooseTransferType();
    void ListFolder(const std::string& folder, TFTPListItems& target,
                    TRemoteProtocol::Purpose purpose = TRemoteProtocol::Purpose::Walk);
    void DownloadOneFile();
    void UploadOneFile();
    void Transfers(bool upload); // Downloads and Uploads
    // Before a transfer replaces a file (OverwriteCheck.cpp): the owner's answer decides.
    using TGoAhead = TTargetGuard::TGoAhead;
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
    void Skip(const std::string& line);
    // After an entry of a recursive download failed: notes it and clears the failure, so that
    // the download goes on (true); false when the session is gone or the user aborted.
    bool CarryOnAfter(const std::string& remotePath);
    // Fails the request for the entries noted from first on.
    void FailForEntriesSince(std::size_t first);
    // The closing line of a request that skipped entries.
    void ReportSkipped();

    std::shared_ptr<TThreadedFTPClient> m_client;
    std::unique_ptr<TEngineDriver> m_ftp;
    std::unique_ptr<TSftpProtocol> m_sftp; // made by the first SFTP connection
    // The protocol of the session: m_ftp's, or m_sftp's after an SFTP connection.
    TRemoteProtocol* m_driver = nullptr;
    // The file of the transfer under way: its remote and its local path.
    std::string m_remoteFile;
    std::string m_localFile;
    std::vector<std::string> m_skipped;
    std::vector<std::string> m_failed; // "[remote path]: why" of each entry a download missed
    // An answer about replacing files given for the rest of the request.
    std::optional<TOverwriteAnswer> m_answerForAll;
    // When the last request or keep-alive ended, and the interval the last Connect asked for.
    std::chrono::steady_clock::time_point m_lastUse = std::chrono::steady_clock::now();
    int m_keepAliveInterval = 0;
};

} // namespace qx
