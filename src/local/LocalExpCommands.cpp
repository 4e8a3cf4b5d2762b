// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalExpCommands.h"

namespace qx {

bool LocalCommandEnabled(TLocalCommand command, const TLocalExpState& s) {
    using C = TLocalCommand;
    const bool treeFolder = s.TreeTargetIsFolder;
    const bool listSome = s.ListActive && s.ListSelected >= 1;
    const bool listOne = s.ListActive && s.ListSelected == 1;
    // Upload sources: a folder that is not a drive root, or selected items none of which is.
    const bool uploadable = (s.TreeActive && treeFolder && !s.TreeTargetIsDriveRoot) ||
                            (listSome && !s.AnySelectedIsDriveRoot);
    // Items that can be moved, renamed or deleted: not a drive root, in a folder we may change.
    const bool treeChangeable =
        s.TreeActive && treeFolder && !s.TreeTargetIsDriveRoot && s.TreeTargetWritableParent;
    const bool listChangeable =
        listSome && !s.AnySelectedIsDriveRoot && s.AllSelectedInWritableFolder;
    switch (command) {
    case C::Upload:
        return s.HasRemoteExplorer && !s.RemoteBusy && uploadable;
    case C::UploadInQueue:
        return s.HasRemoteExplorer && uploadable;
    case C::Synchronize:
        return s.HasRemoteExplorer;
    case C::Open:
        return listOne;
    case C::Print:
        return listOne && !s.FirstSelectedIsFolder;
    case C::UpOneLevel:
        return s.SelectedNodeHasParent;
    case C::NewFolder:
        return s.TreeActive ? treeFolder : s.ListActive && s.CurrentFolderUsable;
    case C::Shortcut:
    case C::Copy:
        return (s.TreeActive && treeFolder) || listSome;
    case C::Delete:
    case C::Cut:
        return treeChangeable || listChangeable;
    case C::Rename:
        return treeChangeable || (listOne && listChangeable);
    case C::Properties:
        return (s.TreeActive && treeFolder) ||
               (s.ListActive && (s.ListSelected >= 1 || s.CurrentFolderUsable));
    case C::ContextMenu:
        return s.TreeActive || listSome;
    case C::Paste:
        return s.ClipboardHasFiles &&
               ((s.TreeActive && treeFolder) ||
                (s.ListActive &&
                 (s.ListSelected == 0 ? s.CurrentFolderUsable
                                      : s.ListSelected == 1 && s.FirstSelectedIsFolder)));
    case C::Compare:
        return s.HasRemoteExplorer || s.Comparing;
    case C::CompareDifferences:
        return s.Comparing;
    }
    return false;
}

} // namespace qx
