#pragma once

#include <string_view>

namespace qx::cli {

// What `quorvin-ftp COMMAND --help` prints: the command's forms and what each does; nullptr for
// a word that is no command.
const char* CommandHelp(std::string_view command);

} // namespace qx::cli
