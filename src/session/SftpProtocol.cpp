// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SftpProtocol.h"

#include "base/NameCharset.h"

#include "base/Translatable.h"
#include "engine/LocalFileStream.h"
#include "engine/TransferStats.h"
#include "engine/sftp/SftpListing.h"
#include "engine/sftp/SftpTransfer.h"
#include "engine/sftp/SshProxy.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>

namespace qx {

using sftp::TSftpError;
using sftp::TSftpResult;

TSftpProtocol::TSftpProtocol(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode,
                             TProtocolOutcome outcome, TEngineDriver::Hooks hooks)
    : TOutcomeProtocol(outcome), m_wait(queue, abortFlag, abortCode), m_hooks(std::move(hooks)) {}

TSftpProtocol::~TSftpProtocol() = default;

// --- Outcome and log -------------------------------------------------------------------------

void TSftpProtocol::Abort() {
    m_wait.ClearAbort();
    if (m_client) {
        m_client->Abort();
    }
    m_outcome.ResultCode = 2;
    m_outcome.ErrorMessage = QX_TRANSLATE_NOOP("qx::Core", "! Operation aborted.");
    if (m_hooks.Deliver) {
        m_hooks.Deliver(m_outcome.ErrorMessage);
    }
}

void TSftpProtocol::Line(char kind, const std::string& text) {
    if (m_hooks.Deliver) {
        m_hooks.Deliver(std::string(1, kind) + " " + text);
    }
}

std::uint8_t TSftpProtocol::Finish(const TSftpResult& result) {
    if (result.Ok()) {
        ClearFailure();
        return 0;
    }
    if (result.Error == TSftpError::Aborted) {
        Abort();
        return 2;
    }
    FailAndLog(result.Message);
    return 1;
}

// Completions come on the worker's queue; a slot shared with the callback outlives a wait that
// an abort ended, so a late completion writes nowhere that is gone.
std::uint8_t TSftpProtocol::Call(const TStart& start) {
    if (!Connected()) {
        FailAndLog("Not connected.");
        return 1;
    }
    auto result = std::make_shared<TSftpResult>();
    const std::uint64_t request = m_wait.Begin();
    start([this, request, result](const TSftpResult& got) {
        *result = got;
        m_wait.Complete(request, got.Ok() ? 0 : 1);
    });
    if (m_wait.Wait() == TRequestWait::End::Aborted) {
        Abort();
        return 2;
    }
    return Finish(*result);
}

std::string TSftpProtocol::Absolute(const std::string& path) const {
    if (path.empty()) {
        return m_folder;
    }
    if (path.front() == '/') {
        return path;
    }
    return (m_folder.empty() || m_folder == "/" ? "/" : m_folder + "/") + path;
}

// --- Session ---------------------------------------------------------------------------------

sftp::TSftpLogin TSftpProtocol::MakeLogin() {
    sftp::TSftpLogin login;
    sftp::TSshTarget& target = login.Target;
    target.Host = Site.Host;
    target.User = Site.User;
    // The default port is left to ssh, so that a Port line of the user's ssh configuration
    // for the host (an alias, say) still holds; without one ssh takes 22 all the same.
    int port = 0;
    const char* end = Site.Port.data() + Site.Port.size();
    if (!Site.Port.empty() && Site.Port != "22" &&
        std::from_chars(Site.Port.data(), end, port).ptr != end) {
        port = -1; // refused by the target's check
    }
    target.Port = port;
    target.IdentityFile = Site.Ssh.IdentityFile;
    target.KnownHostsFile = Site.Ssh.KnownHostsFile;
    target.ConfigFile = Site.Ssh.ConfigFile;
    target.AcceptNewHostKey = Site.Ssh.AcceptNewHostKey;
    target.Options = Site.Ssh.Options;
    if (!Site.Ssh.UseAgent) {
        target.Options.emplace_back("IdentityAgent=none");
    }
    target.TimeoutSeconds = std::max(Site.TimeoutSeconds, 0);
    target.KeepAliveSeconds = std::max(Site.KeepAliveSeconds, 0);
    if (!Site.Program.empty()) {
        target.Program = Site.Program;
    }
    if (Site.Proxy.Enabled()) {
        target.Proxy = Site.Proxy;
        target.ProxyConnectProgram = sftp::FindProxyConnectProgram();
    }
    if (!Site.Password.empty()) {
        login.Password = Site.Password;
    }
    if (m_plan.Ask || AskSsh) {
        login.Ask = [this](const sftp::TSshQuestion& question,
                           const std::function<void(std::optional<std::string>)>& answer) {
            answer(Answer(question));
        };
    }
    return login;
}

// The password the program holds went with ssh's first password question; a second one (the
// first was wrong) and every other question go to the user.
std::optional<std::string> TSftpProtocol::Answer(const sftp::TSshQuestion& question) {
    std::optional<std::string> answer;
    if (question.Kind == sftp::TSshQuestion::TKind::Password && m_plan.Ask) {
        std::string password;
        if (m_plan.Ask(TFTPAuthenticate::ftpAuthPassword, password)) {
            answer = password;
        }
    } else if (AskSsh) {
        answer = AskSsh(question);
    } else {
        m_unanswered = sftp::VisibleText(question.Prompt, 200);
    }
    return answer;
}

bool TSftpProtocol::LoginAttempt() {
    m_client.reset();
    m_client = std::make_unique<sftp::TSftpClient>(m_wait.Queue());
    // SFTP names are bytes; OpenSSH's servers name files in UTF-8, so Auto takes it.
    const std::string charset = EffectiveCharset(Site.NameCharset, true);
    if (!m_client->SetNameCharset(charset)) {
        Line('!', "Unknown character set \"" + charset + "\": file names go as they are.");
    }
    m_unanswered.clear();
    Line('~',
         "Connecting to " + Site.Host + (Site.Port.empty() ? "" : ":" + Site.Port) + " over SFTP");
    auto result = std::make_shared<TSftpResult>();
    const std::uint64_t request = m_wait.Begin();
    m_client->Login(MakeLogin(), [this, request, result](const TSftpResult& got) {
        *result = got;
        m_wait.Complete(request, got.Ok() ? 0 : 1);
    });
    if (m_wait.Wait() == TRequestWait::End::Aborted) {
        Abort();
        return false;
    }
    if (result->Ok()) {
        m_folder = m_client->Home();
        ClearFailure();
        const sftp::TSshFacts& facts = m_client->ServerInfo().Ssh;
        Line('~', "Logged in over SFTP (" + sftp::VisibleText(facts.ServerVersion) +
                      "), authenticated with " + facts.AuthenticatedWith + "; home folder " +
                      m_folder + ".");
        return true;
    }
    if (!m_unanswered.empty()) {
        FailAndLog("ssh asked \"" + m_unanswered + "\", which nothing here can answer; the login " +
                   "ends.");
    } else {
        FailAndLog(result->Message);
    }
    m_lastLoginError = result->Error;
    return false;
}

bool TSftpProtocol::Login(const TLoginPlan& plan) {
    m_plan = plan;
    const int attempts = std::max(plan.Attempts, 1);
    for (int attempt = 1;; ++attempt) {
        if (LoginAttempt()) {
            return true;
        }
        // A refused host key, a cancelled question or a target that cannot be used stay so.
        const bool final = m_lastLoginError == TSftpError::HostKey ||
                           m_lastLoginError == TSftpError::Cancelled ||
                           m_lastLoginError == TSftpError::Refused || !m_unanswered.empty();
        if (Aborted() || final || attempt >= attempts) {
            return false;
        }
        Line('~', "Trying again in " + std::to_string(plan.DelaySeconds) + " second(s).");
        if (!m_wait.Pause(plan.DelaySeconds)) {
            Abort();
            return false;
        }
    }
}

std::uint8_t TSftpProtocol::Quit() {
    if (!Connected()) {
        m_client.reset();
        return 0;
    }
    const std::uint8_t outcome =
        Call([this](const sftp::TSftpClient::TDone& done) { m_client->Quit(done); });
    m_client.reset();
    return outcome;
}

bool TSftpProtocol::Connected() {
    return m_client && m_client->Ready();
}

TRemoteCapabilities TSftpProtocol::Capabilities() const {
    TRemoteCapabilities capabilities;
    capabilities.Resume = true;
    capabilities.ChangeMode = true;
    capabilities.SetTime = true;
    return capabilities;
}

std::string TSftpProtocol::ServerInfoText() const {
    if (!m_client || !m_client->Ready()) {
        return {};
    }
    const sftp::TSftpServerInfo& info = m_client->ServerInfo();
    const auto row = [](const std::string& name, const std::string& value) {
        return name + ": " + sftp::VisibleText(value.empty() ? "(not told)" : value) + "\n";
    };
    std::string text =
        row("Server", info.Ssh.ServerVersion) + row("Client", info.Ssh.ClientVersion) +
        row("Key exchange", info.Ssh.KeyExchange) +
        row("Host key type", info.Ssh.HostKeyAlgorithm) + row("Host key", info.Ssh.HostKey) +
        row("Cipher to the server", info.Ssh.CipherToServer) +
        row("Cipher from the server", info.Ssh.CipherFromServer) +
        row("Authenticated with", info.Ssh.AuthenticatedWith) +
        row("SFTP version", std::to_string(info.Version));
    for (const auto& [name, version] : info.Extensions) {
        text += row("Extension", name + " " + version);
    }
    return text;
}

// --- Folders ---------------------------------------------------------------------------------

std::uint8_t TSftpProtocol::CurrentFolder(std::string& folder) {
    if (!Connected()) {
        FailAndLog("Not connected.");
        return 1;
    }
    folder = m_folder;
    ClearFailure();
    return 0;
}

std::uint8_t TSftpProtocol::ChangeFolder(const std::string& folder) {
    std::string resolved;
    std::uint8_t outcome = Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->RealPath(Absolute(folder),
                           [&resolved, done](const TSftpResult& result, std::string path) {
                               resolved = std::move(path);
                               done(result);
                           });
    });
    if (outcome != 0) {
        return outcome;
    }
    sftp::TAttributes attributes;
    outcome = Stat(resolved, attributes);
    if (outcome != 0) {
        return outcome;
    }
    if (!attributes.IsFolder()) {
        FailAndLog("[" + folder + "] is not a folder.");
        return 1;
    }
    m_folder = resolved;
    return 0;
}

std::uint8_t TSftpProtocol::ChangeToParent() {
    if (!Connected()) {
        FailAndLog("Not connected.");
        return 1;
    }
    const std::size_t slash = m_folder.find_last_of('/');
    if (slash != std::string::npos) {
        m_folder = slash == 0 ? "/" : m_folder.substr(0, slash);
    }
    ClearFailure();
    return 0;
}

bool TSftpProtocol::ListFolder(std::string folder, TFTPListItems& target, Purpose /*purpose*/) {
    if (ChangeFolder(folder) != 0) {
        return false;
    }
    TFTPListItems listing;
    sftp::TSftpListReport report;
    const std::uint8_t outcome = Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->ListFolder(m_folder, [&listing, &report, done](const TSftpResult& result,
                                                                 TFTPListItems items,
                                                                 const sftp::TSftpListReport& got) {
            listing = std::move(items);
            report = got;
            done(result);
        });
    });
    if (outcome != 0) {
        return false;
    }
    target.Append(std::move(listing));
    if (report.DroppedNames > 0) {
        const std::string text = "Skipped " + std::to_string(report.DroppedNames) +
                                 " name(s) of the listing of [" + folder +
                                 "] that no file can have.";
        if (m_hooks.Skipped) {
            m_hooks.Skipped(text);
        } else {
            Line('!', text);
        }
    }
    return true;
}

std::uint8_t TSftpProtocol::MakeFolder(const std::string& path) {
    return Call(
        [&](const sftp::TSftpClient::TDone& done) { m_client->MakeFolder(Absolute(path), done); });
}

std::uint8_t TSftpProtocol::RemoveFolder(const std::string& path) {
    return Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->RemoveFolder(Absolute(path), done);
    });
}

// --- Files -----------------------------------------------------------------------------------

std::uint8_t TSftpProtocol::Stat(const std::string& path, sftp::TAttributes& attributes) {
    return Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->Stat(Absolute(path), [&attributes, done](const TSftpResult& result,
                                                           const sftp::TAttributes& got) {
            attributes = got;
            done(result);
        });
    });
}

std::uint8_t TSftpProtocol::Size(const std::string& path, std::int64_t& size) {
    size = -1;
    sftp::TAttributes attributes;
    const std::uint8_t outcome = Stat(path, attributes);
    if (outcome != 0) {
        return outcome;
    }
    if (!attributes.Size ||
        *attributes.Size > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        FailAndLog("The server tells no size of [" + path + "].");
        return 1;
    }
    size = static_cast<std::int64_t>(*attributes.Size);
    return 0;
}

std::optional<std::int64_t> TSftpProtocol::ModifiedTime(const std::string& path,
                                                        bool /*unannounced*/) {
    sftp::TAttributes attributes;
    if (Stat(path, attributes) != 0 || !attributes.ModifiedTime) {
        if (!Aborted()) {
            ClearFailure();
        }
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*attributes.ModifiedTime);
}

std::uint8_t TSftpProtocol::SetModifiedTime(const std::string& path, std::int64_t time) {
    return Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->SetModifiedTime(Absolute(path), time, done);
    });
}

std::uint8_t TSftpProtocol::RemoveFile(const std::string& path) {
    return Call(
        [&](const sftp::TSftpClient::TDone& done) { m_client->RemoveFile(Absolute(path), done); });
}

std::uint8_t TSftpProtocol::Rename(const std::string& from, const std::string& to, bool replace) {
    return Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->Rename(Absolute(from), Absolute(to), replace, done);
    });
}

std::uint8_t TSftpProtocol::ChangeMode(const std::string& mode, const std::string& path) {
    unsigned bits = 0;
    const char* end = mode.data() + mode.size();
    const auto parsed = std::from_chars(mode.data(), end, bits, 8);
    if (mode.empty() || parsed.ptr != end || bits > 07777) {
        FailAndLog("[" + mode + "] is no mode: up to four octal digits, such as 644.");
        return 1;
    }
    return Call([&](const sftp::TSftpClient::TDone& done) {
        m_client->SetMode(Absolute(path), bits, done);
    });
}

std::uint8_t TSftpProtocol::RawCommand(const std::string& /*command*/) {
    FailAndLog("SFTP has no commands to send as they are typed; use the explorer's own commands.");
    return 1;
}

std::uint8_t TSftpProtocol::SetType(bool /*binary*/) {
    ClearFailure();
    return 0;
}

// --- Transfers -------------------------------------------------------------------------------

std::uint8_t TSftpProtocol::Transfer(bool upload, const TLocalEnd& local,
                                     const std::string& remotePath, std::int64_t offset,
                                     std::int64_t& position) {
    const auto started = std::chrono::steady_clock::now();
    const auto elapsed = [started] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - started)
            .count();
    };
    auto reached = std::make_shared<std::int64_t>(offset);
    std::shared_ptr<sftp::TSftpTransfer> transfer;
    const std::uint8_t outcome = Call([&](const sftp::TSftpClient::TDone& done) {
        sftp::TTransferCallbacks callbacks;
        callbacks.OnProgress = [this, offset, elapsed](std::int64_t at) {
            if (m_hooks.Progress) {
                m_hooks.Progress(at, at - offset, elapsed());
            }
        };
        callbacks.OnDone = [reached, done](const TSftpResult& result, std::int64_t at) {
            *reached = at;
            done(result);
        };
        m_client->DownloadLimit = SpeedLimits.Download;
        m_client->UploadLimit = SpeedLimits.Upload;
        transfer = upload ? m_client->Upload(local.Path, remotePath, offset, std::move(callbacks),
                                             local.Source)
                          : m_client->Download(remotePath, local.Path, offset, std::move(callbacks),
                                               local.Sink);
    });
    position = *reached;
    if (outcome != 2) {
        Line('~', FormatTransferStats(position - offset, elapsed()));
    }
    return outcome;
}

std::uint8_t TSftpProtocol::Download(const std::string& remotePath, const std::string& localPath,
                                     bool resume, std::int64_t expectedSize) {
    std::string file = localPath;
    std::string target;
    std::int64_t offset = 0;
    if (DownloadsThroughPartial(localPath)) {
        // The data goes beside the target until it is complete (engine/LocalFileStream.h).
        target = ReplacedFileName(localPath);
        file = target + ".part";
        if (resume) {
            offset = std::max<std::int64_t>(LocalFileSizeOf(file), 0);
        } else {
            ::unlink(file.c_str()); // no part of this download
        }
    }
    std::int64_t position = 0;
    const std::uint8_t outcome = Transfer(false, {file}, Absolute(remotePath), offset, position);
    if (outcome != 0) {
        return outcome;
    }
    if (!EndedWhereAnnounced(position, expectedSize)) {
        return 1;
    }
    std::string error;
    if (!target.empty() && !PutPartialInPlace(target, error)) {
        FailAndLog(error);
        return 1;
    }
    return 0;
}

std::uint8_t TSftpProtocol::Upload(const std::string& localPath, const std::string& remotePath,
                                   std::int64_t appendAt) {
    std::int64_t position = 0;
    return Transfer(true, {localPath}, Absolute(remotePath), std::max<std::int64_t>(appendAt, 0),
                    position);
}

bool TSftpProtocol::EndedWhereAnnounced(std::int64_t position, std::int64_t expectedSize) {
    if (expectedSize < 0 || position == expectedSize) {
        return true;
    }
    FailAndLog(position < expectedSize ? "Transfer incomplete: " + std::to_string(position) +
                                             " of " + std::to_string(expectedSize) + " bytes."
                                       : "More data than announced: " + std::to_string(position) +
                                             " bytes came where the server announced " +
                                             std::to_string(expectedSize) + ".");
    return false;
}

// The engine names the stream in its messages by the local file's name.
constexpr const char* kRelayedName = "(relayed data)";

std::uint8_t TSftpProtocol::DownloadTo(const std::string& remotePath, TByteSink& sink,
                                       std::int64_t offset, std::int64_t expectedSize) {
    std::int64_t position = 0;
    const std::uint8_t outcome =
        Transfer(false, {kRelayedName, &sink, nullptr}, Absolute(remotePath),
                 std::max<std::int64_t>(offset, 0), position);
    if (outcome != 0) {
        return outcome;
    }
    return EndedWhereAnnounced(position, expectedSize) ? 0 : 1;
}

std::uint8_t TSftpProtocol::UploadFrom(TByteSource& source, const std::string& remotePath,
                                       std::int64_t appendAt) {
    std::int64_t position = 0;
    return Transfer(true, {kRelayedName, nullptr, &source}, Absolute(remotePath),
                    std::max<std::int64_t>(appendAt, 0), position);
}

} // namespace qx
