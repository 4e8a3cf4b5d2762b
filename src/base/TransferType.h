// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace qx {

// How files are transferred; the numbers are those stored in the configuration and the item
// indexes of every "Transfer Type" radio group.
enum class TFTPTransferType : std::uint8_t {
    ftpTypeASCII = 0,
    ftpTypeBinary = 1,
    ftpTypeAuto = 2, // ASCII for the extensions of the ASCII list, binary otherwise
};

} // namespace qx
