// The local explorer's commands: the actions with their rules, the menus, the pop-up menus and
// the four toolbars.

#include "local/gui/LocalExpActions.h"

#include "local/LocalFileSystem.h"
#include "local/gui/LocalFileListModel.h"
#include "local/gui/LocalFolderTreeModel.h"
#include "remote/gui/FTPFileDataObject.h"
#include "remote/gui/RemoteExpForm.h"
#include "widgets/DockToolbars.h"
#include "widgets/MainDataModule.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <sys/stat.h>
#include <unistd.h>

namespace qx {

using C = TLocalCommand;
using Image = TMainDataModule::ActionImage;

namespace {

// The image of a command that has none in the shared list: the icon theme's.
void ThemeIcon(QAction* action, const char* name) {
    action->setIcon(QIcon::fromTheme(QString::fromLatin1(name)));
}

bool GioInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty();
}

} // namespace

QAction* TLocalExpForm::Command(const char* name, const TActionSpec& spec,
                                std::function<void()> execute, std::optional<TLocalCommand> rule) {
    TActionList::Update update;
    if (rule) {
        update = [this, command = *rule](QAction& action) {
            action.setEnabled(LocalCommandEnabled(command, CommandState()));
        };
    }
    QAction* action = m_actions->Add(spec, std::move(execute), std::move(update));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* TLocalExpForm::Action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TLocalExpForm::CreateActions() {
    m_actions = new TActionList(this);
    m_act = std::make_unique<TActions>();
    TActions& a = *m_act;
    const auto key = [](int k) { return QKeySequence(k); };
    m_actions->Add({}, {}, [this](QAction& self) {
        self.setVisible(false);
        m_stateCache.reset();
    });

    a.Upload = Command(
        "FileUploadAction",
        {tr("&Upload"), tr("Upload|Upload Selected Items"), key(Qt::Key_F6), -1},
        [this] { FileUploadActionExecute(); }, C::Upload);
    ThemeIcon(a.Upload, "go-up");
    a.UploadInQueue = Command(
        "FileUploadinQueueAction",
        {tr("Upload in &Queue"), tr("Upload in Queue|Upload Selected Items in Queue"),
         key(Qt::Key_F8), -1},
        [this] { FileUploadinQueueActionExecute(); }, C::UploadInQueue);
    ThemeIcon(a.UploadInQueue, "document-send");
    a.Open = Command(
        "FileOpenAction", {tr("&Open..."), tr("Open...|Open Selected Item..."), {}, Image::Open},
        [this] { FileOpenActionExecute(); }, C::Open);
    a.Print = Command(
        "FilePrintAction",
        {tr("&Print..."), tr("Print...|Print Selected Item..."), {}, Image::Print},
        [this] { FilePrintActionExecute(); }, C::Print);
    a.UpOneLevel = Command(
        "FileUpOneLevelAction",
        {tr("Up &One Level"), tr("Up One Level|Go up One Level"), {}, Image::UpOneLevel},
        [this] { FileUpOneLevelActionExecute(); }, C::UpOneLevel);
    a.NewFolder = Command(
        "FileNewFolderAction",
        {tr("New &Folder"), tr("New Folder|Create New Folder..."), key(Qt::Key_F11),
         Image::NewFolder},
        [this] { FileNewFolderActionExecute(); }, C::NewFolder);
    a.Shortcut = Command(
        "FileShortcutAction",
        {tr("&Shortcuts"), tr("Shortcuts|Create Shortcuts for Selected Items"), {}, -1},
        [this] { FileShortcutActionExecute(); }, C::Shortcut);
    ThemeIcon(a.Shortcut, "insert-link");
    a.Delete = Command(
        "FileDeleteAction", {tr("&Delete"), tr("Delete|Delete Selected Items"), {}, Image::Delete},
        [this] { FileDeleteActionExecute(); }, C::Delete);
    a.Rename = Command(
        "FileRenameAction",
        {tr("Rena&me"), tr("Rename|Rename Selected Item"), key(Qt::Key_F2), Image::Rename},
        [this] { FileRenameActionExecute(); }, C::Rename);
    a.Filtering = Command(
        "FileFilteringAction",
        {tr("&Filtering..."), tr("Filtering...|File Filtering..."), {}, Image::Filtering},
        [this] { FileFilteringActionExecute(); }, std::nullopt);
    a.Properties = Command(
        "FilePropertiesAction",
        {tr("P&roperties..."),
         tr("Properties...|View Properties of Selected Items"),
         {},
         Image::Properties},
        [this] { FilePropertiesActionExecute(); }, C::Properties);
    a.ContextMenu = Command(
        "FileContextMenuAction",
        {tr("Context Menu..."), tr("Context Menu...|Display Windows Context Menu"), {}, -1},
        [this] { FileContextMenuActionExecute(); }, C::ContextMenu);
    a.Hide = Command(
        "FileHideAction", {tr("&Hide"), tr("Hide|Hide Local Explorer"), {}, Image::Hide},
        [this] { hide(); }, std::nullopt);

    a.Cut = Command(
        "EditCutAction",
        {tr("Cu&t"), tr("Cut|Cut Selected Items to Clipboard"), QKeySequence(Qt::CTRL | Qt::Key_X),
         -1},
        [this] { EditCutCopyActionExecute(true); }, C::Cut);
    ThemeIcon(a.Cut, "edit-cut");
    a.Copy = Command(
        "EditCopyAction",
        {tr("&Copy"), tr("Copy|Copy Selected Items to Clipboard"),
         QKeySequence(Qt::CTRL | Qt::Key_C), Image::Copy},
        [this] { EditCutCopyActionExecute(false); }, C::Copy);
    a.Paste = Command(
        "EditPasteAction",
        {tr("&Paste"), tr("Paste|Paste from Clipboard"), QKeySequence(Qt::CTRL | Qt::Key_V),
         Image::Paste},
        [this] { EditPasteActionExecute(); }, C::Paste);
    a.SelectAll = Command(
        "EditSelectAllAction",
        {tr("Select &All"), tr("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A), Image::SelectAll},
        [this] { EditSelectAllActionExecute(false); }, std::nullopt);
    a.InvertSelection = Command(
        "EditInvertSelectionAction",
        {tr("&Invert Selection"), tr("Invert Selection"), {}, Image::InvertSelection},
        [this] { EditSelectAllActionExecute(true); }, std::nullopt);

    static const char* const kToolbarNames[] = {"ViewToolBarFileAction", "ViewToolBarEditAction",
                                                "ViewToolBarViewAction", "ViewToolBarToolAction"};
    static const char* const kToolbarCaptions[] = {"&File", "&Edit", "&View", "&Tool"};
    static const char* const kToolbarHints[] = {
        "File Toolbar|Toggle File Toolbar", "Edit Toolbar|Toggle Edit Toolbar",
        "View Toolbar|Toggle View Toolbar", "Tool Toolbar|Toggle Tool Toolbar"};
    for (int bar = 0; bar < 4; ++bar) {
        a.Toolbars[bar] = Command(
            kToolbarNames[bar], {tr(kToolbarCaptions[bar]), tr(kToolbarHints[bar]), {}, -1},
            [this, bar] { m_toolbars[bar]->setVisible(!m_toolbars[bar]->isVisible()); },
            std::nullopt);
        a.Toolbars[bar]->setCheckable(true);
    }
    static const char* const kStyleNames[] = {"ViewLargeIconsAction", "ViewSmallIconsAction",
                                              "ViewListAction", "ViewDetailsAction"};
    static const char* const kStyleCaptions[] = {"Lar&ge Icons", "S&mall Icons", "&List",
                                                 "&Details"};
    static const char* const kStyleHints[] = {"Large Icons", "Small Icons", "List", "Details"};
    for (int style = 0; style < 4; ++style) {
        a.Styles[style] = Command(
            kStyleNames[style],
            {tr(kStyleCaptions[style]), tr(kStyleHints[style]), {}, Image::LargeIcons + style},
            [this, style] { SetViewStyle(style); }, std::nullopt);
        a.Styles[style]->setCheckable(true);
    }
    a.ViewStyleButton = Command(
        "ViewToolbarButtonAction", {tr("View Style"), tr("View Style"), {}, Image::LargeIcons},
        [this] { SetViewStyle((m_viewStyle + 1) % 4); }, std::nullopt);
    static const char* const kArrangeNames[] = {
        "ViewArrangeIconsbyNameAction", "ViewArrangeIconsbyTypeAction",
        "ViewArrangeIconsbySizeAction", "ViewArrangeIconsbyDateAction"};
    static const char* const kArrangeCaptions[] = {"by &Name", "by &Type", "by Si&ze", "by &Date"};
    static const char* const kArrangeHints[] = {
        "Name|Arrange Icons by Name", "Type|Arrange Icons by Type", "Size|Arrange Icons by Size",
        "Date|Arrange Icons by Date"};
    static constexpr int kArrangeColumns[] = {1, 3, 2, 4};
    for (int arrange = 0; arrange < 4; ++arrange) {
        a.Arrange[arrange] = Command(
            kArrangeNames[arrange],
            {tr(kArrangeCaptions[arrange]), tr(kArrangeHints[arrange]), {}, -1},
            [this, column = kArrangeColumns[arrange]] { ArrangeBy(column); }, std::nullopt);
        a.Arrange[arrange]->setCheckable(true);
    }
    a.Refresh = Command(
        "ViewRefreshAction", {tr("&Refresh"), tr("Refresh"), key(Qt::Key_F5), Image::Refresh},
        [this] { ViewRefreshActionExecute(); }, std::nullopt);

    a.FindFile = Command(
        "ToolFindFileAction", {tr("Find Files..."), tr("Find Files..."), {}, -1},
        [this] { ToolFindFileActionExecute(); }, std::nullopt);
    ThemeIcon(a.FindFile, "edit-find");
    a.FindComputer = Command(
        "ToolFindComputerAction", {tr("Find Computer..."), tr("Find Computer..."), {}, -1},
        [this] { ToolNetDriveActionExecute(true); }, std::nullopt);
    ThemeIcon(a.FindComputer, "network-workgroup");
    a.NetConnect = Command(
        "ToolNetDriveConnectAction",
        {tr("Network Drive &Connect..."), tr("Network Drive Connect..."), {}, -1},
        [this] { ToolNetDriveActionExecute(true); }, std::nullopt);
    ThemeIcon(a.NetConnect, "network-server");
    a.NetDisconnect = Command(
        "ToolNetDriveDisconnectAction",
        {tr("Network Drive &Disconnect..."), tr("Network Drive Disconnect..."), {}, -1},
        [this] { ToolNetDriveActionExecute(false); }, std::nullopt);
    ThemeIcon(a.NetDisconnect, "media-eject");
    if (!GioInstalled()) {
        // Mounting goes through the desktop's gio; without it the commands say why.
        for (QAction* net : {a.FindComputer, a.NetConnect, a.NetDisconnect}) {
            net->setEnabled(false);
            net->setStatusTip(tr("Needs the gio tool of the desktop, which is not installed"));
            net->setToolTip(net->statusTip());
        }
        m_actions->Add({}, {},
                       [net = std::vector<QAction*>{a.FindComputer, a.NetConnect, a.NetDisconnect}](
                           QAction& self) {
                           self.setVisible(false);
                           for (QAction* action : net) {
                               action->setEnabled(false);
                           }
                       });
    }

    // Checked and image rules: one handler for all of them.
    m_actions->Add({}, {}, [this](QAction& self) { UpdateChecks(self); });
    CreateMenus();
    CreateToolbars();
}

void TLocalExpForm::UpdateChecks(QAction& self) {
    self.setVisible(false);
    TActions& a = *m_act;
    for (int bar = 0; bar < 4; ++bar) {
        a.Toolbars[bar]->setChecked(m_toolbars[bar] != nullptr && m_toolbars[bar]->isVisible());
    }
    for (int style = 0; style < 4; ++style) {
        a.Styles[style]->setChecked(m_viewStyle == style);
    }
    static constexpr int kArrangeColumns[] = {1, 3, 2, 4};
    for (int arrange = 0; arrange < 4; ++arrange) {
        const bool checked = std::abs(m_sortColumn) == kArrangeColumns[arrange];
        const int image =
            checked ? (m_sortColumn > 0 ? Image::SortAscending : Image::SortDescending) : 0;
        if (a.Arrange[arrange]->isChecked() != checked || a.ArrangeImage[arrange] != image) {
            a.Arrange[arrange]->setChecked(checked);
            a.ArrangeImage[arrange] = image;
            a.Arrange[arrange]->setIcon(checked ? TMainDataModule::ActionIcon(image) : QIcon());
        }
    }
    if (a.ShownStyle != m_viewStyle) {
        a.ShownStyle = m_viewStyle;
        a.ViewStyleButton->setIcon(TMainDataModule::ActionIcon(Image::LargeIcons + m_viewStyle));
    }
}

void TLocalExpForm::CreateMenus() {
    TActions& a = *m_act;
    QMenuBar* bar = menuWidget()->findChild<QMenuBar*>();
    QMenu* file = bar->addMenu(tr("&File"));
    file->addActions({a.Upload, a.UploadInQueue});
    file->addSeparator();
    file->addActions({a.Open, a.Print});
    file->addSeparator();
    file->addActions({a.UpOneLevel, a.NewFolder});
    file->addSeparator();
    file->addActions({a.Shortcut, a.Delete, a.Rename, a.Filtering, a.Properties});
    file->addSeparator();
    file->addAction(a.Hide);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->addActions({a.Cut, a.Copy, a.Paste});
    edit->addSeparator();
    edit->addActions({a.SelectAll, a.InvertSelection});

    QMenu* view = bar->addMenu(tr("&View"));
    QMenu* toolbars = view->addMenu(tr("&Toolbar"));
    toolbars->addActions({a.Toolbars[0], a.Toolbars[1], a.Toolbars[2], a.Toolbars[3]});
    view->addSeparator();
    view->addActions({a.Styles[0], a.Styles[1], a.Styles[2], a.Styles[3]});
    view->addSeparator();
    a.Arranges = view->addMenu(tr("Arrange &Icons"));
    a.Arranges->setIcon(TMainDataModule::ActionIcon(Image::ArrangeIcons));
    a.Arranges->addActions({a.Arrange[0], a.Arrange[1], a.Arrange[2], a.Arrange[3]});
    view->addSeparator();
    view->addAction(a.Refresh);

    QMenu* tool = bar->addMenu(tr("&Tool"));
    tool->addActions({a.FindFile, a.FindComputer});
    tool->addSeparator();
    tool->addActions({a.NetConnect, a.NetDisconnect});

    m_fileListPopup1 = new QMenu(this);
    m_fileListPopup1->setObjectName(QStringLiteral("FileListPopupMenu1"));
    m_fileListPopup1->addActions({a.Upload, a.UploadInQueue});
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addActions({a.Open, a.Print});
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addAction(a.ContextMenu);
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addActions({a.Cut, a.Copy, a.Paste});
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addActions({a.Shortcut, a.Delete, a.Rename, a.Properties});

    m_fileListPopup2 = new QMenu(this);
    m_fileListPopup2->setObjectName(QStringLiteral("FileListPopupMenu2"));
    m_fileListPopup2->addActions({a.Styles[0], a.Styles[1], a.Styles[2], a.Styles[3]});
    m_fileListPopup2->addSeparator();
    QMenu* arrange = m_fileListPopup2->addMenu(tr("Arrange Icons"));
    arrange->addActions({a.Arrange[0], a.Arrange[1], a.Arrange[2], a.Arrange[3]});
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addAction(a.Paste);
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addActions({a.UpOneLevel, a.NewFolder});
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addActions({a.Filtering, a.Properties});
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addAction(a.Refresh);

    m_folderTreePopup = new QMenu(this);
    m_folderTreePopup->setObjectName(QStringLiteral("FolderTreePopupMenu"));
    m_folderTreePopup->addActions({a.Upload, a.UploadInQueue});
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addAction(a.ContextMenu);
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addActions({a.Cut, a.Copy, a.Paste});
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addActions({a.Shortcut, a.Delete, a.Rename, a.Properties});
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addAction(a.NewFolder);
}

void TLocalExpForm::CreateToolbars() {
    TActions& a = *m_act;
    const auto bars = AddDockToolbars(*this, {{{"FileToolbar", "File Toolbar"},
                                               {"EditToolbar", "Edit Toolbar"},
                                               {"ViewToolbar", "View Toolbar"},
                                               {"ToolToolbar", "Tool Toolbar"}}});
    std::copy(bars.begin(), bars.end(), m_toolbars);
    QToolBar* file = m_toolbars[0];
    file->addActions({a.Upload, a.UploadInQueue});
    file->addSeparator();
    file->addActions({a.UpOneLevel, a.NewFolder});
    file->addSeparator();
    file->addActions({a.Delete, a.Properties});
    m_toolbars[1]->addActions({a.Cut, a.Copy, a.Paste});

    QToolBar* view = m_toolbars[2];
    auto* styles = new QMenu(this);
    styles->setObjectName(QStringLiteral("ViewPopupMenu"));
    styles->addActions({a.Styles[0], a.Styles[1], a.Styles[2], a.Styles[3]});
    AddMenuButton(*view, a.ViewStyleButton, styles, QToolButton::MenuButtonPopup);
    view->addSeparator();
    auto* arrange = new QMenu(this);
    arrange->setObjectName(QStringLiteral("ViewArrangeIconsPopupMenu"));
    arrange->addActions({a.Arrange[0], a.Arrange[1], a.Arrange[2], a.Arrange[3]});
    QToolButton* arrangeButton = AddMenuButton(*view, nullptr, arrange, QToolButton::InstantPopup);
    arrangeButton->setIcon(TMainDataModule::ActionIcon(Image::ArrangeIcons));
    arrangeButton->setToolTip(tr("Arrange Icons"));
    view->addSeparator();
    view->addAction(a.Refresh);

    QToolBar* tool = m_toolbars[3];
    tool->addActions({a.FindFile, a.FindComputer});
    tool->addSeparator();
    tool->addActions({a.NetConnect, a.NetDisconnect});
}

QMenu* TLocalExpForm::createPopupMenu() {
    m_actions->UpdateAll();
    return ToolbarPopupMenu(*this, m_act->Toolbars);
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
    state.TreeActive = m_treeActive;
    state.ListActive = m_listActive;
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
    state.SelectedNodeHasParent = m_folderTreeView->currentIndex().parent().isValid();
    state.CurrentFolderUsable = LocalFolder().has_value();
    const QModelIndexList rows = m_fileListView->selectionModel()->selectedRows(0);
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
    m_stateCache = state;
    return state;
}

} // namespace qx
