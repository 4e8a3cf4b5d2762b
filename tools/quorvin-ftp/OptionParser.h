// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace qx::cli {

struct ParsedCommandLine {
    CliOptions options;
    std::vector<std::string> words; // the command and its arguments
};

// Splits the arguments into the options of the option table (anywhere on the line) and the
// other words. Nothing, with the usage error in problem, for an unknown option or a value
// that is missing or wrong.
std::optional<ParsedCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                                  std::string& problem);

} // namespace qx::cli
