// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer's commands as tables: the actions with their rules, the menus, the
// pop-up menus and the toolbars. The view commands and the toolbars come from the explorer
// shell.

#include "remote/gui/RemoteExpForm.h"

#include "session/ThreadedFTPClient.h"
#include "sync/FolderPairing.h"
#include "sync/gui/FolderPairCommands.h"
#include "widgets/ActionList.h"
#include "widgets/CommandTable.h"
#include "widgets/ExplorerShell.h"
#include "widgets/ExplorerViewCommands.h"
#include "widgets/MainDataModule.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeView>

namespace qx {

namespace {

// The menus and toolbars, by the names of their actions, groups and menus.
constexpr TMenuBarEntry kMenuBar[] = {
    {QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&File"),
     "FileDownloadAction FileDownloadtoAction FileDownloadinQueueAction - "
     "FileOpenAction FileOnlineEditAction FilePrintAction - "
     "FileUpOneLevelAction FileNewFolderAction FileChangeFolderAction - "
     "FileDeleteAction FileRenameAction FileChangePermAction "
     "FileFilteringAction FilePropertiesAction - FileCloseAction"},
    {QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Edit"),
     "EditCopyAction EditPasteAction EditCopyURLAction - "
     "EditSelectAllAction EditInvertSelectionAction"},
    {QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&View"),
     "ViewLogPanelAction ViewToolbarMenu - ViewStyleActions - "
     "ViewArrangeIconsMenu - ViewRefreshAction - ViewServerInfoAction"},
    {QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Tool"),
     "ToolAbortAction - ToolResumingTransferAction - TransferTypeActions - "
     "ToolTelnetAction - "
     "ToolSynchronizeAction ToolCompareAction ToolCompareDifferencesAction - "
     "ToolFindAction"}};

constexpr TExplorerMenus kMenus{
    kMenuBar,
    // The list's pop-up menus with a selection and without, and the tree's.
    "FileDownloadAction FileDownloadtoAction FileDownloadinQueueAction - FileOpenAction "
    "FileOnlineEditAction FilePrintAction - EditCopyAction EditPasteAction EditCopyURLAction - "
    "FileDeleteAction FileRenameAction FileChangePermAction FilePropertiesAction",
    "ViewStyleActions - ViewArrangeIconsMenu - EditPasteAction - FileUpOneLevelAction "
    "FileNewFolderAction FileChangeFolderAction - FileFilteringAction - ViewRefreshAction",
    "FileDownloadAction FileDownloadtoAction FileDownloadinQueueAction - EditCopyAction "
    "EditPasteAction EditCopyURLAction - FileDeleteAction FileRenameAction FileChangePermAction "
    "FilePropertiesAction - FileNewFolderAction",
    // The toolbars.
    {"FileDownloadAction FileDownloadtoAction FileDownloadinQueueAction - FileUpOneLevelAction "
     "FileNewFolderAction FileChangeFolderAction - FileDeleteAction FileChangePermAction "
     "FilePropertiesAction",
     "EditCopyAction EditPasteAction",
     "ViewStylePopupMenu - ViewArrangeIconsMenu - ViewRefreshAction",
     "ToolAbortAction - ToolResumingTransferAction - TransferTypePopupMenu - ToolTelnetAction "
     "- ToolSynchronizeAction ToolCompareAction ToolCompareDifferencesAction - ToolFindAction"}};

constexpr const char* kTransferTypes[] = {
    "ToolTransferTypeASCIIAction", "ToolTransferTypeBinaryAction", "ToolTransferTypeAutoAction"};

using C = TExplorerCommand;
using F = TRemoteExpForm;
using Image = TMainDataModule::ActionImage;

} // namespace

void TRemoteExpForm::CreateActions() {
    static constexpr TCommand<F, C> kCommands[] = {
        {"FileDownloadAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Down&load"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Download|Download Selected Items"), Qt::Key_F6,
         Image::Download, &F::FileDownloadActionExecute, C::Download},
        {"FileDownloadtoAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Download &to..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Download to...|Download Selected Items to..."),
         Qt::Key_F7, Image::DownloadTo, &F::FileDownloadtoActionExecute, C::DownloadTo},
        {"FileDownloadinQueueAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Download in &Queue"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm",
                           "Download in Queue|Download Selected Items in Queue"),
         Qt::Key_F8, Image::DownloadInQueue, &F::FileDownloadinQueueActionExecute,
         C::DownloadInQueue},
        {"FileOpenAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Open..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Open...|Open Selected Item..."), 0, Image::Open,
         &F::FileOpenActionExecute, C::Open},
        {"FileOnlineEditAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Online &Edit..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Online Edit...|Online Edit Selected Item..."),
         Qt::Key_F9, Image::OnlineEdit, &F::FileOnlineEditActionExecute, C::OnlineEdit},
        {"FilePrintAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Print..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Print...|Print Selected Item..."), 0,
         Image::Print, &F::FilePrintActionExecute, C::Print},
        {"FileUpOneLevelAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Up One Level"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Up One Level|Go up One Level"), 0,
         Image::UpOneLevel, &F::UpOneLevel, C::UpOneLevel},
        {"FileNewFolderAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "New &Folder..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "New Folder...|Create New Folder..."), Qt::Key_F11,
         Image::NewFolder, &F::FileNewFolderActionExecute, C::NewFolder},
        {"FileChangeFolderAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "C&hange Folder..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Change Folder..."), Qt::Key_F12,
         Image::ChangeFolder, &F::FileChangeFolderActionExecute, C::ChangeFolder},
        {"FileDeleteAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Delete"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Delete|Delete Selected Items"), 0, Image::Delete,
         &F::FileDeleteActionExecute, C::Delete},
        {"FileRenameAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Rena&me"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Rename|Rename Selected Item"), Qt::Key_F2,
         Image::Rename, &F::FileRenameActionExecute, C::Rename},
        {"FileChangePermAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Change Per&mission..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm",
                           "Permission...|Change Permissions of Selected Items..."),
         0, Image::ChangePermission, &F::FileChangePermActionExecute, C::ChangePermission},
        {"FileFilteringAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Filtering..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Filtering...|Filtering Files..."), 0,
         Image::Filtering, &F::FileFilteringActionExecute, C::Filtering},
        {"FilePropertiesAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "P&roperties..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Properties..."), 0, Image::Properties,
         &F::FilePropertiesActionExecute, C::Properties},
        {"FileCloseAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Close"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Close"), 0, Image::Close,
         &F::FileCloseActionExecute},
        {"EditCopyAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Copy"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Copy|Copy Selected Items to Clipboard"),
         Ctrl(Qt::Key_C), Image::Copy, &F::EditCopyActionExecute, C::Copy},
        {"EditPasteAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Paste"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Paste|Paste from Clipboard"), Ctrl(Qt::Key_V),
         Image::Paste, &F::EditPasteActionExecute, C::Paste},
        {"EditCopyURLAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Copy &URL"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Copy URL|Copy Selected Item's URL to Clipboard"),
         Ctrl(Qt::Key_U), Image::CopyUrl, &F::EditCopyURLActionExecute, C::CopyURL},
        {"EditSelectAllAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Select &All"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Select All"), Ctrl(Qt::Key_A), Image::SelectAll,
         &F::EditSelectAllActionExecute},
        {"EditInvertSelectionAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Invert Selection"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Invert Selection"), 0, Image::InvertSelection,
         &F::EditInvertSelectionActionExecute},
        {"ViewLogPanelAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Log &Panel"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Log Panel|Toggle Log Panel Visibility"), 0,
         Image::LogPanel, &F::ViewLogPanelActionExecute, std::nullopt, nullptr, true},
        {"ViewRefreshAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Refresh"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Refresh|Refresh Folder Tree and File List"),
         Qt::Key_F5, Image::Refresh, &F::Refresh, C::Refresh},
        {"ViewServerInfoAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Server &Information..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm",
                           "Server Information...|View Server Information Dialog Box"),
         0, Image::ServerInformation, &F::ViewServerInfoActionExecute},
        {"ToolAbortAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Abort"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Abort|Abort Current FTP Command Processing"), 0,
         Image::Abort, &F::ToolAbortActionExecute, C::Abort},
        {"ToolResumingTransferAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Resuming Transfer"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Resuming|Resuming Transfer"), 0,
         Image::ResumingTransfer, &F::ToolResumingTransferActionExecute, std::nullopt, nullptr,
         true},
        {"ToolTransferTypeASCIIAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "AS&CII"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "ASCII|ASCII Transfer Type"), 0, Image::Ascii,
         &F::ToolTransferTypeASCIIActionExecute, std::nullopt, nullptr, true},
        {"ToolTransferTypeBinaryAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Binary"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Binary|Binary Transfer Type"), 0,
         Image::Ascii + 1, &F::ToolTransferTypeBinaryActionExecute, std::nullopt, nullptr, true},
        {"ToolTransferTypeAutoAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Au&to"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Auto|Auto Transfer Type"), 0, Image::Ascii + 2,
         &F::ToolTransferTypeAutoActionExecute, std::nullopt, nullptr, true},
        {"ToolTransferTypeToolbarButtonAction",
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Transfer Type"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Transfer Type"), 0, Image::Ascii,
         &F::ToolTransferTypeNextActionExecute},
        {"ToolTelnetAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "&Telnet..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Telnet...|Telnet to FTP Server"), 0,
         Image::Telnet, &F::ToolTelnetActionExecute},
        {"ToolFindAction", QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "F&ind Files..."),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm",
                           "Find Files...|Find Files below the Folder by Name, Size and Date"),
         Ctrl(Qt::Key_F), -1, &F::ToolFindActionExecute, C::Find, "edit-find"},
    };
    m_actions = new TActionList(this);
    static constexpr auto kPairCommands = FolderPairCommands<F, C>(
        {QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "S&ynchronize..."),
         QT_TRANSLATE_NOOP(
             "qx::TRemoteExpForm",
             "Synchronize...|Synchronize This Folder with the Local Explorer's Folder"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Compare &Folders"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm",
                           "Compare Folders|Compare the Folder with the Local Explorer's Folder"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm", "Only &Differences"),
         QT_TRANSLATE_NOOP("qx::TRemoteExpForm",
                           "Only Differences|Show Only the Items that Differ")});
    const auto enabled = [this](C command) { return CommandEnabled(command, CommandState()); };
    AddCommands(*m_actions, *this, kCommands, enabled);
    AddCommands(*m_actions, *this, kPairCommands, enabled);
    AddViewCommands({5, QT_TRANSLATE_NOOP("qx::TExplorerViewCommands", "Arrange Icons"),
                     [this] { return m_fileList.SortColumn(); },
                     [this](int column) { ArrangeBy(column); }});
    m_actions->Add({}, {}, [this](QAction& self) { UpdateChecks(self); });
    // The transfer types: in the Tool menu, and dropped down from the toolbar's type button.
    auto* types = new QActionGroup(this);
    types->setObjectName(QStringLiteral("TransferTypeActions"));
    types->setExclusionPolicy(QActionGroup::ExclusionPolicy::None); // checked by UpdateChecks
    auto* typeMenu = new QMenu(this);
    typeMenu->setObjectName(QStringLiteral("TransferTypePopupMenu"));
    for (const char* name : kTransferTypes) {
        types->addAction(Action(name));
        typeMenu->addAction(Action(name));
    }
    typeMenu->setDefaultAction(Action("ToolTransferTypeToolbarButtonAction"));
    FillMenus(*menuBar(), kMenus);
}

// The checks of the log panel, resuming and the transfer type, and the type button's image.
void TRemoteExpForm::UpdateChecks(QAction& self) {
    self.setVisible(false);
    Action("ViewLogPanelAction")->setChecked(m_shell->BottomPanel()->isVisible());
    Action("ToolResumingTransferAction")->setChecked(m_client->ResumeTransfer);
    const int type = static_cast<int>(m_client->TransferType);
    for (int t = 0; t < 3; ++t) {
        Action(kTransferTypes[t])->setChecked(type == t);
    }
    if (m_shownTransferType != type) {
        m_shownTransferType = type;
        Action("ToolTransferTypeToolbarButtonAction")
            ->setIcon(TMainDataModule::ActionIcon(Image::Ascii + type));
    }
    const bool comparing = m_context.Pairing && m_context.Pairing->ActiveFor(this);
    Action("ToolCompareAction")->setChecked(comparing);
    Action("ToolCompareDifferencesAction")
        ->setChecked(comparing && m_context.Pairing->OnlyDifferences());
}

TExplorerState TRemoteExpForm::CommandState() const {
    TExplorerState state;
    state.Connected = m_connected && !m_closing && SelectedNode() != nullptr;
    state.Busy = m_client->Busy();
    state.TreeActive = m_shell->TreeActive();
    state.ListActive = m_shell->ListActive();
    const TFolderNode* target = TreeTarget();
    state.HasTreeTarget = target != nullptr;
    state.TreeTargetIsRoot = target != nullptr && target->Parent == nullptr;
    const TFolderNode* selected = SelectedNode();
    state.SelectedNodeIsRoot = selected == nullptr || selected->Parent == nullptr;
    state.ListSelected = m_selectedCount;
    state.FirstSelectedIsFile = m_firstSelected != nullptr && m_firstSelected->IsFile;
    state.FirstSelectedIsFolder = m_firstSelected != nullptr && !m_firstSelected->IsFile;
    state.LocalFolderUsable = m_context.LocalFolder && m_context.LocalFolder().has_value();
    state.EditorAvailable = static_cast<bool>(m_context.OpenInEditor);
    state.ClipboardHasFiles = m_clipboardHasFiles;
    state.Comparing = m_context.Pairing && m_context.Pairing->ActiveFor(this);
    return state;
}

// --- The handlers that are no more than a line ---------------------------------------------

void TRemoteExpForm::FilePrintActionExecute() {
    DownloadSelectedFile([this] { FTPClientDownloadFileDoneInOpen("print"); });
}

void TRemoteExpForm::FileCloseActionExecute() {
    close();
}

void TRemoteExpForm::ViewLogPanelActionExecute() {
    SetLogPanelVisible(!m_shell->BottomPanel()->isVisible());
}

void TRemoteExpForm::ToolAbortActionExecute() {
    m_client->Abort();
}

void TRemoteExpForm::ToolResumingTransferActionExecute() {
    m_client->ResumeTransfer = !m_client->ResumeTransfer;
}

void TRemoteExpForm::ToolTransferTypeActionExecute(int type) {
    if (!m_client->Busy()) {
        m_client->TransferType = static_cast<TFTPTransferType>(type);
    }
}

void TRemoteExpForm::ToolTransferTypeNextActionExecute() {
    ToolTransferTypeActionExecute((static_cast<int>(m_client->TransferType) + 1) % 3);
}

} // namespace qx
