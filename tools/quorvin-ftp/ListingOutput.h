#pragma once

#include "engine/FTPListItem.h"

#include <ostream>
#include <string>
#include <string_view>

namespace qx::cli {

// A listing field as raw bytes, with only "\" written "\\", TAB "\t", LF "\n" and CR "\r".
std::string EscapeField(std::string_view text);

// One line per item, tab-separated: IsFile, IsLink, Name, Size, Year, Month, Day, Hour,
// Minute, Permission, LinkTo; then "HasLinks" and 0 or 1.
void PrintListing(const TFTPListItems& items, std::ostream& out);

} // namespace qx::cli
