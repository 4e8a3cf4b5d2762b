// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TransferStats.h"

namespace qx {

std::string FormatTransferStats(std::int64_t bytes, std::int64_t elapsedMs) {
    std::string line = std::to_string(bytes) + " bytes received/sent in " +
                       std::to_string(elapsedMs / 1000) + " seconds";
    if (elapsedMs != 0) {
        const std::int64_t rate =
            bytes <= 32767 ? bytes * 1000 / elapsedMs : (bytes / elapsedMs) * 1000;
        line += " (" + std::to_string(rate) + " Bytes/sec)";
    }
    return line;
}

} // namespace qx
