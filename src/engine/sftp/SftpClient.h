// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/NameCharset.h"
#include "base/TokenBucket.h"
#include "engine/ByteStreams.h"
#include "engine/FTPListItem.h"
#include "engine/sftp/AskpassServer.h"
#include "engine/sftp/SftpStatus.h"
#include "engine/sftp/SftpWire.h"
#include "engine/sftp/SshArguments.h"
#include "engine/sftp/SshProcess.h"
#include "platform/MessageQueue.h"

#include <asio/posix/stream_descriptor.hpp>
#include <asio/steady_timer.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qx::sftp {

class TSftpTransfer;
struct TTransferCallbacks;
struct TSftpListReport;

// How to log in: where, and who answers ssh's questions.
struct TSftpLogin {
    TSshTarget Target;
    // Answers ssh's first password question (and a keyboard-interactive "Password:") without
    // asking; it travels only through the askpass socket, never on a command line or in the
    // environment.
    std::optional<std::string> Password;
    // Asks the user; nothing to answer cancels the login ("Login cancelled."). Without it (and
    // without a password, or without the askpass helper) ssh runs in batch mode and fails
    // where it would have asked.
    TAskpassServer::TAsk Ask;
};

// What Server Information shows of an SFTP connection.
struct TSftpServerInfo {
    TSshFacts Ssh;
    std::uint32_t Version = 0;
    std::vector<std::pair<std::string, std::string>> Extensions; // name, version
    // From limits@openssh.com; 0 where the server set none.
    std::uint64_t MaxPacketLength = 0;
    std::uint64_t MaxReadLength = 0;
    std::uint64_t MaxWriteLength = 0;
    std::uint64_t MaxOpenHandles = 0;
};

// One SFTP connection (protocol version 3) over an OpenSSH `ssh -s HOST sftp` process, driven
// by the owning thread's MessageQueue: the process's pipes are non-blocking descriptors whose
// readiness is waited for on the queue; there is no thread of its own.
//
// Every request returns at once; its callback runs later on the queue, never from inside the
// call (a request refused at once is posted too). Requests may be issued from inside
// callbacks, many may be in flight at once, and the client may be destroyed from inside one:
// callbacks of requests still open are then dropped, never called. Paths are the server's
// bytes.
//
//   Idle --Login--> Connecting: ssh started, INIT sent; ssh's questions go to Ask
//        --VERSION, limits@openssh.com, REALPATH "."--> Ready (Home() known)
//   Ready --Quit--> Closed (ssh's input closed, the process ends and is reaped)
//   any --failure (time-out, ssh ended, broken protocol, Abort)--> Closed: every open
//        request fails with the reason, OnClosed is called.
//   A client connects once: another connection is another client.
//
// The time limit (the target's TimeoutSeconds) covers the login (except while a question
// waits for the user) and every request: when requests are open and nothing came from ssh for
// that long, the connection ends with "Timed out after N seconds.".
//
// For a session's seam: Login/Quit, RealPath, ListFolder, Stat/LStat, MakeFolder, RemoveFile,
// RemoveFolder, Rename (with or without replacing), SetMode, SetModifiedTime, Download and
// Upload with offsets (SftpTransfer.h), and the raw handle requests the transfers use.
class TSftpClient {
public:
    using TDone = std::function<void(const TSftpResult&)>;
    using TPathDone = std::function<void(const TSftpResult&, std::string path)>;
    using TAttributesDone = std::function<void(const TSftpResult&, const TAttributes&)>;
    using THandleDone = std::function<void(const TSftpResult&, std::string handle)>;
    // The data is valid only during the call. At the end of the file: EndOfFile.
    using TDataDone = std::function<void(const TSftpResult&, std::string_view data)>;
    // After the last name: EndOfFile.
    using TNamesDone = std::function<void(const TSftpResult&, std::vector<TName> names)>;
    using TListDone =
        std::function<void(const TSftpResult&, TFTPListItems items, const TSftpListReport&)>;

    enum class TState : std::uint8_t { Idle, Connecting, Ready, Closing, Closed };

    // Without limits@openssh.com, reads and writes move this much per request.
    static constexpr std::size_t kDefaultBlockSize = 32 * 1024;

    explicit TSftpClient(MessageQueue& queue);
    TSftpClient(const TSftpClient&) = delete;
    TSftpClient& operator=(const TSftpClient&) = delete;
    // Drops open requests unanswered and ends ssh.
    ~TSftpClient();

    MessageQueue& Queue() { return m_queue; }
    TState State() const { return m_state; }
    bool Ready() const { return m_state == TState::Ready; }
    // The login folder (REALPATH of "."), once Ready.
    const std::string& Home() const { return m_home; }
    const TSftpServerInfo& ServerInfo() const { return m_info; }
    bool HasExtension(std::string_view name) const;
    // ssh's recent messages (not its debug lines), for a failure's explanation.
    std::string RecentSshText() const;
    // Bytes per READ and per WRITE request: the server's limits, at most what fits a packet.
    std::size_t ReadBlockSize() const;
    std::size_t WriteBlockSize() const;
    // Expires with the client: objects that outlive a request hold it to know.
    std::weak_ptr<char> LifeToken() const { return m_life; }

    // The character set the server names files in (base/NameCharset.h): paths go out in it and
    // names come back as UTF-8; UTF-8, the default, passes them as they are. False for a name
    // iconv does not know.
    bool SetNameCharset(std::string_view name);

    // Called when the connection ended other than by Quit (after the open requests failed).
    std::function<void(const TSftpResult&)> OnClosed;
    // The speed limits of the transfers that start from now on, which other transfers may
    // share; null is none. Over its limit a transfer sends no further request until a pause
    // on the queue's timer is over.
    std::shared_ptr<TTokenBucket> DownloadLimit;
    std::shared_ptr<TTokenBucket> UploadLimit;

    // --- Connection ---
    void Login(TSftpLogin login, TDone done);
    // Closes ssh's input and waits (a few seconds at most) for it to end.
    void Quit(TDone done);
    // Ends the connection now: ssh is ended, open requests fail with "Aborted.".
    void Abort();

    // --- Requests on paths ---
    void RealPath(const std::string& path, TPathDone done);
    void ReadLink(const std::string& path, TPathDone done);
    void Stat(const std::string& path, TAttributesDone done);
    void LStat(const std::string& path, TAttributesDone done);
    void SetStat(const std::string& path, const TAttributes& attributes, TDone done);
    void SetMode(const std::string& path, std::uint32_t mode, TDone done);
    // Sets the modification (and access) time, seconds since 1970.
    void SetModifiedTime(const std::string& path, std::int64_t time, TDone done);
    void MakeFolder(const std::string& path, TDone done);
    void RemoveFile(const std::string& path, TDone done);
    void RemoveFolder(const std::string& path, TDone done);
    // Without replace an existing target is refused (Exists); with it, the target is replaced
    // (atomically with posix-rename@openssh.com where offered).
    void Rename(const std::string& from, const std::string& to, bool replace, TDone done);
    // The folder's entries as listing items (SftpListing.h); links are classified as folder
    // or file with a STAT of each.
    void ListFolder(const std::string& path, TListDone done);

    // --- Transfers (SftpTransfer.h): pipelined, from an offset (resume) ---
    // With a sink or a source the bytes go there or come from there instead of the local file.
    std::shared_ptr<TSftpTransfer> Download(const std::string& remotePath,
                                            const std::string& localPath, std::int64_t offset,
                                            TTransferCallbacks callbacks,
                                            TByteSink* sink = nullptr);
    std::shared_ptr<TSftpTransfer> Upload(const std::string& localPath,
                                          const std::string& remotePath, std::int64_t offset,
                                          TTransferCallbacks callbacks,
                                          TByteSource* source = nullptr);

    // --- Requests on handles ---
    void Open(const std::string& path, std::uint32_t flags, const TAttributes& attributes,
              THandleDone done);
    void OpenFolder(const std::string& path, THandleDone done);
    void ReadFolder(const std::string& handle, TNamesDone done);
    void Read(const std::string& handle, std::uint64_t offset, std::uint32_t length,
              TDataDone done);
    void Write(const std::string& handle, std::uint64_t offset, std::string_view data, TDone done);
    void FStat(const std::string& handle, TAttributesDone done);
    void Close(const std::string& handle, TDone done);

private:
    // A reply to one request: the packet's type and its body after the id, or the failure
    // that ended the connection first.
    struct TReply {
        const TSftpResult* Failure = nullptr;
        TPacketType Type = TPacketType::Status;
        TPacketReader Body{std::string_view()};
        // The reply broke the protocol: the connection ends after the handler.
        bool Broken = false;
        std::string BrokenText;
    };
    using TReplyHandler = std::function<void(TReply&)>;

    static TSftpResult StatusOf(TReply& reply);
    static TSftpResult UnexpectedReply(TReply& reply);
    static TSftpResult FailureOf(TReply& reply);
    static TSftpResult FailureOf(TReply& reply, std::string malformedText);
    static TReplyHandler HandleReply(THandleDone done);
    static TSftpResult Malformed(TReply& reply, std::string text);

    // Starts a packet of the type with a fresh id and registers the handler; the caller adds
    // the fields. The packet goes out when the queue next runs.
    TPacketBuilder Request(TPacketType type, TReplyHandler handler);
    // Refuses a request when the connection is not ready: the callback gets the reason, posted.
    bool Refuse(const std::function<void(const TSftpResult&)>& fail);
    // The path in the server's set; nothing, with the failure posted to fail, when it cannot be
    // written in it.
    std::optional<std::string> Wire(const std::string& path,
                                    const std::function<void(const TSftpResult&)>& fail);
    std::string Shown(std::string_view serverName);
    void PathRequest(TPacketType type, const std::string& path, TDone done);
    void AttributesRequest(TPacketType type, std::string_view pathOrHandle, TAttributesDone done);
    void NameRequest(TPacketType type, const std::string& path, TPathDone done);
    void PlainRename(const std::string& from, const std::string& to, TDone done);

    void ReceiveVersion(TPacketReader& body);
    void AskLimits();
    void AskHome();
    void Ask(const TSshQuestion& question, TAskpassServer::TAnswer answer);

    std::function<void(const std::error_code&)> AfterWait(bool& armed, void (TSftpClient::*next)());
    void ArmStdio(asio::posix::descriptor_base::wait_type type, bool& armed,
                  void (TSftpClient::*ready)());
    void ArmRead();
    void OnReadable();
    bool Dispatch(std::string_view packet);
    void ScheduleFlush();
    void Flush();
    void ArmWrite();
    void CompactOutput();
    void NoteActivity();
    void Watch();
    void OnWatchdog();
    void PeerEnded();
    TSftpResult EndResult() const;
    void Fail(const TSftpResult& result);
    void Shutdown();
    void Post(std::function<void()> call);

    MessageQueue& m_queue;
    TState m_state = TState::Idle;
    TSftpLogin m_login;
    TDone m_loginDone;
    std::unique_ptr<TSshProcess> m_process;
    std::unique_ptr<TAskpassServer> m_askpass;
    asio::posix::stream_descriptor m_stdio;
    asio::steady_timer m_watchdog;
    TPacketStream m_in;
    std::string m_out;
    std::size_t m_outSent = 0;
    bool m_readArmed = false;
    bool m_writeArmed = false;
    bool m_flushPosted = false;
    bool m_watchdogArmed = false;
    std::unordered_map<std::uint32_t, TReplyHandler> m_pending;
    std::uint32_t m_nextId = 1;
    std::chrono::steady_clock::time_point m_lastActivity;
    int m_questionsOpen = 0;
    bool m_passwordGiven = false;
    bool m_cancelled = false;
    bool m_quitting = false;
    std::string m_home;
    std::optional<TNameCharset> m_charset; // none for UTF-8
    TSftpServerInfo m_info;
    std::shared_ptr<char> m_life = std::make_shared<char>();
};

} // namespace qx::sftp
