// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteBookModel.h"

#include "base/AsciiText.h"
#include "base/LocaleTextCompare.h"
#include "base/Translatable.h"
#include "platform/ConfigStore.h"
#include "settings/StoreKeys.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace qx {

namespace {

constexpr std::string_view FolderKind = "Folder";
constexpr std::string_view SiteKind = "Site";
constexpr const char* CreateErrorTitle = QX_TRANSLATE_NOOP("qx::Core", "Site Book Create Error");
constexpr const char* RenameErrorTitle = QX_TRANSLATE_NOOP("qx::Core", "Site Book Rename Error");
constexpr const char* DeleteErrorTitle = QX_TRANSLATE_NOOP("qx::Core", "Site Book Delete Error");

TSiteBookMessage Message(const char* title, TCoreMessage text, TSiteBookMessage::TIcon icon) {
    return {title, std::move(text), icon};
}

// A node's text is its key name, so it can neither be empty nor hold the path separator.
bool IsValidName(std::string_view name) {
    return !name.empty() && name.find('\\') == std::string_view::npos;
}

TCoreMessage InvalidNameText(std::string_view name) {
    return {QX_TRANSLATE_NOOP("qx::Core",
                              "Invalid name [%1]. A name cannot be empty or contain \"\\\"."),
            {std::string(name)}};
}

} // namespace

TSiteBookModel::TSiteBookModel(TConfigStore& store, const TGlobalOptions& options,
                               std::string rootText, TPasswordStore* passwords)
    : m_store(store), m_options(options), m_passwords(passwords),
      m_root(std::make_unique<TSiteBookNode>(std::move(rootText), nullptr, TSiteBookTreeData{})) {}

TSiteBookModel::~TSiteBookModel() {
    ForgetSites(*m_root);
}

std::string TSiteBookModel::CurrentUserName() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return found->pw_name;
    }
    if (const char* user = std::getenv("USER"); user != nullptr && user[0] != '\0') {
        return user;
    }
    return std::to_string(::getuid());
}

void TSiteBookModel::Load() {
    ForgetSites(*m_root);
    m_root->m_children.clear();
    const std::string treePath(SiteBookTreeKey);
    m_store.CreateKey(treePath);
    m_store.WriteString(treePath, "", FolderKind);
    for (const std::string& name : m_store.SubKeyNames(treePath)) {
        LoadTreeNode(*m_root, treePath, name);
    }
    SortChildren(*m_root);
}

void TSiteBookModel::LoadTreeNode(TSiteBookNode& parent, const std::string& parentPath,
                                  const std::string& name) {
    const std::string path = parentPath + "\\" + name;
    const auto kind = m_store.ReadString(path, "");
    if (kind == SiteKind) {
        AddNode(parent, name, true).m_data.Properties->LoadFromStore(m_store, path, m_passwords);
    } else if (kind == FolderKind) {
        TSiteBookNode& folder = AddNode(parent, name, false);
        for (const std::string& subName : m_store.SubKeyNames(path)) {
            LoadTreeNode(folder, path, subName);
        }
        SortChildren(folder);
    }
}

TSiteBookNode& TSiteBookModel::AddNode(TSiteBookNode& parent, std::string text, bool isSite) {
    TSiteBookTreeData data;
    data.IsSite = isSite;
    if (isSite) {
        data.Properties = std::make_unique<TSiteProperties>(m_options);
    }
    auto& node = parent.m_children.emplace_back(
        std::make_unique<TSiteBookNode>(std::move(text), &parent, std::move(data)));
    if (isSite) {
        node->m_data.Properties->SiteNode = node.get();
    }
    return *node;
}

void TSiteBookModel::SortChildren(TSiteBookNode& node) const {
    const TLocaleTextCompare compare;
    std::stable_sort(node.m_children.begin(), node.m_children.end(),
                     [&](const auto& a, const auto& b) {
                         if (a->IsSite() != b->IsSite()) {
                             return !a->IsSite();
                         }
                         return compare(a->Text(), b->Text()) < 0;
                     });
}

void TSiteBookModel::ForgetSites(const TSiteBookNode& node) const {
    if (node.Properties() != nullptr && m_forgetSite) {
        m_forgetSite(*node.Properties());
    }
    for (const auto& child : node.Children()) {
        ForgetSites(*child);
    }
}

void TSiteBookModel::SaveSite(const TSiteBookNode& node) {
    if (const TSiteProperties* site = node.Properties()) {
        site->SaveToStore(m_store, NodeKeyPath(node), m_passwords);
    }
}

std::string TSiteBookModel::NodeKeyPath(const TSiteBookNode& node) {
    if (node.IsRoot()) {
        return std::string(SiteBookTreeKey);
    }
    return NodeKeyPath(*node.Parent()) + "\\" + node.Text();
}

std::string TSiteBookModel::NodeLocation(const TSiteBookNode& node) {
    if (node.IsRoot()) {
        return "\\";
    }
    const TSiteBookNode& parent = *node.Parent();
    return (parent.IsRoot() ? std::string() : NodeLocation(parent)) + "\\" + node.Text();
}

TSiteBookNode* TSiteBookModel::FindByLocation(std::string_view location) {
    if (location.starts_with('\\')) {
        location.remove_prefix(1);
    }
    TSiteBookNode* node = m_root.get();
    while (!location.empty() && node != nullptr) {
        const std::size_t end = location.find('\\');
        const std::string_view name = location.substr(0, end);
        const auto& children = node->m_children;
        const auto found = std::find_if(children.begin(), children.end(), [&](const auto& child) {
            return AsciiEqualNoCase(child->Text(), name);
        });
        node = found == children.end() ? nullptr : found->get();
        location = end == std::string_view::npos ? std::string_view() : location.substr(end + 1);
        if (end != std::string_view::npos && location.empty()) {
            return nullptr; // a trailing "\"
        }
    }
    return node;
}

TSiteBookCreateResult TSiteBookModel::NewFolder(TSiteBookNode& target) {
    if (target.IsSite()) {
        return {};
    }
    const std::string targetPath = NodeKeyPath(target);
    if (!m_store.KeyExists(targetPath)) {
        return {nullptr, Message(CreateErrorTitle,
                                 {QX_TRANSLATE_NOOP("qx::Core", "Cannot open key for [%1]."),
                                  {target.Text()}},
                                 TSiteBookMessage::TIcon::Error)};
    }
    std::string name;
    for (int n = 1;; ++n) {
        name = "New Folder #" + std::to_string(n);
        if (!m_store.KeyExists(targetPath + "\\" + name)) {
            break;
        }
    }
    const std::string path = targetPath + "\\" + name;
    const TConfigBatch batch(m_store);
    m_store.CreateKey(path);
    m_store.WriteString(path, "", FolderKind);
    return {&AddNode(target, name, false), {}};
}

TSiteBookCreateResult TSiteBookModel::FolderNamed(TSiteBookNode& target, std::string_view name) {
    using TIcon = TSiteBookMessage::TIcon;
    if (target.IsSite()) {
        return {};
    }
    if (!IsValidName(name)) {
        return {nullptr, Message(CreateErrorTitle, InvalidNameText(name), TIcon::Error)};
    }
    for (const auto& child : target.m_children) {
        if (AsciiEqualNoCase(child->Text(), name)) {
            if (child->IsSite()) {
                return {nullptr,
                        Message(CreateErrorTitle,
                                {QX_TRANSLATE_NOOP("qx::Core", "A site is named [%1] already."),
                                 {std::string(name)}},
                                TIcon::Error)};
            }
            return {child.get(), {}};
        }
    }
    const std::string path = NodeKeyPath(target) + "\\" + std::string(name);
    const TConfigBatch batch(m_store);
    if (!m_store.CreateKey(path)) {
        return {nullptr, Message(CreateErrorTitle,
                                 {QX_TRANSLATE_NOOP("qx::Core", "Cannot create key for [%1]."),
                                  {std::string(name)}},
                                 TIcon::Error)};
    }
    m_store.WriteString(path, "", FolderKind);
    return {&AddNode(target, std::string(name), false), {}};
}

TSiteBookCreateResult TSiteBookModel::CreateSite(TSiteBookNode& target, std::string_view name,
                                                 std::unique_ptr<TSiteProperties> site) {
    using TIcon = TSiteBookMessage::TIcon;
    if (target.IsSite()) {
        return {};
    }
    if (!IsValidName(name)) {
        return {nullptr, Message(CreateErrorTitle, InvalidNameText(name), TIcon::Error)};
    }
    const std::string targetPath = NodeKeyPath(target);
    if (!m_store.KeyExists(targetPath)) {
        return {nullptr, Message(CreateErrorTitle,
                                 {QX_TRANSLATE_NOOP("qx::Core", "Cannot open key for [%1]."),
                                  {target.Text()}},
                                 TIcon::Error)};
    }
    const std::string path = targetPath + "\\" + std::string(name);
    if (m_store.KeyExists(path)) {
        return {nullptr,
                Message(CreateErrorTitle,
                        {QX_TRANSLATE_NOOP("qx::Core",
                                           "New name [%1] already exists! Use another name."),
                         {std::string(name)}},
                        TIcon::Error)};
    }
    const TConfigBatch batch(m_store);
    m_store.CreateKey(path);
    m_store.WriteString(path, "", SiteKind);
    TSiteBookNode& node = AddNode(target, std::string(name), true);
    if (site) {
        site->SiteNode = &node;
        node.m_data.Properties = std::move(site);
    }
    node.m_data.Properties->SaveToStore(m_store, path, m_passwords);
    return {&node, {}};
}

TSiteBookMessage TSiteBookModel::Rename(TSiteBookNode& node, std::string_view newText) {
    using TIcon = TSiteBookMessage::TIcon;
    if (node.IsRoot()) {
        return {};
    }
    if (!IsValidName(newText)) {
        return Message(RenameErrorTitle, InvalidNameText(newText), TIcon::Warning);
    }
    const std::string parentPath = NodeKeyPath(*node.Parent());
    const std::string from = parentPath + "\\" + node.Text();
    const std::string to = parentPath + "\\" + std::string(newText);
    const auto cannotRename = [&] {
        return Message(RenameErrorTitle,
                       {QX_TRANSLATE_NOOP("qx::Core", "Cannot rename from [%1] to [%2]."),
                        {node.Text(), std::string(newText)}},
                       TIcon::Warning);
    };
    if (!m_store.KeyExists(parentPath)) {
        return cannotRename();
    }
    if (m_store.KeyExists(to)) {
        return Message(RenameErrorTitle,
                       {QX_TRANSLATE_NOOP("qx::Core", "New name [%1] already exists."),
                        {std::string(newText)}},
                       TIcon::Warning);
    }
    // A failed file write keeps the move in the store's memory; the tree follows the store.
    if (!m_store.MoveKey(from, to) && !m_store.KeyExists(to)) {
        return cannotRename();
    }
    node.m_text = newText;
    return {};
}

TSiteBookMessage TSiteBookModel::Delete(TSiteBookNode& node) {
    if (node.IsRoot()) {
        return {};
    }
    const std::string path = NodeKeyPath(node);
    // A failed file write keeps the deletion in the store's memory; the tree follows the store.
    if (!m_store.KeyExists(path) || (!m_store.DeleteKey(path) && m_store.KeyExists(path))) {
        return Message(DeleteErrorTitle,
                       {QX_TRANSLATE_NOOP("qx::Core", "Cannot delete [%1]."), {node.Text()}},
                       TSiteBookMessage::TIcon::Error);
    }
    ForgetSites(node);
    auto& siblings = node.Parent()->m_children;
    std::erase_if(siblings, [&](const auto& child) { return child.get() == &node; });
    return {};
}

} // namespace qx
