// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/sftp/SshArguments.h"

#include "engine/sftp/SshProxy.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace qx::sftp {

namespace {

// Options that change only how ssh connects and authenticates. LogLevel is not among them: the
// connection's facts are read from ssh's debug lines.
constexpr std::array<std::string_view, 32> kAllowedOptions = {
    "AddressFamily",
    "BindAddress",
    "CertificateFile",
    "CheckHostIP",
    "Ciphers",
    "Compression",
    "ConnectionAttempts",
    "ConnectTimeout",
    "GlobalKnownHostsFile",
    "GSSAPIAuthentication",
    "HostKeyAlgorithms",
    "HostKeyAlias",
    "HostName",
    "IdentitiesOnly",
    "IdentityAgent",
    "IdentityFile",
    "IPQoS",
    "KbdInteractiveAuthentication",
    "KexAlgorithms",
    "MACs",
    "PasswordAuthentication",
    "Port",
    "PreferredAuthentications",
    "ProxyJump",
    "PubkeyAcceptedAlgorithms",
    "PubkeyAuthentication",
    "RekeyLimit",
    "ServerAliveCountMax",
    "ServerAliveInterval",
    "StrictHostKeyChecking",
    "User",
    "UserKnownHostsFile",
};

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Host names, addresses and aliases: letters, digits and ". - _ :" only. Anything else could
// reach a shell through a ProxyCommand of the user's configuration.
bool IsHostText(std::string_view host) {
    return !host.empty() && host.size() <= 255 && host.front() != '-' &&
           std::all_of(host.begin(), host.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                      c == '_' || c == ':';
           });
}

// User names: letters, digits, ". - _ @ +" and non-ASCII bytes (names in UTF-8).
bool IsUserText(std::string_view user) {
    return user.size() <= 255 && (user.empty() || user.front() != '-') &&
           std::all_of(user.begin(), user.end(), [](char c) {
               return static_cast<unsigned char>(c) >= 0x80 ||
                      std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                      c == '_' || c == '@' || c == '+';
           });
}

bool IsPathText(std::string_view path) {
    return !path.empty() && path.size() <= 4096 &&
           std::none_of(path.begin(), path.end(), [](char c) { return IsControl(c) || c == '"'; });
}

// ssh expands '%' tokens in file names of options and of -i.
std::string PercentEscaped(std::string_view path) {
    std::string escaped;
    for (const char c : path) {
        escaped += c;
        if (c == '%') {
            escaped += '%';
        }
    }
    return escaped;
}

// A path as the value of an option, which ssh would otherwise split at blanks.
std::string QuotedPath(std::string_view path) {
    return '"' + PercentEscaped(path) + '"';
}

} // namespace

std::optional<std::string> CheckSshOption(const std::string& option) {
    const std::size_t split = option.find_first_of("= ");
    const std::string_view name = std::string_view(option).substr(0, split);
    if (split == std::string::npos || name.empty()) {
        return "The ssh option \"" + option + "\" has no value (Name=value).";
    }
    if (std::any_of(option.begin(), option.end(), IsControl)) {
        return "The ssh option \"" + std::string(name) + "\" holds control characters.";
    }
    const bool allowed =
        std::any_of(kAllowedOptions.begin(), kAllowedOptions.end(),
                    [name](std::string_view known) { return EqualsIgnoringCase(name, known); });
    if (!allowed) {
        return "The ssh option \"" + std::string(name) + "\" is not allowed here.";
    }
    // Host keys are always checked: an unknown key is asked about or taken as new, a changed
    // one refused.
    std::string_view value = std::string_view(option).substr(split + 1);
    value.remove_prefix(std::min(value.find_first_not_of("= "), value.size()));
    if (EqualsIgnoringCase(name, "StrictHostKeyChecking") && !EqualsIgnoringCase(value, "yes") &&
        !EqualsIgnoringCase(value, "ask") && !EqualsIgnoringCase(value, "accept-new")) {
        return "StrictHostKeyChecking may only be yes, ask or accept-new.";
    }
    return std::nullopt;
}

std::optional<std::string> CheckSshTarget(const TSshTarget& target) {
    if (!IsHostText(target.Host)) {
        return "The host name \"" + target.Host + "\" cannot be used for SSH.";
    }
    if (!IsUserText(target.User)) {
        return "The user name \"" + target.User + "\" cannot be used for SSH.";
    }
    if (target.Port < 0 || target.Port > 65535) {
        return "The port " + std::to_string(target.Port) + " is not between 1 and 65535.";
    }
    if (!target.IdentityFile.empty() && !IsPathText(target.IdentityFile)) {
        return "The key file name cannot be used for SSH.";
    }
    if (!target.KnownHostsFile.empty() && !IsPathText(target.KnownHostsFile)) {
        return "The known-hosts file name cannot be used for SSH.";
    }
    if (!target.ConfigFile.empty() && !IsPathText(target.ConfigFile)) {
        return "The ssh configuration file name cannot be used for SSH.";
    }
    if (target.TimeoutSeconds < 0 || target.KeepAliveSeconds < 0) {
        return "The time limit cannot be negative.";
    }
    for (const auto& option : target.Options) {
        if (auto error = CheckSshOption(option)) {
            return error;
        }
    }
    if (target.Program.empty()) {
        return "No ssh program is set.";
    }
    if (target.Proxy.Enabled() && target.ProxyConnectProgram.empty()) {
        return "The proxy connector quorvin-proxy-connect is not installed.";
    }
    return std::nullopt;
}

std::vector<std::string> SshArgumentList(const TSshTarget& target, bool haveAskpass) {
    std::vector<std::string> args{target.Program};
    // Debug lines tell the connection's facts (server version, key exchange, ciphers, host key);
    // they are kept apart from ssh's messages.
    args.emplace_back("-v");
    if (!target.ConfigFile.empty()) {
        args.insert(args.end(), {"-F", target.ConfigFile});
    }
    // As OpenSSH's own sftp: no forwardings, no local commands.
    for (const char* option : {"ForwardX11=no", "ForwardAgent=no", "PermitLocalCommand=no",
                               "ClearAllForwardings=yes", "RequestTTY=no"}) {
        args.insert(args.end(), {"-o", option});
    }
    if (!haveAskpass) {
        args.insert(args.end(), {"-o", "BatchMode=yes"});
    }
    if (target.AcceptNewHostKey) {
        args.insert(args.end(), {"-o", "StrictHostKeyChecking=accept-new"});
    }
    if (!target.KnownHostsFile.empty()) {
        args.insert(args.end(), {"-o", "UserKnownHostsFile=" + QuotedPath(target.KnownHostsFile)});
    }
    // Three unanswered checks end the connection: a silent server is noticed after about
    // the time limit. The checks also keep an idle connection open, at least as often as the
    // keep-alive interval asks.
    int interval = target.TimeoutSeconds > 0 ? std::max(1, target.TimeoutSeconds / 3) : 0;
    if (target.KeepAliveSeconds > 0) {
        interval =
            interval > 0 ? std::min(interval, target.KeepAliveSeconds) : target.KeepAliveSeconds;
    }
    if (target.TimeoutSeconds > 0) {
        args.insert(args.end(), {"-o", "ConnectTimeout=" + std::to_string(target.TimeoutSeconds)});
    }
    if (interval > 0) {
        args.insert(args.end(), {"-o", "ServerAliveInterval=" + std::to_string(interval)});
        args.insert(args.end(), {"-o", "ServerAliveCountMax=3"});
    }
    if (target.Proxy.Enabled()) {
        // Before the user's options: ssh takes the first value of each.
        args.insert(args.end(), {"-o", ProxyCommandOption(target.ProxyConnectProgram)});
    }
    for (const auto& option : target.Options) {
        args.insert(args.end(), {"-o", option});
    }
    if (!target.IdentityFile.empty()) {
        args.insert(args.end(), {"-i", PercentEscaped(target.IdentityFile)});
    }
    if (!target.User.empty()) {
        args.insert(args.end(), {"-l", target.User});
    }
    if (target.Port != 0) {
        args.insert(args.end(), {"-p", std::to_string(target.Port)});
    }
    args.insert(args.end(), {"-s", "--", target.Host, "sftp"});
    return args;
}

} // namespace qx::sftp
