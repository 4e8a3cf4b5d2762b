// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AsciiLineEnds.h"

namespace qx {

void CrLfToLf::convert(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size() + 1);
    std::size_t i = 0;
    if (m_pendingCR) {
        m_pendingCR = false;
        if (in.empty()) {
            m_pendingCR = true;
            return;
        }
        if (in.front() != '\n') {
            out += '\r';
        }
    }
    while (i < in.size()) {
        const std::size_t cr = in.find('\r', i);
        if (cr == std::string_view::npos) {
            out.append(in.substr(i));
            break;
        }
        out.append(in.substr(i, cr - i));
        if (cr + 1 == in.size()) {
            m_pendingCR = true; // decided by the next block
            break;
        }
        if (in[cr + 1] != '\n') {
            out += '\r';
        }
        i = cr + 1;
    }
}

void CrLfToLf::finish(std::string& out) {
    out.clear();
    if (m_pendingCR) {
        out += '\r';
        m_pendingCR = false;
    }
}

void LfToCrLf::convert(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size() + in.size() / 16 + 2);
    std::size_t i = 0;
    while (i < in.size()) {
        const std::size_t lf = in.find('\n', i);
        if (lf == std::string_view::npos) {
            out.append(in.substr(i));
            break;
        }
        out.append(in.substr(i, lf - i));
        const bool afterCR = lf > 0 ? in[lf - 1] == '\r' : m_lastWasCR;
        if (!afterCR) {
            out += '\r';
        }
        out += '\n';
        i = lf + 1;
    }
    if (!in.empty()) {
        m_lastWasCR = in.back() == '\r';
    }
}

} // namespace qx
