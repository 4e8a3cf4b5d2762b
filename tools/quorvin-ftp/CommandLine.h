// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qx::cli {

// Overwrites the password of every ftp:// and ftps:// URL in the process's argument list with
// "*" (its length stays), so that ps and /proc show the URL without it. The arguments must
// have been copied before.
void HidePasswordsOfUrls(int argc, char** argv);

} // namespace qx::cli
