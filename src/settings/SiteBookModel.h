// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CoreMessage.h"
#include "settings/SiteBookNode.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qx {

class TConfigStore;
class TGlobalOptions;
class TPasswordStore;

// A message for the user about a failed site book command; empty on success. The title is a
// marked text of "qx::Core".
struct TSiteBookMessage {
    enum class TIcon { None, Error, Warning };

    std::string Title;
    TCoreMessage Text;
    TIcon Icon = TIcon::None;

    bool Empty() const { return Text.Empty(); }
};

struct TSiteBookCreateResult {
    TSiteBookNode* Node = nullptr; // the new node, appended as the last child of its folder
    TSiteBookMessage Message;
};

// The site book: a tree of folders and sites that mirrors the keys below
// "\Software\Quorvin Explorer\SiteBook\Tree", one key per node named like its text, the key's
// default value "Folder" or "Site" telling its kind. Every command changes the store and the
// tree together, or neither. A command whose enable rule fails (a new node in a site, renaming
// or deleting the root) does nothing.
class TSiteBookModel {
public:
    // Told about each site object just before it is freed (also by the destructor), so that
    // windows using it drop it; it must stay callable as long as the model lives.
    using TForgetSite = std::function<void(const TSiteProperties&)>;

    // Site passwords are kept in the password store when it is given and available (not owned;
    // it must outlive the model).
    TSiteBookModel(TConfigStore& store, const TGlobalOptions& options, std::string rootText,
                   TPasswordStore* passwords = nullptr);
    ~TSiteBookModel(); // frees the tree, telling ForgetSite about every site
    TSiteBookModel(const TSiteBookModel&) = delete;
    TSiteBookModel& operator=(const TSiteBookModel&) = delete;

    // The text of the root: the name of the user running the program (the password database
    // entry of the real user id, else $USER, else the user id as a number).
    static std::string CurrentUserName();

    void SetForgetSite(TForgetSite forgetSite) { m_forgetSite = std::move(forgetSite); }

    // Rebuilds the tree from the store: only keys whose default value is "Folder" or "Site"
    // are shown, nothing below other keys; every folder's children are sorted, folders first,
    // then by text without regard to case in the user's locale. The Tree key is created when
    // missing and its default value "Folder" is written every time.
    void Load();

    TPasswordStore* Passwords() const { return m_passwords; }
    TConfigStore& Store() const { return m_store; }
    // Writes the settings of a site node to its key (the password to the password store).
    void SaveSite(const TSiteBookNode& node);

    TSiteBookNode& Root() { return *m_root; }
    const TSiteBookNode& Root() const { return *m_root; }

    // "\Software\Quorvin Explorer\SiteBook\Tree" for the root, else the parent's path, "\"
    // and the text.
    static std::string NodeKeyPath(const TSiteBookNode& node);
    // "\" for the root, "\Work" for a child of it, "\Work\Mirror" below that.
    static std::string NodeLocation(const TSiteBookNode& node);
    // The node of a location (the leading "\" may be left out); names compare without regard
    // to the case of ASCII letters, as keys do. Null when there is none.
    TSiteBookNode* FindByLocation(std::string_view location);

    // A folder "New Folder #n" in the target folder, n the lowest number not taken.
    TSiteBookCreateResult NewFolder(TSiteBookNode& target);
    // The folder of that name in the target folder (names compare as keys do), made when there
    // is none (appended as the last child); no node, with a message, when the name is not valid or
    // a site holds it.
    TSiteBookCreateResult FolderNamed(TSiteBookNode& target, std::string_view name);
    // A site of that name in the target folder, stored at once; the node takes over the
    // object (a null one means defaults) and its SiteNode is set to the node.
    TSiteBookCreateResult CreateSite(TSiteBookNode& target, std::string_view name,
                                     std::unique_ptr<TSiteProperties> site);
    // Moves the node's key to the new name; the node keeps its place among its siblings.
    TSiteBookMessage Rename(TSiteBookNode& node, std::string_view newText);
    // Deletes the node's key and the node, with everything below; the node is gone after
    // success.
    TSiteBookMessage Delete(TSiteBookNode& node);

private:
    TSiteBookNode& AddNode(TSiteBookNode& parent, std::string text, bool isSite);
    void LoadTreeNode(TSiteBookNode& parent, const std::string& parentPath,
                      const std::string& name);
    void SortChildren(TSiteBookNode& node) const;
    void ForgetSites(const TSiteBookNode& node) const;

    TConfigStore& m_store;
    const TGlobalOptions& m_options;
    TPasswordStore* m_passwords;
    std::unique_ptr<TSiteBookNode> m_root;
    TForgetSite m_forgetSite;
};

} // namespace qx
