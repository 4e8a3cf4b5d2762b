// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// The protocol a connection speaks. FTP's TLS is chosen apart (TFtpTlsMode); SFTP runs over
// OpenSSH's ssh.
enum class TRemoteProtocolKind : std::uint8_t { Ftp, Sftp };

// How an SFTP connection asks ssh to connect; empty values leave ssh's own choice (the user's
// ~/.ssh/config, the agent, the default keys, ~/.ssh/known_hosts).
struct TSshSettings {
    std::string IdentityFile; // the site's key file (-i)
    bool UseAgent = true;     // false: the agent's keys are not offered
    std::string KnownHostsFile;
    std::string ConfigFile; // -F (tests point ssh at their own config)
    // An unknown host key is added to known_hosts without asking; a changed one is refused
    // either way.
    bool AcceptNewHostKey = false;
    std::vector<std::string> Options; // "-o" options, checked before they reach ssh

    bool operator==(const TSshSettings&) const = default;
};

} // namespace qx
