// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SessionLog.h"

namespace qx {

TLogLineKind LogLineKind(std::string_view line) {
    if (line.empty()) {
        return TLogLineKind::Plain;
    }
    switch (line.front()) {
    case '~':
        return TLogLineKind::Information;
    case '!':
        return TLogLineKind::Failure;
    case '>':
        return TLogLineKind::Command;
    case '<':
        return TLogLineKind::Reply;
    case '%':
        return TLogLineKind::Status;
    default:
        return TLogLineKind::Plain;
    }
}

std::string CommandLogLine(std::string_view command) {
    if (command.find("PASS") != std::string_view::npos) {
        return "> PASS [What are you looking at?]";
    }
    return "> " + std::string(command);
}

std::string ReplyLogLine(std::string_view reply) {
    return "< " + std::string(reply);
}

std::string ConnectStateLogLine(TFTPConnectState state, std::string_view hostName,
                                std::string_view address) {
    const std::string host(hostName);
    switch (state) {
    case TFTPConnectState::ftpcsLookingUp:
        return "~ Looking up host [" + host + "]...";
    case TFTPConnectState::ftpcsHostFound:
        return "~ Host [" + host + "] found. IP address is [" + std::string(address) + "].";
    case TFTPConnectState::ftpcsConnecting:
        return "~ Contacting host [" + host + "]...";
    case TFTPConnectState::ftpcsConnected:
        return "~ Host [" + host + "] contacted. Waiting for reply...";
    case TFTPConnectState::ftpcsGreeted:
        return "~ Host [" + host + "] connected. Sending Login information...";
    case TFTPConnectState::ftpcsClosed:
        return "~ Connection closed from host [" + host + "]";
    }
    return {};
}

} // namespace qx
