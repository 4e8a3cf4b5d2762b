// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ProxySettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::sftp {

// Where and how `ssh` connects. Everything here becomes an argument of ssh's command line, so
// every value is checked first (CheckSshTarget): nothing may be taken for an option by ssh,
// split by its option parser, or expanded as one of its %-tokens.
struct TSshTarget {
    std::string Host; // a name, an address (IPv6 without brackets) or a Host alias of the config
    std::string User; // empty: ssh's default (the config's, else the local user's)
    int Port = 0;     // 0: ssh's default (the config's, else 22)
    std::string IdentityFile;   // -i; empty: the agent and the config's keys
    std::string KnownHostsFile; // UserKnownHostsFile; empty: ssh's default (~/.ssh/known_hosts)
    std::string ConfigFile;     // -F; empty: ~/.ssh/config
    // StrictHostKeyChecking=accept-new: an unknown host key is added without asking. A changed
    // key is refused either way.
    bool AcceptNewHostKey = false;
    // Further "-o Name=value" options; only the names of kAllowedSshOptions are taken.
    std::vector<std::string> Options;
    // Seconds for ConnectTimeout and the server-alive checks; 0 leaves ssh's defaults.
    int TimeoutSeconds = 0;
    // Seconds between server-alive checks that keep an idle connection open; 0: only those
    // of the time limit.
    int KeepAliveSeconds = 0;
    // The ssh program (tests run stand-ins).
    std::string Program = "ssh";
    // Through a proxy: ssh runs this connector (engine/sftp/SshProxy.h) as its ProxyCommand.
    TProxySettings Proxy;
    std::string ProxyConnectProgram;
};

// Why the target cannot be used, or nothing when it can.
std::optional<std::string> CheckSshTarget(const TSshTarget& target);

// Checks one "-o" option ("Name=value" or "Name value"): its name must be one of the options
// that only choose how to connect (ciphers, keys, jump hosts, time limits, ...); options that
// run commands, forward ports or read other configuration files are refused.
std::optional<std::string> CheckSshOption(const std::string& option);

// The argument list of ssh (program first) for an SFTP connection to a checked target. Without
// an askpass helper ssh runs in batch mode and asks nothing.
std::vector<std::string> SshArgumentList(const TSshTarget& target, bool haveAskpass);

} // namespace qx::sftp
