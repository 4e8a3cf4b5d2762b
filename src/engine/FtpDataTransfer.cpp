// SPDX-License-Identifier: GPL-3.0-or-later
// The data connection of the engine: PORT or PASV, downloads (RETR, LIST, NLST), uploads (STOR,
// APPE), REST offsets, progress and the statistics line.

#include "engine/CustomFtpCliEx.h"

#include "base/Translatable.h"
#include "engine/FtpReplies.h"
#include "engine/SocketErrors.h"
#include "engine/TransferStats.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qx {

// --- Preparing the data connection -----------------------------------------------------------

void TCustomFtpCliEx::PortRequest() {
    if (!CheckReadyAndConnected()) {
        return;
    }
    m_lastStep = TFtpStep::Port;
    m_pasvResponse.clear();

    TWSocket& data = *m_dataSocket;
    data.OnSessionAvailable = nullptr;
    data.OnSessionClosed = nullptr;
    data.OnDataAvailable = nullptr;
    data.OnDataSent = nullptr;
    data.OnSessionConnected = nullptr;
    if (data.State() != TSocketState::wsClosed) {
        data.Close();
    }
    data.SetProto("tcp");
    data.SetPort("0");

    const TSocketAddress local = m_controlSocket->LocalAddress();
    const bool ipv6 = local.AddressText().find(':') != std::string::npos;
    m_byteCount = 0;
    if (!Passive && Proxy.Enabled()) {
        // The server would connect to us past the proxy, or to the proxy's own address.
        const std::string refusal =
            "Active mode cannot be used through a proxy; switch the site to passive mode.";
        TriggerDisplay("! " + refusal);
        FailRefusedStep(refusal);
        return;
    }
    if (Passive) {
        data.SetAddr(ipv6 ? "::" : "0.0.0.0");
        if (ipv6 || (ExtendedPassive && !m_extendedPassiveRefused)) {
            ExecAsync(TFtpRequest::ftpPort, "EPSV", {229}, &TCustomFtpCliEx::ExtendedPassiveHook);
            m_savedErrorMessage = m_errorMessage;
            return;
        }
        ExecAsync(TFtpRequest::ftpPort, "PASV", {227}, nullptr);
        return;
    }
    // The listening socket takes only the address the PORT command announces (the local end
    // of the control connection), not every interface of the machine.
    data.SetAddr(local.AddressText());
    data.LingerOnOff = TSocketLingerOnOff::wsLingerOn;
    data.LingerTimeout = 10;
    data.Listen();
    const std::uint16_t port = data.LocalAddress().Port();
    std::string command =
        ipv6 ? EprtCommand(local.AddressText(), true, port)
             : PortCommand(local.Ipv4(), port, m_controlSocket->Addr() == "127.0.0.1");
    ExecAsync(TFtpRequest::ftpPort, std::move(command), {200}, nullptr);
}

// A server that does not know EPSV is asked with PASV, over IPv4, where PASV can name the
// address.
void TCustomFtpCliEx::ExtendedPassiveHook() {
    const bool ipv6 = m_controlSocket->LocalAddress().AddressText().find(':') != std::string::npos;
    // A 229 reply, even one without a usable port, is the server's answer: no fall-back.
    const bool refused = m_requestResult != 0 && m_pasvResponse.empty() && m_statusCode >= 500;
    if (!refused || ipv6 || m_state != TFtpState::ftpWaitingResponse) {
        TriggerRequestDone(m_requestResult);
        return;
    }
    m_extendedPassiveRefused = true;
    m_errorMessage = m_savedErrorMessage;
    m_requestResult = 0;
    m_okResponses = {227};
    m_doneAsync = nullptr;
    m_replyLines.clear();
    SendCommand("PASV");
}

std::optional<std::uint16_t> TCustomFtpCliEx::PassivePort() const {
    if (m_pasvResponse.starts_with("229")) {
        return EpsvPortFromReply(m_pasvResponse);
    }
    return PasvPortFromReply(m_pasvResponse);
}

void TCustomFtpCliEx::FailDataStep(int code, const std::string& response, bool asErrorMessage) {
    m_madeUpFailure = true;
    if (asErrorMessage) {
        m_errorMessage = response;
        TriggerDisplay("! " + m_errorMessage);
    } else {
        m_lastResponse = response;
        SetErrorMessage();
    }
    m_statusCode = code;
    m_requestResult = code;
    CloseTransferFile();
    m_dataSocket->Close();
    TriggerRequestDone(code);
}

bool TCustomFtpCliEx::ConnectPassiveData(int failureCode,
                                         void (TCustomFtpCliEx::*connected)(std::uint16_t)) {
    const auto port = PassivePort();
    if (!port) {
        FailDataStep(550, "550 Invalid passive mode reply: " + m_pasvResponse, false);
        return false;
    }
    TWSocket& data = *m_dataSocket;
    try {
        // The data connection goes where the control connection went: to the server, or
        // through the same proxy to the server's name or address.
        data.SetAddr(m_controlSocket->Addr());
        if (Proxy.Enabled()) {
            data.SetPort(std::to_string(Proxy.Port));
            data.SetTunnel(Proxy, m_tunnelHost, std::to_string(*port));
        } else {
            data.SetPort(std::to_string(*port));
            data.ClearTunnel();
        }
        data.LingerOnOff = TSocketLingerOnOff::wsLingerOff;
        data.LingerTimeout = 0;
        data.OnSessionConnected = [this, connected](TWSocket&, std::uint16_t error) {
            (this->*connected)(error);
        };
        data.Connect();
    } catch (const std::exception& e) {
        FailDataStep(failureCode,
                     std::to_string(failureCode) + " " + ExceptionClassName(e) + ": " + e.what(),
                     false);
        return false;
    }
    return true;
}

bool TCustomFtpCliEx::TakeFinalReply() {
    TriggerDisplay("< " + m_lastResponse);
    if (!IsFinalReplyLine(m_lastResponse)) {
        return false;
    }
    m_statusCode = ReplyCode(m_lastResponse);
    return true;
}

// The reply that closes a data command, once it is final; `accepted` holds the codes of success
// and `dataClosed` tells whether the data connection of this direction has ended.
void TCustomFtpCliEx::TakeClosingReply(std::initializer_list<int> accepted,
                                       bool TCustomFtpCliEx::*dataClosed, const char* failureLine) {
    if (!TakeFinalReply()) {
        return;
    }
    if (std::find(accepted.begin(), accepted.end(), m_statusCode) == accepted.end()) {
        FailClosingReply(failureLine);
        return;
    }
    m_finalReply = true;
    CompleteOnceBothEnded(this->*dataClosed);
}

// A transfer is complete once both its closing reply came and its data connection closed.
void TCustomFtpCliEx::CompleteOnceBothEnded(bool dataClosed) {
    if (m_finalReply && dataClosed) {
        CompleteTransfer();
    }
}

void TCustomFtpCliEx::FailDataCommand() {
    m_requestResult = m_statusCode;
    SetErrorMessage();
    m_expectedSize = -1;
    m_next = nullptr;
    m_dataSocket->Close();
    CloseTransferFile();
    ResumeAt = 0;
    TriggerRequestDone(m_statusCode);
}

void TCustomFtpCliEx::FailClosingReply(const char* displayLine) {
    if (m_localError != 0) {
        // The server's reply only tells that the transfer broke off; why is ours to say (a
        // full disk, a file that could not be read).
        m_statusCode = m_localError;
        m_errorMessage = m_localErrorText;
        m_madeUpFailure = true;
    }
    m_requestResult = m_statusCode;
    SetErrorMessage();
    m_expectedSize = -1;
    CloseTransferFile();
    m_dataSocket->Close();
    TriggerDisplay(displayLine);
    TriggerRequestDone(m_statusCode);
}

void TCustomFtpCliEx::SetLocalError(int code, const std::string& text) {
    if (m_localError == 0) {
        m_localError = code;
        m_localErrorText = text;
    }
}

bool TCustomFtpCliEx::AsciiConversion() const {
    return !Binary() && m_dataCommand == "RETR";
}

void TCustomFtpCliEx::SendCommandLine(const std::string& verb) {
    SetState(TFtpState::ftpWaitingResponse);
    SendCommand(HostFileName.empty() ? verb : verb + " " + HostFileName);
}

// --- Progress --------------------------------------------------------------------------------

bool TCustomFtpCliEx::TriggerProgress() {
    bool abort = false;
    if (OnProgress) {
        auto handler = OnProgress;
        handler(*this, m_byteCount + ResumeAt, abort);
    }
    if (abort) {
        TriggerDisplay("! Abort requested");
        // Whatever the server replies now, the file is not complete.
        SetLocalError(426,
                      QX_TRANSLATE_NOOP("qx::Core", "426 Transfer aborted by the application."));
        m_dataSocket->Close();
        return true;
    }
    return false;
}

void TCustomFtpCliEx::ReportTransferState() {
    if (!OnTransferState) {
        return;
    }
    const std::int64_t now = NowMs();
    if (now - m_lastReportTick < 1000) {
        return;
    }
    m_lastReportTick = now;
    auto handler = OnTransferState;
    handler(*this, m_byteCount + ResumeAt, m_byteCount, now - m_startTime);
}

void TCustomFtpCliEx::TransferStats() {
    const std::int64_t elapsed = m_stopTime - m_startTime;
    TriggerDisplay("! " + FormatTransferStats(m_byteCount, elapsed));
    if (elapsed != 0 && OnTransferState) {
        auto handler = OnTransferState;
        handler(*this, m_byteCount + ResumeAt, m_byteCount, elapsed);
    }
}

bool TCustomFtpCliEx::CloseLocalFile() {
    if (!FlushReceived() || !m_localFile.IsOpen()) {
        return m_localError == 0;
    }
    if (m_localFile.Pending()) {
        // Nothing arrived: whether that is an empty file or a failure, the final reply tells.
        return true;
    }
    if (AsciiConversion() && m_localError == 0) {
        m_downloadLineEnds.finish(m_convertBuffer);
        if (!m_convertBuffer.empty() &&
            !m_localFile.Write(m_convertBuffer.data(), m_convertBuffer.size())) {
            SetLocalError(550, "550 Error writing local file " + LocalFileName + ": " +
                                   m_localFile.Error());
        }
    }
    if (!m_localFile.Close()) {
        SetLocalError(550,
                      "550 Error writing local file " + LocalFileName + ": " + m_localFile.Error());
        return false;
    }
    return true;
}

// A binary download must end with the size the server announced; ASCII transfers differ by
// design.
bool TCustomFtpCliEx::CheckExpectedSize() {
    const std::int64_t expected = m_expectedSize;
    m_expectedSize = -1;
    if (m_dataCommand != "RETR" || !Binary() || expected < 0 || m_localError != 0 ||
        m_dataError != 0) {
        return true;
    }
    const std::int64_t received = ResumeAt + m_byteCount;
    if (received == expected) {
        return true;
    }
    if (received > expected) {
        SetLocalError(426, "426 More data than announced: " + std::to_string(received) +
                               " bytes came where the server announced " +
                               std::to_string(expected) + ".");
        return false;
    }
    SetLocalError(426, "426 Transfer incomplete: " + std::to_string(received) + " of " +
                           std::to_string(expected) + " bytes.");
    return false;
}

// The complete download takes the place of the file it replaces, with that file's
// permissions.
bool TCustomFtpCliEx::PutPartialInPlace() {
    const std::string target = std::exchange(m_replacedFile, {});
    std::string error;
    if (!target.empty() && !qx::PutPartialInPlace(target, error)) {
        SetLocalError(550, "550 " + error);
        return false;
    }
    return true;
}

void TCustomFtpCliEx::CompleteTransfer() {
    TransferStats();
    CheckExpectedSize();
    ResumeAt = 0;
    if (m_localFile.Pending()) {
        if (m_dataError == 0 && m_localError == 0) {
            if (!m_localFile.Finish()) {
                SetLocalError(550, "550 Error writing local file " + LocalFileName + ": " +
                                       m_localFile.Error());
            }
        } else {
            m_localFile.Close();
        }
    }
    if (m_dataError == 0 && m_localError == 0) {
        PutPartialInPlace();
    }
    m_replacedFile.clear();
    int result = m_dataError;
    if (m_localError != 0) {
        result = m_localError;
        m_statusCode = m_localError;
        m_requestResult = m_localError;
        m_errorMessage = m_localErrorText;
        m_madeUpFailure = true;
    } else if (m_dataError != 0 && m_errorMessage.empty()) {
        m_errorMessage = "550 Data connection failed: " + SocketErrorText(m_dataError);
        m_madeUpFailure = true;
    }
    TriggerRequestDone(result);
}

bool TCustomFtpCliEx::OpenDownloadFile() {
    CloseTransferFile();
    m_replacedFile.clear();
    if (m_dataCommand != "RETR") {
        return m_localFile.Create(LocalFileName); // a listing goes to a fresh temporary file
    }
    if (DownloadSink != nullptr) {
        m_localFile.OpenSink(*DownloadSink);
        return true;
    }
    if (!DownloadsThroughPartial(LocalFileName)) {
        return m_localFile.Create(LocalFileName); // a device or a pipe takes the bytes as they come
    }
    // The data goes beside the target until it is complete, so that a failed download leaves
    // neither a truncated file under the final name nor the old file damaged.
    m_replacedFile = ReplacedFileName(LocalFileName);
    const std::string partial = m_replacedFile + ".part";
    if (ResumeAt > 0) {
        return m_localFile.OpenForWriteAt(partial, ResumeAt); // Rest measured the partial file
    }
    // A partial file left by an earlier download is no part of this one.
    ::unlink(partial.c_str());
    return m_localFile.Create(partial, false);
}

// --- Downloads -------------------------------------------------------------------------------

void TCustomFtpCliEx::Retr() {
    DataGetAsync(TFtpRequest::ftpGet, "RETR");
}

void TCustomFtpCliEx::List() {
    DataGetAsync(TFtpRequest::ftpDir, MachineListing ? "MLSD" : "LIST");
}

void TCustomFtpCliEx::Nlst() {
    DataGetAsync(TFtpRequest::ftpNameList, "NLST");
}

void TCustomFtpCliEx::ResetDataStep() {
    m_finalReply = false;
    m_requestDoneFlag = false;
    m_byteCount = 0;
    m_dataError = 0;
    m_localError = 0;
    m_localErrorText.clear();
}

void TCustomFtpCliEx::DataGetAsync(TFtpRequest request, const char* command) {
    if (!m_connected) {
        HandleError(std::string(command) + ": not connected");
        return;
    }
    if (LocalFileName.empty() && !DisplayFileFlag) {
        HandleError("LocalFileName empty");
        return;
    }
    if (!CheckReady()) {
        return;
    }
    const std::string verb = command;
    m_lastStep = verb == "RETR" ? TFtpStep::Retr : verb == "NLST" ? TFtpStep::Nlst : TFtpStep::List;
    if (!m_highLevel) {
        m_requestType = request;
    }
    m_dataCommand = verb;
    m_expectedSize = verb == "RETR" ? ExpectedSize : -1;
    ExpectedSize = -1;
    ResetDataStep();
    m_downloadClosed = false;
    TakeTransferLimit(verb == "RETR" ? DownloadLimit : nullptr);
    m_downloadLineEnds.reset();
    m_displayFileRest.clear();
    if (AsciiConversion()) {
        ResumeAt = 0;
    }
    m_dataSocket->OnSessionAvailable = [this](TWSocket&, std::uint16_t) {
        DataSocketGetSessionAvailable();
    };
    // Some servers connect as soon as they get PORT, before the data command.
    m_dataSocket->ResumeAcceptNotifications();

    if (!DisplayFileFlag && !OpenDownloadFile()) {
        FailDataStep(550, "Unable to open local file " + LocalFileName + ": " + m_localFile.Error(),
                     false);
        return;
    }
    if (!m_receiveBlock) {
        m_receiveBlock = std::make_unique<char[]>(kWriteBufferSize);
    }
    m_receivedHeld = 0;
    m_sinceQuickAck = 0;
    m_uploading = false;
    // TLS data has to be decrypted on its way: it cannot be moved past our memory.
    m_splice = m_dataCommand == "RETR" && Binary() && !DisplayFileFlag && !m_protectData &&
               PrepareSplice();

    if (Passive && !ConnectPassiveData(550, &TCustomFtpCliEx::DataSocketGetSessionConnected)) {
        return;
    }
    m_next = &TCustomFtpCliEx::NextGetAsync;
    SendCommandLine(verb);
}

int TCustomFtpCliEx::AcceptDataConnection() {
    TWSocket& data = *m_dataSocket;
    const int handle = data.Accept();
    if (handle >= 0) {
        data.Close(); // the listening socket: the connection takes its place
    }
    return handle;
}

void TCustomFtpCliEx::DataSocketGetSessionAvailable() {
    const int handle = AcceptDataConnection();
    if (handle < 0) {
        return;
    }
    TWSocket& data = *m_dataSocket;
    data.OnDataAvailable = [this](TWSocket&, std::uint16_t) { DataSocketGetDataAvailable(); };
    data.OnSessionClosed = [this](TWSocket&, std::uint16_t error) {
        DataSocketGetSessionClosed(error);
    };
    data.OnDataSent = nullptr;
    data.Dup(handle);
    ProtectDataConnection();
    m_startTime = NowMs();
    m_lastReportTick = m_startTime;
}

// The transfer's clock starts with the data connection, and TLS goes on it. False when the
// connection failed (`error`): the request has ended then.
bool TCustomFtpCliEx::StartDataConnection(std::uint16_t error) {
    m_startTime = NowMs();
    m_lastReportTick = m_startTime;
    if (error == kProxyTunnelFailed) {
        FailDataStep(550,
                     "550 Unable to establish data connection: " + m_dataSocket->TunnelErrorText(),
                     false);
        return false;
    }
    if (error != 0) {
        FailDataStep(550, "Unable to establish data connection, error #" + std::to_string(error),
                     false);
        return false;
    }
    ProtectDataConnection();
    return true;
}

void TCustomFtpCliEx::DataSocketGetSessionConnected(std::uint16_t error) {
    TWSocket& data = *m_dataSocket;
    data.OnDataAvailable = [this](TWSocket&, std::uint16_t) { DataSocketGetDataAvailable(); };
    data.OnSessionClosed = [this](TWSocket&, std::uint16_t closeError) {
        DataSocketGetSessionClosed(closeError);
    };
    StartDataConnection(error);
}

void TCustomFtpCliEx::DeliverDisplayFile(const char* data, std::size_t length) {
    if (DisplayFileStyle == 1) {
        std::string block(data, length);
        TriggerDisplayFile(block);
        return;
    }
    // Lines cut at CR or LF; a line split over two blocks arrives as two pieces.
    std::size_t i = 0;
    while (i < length) {
        while (i < length && (data[i] == '\r' || data[i] == '\n')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < length && data[i] != '\r' && data[i] != '\n') {
            ++i;
        }
        if (i > start) {
            std::string line(data + start, i - start);
            TriggerDisplayFile(line);
        }
    }
}

// The receiving side tells the sender at once, every few blocks, that the window opened
// again, instead of waiting for the delayed acknowledgement.
void TCustomFtpCliEx::AcknowledgeNowAndThen(std::size_t received) {
    m_sinceQuickAck += received;
    if (m_sinceQuickAck >= kQuickAckBytes) {
        m_sinceQuickAck = 0;
        const int on = 1;
        ::setsockopt(m_dataSocket->Handle(), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
    }
}

void TCustomFtpCliEx::FailLocalWrite() {
    TriggerDisplay("! Error writing local file");
    SetLocalError(550,
                  "550 Error writing local file " + LocalFileName + ": " + m_localFile.Error());
    m_localFile.Close();
    if (m_dataSocket->State() == TSocketState::wsConnected) {
        m_dataSocket->Shutdown(2);
    }
}

bool TCustomFtpCliEx::PrepareSplice() {
    struct stat target {};
    if (!m_localFile.IsOpen() || ::fstat(m_localFile.Fd(), &target) != 0 ||
        !S_ISREG(target.st_mode)) {
        return false;
    }
    if (!m_pipeRead.valid()) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            return false;
        }
        m_pipeRead.reset(ends[0]);
        m_pipeWrite.reset(ends[1]);
        ::fcntl(m_pipeWrite.get(), F_SETPIPE_SZ, static_cast<int>(kSpliceBlockSize));
    }
    // Bytes an earlier transfer left in the pipe when it broke off are not this file's.
    while (::read(m_pipeRead.get(), m_receiveBlock.get(), kWriteBufferSize) > 0) {
    }
    return true;
}

void TCustomFtpCliEx::ReceiveSpliced(std::size_t allowed) {
    TWSocket& data = *m_dataSocket;
    const std::ptrdiff_t count = data.ReceiveToPipe(m_pipeWrite.get(), allowed);
    GiveBackUnused(allowed, count);
    if (count < 0 && data.LastError() == 10045) {
        m_splice = false; // a connection that cannot splice: read it the ordinary way
        DataSocketGetDataAvailable();
        return;
    }
    if (count <= 0) {
        if (count < 0 && data.State() == TSocketState::wsConnected &&
            data.LastError() != kWsaWouldBlock) {
            const int error = data.LastError();
            TriggerDisplay("! Data: Receive error " + std::to_string(error));
            SetLocalError(550, "550 Data connection receive error: " + SocketErrorText(error));
            data.Shutdown(2);
        }
        return;
    }
    const auto length = static_cast<std::size_t>(count);
    m_byteCount += count;
    AcknowledgeNowAndThen(length);
    ReportTransferState();
    switch (m_localFile.SpliceFrom(m_pipeRead.get(), length)) {
    case LocalFileStream::SpliceResult::Done:
        return;
    case LocalFileStream::SpliceResult::Failed:
        FailLocalWrite();
        return;
    case LocalFileStream::SpliceResult::Unsupported:
        break;
    }
    // A file that cannot take spliced bytes: these go through our buffer, the rest is read
    // the ordinary way.
    m_splice = false;
    std::size_t left = length;
    while (left > 0) {
        const ssize_t got =
            ::read(m_pipeRead.get(), m_receiveBlock.get(), std::min(left, kWriteBufferSize));
        if (got <= 0 || !m_localFile.Write(m_receiveBlock.get(), static_cast<std::size_t>(got))) {
            FailLocalWrite();
            return;
        }
        left -= static_cast<std::size_t>(got);
    }
}

void TCustomFtpCliEx::DataSocketGetDataAvailable() {
    if (TriggerProgress() || m_throttled) {
        return;
    }
    const bool splice = m_splice && m_localFile.IsOpen() && m_localError == 0;
    // Over the limit, the data stays waiting in the connection until the pause is over.
    const std::size_t allowed = AllowedBytes(splice ? kSpliceBlockSize : kReceiveBlockSize);
    if (allowed == 0) {
        return;
    }
    if (splice) {
        ReceiveSpliced(allowed);
        return;
    }
    TWSocket& data = *m_dataSocket;
    // Binary data collects in the buffer until it is full; text is converted block by block.
    const bool collect = !AsciiConversion() && !DisplayFileFlag;
    if (!collect || m_receivedHeld + kReceiveBlockSize > kWriteBufferSize) {
        FlushReceived();
    }
    char* const buffer = m_receiveBlock.get() + m_receivedHeld;
    const std::ptrdiff_t count = data.ReceiveData(buffer, allowed);
    GiveBackUnused(allowed, count);
    if (count > 0) {
        const auto length = static_cast<std::size_t>(count);
        m_byteCount += count;
        AcknowledgeNowAndThen(length);
        ReportTransferState();
        if (DisplayFileFlag) {
            DeliverDisplayFile(buffer, length);
        }
        if (!m_localFile.IsOpen() || m_localError != 0) {
            return;
        }
        if (collect) {
            m_receivedHeld += length;
            return;
        }
        bool written = true;
        if (AsciiConversion()) {
            m_downloadLineEnds.convert({buffer, length}, m_convertBuffer);
            written = m_localFile.Write(m_convertBuffer.data(), m_convertBuffer.size());
        } else {
            written = m_localFile.Write(buffer, length);
        }
        if (!written) {
            FailLocalWrite();
        }
    } else if (count < 0 && data.State() == TSocketState::wsConnected &&
               data.LastError() != kWsaWouldBlock) {
        const int error = data.LastError();
        TriggerDisplay("! Data: Receive error " + std::to_string(error));
        SetLocalError(550, "550 Data connection receive error: " + SocketErrorText(error));
        data.Shutdown(2);
    }
}

bool TCustomFtpCliEx::FlushReceived() {
    const std::size_t held = std::exchange(m_receivedHeld, 0);
    if (held == 0 || !m_localFile.IsOpen() || m_localError != 0) {
        return m_localError == 0;
    }
    if (m_localFile.Write(m_receiveBlock.get(), held)) {
        return true;
    }
    FailLocalWrite();
    return false;
}

// A transfer that ends early keeps in its file whatever arrived.
void TCustomFtpCliEx::CloseTransferFile() {
    FlushReceived();
    m_localFile.Close();
}

void TCustomFtpCliEx::DataSocketGetSessionClosed(std::uint16_t error) {
    m_stopTime = NowMs();
    CloseLocalFile();
    m_downloadClosed = true;
    m_dataError = error;
    CompleteOnceBothEnded(m_downloadClosed);
}

void TCustomFtpCliEx::NextGetAsync() {
    if (!TakeFinalReply()) {
        return;
    }
    if (m_statusCode == 125 || m_statusCode == 150) {
        if (m_dataCommand == "RETR" && ResumeAt == 0) {
            const std::int64_t named =
                ByteCountFromReply(m_lastResponse); // "150 ... (1234 bytes)."
            m_namesDownloadSize = named >= 0;
            if (m_expectedSize < 0) {
                m_expectedSize = named;
            }
        }
        m_next = &TCustomFtpCliEx::NextGetAsync2;
        return;
    }
    FailDataCommand();
}

void TCustomFtpCliEx::NextGetAsync2() {
    TakeClosingReply({125, 226, 250}, &TCustomFtpCliEx::m_downloadClosed,
                     "! RETR/LIST/NLST Failed");
}

// --- Uploads ---------------------------------------------------------------------------------

void TCustomFtpCliEx::Stor() {
    DataPutAsync(TFtpRequest::ftpPut, false);
}

void TCustomFtpCliEx::Appe() {
    DataPutAsync(TFtpRequest::ftpAppend, true);
}

void TCustomFtpCliEx::DataPutAsync(TFtpRequest request, bool append) {
    if (!m_connected) {
        HandleError("STOR/APPE: not connected");
        return;
    }
    if (LocalFileName.empty()) {
        HandleError("LocalFileName empty");
        return;
    }
    if (!CheckReady()) {
        return;
    }
    m_lastStep = append ? TFtpStep::Appe : TFtpStep::Stor;
    BeginRequest(request);
    m_dataCommand = append ? "APPE" : "STOR";
    m_appendFlag = append;
    ResetDataStep();
    m_uploadClosed = false;
    TakeTransferLimit(UploadLimit);
    m_uploadConnected = false;
    m_uploadAccepted = false;
    m_startTime = 0;
    m_uploadLineEnds.reset();
    m_uploading = true;
    if (!Binary()) {
        ResumeAt = 0;
    }

    bool cancel = false;
    TriggerReadyToTransmit(cancel);
    if (cancel) {
        m_errorMessage = QX_TRANSLATE_NOOP("qx::Core", "426 Transmit cancelled by application");
        m_statusCode = 426;
        m_requestResult = 426;
        TriggerDisplay("! " + m_errorMessage);
        TriggerRequestDone(426);
        return;
    }

    m_dataSocket->OnSessionAvailable = [this](TWSocket&, std::uint16_t) {
        DataSocketPutSessionAvailable();
    };
    m_dataSocket->ResumeAcceptNotifications();
    m_eof = false;
    if (UploadSource != nullptr) {
        m_localFile.OpenSource(*UploadSource); // it starts where the upload does
    } else if (!m_localFile.OpenForRead(LocalFileName, ResumeAt > 0 ? ResumeAt : 0)) {
        FailDataStep(426,
                     "426 Unable to open local file " + LocalFileName + ": " + m_localFile.Error(),
                     true);
        return;
    }
    if (!m_sendBlock) {
        m_sendBlock = std::make_unique<char[]>(kSendBlockSize);
    }

    if (Passive) {
        // The command goes out once the data connection is up.
        ConnectPassiveData(426, &TCustomFtpCliEx::DataSocketPutSessionConnected);
        return;
    }
    m_next = &TCustomFtpCliEx::NextPutAsync;
    SetState(TFtpState::ftpWaitingResponse);
    SendCommand((m_appendFlag ? "APPE " : "STOR ") + HostFileName);
}

void TCustomFtpCliEx::DataSocketPutSessionAvailable() {
    const int handle = AcceptDataConnection();
    if (handle < 0) {
        return;
    }
    TWSocket& data = *m_dataSocket;
    data.OnSessionClosed = [this](TWSocket&, std::uint16_t error) {
        DataSocketPutSessionClosed(error);
    };
    data.OnDataAvailable = [](TWSocket& socket, std::uint16_t) {
        std::array<char, 2048> discard;
        socket.ReceiveData(discard.data(), discard.size());
    };
    data.OnDataSent = [this](TWSocket&, std::uint16_t error) { DataSocketPutDataSent(error); };
    data.Dup(handle);
    ProtectDataConnection();
    int sendBuffer = 0;
    socklen_t length = sizeof sendBuffer;
    if (::getsockopt(data.Handle(), SOL_SOCKET, SO_SNDBUF, &sendBuffer, &length) != 0) {
        SetLocalError(426, "426 winsock.getsockopt(SO_SNDBUF) failed");
        data.Close();
        return;
    }
    data.LingerOnOff = TSocketLingerOnOff::wsLingerOff;
    data.LingerTimeout = 10;
    data.ApplyLinger();
    m_uploadConnected = true;
    if (m_uploadAccepted && m_startTime == 0) {
        PostStartSending();
    }
}

void TCustomFtpCliEx::DataSocketPutSessionConnected(std::uint16_t error) {
    TWSocket& data = *m_dataSocket;
    data.OnSessionClosed = [this](TWSocket&, std::uint16_t closeError) {
        DataSocketPutSessionClosed(closeError);
    };
    data.OnDataAvailable = nullptr;
    data.OnDataSent = nullptr;
    m_uploadConnected = true;
    if (!StartDataConnection(error)) {
        return;
    }
    m_next = &TCustomFtpCliEx::NextPutAsync;
    SetState(TFtpState::ftpWaitingResponse);
    SendCommand((m_appendFlag ? "APPE " : "STOR ") + HostFileName);
}

void TCustomFtpCliEx::PostStartSending() {
    std::weak_ptr<char> life = m_life;
    m_queue.post([this, life] {
        if (life.expired()) {
            return;
        }
        try {
            StartSending();
        } catch (const std::exception& e) {
            HandleBackgroundException(e);
        }
    });
}

void TCustomFtpCliEx::StartSending() {
    m_startTime = NowMs();
    m_lastReportTick = m_startTime;
    DataSocketPutDataSent(0);
}

void TCustomFtpCliEx::DataSocketPutDataSent(std::uint16_t error) {
    if (!m_localFile.IsOpen()) {
        return;
    }
    if (TriggerProgress()) {
        return;
    }
    TWSocket& data = *m_dataSocket;
    if (error != 0) {
        TriggerDisplay("! Error #" + std::to_string(error) + " sending data");
        SetLocalError(426, "426 Error sending data: " + WSocketErrorDesc(error));
        data.Close();
        return;
    }
    if (m_eof || !m_uploadAccepted || !m_uploadConnected || m_throttled) {
        return;
    }
    SendNextBlock();
}

void TCustomFtpCliEx::SendNextBlock() {
    TWSocket& data = *m_dataSocket;
    char* const block = m_sendBlock.get();
    const std::size_t allowed = AllowedBytes(kSendBlockSize);
    if (allowed == 0) {
        return; // sent on when the pause is over
    }
    const std::ptrdiff_t count = m_localFile.Read(block, allowed);
    GiveBackUnused(allowed, count);
    if (count == 0) {
        m_eof = true;
        if (!data.TlsHandshaking()) {
            data.Close(); // else once the handshake is done, with the close notification
        }
        return;
    }
    if (count < 0) {
        TriggerDisplay("! Error reading file");
        // The server would otherwise keep a shortened file as if it were complete.
        SetLocalError(426,
                      "426 Error reading local file " + LocalFileName + ": " + m_localFile.Error());
        data.Close();
        return;
    }
    const auto length = static_cast<std::size_t>(count);
    if (!Binary()) {
        m_uploadLineEnds.convert({block, length}, m_convertBuffer);
        m_byteCount += static_cast<std::int64_t>(m_convertBuffer.size());
        data.Send(m_convertBuffer.data(), m_convertBuffer.size());
    } else {
        m_byteCount += count;
        data.Send(block, length);
    }
    ReportTransferState();
}

void TCustomFtpCliEx::DataSocketPutSessionClosed(std::uint16_t error) {
    m_stopTime = NowMs();
    m_localFile.Close();
    m_uploadClosed = true;
    m_dataError = error;
    if (!m_eof && m_localError == 0 && m_uploadAccepted) {
        // The data connection ended before the whole file went out.
        SetLocalError(
            426, QX_TRANSLATE_NOOP("qx::Core",
                                   "426 Data connection closed before the whole file was sent."));
    }
    CompleteOnceBothEnded(m_uploadClosed);
}

void TCustomFtpCliEx::NextPutAsync() {
    if (!TakeFinalReply()) {
        return;
    }
    if (m_statusCode == 125 || m_statusCode == 150) {
        m_uploadAccepted = true;
        if (Passive) {
            m_dataSocket->OnDataSent = [this](TWSocket&, std::uint16_t error) {
                DataSocketPutDataSent(error);
            };
            m_next = &TCustomFtpCliEx::NextPutAsync2;
            DataSocketPutDataSent(0);
        } else {
            if (m_uploadConnected && m_startTime == 0) {
                PostStartSending();
            }
            m_next = &TCustomFtpCliEx::NextPutAsync2;
        }
        return;
    }
    FailDataCommand();
}

void TCustomFtpCliEx::NextPutAsync2() {
    TakeClosingReply({226, 250}, &TCustomFtpCliEx::m_uploadClosed, "! STOR Failed");
}

} // namespace qx
