// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace qx::cli {

// Text from a server (or a name it listed) as the terminal may show it: control characters
// (C0, DEL and C1, raw or encoded in UTF-8) are written as "\xHH", so that no reply can move
// the cursor, change the title or the colours. Valid UTF-8 and other bytes stay as they are.
// Inside a listing field the separators stay recognisable: with fields set, "\" is written
// "\\", TAB "\t", LF "\n" and CR "\r".
std::string VisibleText(std::string_view text, bool fields = false);
// The same, appended to out.
void AppendVisibleText(std::string& out, std::string_view text, bool fields = false);

} // namespace qx::cli
