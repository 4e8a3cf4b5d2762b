// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace qx::cli {

// The bytes of a regular local file; nothing, with "cannot read PATH: why" in problem, for a
// file that is missing, a folder or something else that cannot be read.
std::optional<std::string> ReadLocalFile(const std::string& path, std::string& problem);

} // namespace qx::cli
