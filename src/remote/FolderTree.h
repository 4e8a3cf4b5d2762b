#pragma once

#include "engine/FTPListItem.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
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

// The folder tree of one explorer, without any widget. Views follow it through the insertion
// callbacks.
class TFolderTree {
public:
    // Called before and after a child is inserted at a row of a parent.
    using InsertNotice = std::function<void(TFolderNode& parent, std::size_t row)>;

    TFolderTree();
    ~TFolderTree();

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
    // The node that shows a folder entry of a listing, or none.
    TFolderNode* NodeOf(const TFTPListItem* entry) const;
    // Drops the node's cached listing; its children keep their places but no entry.
    void ForgetListing(TFolderNode& node);

    // Links the node's children to its new listing by name and adds a child for every folder of
    // the listing that has none, keeping the children sorted by name (case-insensitively in
    // the user's locale). Children without an entry stay.
    void MergeFolderNodes(TFolderNode& node, const TLocaleTextCompare& compare,
                          const InsertNotice& before = {}, const InsertNotice& after = {});

private:
    void Link(TFolderNode& child, TFTPListItem* entry);

    std::unique_ptr<TFolderNode> m_root;
    // Which node shows which folder entry; the entries stay plain data.
    std::unordered_map<const TFTPListItem*, TFolderNode*> m_nodeOfEntry;
};

} // namespace qx
