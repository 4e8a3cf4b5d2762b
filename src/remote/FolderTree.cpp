// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/FolderTree.h"

#include "base/LocaleTextCompare.h"
#include "base/Utilities.h"

#include <algorithm>

namespace qx {

std::size_t TFolderNode::Row() const {
    if (Parent == nullptr) {
        return 0;
    }
    const auto& siblings = Parent->Children;
    for (std::size_t row = 0; row < siblings.size(); ++row) {
        if (siblings[row].get() == this) {
            return row;
        }
    }
    return 0;
}

TFolderTree::TFolderTree() = default;
TFolderTree::~TFolderTree() = default;

void TFolderTree::Clear() {
    m_nodeOfEntry.clear();
    m_root.reset();
}

void TFolderTree::Link(TFolderNode& child, TFTPListItem* entry) {
    if (child.ListItem != nullptr) {
        m_nodeOfEntry.erase(child.ListItem);
    }
    child.ListItem = entry;
    if (entry != nullptr) {
        m_nodeOfEntry[entry] = &child;
    }
}

TFolderNode* TFolderTree::NodeOf(const TFTPListItem* entry) const {
    const auto it = m_nodeOfEntry.find(entry);
    return it == m_nodeOfEntry.end() ? nullptr : it->second;
}

void TFolderTree::ForgetListing(TFolderNode& node) {
    for (const auto& child : node.Children) {
        Link(*child, nullptr);
    }
    node.ListItems.reset();
}

TFolderNode& TFolderTree::BuildChain(const std::string& currentFolder) {
    m_nodeOfEntry.clear();
    m_root = std::make_unique<TFolderNode>();
    m_root->Text.assign(1, '/'); // (not = "/": a false -Wrestrict of GCC 12 at -O2)
    std::vector<std::string> parts;
    SplitString(currentFolder, "/", parts);
    TFolderNode* deepest = m_root.get();
    for (const std::string& part : parts) {
        if (part.empty()) {
            continue;
        }
        auto child = std::make_unique<TFolderNode>();
        child->Text = part;
        child->Parent = deepest;
        deepest->Children.push_back(std::move(child));
        deepest = deepest->Children.back().get();
    }
    return *deepest;
}

std::string TFolderTree::GetNodePath(const TFolderNode& node) {
    if (node.Parent == nullptr) {
        return "/";
    }
    std::vector<const TFolderNode*> chain;
    for (const TFolderNode* at = &node; at->Parent != nullptr; at = at->Parent) {
        chain.push_back(at);
    }
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path.push_back('/');
        path.append((*it)->Text);
    }
    return path;
}

std::string TFolderTree::GetNodeFolder(const TFolderNode& node) {
    std::string path = GetNodePath(node);
    if (path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

TFolderNode& TFolderTree::AddFolderTreeNode(TFolderNode& parent, TFTPListItem& entry) {
    return AppendChild(parent, entry.Name, &entry);
}

TFolderNode& TFolderTree::AppendChild(TFolderNode& parent, std::string text, TFTPListItem* entry) {
    if (m_observer != nullptr) {
        m_observer->BeginInsertNode(parent, parent.Children.size());
    }
    auto child = std::make_unique<TFolderNode>();
    child->Text = std::move(text);
    child->Parent = &parent;
    Link(*child, entry);
    parent.Children.push_back(std::move(child));
    if (m_observer != nullptr) {
        m_observer->EndInsertNode();
    }
    return *parent.Children.back();
}

void TFolderTree::UnlinkSubtree(TFolderNode& node) {
    for (const auto& child : node.Children) {
        UnlinkSubtree(*child);
    }
    Link(node, nullptr);
}

void TFolderTree::RemoveNode(TFolderNode& node) {
    TFolderNode* parent = node.Parent;
    if (parent == nullptr) {
        return;
    }
    if (m_observer != nullptr) {
        m_observer->BeginRemoveNode(node);
    }
    UnlinkSubtree(node);
    auto& siblings = parent->Children;
    const auto at = std::find_if(siblings.begin(), siblings.end(),
                                 [&](const auto& child) { return child.get() == &node; });
    if (at != siblings.end()) {
        siblings.erase(at);
    }
    if (m_observer != nullptr) {
        m_observer->EndRemoveNode();
    }
}

void TFolderTree::SetNodeText(TFolderNode& node, std::string text) {
    node.Text = std::move(text);
    if (m_observer != nullptr) {
        m_observer->NodeTextChanged(node);
    }
}

void TFolderTree::LinkEntry(TFolderNode& node, TFTPListItem* entry) {
    Link(node, entry);
}

TFolderNode* TFolderTree::FindChildNode(const TFolderNode& parent, std::string_view text) {
    for (const auto& child : parent.Children) {
        if (child->Text == text) {
            return child.get();
        }
    }
    return nullptr;
}

bool TFolderTree::IsWithin(const TFolderNode& node, const TFolderNode& ancestor) {
    for (const TFolderNode* at = &node; at != nullptr; at = at->Parent) {
        if (at == &ancestor) {
            return true;
        }
    }
    return false;
}

bool TFolderTree::IsListedFolder(const TFTPListItem& entry) {
    return !entry.IsFile && entry.Name != "." && entry.Name != "..";
}

void TFolderTree::MergeFolderNodes(TFolderNode& node, const TLocaleTextCompare& compare) {
    if (!node.ListItems) {
        return;
    }
    TFTPListItems& listing = *node.ListItems;
    // Names are looked up once each, so that folders of 100,000 entries merge quickly.
    std::unordered_map<std::string_view, TFTPListItem*> byName;
    byName.reserve(listing.Count());
    for (const auto& entry : listing) {
        byName.try_emplace(entry->Name, entry.get());
    }
    for (const auto& child : node.Children) {
        const auto found = byName.find(child->Text);
        Link(*child, found == byName.end() ? nullptr : found->second);
    }
    // Children are kept in name order; each new one goes straight to its place.
    std::vector<std::string> keys;
    keys.reserve(node.Children.size());
    for (const auto& child : node.Children) {
        keys.push_back(compare.SortKey(child->Text));
    }
    const bool sorted = std::is_sorted(keys.begin(), keys.end());
    for (const auto& entry : listing) {
        if (!IsListedFolder(*entry) || NodeOf(entry.get()) != nullptr) {
            continue;
        }
        std::string key = compare.SortKey(entry->Name);
        const std::size_t row =
            sorted ? static_cast<std::size_t>(std::upper_bound(keys.begin(), keys.end(), key) -
                                              keys.begin())
                   : keys.size();
        if (m_observer != nullptr) {
            m_observer->BeginInsertNode(node, row);
        }
        auto child = std::make_unique<TFolderNode>();
        child->Text = entry->Name;
        child->Parent = &node;
        Link(*child, entry.get());
        node.Children.insert(node.Children.begin() + static_cast<std::ptrdiff_t>(row),
                             std::move(child));
        keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(row), std::move(key));
        if (m_observer != nullptr) {
            m_observer->EndInsertNode();
        }
    }
}

void TFolderTree::RefreshFolderNodes(TFolderNode& node, const TLocaleTextCompare& compare) {
    if (!node.ListItems) {
        return;
    }
    std::unordered_map<std::string_view, TFTPListItem*> folders;
    for (const auto& entry : *node.ListItems) {
        if (IsListedFolder(*entry)) {
            folders.try_emplace(entry->Name, entry.get());
        }
    }
    std::vector<TFolderNode*> gone;
    for (const auto& child : node.Children) {
        const auto found = folders.find(child->Text);
        if (found == folders.end()) {
            gone.push_back(child.get());
        } else {
            Link(*child, found->second);
        }
    }
    for (TFolderNode* child : gone) {
        RemoveNode(*child);
    }
    for (const auto& entry : *node.ListItems) {
        if (IsListedFolder(*entry) && NodeOf(entry.get()) == nullptr &&
            FindChildNode(node, entry->Name) == nullptr) {
            AddFolderTreeNode(node, *entry);
        }
    }
    SortChildren(node, compare);
}

void TFolderTree::SortChildren(TFolderNode& node, const TLocaleTextCompare& compare) {
    std::vector<std::pair<std::string, std::unique_ptr<TFolderNode>>> keyed;
    keyed.reserve(node.Children.size());
    bool sorted = true;
    for (auto& child : node.Children) {
        std::string key = compare.SortKey(child->Text);
        if (!keyed.empty() && key < keyed.back().first) {
            sorted = false;
        }
        keyed.emplace_back(std::move(key), std::move(child));
    }
    if (!sorted && m_observer != nullptr) {
        m_observer->BeginReorder(node);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t row = 0; row < keyed.size(); ++row) {
        node.Children[row] = std::move(keyed[row].second);
    }
    if (!sorted && m_observer != nullptr) {
        m_observer->EndReorder(node);
    }
}

} // namespace qx
