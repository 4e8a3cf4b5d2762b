// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliSession.h"

#include "TerminalPrompt.h"
#include "VisibleText.h"

#include "base/FtpUrl.h"
#include "session/RemoteNames.h"
#include "session/ResumeRule.h"
#include "session/SessionLog.h"

#include <unistd.h>

#include <filesystem>
#include <map>

namespace qx::cli {

namespace {

constexpr const char* kAnonymousPassword = "quorvin@example.com";

bool isTerminal(int fd) {
    return ::isatty(fd) == 1;
}

} // namespace

CliSession::CliSession(const CliTarget& target, const TAsciiExtensions& asciiExtensions,
                       bool verbose, std::ostream& log, const std::atomic<bool>* interrupted)
    : m_progress(log, isTerminal(STDERR_FILENO)), m_log(log), m_verbose(verbose),
      m_interrupted(interrupted) {
    m_client = TThreadedFTPClient::Create(m_ui);
    TThreadedFTPClient& client = *m_client;
    client.Protocol = target.Protocol;
    client.Ssh = target.Ssh;
    client.Proxy = target.Proxy;
    client.HostName = target.Host;
    client.Port = target.Port;
    client.UserName = LoginName(target);
    client.Password = LoginPassword(target);
    client.InitialFolder = target.InitialFolder;
    client.LoginRetry = target.LoginRetry;
    client.ReloginDelay = target.ReloginDelay;
    client.PassiveMode = target.Passive;
    client.UseMlsd = target.UseMlsd;
    client.UploadToTemporaryName = target.UploadToTemporaryName;
    client.Encryption = target.Encryption;
    client.TrustedFingerprints = target.PinnedFingerprints;
    client.AcceptAnyCertificate = target.Insecure;
    client.OnCertificate = [this](TThreadedFTPClient&, const TCertificateQuestion& question,
                                  bool& trust) {
        m_refusedCertificate = question.Certificate.Sha256;
        trust = false;
    };
    client.OnSshQuestion = [this](TThreadedFTPClient&, const sftp::TSshQuestion& question,
                                  std::optional<std::string>& answer) {
        answer = AnswerSsh(question);
    };
    client.ResumeTransfer = target.Resume;
    client.TransferType = target.Type;
    client.Timeout = target.Timeout;
    client.KeepFileTimes = target.KeepTimes;
    client.TimeZoneOffset = target.TimeZoneOffset;
    client.NameCharset = target.NameCharset;
    client.SpeedLimits = TSpeedLimits::Make(target.DownloadLimit, target.UploadLimit);
    client.ASCIIExts = &asciiExtensions;
    client.LowestPriority = false; // a command-line transfer is the work in front of the user

    client.OnDisplay = [this](TThreadedFTPClient&, const std::string& line) {
        if (m_verbose && LogLineKind(line) != TLogLineKind::Status) {
            m_progress.Clear();
            m_log << VisibleText(line) << '\n';
        } else if (!m_verbose && IsNotResumedLine(line)) {
            // Why a --resume starts from the beginning is told even without the log.
            m_progress.Clear();
            m_log << "quorvin-ftp: " << VisibleText(line.substr(2)) << '\n';
        }
    };
    client.OnTransferStatus = [this](TThreadedFTPClient& c, std::int64_t position,
                                     std::int64_t transfered, std::int64_t elapsed) {
        m_progress.Update(m_transferName, position, c.FileSize, transfered, elapsed);
    };
    client.OnAuthenticate = [](TThreadedFTPClient& c, TFTPAuthenticate what, std::string& need,
                               bool& cancel) {
        const bool password = what == TFTPAuthenticate::ftpAuthPassword;
        const std::string question = password ? "Password for " + c.UserName + "@" + c.HostName
                                              : "User name for " + c.HostName;
        const auto answer = AskOnTerminal(question + ": ", !password);
        if (answer) {
            need = *answer;
        } else {
            cancel = true;
        }
    };
    if (target.WhenTargetExists) {
        client.OnOverwrite = [choice = *target.WhenTargetExists](TThreadedFTPClient&,
                                                                 const TOverwriteQuestion&,
                                                                 TOverwriteAnswer& answer) {
            answer.Choice = choice;
            answer.ApplyToAll = true;
        };
    }
    const auto done = [this](TThreadedFTPClient& c) {
        m_skipped.insert(m_skipped.end(), c.SkippedEntries.begin(), c.SkippedEntries.end());
        m_missed.insert(m_missed.end(), c.FailedEntries.begin(), c.FailedEntries.end());
        m_done = true;
    };
    client.ForEachDoneEvent([&](TThreadedFTPClient::TNotifyEvent& event) { event = done; });
    client.StartThread();
}

CliSession::~CliSession() {
    m_client->StopThread();
    while (m_client->WorkerRunning()) {
        m_ui.pumpUntil([this] { return !m_client->WorkerRunning(); }, std::chrono::seconds(1));
    }
    m_client->Detach();
}

// Nobody is asked about a host key on the command line: an unknown one is refused with its
// fingerprint and the option that accepts it. Other questions (a passphrase, a verification
// code) are asked on the terminal when the tool runs on one.
std::optional<std::string> CliSession::AnswerSsh(const sftp::TSshQuestion& question) {
    using K = sftp::TSshQuestion::TKind;
    switch (question.Kind) {
    case K::UnknownHostKey:
        m_unknownHostKey =
            question.KeyType + " key " + question.Fingerprint + " of " + question.Host;
        return std::nullopt;
    case K::Notice:
        m_progress.Clear();
        m_log << "quorvin-ftp: " << VisibleText(question.Prompt) << '\n';
        return std::string();
    case K::Confirm:
    case K::Password:
    case K::Passphrase:
    case K::KeyboardInteractive:
        break;
    }
    if (!isTerminal(STDIN_FILENO)) {
        m_unansweredSsh = question.Prompt;
        return std::nullopt;
    }
    m_progress.Clear();
    return AskOnTerminal(question.Prompt, false);
}

bool CliSession::Fail(const std::string& text) {
    m_failure = text;
    m_hostKeyRefused = text.rfind("The host key of ", 0) == 0;
    if (!m_unknownHostKey.empty()) {
        m_failure = "the host key is not known: " + m_unknownHostKey +
                    ". Check the fingerprint with the server's administrator, then give "
                    "--accept-new-host-key to add it to the known hosts.";
        m_hostKeyRefused = true;
        m_unknownHostKey.clear();
    } else if (!m_unansweredSsh.empty()) {
        m_failure = "ssh asked \"" + VisibleText(m_unansweredSsh) +
                    "\" and there is no terminal to answer on (give the key with -i, or use "
                    "ssh-agent).";
        m_unansweredSsh.clear();
    }
    if (!m_refusedCertificate.empty()) {
        // Nobody is asked on the command line: the user decides with an option.
        m_failure += " To trust this certificate, give --pin " + m_refusedCertificate +
                     " (after checking the fingerprint with the server's administrator), or "
                     "--insecure to take any certificate.";
        m_refusedCertificate.clear();
    }
    return false;
}

bool CliSession::Run(void (TThreadedFTPClient::*request)()) {
    if (Interrupted()) {
        return Fail("interrupted");
    }
    m_done = false;
    (m_client.get()->*request)();
    bool aborted = false;
    while (!m_done) {
        m_ui.pumpUntil([&] { return m_done || (!aborted && Interrupted()); },
                       std::chrono::seconds(1));
        if (!m_done && !aborted && Interrupted()) {
            m_client->Abort(); // the done event follows
            aborted = true;
        }
    }
    m_progress.Clear();
    if (m_client->ResultCode == 0) {
        return true;
    }
    std::string text = m_client->ErrorMessage;
    if (text.rfind("! ", 0) == 0) {
        text.erase(0, 2);
    }
    return Fail(text.empty() ? "the request failed" : text);
}

std::string CliSession::LoginName(const CliTarget& target) {
    if (target.Protocol == TRemoteProtocolKind::Sftp) {
        return target.User;
    }
    return target.User.empty() ? "anonymous" : target.User;
}

std::string CliSession::LoginPassword(const CliTarget& target) {
    if (target.Protocol == TRemoteProtocolKind::Sftp) {
        return target.Password;
    }
    return target.User.empty() && target.Password.empty() ? kAnonymousPassword : target.Password;
}

bool CliSession::IsFolder(const std::string& path) {
    m_client->HostDirName = Absolute(path);
    const bool entered = Run(&TThreadedFTPClient::ChangeFolder);
    m_failure.clear();
    return entered;
}

std::string CliSession::Absolute(const std::string& path) const {
    if (!path.empty() && path.front() == '/') {
        return NormalizeRemotePath(path);
    }
    return NormalizeRemotePath(JoinRemotePath(m_home, path));
}

bool CliSession::Connect() {
    if (!Run(&TThreadedFTPClient::Connect)) {
        return false;
    }
    // Relative paths are taken from the folder the login led to (before any initial folder
    // of a site, which only sets where the session starts).
    if (Run(&TThreadedFTPClient::GetFolder) && !m_client->CurrentFolder().empty()) {
        m_home = m_client->CurrentFolder();
    }
    m_failure.clear();
    return true;
}

bool CliSession::List(const std::string& folder, TFTPListItems& items) {
    m_client->HostDirName = Absolute(folder);
    m_client->ListItems = &items;
    const bool ok = Run(&TThreadedFTPClient::GetListItems);
    m_client->ListItems = nullptr;
    return ok;
}

bool CliSession::Download(const std::string& remoteFile, const std::string& localFile) {
    const std::string remote = Absolute(remoteFile);
    const auto [folder, name] = SplitRemotePath(remote);
    if (name.empty()) {
        return Fail("the URL names a folder, not a file");
    }
    std::string target = localFile;
    if (std::filesystem::is_directory(target)) {
        target = (std::filesystem::path(target) / name).string();
    }
    m_transferName = name;
    m_client->HostFileName = remote;
    m_client->LocalFileName = target;
    return Run(&TThreadedFTPClient::DownloadFile);
}

bool CliSession::DownloadTree(const std::string& remoteFolder, const std::string& localFolder) {
    m_transferName = remoteFolder;
    m_client->HostFileNames.Clear();
    m_client->LocalFileNames.Clear();
    m_client->HostFileNames.Add(Absolute(remoteFolder), kFolderEntry);
    m_client->LocalFileNames.Add(localFolder, kFolderEntry);
    return Run(&TThreadedFTPClient::Downloads);
}

bool CliSession::Upload(const std::string& localFile, const std::string& remoteFile) {
    std::string remote = remoteFile;
    if (remote.empty() || remote.back() == '/') {
        remote += std::filesystem::path(localFile).filename().string();
    }
    m_transferName = std::filesystem::path(localFile).filename().string();
    m_client->HostFileName = Absolute(remote);
    m_client->LocalFileName = localFile;
    return Run(&TThreadedFTPClient::UploadFile);
}

bool CliSession::UploadTree(const std::string& localFolder, const std::string& remoteFolder) {
    m_transferName = localFolder;
    m_client->HostFileNames.Clear();
    m_client->LocalFileNames.Clear();
    m_client->LocalFileNames.Add(localFolder, kFolderEntry);
    m_client->HostFileNames.Add(Absolute(remoteFolder), kFolderEntry);
    return Run(&TThreadedFTPClient::Uploads);
}

bool CliSession::KindsOf(const std::string& folder, const std::vector<std::string>& names,
                         std::vector<std::intptr_t>& kinds) {
    TFTPListItems items;
    if (!List(folder, items)) {
        return false;
    }
    for (const std::string& name : names) {
        const auto it = std::find_if(items.begin(), items.end(),
                                     [&](const auto& item) { return item->Name == name; });
        if (it == items.end()) {
            return Fail("550 [" + JoinRemotePath(folder, name) + "] does not exist.");
        }
        kinds.push_back((*it)->IsFile || (*it)->IsLink ? kFileEntry : kFolderEntry);
    }
    return true;
}

bool CliSession::Remove(const std::vector<std::string>& remotePaths, bool recursive) {
    // One request per folder, with the names inside it.
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const std::string& path : remotePaths) {
        const auto [folder, name] = SplitRemotePath(Absolute(path));
        if (name.empty()) {
            return Fail("cannot remove the root folder");
        }
        byFolder[folder].push_back(name);
    }
    bool ok = true;
    for (const auto& [folder, names] : byFolder) {
        std::vector<std::intptr_t> kinds;
        if (!KindsOf(folder, names, kinds)) {
            ok = false;
            continue;
        }
        m_client->HostDirName = folder;
        m_client->HostFileNames.Clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (kinds[i] == kFolderEntry && !recursive) {
                ok = Fail("[" + JoinRemotePath(folder, names[i]) +
                          "] is a folder; remove it with -r");
                continue;
            }
            m_client->HostFileNames.Add(names[i], kinds[i]);
        }
        if (m_client->HostFileNames.Empty()) {
            continue;
        }
        // The request succeeds when its last entry does; the entries left are the failures.
        m_client->OnRemoveDone = [this](TThreadedFTPClient& c) {
            m_skipped.insert(m_skipped.end(), c.SkippedEntries.begin(), c.SkippedEntries.end());
            m_done = true;
            if (!c.HostFileNames.Empty()) {
                c.ResultCode = 1;
                if (c.ErrorMessage.empty()) {
                    c.ErrorMessage = "cannot remove [" + c.HostFileNames.Strings(0) + "]";
                }
            }
        };
        ok = Run(&TThreadedFTPClient::Remove) && ok;
    }
    return ok;
}

bool CliSession::MakeFolder(const std::string& remoteFolder) {
    m_client->HostFileName = Absolute(remoteFolder);
    return Run(&TThreadedFTPClient::MakeFolder);
}

bool CliSession::Rename(const std::string& remotePath, const std::string& newName) {
    const std::string from = Absolute(remotePath);
    std::string to = newName;
    if (to.find('/') == std::string::npos) {
        to = JoinRemotePath(SplitRemotePath(from).first, to); // beside the old name
    } else {
        to = Absolute(to);
    }
    m_client->HostFileName = from;
    m_client->LocalFileName = to;
    return Run(&TThreadedFTPClient::Rename);
}

bool CliSession::ChangeMode(const std::string& mode, const std::vector<std::string>& remotePaths) {
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const std::string& path : remotePaths) {
        const auto [folder, name] = SplitRemotePath(Absolute(path));
        byFolder[folder].push_back(name);
    }
    bool ok = true;
    for (const auto& [folder, names] : byFolder) {
        m_client->HostDirName = folder;
        m_client->LocalFileName = mode;
        m_client->HostFileNames.Clear();
        for (const std::string& name : names) {
            m_client->HostFileNames.Add(name, kFileEntry);
        }
        ok = Run(&TThreadedFTPClient::ChangePerms) && ok;
    }
    return ok;
}

void CliSession::Quit() {
    const std::string failure = m_failure;
    Run(&TThreadedFTPClient::Quit);
    m_failure = failure;
}

} // namespace qx::cli
