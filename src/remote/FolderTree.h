// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qx {

class TLocaleTextCompare;

// One folder of a remote explorer's tree. The root is "/"; every other node is named after its
// folder. A node keeps the folder's listing once it has been listed (the listing cache) and
// points at the entry that describes the folder in its parent's listing.
struct TFolderNode {
    std::string Text;
    TFolderNode* Parent = nullptr;
    std::vector<std::unique_ptr<TFolderNode>> Children;
    TFTPListItem* ListItem = nullptr;         // in the parent's listing; not owned
    std::unique_ptr<TFTPListItems> ListItems; // the cached listing; none until listed
    bool Bold = false;                        // listed at least once

    bool Listed() const { return ListItems != nullptr; }
    bool IsLink() const { return ListItem != nullptr && ListItem->IsLink; }
    std::size_t Row() const; // the position among its parent's children
};

// Told of every change of a tree's shape, so that a view can follow it.
class TFolderTreeObserver {
public:
    virtual void BeginInsertNode(TFolderNode& parent, std::size_t row) = 0;
    virtual void EndInsertNode() = 0;
    // The node and its subtree are about to go; the node is still in its place.
    virtual void BeginRemoveNode(TFolderNode& node) = 0;
    virtual void EndRemoveNode() = 0;
    virtual void NodeTextChanged(TFolderNode& node) = 0;
    // The children of the parent are put in another order.
    virtual void BeginReorder(TFolderNode& parent) = 0;
    virtual void EndReorder(TFolderNode& parent) = 0;

protected:
    ~TFolderTreeObserver() = default;
};

// The folder tree of one explorer, without any widget. A view follows it as its observer.
class TFolderTree {
public:
    TFolderTree();
    ~TFolderTree();

    void SetObserver(TFolderTreeObserver* observer) { m_observer = observer; }

    TFolderNode* Root() const { return m_root.get(); }
    bool Empty() const { return m_root == nullptr; }
    void Clear();

    // The chain from "/" to the current folder of a new session: one node per non-empty part
    // of the path. Returns the deepest node (the root for "/").
    TFolderNode& BuildChain(const std::string& currentFolder);

    // "/" for the root, else the parent's path, "/" and the name (no doubled "/").
    static std::string GetNodePath(const TFolderNode& node);
    // The path ending with "/", ready to be followed by a name.
    static std::string GetNodeFolder(const TFolderNode& node);

    // Appends a child for a folder entry and links the two.
    TFolderNode& AddFolderTreeNode(TFolderNode& parent, TFTPListItem& entry);
    // Appends a child with the text, linked to the entry when there is one.
    TFolderNode& AppendChild(TFolderNode& parent, std::string text, TFTPListItem* entry = nullptr);
    // Takes the node and its subtree out of the tree and frees them (never the root).
    void RemoveNode(TFolderNode& node);
    void SetNodeText(TFolderNode& node, std::string text);
    // Makes the entry (of the parent's listing) the node's, or none.
    void LinkEntry(TFolderNode& node, TFTPListItem* entry);
    // The child whose text is exactly the name, or none.
    static TFolderNode* FindChildNode(const TFolderNode& parent, std::string_view text);
    // True when the node is the ancestor or lies below it.
    static bool IsWithin(const TFolderNode& node, const TFolderNode& ancestor);

    // The node that shows a folder entry of a listing, or none.
    TFolderNode* NodeOf(const TFTPListItem* entry) const;
    // Drops the node's cached listing; its children keep their places but no entry.
    void ForgetListing(TFolderNode& node);

    // Links the node's children to its new listing by name and adds a child for every folder of
    // the listing that has none, keeping the children sorted by name (case-insensitively in
    // the user's locale). Children without an entry stay.
    void MergeFolderNodes(TFolderNode& node, const TLocaleTextCompare& compare);
    // Follows a new listing of the node after a refresh: children whose folder is gone from it
    // are removed with their subtrees, the others are linked to their new entries, new folders
    // get a child, and the children are sorted by name.
    void RefreshFolderNodes(TFolderNode& node, const TLocaleTextCompare& compare);
    void SortChildren(TFolderNode& node, const TLocaleTextCompare& compare);

private:
    void Link(TFolderNode& child, TFTPListItem* entry);
    void UnlinkSubtree(TFolderNode& node);
    static bool IsListedFolder(const TFTPListItem& entry);

    TFolderTreeObserver* m_observer = nullptr;
    std::unique_ptr<TFolderNode> m_root;
    // Which node shows which folder entry; the entries stay plain data.
    std::unordered_map<const TFTPListItem*, TFolderNode*> m_nodeOfEntry;
};

} // namespace qx
