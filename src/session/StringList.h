// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qx {

// An ordered list of strings, each with an attached number (the object slot); not sorted,
// duplicates allowed. Multi-entry requests keep an entry's kind there.
class TStringList {
public:
    void Add(std::string text, std::intptr_t object = 0) {
        m_items.push_back({std::move(text), object});
    }
    std::size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    const std::string& Strings(std::size_t index) const { return m_items[index].text; }
    std::intptr_t Objects(std::size_t index) const { return m_items[index].object; }
    void Delete(std::size_t index) {
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void Clear() { m_items.clear(); }

private:
    struct Item {
        std::string text;
        std::intptr_t object;
    };
    std::vector<Item> m_items;
};

// The kinds kept in the object slot of a multi-entry request.
constexpr std::intptr_t kFolderEntry = 0;
constexpr std::intptr_t kFileEntry = 1;

} // namespace qx
