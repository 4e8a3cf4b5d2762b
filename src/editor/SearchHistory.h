// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace qx {

// The texts searched for (or replaced with), most recent first, at most kMaxEntries of them.
class TSearchHistory {
public:
    static constexpr std::size_t kMaxEntries = 32;

    // Puts the text at the top: an equal entry moves there, a new one pushes the oldest out
    // when the history is full. An empty text is not kept.
    void Add(const std::string& text);
    const std::vector<std::string>& Items() const { return m_items; }
    bool Empty() const { return m_items.empty(); }
    const std::string& First() const { return m_items.front(); }

private:
    std::vector<std::string> m_items;
};

} // namespace qx
