// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace qx::cli {

// Asks on the controlling terminal (without echo when echo is false); nothing when there is
// no terminal or the user ended the input.
std::optional<std::string> AskOnTerminal(const std::string& question, bool echo);

} // namespace qx::cli
