// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace qx {

// The online editor's bookmarks 0 to 9.
inline constexpr int kBookmarkCount = 10;

// Toggling a bookmark clears it when it is set on the caret's line; otherwise it is set (or
// moved) to the caret.
inline bool ToggleClearsBookmark(std::optional<int> bookmarkLine, int caretLine) {
    return bookmarkLine.has_value() && *bookmarkLine == caretLine;
}

} // namespace qx
