// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace qx::cli {

// One line of transfer progress, rewritten in place, for a terminal.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, bool enabled) : m_out(out), m_enabled(enabled) {}

    // size -1 when unknown.
    void Update(const std::string& name, std::int64_t position, std::int64_t size,
                std::int64_t transfered, std::int64_t elapsedMs);
    void Clear();

    // "12.3 MB of 27.0 MB  45%  5.2 MB/s" and the like.
    static std::string Format(const std::string& name, std::int64_t position, std::int64_t size,
                              std::int64_t transfered, std::int64_t elapsedMs);

private:
    std::ostream& m_out;
    bool m_enabled;
    bool m_shown = false;
};

} // namespace qx::cli
