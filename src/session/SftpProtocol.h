// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SshQuestion.h"
#include "platform/MessageQueue.h"
#include "session/EngineDriver.h"
#include "session/RemoteProtocol.h"
#include "session/RequestWait.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qx {

// Where an SFTP session logs in.
struct TSftpSite {
    std::string Host;
    std::string Port; // empty: ssh's choice (the config's, else 22)
    std::string User; // empty: ssh's choice
    // Answers ssh's password question; it reaches ssh only through the askpass socket.
    std::string Password;
    TSshSettings Ssh;
    TProxySettings Proxy;
    int TimeoutSeconds = 30;
    // Seconds between ssh's checks of an idle server (besides those of the time-out); 0 none.
    int KeepAliveSeconds = 0;
    // The ssh program (tests run stand-ins); empty: "ssh".
    std::string Program;
    // The file-name character set as a choice text (base/NameCharset.h); Auto is UTF-8.
    std::string NameCharset;
};

// A question of ssh that the password cannot answer (a passphrase, a verification code, an
// unknown host key: "yes" trusts it). Nothing cancels the login.
using TSshAsk = std::function<std::optional<std::string>(const sftp::TSshQuestion&)>;

// The SFTP side of the protocol seam over one TSftpClient at a time (a client connects once;
// every login makes a new one). SFTP has no current folder on the server: it is kept here,
// and bare names are taken relative to it. Each request waits for its own completion through
// TRequestWait; an abort ends ssh at once.
class TSftpProtocol final : public TOutcomeProtocol {
public:
    TSftpProtocol(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode,
                  TProtocolOutcome outcome, TEngineDriver::Hooks hooks);
    ~TSftpProtocol() override;
    TSftpProtocol(const TSftpProtocol&) = delete;
    TSftpProtocol& operator=(const TSftpProtocol&) = delete;

    // Read at each login.
    TSftpSite Site;
    // Questions the password does not answer; without it they end the login.
    TSshAsk AskSsh;
    // What Server Information shows of the connection, once logged in (empty before).
    std::string ServerInfoText() const;

    void Abort() override;
    void Line(char kind, const std::string& text) override;

    bool Login(const TLoginPlan& plan) override;
    std::uint8_t Quit() override;
    bool Connected() override;
    TRemoteCapabilities Capabilities() const override;

    std::uint8_t CurrentFolder(std::string& folder) override;
    std::uint8_t ChangeFolder(const std::string& folder) override;
    std::uint8_t ChangeToParent() override;
    bool ListFolder(std::string folder, TFTPListItems& target,
                    Purpose purpose = Purpose::Walk) override;
    std::uint8_t MakeFolder(const std::string& path) override;
    std::uint8_t RemoveFolder(const std::string& path) override;

    std::uint8_t Size(const std::string& path, std::int64_t& size) override;
    std::optional<std::int64_t> ModifiedTime(const std::string& path,
                                             bool unannounced = false) override;
    std::uint8_t SetModifiedTime(const std::string& path, std::int64_t time) override;
    std::uint8_t RemoveFile(const std::string& path) override;
    // Never over an existing target unless replace (then atomically where the server offers
    // posix-rename).
    std::uint8_t Rename(const std::string& from, const std::string& to, bool replace) override;
    std::uint8_t ChangeMode(const std::string& mode, const std::string& path) override;
    // SFTP carries no commands of the user's: refused.
    std::uint8_t RawCommand(const std::string& command) override;
    // SFTP moves bytes as they are: always binary.
    std::uint8_t SetType(bool binary) override;
    bool Binary() const override { return true; }
    bool NamesDownloadSize() const override { return false; }
    // Through the partial file beside the target, as every download (engine/LocalFileStream.h).
    std::uint8_t Download(const std::string& remotePath, const std::string& localPath, bool resume,
                          std::int64_t expectedSize) override;
    std::uint8_t Upload(const std::string& localPath, const std::string& remotePath,
                        std::int64_t appendAt) override;
    std::uint8_t DownloadTo(const std::string& remotePath, TByteSink& sink, std::int64_t offset,
                            std::int64_t expectedSize) override;
    std::uint8_t UploadFrom(TByteSource& source, const std::string& remotePath,
                            std::int64_t appendAt) override;

    // The client of the connection (null before the first login), for readers of its facts.
    const sftp::TSftpClient* Client() const { return m_client.get(); }

private:
    using TStart = std::function<void(sftp::TSftpClient::TDone)>;
    // Issues the request and waits for it; the outcome (a failure's text as the result's).
    std::uint8_t Call(const TStart& start);
    std::uint8_t Finish(const sftp::TSftpResult& result);
    std::uint8_t Stat(const std::string& path, sftp::TAttributes& attributes);
    // The bytes' local end: a file, or a stream of a relay.
    struct TLocalEnd {
        std::string Path;
        TByteSink* Sink = nullptr;
        TByteSource* Source = nullptr;
    };
    std::uint8_t Transfer(bool upload, const TLocalEnd& local, const std::string& remotePath,
                          std::int64_t offset, std::int64_t& position);
    // A download that ended at position where expectedSize (or -1) was announced.
    bool EndedWhereAnnounced(std::int64_t position, std::int64_t expectedSize);
    bool LoginAttempt();
    std::optional<std::string> Answer(const sftp::TSshQuestion& question);
    sftp::TSftpLogin MakeLogin();
    std::string Absolute(const std::string& path) const;

    TRequestWait m_wait;
    TEngineDriver::Hooks m_hooks;
    TLoginPlan m_plan;
    std::unique_ptr<sftp::TSftpClient> m_client;
    std::string m_folder;
    sftp::TSftpError m_lastLoginError = sftp::TSftpError::None;
    bool m_passwordAsked = false;
    // The prompt of a question nobody could answer, for the login's failure.
    std::string m_unanswered;
};

} // namespace qx
