// SPDX-License-Identifier: GPL-3.0-or-later
// The local explorer's commands as tables: the actions with their rules, the menus, the
// pop-up menus and the toolbars. The view commands and the toolbars come from the explorer
// shell.

#include "local/gui/LocalExpForm.h"

#include "local/LocalFileSystem.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalFolderTreeModel.h"
#include "remote/gui/RemoteExpForm.h"
#include "sync/FolderPairing.h"
#include "sync/gui/FolderPairCommands.h"
#include "widgets/CommandTable.h"
#include "widgets/ExplorerShell.h"
#include "widgets/ExplorerViewCommands.h"
#include "widgets/MainDataModule.h"

#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QTreeView>

#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace {

using C = TLocalCommand;
using F = TLocalExpForm;
using Image = TMainDataModule::ActionImage;

// The menus and toolbars, by the names of their actions, groups and menus.
constexpr TMenuBarEntry kMenuBar[] = {
    {QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&File"),
     "FileUploadAction FileUploadinQueueAction - FileOpenAction "
     "FilePrintAction - FileUpOneLevelAction FileNewFolderAction - "
     "FileShortcutAction FileDeleteAction FileRenameAction "
     "FileFilteringAction FilePropertiesAction - FileHideAction"},
    {QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Edit"),
     "EditCutAction EditCopyAction EditPasteAction - EditSelectAllAction "
     "EditInvertSelectionAction"},
    {QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&View"),
     "ViewToolbarMenu - ViewStyleActions - ViewArrangeIconsMenu - "
     "ViewRefreshAction"},
    {QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Tool"),
     "ToolFindFileAction ToolFindComputerAction - "
     "ToolNetDriveConnectAction ToolNetDriveDisconnectAction - "
     "ToolSynchronizeAction ToolCompareAction ToolCompareDifferencesAction"}};

constexpr TExplorerMenus kMenus{
    kMenuBar,
    // The list's pop-up menus with a selection and without, and the tree's.
    "FileUploadAction FileUploadinQueueAction - FileOpenAction FilePrintAction - "
    "FileContextMenuAction - EditCutAction EditCopyAction EditPasteAction - FileShortcutAction "
    "FileDeleteAction FileRenameAction FilePropertiesAction",
    "ViewStyleActions - ViewArrangeIconsMenu - EditPasteAction - FileUpOneLevelAction "
    "FileNewFolderAction - FileFilteringAction FilePropertiesAction - ViewRefreshAction",
    "FileUploadAction FileUploadinQueueAction - FileContextMenuAction - EditCutAction "
    "EditCopyAction EditPasteAction - FileShortcutAction FileDeleteAction FileRenameAction "
    "FilePropertiesAction - FileNewFolderAction",
    // The toolbars.
    {"FileUploadAction FileUploadinQueueAction - FileUpOneLevelAction FileNewFolderAction - "
     "FileDeleteAction FilePropertiesAction",
     "EditCutAction EditCopyAction EditPasteAction",
     "ViewStylePopupMenu - ViewArrangeIconsMenu - ViewRefreshAction",
     "ToolFindFileAction ToolFindComputerAction - ToolNetDriveConnectAction "
     "ToolNetDriveDisconnectAction - ToolSynchronizeAction ToolCompareAction "
     "ToolCompareDifferencesAction"}};

// Mounting goes through the desktop's gio; without it these commands say why.
constexpr const char* kNetworkCommands[] = {"ToolFindComputerAction", "ToolNetDriveConnectAction",
                                            "ToolNetDriveDisconnectAction"};

} // namespace

void TLocalExpForm::CreateActions() {
    static constexpr TCommand<F, C> kCommands[] = {
        {"FileUploadAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Upload"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Upload|Upload Selected Items"), Qt::Key_F6, -1,
         &F::FileUploadActionExecute, C::Upload, "go-up"},
        {"FileUploadinQueueAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Upload in &Queue"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Upload in Queue|Upload Selected Items in Queue"),
         Qt::Key_F8, -1, &F::FileUploadinQueueActionExecute, C::UploadInQueue, "document-send"},
        {"FileOpenAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Open..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Open...|Open Selected Item..."), 0, Image::Open,
         &F::FileOpenActionExecute, C::Open},
        {"FilePrintAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Print..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Print...|Print Selected Item..."), 0, Image::Print,
         &F::FilePrintActionExecute, C::Print},
        {"FileUpOneLevelAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Up &One Level"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Up One Level|Go up One Level"), 0,
         Image::UpOneLevel, &F::FileUpOneLevelActionExecute, C::UpOneLevel},
        {"FileNewFolderAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "New &Folder"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "New Folder|Create New Folder..."), Qt::Key_F11,
         Image::NewFolder, &F::FileNewFolderActionExecute, C::NewFolder},
        {"FileShortcutAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Shortcuts"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Shortcuts|Create Shortcuts for Selected Items"), 0,
         -1, &F::FileShortcutActionExecute, C::Shortcut, "insert-link"},
        {"FileDeleteAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Delete"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Delete|Delete Selected Items"), 0, Image::Delete,
         &F::FileDeleteActionExecute, C::Delete},
        {"FileRenameAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Rena&me"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Rename|Rename Selected Item"), Qt::Key_F2,
         Image::Rename, &F::FileRenameActionExecute, C::Rename},
        {"FileFilteringAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Filtering..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Filtering...|File Filtering..."), 0,
         Image::Filtering, &F::FileFilteringActionExecute},
        {"FilePropertiesAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "P&roperties..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Properties...|View Properties of Selected Items"),
         0, Image::Properties, &F::FilePropertiesActionExecute, C::Properties},
        {"FileContextMenuAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Context Menu..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Context Menu...|Display Windows Context Menu"), 0,
         -1, &F::FileContextMenuActionExecute, C::ContextMenu},
        {"FileHideAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Hide"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Hide|Hide Local Explorer"), 0, Image::Hide,
         &F::FileHideActionExecute},
        {"EditCutAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Cu&t"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Cut|Cut Selected Items to Clipboard"),
         Ctrl(Qt::Key_X), -1, &F::EditCutActionExecute, C::Cut, "edit-cut"},
        {"EditCopyAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Copy"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Copy|Copy Selected Items to Clipboard"),
         Ctrl(Qt::Key_C), Image::Copy, &F::EditCopyActionExecute, C::Copy},
        {"EditPasteAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Paste"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Paste|Paste from Clipboard"), Ctrl(Qt::Key_V),
         Image::Paste, &F::EditPasteActionExecute, C::Paste},
        {"EditSelectAllAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Select &All"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Select All"), Ctrl(Qt::Key_A), Image::SelectAll,
         &F::EditSelectAllActionExecute},
        {"EditInvertSelectionAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Invert Selection"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Invert Selection"), 0, Image::InvertSelection,
         &F::EditInvertSelectionActionExecute},
        {"ViewRefreshAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "&Refresh"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Refresh"), Qt::Key_F5, Image::Refresh,
         &F::ViewRefreshActionExecute},
        {"ToolFindFileAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Find Files..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Find Files..."), 0, -1,
         &F::ToolFindFileActionExecute, std::nullopt, "edit-find"},
        {"ToolFindComputerAction", QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Find Computer..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Find Computer..."), 0, -1,
         &F::ToolNetDriveConnectActionExecute, std::nullopt, "network-workgroup"},
        {"ToolNetDriveConnectAction",
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Network Drive &Connect..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Network Drive Connect..."), 0, -1,
         &F::ToolNetDriveConnectActionExecute, std::nullopt, "network-server"},
        {"ToolNetDriveDisconnectAction",
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Network Drive &Disconnect..."),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Network Drive Disconnect..."), 0, -1,
         &F::ToolNetDriveDisconnectActionExecute, std::nullopt, "media-eject"},
    };
    m_actions = new TActionList(this);
    // Every rule of one update pass asks for the state; it is read once per pass.
    m_actions->Add({}, {}, [this](QAction& self) {
        self.setVisible(false);
        m_stateCache.reset();
    });
    static constexpr auto kPairCommands = FolderPairCommands<F, C>(
        {QT_TRANSLATE_NOOP("qx::TLocalExpForm", "S&ynchronize..."),
         QT_TRANSLATE_NOOP(
             "qx::TLocalExpForm",
             "Synchronize...|Synchronize This Folder with the Remote Explorer's Folder"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Compare &Folders"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm",
                           "Compare Folders|Compare the Folder with the Remote Explorer's Folder"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm", "Only &Differences"),
         QT_TRANSLATE_NOOP("qx::TLocalExpForm",
                           "Only Differences|Show Only the Items that Differ")});
    const auto enabled = [this](C command) { return LocalCommandEnabled(command, CommandState()); };
    AddCommands(*m_actions, *this, kCommands, enabled);
    AddCommands(*m_actions, *this, kPairCommands, enabled);
    AddViewCommands({4, QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Arrange &Icons"),
                     [this] { return m_sortColumn; }, [this](int column) { ArrangeBy(column); }});
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) {
        DisableNetworkCommands();
    }

    FillMenus(*menuWidget()->findChild<QMenuBar*>(), kMenus);
}

void TLocalExpForm::DisableNetworkCommands() {
    std::vector<QAction*> net;
    for (const char* name : kNetworkCommands) {
        QAction* action = Action(name);
        action->setEnabled(false);
        action->setStatusTip(tr("Needs the gio tool of the desktop, which is not installed"));
        action->setToolTip(action->statusTip());
        net.push_back(action);
    }
    m_actions->Add({}, {}, [net = std::move(net)](QAction& self) {
        self.setVisible(false);
        for (QAction* action : net) {
            action->setEnabled(false);
        }
    });
}

void TLocalExpForm::FileHideActionExecute() {
    hide();
}

TLocalExpState TLocalExpForm::CommandState() const {
    // Every rule of one update pass asks; the state is read once per pass (the first handler of
    // the list forgets the last one).
    if (m_stateCache) {
        return *m_stateCache;
    }
    TLocalExpState state;
    const TRemoteExpForm* remote = CurrentRemoteExplorer();
    state.HasRemoteExplorer = remote != nullptr && remote->Connected();
    state.RemoteBusy = remote != nullptr && !remote->CanUploadNow();
    state.TreeActive = m_shell->TreeActive();
    state.ListActive = m_shell->ListActive();
    // Read from the mount table where it can be: nothing here touches a network file system,
    // whose calls may hang (its nodes are folders, and a change is left to the command).
    const std::string target = TreeTargetPath();
    const bool network = m_treeModel->IsOnNetwork(target);
    struct stat info {};
    state.TreeTargetIsFolder =
        !target.empty() &&
        (network || (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)));
    state.TreeTargetIsDriveRoot = state.TreeTargetIsFolder && m_treeModel->IsMountPoint(target);
    const std::string parent = LocalParentFolder(target);
    state.TreeTargetWritableParent =
        state.TreeTargetIsFolder && target != "/" &&
        (m_treeModel->IsOnNetwork(parent) || ::access(parent.c_str(), W_OK) == 0);
    state.SelectedNodeHasParent = m_shell->TreeView().currentIndex().parent().isValid();
    state.CurrentFolderUsable = LocalFolder().has_value();
    const QModelIndexList rows = m_shell->DetailsView().selectionModel()->selectedRows(0);
    state.ListSelected = static_cast<int>(rows.size());
    if (!rows.isEmpty()) {
        // The list shows one folder: its items can be changed when that folder can.
        state.AllSelectedInWritableFolder = m_treeModel->IsOnNetwork(m_currentFolder) ||
                                            ::access(m_currentFolder.c_str(), W_OK) == 0;
        for (const QModelIndex& row : rows) {
            if (m_listModel->IsDir(row) &&
                m_mountPointsHere.contains(m_listModel->FilePathBytes(row))) {
                state.AnySelectedIsDriveRoot = true;
            }
        }
        state.FirstSelectedIsFolder = m_listModel->IsDir(rows.front());
    }
    state.ClipboardHasFiles = m_clipboardHasFiles;
    state.Comparing = m_pairing->Active();
    m_stateCache = state;
    return state;
}

} // namespace qx
