// SPDX-License-Identifier: GPL-3.0-or-later
// quorvin-ftp over TLS: --tls, --pin and --insecure against pyftpdlib's TLS handler, ftps://
// against vsftpd in implicit mode, and the refusal of a certificate nobody vouched for.

#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <random>

#ifndef QX_CLI_BINARY
#error "QX_CLI_BINARY must name the quorvin-ftp binary"
#endif

using namespace qx::test;

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

Result runCli(const TempDir& scratch, const std::vector<std::string>& args) {
    std::string command = quote(QX_CLI_BINARY);
    for (const auto& arg : args) {
        command += " " + quote(arg);
    }
    const auto out = scratch.file("stdout.txt");
    const auto err = scratch.file("stderr.txt");
    command += " >" + quote(out) + " 2>" + quote(err) + " </dev/null";
    const int status = std::system(command.c_str());
    Result result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

std::string randomBytes(std::size_t size) {
    std::mt19937 random(11);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

} // namespace

TEST(QuorvinFtpCliTls, ACertificateNobodyVouchedForIsRefusedWithItsFingerprint) {
    if (!TestCertificate::available() || !PyFtpdServer::tlsAvailable()) {
        GTEST_SKIP() << "openssl, pyftpdlib or python3-openssl is not installed";
    }
    TestCertificate certificate;
    TempDir root;
    TempDir local;
    const std::string content = randomBytes(1024 * 1024 + 7);
    root.write("data.bin", content);
    PyFtpdServer server(root.path(), {.tls = &certificate});
    const std::string base = "ftp://127.0.0.1:" + server.portText() + "/";

    Result refused = runCli(local, {"ls", "--tls", base});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("is not trusted"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--pin " + certificate.sha256()), std::string::npos) << refused.err;

    Result wrongPin = runCli(local, {"ls", "--tls", "--pin", std::string(64, 'a'), base});
    EXPECT_EQ(wrongPin.exitCode, 1);

    Result pinned = runCli(local, {"get", "--tls", "--pin", certificate.sha256(), base + "data.bin",
                                   local.file("data.bin")});
    EXPECT_EQ(pinned.exitCode, 0) << pinned.err;
    EXPECT_TRUE(readFile(local.file("data.bin")) == content);

    local.write("up.bin", content);
    Result insecure = runCli(
        local, {"put", "--tls-if-available", "--insecure", local.file("up.bin"), base + "up.bin"});
    EXPECT_EQ(insecure.exitCode, 0) << insecure.err;
    EXPECT_TRUE(readFile(root.path() / "up.bin") == content);

    Result badPin = runCli(local, {"ls", "--tls", "--pin", "xyz", base});
    EXPECT_EQ(badPin.exitCode, 2);
    EXPECT_NE(badPin.err.find("--pin needs a SHA-256 fingerprint"), std::string::npos);
}

TEST(QuorvinFtpCliTls, FtpsUrlsSpeakImplicitTls) {
    if (!TestCertificate::available()) {
        GTEST_SKIP() << "the openssl tool is not installed";
    }
    if (const std::string reason = VsftpdServer::unavailableReason(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    TestCertificate certificate;
    TempDir root;
    TempDir local;
    const std::string content = randomBytes(2 * 1024 * 1024 + 1);
    root.write("data.bin", content);
    VsftpdServer server(root.path(), {TestTls::Implicit, &certificate});
    const std::string base = "ftps://127.0.0.1:" + server.portText() + "/";
    Result got = runCli(local, {"get", "--resume", "--pin", certificate.sha256(), base + "data.bin",
                                local.file("data.bin")});
    EXPECT_EQ(got.exitCode, 0) << got.err;
    EXPECT_TRUE(readFile(local.file("data.bin")) == content);

    // Plain FTP to the implicit port gets no greeting it can read: a failure, not a hang.
    Result plain =
        runCli(local, {"ls", "--timeout", "3", "ftp://127.0.0.1:" + server.portText() + "/"});
    EXPECT_NE(plain.exitCode, 0);
}
