// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SshTestServer.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

#ifndef QX_TEST_SUPPORT_DIR
#error "QX_TEST_SUPPORT_DIR must name the folder of the test support files"
#endif

namespace qx::test {

namespace {

constexpr const char* kSshd = "/usr/sbin/sshd";
constexpr const char* kPython = "/usr/bin/python3";

// Runs a command line (arguments quoted by the caller) and returns its output.
std::string RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        output += buffer.data();
    }
    return output;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::trunc);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string CurrentUser() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_name : "root";
}

} // namespace

SshKey MakeSshKey(const std::filesystem::path& folder, const std::string& name,
                  const std::string& passphrase, const std::string& type) {
    SshKey key;
    key.privateKey = folder / name;
    const std::string bits = type == "rsa" ? " -b 2048" : "";
    RunCommand("ssh-keygen -q -t " + Quoted(type) + bits + " -C qx-test -N " + Quoted(passphrase) +
               " -f " + Quoted(key.privateKey.string()) + " </dev/null >/dev/null 2>&1");
    key.publicLine = Trimmed(readFile(key.privateKey.string() + ".pub"));
    // "256 SHA256:xyz qx-test (ED25519)"
    const std::string listed =
        RunCommand("ssh-keygen -l -E sha256 -f " + Quoted(key.privateKey.string() + ".pub"));
    const std::size_t start = listed.find("SHA256:");
    if (key.publicLine.empty() || start == std::string::npos) {
        throw std::runtime_error("ssh-keygen made no key in " + folder.string());
    }
    key.fingerprint = listed.substr(start, listed.find(' ', start) - start);
    return key;
}

SshTestPeer::SshTestPeer() {
    m_root = m_folder.path() / "root";
    std::filesystem::create_directories(m_root);
    m_knownHosts = m_folder.path() / "known_hosts";
    m_clientConfig = m_folder.path() / "ssh_config";
    WriteText(m_knownHosts, "");
    m_hostKey = MakeSshKey(m_folder.path(), "host_key");
    m_port = FreeLoopbackPort();
}

void SshTestPeer::writeClientConfig(const std::filesystem::path& identity) {
    std::string config = "Host *\n"
                         "  IdentityAgent none\n"
                         "  IdentitiesOnly yes\n"
                         "  GlobalKnownHostsFile /dev/null\n"
                         "  UserKnownHostsFile " +
                         m_knownHosts.string() + "\n" + "  PasswordAuthentication yes\n";
    if (!identity.empty()) {
        config += "  IdentityFile " + identity.string() + "\n";
    } else {
        config += "  PubkeyAuthentication no\n";
    }
    WriteText(m_clientConfig, config);
}

std::filesystem::path SshTestPeer::writeConfig(const std::string& name,
                                               const std::string& lines) const {
    const auto path = m_folder.path() / name;
    WriteText(path, lines +
                        "\nHost *\n  IdentitiesOnly yes\n  GlobalKnownHostsFile /dev/null\n"
                        "  UserKnownHostsFile " +
                        m_knownHosts.string() + "\n");
    return path;
}

void SshTestPeer::trustHostKey() {
    WriteText(m_knownHosts,
              "[127.0.0.1]:" + std::to_string(m_port) + " " + m_hostKey.publicLine + "\n");
}

void SshTestPeer::trustOtherHostKey() {
    const SshKey other = MakeSshKey(m_folder.path(), "other_host_key");
    WriteText(m_knownHosts,
              "[127.0.0.1]:" + std::to_string(m_port) + " " + other.publicLine + "\n");
}

sftp::TSshTarget SshTestPeer::target() const {
    sftp::TSshTarget target;
    target.Host = "127.0.0.1";
    target.Port = m_port;
    target.ConfigFile = m_clientConfig.string();
    target.TimeoutSeconds = 20;
    return target;
}

// --- sshd -------------------------------------------------------------------------------------

std::string SshdServer::unavailableReason() {
    if (::access(kSshd, X_OK) != 0) {
        return "sshd is not installed (openssh-server)";
    }
    if (::access("/usr/bin/ssh-keygen", X_OK) != 0) {
        return "ssh-keygen is not installed";
    }
    return {};
}

SshdServer::SshdServer() {
    // Privilege separation needs its empty folder; the system service would make it.
    if (::getuid() == 0) {
        ::mkdir("/run/sshd", 0755);
    }
    m_userKey = MakeSshKey(m_folder.path(), "user_key");
    m_authorizedKeys = m_folder.path() / "authorized_keys";
    WriteText(m_authorizedKeys, m_userKey.publicLine + "\n");
    const auto config = m_folder.path() / "sshd_config";
    WriteText(config, "Port " + std::to_string(m_port) +
                          "\n"
                          "ListenAddress 127.0.0.1\n"
                          "HostKey " +
                          m_hostKey.privateKey.string() +
                          "\n"
                          "AuthorizedKeysFile " +
                          m_authorizedKeys.string() +
                          "\n"
                          "PidFile " +
                          (m_folder.path() / "sshd.pid").string() +
                          "\n"
                          "UsePAM no\n"
                          "StrictModes no\n"
                          "PasswordAuthentication no\n"
                          "KbdInteractiveAuthentication no\n"
                          "PermitRootLogin prohibit-password\n"
                          "AllowUsers " +
                          CurrentUser() +
                          "\n"
                          "Subsystem sftp internal-sftp -d " +
                          m_root.string() + "\n");
    writeClientConfig(m_userKey.privateKey);
    m_process.start(
        {kSshd, "-D", "-f", config.string(), "-E", (m_folder.path() / "sshd.log").string()});
    if (!WaitForLoopbackPort(m_port, std::chrono::seconds(10))) {
        throw std::runtime_error("sshd did not start: " + readFile(m_folder.path() / "sshd.log"));
    }
}

void SshdServer::authorize(const SshKey& key) const {
    std::ofstream out(m_authorizedKeys, std::ios::app);
    out << key.publicLine << "\n";
}

SshdServer::~SshdServer() {
    m_process.stop();
}

// --- asyncssh ---------------------------------------------------------------------------------

std::string AsyncSshServer::unavailableReason() {
    if (::access(kPython, X_OK) != 0) {
        return "python3 is not installed";
    }
    const int status = std::system("/usr/bin/python3 -c 'import asyncssh' >/dev/null 2>&1");
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "python3-asyncssh is not installed";
    }
    return {};
}

AsyncSshServer::AsyncSshServer(const std::string& mode) {
    writeClientConfig({});
    m_process.start({kPython, std::string(QX_TEST_SUPPORT_DIR) + "/sftp_server.py", "--mode", mode,
                     "--root", m_root.string(), "--host-key", m_hostKey.privateKey.string(),
                     "--port", std::to_string(m_port)});
    if (m_process.readLine(std::chrono::seconds(20)) != "ready" ||
        !WaitForLoopbackPort(m_port, std::chrono::seconds(5))) {
        throw std::runtime_error("the asyncssh SFTP server did not start");
    }
}

} // namespace qx::test
