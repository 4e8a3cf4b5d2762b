// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace qx {

// Line ends of ASCII transfers: the network uses CR LF, local files LF. Both converters keep
// their state across blocks, so a CR LF split over two blocks is still one line end.

// Downloads: CR LF becomes LF; a CR not followed by LF stays.
class CrLfToLf {
public:
    void reset() { m_pendingCR = false; }
    void convert(std::string_view in, std::string& out);
    // The end of the data: a CR held back at the end of the last block is written.
    void finish(std::string& out);

private:
    bool m_pendingCR = false;
};

// Uploads: every LF that does not already follow a CR is sent as CR LF.
class LfToCrLf {
public:
    void reset() { m_lastWasCR = false; }
    void convert(std::string_view in, std::string& out);

private:
    bool m_lastWasCR = false;
};

} // namespace qx
