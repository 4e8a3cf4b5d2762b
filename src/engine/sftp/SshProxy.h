// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"

#include <string>
#include <vector>

namespace qx::sftp {

// ssh reaches a server through a proxy by running quorvin-proxy-connect as its ProxyCommand.
// The connector opens the tunnel with the engine's handshake and then copies its standard
// input and output to and from it. The proxy, its password and the server's name travel in the
// environment, never on a command line that ps shows, and never through ssh's %-tokens or the
// shell that runs the command: only the connector's own path and ssh's numeric %p are in it.

// The connector: $QX_PROXY_CONNECT_PROGRAM, else beside the askpass helper (installed), else in
// the build. Empty when there is none.
std::string FindProxyConnectProgram();

// "ProxyCommand='PROGRAM' %p" (ssh runs it with exec in a shell), the program's path
// quoted for the shell and its "%" doubled for ssh.
std::string ProxyCommandOption(const std::string& program);

// The variables the connector reads: the proxy (QX_PROXY_KIND, _HOST, _PORT, _USER,
// _PASSWORD) and the server (QX_PROXY_TARGET).
std::vector<std::string> ProxyEnvironment(const TProxySettings& proxy, const std::string& host);

// What the connector reads back; nothing, with the reason, when a variable is missing or bad.
struct TProxyRequest {
    TProxySettings Proxy;
    std::string Host;
};
bool ReadProxyEnvironment(TProxyRequest& request, std::string& problem);

} // namespace qx::sftp
