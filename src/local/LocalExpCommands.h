// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qx {

// The local explorer's commands whose enabling depends on the window's state.
enum class TLocalCommand {
    Upload,
    UploadInQueue,
    Open,
    Print,
    UpOneLevel,
    NewFolder,
    Shortcut,
    Delete,
    Rename,
    Properties,
    ContextMenu,
    Cut,
    Copy,
    Paste,
    Synchronize,
    Compare,
    CompareDifferences,
};

// What the enable rules look at. The tree target is the drop-highlighted or right-clicked node,
// else the selected one; "file system" means an existing folder or file of a mounted file
// system, and a drive root is the root of a mounted volume.
struct TLocalExpState {
    bool HasRemoteExplorer = false; // a current remote explorer with a connected session
    bool RemoteBusy = false;        // its client works on a request
    bool TreeActive = false;
    bool ListActive = false;
    // The tree's target node.
    bool TreeTargetIsFolder = false;
    bool TreeTargetIsDriveRoot = false;
    bool TreeTargetWritableParent = false; // it can be moved, renamed, deleted
    // The tree's selected node.
    bool SelectedNodeHasParent = false;
    bool CurrentFolderUsable = false; // the list's folder is a folder of the file system
    // The selected list items.
    int ListSelected = 0;
    bool AnySelectedIsDriveRoot = false;
    bool FirstSelectedIsFolder = false;
    bool AllSelectedInWritableFolder = true; // can be moved, renamed, deleted
    bool ClipboardHasFiles = false;          // a file-drop list or remote entries
    bool Comparing = false;                  // the folder is compared with a remote one
};

bool LocalCommandEnabled(TLocalCommand command, const TLocalExpState& state);

} // namespace qx
