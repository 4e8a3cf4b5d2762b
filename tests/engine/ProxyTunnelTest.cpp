// SPDX-License-Identifier: GPL-3.0-or-later
// The engine through real proxies on loopback: microsocks (SOCKS5, with and without a password)
// and the tests' HTTP CONNECT proxy, in front of pyftpdlib. The control connection and every
// passive data connection go through the tunnel; active mode and failing proxies end the
// request with a message that says why.

#include "support/EngineHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace qx;
using namespace qx::test;

namespace {

struct ProxySetup {
    TProxyKind kind;
    bool password;
};

class ProxyTunnel : public ::testing::TestWithParam<ProxySetup> {
protected:
    void SetUp() override {
        if (!PyFtpdServer::available() || !SocksProxy::available()) {
            GTEST_SKIP() << "pyftpdlib or microsocks is not installed";
        }
        m_server = std::make_unique<PyFtpdServer>(m_root.path());
        m_harness = std::make_unique<EngineHarness>(m_server->portText());
        engine().Passive = true;
        engine().InactivityLimit = 20;
        // The server is named, not numbered, so that SOCKS5 with "h" and HTTP hand the proxy a
        // name and plain SOCKS5 an address looked up here.
        engine().HostName = "localhost";
        const ProxySetup setup = GetParam();
        const std::string user = setup.password ? "proxyuser" : "";
        const std::string password = setup.password ? "proxypass" : "";
        std::uint16_t port = 0;
        if (setup.kind == TProxyKind::Http) {
            m_http = std::make_unique<HttpConnectProxy>(
                setup.password ? std::vector<std::string>{"--user", user, "--password", password}
                               : std::vector<std::string>{});
            port = m_http->port();
        } else {
            m_socks = std::make_unique<SocksProxy>(user, password);
            port = m_socks->port();
        }
        engine().Proxy = {setup.kind, "127.0.0.1", port, user, password};
        engine().OnConnectNote = [this](TCustomFtpCliEx&, std::string& line) {
            m_harness->display.push_back(line);
        };
    }

    TFtpClientEx& engine() { return m_harness->engine; }
    int run(void (TCustomFtpCliEx::*request)()) {
        return m_harness->run(request, std::chrono::seconds(30));
    }

    TempDir m_root;
    TempDir m_local;
    std::unique_ptr<PyFtpdServer> m_server;
    std::unique_ptr<SocksProxy> m_socks;
    std::unique_ptr<HttpConnectProxy> m_http;
    std::unique_ptr<EngineHarness> m_harness;
};

} // namespace

TEST_P(ProxyTunnel, ListsDownloadsAndUploadsThroughTheTunnel) {
    const std::string content = randomBytes(1024 * 1024 + 3, 7);
    m_root.write("data.bin", content);
    ASSERT_TRUE(m_harness->login("user", "secret")) << engine().ErrorMessage();
    EXPECT_TRUE(m_harness->displayed(
        "Connecting to proxy 127.0.0.1:" + std::to_string(engine().Proxy.Port) + " (" +
        std::string(ProxyKindLabel(GetParam().kind)) + ")..."));
    ASSERT_EQ(run(&TCustomFtpCliEx::SetTypeBinary), 0);

    engine().LocalFileName = m_local.file("listing.txt");
    engine().HostFileName.clear();
    ASSERT_EQ(run(&TCustomFtpCliEx::Dir), 0) << engine().ErrorMessage();
    EXPECT_NE(readFile(m_local.file("listing.txt")).find("data.bin"), std::string::npos);

    engine().HostFileName = "data.bin";
    engine().LocalFileName = m_local.file("data.bin");
    ASSERT_EQ(run(&TCustomFtpCliEx::Get), 0) << engine().ErrorMessage();
    EXPECT_EQ(readFile(m_local.file("data.bin")), content);

    engine().HostFileName = "back.bin";
    ASSERT_EQ(run(&TCustomFtpCliEx::Put), 0) << engine().ErrorMessage();
    EXPECT_EQ(readFile(m_root.path() / "back.bin"), content);

    // Active mode would let the server connect past the proxy: refused before any PORT.
    engine().Passive = false;
    engine().HostFileName = "data.bin";
    EXPECT_NE(run(&TCustomFtpCliEx::Get), 0);
    EXPECT_EQ(engine().ErrorMessage(),
              "Active mode cannot be used through a proxy; switch the site to passive mode.");
    EXPECT_TRUE(std::none_of(m_harness->display.begin(), m_harness->display.end(),
                             [](const std::string& line) {
                                 return line.starts_with("> PORT") || line.starts_with("> EPRT");
                             }));
}

TEST_P(ProxyTunnel, AWrongProxyPasswordOrAMissingProxyFailsClearly) {
    if (GetParam().password) {
        engine().Proxy.Password = "wrong";
        EXPECT_NE(run(&TCustomFtpCliEx::Open), 0);
        EXPECT_NE(engine().ErrorMessage().find("The proxy refused the user name or password"),
                  std::string::npos)
            << engine().ErrorMessage();
        return;
    }
    m_socks.reset();
    m_http.reset();
    EXPECT_NE(run(&TCustomFtpCliEx::Open), 0);
    EXPECT_NE(
        engine().ErrorMessage().find("The proxy 127.0.0.1:" + std::to_string(engine().Proxy.Port) +
                                     " cannot be reached: Connection refused"),
        std::string::npos)
        << engine().ErrorMessage();
}

INSTANTIATE_TEST_SUITE_P(Proxies, ProxyTunnel,
                         ::testing::Values(ProxySetup{TProxyKind::Socks5, false},
                                           ProxySetup{TProxyKind::Socks5Hostname, true},
                                           ProxySetup{TProxyKind::Http, false},
                                           ProxySetup{TProxyKind::Http, true}),
                         [](const ::testing::TestParamInfo<ProxySetup>& param) {
                             return std::string(ProxyKindScheme(param.param.kind)) +
                                    (param.param.password ? "WithPassword" : "");
                         });

// An HTTP proxy that refuses, answers nonsense or never ends its header; one that accepts the
// connection and stays silent runs into the time-out.
TEST(ProxyFailures, HostileHttpProxiesEndTheConnectClearly) {
    if (!PyFtpdServer::available()) {
        GTEST_SKIP() << "python3 is not installed";
    }
    const std::vector<std::pair<std::string, std::string>> cases{
        {"--refuse", "The proxy refused the tunnel: 403 Forbidden"},
        {"--malformed", "The proxy's reply is not an HTTP reply: \"SOCKS? no\""},
        {"--endless-header", "The proxy's reply header is longer than 16384 bytes"},
    };
    for (const auto& [flag, message] : cases) {
        HttpConnectProxy proxy({flag});
        EngineHarness harness("21");
        harness.engine.Proxy = {TProxyKind::Http, "127.0.0.1", proxy.port(), {}, {}};
        EXPECT_NE(harness.run(&TCustomFtpCliEx::Open), 0) << flag;
        EXPECT_EQ(harness.engine.ErrorMessage(), "500 " + message) << flag;
    }

    // A listener that never answers: the connect ends with the inactivity limit.
    const std::uint16_t port = FreeLoopbackPort();
    ChildProcess silent;
    silent.start({"/usr/bin/python3", "-c",
                  "import socket,sys\ns=socket.socket()\ns.bind(('127.0.0.1'," +
                      std::to_string(port) + "))\ns.listen(1)\nc=s.accept()\nsys.stdin.read()"});
    ASSERT_TRUE(WaitForLoopbackPort(port, std::chrono::seconds(10)));
    EngineHarness harness("21");
    harness.engine.InactivityLimit = 2;
    harness.engine.Proxy = {TProxyKind::Socks5Hostname, "127.0.0.1", port, {}, {}};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(harness.run(&TCustomFtpCliEx::Open, std::chrono::seconds(20)), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_NE(harness.engine.ErrorMessage().find("Timed out"), std::string::npos)
        << harness.engine.ErrorMessage();
}

// TLS runs inside the tunnel: AUTH TLS on the control connection, and each protected data
// connection through a tunnel of its own.
TEST(ProxyTls, ExplicitTlsInsideASocksTunnel) {
    if (!PyFtpdServer::tlsAvailable() || !SocksProxy::available() ||
        !TestCertificate::available()) {
        GTEST_SKIP() << "pyftpdlib with TLS, microsocks or openssl is not installed";
    }
    TempDir root;
    TempDir local;
    const std::string content = randomBytes(300 * 1024, 9);
    root.write("secret.bin", content);
    TestCertificate certificate;
    PyFtpdServer server(root.path(), {.tls = &certificate});
    SocksProxy proxy;
    EngineHarness harness(server.portText());
    harness.engine.Passive = true;
    harness.engine.TlsMode = TFtpTlsMode::ExplicitRequired;
    harness.engine.TlsTrustedFingerprints = {certificate.sha256()};
    harness.engine.Proxy = {TProxyKind::Socks5Hostname, "127.0.0.1", proxy.port(), {}, {}};
    ASSERT_TRUE(harness.login("user", "secret")) << harness.engine.ErrorMessage();
    EXPECT_TRUE(harness.engine.TlsActive());
    ASSERT_EQ(harness.run(&TCustomFtpCliEx::SetTypeBinary), 0);
    harness.engine.HostFileName = "secret.bin";
    harness.engine.LocalFileName = local.file("secret.bin");
    ASSERT_EQ(harness.run(&TCustomFtpCliEx::Get, std::chrono::seconds(30)), 0)
        << harness.engine.ErrorMessage();
    EXPECT_TRUE(harness.engine.DataProtected());
    EXPECT_EQ(readFile(local.file("secret.bin")), content);
}
