// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/sftp/SshArguments.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace qx::test {

// A key pair made with ssh-keygen (type "ed25519" or "rsa").
struct SshKey {
    std::filesystem::path privateKey;
    std::string publicLine;  // "ssh-ed25519 AAAA... comment"
    std::string fingerprint; // "SHA256:..."
};
SshKey MakeSshKey(const std::filesystem::path& folder, const std::string& name,
                  const std::string& passphrase = "", const std::string& type = "ed25519");

// What every SSH test server gives the client side: a folder of its own with the server's
// host key, and an ssh configuration (used with -F, so that neither ~/.ssh nor /etc/ssh is
// read) whose known-hosts file is in the folder, empty until trustHostKey(). No agent is
// asked; only the key files the configuration names are offered.
class SshTestPeer {
public:
    SshTestPeer();
    virtual ~SshTestPeer() = default;
    SshTestPeer(const SshTestPeer&) = delete;
    SshTestPeer& operator=(const SshTestPeer&) = delete;

    std::uint16_t port() const { return m_port; }
    // The folder the SFTP login starts in.
    const std::filesystem::path& root() const { return m_root; }
    const std::filesystem::path& knownHosts() const { return m_knownHosts; }
    const SshKey& hostKey() const { return m_hostKey; }
    // Adds the server's host key to the known hosts; with another key: as if it had changed.
    void trustHostKey();
    void trustOtherHostKey();
    // Host 127.0.0.1 on the port, this configuration, a time limit of 20 seconds.
    sftp::TSshTarget target() const;
    // The folder of the server's files, for more keys and configurations of a test.
    const std::filesystem::path& folder() const { return m_folder.path(); }
    // Writes another client configuration NAME: the lines first (Host blocks of their own, or
    // settings for every host), then what every configuration here holds (the known-hosts file,
    // IdentitiesOnly). Neither a key nor the agent is named. Returns its path.
    std::filesystem::path writeConfig(const std::string& name, const std::string& lines) const;

protected:
    // Writes the client configuration; identity: a key to offer, or none.
    void writeClientConfig(const std::filesystem::path& identity);
    TempDir m_folder;
    std::filesystem::path m_root;
    std::filesystem::path m_knownHosts;
    std::filesystem::path m_clientConfig;
    SshKey m_hostKey;
    std::uint16_t m_port = 0;
};

// OpenSSH's sshd on a free loopback port with a configuration of its own: key logins of the
// current user with a key made for the test, SFTP by internal-sftp starting in root().
class SshdServer : public SshTestPeer {
public:
    SshdServer();
    ~SshdServer() override;
    // Empty when sshd can run here, else why not.
    static std::string unavailableReason();
    // The key the login of target() offers.
    const SshKey& userKey() const { return m_userKey; }
    // Lets the key log in as well (sshd reads its authorized keys at each login).
    void authorize(const SshKey& key) const;

private:
    SshKey m_userKey;
    std::filesystem::path m_authorizedKeys;
    ChildProcess m_process;
};

// The scripted SFTP server of tests/support/sftp_server.py (python3-asyncssh), for logins
// that ask (password "secret"; keyboard-interactive "Verification code: " answered "4242")
// and for servers that misbehave. Modes: password, kbdint, stall (READ beyond the first
// block never answered), drop (the connection cut at the second READ), hostile (listings
// with names no file can have).
class AsyncSshServer : public SshTestPeer {
public:
    explicit AsyncSshServer(const std::string& mode);
    static std::string unavailableReason();

private:
    ChildProcess m_process;
};

} // namespace qx::test
