// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RealFtpServers.h"

#include <unistd.h>

#include <stdexcept>

namespace qx::test {

namespace {

constexpr const char* kMicrosocks = "/usr/bin/microsocks";

} // namespace

bool SocksProxy::available() {
    return ::access(kMicrosocks, X_OK) == 0;
}

SocksProxy::SocksProxy(const std::string& user, const std::string& password) {
    // microsocks cannot say which port it took: a free one is picked and waited for.
    for (int attempt = 0; attempt < 5 && m_port == 0; ++attempt) {
        const std::uint16_t port = FreeLoopbackPort();
        std::vector<std::string> argv{kMicrosocks, "-i", "127.0.0.1", "-p", std::to_string(port)};
        if (!user.empty()) {
            argv.insert(argv.end(), {"-u", user, "-P", password});
        }
        m_process.start(argv);
        if (WaitForLoopbackPort(port, std::chrono::seconds(5)) && m_process.running()) {
            m_port = port;
        } else {
            m_process.stop();
        }
    }
    if (m_port == 0) {
        throw std::runtime_error("microsocks did not start");
    }
}

HttpConnectProxy::HttpConnectProxy(const std::vector<std::string>& flags) {
    std::vector<std::string> argv{"/usr/bin/python3",
                                  std::string(QX_TEST_SUPPORT_DIR) + "/http_connect_proxy.py"};
    argv.insert(argv.end(), flags.begin(), flags.end());
    m_process.start(argv);
    const std::string line = m_process.readLine(std::chrono::seconds(15));
    if (line.empty()) {
        throw std::runtime_error("the HTTP proxy did not start");
    }
    m_port = static_cast<std::uint16_t>(std::stoi(line));
}

} // namespace qx::test
