// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"

#include <string_view>

namespace qx {

// A window's place and size as the settings keep them: "Left", "Top", "Width" and "Height".
struct TWindowPlace {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    void SetPlace(int left, int top, int width, int height) {
        Left = left;
        Top = top;
        Width = width;
        Height = height;
    }
    // Writes the four values under the key.
    void WritePlace(TConfigStore& store, std::string_view key) const;
};

} // namespace qx
