// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace qx {

// A name a recursive operation may use as one path component, locally and on the server: not
// empty, not "." or "..", and without "/", NUL, CR or LF (the last two would end the command
// line that carries the name).
bool IsSafeEntryName(std::string_view name);

// folder "/" name, without doubling a "/" that the folder already ends with.
std::string JoinRemotePath(std::string_view folder, std::string_view name);

} // namespace qx
