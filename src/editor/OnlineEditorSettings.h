// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"
#include "platform/WindowPlace.h"

#include <string>
#include <string_view>

namespace qx {

inline constexpr std::string_view OnlineEditorKey = "\\Software\\Quorvin Explorer\\OnlineEditor";

// The online editor's stored settings.
struct TOnlineEditorSettings : TWindowPlace {
    TOnlineEditorSettings() : TWindowPlace{0, 0, 614, 440} {}

    bool HasPosition = false; // without a stored place the system chooses one
    int LogPanelHeight = 65;
    bool LogPanelVisible = true;
    std::string FontName = "Courier New";
    int FontSize = 8;

    // Reads each value that is present and readable; a missing key changes nothing, an empty
    // font name is ignored.
    void LoadFromStore(const TConfigStore& store);
    // Writes each value on its own; the place and size only in the normal window state.
    void SaveToStore(TConfigStore& store, bool normalState) const;
};

} // namespace qx
