// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SiteProperties.h"

#include <memory>
#include <string>
#include <vector>

namespace qx {

// What a site book node is: a folder, or a site with its settings.
struct TSiteBookTreeData {
    bool IsSite = false;
    std::unique_ptr<TSiteProperties> Properties; // sites only; its SiteNode points back
};

// One node of the site book tree. Its text is the name of its key in the store; it owns its
// children and its data. Only the site book model changes the tree.
class TSiteBookNode {
public:
    TSiteBookNode(std::string text, TSiteBookNode* parent, TSiteBookTreeData data)
        : m_text(std::move(text)), m_parent(parent), m_data(std::move(data)) {}
    TSiteBookNode(const TSiteBookNode&) = delete;
    TSiteBookNode& operator=(const TSiteBookNode&) = delete;

    const std::string& Text() const { return m_text; }
    TSiteBookNode* Parent() const { return m_parent; }
    const std::vector<std::unique_ptr<TSiteBookNode>>& Children() const { return m_children; }
    const TSiteBookTreeData& Data() const { return m_data; }
    bool IsSite() const { return m_data.IsSite; }
    bool IsRoot() const { return m_parent == nullptr; }
    // The settings of a site; null for folders.
    TSiteProperties* Properties() const { return m_data.Properties.get(); }

private:
    friend class TSiteBookModel;

    std::string m_text;
    TSiteBookNode* m_parent;
    std::vector<std::unique_ptr<TSiteBookNode>> m_children;
    TSiteBookTreeData m_data;
};

} // namespace qx
