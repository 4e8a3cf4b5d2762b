// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

namespace qx {

// What the list of open explorers knows of an explorer window.
class TRemoteExplorer {
public:
    virtual ~TRemoteExplorer() = default;
};

// The open remote explorers, most recently activated first. Holds references only.
class TRemoteExpList {
public:
    void Add(TRemoteExplorer* explorer);
    void Remove(TRemoteExplorer* explorer);
    void MoveToFront(TRemoteExplorer* explorer);
    TRemoteExplorer* First() const { return m_items.empty() ? nullptr : m_items.front(); }
    std::size_t Count() const { return m_items.size(); }
    TRemoteExplorer* Items(std::size_t index) const { return m_items[index]; }

private:
    std::vector<TRemoteExplorer*> m_items;
};

} // namespace qx
