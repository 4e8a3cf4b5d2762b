// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FtpTypes.h"

#include <string>
#include <string_view>

namespace qx {

// Session log lines: the first character tells their kind.
//   "~" information, "!" failure, ">" command sent, "<" reply received,
//   "%" a status text for the status bar instead of the log.
enum class TLogLineKind { Information, Failure, Command, Reply, Status, Plain };

TLogLineKind LogLineKind(std::string_view line);

// "> " and the command, except that a command containing "PASS" (case-sensitive, anywhere)
// is shown as "> PASS [What are you looking at?]" so that no password reaches a log.
std::string CommandLogLine(std::string_view command);

// "< " and the reply line.
std::string ReplyLogLine(std::string_view reply);

// The information line for a stage of the connection, naming the host as it was given;
// states 0 and 1 occur only when the host is a name.
std::string ConnectStateLogLine(TFTPConnectState state, std::string_view hostName,
                                std::string_view address);

} // namespace qx
