// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace qx::cli {

// Runs the tool on its arguments (without the program's name): the help, or the command the
// line names, its number of arguments checked first. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, const std::atomic<bool>& interrupted);

} // namespace qx::cli
