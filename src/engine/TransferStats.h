// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// "<bytes> bytes received/sent in <seconds> seconds", followed by " (<rate> Bytes/sec)" when
// the elapsed time is not 0. The rate is computed so that it cannot overflow: bytes * 1000 /
// elapsed for small counts, (bytes / elapsed) * 1000 above 32767 bytes.
std::string FormatTransferStats(std::int64_t bytes, std::int64_t elapsedMs);

} // namespace qx
