// SPDX-License-Identifier: GPL-3.0-or-later
// The engine over TLS against real servers on loopback: vsftpd with TLS required for login and
// data, session reuse required and a close notification required at the end of uploads, in
// explicit and implicit mode; pyftpdlib's TLS handler. TLS 1.2 and 1.3, passive and active.

#include "support/EngineHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>

using namespace qx;
using namespace qx::test;

namespace {

enum class Server { VsftpdExplicit, VsftpdImplicit, PyFtpd };

struct TlsSetup {
    Server server;
    bool passive;
    int tlsVersion; // 12 or 13
};

class TlsRealServer : public ::testing::TestWithParam<TlsSetup> {
protected:
    void SetUp() override {
        if (!TestCertificate::available()) {
            GTEST_SKIP() << "the openssl tool is not installed";
        }
        m_certificate = std::make_unique<TestCertificate>();
        const TlsSetup setup = GetParam();
        if (setup.server == Server::PyFtpd) {
            if (!PyFtpdServer::tlsAvailable()) {
                GTEST_SKIP() << "pyftpdlib or python3-openssl is not installed";
            }
            PyFtpdServer::Options options;
            options.tls = m_certificate.get();
            m_pyftpd = std::make_unique<PyFtpdServer>(m_root.path(), options);
            m_port = m_pyftpd->portText();
        } else {
            const std::string reason = VsftpdServer::unavailableReason();
            if (!reason.empty()) {
                GTEST_SKIP() << reason;
            }
            VsftpdServer::Options options;
            options.tls =
                setup.server == Server::VsftpdImplicit ? TestTls::Implicit : TestTls::Explicit;
            options.certificate = m_certificate.get();
            m_vsftpd = std::make_unique<VsftpdServer>(m_root.path(), options);
            m_port = m_vsftpd->portText();
            m_uploads = "incoming/";
        }
        m_harness = std::make_unique<EngineHarness>(m_port);
        TFtpClientEx& engine = m_harness->engine;
        engine.Passive = setup.passive;
        engine.InactivityLimit = 30;
        engine.TlsMode = setup.server == Server::VsftpdImplicit ? TFtpTlsMode::Implicit
                                                                : TFtpTlsMode::ExplicitRequired;
        engine.TlsMaxVersion = setup.tlsVersion == 12 ? 12 : 0;
    }

    EngineHarness& h() { return *m_harness; }
    TFtpClientEx& engine() { return m_harness->engine; }
    void trustTestCertificate() { engine().TlsTrustedFingerprints = {m_certificate->sha256()}; }
    bool loginBinary() {
        trustTestCertificate();
        return h().login() && run(&TCustomFtpCliEx::SetTypeBinary) == 0;
    }
    std::filesystem::path uploadFolder() const { return m_root.path() / m_uploads; }
    bool sent(const std::string& prefix) {
        return std::any_of(h().display.begin(), h().display.end(), [&](const std::string& line) {
            return line.rfind("> " + prefix, 0) == 0;
        });
    }
    bool shown(const std::string& part) {
        return std::any_of(h().display.begin(), h().display.end(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        });
    }

    int run(void (TCustomFtpCliEx::*request)()) {
        const std::size_t before = h().done.size();
        (engine().*request)();
        const bool finished = h().waitDone(before + 1, std::chrono::seconds(60));
        EXPECT_TRUE(finished);
        if (!finished) {
            for (const auto& line : h().display) {
                ADD_FAILURE() << line;
            }
        }
        const int result = h().done.size() > before ? h().done.back().second : -1;
        if (result != 0 && std::getenv("QX_TEST_VERBOSE") != nullptr) {
            for (const auto& line : h().display) {
                std::cerr << line << "\n";
            }
        }
        return result;
    }

    // After a successful transfer: data connections were protected and resumed the session.
    void expectProtectedAndResumed() {
        EXPECT_TRUE(engine().DataProtected());
        if (m_vsftpd) {
            EXPECT_TRUE(engine().DataSessionReused()); // vsftpd would have refused it otherwise
        }
    }

    TempDir m_root;
    TempDir m_local;
    std::unique_ptr<TestCertificate> m_certificate;
    std::unique_ptr<PyFtpdServer> m_pyftpd;
    std::unique_ptr<VsftpdServer> m_vsftpd;
    std::unique_ptr<EngineHarness> m_harness;
    std::string m_port;
    std::string m_uploads;
};

} // namespace

TEST_P(TlsRealServer, ListsDownloadsAndResumesOverTls) {
    const std::string content = randomBytes(3 * 1024 * 1024 + 17, 1);
    m_root.write("data.bin", content);
    ASSERT_TRUE(loginBinary()) << engine().ErrorMessage();
    EXPECT_TRUE(engine().TlsActive());
    EXPECT_EQ(engine().PeerCertificate().Sha256, m_certificate->sha256());
    const bool implicit = GetParam().server == Server::VsftpdImplicit;
    EXPECT_EQ(sent("AUTH TLS"), !implicit);
    EXPECT_TRUE(shown(GetParam().tlsVersion == 12 ? "TLSv1.2" : "TLSv1.3"));

    engine().HostDirName = "/";
    ASSERT_EQ(run(&TCustomFtpCliEx::Cwd), 0);
    engine().LocalFileName = m_local.file("listing.tmp");
    engine().HostFileName.clear();
    ASSERT_EQ(run(&TCustomFtpCliEx::Dir), 0) << engine().ErrorMessage();
    EXPECT_NE(readFile(m_local.file("listing.tmp")).find("data.bin"), std::string::npos);
    expectProtectedAndResumed();

    engine().HostFileName = "data.bin";
    engine().LocalFileName = m_local.file("whole.bin");
    ASSERT_EQ(run(&TCustomFtpCliEx::Get), 0) << engine().ErrorMessage();
    EXPECT_TRUE(readFile(m_local.file("whole.bin")) == content);
    expectProtectedAndResumed();

    m_local.write("part.bin.part", content.substr(0, 1000000)); // what a failed one left
    engine().LocalFileName = m_local.file("part.bin");
    ASSERT_EQ(run(&TCustomFtpCliEx::ResumeGet), 0) << engine().ErrorMessage();
    EXPECT_TRUE(sent("REST 1000000"));
    EXPECT_TRUE(readFile(m_local.file("part.bin")) == content);
    EXPECT_EQ(run(&TCustomFtpCliEx::Quit), 0);
}

TEST_P(TlsRealServer, UploadsAndResumedUploadsEndCleanly) {
    const std::string content = randomBytes(2 * 1024 * 1024 + 5, 2);
    ASSERT_TRUE(loginBinary()) << engine().ErrorMessage();
    engine().LocalFileName = m_local.write("up.bin", content);
    engine().HostFileName = m_uploads + "up.bin";
    ASSERT_EQ(run(&TCustomFtpCliEx::Put), 0) << engine().ErrorMessage();
    EXPECT_TRUE(readFile(uploadFolder() / "up.bin") == content)
        << readFile(uploadFolder() / "up.bin").size();
    expectProtectedAndResumed();

    // An empty file: the handshake and the close notification are all that travels.
    engine().LocalFileName = m_local.write("empty.bin", "");
    engine().HostFileName = m_uploads + "empty.bin";
    ASSERT_EQ(run(&TCustomFtpCliEx::Put), 0) << engine().ErrorMessage();
    EXPECT_TRUE(std::filesystem::exists(uploadFolder() / "empty.bin"));
    EXPECT_EQ(std::filesystem::file_size(uploadFolder() / "empty.bin"), 0U);

    {
        std::ofstream partial(uploadFolder() / "resumed.bin", std::ios::binary);
        partial << content.substr(0, 700000);
    }
    if (m_vsftpd) {
        VsftpdServer::giveToFtpUser(uploadFolder() / "resumed.bin");
    }
    engine().LocalFileName = m_local.file("up.bin");
    engine().HostFileName = m_uploads + "resumed.bin";
    ASSERT_EQ(run(&TCustomFtpCliEx::Size), 0);
    ASSERT_EQ(engine().SizeResult(), 700000);
    engine().ResumeAt = engine().SizeResult();
    ASSERT_EQ(run(&TCustomFtpCliEx::Append), 0) << engine().ErrorMessage();
    EXPECT_TRUE(readFile(uploadFolder() / "resumed.bin") == content);
}

TEST_P(TlsRealServer, AnUntrustedCertificateStopsTheLoginBeforeTheUserName) {
    engine().UserName = "anonymous";
    engine().PassWord = "guest@";
    EXPECT_NE(run(&TCustomFtpCliEx::Connect), 0);
    EXPECT_TRUE(engine().CertificateRejected());
    EXPECT_FALSE(sent("USER"));
    EXPECT_FALSE(sent("PASS"));
    EXPECT_NE(engine().ErrorMessage().find("is not trusted"), std::string::npos)
        << engine().ErrorMessage();
    const TTlsCertificateInfo& certificate = engine().PeerCertificate();
    EXPECT_EQ(certificate.Sha256, m_certificate->sha256());
    EXPECT_NE(certificate.Subject.find("CN=localhost"), std::string::npos);
    EXPECT_FALSE(certificate.Verified());
    EXPECT_FALSE(certificate.NotAfter.empty());

    // Another certificate's fingerprint is no trust for this one.
    engine().TlsTrustedFingerprints = {std::string(95, 'A')};
    EXPECT_NE(run(&TCustomFtpCliEx::Connect), 0);
    EXPECT_TRUE(engine().CertificateRejected());

    // Its own fingerprint, written another way, is.
    std::string lower = m_certificate->sha256();
    lower.erase(std::remove(lower.begin(), lower.end(), ':'), lower.end());
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    engine().TlsTrustedFingerprints = {lower};
    EXPECT_EQ(run(&TCustomFtpCliEx::Connect), 0) << engine().ErrorMessage();
    EXPECT_FALSE(engine().CertificateRejected());
}

INSTANTIATE_TEST_SUITE_P(Servers, TlsRealServer,
                         ::testing::Values(TlsSetup{Server::VsftpdExplicit, true, 12},
                                           TlsSetup{Server::VsftpdExplicit, true, 13},
                                           TlsSetup{Server::VsftpdExplicit, false, 12},
                                           TlsSetup{Server::VsftpdExplicit, false, 13},
                                           TlsSetup{Server::VsftpdImplicit, true, 13},
                                           TlsSetup{Server::VsftpdImplicit, false, 12},
                                           TlsSetup{Server::PyFtpd, true, 13},
                                           TlsSetup{Server::PyFtpd, false, 12}),
                         [](const ::testing::TestParamInfo<TlsSetup>& param) {
                             const char* server =
                                 param.param.server == Server::VsftpdExplicit   ? "VsftpdExplicit"
                                 : param.param.server == Server::VsftpdImplicit ? "VsftpdImplicit"
                                                                                : "PyFtpd";
                             return std::string(server) +
                                    (param.param.passive ? "Passive" : "Active") + "Tls" +
                                    std::to_string(param.param.tlsVersion);
                         });
