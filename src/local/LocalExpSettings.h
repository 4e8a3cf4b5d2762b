// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"

#include <optional>
#include <string>
#include <string_view>

namespace qx {

inline constexpr std::string_view LocalExplorerKey = "\\Software\\Quorvin Explorer\\LocalExplorer";

// The local explorer's stored settings; a value is set only when the store has it.
struct TLocalExpSettings {
    std::optional<int> Left, Top, Width, Height;
    std::optional<int> FolderTreePanelWidth;
    std::optional<std::string> FolderPath;
    std::optional<int> SortColumn;           // -4 to 4 without 0
    std::optional<int> ViewStyle;            // 0 to 3
    std::optional<std::string> ToolbarState; // the toolbars' own format, under "Toolbar"

    // False when the key does not exist (nothing is read). Values of another type or out of
    // range are left out.
    bool LoadFromStore(const TConfigStore& store);
    // Writes each value on its own, creating the key; the place and the divider only when the
    // window is not maximised.
    void SaveToStore(TConfigStore& store, bool maximized) const;
};

// The folder the tree opens: the stored one when it is an existing folder, else the process's
// current folder.
std::string StartFolder(const std::optional<std::string>& stored);

} // namespace qx
