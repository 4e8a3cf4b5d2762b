// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliOptions.h"

#include <span>
#include <string>
#include <string_view>

namespace qx::cli {

// One option of the command line. The usage text, the parser, the bash completion and the
// check of the README and the manual page all read the table of them.
struct OptionRow {
    std::string_view name;       // "--carriers"
    std::string_view alias = {}; // another name of the same option ("--verbose" for "-v")
    // The name of its value ("N"); empty for a switch.
    std::string_view argument = {};
    // What the usage says of it, lines separated by "\n". Empty for an alternative to the
    // option before, which shares its line ("--active | --passive").
    std::string_view help = {};
    // What its value must be, told when the value is missing or wrong.
    std::string_view needs = {};
    // Sets the option in options; false when the value is not what it needs. A switch gets "".
    bool (*apply)(CliOptions& options, const std::string& value);
};

// Every option, in the order of the usage text.
std::span<const OptionRow> OptionTable();

// The option with this name or alias; nullptr for none.
const OptionRow* FindOption(std::string_view name);

} // namespace qx::cli
