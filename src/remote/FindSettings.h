// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"
#include "remote/FindFields.h"

#include <string_view>

namespace qx {

inline constexpr std::string_view FindFilesKey = "\\Software\\Quorvin Explorer\\FindFiles";

// What the Find Files window keeps between searches: its size and the fields of the last
// search but for the folder and the days.
struct TFindSettings {
    int Width = 720;
    int Height = 520;
    TFindFields Fields;

    // Reads each value that is present and readable; sizes below 200 and depths outside 1 to
    // the recursion limit are brought into range.
    void LoadFromStore(const TConfigStore& store);
    void SaveToStore(TConfigStore& store) const;
};

} // namespace qx
