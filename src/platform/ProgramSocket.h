// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace qx {

// The local socket a running program of this user listens on: in $XDG_RUNTIME_DIR when there
// is one, else in the temporary folder with the user id in its name.
std::filesystem::path ProgramSocketPath();

// True when a program of this user takes connections on its socket (a socket file left by a
// program that ended takes none).
bool ProgramIsRunning();

} // namespace qx
