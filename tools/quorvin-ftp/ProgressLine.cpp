// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressLine.h"

#include "base/Utilities.h"

#include <algorithm>

namespace qx::cli {

std::string ProgressLine::Format(const std::string& name, std::int64_t position, std::int64_t size,
                                 std::int64_t transfered, std::int64_t elapsedMs) {
    std::string line = name + "  " + FormatFileSize(position);
    if (size > 0) {
        line += " of " + FormatFileSize(size);
        const std::int64_t percent = std::min<std::int64_t>(position * 100 / size, 100);
        line += "  " + std::to_string(percent) + "%";
    }
    if (elapsedMs > 0) {
        line += "  " + FormatFileSize(transfered * 1000 / elapsedMs) + "/s";
    }
    return line;
}

void ProgressLine::Update(const std::string& name, std::int64_t position, std::int64_t size,
                          std::int64_t transfered, std::int64_t elapsedMs) {
    if (!m_enabled) {
        return;
    }
    m_out << "\r\033[K" << Format(name, position, size, transfered, elapsedMs) << std::flush;
    m_shown = true;
}

void ProgressLine::Clear() {
    if (m_shown) {
        m_out << "\r\033[K" << std::flush;
        m_shown = false;
    }
}

} // namespace qx::cli
