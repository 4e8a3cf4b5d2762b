// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RealFtpServers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

#ifndef QX_TEST_SUPPORT_DIR
#error "QX_TEST_SUPPORT_DIR must name the folder of the test support files"
#endif

namespace qx::test {

namespace {

std::filesystem::path makeTempFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return buffer.data();
}

// Lets others (the ftp user of vsftpd) into the folder and every folder above it.
void openForOthers(std::filesystem::path folder) {
    folder = std::filesystem::absolute(folder);
    ::chmod(folder.c_str(), 0755);
    for (auto parent = folder.parent_path(); parent != parent.root_path();
         parent = parent.parent_path()) {
        struct stat info {};
        if (::stat(parent.c_str(), &info) == 0 && (info.st_mode & S_IXOTH) == 0) {
            ::chmod(parent.c_str(), info.st_mode | S_IXOTH);
        }
    }
}

} // namespace

// --- Child process ---------------------------------------------------------------------------

ChildProcess::~ChildProcess() {
    stop();
}

void ChildProcess::start(const std::vector<std::string>& argv) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const int result = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    m_stdin = in[1];
    m_stdout = out[0];
    if (result != 0) {
        m_pid = -1;
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

std::string ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return {};
        }
        pollfd entry{m_stdout, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return {};
        }
        char buffer[256];
        const ssize_t count = ::read(m_stdout, buffer, sizeof buffer);
        if (count <= 0) {
            return {};
        }
        m_buffer.append(buffer, static_cast<std::size_t>(count));
    }
}

bool ChildProcess::running() {
    if (m_pid <= 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return false;
    }
    return true;
}

void ChildProcess::stop() {
    if (m_stdin >= 0) {
        ::close(m_stdin);
        m_stdin = -1;
    }
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }
    if (m_stdout >= 0) {
        ::close(m_stdout);
        m_stdout = -1;
    }
}

// --- Ports -----------------------------------------------------------------------------------

namespace {

// The loopback address of the family, with the port.
sockaddr_storage loopback(bool ipv6, std::uint16_t port, socklen_t& length) {
    sockaddr_storage storage{};
    if (ipv6) {
        auto* address = reinterpret_cast<sockaddr_in6*>(&storage);
        address->sin6_family = AF_INET6;
        address->sin6_addr = in6addr_loopback;
        address->sin6_port = htons(port);
        length = sizeof(sockaddr_in6);
    } else {
        auto* address = reinterpret_cast<sockaddr_in*>(&storage);
        address->sin_family = AF_INET;
        address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address->sin_port = htons(port);
        length = sizeof(sockaddr_in);
    }
    return storage;
}

} // namespace

std::uint16_t FreeLoopbackPort(bool ipv6) {
    const int fd = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    socklen_t length = 0;
    sockaddr_storage address = loopback(ipv6, 0, length);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ipv6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port)
                : ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

bool WaitForLoopbackPort(std::uint16_t port, std::chrono::milliseconds timeout, bool ipv6) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const int fd = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        socklen_t length = 0;
        const sockaddr_storage address = loopback(ipv6, port, length);
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
        ::close(fd);
        if (connected) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// --- Certificates ----------------------------------------------------------------------------

bool TestCertificate::available() {
    return std::system("openssl version >/dev/null 2>&1") == 0;
}

TestCertificate::TestCertificate(const std::string& commonName) {
    m_folder = makeTempFolder("qx-cert-");
    ::chmod(m_folder.c_str(), 0755);
    m_certificate = m_folder / "server.pem";
    m_key = m_folder / "server.key";
    const std::string make =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=" + commonName +
        "' -keyout '" + m_key.string() + "' -out '" + m_certificate.string() + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
        throw std::runtime_error("openssl could not make a certificate");
    }
    ::chmod(m_key.c_str(), 0644); // pyftpdlib and vsftpd read it as other users may
    const std::string print = "openssl x509 -noout -fingerprint -sha256 -in '" +
                              m_certificate.string() + "' > '" + (m_folder / "fp").string() + "'";
    if (std::system(print.c_str()) != 0) {
        throw std::runtime_error("openssl could not print the fingerprint");
    }
    std::ifstream in(m_folder / "fp");
    std::string line;
    std::getline(in, line);
    m_sha256 = line.substr(line.find('=') + 1);
}

TestCertificate::~TestCertificate() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

// --- pyftpdlib -------------------------------------------------------------------------------

bool PyFtpdServer::available() {
    return ::access("/usr/bin/python3", X_OK) == 0 &&
           std::system("/usr/bin/python3 -c 'import pyftpdlib' >/dev/null 2>&1") == 0;
}

bool PyFtpdServer::tlsAvailable() {
    return available() && std::system("/usr/bin/python3 -c 'import OpenSSL' >/dev/null 2>&1") == 0;
}

PyFtpdServer::PyFtpdServer(const std::filesystem::path& root) : PyFtpdServer(root, Options{}) {}

PyFtpdServer::PyFtpdServer(const std::filesystem::path& root, Options options) {
    std::vector<std::string> argv{"/usr/bin/python3",
                                  std::string(QX_TEST_SUPPORT_DIR) + "/pyftpd_server.py", "--root",
                                  std::filesystem::absolute(root).string(), "--watch-stdin"};
    if (options.permitForeignAddresses) {
        argv.emplace_back("--permit-foreign-addresses");
    }
    if (options.tls != nullptr) {
        argv.insert(argv.end(), {"--tls-certificate", options.tls->certificate().string(),
                                 "--tls-key", options.tls->key().string()});
    }
    if (options.throttle > 0) {
        argv.insert(argv.end(), {"--throttle", std::to_string(options.throttle)});
    }
    if (options.throttleUploads > 0) {
        argv.insert(argv.end(), {"--throttle-upload", std::to_string(options.throttleUploads)});
    }
    if (options.rawNames) {
        argv.emplace_back("--raw-names");
    }
    if (options.idleTimeout > 0) {
        argv.insert(argv.end(), {"--idle-timeout", std::to_string(options.idleTimeout)});
    }
    if (options.maxConnectionsPerAddress > 0) {
        argv.insert(argv.end(),
                    {"--max-cons-per-ip", std::to_string(options.maxConnectionsPerAddress)});
    }
    m_process.start(argv);
    const std::string line = m_process.readLine(std::chrono::seconds(15));
    if (line.empty()) {
        throw std::runtime_error("pyftpdlib did not start");
    }
    m_port = static_cast<std::uint16_t>(std::stoi(line));
}

// --- vsftpd ----------------------------------------------------------------------------------

std::string VsftpdServer::unavailableReason() {
    if (::access("/usr/sbin/vsftpd", X_OK) != 0) {
        return "vsftpd is not installed";
    }
    if (::geteuid() != 0) {
        return "vsftpd needs root to run anonymous sessions";
    }
    if (::getpwnam("ftp") == nullptr) {
        return "there is no ftp user";
    }
    return {};
}

VsftpdServer::VsftpdServer(const std::filesystem::path& root) : VsftpdServer(root, Options{}) {}

VsftpdServer::VsftpdServer(const std::filesystem::path& root, Options options) {
    const bool ipv6 = options.family == Family::Ipv6;
    const std::string reason = unavailableReason();
    if (!reason.empty()) {
        throw std::runtime_error(reason);
    }
    const passwd* ftp = ::getpwnam("ftp");
    openForOthers(root);
    m_incoming = root / "incoming";
    std::filesystem::create_directories(m_incoming);
    ::chown(m_incoming.c_str(), ftp->pw_uid, ftp->pw_gid);
    ::chmod(m_incoming.c_str(), 0755);

    m_configFolder = makeTempFolder("qx-vsftpd-");
    const auto emptyFolder = m_configFolder / "empty";
    std::filesystem::create_directory(emptyFolder);
    ::chmod(emptyFolder.c_str(), 0755);
    const auto config = m_configFolder / "vsftpd.conf";

    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = FreeLoopbackPort(ipv6);
        {
            std::ofstream out(config, std::ios::trunc);
            out << (ipv6 ? "listen=NO\nlisten_ipv6=YES\nlisten_address6=::1\n"
                         : "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\n")
                << "background=NO\nlisten_port=" << m_port << "\n"
                << "anonymous_enable=YES\nlocal_enable=NO\nno_anon_password=YES\n"
                << "write_enable=YES\nanon_upload_enable=YES\nanon_mkdir_write_enable=YES\n"
                << "anon_other_write_enable=YES\nanon_umask=022\n"
                << "anon_root=" << std::filesystem::absolute(root).string() << "\n"
                << "allow_writeable_chroot=YES\nseccomp_sandbox=NO\nisolate=NO\n"
                << "isolate_network=NO\nconnect_from_port_20=NO\n"
                << "secure_chroot_dir=" << emptyFolder.string() << "\n"
                << "pasv_enable=YES\npasv_promiscuous=YES\nport_promiscuous=YES\n"
                << "ascii_upload_enable=YES\nascii_download_enable=YES\nforce_dot_files=YES\n"
                << "xferlog_enable=NO\nuse_localtime=NO\ndirmessage_enable=NO\n"
                << "ftpd_banner=vsftpd test server ready.\n"
                << "mdtm_write=" << (options.mdtmWrite ? "YES" : "NO") << "\n";
            if (options.tls != TestTls::None && options.certificate != nullptr) {
                out << "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\n"
                    << "force_anon_data_ssl=YES\nrequire_ssl_reuse=YES\n"
                    << "strict_ssl_read_eof=YES\nssl_ciphers=HIGH\n"
                    << "rsa_cert_file=" << options.certificate->certificate().string() << "\n"
                    << "rsa_private_key_file=" << options.certificate->key().string() << "\n"
                    << "implicit_ssl=" << (options.tls == TestTls::Implicit ? "YES" : "NO") << "\n";
            }
        }
        ::chmod(config.c_str(), 0600);
        m_process.start({"/usr/sbin/vsftpd", config.string()});
        if (WaitForLoopbackPort(m_port, std::chrono::seconds(5), ipv6) && m_process.running()) {
            return;
        }
        m_process.stop();
    }
    throw std::runtime_error("vsftpd did not start");
}

void VsftpdServer::giveToFtpUser(const std::filesystem::path& path) {
    if (const passwd* ftp = ::getpwnam("ftp")) {
        ::chown(path.c_str(), ftp->pw_uid, ftp->pw_gid);
    }
}

VsftpdServer::~VsftpdServer() {
    m_process.stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_configFolder, ignored);
}

} // namespace qx::test
