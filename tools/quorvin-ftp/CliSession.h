// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProgressLine.h"

#include "base/AsciiExtensions.h"
#include "base/TransferType.h"
#include "engine/FTPListItem.h"
#include "platform/PumpedUiThread.h"
#include "session/ThreadedFTPClient.h"

#include <atomic>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qx::cli {

// Where and how to connect: from a URL or from a site of the site book.
struct CliTarget {
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TSshSettings Ssh; // sftp:// only
    std::string Host;
    std::string Port = "21";
    std::string User;     // empty: anonymous (SFTP: ssh's choice)
    std::string Password; // asked on a terminal when empty
    std::string InitialFolder;
    int LoginRetry = 1;
    int ReloginDelay = 1;
    bool Passive = true;
    bool UseMlsd = true; // listings with MLSD where the server offers it
    // Uploads travel as NAME.part and are renamed when complete (--inplace turns it off).
    bool UploadToTemporaryName = true;
    bool Resume = false;
    TFTPTransferType Type = TFTPTransferType::ftpTypeBinary;
    int Timeout = 30;       // seconds without a byte moving before a request fails
    bool KeepTimes = true;  // copies take the modification time of their originals
    int TimeZoneOffset = 0; // minutes the server's LIST times run ahead of UTC
    // The file-name character set (base/NameCharset.h).
    std::string NameCharset;
    // Bytes per second of downloads and uploads (the site's own, or --limit-rate); 0 none.
    std::int64_t DownloadLimit = 0;
    std::int64_t UploadLimit = 0;
    // What a transfer does when its target exists: nothing set replaces it (like curl and wget);
    // Skip (--skip-existing) or OverwriteIfNewer (--newer) ask the server first.
    std::optional<TOverwriteChoice> WhenTargetExists;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    // A certificate that cannot be verified is refused unless its SHA-256 fingerprint is
    // pinned (--pin) or any is taken (--insecure).
    std::vector<std::string> PinnedFingerprints;
    bool Insecure = false;
    TProxySettings Proxy;
};

// The tool's FTP session: the program's threaded client, with the calling thread as its
// user-interface thread. Remote paths are absolute or relative to the folder the server logs
// the user into.
class CliSession {
public:
    // Once interrupted is set (when given), the running request is aborted and no other one
    // starts.
    CliSession(const CliTarget& target, const TAsciiExtensions& asciiExtensions, bool verbose,
               std::ostream& log, const std::atomic<bool>* interrupted = nullptr);
    ~CliSession();

    bool Connect();
    // True when the path names a folder the session can enter.
    bool IsFolder(const std::string& path);
    bool List(const std::string& folder, TFTPListItems& items);
    bool Download(const std::string& remoteFile, const std::string& localFile);
    bool DownloadTree(const std::string& remoteFolder, const std::string& localFolder);
    bool Upload(const std::string& localFile, const std::string& remoteFile);
    bool UploadTree(const std::string& localFolder, const std::string& remoteFolder);
    bool Remove(const std::vector<std::string>& remotePaths, bool recursive);
    bool MakeFolder(const std::string& remoteFolder);
    bool Rename(const std::string& remotePath, const std::string& newName);
    bool ChangeMode(const std::string& mode, const std::vector<std::string>& remotePaths);
    void Quit();

    // The login a target gives: its user, or anonymous with the tool's e-mail address.
    static std::string LoginName(const CliTarget& target);
    static std::string LoginPassword(const CliTarget& target);

    // The absolute form of a remote path.
    std::string Absolute(const std::string& path) const;
    // The failure of the last request that failed, as the server or the session worded it.
    const std::string& Failure() const { return m_failure; }
    // The last failure was a host key that is unknown or has changed: the user decides with
    // an option (or with the known-hosts file), not by trying again.
    bool HostKeyRefused() const { return m_hostKeyRefused; }
    // What the recursive requests so far left out, one line each.
    const std::vector<std::string>& Skipped() const { return m_skipped; }
    // What recursive downloads could not fetch and went on past, "[path]: why" each.
    const std::vector<std::string>& Missed() const { return m_missed; }

private:
    bool Run(void (TThreadedFTPClient::*request)());
    bool Interrupted() const { return m_interrupted != nullptr && m_interrupted->load(); }
    bool Fail(const std::string& text);
    std::optional<std::string> AnswerSsh(const sftp::TSshQuestion& question);
    // The kind (folder or file) of each entry, from a listing of its folder.
    bool KindsOf(const std::string& folder, const std::vector<std::string>& names,
                 std::vector<std::intptr_t>& kinds);

    PumpedUiThread m_ui;
    std::shared_ptr<TThreadedFTPClient> m_client;
    ProgressLine m_progress;
    std::ostream& m_log;
    bool m_verbose;
    const std::atomic<bool>* m_interrupted;
    bool m_done = false;
    std::string m_home = "/";
    std::string m_failure;
    std::string m_refusedCertificate; // the fingerprint of a certificate the login refused
    std::string m_unknownHostKey;     // "ED25519 key SHA256:... of [host]:port", refused
    std::string m_unansweredSsh;      // a question of ssh nobody could answer
    bool m_hostKeyRefused = false;
    std::string m_transferName;
    std::vector<std::string> m_skipped;
    std::vector<std::string> m_missed;
};

} // namespace qx::cli
