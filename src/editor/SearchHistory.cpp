// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SearchHistory.h"

#include <algorithm>

namespace qx {

void TSearchHistory::Add(const std::string& text) {
    if (text.empty()) {
        return;
    }
    const auto equal = std::find(m_items.begin(), m_items.end(), text);
    if (equal != m_items.end()) {
        std::rotate(m_items.begin(), equal, equal + 1);
        return;
    }
    m_items.insert(m_items.begin(), text);
    if (m_items.size() > kMaxEntries) {
        m_items.resize(kMaxEntries);
    }
}

} // namespace qx
