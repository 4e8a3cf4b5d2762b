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
    auto child = std::make_unique<TFolderNode>();
    child->Text = entry.Name;
    child->Parent = &parent;
    Link(*child, &entry);
    parent.Children.push_back(std::move(child));
    return *parent.Children.back();
}

void TFolderTree::MergeFolderNodes(TFolderNode& node, const TLocaleTextCompare& compare,
                                   const InsertNotice& before, const InsertNotice& after) {
    if (!node.ListItems) {
        return;
    }
    TFTPListItems& listing = *node.ListItems;
    for (const auto& child : node.Children) {
        TFTPListItem* match = nullptr;
        for (const auto& entry : listing) {
            if (entry->Name == child->Text) {
                match = entry.get();
                break;
            }
        }
        Link(*child, match);
    }
    // Children are kept in name order; each new one goes straight to its place.
    std::vector<std::string> keys;
    keys.reserve(node.Children.size());
    for (const auto& child : node.Children) {
        keys.push_back(compare.SortKey(child->Text));
    }
    const bool sorted = std::is_sorted(keys.begin(), keys.end());
    for (const auto& entry : listing) {
        if (entry->IsFile || NodeOf(entry.get()) != nullptr || entry->Name == "." ||
            entry->Name == "..") {
            continue;
        }
        std::string key = compare.SortKey(entry->Name);
        const std::size_t row =
            sorted ? static_cast<std::size_t>(std::upper_bound(keys.begin(), keys.end(), key) -
                                              keys.begin())
                   : keys.size();
        if (before) {
            before(node, row);
        }
        auto child = std::make_unique<TFolderNode>();
        child->Text = entry->Name;
        child->Parent = &node;
        Link(*child, entry.get());
        node.Children.insert(node.Children.begin() + static_cast<std::ptrdiff_t>(row),
                             std::move(child));
        keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(row), std::move(key));
        if (after) {
            after(node, row);
        }
    }
}

} // namespace qx
