// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/FTPCarryItem.h"
#include "remote/ExplorerCommands.h"
#include "remote/FTPFileData.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// A local file or folder as the local explorer's panes show it.
struct TLocalEntry {
    std::string Path; // the full local path, no trailing "/"
    bool IsFolder = false;
    std::string TypeName; // as the pane shows it
    int ImageIndex = 0;
};

// One entry of a direct upload: the local path, the remote path it goes to, its kind.
struct TDirectUpload {
    std::string LocalPath;
    std::string RemotePath;
    bool IsFolder = false;
};

// The last component of a local path ("/a/b/" gives "b"); empty for "/".
std::string LocalBaseName(const std::string& path);
// The rest of the path before the last component, ending with "/".
std::string LocalParentFolder(const std::string& path);
// The path without ".", ".." and repeated or trailing "/", by its text alone (links are not
// followed); "/" at the least.
std::string CleanLocalPath(const std::string& path);

// True when a local name can travel on the FTP control connection and be a remote name: not
// empty, no CR, LF or NUL, not "." or "..".
bool IsUploadableName(const std::string& name);

// The entries of one Uploads request into the remote folder (ending with "/"), in order. Names
// that cannot be uploaded are left out and added to skipped.
std::vector<TDirectUpload> MakeDirectUploads(const std::string& remoteFolder,
                                             const std::vector<TLocalEntry>& entries,
                                             std::vector<std::string>* skipped = nullptr);

// Queue items that upload the entries into the destination folder of the session; a folder
// item has size -1 and the folder type name, a file item the size on disk. Names that cannot be
// uploaded are left out and added to skipped.
std::vector<std::unique_ptr<TFTPCarryItem>>
MakeQueuedUploadItems(const TSessionLogin& destination, const std::string& destinationFolder,
                      const std::vector<TLocalEntry>& entries, const std::string& folderTypeName,
                      std::vector<std::string>* skipped = nullptr);

// Download items into the local folder for remote entries pasted or dropped on the window.
// Entries whose names cannot be local file names ("..", "/" inside) are left out and added to
// skipped.
std::vector<std::unique_ptr<TFTPCarryItem>>
MakeReceivedItems(const TFTPFileData& data, const std::string& localFolder,
                  std::vector<std::string>* skipped = nullptr);

// Where pasted remote entries go: with the tree active, the tree's target folder; with the
// list active, the one selected item when it is a folder, else the list's folder.
std::string PasteDestination(bool treeActive, const std::string& treeTarget,
                             const std::optional<std::string>& selectedFolder,
                             const std::string& currentFolder);
// Where entries dropped on the list go: into the folder item under the pointer, else into the
// list's folder. Ends with "/".
std::string ListDropDestination(const std::string& currentFolder,
                                const std::optional<std::string>& folderItemName);

} // namespace qx
