// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FTPCarryItem.h"

#include <cstddef>
#include <iterator>

namespace qx {

const char* TransferTypeName(TFTPTransferType type) {
    static constexpr const char* kNames[] = {"ASCII", "Binary", "Auto"}; // in the type's order
    const auto index = static_cast<std::size_t>(type);
    return index < std::size(kNames) ? kNames[index] : "Binary";
}

} // namespace qx
