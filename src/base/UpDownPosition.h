// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>

namespace qx {

// The range of the retry and delay up-down controls of the site and options dialogs; a
// position outside it is moved to the nearest end, as the control does.
inline constexpr std::int32_t UpDownMin = 1;
inline constexpr std::int32_t UpDownMax = 100;

constexpr std::int32_t ClampUpDownPosition(std::int32_t position) {
    return std::clamp(position, UpDownMin, UpDownMax);
}

} // namespace qx
