// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"
#include "platform/WindowPlace.h"

#include <string_view>

namespace qx {

inline constexpr std::string_view CarrierKey = "\\Software\\Quorvin Explorer\\Carrier";

// The queue window's stored settings (the window sets its own default Top from the screen
// height).
struct TCarrierSettings : TWindowPlace {
    TCarrierSettings() : TWindowPlace{0, 0, 652, 270} {}

    bool ResumeService = true;
    int MaxCarrier = 3;

    // Reads each value that is present and readable; a missing key changes nothing. A
    // "MaxCarrier" outside 1 to 16 is brought into that range.
    void LoadFromStore(const TConfigStore& store);
    // Writes each value on its own; the place only when the window is not maximized.
    void SaveToStore(TConfigStore& store, bool maximized) const;
};

} // namespace qx
