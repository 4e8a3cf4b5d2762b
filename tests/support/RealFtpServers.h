// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qx::test {

// A child process that is killed (and reaped) when the object goes away.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts the program; its standard input stays open until the object goes away and its
    // standard output can be read with readLine().
    void start(const std::vector<std::string>& argv);
    // The next line of standard output, or empty after the time-out.
    std::string readLine(std::chrono::milliseconds timeout);
    bool running();
    void stop();

private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_stdout = -1;
    std::string m_buffer;
};

// A self-signed certificate and its key, made with the openssl tool in a folder of its own
// (removed with the object).
class TestCertificate {
public:
    // commonName goes into the subject; the certificate names no other host.
    explicit TestCertificate(const std::string& commonName = "localhost");
    ~TestCertificate();
    TestCertificate(const TestCertificate&) = delete;
    TestCertificate& operator=(const TestCertificate&) = delete;

    const std::filesystem::path& certificate() const { return m_certificate; }
    const std::filesystem::path& key() const { return m_key; }
    // "AB:CD:..." as openssl prints it.
    const std::string& sha256() const { return m_sha256; }
    static bool available();

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_certificate;
    std::filesystem::path m_key;
    std::string m_sha256;
};

enum class TestTls { None, Explicit, Implicit };

// A pyftpdlib server on 127.0.0.1 serving a folder, for anonymous users and for the user
// "user" with password "secret", with full rights.
class PyFtpdServer {
public:
    struct Options {
        bool permitForeignAddresses = false;
        // With a certificate: explicit TLS, required for the login and for data connections.
        const TestCertificate* tls = nullptr;
        // Control connections taken from one address at a time (0: no limit); the ones beyond
        // get "421 Too many connections from the same IP address." and are closed.
        int maxConnectionsPerAddress = 0;
        // Downloads go out at most this many bytes a second (0: no limit), and uploads are
        // taken at most this many.
        int throttle = 0;
        int throttleUploads = 0;
        // File names are the bytes on disk in any character set, and FEAT offers no UTF8.
        bool rawNames = false;
        // A session without a command for so many seconds gets 421 and is closed (0: never).
        int idleTimeout = 0;
    };
    explicit PyFtpdServer(const std::filesystem::path& root);
    PyFtpdServer(const std::filesystem::path& root, Options options);

    std::uint16_t port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    static bool available();
    // pyftpdlib's TLS handler needs python3-openssl.
    static bool tlsAvailable();

private:
    ChildProcess m_process;
    std::uint16_t m_port = 0;
};

// vsftpd on 127.0.0.1 for anonymous users, with uploads allowed and passive and active
// connections to and from other servers allowed (as server-to-server copies need). Needs root,
// as vsftpd runs anonymous sessions as the "ftp" user: the served folder is made readable
// for that user, and uploads go to its subfolder "incoming" owned by "ftp".
class VsftpdServer {
public:
    enum class Family { Ipv4, Ipv6 };
    // TLS: required for anonymous logins and data, with TLS sessions of data connections
    // required to resume the control connection's; uploads must end with a close
    // notification (strict_ssl_read_eof). The server listens on 127.0.0.1, or on ::1 for
    // Family::Ipv6.
    struct Options {
        TestTls tls = TestTls::None;
        const TestCertificate* certificate = nullptr;
        Family family = Family::Ipv4;
        // "MDTM time path" sets a file's time (vsftpd's default); off, nothing does.
        bool mdtmWrite = true;
    };
    explicit VsftpdServer(const std::filesystem::path& root);
    VsftpdServer(const std::filesystem::path& root, Options options);
    ~VsftpdServer();
    VsftpdServer(const VsftpdServer&) = delete;
    VsftpdServer& operator=(const VsftpdServer&) = delete;

    std::uint16_t port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    const std::filesystem::path& incoming() const { return m_incoming; }
    // Makes a file that the test put below the served folder writable for the ftp user.
    static void giveToFtpUser(const std::filesystem::path& path);
    // Empty when vsftpd can run here, else why not.
    static std::string unavailableReason();

private:
    std::filesystem::path m_configFolder;
    std::filesystem::path m_incoming;
    ChildProcess m_process;
    std::uint16_t m_port = 0;
};

// A SOCKS5 proxy (microsocks) on 127.0.0.1, with a user name and password when given.
class SocksProxy {
public:
    explicit SocksProxy(const std::string& user = {}, const std::string& password = {});
    std::uint16_t port() const { return m_port; }
    static bool available();

private:
    ChildProcess m_process;
    std::uint16_t m_port = 0;
};

// The tests' HTTP CONNECT proxy (http_connect_proxy.py) on 127.0.0.1; flags are its options
// ("--refuse", "--malformed", "--endless-header", "--user", NAME, ...).
class HttpConnectProxy {
public:
    explicit HttpConnectProxy(const std::vector<std::string>& flags = {});
    std::uint16_t port() const { return m_port; }

private:
    ChildProcess m_process;
    std::uint16_t m_port = 0;
};

// A TCP port on 127.0.0.1 that was free a moment ago.
std::uint16_t FreeLoopbackPort(bool ipv6 = false);
// True when something accepts connections on the loopback port within the time-out.
bool WaitForLoopbackPort(std::uint16_t port, std::chrono::milliseconds timeout, bool ipv6 = false);

} // namespace qx::test
