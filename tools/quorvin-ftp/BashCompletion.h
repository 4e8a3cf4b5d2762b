// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qx::cli {

// The bash completion script of quorvin-ftp, made from the command and option tables: the
// build writes it into the build tree, and the installation takes it from there.
std::string BashCompletion();

} // namespace qx::cli
