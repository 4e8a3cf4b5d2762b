// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace qx {

// What an authentication question asks for.
enum class TFTPAuthenticate : std::uint8_t { ftpAuthUserName = 0, ftpAuthPassword = 1 };

} // namespace qx
