// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SshProxy.h"

#include "engine/sftp/AskpassServer.h"

#include <charconv>
#include <cstdlib>

#ifndef QX_PROXY_CONNECT_RELATIVE_PATH
#error "QX_PROXY_CONNECT_RELATIVE_PATH must name the connector relative to the programs' folder"
#endif
#ifndef QX_PROXY_CONNECT_BUILD_PATH
#error "QX_PROXY_CONNECT_BUILD_PATH must name the connector of the build"
#endif

namespace qx::sftp {

std::string FindProxyConnectProgram() {
    return FindHelperProgram("QX_PROXY_CONNECT_PROGRAM", QX_PROXY_CONNECT_RELATIVE_PATH,
                             QX_PROXY_CONNECT_BUILD_PATH);
}

std::string ProxyCommandOption(const std::string& program) {
    std::string quoted = "'";
    for (const char c : program) {
        if (c == '\'') {
            quoted += "'\\''";
        } else if (c == '%') {
            quoted += "%%";
        } else {
            quoted += c;
        }
    }
    quoted += "'";
    return "ProxyCommand=" + quoted + " %p";
}

std::vector<std::string> ProxyEnvironment(const TProxySettings& proxy, const std::string& host) {
    return {"QX_PROXY_KIND=" + std::string(ProxyKindScheme(proxy.Kind)),
            "QX_PROXY_HOST=" + proxy.Host,
            "QX_PROXY_PORT=" + std::to_string(proxy.Port),
            "QX_PROXY_USER=" + proxy.User,
            "QX_PROXY_PASSWORD=" + proxy.Password,
            "QX_PROXY_TARGET=" + host};
}

bool ReadProxyEnvironment(TProxyRequest& request, std::string& problem) {
    const auto value = [](const char* name) {
        const char* text = std::getenv(name);
        return text != nullptr ? std::string(text) : std::string();
    };
    const auto kind = ProxyKindFromScheme(value("QX_PROXY_KIND"));
    if (!kind || *kind == TProxyKind::None) {
        problem = "QX_PROXY_KIND must be socks5, socks5h or http";
        return false;
    }
    const std::string port = value("QX_PROXY_PORT");
    std::uint16_t number = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (error != std::errc() || end != port.data() + port.size() || number == 0) {
        problem = "QX_PROXY_PORT must be a port number";
        return false;
    }
    request.Proxy = {*kind, value("QX_PROXY_HOST"), number, value("QX_PROXY_USER"),
                     value("QX_PROXY_PASSWORD")};
    request.Host = value("QX_PROXY_TARGET");
    if (request.Proxy.Host.empty() || request.Host.empty()) {
        problem = "QX_PROXY_HOST and QX_PROXY_TARGET must name the proxy and the server";
        return false;
    }
    return true;
}

} // namespace qx::sftp
