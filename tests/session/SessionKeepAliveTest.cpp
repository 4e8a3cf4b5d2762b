// SPDX-License-Identifier: GPL-3.0-or-later
// The keep-alive of an idle session against pyftpdlib, which drops a session after two idle
// seconds: NOOPs keep it, and without them the next request connects again and runs.
#include "support/ClientHarness.h"
#include "support/RealFtpServers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qx::test {
namespace {

using namespace std::chrono_literals;

class SessionKeepAlive : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PyFtpdServer::available()) {
            GTEST_SKIP() << "pyftpdlib is not installed";
        }
        PyFtpdServer::Options options;
        options.idleTimeout = 2;
        server = std::make_unique<PyFtpdServer>(root.path(), options);
        root.write("kept.txt", "kept");
    }

    // Connects with the interval, idles past the server's limit, then lists the folder.
    std::unique_ptr<ClientHarness> IdleThenList(int keepAliveInterval) {
        auto h = std::make_unique<ClientHarness>(server->portText());
        h->client->KeepAliveInterval = keepAliveInterval;
        EXPECT_EQ(h->run(&TThreadedFTPClient::Connect), 0);
        h->ui.pumpUntil([] { return false; }, 3500ms);
        TFTPListItems items;
        h->client->HostDirName = "/";
        h->client->ListItems = &items;
        EXPECT_EQ(h->run(&TThreadedFTPClient::GetListItems), 0) << h->client->ErrorMessage;
        EXPECT_EQ(items.Count(), 1u);
        return h;
    }

    TempDir root;
    std::unique_ptr<PyFtpdServer> server;
};

TEST_F(SessionKeepAlive, NoopsKeepAnIdleSessionOpen) {
    const auto h = IdleThenList(1);
    EXPECT_GE(h->count("> NOOP"), 2u);
    EXPECT_FALSE(h->has("~ Connection lost; reconnecting..."));
}

TEST_F(SessionKeepAlive, ADroppedSessionIsConnectedAgainByTheNextRequest) {
    const auto h = IdleThenList(0);
    EXPECT_FALSE(h->has("> NOOP"));
    EXPECT_TRUE(h->has("~ Connection lost; reconnecting..."));
}

} // namespace
} // namespace qx::test
