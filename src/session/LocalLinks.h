// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qx {

// True when the local path, with every link on its way followed, lies outside the root folder
// (the folder the user chose for a download): a download never writes there. A link, or a
// folder on the way, that cannot be resolved counts as outside.
bool LeadsOutOf(const std::string& path, const std::string& root);

} // namespace qx
