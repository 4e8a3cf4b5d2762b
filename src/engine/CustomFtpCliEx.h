// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/NameCharset.h"
#include "base/TokenBucket.h"
#include "engine/AsciiLineEnds.h"
#include "engine/FtpTypes.h"
#include "engine/LocalFileStream.h"
#include "engine/WSocket.h"
#include "platform/MessageQueue.h"

#include <asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// One client-side FTP session: a control connection for commands and replies and a data
// connection for listings and files. Every request returns at once after it has sent its first
// command (or started a name lookup); its end is reported once through OnRequestDone, posted
// to the owning thread's queue, never from inside the call that issued it.
//
// The control connection as a state machine (State()):
//
//   Ready/InternalReady --Open--> DnsLookup --resolved--> WaitingBanner --220--> Connected
//        ^    |                                                                     |
//        |    +--command sent--> WaitingResponse --final reply--> (FNext, hook)     |
//        |                          |  125/150: data step waits for the data        |
//        |                          |  connection and the closing reply, in any     |
//        |                          |  order (Retr/List/Nlst, Stor/Appe)            |
//        +------------- completion (RequestDone posted) <---------------------------+
//
// A multi-step request (Connect, Get, Put, Dir, ...) runs its steps through one driver that
// continues after each step that succeeds and ends the request at the first failure.
// Everything runs on the thread that owns the MessageQueue; there are no locks.
class TCustomFtpCliEx {
public:
    using TFtpDisplay = std::function<void(TCustomFtpCliEx&, std::string& msg)>;
    using TFtpCommand = std::function<void(TCustomFtpCliEx&, std::string& cmd)>;
    using TNotifyEvent = std::function<void(TCustomFtpCliEx&)>;
    using TSessionConnected = std::function<void(TCustomFtpCliEx&, std::uint16_t error)>;
    using TSessionClosed = std::function<void(TCustomFtpCliEx&, std::uint16_t error)>;
    using TFtpRequestDone =
        std::function<void(TCustomFtpCliEx&, TFtpRequest rqType, std::uint16_t error)>;
    using TFtpProgress = std::function<void(TCustomFtpCliEx&, std::int64_t count, bool& abort)>;
    using TFtpReadyToTransmit = std::function<void(TCustomFtpCliEx&, bool& cancel)>;
    using TBgExceptionEvent =
        std::function<void(TCustomFtpCliEx&, const std::exception&, bool& canClose)>;
    using TFTPTransferStateEvent = std::function<void(
        TCustomFtpCliEx&, std::int64_t position, std::int64_t transfered, std::int64_t elapsed)>;
    using TFTPConnectStateEvent = std::function<void(TCustomFtpCliEx&, TFTPConnectState state)>;

    // The sizes come from the transfer benchmark. A download reads this much per data
    // notification, straight into the buffer it writes the local file from once the buffer is
    // full (binary downloads), so the file gets large writes; the receiving side tells the
    // sender at once, every few reads, that the window opened again.
    static constexpr std::size_t kReceiveBlockSize = 32 * 1024;
    static constexpr std::size_t kWriteBufferSize = 1024 * 1024;
    static constexpr std::size_t kQuickAckBytes = 128 * 1024;
    // A binary download into a regular file moves up to this much per data notification from
    // the connection through a pipe into the file, without a copy through our memory. (Into a
    // device such as /dev/null the plain reads above are faster.)
    static constexpr std::size_t kSpliceBlockSize = 1024 * 1024;
    // An upload reads and sends one block for each notification that all data has gone out.
    // (Handing the file to the system with sendfile measured slower on loopback: the server
    // then does the work of both ends.)
    static constexpr std::size_t kSendBlockSize = 256 * 1024;
    // The control connection's receive buffer; a reply line holds at most one byte less.
    static constexpr std::size_t kReceiveBufferSize = 4096;
    // A server cannot make the engine keep more lines than this of one reply.
    static constexpr std::size_t kMaxReplyLines = 512;
    // A reply longer than this (a multi-line reply that never ends) ends the connection.
    static constexpr std::size_t kMaxReplyLineCount = 10000;
    static constexpr std::size_t kMaxReplyBytes = 1024 * 1024;

    explicit TCustomFtpCliEx(MessageQueue& queue);
    TCustomFtpCliEx(const TCustomFtpCliEx&) = delete;
    TCustomFtpCliEx& operator=(const TCustomFtpCliEx&) = delete;
    virtual ~TCustomFtpCliEx();

    // --- Published properties ---
    std::string HostName;
    std::string Port = "ftp";
    std::string UserName;
    std::string PassWord;
    std::string HostDirName;
    std::string HostFileName;
    std::string LocalFileName;
    bool DisplayFileFlag = false;
    // Linux has no sharing modes for open files; kept so that callers can set it.
    TFtpShareMode ShareMode = TFtpShareMode::ftpShareDenyWrite;
    TFtpOptions Options = ftpAcceptLF;
    bool Passive = false;
    // Passive data connections are asked for with EPSV first (always over IPv6); a server that
    // refuses it gets PASV for the rest of the connection.
    bool ExtendedPassive = true;
    std::int64_t ResumeAt = 0;
    std::uint8_t DisplayFileStyle = 0;
    // Seconds a request may wait on the network before it fails with "421 Timed out after %d
    // seconds." and the connection is closed; 0 waits for ever. The name lookup, the connect
    // with the greeting, and each whole reply must come within it (lines of a reply that does
    // not end do not count as progress); during a transfer, every block of data moved starts
    // it again.
    int InactivityLimit = 0;
    // The size of the file a binary download must end with (from SIZE), -1 when unknown; a
    // download that ends with another size fails. Reset after every transfer.
    std::int64_t ExpectedSize = -1;
    // A download (RETR) gives its bytes to the sink, an upload takes them from the source,
    // instead of LocalFileName (which then only names them in messages). With a sink, ResumeAt
    // is the offset to ask for with REST, and a refused REST fails the download: the other end
    // already holds the bytes before it. The caller keeps them alive and clears them after.
    TByteSink* DownloadSink = nullptr;
    TByteSource* UploadSource = nullptr;
    // List and Dir ask for the machine listing (MLSD) instead of LIST.
    bool MachineListing = false;
    // The speed limits of file transfers (RETR; STOR and APPE), which other transfers may
    // share; null is no limit. A transfer takes the bucket it starts with.
    std::shared_ptr<TTokenBucket> DownloadLimit;
    std::shared_ptr<TTokenBucket> UploadLimit;

    // --- TLS ---
    TFtpTlsMode TlsMode = TFtpTlsMode::None;
    // SHA-256 fingerprints of certificates that are trusted although they cannot be verified
    // (stored by the user, or pinned on the command line).
    std::vector<std::string> TlsTrustedFingerprints;
    // Every certificate is taken (the command line's --insecure); the connection is still
    // encrypted.
    bool TlsAcceptAnyCertificate = false;
    // The newest TLS version offered: 0 the newest there is, 12 TLS 1.2.
    int TlsMaxVersion = 0;

    // --- Proxy ---
    // The control connection and the passive data connections go through this proxy's tunnels
    // (TLS runs inside them); an active data connection is refused.
    TProxySettings Proxy;

    // --- File names ---
    // The character set the server names files in (base/NameCharset.h): commands go out in it
    // (but the login, which goes as typed) and replies and listings come back as UTF-8. UTF-8,
    // the default, passes every byte as it is. False for a name iconv does not know.
    bool SetNameCharset(std::string_view name);
    // The converter of a set other than UTF-8, null for UTF-8.
    TNameCharset* NameCharset() { return m_charset ? &*m_charset : nullptr; }

    bool Binary() const { return m_typeChar == 'I'; }
    // Whether this server named a download's size in its reply to RETR ("150 ... (1234
    // bytes)") in this session: a fresh download can then learn its size from that reply.
    bool NamesDownloadSize() const { return m_namesDownloadSize; }
    void SetBinary(bool binary) { m_typeChar = binary ? 'I' : 'A'; }

    // --- State ---
    TFtpState State() const { return m_state; }
    bool Connected() const { return m_connected; }
    int StatusCode() const { return m_statusCode; }
    const std::string& LastResponse() const { return m_lastResponse; }
    // Every line of the reply to the last single command (a multi-line reply such as FEAT's),
    // at most kMaxReplyLines of them.
    const std::vector<std::string>& ReplyLines() const { return m_replyLines; }
    TFtpRequest RequestType() const { return m_requestType; }
    int RequestResult() const { return m_requestResult; }
    const std::string& DnsResult() const { return m_dnsResult; }
    const std::string& DirResult() const { return m_dirResult; }
    std::int64_t SizeResult() const { return m_sizeResult; }
    std::int64_t ByteCount() const { return m_byteCount; }
    const std::string& ErrorMessage() const { return m_errorMessage; }
    TFtpStep LastStep() const { return m_lastStep; }
    // A request has started and not completed yet.
    bool RequestPending() const { return !m_requestDoneFlag; }
    // The last request ended because the inactivity limit ran out.
    bool TimedOut() const { return m_timedOut; }
    // The failure of the last request was found by the engine itself (a time-out, a local
    // file, a refused command, the network), not told by a reply line of the server.
    bool FailureMadeByEngine() const { return m_madeUpFailure; }
    // Every completion is numbered as it is posted; inside OnRequestDone, DeliveredCompletion()
    // is the number of the one being delivered, so a caller can tell the completion of the
    // request it issued from one posted before (as by an Abort).
    std::uint64_t CompletionsPosted() const { return m_completionsPosted; }
    std::uint64_t DeliveredCompletion() const { return m_deliveredCompletion; }

    // The control connection runs TLS; data connections are protected too when DataProtected().
    bool TlsActive() const { return m_controlSocket->Tls() != nullptr; }
    bool DataProtected() const { return m_protectData; }
    // The certificate of the server (of the last TLS handshake of the control connection).
    const TTlsCertificateInfo& PeerCertificate() const { return m_peerCertificate; }
    // The last Open failed because the certificate could not be verified and is not trusted;
    // PeerCertificate() tells which it was. Adding its fingerprint to TlsTrustedFingerprints
    // lets the next Open take it.
    bool CertificateRejected() const { return m_certificateRejected; }
    // The last Open failed because the server refused what the TLS setting requires (AUTH TLS
    // or PROT P): trying again gives the same answer.
    bool TlsRefused() const { return m_tlsRefused; }
    // The data connections of the last transfer resumed the control connection's TLS session.
    bool DataSessionReused() const { return m_dataSessionReused; }

    TWSocket& ControlSocket() { return *m_controlSocket; }
    TWSocket& DataSocket() { return *m_dataSocket; }

    // --- Events ---
    TFtpDisplay OnDisplay;
    TFtpDisplay OnDisplayFile;
    TFtpCommand OnCommand;
    TNotifyEvent OnResponse;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TNotifyEvent OnStateChange;
    TFtpRequestDone OnRequestDone;
    TFtpProgress OnProgress;
    TFtpReadyToTransmit OnReadyToTransmit;
    TBgExceptionEvent OnBgException;
    TFTPTransferStateEvent OnTransferState;
    TFTPConnectStateEvent OnConnectState;
    // Notes of the engine's own for the session log (how TLS was set up, or why not).
    TFtpDisplay OnNote;
    // How the connection proceeds where OnConnectState has no state for it (the proxy).
    TFtpDisplay OnConnectNote;
    // When assigned, refused requests are reported here instead of raising FtpException.
    TFtpDisplay OnError;

    // --- Requests ---
    virtual void Open();
    virtual void User();
    virtual void Pass();
    virtual void Connect();
    virtual void Quit();
    // Never refused: closes both connections; a pending request completes with 426.
    virtual void Abort();
    virtual void Get();
    virtual void Retr();
    virtual void SessionGet();
    virtual void Put();
    virtual void Stor();
    virtual void SessionPut();
    virtual void Append();
    virtual void Appe();
    virtual void SessionAppend();
    virtual void List();
    virtual void Dir();
    virtual void Nlst();
    virtual void NameList();
    virtual void SetType();
    virtual void SetTypeBinary();
    virtual void SetTypeAscii();
    virtual void Pwd();
    virtual void Cwd();
    virtual void CDup();
    virtual void SessionDir();
    virtual void SessionNameList();
    virtual void Syst();
    virtual void SessionSyst();
    virtual void Size();
    virtual void SessionSize();
    virtual void Mkd();
    virtual void SessionMkd();
    virtual void Rmd();
    virtual void SessionRmd();
    virtual void Dele();
    virtual void SessionDele();
    virtual void RenameFrom();
    virtual void RenameTo();
    virtual void RenamePair();
    virtual void SessionRename();
    virtual void Quote();
    virtual void SessionQuote();
    virtual void Rest();
    virtual void ResumeGet();
    virtual void SessionResumeGet();
    // Prepares the data connection: PASV, or a listening socket announced with PORT.
    virtual void PortRequest();

protected:
    using Handler = void (TCustomFtpCliEx::*)();

    virtual void SendCommand(std::string command);
    virtual void TriggerDisplay(const std::string& line);
    virtual void TriggerReadyToTransmit(bool& cancel);
    virtual void TriggerDisplayFile(std::string& data);
    // Reports a refused request: OnError, else FtpException.
    virtual void HandleError(const std::string& message);
    // Raises OnProgress; true when the handler asked to abort.
    virtual bool TriggerProgress();
    virtual void TransferStats();
    virtual void HandleBackgroundException(const std::exception& error);

    MessageQueue& Queue() { return m_queue; }
    // Replaces the outcome texts after a failure the engine itself decides (a time-out).
    void OverrideFailure(int statusCode, const std::string& errorMessage) {
        m_statusCode = statusCode;
        m_errorMessage = errorMessage;
    }
    std::int64_t NowMs() const;

private:
    // Control connection and request machinery
    void SetState(TFtpState state);
    bool CheckReady();
    bool CheckReadyAndConnected();
    static std::string ExceptionClassName(const std::exception& error);
    // "verb value" for a setting the command carries; an empty setting is an error
    // (missingText) and sends nothing.
    void ExecWithSetting(TFtpStep step, TFtpRequest request, const char* verb,
                         const std::string& value, const char* missingText,
                         std::initializer_list<int> okCodes);
    void ExecAsync(TFtpRequest request, std::string command, std::initializer_list<int> okCodes,
                   Handler doneHook);
    void NextExecAsync();
    void InterpretResponse();
    void SetErrorMessage();
    void TriggerRequestDone(int error);
    void PostRequestDone(std::uint16_t error);
    void HighLevelAsync(TFtpRequest request, TFtpSteps steps);
    void NextHighLevelAsync();
    bool RunStep(TFtpStep step);
    void FailRefusedStep(const std::string& message);
    void QuitHook();
    void RestHook();
    // A request that does not run as a step of a multi-step request starts afresh.
    void BeginRequest(TFtpRequest request);
    void RefuseUnsafeCommand();
    void RefuseCommand(int code, const std::string& text);
    // The command in the server's character set; nothing when a name cannot be written in it.
    std::optional<std::string> ServerBytes(const std::string& command);
    void FailMadeUp(int code, const std::string& text);

    // Inactivity limit
    bool WaitingOnNetwork() const;
    std::uint64_t ActivityCount() const;
    void StartWatchdog();
    void WatchdogTick();
    void TimeOut();
    // Fails the pending request with the text (421) and closes both connections.
    void DropConnection(const std::string& text);
    // Counts a reply line against the bounds of one reply; false when the connection was
    // dropped for a reply that is too long.
    bool CountReplyLine(std::string_view line);

    void ControlSocketDnsLookupDone(std::uint16_t error);
    // Ends the Open request after the socket refused to start a connect.
    void FailConnect(const std::exception& error);
    void LookUpProxy();
    void ConnectControl();
    void ConnectNote(const std::string& text);
    std::string ConnectFailureReply(std::uint16_t error) const;
    void ControlSocketSessionConnected(std::uint16_t error);
    void ControlSocketDataAvailable();
    void ControlSocketSessionClosed(std::uint16_t error);
    void HandleGreetingLine();
    void CompleteOpen();

    // TLS of the control connection (see FtpTls.cpp)
    void StartControlTls();
    void ControlTlsHandshakeDone(std::uint16_t error);
    bool TrustCertificate();
    void SendSecurityCommand(const std::string& command, Handler next);
    void NextAuthTls();
    void NextPbsz();
    void NextProt();
    void FailSecurity(int code, const std::string& text);
    void Note(const std::string& text);
    // Protects a data connection that has just been made (nothing when data goes in clear).
    void ProtectDataConnection();
    void DataTlsHandshakeDone(std::uint16_t error);
    void KeepTicket(TTlsSession session);
    void DispatchLine();

    // Data connection (see FtpDataTransfer.cpp)
    std::optional<std::uint16_t> PassivePort() const;
    void ExtendedPassiveHook();
    void FailDataStep(int code, const std::string& response, bool asErrorMessage);
    // The data steps' reply handlers: true for a final reply (its code in StatusCode).
    bool TakeFinalReply();
    void FailDataCommand();
    void FailClosingReply(const char* displayLine);
    void TakeClosingReply(std::initializer_list<int> accepted, bool TCustomFtpCliEx::*dataClosed,
                          const char* failureLine);
    void CompleteOnceBothEnded(bool dataClosed);
    bool ConnectPassiveData(int failureCode, void (TCustomFtpCliEx::*connected)(std::uint16_t));
    // A data step starts with no final reply, no bytes moved and no error.
    void ResetDataStep();
    void DataGetAsync(TFtpRequest request, const char* command);
    // The connection the listening data socket was waiting for, which closes the listener; -1
    // when there is none.
    int AcceptDataConnection();
    void DataSocketGetSessionAvailable();
    bool StartDataConnection(std::uint16_t error);
    void DataSocketGetSessionConnected(std::uint16_t error);
    void DataSocketGetDataAvailable();
    void DataSocketGetSessionClosed(std::uint16_t error);
    void NextGetAsync();
    void NextGetAsync2();
    void DataPutAsync(TFtpRequest request, bool append);
    void DataSocketPutSessionAvailable();
    void DataSocketPutSessionConnected(std::uint16_t error);
    void DataSocketPutDataSent(std::uint16_t error);
    void DataSocketPutSessionClosed(std::uint16_t error);
    void NextPutAsync();
    void NextPutAsync2();
    void PostStartSending();
    void StartSending();
    void CompleteTransfer();
    void SetLocalError(int code, const std::string& text);
    bool CloseLocalFile();
    // Writes the received bytes still held in the buffer; false when writing failed.
    bool FlushReceived();
    void CloseTransferFile();
    bool PrepareSplice();
    void ReceiveSpliced(std::size_t allowed);
    void AcknowledgeNowAndThen(std::size_t received);
    void FailLocalWrite();
    bool OpenDownloadFile();
    bool PutPartialInPlace();
    bool CheckExpectedSize();
    void SendNextBlock();
    void ReportTransferState();
    void DeliverDisplayFile(const char* data, std::size_t length);
    bool AsciiConversion() const;
    void SendCommandLine(const std::string& verb);

    // Speed limit (see FtpTransferLimit.cpp)
    // Sets the bucket of the transfer that starts, for file transfers only.
    void TakeTransferLimit(const std::shared_ptr<TTokenBucket>& limit);
    // The bytes the transfer may move now, at most `wanted`; 0 when it has to wait, and then
    // it pauses and goes on by itself.
    std::size_t AllowedBytes(std::size_t wanted);
    void GiveBackUnused(std::size_t allowed, std::ptrdiff_t moved);
    void PauseTransfer(std::chrono::milliseconds delay);

    MessageQueue& m_queue;
    // Before the sockets: their TLS refers to it.
    std::unique_ptr<TTlsContext> m_tlsContext;
    std::unique_ptr<TWSocket> m_controlSocket;
    std::unique_ptr<TWSocket> m_dataSocket;
    std::shared_ptr<char> m_life = std::make_shared<char>();

    char m_typeChar = 'I';
    std::optional<TNameCharset> m_charset; // none for UTF-8
    TFtpState m_state = TFtpState::ftpReady;
    bool m_connected = false;
    int m_statusCode = 0;
    std::string m_lastResponse;
    std::vector<std::string> m_replyLines;
    TFtpRequest m_requestType = TFtpRequest::ftpNone;
    int m_requestResult = 0;
    std::string m_dnsResult;
    std::string m_dirResult;
    std::int64_t m_sizeResult = 0;
    std::string m_errorMessage;

    std::array<char, kReceiveBufferSize> m_receiveBuffer{};
    std::size_t m_receiveLength = 0;
    std::uint64_t m_completedReplies = 0; // final reply lines received, for the watchdog
    std::size_t m_replyLineCount = 0;     // lines of the reply under way
    std::size_t m_replyByteCount = 0;
    std::vector<int> m_okResponses;
    Handler m_next = nullptr;
    Handler m_doneAsync = nullptr;
    Handler m_nextRequest = nullptr;
    TFtpSteps m_pendingSteps;
    TFtpStep m_lastStep = TFtpStep::None;
    bool m_highLevel = false;
    int m_stepsResult = 0;
    std::string m_savedReply;
    std::string m_savedErrorMessage;
    int m_savedCode = -1;
    bool m_requestDoneFlag = true;
    bool m_timedOut = false;
    bool m_madeUpFailure = false;
    std::uint64_t m_completionsPosted = 0;
    std::uint64_t m_deliveredCompletion = 0;
    asio::steady_timer m_watchdog;
    bool m_watchdogRunning = false;
    std::uint64_t m_watchedActivity = 0;
    std::int64_t m_activitySince = 0;
    bool m_closingControl = false;    // the engine itself closes the control connection
    std::size_t m_addressIndex = 0;   // of the control socket's lookup result being tried
    bool m_tryingNextAddress = false; // a connect failed; the next address is on its way
    // Through a proxy: the name or address the tunnels lead to, and whether the lookup running
    // is the server's (a SOCKS5 proxy that takes addresses) before the proxy's.
    std::string m_tunnelHost;
    bool m_lookingUpServer = false;
    bool m_extendedPassiveRefused = false; // the server refused EPSV in this connection
    std::string* m_refusalSink = nullptr;  // where a step run by the driver puts its refusal

    // Data connection and transfers
    std::string m_pasvResponse;
    std::string m_dataCommand;
    bool m_appendFlag = false;
    LocalFileStream m_localFile;
    // A download that replaces an existing file writes beside it and takes its place at the
    // end: the file to replace, empty when the download writes straight into its file.
    std::string m_replacedFile;
    std::int64_t m_expectedSize = -1; // of the running download
    bool m_namesDownloadSize = false;
    std::unique_ptr<char[]> m_receiveBlock; // kWriteBufferSize bytes
    std::size_t m_receivedHeld = 0;         // received bytes in it not written yet
    std::size_t m_sinceQuickAck = 0;
    UniqueFd m_pipeRead; // the pipe of spliced downloads
    UniqueFd m_pipeWrite;
    bool m_splice = false; // the download under way goes through the pipe
    std::unique_ptr<char[]> m_sendBlock;
    std::int64_t m_byteCount = 0;
    std::int64_t m_startTime = 0;
    std::int64_t m_stopTime = 0;
    std::int64_t m_lastReportTick = 0;
    std::uint16_t m_dataError = 0;
    int m_localError = 0; // a local failure that makes the transfer fail whatever the server says
    std::string m_localErrorText;
    bool m_finalReply = false;
    bool m_downloadClosed = false;
    bool m_uploadClosed = false;
    bool m_uploadConnected = false;
    bool m_uploadAccepted = false;
    bool m_eof = false;
    CrLfToLf m_downloadLineEnds;
    LfToCrLf m_uploadLineEnds;
    std::string m_convertBuffer;
    std::string m_displayFileRest;

    // TLS
    // Sessions (tickets) the server handed out and no data connection has resumed yet, the
    // newest last. A TLS 1.3 server may take each ticket once: every data connection resumes
    // a fresh one while there is one, and hands out the next.
    std::deque<TTlsSession> m_tlsTickets;
    TTlsSession m_lastTicket;
    TTlsCertificateInfo m_peerCertificate;
    bool m_certificateRejected = false;
    bool m_tlsRefused = false;
    bool m_protectData = false;
    bool m_dataSessionReused = false;
    bool m_uploading = false;

    // Speed limit
    std::shared_ptr<TTokenBucket> m_limit; // of the transfer under way
    asio::steady_timer m_throttle;
    bool m_throttled = false;
    std::uint64_t m_throttleRound = 0;  // numbers each transfer, so a late timer does nothing
    std::uint64_t m_throttlePauses = 0; // our own pauses count as activity for the watchdog
};

} // namespace qx
