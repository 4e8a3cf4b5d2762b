// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/RemoteExpList.h"

#include <algorithm>

namespace qx {

void TRemoteExpList::Add(TRemoteExplorer* explorer) {
    m_items.push_back(explorer);
}

void TRemoteExpList::Remove(TRemoteExplorer* explorer) {
    std::erase(m_items, explorer);
}

void TRemoteExpList::MoveToFront(TRemoteExplorer* explorer) {
    const auto it = std::find(m_items.begin(), m_items.end(), explorer);
    if (it != m_items.end()) {
        std::rotate(m_items.begin(), it, it + 1);
    }
}

} // namespace qx
