// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"

#include <ostream>
#include <string>
#include <string_view>

namespace qx::cli {

// A listing field as its bytes, with "\" written "\\", TAB "\t", LF "\n", CR "\r" and every
// other control character "\xHH" (VisibleText).
std::string EscapeField(std::string_view text);

// One line per item, tab-separated: IsFile, IsLink, Name, Size, Year, Month, Day, Hour,
// Minute, Permission, LinkTo; then "HasLinks" and 0 or 1.
void PrintListing(const TFTPListItems& items, std::ostream& out);

} // namespace qx::cli
