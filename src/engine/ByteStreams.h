// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qx {

// Where a download's bytes go instead of a local file (a relay to another server). Put may
// block until there is room; it fails when the receiving end has given up, with the reason in
// Error().
class TByteSink {
public:
    virtual ~TByteSink() = default;
    virtual bool Put(const char* data, std::size_t length) = 0;
    virtual std::string Error() const = 0;
};

// Where an upload's bytes come from instead of a local file. Get may block until bytes come;
// it returns the count, 0 at the end, -1 when the giving end failed (the reason in Error()).
class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual std::ptrdiff_t Get(char* buffer, std::size_t size) = 0;
    virtual std::string Error() const = 0;
    // The bytes given so far.
    virtual std::int64_t Given() const = 0;
};

} // namespace qx
