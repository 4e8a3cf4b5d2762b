// SPDX-License-Identifier: GPL-3.0-or-later
// The threaded session with TLS: a site that requires TLS never sends its user name in clear
// text, a certificate that cannot be verified is asked about (and refused unless trusted), and
// a trusted one carries the session.

#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qx;
using namespace qx::test;
using namespace std::chrono_literals;

namespace {

bool anyStartsWith(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

} // namespace

TEST(TlsSession, ARequiredTlsSiteStopsBeforeTheUserNameWhenAuthTlsIsRefused) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("AUTH TLS");
        s.reply("502 Command not implemented.");
        if (!s.waitForClientClose()) {
            throw ScriptFailure("the client stayed after the refusal");
        }
    });
    ClientHarness h(server.portText());
    h.client->Encryption = TFtpTlsMode::ExplicitRequired;
    h.client->LoginRetry = 3; // a refusal is no reason to try again
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect, 10s), 1);
    EXPECT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    EXPECT_FALSE(anyStartsWith(server.commands(), "USER"));
    EXPECT_FALSE(anyStartsWith(server.commands(), "PASS"));
    EXPECT_NE(h.client->ErrorMessage.find("refused AUTH TLS"), std::string::npos)
        << h.client->ErrorMessage;
}

TEST(TlsSession, TlsIfAvailableGoesOnInClearTextWhenRefused) {
    ScriptedFtpServer server([](ScriptedSession& s) {
        s.reply("220 Ready");
        s.expect("AUTH TLS");
        s.reply("500 AUTH not understood");
        s.expect("USER anonymous");
        s.reply("230 Logged in");
        s.expect("SYST");
        s.reply("215 UNIX Type: L8");
        s.expect("TYPE I");
        s.reply("200 Binary");
        s.expect("REST 1");
        s.reply("350 Restarting");
        s.expect("REST 0");
        s.reply("350 Restarting");
    });
    ClientHarness h(server.portText());
    h.client->Encryption = TFtpTlsMode::ExplicitIfAvailable;
    EXPECT_EQ(h.run(&TThreadedFTPClient::Connect, 10s), 0) << h.client->ErrorMessage;
    EXPECT_TRUE(server.waitFinished());
    EXPECT_EQ(server.failure(), "");
    EXPECT_TRUE(anyStartsWith(h.lines, "! The server offers no TLS"));
}

class TlsSessionAgainstPyftpd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TestCertificate::available() || !PyFtpdServer::tlsAvailable()) {
            GTEST_SKIP() << "openssl, pyftpdlib or python3-openssl is not installed";
        }
        m_certificate = std::make_unique<TestCertificate>();
        PyFtpdServer::Options options;
        options.tls = m_certificate.get();
        m_server = std::make_unique<PyFtpdServer>(m_root.path(), options);
        m_harness = std::make_unique<ClientHarness>(m_server->portText());
        m_harness->client->Encryption = TFtpTlsMode::ExplicitRequired;
        m_harness->client->OnCertificate =
            [this](TThreadedFTPClient&, const TCertificateQuestion& question, bool& trust) {
                m_questions.push_back(question);
                trust = m_trust;
            };
    }

    TempDir m_root;
    std::unique_ptr<TestCertificate> m_certificate;
    std::unique_ptr<PyFtpdServer> m_server;
    std::unique_ptr<ClientHarness> m_harness;
    std::vector<TCertificateQuestion> m_questions;
    bool m_trust = false;
};

TEST_F(TlsSessionAgainstPyftpd, AnUntrustedCertificateIsAskedAboutAndRefused) {
    m_harness->client->LoginRetry = 3;
    EXPECT_EQ(m_harness->run(&TThreadedFTPClient::Connect), 1);
    ASSERT_EQ(m_questions.size(), 1U); // asked once, not once per attempt
    EXPECT_EQ(m_questions[0].HostName, "127.0.0.1");
    EXPECT_EQ(m_questions[0].Port, m_server->portText());
    EXPECT_EQ(m_questions[0].Certificate.Sha256, m_certificate->sha256());
    EXPECT_FALSE(m_questions[0].Certificate.VerifyError.empty());
    EXPECT_NE(m_harness->client->ErrorMessage.find("is not trusted"), std::string::npos);
    EXPECT_FALSE(anyStartsWith(m_harness->lines, "> USER"));
}

TEST_F(TlsSessionAgainstPyftpd, ATrustedCertificateCarriesTheSessionAndItsTransfers) {
    m_root.write("a.txt", "over TLS");
    m_trust = true;
    ASSERT_EQ(m_harness->run(&TThreadedFTPClient::Connect), 0) << m_harness->client->ErrorMessage;
    EXPECT_EQ(m_questions.size(), 1U);
    EXPECT_TRUE(anyStartsWith(m_harness->lines, "> USER"));
    TempDir local;
    m_harness->client->HostFileName = "a.txt";
    m_harness->client->LocalFileName = local.file("a.txt");
    ASSERT_EQ(m_harness->run(&TThreadedFTPClient::DownloadFile), 0)
        << m_harness->client->ErrorMessage;
    EXPECT_EQ(readFile(local.file("a.txt")), "over TLS");
}

TEST_F(TlsSessionAgainstPyftpd, APinnedFingerprintNeedsNoQuestion) {
    m_harness->client->TrustedFingerprints = {m_certificate->sha256()};
    ASSERT_EQ(m_harness->run(&TThreadedFTPClient::Connect), 0) << m_harness->client->ErrorMessage;
    EXPECT_TRUE(m_questions.empty());
}
