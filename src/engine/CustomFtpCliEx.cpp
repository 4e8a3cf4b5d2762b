// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CustomFtpCliEx.h"

#include "engine/SocketAddress.h"

#include "engine/FtpReplies.h"
#include "engine/SocketErrors.h"

#include "base/AsciiText.h"
#include "base/Translatable.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>

namespace qx {

namespace {

bool isDottedAddress(const std::string& text) {
    return IsNumericAddress(text);
}

// The made-up reply of a failed name lookup or connect.
std::string networkFailureReply(int error, const std::string& lookupText) {
    if (error >= 11001 && error <= 11004 && !lookupText.empty()) {
        return "500 " + lookupText + " (name lookup failed)";
    }
    return "500 " + SocketErrorText(error);
}

// No command may carry a line end or NUL: the server would take what follows for a command
// of its own.
bool holdsUnsafeCharacter(std::string_view command) {
    return command.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool verbIs(std::string_view command, std::string_view verb) {
    return AsciiStartsWithNoCase(command, verb) &&
           (command.size() == verb.size() || command[verb.size()] == ' ');
}

constexpr const char* kLineTooLong =
    "421 Reply line too long: more than 4095 bytes without a line end; the connection is closed.";
static_assert(TCustomFtpCliEx::kReceiveBufferSize == 4096);

// The request that runs each step, in the order of TFtpStep, which is the driver's order.
using StepRequest = void (TCustomFtpCliEx::*)();
constexpr StepRequest kStepRequests[] = {
    &TCustomFtpCliEx::Open,        &TCustomFtpCliEx::User,       &TCustomFtpCliEx::Pass,
    &TCustomFtpCliEx::Cwd,         &TCustomFtpCliEx::CDup,       &TCustomFtpCliEx::SetType,
    &TCustomFtpCliEx::PortRequest, &TCustomFtpCliEx::Rest,       &TCustomFtpCliEx::Retr,
    &TCustomFtpCliEx::Stor,        &TCustomFtpCliEx::Appe,       &TCustomFtpCliEx::List,
    &TCustomFtpCliEx::Nlst,        &TCustomFtpCliEx::Syst,       &TCustomFtpCliEx::Mkd,
    &TCustomFtpCliEx::Rmd,         &TCustomFtpCliEx::RenameFrom, &TCustomFtpCliEx::RenameTo,
    &TCustomFtpCliEx::Size,        &TCustomFtpCliEx::Dele,       &TCustomFtpCliEx::Pwd,
    &TCustomFtpCliEx::Quote,       &TCustomFtpCliEx::Quit,
};
constexpr std::size_t kStepCount = std::size(kStepRequests);
static_assert(kStepCount == static_cast<std::size_t>(TFtpStep::None));

} // namespace

TCustomFtpCliEx::TCustomFtpCliEx(MessageQueue& queue)
    : m_queue(queue), m_controlSocket(std::make_unique<TWSocket>(queue)),
      m_dataSocket(std::make_unique<TWSocket>(queue)), m_watchdog(queue.context()),
      m_throttle(queue.context()) {
    TWSocket& control = *m_controlSocket;
    control.OnDnsLookupDone = [this](TWSocket&, std::uint16_t error) {
        ControlSocketDnsLookupDone(error);
    };
    control.OnSessionConnected = [this](TWSocket&, std::uint16_t error) {
        ControlSocketSessionConnected(error);
    };
    control.OnDataAvailable = [this](TWSocket&, std::uint16_t) { ControlSocketDataAvailable(); };
    control.OnSessionClosed = [this](TWSocket&, std::uint16_t error) {
        ControlSocketSessionClosed(error);
    };
    const auto forward = [this](TWSocket&, const std::exception& error, bool& canClose) {
        canClose = false; // the engine's own handling closes what must be closed
        HandleBackgroundException(error);
    };
    control.OnBgException = forward;
    m_dataSocket->OnBgException = forward;
}

TCustomFtpCliEx::~TCustomFtpCliEx() {
    m_life.reset();
    // Sockets close silently when destroyed; no handler of a half-destroyed engine may run.
    m_controlSocket->OnSessionClosed = nullptr;
    m_dataSocket->OnSessionClosed = nullptr;
}

std::int64_t TCustomFtpCliEx::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// --- Hooks -----------------------------------------------------------------------------------

void TCustomFtpCliEx::SendCommand(std::string command) {
    if (holdsUnsafeCharacter(command)) {
        RefuseUnsafeCommand();
        return;
    }
    if (OnCommand) {
        auto handler = OnCommand;
        handler(*this, command);
        if (holdsUnsafeCharacter(command)) {
            RefuseUnsafeCommand();
            return;
        }
    }
    std::optional<std::string> wire = ServerBytes(command);
    if (!wire) {
        RefuseCommand(501, "501 Refused to send a name that the server's character set (" +
                               m_charset->Name() + ") cannot write: " + command);
        return;
    }
    if (holdsUnsafeCharacter(*wire)) {
        RefuseUnsafeCommand();
        return;
    }
    TriggerDisplay("> " + command);
    m_replyLineCount = 0; // what came before belongs to no reply of this command
    m_replyByteCount = 0;
    if (m_controlSocket->State() == TSocketState::wsConnected) {
        *wire += "\r\n";
        m_controlSocket->SendText(*wire);
    }
}

bool TCustomFtpCliEx::SetNameCharset(std::string_view name) {
    return TNameCharset::Select(m_charset, name);
}

std::optional<std::string> TCustomFtpCliEx::ServerBytes(const std::string& command) {
    // The login goes as typed: servers check it before any talk of character sets.
    if (!m_charset || verbIs(command, "USER") || verbIs(command, "PASS") ||
        verbIs(command, "ACCT")) {
        return command;
    }
    return m_charset->FromUtf8(command);
}

void TCustomFtpCliEx::TriggerDisplay(const std::string& line) {
    if (OnDisplay) {
        std::string text = line;
        auto handler = OnDisplay;
        handler(*this, text);
    }
}

void TCustomFtpCliEx::TriggerReadyToTransmit(bool& cancel) {
    if (OnReadyToTransmit) {
        auto handler = OnReadyToTransmit;
        handler(*this, cancel);
    }
}

void TCustomFtpCliEx::TriggerDisplayFile(std::string& data) {
    if (OnDisplayFile) {
        auto handler = OnDisplayFile;
        handler(*this, data);
    }
}

void TCustomFtpCliEx::HandleError(const std::string& message) {
    if (m_refusalSink != nullptr) {
        if (m_refusalSink->empty()) {
            *m_refusalSink = message;
        }
        return;
    }
    if (OnError) {
        std::string text = message;
        auto handler = OnError;
        handler(*this, text);
        return;
    }
    throw FtpException(message);
}

void TCustomFtpCliEx::HandleBackgroundException(const std::exception& error) {
    bool canClose = true;
    if (OnBgException) {
        try {
            auto handler = OnBgException;
            handler(*this, error, canClose);
        } catch (...) {
        }
    }
    if (canClose) {
        try {
            Abort();
        } catch (...) {
        }
    }
}

// --- Request machinery -----------------------------------------------------------------------

void TCustomFtpCliEx::SetState(TFtpState state) {
    if (m_state == state) {
        return;
    }
    m_state = state;
    if (WaitingOnNetwork()) {
        // Each wait (the lookup, the connect and greeting, each command's reply) gets the whole
        // limit from its start.
        m_watchedActivity = ActivityCount();
        m_activitySince = NowMs();
        StartWatchdog();
    }
    if (OnStateChange) {
        auto handler = OnStateChange;
        handler(*this);
    }
}

bool TCustomFtpCliEx::CheckReady() {
    if (m_state != TFtpState::ftpReady && m_state != TFtpState::ftpInternalReady) {
        HandleError("FTP component not ready");
        return false;
    }
    return true;
}

bool TCustomFtpCliEx::CheckReadyAndConnected() {
    if (!CheckReady()) {
        return false;
    }
    if (!m_connected) {
        HandleError("FTP component not connected");
        return false;
    }
    return true;
}

std::string TCustomFtpCliEx::ExceptionClassName(const std::exception& error) {
    if (dynamic_cast<const ESocketException*>(&error) != nullptr) {
        return "ESocketException";
    }
    if (dynamic_cast<const FtpException*>(&error) != nullptr) {
        return "FtpException";
    }
    return "Exception";
}

void TCustomFtpCliEx::SetErrorMessage() {
    if (m_errorMessage.empty()) {
        m_errorMessage = m_lastResponse;
    }
}

void TCustomFtpCliEx::BeginRequest(TFtpRequest request) {
    if (m_highLevel) {
        return; // a step: the request it belongs to keeps its kind and its first error
    }
    m_requestType = request;
    // A single command starts with no error of its own: the text of an earlier failure must
    // not be reported for it.
    m_errorMessage.clear();
    m_timedOut = false;
    m_madeUpFailure = false;
}

void TCustomFtpCliEx::FailMadeUp(int code, const std::string& text) {
    m_errorMessage = text;
    m_statusCode = code;
    m_requestResult = code;
    m_madeUpFailure = true;
    TriggerDisplay("! " + text);
}

void TCustomFtpCliEx::RefuseUnsafeCommand() {
    RefuseCommand(500, QX_TRANSLATE_NOOP(
                           "qx::Core",
                           "500 Refused to send a command that holds a CR, LF or NUL character."));
}

void TCustomFtpCliEx::RefuseCommand(int code, const std::string& text) {
    m_next = nullptr;
    m_pendingSteps.clear();
    m_nextRequest = nullptr;
    FailMadeUp(code, text);
    CloseTransferFile();
    if (m_dataSocket->State() != TSocketState::wsClosed) {
        m_dataSocket->Close();
    }
    TriggerRequestDone(code);
}

// --- Inactivity limit ------------------------------------------------------------------------

bool TCustomFtpCliEx::WaitingOnNetwork() const {
    return m_state == TFtpState::ftpDnsLookup || m_state == TFtpState::ftpWaitingBanner ||
           m_state == TFtpState::ftpWaitingResponse;
}

// Progress is a whole reply or data that moved: a server that trickles the lines of a reply
// that never ends makes none.
std::uint64_t TCustomFtpCliEx::ActivityCount() const {
    return m_completedReplies + m_dataSocket->Activity() + m_throttlePauses;
}

// The watchdog looks at the sockets' activity a few times per limit instead of being re-armed
// for every block that moves.
void TCustomFtpCliEx::StartWatchdog() {
    if (InactivityLimit <= 0 || m_watchdogRunning) {
        return;
    }
    m_watchdogRunning = true;
    const std::int64_t period = std::max<std::int64_t>(50, std::int64_t{InactivityLimit} * 125);
    m_watchdog.expires_after(std::chrono::milliseconds(period));
    std::weak_ptr<char> life = m_life;
    m_watchdog.async_wait([this, life](const std::error_code& error) {
        if (life.expired() || error) {
            return;
        }
        m_watchdogRunning = false;
        try {
            WatchdogTick();
        } catch (const std::exception& e) {
            HandleBackgroundException(e);
        }
    });
}

void TCustomFtpCliEx::WatchdogTick() {
    if (InactivityLimit <= 0 || !WaitingOnNetwork()) {
        return; // started again by the next wait
    }
    const std::int64_t now = NowMs();
    const std::uint64_t activity = ActivityCount();
    if (activity != m_watchedActivity) {
        m_watchedActivity = activity;
        m_activitySince = now;
    } else if (now - m_activitySince >= std::int64_t{InactivityLimit} * 1000) {
        TimeOut();
        return;
    }
    StartWatchdog();
}

void TCustomFtpCliEx::TimeOut() {
    m_timedOut = true;
    DropConnection("421 Timed out after " + std::to_string(InactivityLimit) + " seconds.");
}

// The request fails as when the server had dropped the connection: a download keeps what
// arrived and is never taken for complete, and the session is over.
void TCustomFtpCliEx::DropConnection(const std::string& text) {
    const bool lookingUp = m_state == TFtpState::ftpDnsLookup;
    m_pendingSteps.clear();
    m_nextRequest = nullptr;
    m_next = nullptr;
    m_receiveLength = 0;
    FailMadeUp(421, text);
    CloseTransferFile();
    if (lookingUp) {
        m_controlSocket->CancelLookup();
    }
    if (m_dataSocket->State() != TSocketState::wsClosed) {
        m_dataSocket->Close();
    }
    if (m_controlSocket->State() != TSocketState::wsClosed) {
        m_closingControl = true;
        m_controlSocket->Close();
    }
    m_connected = false;
    if (!m_requestDoneFlag) {
        TriggerRequestDone(421);
    }
}

void TCustomFtpCliEx::ExecAsync(TFtpRequest request, std::string command,
                                std::initializer_list<int> okCodes, Handler doneHook) {
    if (!CheckReadyAndConnected()) {
        return;
    }
    BeginRequest(request);
    m_okResponses.assign(okCodes.begin(), okCodes.end());
    if (m_okResponses.size() > 16) {
        m_okResponses.resize(16);
    }
    m_requestDoneFlag = false;
    m_next = &TCustomFtpCliEx::NextExecAsync;
    m_doneAsync = doneHook;
    m_replyLines.clear();
    SetState(TFtpState::ftpWaitingResponse);
    SendCommand(std::move(command));
}

void TCustomFtpCliEx::NextExecAsync() {
    TriggerDisplay("< " + m_lastResponse);
    if (m_replyLines.size() < kMaxReplyLines) {
        m_replyLines.push_back(m_lastResponse);
    }
    if (!IsFinalReplyLine(m_lastResponse)) {
        return;
    }
    m_statusCode = ReplyCode(m_lastResponse);
    if (!m_okResponses.empty()) {
        const bool ok = std::find(m_okResponses.begin(), m_okResponses.end(), m_statusCode) !=
                        m_okResponses.end();
        m_requestResult = ok ? 0 : m_statusCode;
    } else {
        m_requestResult = m_statusCode < 500 ? 0 : m_statusCode;
    }
    if (m_requestResult != 0) {
        SetErrorMessage();
    }
    if (Passive && (m_statusCode == 227 || m_statusCode == 229)) {
        m_pasvResponse = m_lastResponse;
    }
    InterpretResponse();
    if (m_doneAsync != nullptr) {
        (this->*m_doneAsync)();
    } else {
        TriggerRequestDone(m_requestResult);
    }
}

void TCustomFtpCliEx::InterpretResponse() {
    if (m_requestResult != 0) {
        return;
    }
    switch (m_lastStep) {
    case TFtpStep::Size:
        m_sizeResult = SizeFromReply(m_lastResponse);
        break;
    case TFtpStep::Cwd:
    case TFtpStep::Mkd:
    case TFtpStep::Pwd:
    case TFtpStep::CDup:
        m_dirResult = QuotedDirName(m_lastResponse);
        break;
    case TFtpStep::Port:
        // A passive reply that names no usable port fails here, before a data command is
        // sent, and the session stays usable.
        if (Passive && (m_statusCode == 227 || m_statusCode == 229) && !PassivePort()) {
            m_lastResponse = "550 Invalid passive mode reply: " + m_lastResponse;
            m_statusCode = 550;
            m_requestResult = 550;
            SetErrorMessage();
        }
        break;
    default:
        break;
    }
}

void TCustomFtpCliEx::TriggerRequestDone(int error) {
    if (m_requestDoneFlag) {
        return;
    }
    m_requestDoneFlag = true;
    if (error == 0 && m_nextRequest != nullptr) {
        if (m_state != TFtpState::ftpAbort) {
            SetState(TFtpState::ftpInternalReady);
        }
        (this->*m_nextRequest)();
        return;
    }
    m_nextRequest = nullptr;
    if (error != 0 && m_requestResult == 0) {
        m_requestResult = error;
    }
    SetState(TFtpState::ftpReady);
    if (m_dataSocket->State() != TSocketState::wsClosed) {
        m_dataSocket->Close();
    }
    if (m_highLevel && m_savedCode >= 0) {
        m_lastResponse = m_savedReply;
        m_statusCode = m_savedCode;
    }
    m_highLevel = false;
    PostRequestDone(static_cast<std::uint16_t>(error));
}

void TCustomFtpCliEx::PostRequestDone(std::uint16_t error) {
    std::weak_ptr<char> life = m_life;
    const std::uint64_t serial = ++m_completionsPosted;
    m_queue.post([this, life, error, serial] {
        if (life.expired()) {
            return;
        }
        m_deliveredCompletion = serial;
        try {
            if (OnRequestDone) {
                auto handler = OnRequestDone;
                handler(*this, m_requestType, error);
            }
        } catch (const std::exception& e) {
            HandleBackgroundException(e);
        }
    });
}

// --- Multi-step driver -----------------------------------------------------------------------

void TCustomFtpCliEx::HighLevelAsync(TFtpRequest request, TFtpSteps steps) {
    if (steps.contains(TFtpStep::Open) && m_connected) {
        HandleError("FTP component already connected");
        return;
    }
    if (!CheckReady()) {
        return;
    }
    m_savedReply = m_lastResponse;
    m_savedCode = -1;
    m_requestType = request;
    m_requestResult = 0;
    m_stepsResult = 0;
    m_lastResponse.clear();
    m_errorMessage.clear();
    m_timedOut = false;
    m_madeUpFailure = false;
    m_pendingSteps = steps;
    m_lastStep = TFtpStep::None;
    m_highLevel = true;
    m_nextRequest = &TCustomFtpCliEx::NextHighLevelAsync;
    NextHighLevelAsync();
}

void TCustomFtpCliEx::NextHighLevelAsync() {
    if (m_state == TFtpState::ftpAbort) {
        m_pendingSteps.clear();
        m_stepsResult = 426;
        m_errorMessage = QX_TRANSLATE_NOOP("qx::Core", "426 Operation aborted.");
    }
    for (std::size_t index = 0; index < kStepCount; ++index) {
        const auto step = static_cast<TFtpStep>(index);
        if (!m_pendingSteps.contains(step)) {
            continue;
        }
        m_pendingSteps.remove(step);
        if (step == TFtpStep::Pass && m_lastStep == TFtpStep::User && m_statusCode != 331) {
            continue; // USER was answered with 230: logged in without a password
        }
        if (step == TFtpStep::Cwd && HostDirName.empty()) {
            continue;
        }
        if (step == TFtpStep::Quit) {
            m_savedReply = m_lastResponse;
            m_savedCode = m_statusCode;
        }
        if (step == TFtpStep::Retr &&
            !(m_lastStep == TFtpStep::Rest && ResumeAt >= 0 && m_statusCode == 350)) {
            ResumeAt = 0;
        }
        m_lastStep = step;
        RunStep(step);
        return;
    }
    m_nextRequest = nullptr;
    m_requestDoneFlag = false;
    TriggerRequestDone(m_stepsResult);
}

bool TCustomFtpCliEx::RunStep(TFtpStep step) {
    // A step refused by its own checks (an empty user name, a lost connection, ...) ends the
    // request as a failure with the refusal as its error text: the request has already started,
    // so its caller waits for the completion, not for an exception. Each step has its own sink:
    // a step that completes at once runs the next one inside it.
    std::string refusal;
    std::string* const outerSink = std::exchange(m_refusalSink, &refusal);
    try {
        (this->*kStepRequests[static_cast<std::size_t>(step)])();
    } catch (const std::exception& error) {
        if (refusal.empty()) {
            refusal = error.what();
        }
    }
    m_refusalSink = outerSink;
    if (refusal.empty()) {
        return true;
    }
    if (OnError) {
        std::string text = refusal;
        auto handler = OnError;
        handler(*this, text);
    }
    FailRefusedStep(refusal);
    return false;
}

void TCustomFtpCliEx::FailRefusedStep(const std::string& message) {
    m_errorMessage = message;
    m_madeUpFailure = true;
    m_pendingSteps.clear();
    m_nextRequest = nullptr;
    m_requestResult = 500;
    m_requestDoneFlag = false;
    TriggerRequestDone(500);
}

// --- Control connection ----------------------------------------------------------------------

void TCustomFtpCliEx::Open() {
    if (!CheckReady()) {
        return;
    }
    if (m_connected) {
        HandleError("FTP component already connected");
        return;
    }
    m_lastStep = TFtpStep::Open;
    m_namesDownloadSize = false;
    BeginRequest(TFtpRequest::ftpOpen);
    m_requestDoneFlag = false;
    m_receiveLength = 0;
    m_replyLineCount = 0;
    m_replyByteCount = 0;
    m_requestResult = 0;
    m_dnsResult.clear();
    m_closingControl = false;
    m_extendedPassiveRefused = false;
    m_tlsTickets.clear();
    m_lastTicket.reset();
    m_peerCertificate = {};
    m_certificateRejected = false;
    m_tlsRefused = false;
    m_protectData = false;
    SetState(TFtpState::ftpDnsLookup);
    m_tunnelHost = HostName;
    // A SOCKS5 proxy without "h" is handed the server's address, looked up here first.
    m_lookingUpServer =
        !Proxy.Enabled() || (Proxy.Kind == TProxyKind::Socks5 && !isDottedAddress(HostName));
    if (!m_lookingUpServer) {
        LookUpProxy();
        return;
    }
    if (!isDottedAddress(HostName)) {
        if (OnConnectState) {
            auto handler = OnConnectState;
            handler(*this, TFTPConnectState::ftpcsLookingUp);
        }
    }
    try {
        m_controlSocket->DnsLookup(HostName);
    } catch (const ESocketException& error) {
        m_requestDoneFlag = true;
        SetState(TFtpState::ftpReady);
        HandleError(error.what());
    }
}

void TCustomFtpCliEx::LookUpProxy() {
    m_lookingUpServer = false;
    try {
        m_controlSocket->DnsLookup(Proxy.Host);
    } catch (const ESocketException& error) {
        m_requestDoneFlag = true;
        SetState(TFtpState::ftpReady);
        HandleError(std::string("The proxy's host name cannot be looked up: ") + error.what());
    }
}

void TCustomFtpCliEx::ConnectNote(const std::string& text) {
    if (OnConnectNote) {
        std::string line = text;
        auto handler = OnConnectNote;
        handler(*this, line);
    }
}

std::string TCustomFtpCliEx::ConnectFailureReply(std::uint16_t error) const {
    if (error == kProxyTunnelFailed) {
        return "500 " + m_controlSocket->TunnelErrorText();
    }
    std::string reply = networkFailureReply(error, m_controlSocket->LookupErrorText());
    if (!Proxy.Enabled() || m_lookingUpServer) {
        return reply;
    }
    return "500 The proxy " + Proxy.Host + ":" + std::to_string(Proxy.Port) +
           " cannot be reached: " + reply.substr(4);
}

void TCustomFtpCliEx::ConnectControl() {
    if (Proxy.Enabled()) {
        m_controlSocket->SetPort(std::to_string(Proxy.Port));
        m_controlSocket->SetTunnel(Proxy, m_tunnelHost, Port);
        ConnectNote("Connecting to proxy " + Proxy.Host + ":" + std::to_string(Proxy.Port) + " (" +
                    std::string(ProxyKindLabel(Proxy.Kind)) + ")...");
    } else {
        m_controlSocket->SetPort(Port);
        m_controlSocket->ClearTunnel();
        if (OnConnectState) {
            auto handler = OnConnectState;
            handler(*this, TFTPConnectState::ftpcsConnecting);
        }
    }
    m_controlSocket->Connect();
}

void TCustomFtpCliEx::ControlSocketDnsLookupDone(std::uint16_t error) {
    if (m_state != TFtpState::ftpDnsLookup) {
        return;
    }
    if (error != 0) {
        m_lastResponse = ConnectFailureReply(error);
        m_statusCode = 500;
        m_requestResult = 500;
        m_madeUpFailure = true;
        SetErrorMessage();
        TriggerRequestDone(error);
        return;
    }
    m_dnsResult = m_controlSocket->DnsResult();
    m_addressIndex = 0;
    if (m_lookingUpServer && !isDottedAddress(HostName) && OnConnectState) {
        auto handler = OnConnectState;
        handler(*this, TFTPConnectState::ftpcsHostFound);
    }
    if (m_lookingUpServer && Proxy.Enabled()) {
        m_tunnelHost = m_dnsResult;
        LookUpProxy();
        return;
    }
    try {
        m_controlSocket->SetAddr(m_dnsResult);
        m_controlSocket->SetProto("tcp");
        SetState(TFtpState::ftpWaitingBanner);
        ConnectControl();
    } catch (const std::exception& e) {
        FailConnect(e);
    }
}

void TCustomFtpCliEx::FailConnect(const std::exception& error) {
    m_lastResponse = "500 " + ExceptionClassName(error) + ": " + error.what();
    m_statusCode = 500;
    m_requestResult = 500;
    m_madeUpFailure = true;
    SetErrorMessage();
    TriggerRequestDone(500);
}

void TCustomFtpCliEx::ControlSocketSessionConnected(std::uint16_t error) {
    const std::vector<std::string>& addresses = m_controlSocket->DnsResultList();
    if (error != 0 && error != kProxyTunnelFailed && m_addressIndex + 1 < addresses.size() &&
        m_state == TFtpState::ftpWaitingBanner) {
        // The name has more addresses (IPv6 and IPv4): the next one is tried once this
        // connection is closed.
        ++m_addressIndex;
        m_tryingNextAddress = true;
        std::weak_ptr<char> life = m_life;
        m_queue.post([this, life] {
            if (life.expired() || !m_tryingNextAddress) {
                return;
            }
            m_tryingNextAddress = false;
            try {
                m_dnsResult = m_controlSocket->DnsResultList()[m_addressIndex];
                m_controlSocket->SetAddr(m_dnsResult);
                m_controlSocket->Connect();
            } catch (const std::exception& e) {
                FailConnect(e);
            }
        });
        return;
    }
    if (error != 0) {
        m_lastResponse = ConnectFailureReply(error);
        m_statusCode = 500;
        m_requestResult = 500;
        m_madeUpFailure = true;
        SetErrorMessage();
        m_nextRequest = nullptr;
        TriggerRequestDone(error);
        m_closingControl = true;
        m_controlSocket->Close();
        SetState(TFtpState::ftpReady);
        return;
    }
    if (Proxy.Enabled()) {
        ConnectNote("Proxy tunnel to " + m_tunnelHost + ":" + Port + " open");
    }
    if (OnConnectState) {
        auto handler = OnConnectState;
        handler(*this, TFTPConnectState::ftpcsConnected);
    }
    m_connected = true;
    if (TlsMode == TFtpTlsMode::Implicit) {
        StartControlTls(); // the greeting comes through TLS
    }
}

bool TCustomFtpCliEx::CountReplyLine(std::string_view line) {
    if (IsFinalReplyLine(line)) {
        ++m_completedReplies;
        m_replyLineCount = 0;
        m_replyByteCount = 0;
        return true;
    }
    m_replyByteCount += line.size() + 2;
    if (++m_replyLineCount > kMaxReplyLineCount) {
        DropConnection("421 Reply too long: more than " + std::to_string(kMaxReplyLineCount) +
                       " lines; the connection is closed.");
        return false;
    }
    if (m_replyByteCount > kMaxReplyBytes) {
        DropConnection("421 Reply too long: more than " + std::to_string(kMaxReplyBytes) +
                       " bytes; the connection is closed.");
        return false;
    }
    return true;
}

void TCustomFtpCliEx::ControlSocketDataAvailable() {
    const std::size_t room = kReceiveBufferSize - 1 - m_receiveLength;
    if (room == 0) {
        DropConnection(kLineTooLong);
        return;
    }
    const std::ptrdiff_t count =
        m_controlSocket->ReceiveData(m_receiveBuffer.data() + m_receiveLength, room);
    if (count == 0) {
        m_controlSocket->Close(); // the server closed the connection
        return;
    }
    if (count < 0) {
        return;
    }
    m_receiveLength += static_cast<std::size_t>(count);
    m_receiveBuffer[m_receiveLength] = '\0';
    const bool acceptLF = (Options & ftpAcceptLF) != 0;
    while (m_receiveLength > 0) {
        const std::string_view held(m_receiveBuffer.data(), m_receiveLength);
        const auto cut = FindReplyLineEnd(held, acceptLF);
        if (!cut) {
            break;
        }
        const std::string_view line = ReplyLineText(held, *cut);
        if (!CountReplyLine(line)) {
            return;
        }
        m_lastResponse = m_charset ? m_charset->ToUtf8(line) : std::string(line);
        const std::size_t consumed = cut->length + cut->terminator;
        std::memmove(m_receiveBuffer.data(), m_receiveBuffer.data() + consumed,
                     m_receiveLength - consumed);
        m_receiveLength -= consumed;
        m_receiveBuffer[m_receiveLength] = '\0';
        if (OnResponse) {
            auto handler = OnResponse;
            handler(*this);
        }
        DispatchLine();
    }
    if (m_receiveLength >= kReceiveBufferSize - 1) {
        DropConnection(kLineTooLong);
    }
}

void TCustomFtpCliEx::DispatchLine() {
    switch (m_state) {
    case TFtpState::ftpWaitingBanner:
        HandleGreetingLine();
        break;
    case TFtpState::ftpWaitingResponse:
        if (m_next == nullptr) {
            HandleError("Program error: FNext is nil");
            break;
        }
        (this->*m_next)();
        break;
    default:
        TriggerDisplay("< " + m_lastResponse);
        break;
    }
}

void TCustomFtpCliEx::HandleGreetingLine() {
    TriggerDisplay("< " + m_lastResponse);
    if (!IsFinalReplyLine(m_lastResponse)) {
        return;
    }
    m_statusCode = ReplyCode(m_lastResponse);
    if (m_statusCode != 220) {
        SetErrorMessage();
        m_requestResult = m_statusCode;
        m_closingControl = true;
        m_controlSocket->Close();
        return;
    }
    SetState(TFtpState::ftpConnected);
    if (OnSessionConnected) {
        auto handler = OnSessionConnected;
        handler(*this, 0);
    }
    if (OnConnectState) {
        auto handler = OnConnectState;
        handler(*this, TFTPConnectState::ftpcsGreeted);
    }
    switch (TlsMode) {
    case TFtpTlsMode::None:
        CompleteOpen();
        break;
    case TFtpTlsMode::ExplicitIfAvailable:
    case TFtpTlsMode::ExplicitRequired:
        SendSecurityCommand("AUTH TLS", &TCustomFtpCliEx::NextAuthTls);
        break;
    case TFtpTlsMode::Implicit:
        SendSecurityCommand("PBSZ 0", &TCustomFtpCliEx::NextPbsz);
        break;
    }
}

void TCustomFtpCliEx::CompleteOpen() {
    SetState(TFtpState::ftpConnected);
    TriggerRequestDone(0);
}

void TCustomFtpCliEx::ControlSocketSessionClosed(std::uint16_t error) {
    if (m_tryingNextAddress) {
        return; // a failed connect to one of the host's addresses: the next one follows
    }
    const TFtpState state = m_state;
    // A server that drops the connection while a command or the greeting is outstanding has
    // not completed it: the request fails instead of completing with the last success.
    if (!m_closingControl && m_requestResult == 0 && !m_requestDoneFlag &&
        m_lastStep != TFtpStep::Quit &&
        (state == TFtpState::ftpWaitingResponse || state == TFtpState::ftpWaitingBanner)) {
        m_requestResult = 421;
        m_statusCode = 421;
        if (m_errorMessage.empty()) {
            m_errorMessage = QX_TRANSLATE_NOOP("qx::Core", "421 Connection closed by the server.");
            m_madeUpFailure = true;
        }
    }
    m_closingControl = false;
    if (m_connected) {
        m_connected = false;
        if (m_state != TFtpState::ftpAbort) {
            SetState(TFtpState::ftpNotConnected);
        }
        if (OnSessionClosed) {
            auto handler = OnSessionClosed;
            handler(*this, error);
        }
        if (OnConnectState) {
            auto handler = OnConnectState;
            handler(*this, TFTPConnectState::ftpcsClosed);
        }
    }
    if (m_state != TFtpState::ftpAbort) {
        SetState(TFtpState::ftpInternalReady);
    }
    TriggerRequestDone(m_requestResult);
}

// --- Single commands -------------------------------------------------------------------------

void TCustomFtpCliEx::ExecWithSetting(TFtpStep step, TFtpRequest request, const char* verb,
                                      const std::string& value, const char* missingText,
                                      std::initializer_list<int> okCodes) {
    if (!CheckReadyAndConnected()) {
        return;
    }
    if (value.empty()) {
        HandleError(missingText);
        return;
    }
    m_lastStep = step;
    ExecAsync(request, std::string(verb) + " " + value, okCodes, nullptr);
}

void TCustomFtpCliEx::User() {
    ExecWithSetting(TFtpStep::User, TFtpRequest::ftpUser, "USER", UserName, "UserName emtpy",
                    {331, 230});
}

void TCustomFtpCliEx::Pass() {
    ExecWithSetting(TFtpStep::Pass, TFtpRequest::ftpPass, "PASS", PassWord, "Password emtpy",
                    {230});
}

void TCustomFtpCliEx::Cwd() {
    ExecWithSetting(TFtpStep::Cwd, TFtpRequest::ftpCwd, "CWD", HostDirName, "HostDirName emtpy",
                    {200, 250, 257});
}

void TCustomFtpCliEx::Syst() {
    m_lastStep = TFtpStep::Syst;
    ExecAsync(TFtpRequest::ftpSyst, "SYST", {215}, nullptr);
}

void TCustomFtpCliEx::Quit() {
    if (!CheckReadyAndConnected()) {
        return;
    }
    CloseTransferFile();
    m_lastStep = TFtpStep::Quit;
    ExecAsync(TFtpRequest::ftpQuit, "QUIT", {221}, &TCustomFtpCliEx::QuitHook);
}

void TCustomFtpCliEx::QuitHook() {
    m_closingControl = true;
    m_controlSocket->Close();
    TriggerRequestDone(0);
}

void TCustomFtpCliEx::Size() {
    m_lastStep = TFtpStep::Size;
    m_sizeResult = 0;
    ExecAsync(TFtpRequest::ftpSize, "SIZE " + HostFileName, {213}, nullptr);
}

void TCustomFtpCliEx::Mkd() {
    m_lastStep = TFtpStep::Mkd;
    ExecAsync(TFtpRequest::ftpMkd, "MKD " + HostFileName, {257}, nullptr);
}

void TCustomFtpCliEx::Rmd() {
    m_lastStep = TFtpStep::Rmd;
    ExecAsync(TFtpRequest::ftpRmd, "RMD " + HostFileName, {250, 257}, nullptr);
}

void TCustomFtpCliEx::Dele() {
    m_lastStep = TFtpStep::Dele;
    ExecAsync(TFtpRequest::ftpDele, "DELE " + HostFileName, {250, 257}, nullptr);
}

void TCustomFtpCliEx::RenameTo() {
    m_lastStep = TFtpStep::RenameTo;
    ExecAsync(TFtpRequest::ftpRenameTo, "RNTO " + LocalFileName, {200, 250, 257}, nullptr);
}

void TCustomFtpCliEx::RenameFrom() {
    m_lastStep = TFtpStep::RenameFrom;
    ExecAsync(TFtpRequest::ftpRenameFrom, "RNFR " + HostFileName, {350}, nullptr);
}

void TCustomFtpCliEx::Pwd() {
    m_lastStep = TFtpStep::Pwd;
    ExecAsync(TFtpRequest::ftpPwd, "PWD", {250, 257}, nullptr);
}

void TCustomFtpCliEx::Quote() {
    m_lastStep = TFtpStep::Quote;
    ExecAsync(TFtpRequest::ftpQuote, LocalFileName, {}, nullptr);
}

void TCustomFtpCliEx::CDup() {
    m_lastStep = TFtpStep::CDup;
    ExecAsync(TFtpRequest::ftpCDup, "CDUP", {250}, nullptr);
}

void TCustomFtpCliEx::SetType() {
    m_lastStep = TFtpStep::SetType;
    ExecAsync(TFtpRequest::ftpSetType, std::string("TYPE ") + m_typeChar, {200}, nullptr);
}

void TCustomFtpCliEx::SetTypeBinary() {
    SetBinary(true);
    SetType();
}

void TCustomFtpCliEx::SetTypeAscii() {
    SetBinary(false);
    SetType();
}

void TCustomFtpCliEx::Rest() {
    if (!CheckReadyAndConnected()) {
        return;
    }
    m_lastStep = TFtpStep::Rest;
    // Offsets count the server's bytes, which a line-end-converted local file no longer
    // matches: ASCII transfers always start from the beginning. A download goes on only in
    // the partial file an earlier one left, never in the file itself.
    if (DownloadSink == nullptr) {
        ResumeAt = Binary() ? std::max<std::int64_t>(0, ResumableSize(LocalFileName)) : 0;
    } else if (!Binary()) {
        ResumeAt = 0;
    }
    if (ResumeAt <= 0) {
        BeginRequest(TFtpRequest::ftpRest);
        m_requestDoneFlag = false;
        TriggerRequestDone(0);
        return;
    }
    // Inside a transfer a refused REST only means starting from the beginning: the driver
    // then resets ResumeAt before RETR because the reply was not 350.
    m_savedErrorMessage = m_errorMessage;
    ExecAsync(TFtpRequest::ftpRest, "REST " + std::to_string(ResumeAt), {},
              m_highLevel ? &TCustomFtpCliEx::RestHook : nullptr);
}

void TCustomFtpCliEx::RestHook() {
    if (DownloadSink != nullptr) {
        // The sink's other end holds the bytes before ResumeAt: without REST the download
        // would give them again, so a refusal ends it.
        if (m_statusCode != 350) {
            m_requestResult = m_requestResult != 0 ? m_requestResult : 554;
            m_errorMessage = "554 The server refused to start at byte " + std::to_string(ResumeAt) +
                             ": " + m_lastResponse;
        }
        TriggerRequestDone(m_requestResult);
        return;
    }
    if (m_requestResult != 0) {
        m_requestResult = 0;
        m_errorMessage = m_savedErrorMessage;
    }
    TriggerRequestDone(0);
}

void TCustomFtpCliEx::Abort() {
    const bool wasLookingUp = m_state == TFtpState::ftpDnsLookup;
    const bool pending = !m_requestDoneFlag;
    if (pending && !m_highLevel) {
        // An aborted single command has not succeeded, whatever the last reply said.
        m_requestResult = 426;
        m_statusCode = 426;
        m_errorMessage = QX_TRANSLATE_NOOP("qx::Core", "426 Operation aborted.");
    }
    SetState(TFtpState::ftpAbort);
    m_tryingNextAddress = false;
    CloseTransferFile();
    if (wasLookingUp) {
        try {
            m_controlSocket->CancelLookup();
        } catch (...) {
        }
    }
    if (m_controlSocket->State() != TSocketState::wsClosed) {
        m_controlSocket->Close();
    }
    if (m_dataSocket->State() != TSocketState::wsClosed) {
        m_dataSocket->Close();
    }
    if (!m_requestDoneFlag) {
        // Nothing was open to close (a name lookup): the request still ends.
        if (m_highLevel) {
            m_pendingSteps.clear();
            m_stepsResult = 426;
            m_errorMessage = QX_TRANSLATE_NOOP("qx::Core", "426 Operation aborted.");
        }
        m_nextRequest = nullptr;
        TriggerRequestDone(426);
    }
    m_connected = false;
    SetState(TFtpState::ftpReady);
}

// --- Multi-step requests ---------------------------------------------------------------------

namespace {

// The steps of a request in a session of its own: log in, change to the host folder, the
// steps, log out.
TFtpSteps InSession(std::initializer_list<TFtpStep> steps) {
    TFtpSteps all{TFtpStep::Open, TFtpStep::User, TFtpStep::Pass, TFtpStep::Cwd, TFtpStep::Quit};
    for (const TFtpStep step : steps) {
        all.add(step);
    }
    return all;
}

} // namespace

void TCustomFtpCliEx::Connect() {
    HighLevelAsync(TFtpRequest::ftpConnect, {TFtpStep::Open, TFtpStep::User, TFtpStep::Pass});
}

void TCustomFtpCliEx::SessionGet() {
    HighLevelAsync(TFtpRequest::ftpSessionGet,
                   InSession({TFtpStep::SetType, TFtpStep::Port, TFtpStep::Retr}));
}

void TCustomFtpCliEx::Dir() {
    HighLevelAsync(TFtpRequest::ftpDir, {TFtpStep::Port, TFtpStep::List});
}

void TCustomFtpCliEx::NameList() {
    HighLevelAsync(TFtpRequest::ftpNameList, {TFtpStep::Port, TFtpStep::Nlst});
}

void TCustomFtpCliEx::Get() {
    HighLevelAsync(TFtpRequest::ftpGet, {TFtpStep::Port, TFtpStep::Retr});
}

void TCustomFtpCliEx::SessionDir() {
    HighLevelAsync(TFtpRequest::ftpSessionDir, InSession({TFtpStep::Port, TFtpStep::List}));
}

void TCustomFtpCliEx::SessionNameList() {
    HighLevelAsync(TFtpRequest::ftpSessionNameList, InSession({TFtpStep::Port, TFtpStep::Nlst}));
}

void TCustomFtpCliEx::SessionSyst() {
    HighLevelAsync(TFtpRequest::ftpSessionSyst, {TFtpStep::Open, TFtpStep::User, TFtpStep::Pass,
                                                 TFtpStep::Syst, TFtpStep::Quit});
}

void TCustomFtpCliEx::SessionSize() {
    HighLevelAsync(TFtpRequest::ftpSize, InSession({TFtpStep::Size}));
}

void TCustomFtpCliEx::Put() {
    HighLevelAsync(TFtpRequest::ftpPut, {TFtpStep::Port, TFtpStep::Stor});
}

void TCustomFtpCliEx::Append() {
    HighLevelAsync(TFtpRequest::ftpAppend, {TFtpStep::Port, TFtpStep::Appe});
}

void TCustomFtpCliEx::SessionRename() {
    HighLevelAsync(TFtpRequest::ftpSessionRename,
                   InSession({TFtpStep::RenameFrom, TFtpStep::RenameTo}));
}

void TCustomFtpCliEx::RenamePair() {
    HighLevelAsync(TFtpRequest::ftpRenamePair, {TFtpStep::RenameFrom, TFtpStep::RenameTo});
}

void TCustomFtpCliEx::SessionDele() {
    HighLevelAsync(TFtpRequest::ftpSessionDele, InSession({TFtpStep::Dele}));
}

void TCustomFtpCliEx::SessionMkd() {
    HighLevelAsync(TFtpRequest::ftpSessionMkd, InSession({TFtpStep::Mkd}));
}

void TCustomFtpCliEx::SessionRmd() {
    HighLevelAsync(TFtpRequest::ftpSessionRmd, InSession({TFtpStep::Rmd}));
}

void TCustomFtpCliEx::SessionQuote() {
    HighLevelAsync(TFtpRequest::ftpSessionQuote, InSession({TFtpStep::Quote}));
}

void TCustomFtpCliEx::SessionPut() {
    HighLevelAsync(TFtpRequest::ftpSessionPut,
                   InSession({TFtpStep::SetType, TFtpStep::Port, TFtpStep::Stor}));
}

void TCustomFtpCliEx::SessionAppend() {
    HighLevelAsync(TFtpRequest::ftpSessionPut,
                   InSession({TFtpStep::SetType, TFtpStep::Port, TFtpStep::Appe}));
}

void TCustomFtpCliEx::ResumeGet() {
    HighLevelAsync(TFtpRequest::ftpResumeGet, {TFtpStep::Port, TFtpStep::Rest, TFtpStep::Retr});
}

void TCustomFtpCliEx::SessionResumeGet() {
    HighLevelAsync(TFtpRequest::ftpSessionResumeGet,
                   InSession({TFtpStep::SetType, TFtpStep::Port, TFtpStep::Rest, TFtpStep::Retr}));
}

} // namespace qx
