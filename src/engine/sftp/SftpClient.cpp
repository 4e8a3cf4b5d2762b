// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SftpClient.h"

#include "engine/sftp/SftpListing.h"
#include "engine/sftp/SftpTransfer.h"
#include "engine/sftp/SshProxy.h"

#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qx::sftp {

namespace {

// A packet's fields around the data of a READ reply or a WRITE request (type, id, handle or
// length, offset): what a block must leave room for within kMaxPacketLength.
constexpr std::size_t kPacketOverhead = 1024;
// One turn of the queue reads at most this much before other handlers get their turn.
constexpr std::size_t kReadBudget = 8 * 1024 * 1024;
constexpr std::size_t kReceiveSize = 256 * 1024;
constexpr std::chrono::seconds kQuitGrace{5};
constexpr std::size_t kCompactAfter = 1024 * 1024;

bool ContainsLine(const std::deque<std::string>& lines, std::string_view part) {
    return std::any_of(lines.begin(), lines.end(), [part](const std::string& line) {
        return line.find(part) != std::string::npos;
    });
}

// "(user@host) Password: " of a keyboard-interactive login that asks for the password.
bool AsksForPassword(const TSshQuestion& question) {
    std::string_view prompt = question.Prompt;
    const std::size_t close = prompt.find(") ");
    if (prompt.starts_with("(") && close != std::string_view::npos) {
        prompt.remove_prefix(close + 2);
    }
    while (!prompt.empty() && prompt.back() == ' ') {
        prompt.remove_suffix(1);
    }
    return prompt == "Password:" || prompt == "password:";
}

} // namespace

TSftpClient::TSftpClient(MessageQueue& queue)
    : m_queue(queue), m_stdio(queue.context()), m_watchdog(queue.context()) {}

TSftpClient::~TSftpClient() {
    m_life.reset();
    m_pending.clear();
    if (m_process) {
        m_process->OnOutput = nullptr; // ssh's last lines are read while it is ended
    }
    std::error_code ignored;
    m_stdio.close(ignored);
}

bool TSftpClient::HasExtension(std::string_view name) const {
    return std::any_of(m_info.Extensions.begin(), m_info.Extensions.end(),
                       [name](const auto& extension) { return extension.first == name; });
}

std::string TSftpClient::RecentSshText() const {
    return m_process ? m_process->RecentText() : std::string();
}

std::size_t TSftpClient::ReadBlockSize() const {
    const std::uint64_t limit = m_info.MaxReadLength ? m_info.MaxReadLength : kDefaultBlockSize;
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(limit, kMaxPacketLength - kPacketOverhead));
}

std::size_t TSftpClient::WriteBlockSize() const {
    std::uint64_t limit = m_info.MaxWriteLength ? m_info.MaxWriteLength : kDefaultBlockSize;
    if (m_info.MaxPacketLength > kPacketOverhead) {
        limit = std::min<std::uint64_t>(limit, m_info.MaxPacketLength - kPacketOverhead);
    }
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(limit, kMaxPacketLength - kPacketOverhead));
}

void TSftpClient::Post(std::function<void()> call) {
    m_queue.post([life = std::weak_ptr<char>(m_life), call = std::move(call)] {
        if (!life.expired()) {
            call();
        }
    });
}

// --- Login and end ------------------------------------------------------------------------------

void TSftpClient::Login(TSftpLogin login, TDone done) {
    const auto fail = [this, &done](TSftpError error, std::string message) {
        Post([done, result = TSftpResult::Failed(error, std::move(message))] { done(result); });
    };
    if (m_state != TState::Idle) {
        fail(TSftpError::Refused, "The SFTP connection was opened before.");
        return;
    }
    if (auto problem = CheckSshTarget(login.Target)) {
        fail(TSftpError::Refused, *problem);
        return;
    }
    m_login = std::move(login);
    m_state = TState::Closed; // until ssh runs
    std::vector<std::string> environment;
    bool haveAskpass = false;
    if (m_login.Ask || m_login.Password) {
        const std::string helper = FindAskpassProgram();
        if (!helper.empty()) {
            m_askpass = std::make_unique<TAskpassServer>(
                m_queue, [this](const TSshQuestion& question, TAskpassServer::TAnswer answer) {
                    Ask(question, std::move(answer));
                });
            std::string error;
            if (!m_askpass->Start(error)) {
                m_askpass.reset();
                fail(TSftpError::Refused, error);
                return;
            }
            environment = m_askpass->Environment(helper);
            haveAskpass = true;
        }
    }
    if (m_login.Target.Proxy.Enabled()) {
        const auto proxy = ProxyEnvironment(m_login.Target.Proxy, m_login.Target.Host);
        environment.insert(environment.end(), proxy.begin(), proxy.end());
    }
    m_process = std::make_unique<TSshProcess>(m_queue);
    m_process->OnOutput = [this] { NoteActivity(); };
    std::string error;
    if (!m_process->Start(SshArgumentList(m_login.Target, haveAskpass), environment, error)) {
        m_askpass.reset();
        fail(TSftpError::ConnectionLost, error);
        return;
    }
    m_loginDone = std::move(done);
    m_stdio.assign(m_process->TakeStdio().release());
    m_state = TState::Connecting;
    {
        TPacketBuilder init(m_out, TPacketType::Init);
        init.U32(kProtocolVersion);
    }
    ScheduleFlush();
    NoteActivity();
    ArmRead();
    Watch();
}

void TSftpClient::Ask(const TSshQuestion& question, TAskpassServer::TAnswer answer) {
    using K = TSshQuestion::TKind;
    NoteActivity();
    const bool passwordQuestion =
        question.Kind == K::Password ||
        (question.Kind == K::KeyboardInteractive && AsksForPassword(question));
    if (passwordQuestion && m_login.Password && !m_passwordGiven) {
        m_passwordGiven = true;
        answer(*m_login.Password);
        return;
    }
    if (!m_login.Ask) {
        answer(std::nullopt); // ssh fails where it would have asked, and says why
        return;
    }
    // The time limit does not run while the user reads the question.
    ++m_questionsOpen;
    m_login.Ask(question, [this, life = std::weak_ptr<char>(m_life),
                           answer = std::move(answer)](std::optional<std::string> text) {
        // Back on the queue: the answer may come from another thread.
        m_queue.post([this, life, answer, text = std::move(text)]() mutable {
            if (life.expired()) {
                return;
            }
            --m_questionsOpen;
            if (!text) {
                m_cancelled = true;
            }
            NoteActivity();
            answer(std::move(text));
            Watch();
        });
    });
}

void TSftpClient::ReceiveVersion(TPacketReader& body) {
    m_info.Version = body.U32();
    while (body.Ok() && !body.AtEnd()) {
        const std::string_view name = body.String();
        const std::string_view version = body.String();
        if (body.Ok() && m_info.Extensions.size() < 256) {
            m_info.Extensions.emplace_back(VisibleText(name, 128), VisibleText(version, 128));
        }
    }
    if (!body.Ok()) {
        Fail(TSftpResult::Failed(TSftpError::Protocol,
                                 "The server's SFTP version reply is malformed."));
        return;
    }
    if (m_info.Version < kProtocolVersion) {
        Fail(TSftpResult::Failed(TSftpError::Protocol, "The server speaks SFTP version " +
                                                           std::to_string(m_info.Version) +
                                                           "; version 3 is needed."));
        return;
    }
    m_info.Version = kProtocolVersion;
    if (HasExtension("limits@openssh.com")) {
        AskLimits();
    } else {
        AskHome();
    }
}

void TSftpClient::AskLimits() {
    Request(TPacketType::Extended, [this](TReply& reply) {
        if (reply.Failure) {
            return;
        }
        if (reply.Type == TPacketType::ExtendedReply) {
            m_info.MaxPacketLength = reply.Body.U64();
            m_info.MaxReadLength = reply.Body.U64();
            m_info.MaxWriteLength = reply.Body.U64();
            m_info.MaxOpenHandles = reply.Body.U64();
            if (!reply.Body.Ok()) {
                m_info.MaxPacketLength = m_info.MaxReadLength = m_info.MaxWriteLength = 0;
                m_info.MaxOpenHandles = 0;
            }
        }
        AskHome();
    }).String("limits@openssh.com");
}

void TSftpClient::AskHome() {
    Request(TPacketType::RealPath, [this](TReply& reply) {
        if (reply.Failure) {
            return;
        }
        std::string home;
        TSftpResult result;
        if (reply.Type == TPacketType::Name) {
            const std::uint32_t count = reply.Body.U32();
            home = reply.Body.String();
            if (!reply.Body.Ok() || count < 1) {
                result = Malformed(reply, "The server's answer to REALPATH is malformed.");
            }
        } else {
            result = FailureOf(reply);
        }
        if (!result.Ok()) {
            Fail(result);
            return;
        }
        m_home = Shown(home);
        m_state = TState::Ready;
        m_info.Ssh = m_process->Facts();
        if (auto done = std::move(m_loginDone)) {
            m_loginDone = nullptr;
            done(TSftpResult::Success());
        }
    }).String(".");
}

void TSftpClient::Quit(TDone done) {
    if (m_state == TState::Idle || m_state == TState::Closed) {
        m_state = TState::Closed;
        Post([done] { done(TSftpResult::Success()); });
        return;
    }
    if (m_state == TState::Closing) {
        Post([done] {
            done(TSftpResult::Failed(TSftpError::Refused, "The connection is closing."));
        });
        return;
    }
    m_state = TState::Closing;
    m_quitting = true;
    Flush();
    // End of input: ssh closes the channel and ends.
    if (m_stdio.is_open()) {
        ::shutdown(m_stdio.native_handle(), SHUT_WR);
    }
    m_process->WaitForExit(kQuitGrace, [this, done = std::move(done)] {
        const auto life = std::weak_ptr<char>(m_life);
        Fail(TSftpResult::Failed(TSftpError::ConnectionLost, "The connection was closed."));
        if (!life.expired()) {
            done(TSftpResult::Success());
        }
    });
}

void TSftpClient::Abort() {
    if (m_state == TState::Idle || m_state == TState::Closed) {
        return;
    }
    Fail(TSftpResult::Failed(TSftpError::Aborted, "Aborted."));
}

// Everything ends here: ssh is ended, every open request fails with the result, the login's
// callback (if it waits) gets it too, then OnClosed.
void TSftpClient::Fail(const TSftpResult& result) {
    if (m_state == TState::Closed) {
        return;
    }
    const bool quitting = m_quitting;
    m_state = TState::Closed;
    Shutdown();
    const auto life = std::weak_ptr<char>(m_life);
    auto pending = std::move(m_pending);
    m_pending.clear();
    TReply failed;
    failed.Failure = &result;
    for (auto& [id, handler] : pending) {
        handler(failed);
        if (life.expired()) {
            return;
        }
    }
    if (auto done = std::move(m_loginDone)) {
        m_loginDone = nullptr;
        done(result);
        if (life.expired()) {
            return;
        }
    }
    if (!quitting && OnClosed) {
        OnClosed(result);
    }
}

void TSftpClient::Shutdown() {
    std::error_code ignored;
    m_watchdog.cancel();
    m_stdio.close(ignored);
    m_readArmed = m_writeArmed = false;
    if (m_process) {
        m_process->Kill();
    }
    m_askpass.reset();
}

// ssh closed the connection: wait for it to end, then tell why from what it wrote last.
void TSftpClient::PeerEnded() {
    if (m_state == TState::Closed) {
        return;
    }
    if (m_quitting) {
        return; // Quit's wait is running
    }
    std::error_code ignored;
    m_stdio.close(ignored);
    m_readArmed = m_writeArmed = false;
    m_watchdog.cancel();
    m_state = TState::Closing;
    m_process->WaitForExit(std::chrono::seconds(2), [this] { Fail(EndResult()); });
}

TSftpResult TSftpClient::EndResult() const {
    const auto& lines = m_process->RecentLines();
    const std::string said = VisibleText(m_process->RecentText(), 4096);
    const std::string host = m_login.Target.Host;
    if (m_cancelled) {
        return TSftpResult::Failed(TSftpError::Cancelled, "Login cancelled.");
    }
    if (ContainsLine(lines, "REMOTE HOST IDENTIFICATION HAS CHANGED")) {
        return TSftpResult::Failed(
            TSftpError::HostKey,
            "The host key of " + host +
                " has changed: ssh refused to connect. Nothing connects until the old key is "
                "removed from the known-hosts file it names.\n" +
                said);
    }
    if (ContainsLine(lines, "Host key verification failed")) {
        return TSftpResult::Failed(TSftpError::HostKey,
                                   "The host key of " + host + " was not accepted.\n" + said);
    }
    std::string message = "The ssh connection to " + host + " ended (" + m_process->EndText() + ")";
    message += said.empty() ? "." : ":\n" + said;
    return TSftpResult::Failed(TSftpError::ConnectionLost, message);
}

// --- Time limit ---------------------------------------------------------------------------------

void TSftpClient::NoteActivity() {
    m_lastActivity = std::chrono::steady_clock::now();
}

// The watchdog runs while something is awaited from the server and no question waits for
// the user.
void TSftpClient::Watch() {
    const int limit = m_login.Target.TimeoutSeconds;
    const bool waiting = m_state == TState::Connecting || !m_pending.empty();
    if (limit <= 0 || m_watchdogArmed || !waiting || m_questionsOpen > 0 ||
        m_state == TState::Closed) {
        return;
    }
    m_watchdogArmed = true;
    m_watchdog.expires_at(m_lastActivity + std::chrono::seconds(limit));
    m_watchdog.async_wait(AfterWait(m_watchdogArmed, &TSftpClient::OnWatchdog));
}

void TSftpClient::OnWatchdog() {
    const int limit = m_login.Target.TimeoutSeconds;
    const bool waiting = m_state == TState::Connecting || !m_pending.empty();
    if (!waiting || m_questionsOpen > 0 || m_state == TState::Closed) {
        return;
    }
    if (std::chrono::steady_clock::now() - m_lastActivity >= std::chrono::seconds(limit)) {
        Fail(TSftpResult::Failed(TSftpError::TimedOut,
                                 "Timed out after " + std::to_string(limit) + " seconds."));
        return;
    }
    Watch();
}

// --- Reading and writing ------------------------------------------------------------------------

// The completion of an asynchronous wait: it clears `armed` and, unless the wait was cancelled,
// calls `next`; it does nothing once this client is gone.
std::function<void(const std::error_code&)> TSftpClient::AfterWait(bool& armed,
                                                                   void (TSftpClient::*next)()) {
    return [this, &armed, next, life = std::weak_ptr<char>(m_life)](const std::error_code& error) {
        if (life.expired()) {
            return;
        }
        armed = false;
        if (!error) {
            (this->*next)();
        }
    };
}

void TSftpClient::ArmStdio(asio::posix::descriptor_base::wait_type type, bool& armed,
                           void (TSftpClient::*ready)()) {
    if (armed || !m_stdio.is_open()) {
        return;
    }
    armed = true;
    m_stdio.async_wait(type, AfterWait(armed, ready));
}

void TSftpClient::ArmRead() {
    ArmStdio(asio::posix::descriptor_base::wait_read, m_readArmed, &TSftpClient::OnReadable);
}

void TSftpClient::OnReadable() {
    const auto life = std::weak_ptr<char>(m_life);
    std::size_t budget = kReadBudget;
    while (m_stdio.is_open() && budget > 0) {
        char* room = m_in.Prepare(kReceiveSize);
        const ssize_t count = ::recv(m_stdio.native_handle(), room, kReceiveSize, MSG_DONTWAIT);
        if (count < 0 && errno == EINTR) {
            m_in.Commit(0);
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            m_in.Commit(0);
            break;
        }
        if (count <= 0) {
            m_in.Commit(0);
            PeerEnded();
            return;
        }
        m_in.Commit(static_cast<std::size_t>(count));
        budget -= std::min(budget, static_cast<std::size_t>(count));
        NoteActivity();
        while (auto packet = m_in.Next()) {
            if (!Dispatch(*packet) || life.expired() || m_state == TState::Closed) {
                return;
            }
        }
        // A handler may have waited on our side (a relay for its other server): that time is
        // no silence of this server's.
        NoteActivity();
        if (m_in.Failed()) {
            Fail(TSftpResult::Failed(
                TSftpError::Protocol,
                "The server sent a packet of " + std::to_string(m_in.FailedLength()) +
                    " bytes; the limit is " + std::to_string(kMaxPacketLength) + " bytes."));
            return;
        }
    }
    if (m_stdio.is_open()) {
        ArmRead();
        Watch();
    }
}

// False when the connection ended (or the client went away) while dispatching.
bool TSftpClient::Dispatch(std::string_view packet) {
    TPacketReader reader(packet);
    const auto type = static_cast<TPacketType>(reader.U8());
    if (type == TPacketType::Version) {
        if (m_state != TState::Connecting || m_info.Version != 0) {
            Fail(TSftpResult::Failed(TSftpError::Protocol, "The server sent a second VERSION."));
            return false;
        }
        const auto life = std::weak_ptr<char>(m_life);
        ReceiveVersion(reader);
        return !life.expired() && m_state != TState::Closed;
    }
    const std::uint32_t id = reader.U32();
    const auto found = m_pending.find(id);
    if (!reader.Ok() || found == m_pending.end() || m_info.Version == 0) {
        Fail(TSftpResult::Failed(TSftpError::Protocol, "The server sent a reply (type " +
                                                           std::to_string(static_cast<int>(type)) +
                                                           ") to no request of ours."));
        return false;
    }
    TReplyHandler handler = std::move(found->second);
    m_pending.erase(found);
    TReply reply;
    reply.Type = type;
    reply.Body = reader;
    const auto life = std::weak_ptr<char>(m_life);
    handler(reply);
    if (life.expired()) {
        return false;
    }
    if (reply.Broken) {
        Fail(TSftpResult::Failed(TSftpError::Protocol, reply.BrokenText));
    }
    return m_state != TState::Closed;
}

void TSftpClient::ScheduleFlush() {
    if (m_flushPosted || m_writeArmed) {
        return;
    }
    m_flushPosted = true;
    Post([this] {
        m_flushPosted = false;
        Flush();
    });
}

void TSftpClient::Flush() {
    while (m_stdio.is_open() && m_outSent < m_out.size()) {
        const ssize_t count = ::send(m_stdio.native_handle(), m_out.data() + m_outSent,
                                     m_out.size() - m_outSent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            CompactOutput();
            ArmWrite();
            return;
        }
        if (count < 0) {
            PeerEnded();
            return;
        }
        m_outSent += static_cast<std::size_t>(count);
    }
    m_out.clear();
    m_outSent = 0;
}

// What went out is dropped from the front once it is most of the buffer, so that a connection
// that never drains completely does not keep all it ever sent.
void TSftpClient::CompactOutput() {
    if (m_outSent >= kCompactAfter && m_outSent * 2 >= m_out.size()) {
        m_out.erase(0, m_outSent);
        m_outSent = 0;
    }
}

void TSftpClient::ArmWrite() {
    ArmStdio(asio::posix::descriptor_base::wait_write, m_writeArmed, &TSftpClient::Flush);
}

// --- Requests -----------------------------------------------------------------------------------

TPacketBuilder TSftpClient::Request(TPacketType type, TReplyHandler handler) {
    const std::uint32_t id = m_nextId++;
    if (m_nextId == 0) {
        m_nextId = 1;
    }
    if (m_pending.empty()) {
        NoteActivity(); // the time limit counts from the first request after a pause
    }
    m_pending.emplace(id, std::move(handler));
    ScheduleFlush();
    Watch();
    return TPacketBuilder(m_out, type, id);
}

bool TSftpClient::Refuse(const std::function<void(const TSftpResult&)>& fail) {
    if (m_state == TState::Ready) {
        return false;
    }
    Post([fail] { fail(TSftpResult::Failed(TSftpError::ConnectionLost, "Not connected.")); });
    return true;
}

TSftpResult TSftpClient::StatusOf(TReply& reply) {
    if (reply.Failure) {
        return *reply.Failure;
    }
    if (reply.Type != TPacketType::Status) {
        return UnexpectedReply(reply);
    }
    const std::uint32_t code = reply.Body.U32();
    if (!reply.Body.Ok()) {
        return Malformed(reply, "The server's status reply is malformed.");
    }
    const std::string_view message = reply.Body.String(); // older servers may leave it out
    return StatusResult(code, reply.Body.Ok() ? message : std::string_view());
}

// What a reply other than the awaited one means: the failure its status tells, or else a
// protocol failure.
TSftpResult TSftpClient::FailureOf(TReply& reply) {
    const TSftpResult result = StatusOf(reply);
    return result.Ok() ? UnexpectedReply(reply) : result;
}

TSftpResult TSftpClient::FailureOf(TReply& reply, std::string malformedText) {
    const TSftpResult result = StatusOf(reply);
    return result.Ok() ? Malformed(reply, std::move(malformedText)) : result;
}

// The handler of a request answered with a handle (opening a file or a folder).
TSftpClient::TReplyHandler TSftpClient::HandleReply(THandleDone done) {
    return [done = std::move(done)](TReply& reply) {
        if (!reply.Failure && reply.Type == TPacketType::Handle) {
            const std::string_view handle = reply.Body.String();
            if (reply.Body.Ok() && handle.size() <= 256) {
                done(TSftpResult::Success(), std::string(handle));
                return;
            }
        }
        done(FailureOf(reply, "The server's handle is malformed."), {});
    };
}

TSftpResult TSftpClient::UnexpectedReply(TReply& reply) {
    return Malformed(reply, "The server sent an unexpected reply (type " +
                                std::to_string(static_cast<int>(reply.Type)) + ").");
}

TSftpResult TSftpClient::Malformed(TReply& reply, std::string text) {
    reply.Broken = true;
    reply.BrokenText = text;
    return TSftpResult::Failed(TSftpError::Protocol, std::move(text));
}

bool TSftpClient::SetNameCharset(std::string_view name) {
    return TNameCharset::Select(m_charset, name);
}

std::string TSftpClient::Shown(std::string_view serverName) {
    return m_charset ? m_charset->ToUtf8(serverName) : std::string(serverName);
}

std::optional<std::string> TSftpClient::Wire(const std::string& path,
                                             const std::function<void(const TSftpResult&)>& fail) {
    if (!m_charset) {
        return path;
    }
    std::optional<std::string> wire = m_charset->FromUtf8(path);
    if (!wire) {
        const std::string text = "The name cannot be written in the server's character set (" +
                                 m_charset->Name() + "): " + VisibleText(path) + ".";
        Post([fail, text] { fail(TSftpResult::Failed(TSftpError::Refused, text)); });
    }
    return wire;
}

void TSftpClient::PathRequest(TPacketType type, const std::string& path, TDone done) {
    if (Refuse(done)) {
        return;
    }
    const auto wire = Wire(path, done);
    if (!wire) {
        return;
    }
    Request(type, [done = std::move(done)](TReply& reply) { done(StatusOf(reply)); }).String(*wire);
}

void TSftpClient::AttributesRequest(TPacketType type, std::string_view pathOrHandle,
                                    TAttributesDone done) {
    if (Refuse([done](const TSftpResult& result) { done(result, {}); })) {
        return;
    }
    Request(type, [done = std::move(done)](TReply& reply) {
        if (!reply.Failure && reply.Type == TPacketType::Attrs) {
            const TAttributes attributes = reply.Body.Attributes();
            if (reply.Body.Ok()) {
                done(TSftpResult::Success(), attributes);
                return;
            }
        }
        done(FailureOf(reply, "The server's attributes are malformed."), {});
    }).String(pathOrHandle);
}

void TSftpClient::NameRequest(TPacketType type, const std::string& path, TPathDone done) {
    const auto fail = [done](const TSftpResult& result) { done(result, {}); };
    if (Refuse(fail)) {
        return;
    }
    const auto wire = Wire(path, fail);
    if (!wire) {
        return;
    }
    Request(type, [this, done = std::move(done)](TReply& reply) {
        if (!reply.Failure && reply.Type == TPacketType::Name) {
            const std::uint32_t count = reply.Body.U32();
            const std::string_view name = reply.Body.String();
            if (reply.Body.Ok() && count >= 1) {
                done(TSftpResult::Success(), Shown(name));
                return;
            }
        }
        done(FailureOf(reply, "The server's name reply is malformed."), {});
    }).String(*wire);
}

void TSftpClient::RealPath(const std::string& path, TPathDone done) {
    NameRequest(TPacketType::RealPath, path, std::move(done));
}

void TSftpClient::ReadLink(const std::string& path, TPathDone done) {
    NameRequest(TPacketType::ReadLink, path, std::move(done));
}

void TSftpClient::Stat(const std::string& path, TAttributesDone done) {
    if (const auto wire = Wire(path, [done](const TSftpResult& result) { done(result, {}); })) {
        AttributesRequest(TPacketType::Stat, *wire, std::move(done));
    }
}

void TSftpClient::LStat(const std::string& path, TAttributesDone done) {
    if (const auto wire = Wire(path, [done](const TSftpResult& result) { done(result, {}); })) {
        AttributesRequest(TPacketType::LStat, *wire, std::move(done));
    }
}

void TSftpClient::FStat(const std::string& handle, TAttributesDone done) {
    AttributesRequest(TPacketType::FStat, handle, std::move(done));
}

void TSftpClient::SetStat(const std::string& path, const TAttributes& attributes, TDone done) {
    if (Refuse(done)) {
        return;
    }
    const auto wire = Wire(path, done);
    if (!wire) {
        return;
    }
    Request(TPacketType::SetStat,
            [done = std::move(done)](TReply& reply) { done(StatusOf(reply)); })
        .String(*wire)
        .Attributes(attributes);
}

void TSftpClient::SetMode(const std::string& path, std::uint32_t mode, TDone done) {
    TAttributes attributes;
    attributes.Permissions = mode & 07777;
    SetStat(path, attributes, std::move(done));
}

void TSftpClient::SetModifiedTime(const std::string& path, std::int64_t time, TDone done) {
    TAttributes attributes;
    const auto seconds = static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, 0, UINT32_MAX));
    attributes.AccessTime = seconds;
    attributes.ModifiedTime = seconds;
    SetStat(path, attributes, std::move(done));
}

void TSftpClient::MakeFolder(const std::string& path, TDone done) {
    if (Refuse(done)) {
        return;
    }
    const auto wire = Wire(path, done);
    if (!wire) {
        return;
    }
    Request(TPacketType::MkDir, [done = std::move(done)](TReply& reply) { done(StatusOf(reply)); })
        .String(*wire)
        .Attributes({});
}

void TSftpClient::RemoveFile(const std::string& path, TDone done) {
    PathRequest(TPacketType::Remove, path, std::move(done));
}

void TSftpClient::RemoveFolder(const std::string& path, TDone done) {
    PathRequest(TPacketType::RmDir, path, std::move(done));
}

void TSftpClient::PlainRename(const std::string& from, const std::string& to, TDone done) {
    const auto wireFrom = Wire(from, done);
    const auto wireTo = wireFrom ? Wire(to, done) : std::nullopt;
    if (!wireTo) {
        return;
    }
    Request(TPacketType::Rename, [done = std::move(done)](TReply& reply) { done(StatusOf(reply)); })
        .String(*wireFrom)
        .String(*wireTo);
}

// Servers differ on whether a plain RENAME replaces its target, so the target is looked for
// first when it must not be replaced; with posix-rename the replacement is atomic, without it
// the target is removed first.
void TSftpClient::Rename(const std::string& from, const std::string& to, bool replace, TDone done) {
    if (Refuse(done)) {
        return;
    }
    const auto life = std::weak_ptr<char>(m_life);
    if (!replace) {
        LStat(to, [this, life, from, to, done = std::move(done)](const TSftpResult& found,
                                                                 const TAttributes&) {
            if (found.Ok()) {
                done(TSftpResult::Failed(TSftpError::Exists,
                                         "The target already exists: " + VisibleText(to) + "."));
            } else if (found.Error != TSftpError::NoSuchFile) {
                done(found);
            } else {
                PlainRename(from, to, done);
            }
        });
        return;
    }
    if (HasExtension("posix-rename@openssh.com")) {
        const auto wireFrom = Wire(from, done);
        const auto wireTo = wireFrom ? Wire(to, done) : std::nullopt;
        if (!wireTo) {
            return;
        }
        Request(TPacketType::Extended,
                [done = std::move(done)](TReply& reply) { done(StatusOf(reply)); })
            .String("posix-rename@openssh.com")
            .String(*wireFrom)
            .String(*wireTo);
        return;
    }
    LStat(to, [this, from, to, done = std::move(done)](const TSftpResult& found,
                                                       const TAttributes& attributes) {
        if (!found.Ok() || attributes.IsFolder()) {
            PlainRename(from, to, done);
            return;
        }
        RemoveFile(to, [this, from, to, done](const TSftpResult& removed) {
            if (!removed.Ok()) {
                done(removed);
                return;
            }
            PlainRename(from, to, done);
        });
    });
}

void TSftpClient::ListFolder(const std::string& path, TListDone done) {
    if (Refuse([done](const TSftpResult& result) { done(result, {}, {}); })) {
        return;
    }
    StartListing(*this, path, std::move(done));
}

std::shared_ptr<TSftpTransfer>
TSftpClient::Download(const std::string& remotePath, const std::string& localPath,
                      std::int64_t offset, TTransferCallbacks callbacks, TByteSink* sink) {
    return StartDownload(*this, remotePath, localPath, offset, std::move(callbacks), sink);
}

std::shared_ptr<TSftpTransfer>
TSftpClient::Upload(const std::string& localPath, const std::string& remotePath,
                    std::int64_t offset, TTransferCallbacks callbacks, TByteSource* source) {
    return StartUpload(*this, localPath, remotePath, offset, std::move(callbacks), source);
}

void TSftpClient::Open(const std::string& path, std::uint32_t flags, const TAttributes& attributes,
                       THandleDone done) {
    const auto fail = [done](const TSftpResult& result) { done(result, {}); };
    if (Refuse(fail)) {
        return;
    }
    const auto wire = Wire(path, fail);
    if (!wire) {
        return;
    }
    Request(TPacketType::Open, HandleReply(std::move(done)))
        .String(*wire)
        .U32(flags)
        .Attributes(attributes);
}

void TSftpClient::OpenFolder(const std::string& path, THandleDone done) {
    const auto fail = [done](const TSftpResult& result) { done(result, {}); };
    if (Refuse(fail)) {
        return;
    }
    if (const auto wire = Wire(path, fail)) {
        Request(TPacketType::OpenDir, HandleReply(std::move(done))).String(*wire);
    }
}

void TSftpClient::ReadFolder(const std::string& handle, TNamesDone done) {
    if (Refuse([done](const TSftpResult& result) { done(result, {}); })) {
        return;
    }
    Request(TPacketType::ReadDir, [this, done = std::move(done)](TReply& reply) {
        if (!reply.Failure && reply.Type == TPacketType::Name) {
            // Each name takes at least 12 bytes: a count beyond the packet is refused before
            // anything is reserved for it.
            const std::uint32_t count = reply.Body.U32();
            std::vector<TName> names;
            if (reply.Body.Ok() && count <= reply.Body.Rest().size() / 12) {
                names.reserve(count);
                for (std::uint32_t i = 0; i < count && reply.Body.Ok(); ++i) {
                    TName name;
                    name.FileName = Shown(reply.Body.String());
                    name.LongName = Shown(reply.Body.String());
                    name.Attributes = reply.Body.Attributes();
                    names.push_back(std::move(name));
                }
                if (reply.Body.Ok()) {
                    done(TSftpResult::Success(), std::move(names));
                    return;
                }
            }
            done(Malformed(reply, "The server's folder entries are malformed."), {});
            return;
        }
        done(FailureOf(reply), {});
    }).String(handle);
}

void TSftpClient::Read(const std::string& handle, std::uint64_t offset, std::uint32_t length,
                       TDataDone done) {
    if (Refuse([done](const TSftpResult& result) { done(result, {}); })) {
        return;
    }
    Request(TPacketType::Read,
            [done = std::move(done), length](TReply& reply) {
                if (!reply.Failure && reply.Type == TPacketType::Data) {
                    const std::string_view data = reply.Body.String();
                    if (reply.Body.Ok() && data.size() <= length) {
                        done(TSftpResult::Success(), data);
                    } else {
                        done(Malformed(reply, "The server sent more data than was asked for."), {});
                    }
                    return;
                }
                done(FailureOf(reply), {});
            })
        .String(handle)
        .U64(offset)
        .U32(length);
}

void TSftpClient::Write(const std::string& handle, std::uint64_t offset, std::string_view data,
                        TDone done) {
    if (Refuse(done)) {
        return;
    }
    Request(TPacketType::Write, [done = std::move(done)](TReply& reply) { done(StatusOf(reply)); })
        .String(handle)
        .U64(offset)
        .String(data);
}

void TSftpClient::Close(const std::string& handle, TDone done) {
    if (m_state != TState::Ready) {
        // Closing a handle of a connection that ended needs nothing more.
        Post([done] { done(TSftpResult::Success()); });
        return;
    }
    Request(TPacketType::Close, [done = std::move(done)](TReply& reply) {
        done(StatusOf(reply));
    }).String(handle);
}

} // namespace qx::sftp
