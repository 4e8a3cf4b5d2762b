// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandTable.h"

#include <string>

namespace qx::cli {

// What `quorvin-ftp --help` prints: every form of every command and every option, each with
// its line of help.
std::string UsageText();

// What `quorvin-ftp COMMAND --help` prints: the command's usage lines, then its help.
std::string CommandHelpText(const CommandRow& command);

} // namespace qx::cli
