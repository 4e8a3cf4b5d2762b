// The remote explorer's commands: the actions with their rules, the menus, the pop-up menus
// and the four toolbars.

#include "remote/gui/RemoteExpActions.h"

#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "widgets/ActionList.h"
#include "widgets/DockToolbars.h"
#include "widgets/MainDataModule.h"

#include <algorithm>

#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace qx {

using C = TExplorerCommand;
using Image = TMainDataModule::ActionImage;

QAction* TRemoteExpForm::Command(const char* name, const TActionSpec& spec,
                                 std::function<void()> execute,
                                 std::optional<TExplorerCommand> rule) {
    TActionList::Update update;
    if (rule) {
        update = [this, command = *rule](QAction& action) {
            action.setEnabled(CommandEnabled(command, CommandState()));
        };
    }
    QAction* action = m_actions->Add(spec, std::move(execute), std::move(update));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void TRemoteExpForm::CreateActions() {
    m_actions = new TActionList(this);
    m_act = std::make_unique<TActions>();
    TActions& a = *m_act;
    const auto key = [](int k) { return QKeySequence(k); };

    a.Download = Command(
        "FileDownloadAction",
        {tr("Down&load"), tr("Download|Download Selected Items"), key(Qt::Key_F6), Image::Download},
        [this] { FileDownloadActionExecute(); }, C::Download);
    a.DownloadTo = Command(
        "FileDownloadtoAction",
        {tr("Download &to..."), tr("Download to...|Download Selected Items to..."), key(Qt::Key_F7),
         Image::DownloadTo},
        [this] { FileDownloadtoActionExecute(); }, C::DownloadTo);
    a.DownloadInQueue = Command(
        "FileDownloadinQueueAction",
        {tr("Download in &Queue"), tr("Download in Queue|Download Selected Items in Queue"),
         key(Qt::Key_F8), Image::DownloadInQueue},
        [this] { FileDownloadinQueueActionExecute(); }, C::DownloadInQueue);
    a.Open = Command(
        "FileOpenAction", {tr("&Open..."), tr("Open...|Open Selected Item..."), {}, Image::Open},
        [this] { FileOpenActionExecute(); }, C::Open);
    a.OnlineEdit = Command(
        "FileOnlineEditAction",
        {tr("Online &Edit..."), tr("Online Edit...|Online Edit Selected Item..."), key(Qt::Key_F9),
         Image::OnlineEdit},
        [this] { FileOnlineEditActionExecute(); }, C::OnlineEdit);
    a.Print = Command(
        "FilePrintAction",
        {tr("&Print..."), tr("Print...|Print Selected Item..."), {}, Image::Print},
        [this] { DownloadSelectedFile([this] { FTPClientDownloadFileDoneInOpen("print"); }); },
        C::Print);
    a.UpOneLevel = Command(
        "FileUpOneLevelAction",
        {tr("&Up One Level"), tr("Up One Level|Go up One Level"), {}, Image::UpOneLevel},
        [this] { UpOneLevel(); }, C::UpOneLevel);
    a.NewFolder = Command(
        "FileNewFolderAction",
        {tr("New &Folder..."), tr("New Folder...|Create New Folder..."), key(Qt::Key_F11),
         Image::NewFolder},
        [this] { FileNewFolderActionExecute(); }, C::NewFolder);
    a.ChangeFolder = Command(
        "FileChangeFolderAction",
        {tr("C&hange Folder..."), tr("Change Folder..."), key(Qt::Key_F12), Image::ChangeFolder},
        [this] { FileChangeFolderActionExecute(); }, C::ChangeFolder);
    a.Delete = Command(
        "FileDeleteAction", {tr("&Delete"), tr("Delete|Delete Selected Items"), {}, Image::Delete},
        [this] { FileDeleteActionExecute(); }, C::Delete);
    a.Rename = Command(
        "FileRenameAction",
        {tr("Rena&me"), tr("Rename|Rename Selected Item"), key(Qt::Key_F2), Image::Rename},
        [this] { FileRenameActionExecute(); }, C::Rename);
    a.ChangePerm = Command(
        "FileChangePermAction",
        {tr("Change Per&mission..."),
         tr("Permission...|Change Permissions of Selected Items..."),
         {},
         Image::ChangePermission},
        [this] { FileChangePermActionExecute(); }, C::ChangePermission);
    a.Filtering = Command(
        "FileFilteringAction",
        {tr("&Filtering..."), tr("Filtering...|Filtering Files..."), {}, Image::Filtering},
        [this] { FileFilteringActionExecute(); }, C::Filtering);
    a.Properties = Command(
        "FilePropertiesAction", {tr("P&roperties..."), tr("Properties..."), {}, Image::Properties},
        [this] { FilePropertiesActionExecute(); }, C::Properties);
    a.Close = Command(
        "FileCloseAction", {tr("&Close"), tr("Close"), {}, Image::Close}, [this] { close(); },
        std::nullopt);

    a.Copy = Command(
        "EditCopyAction",
        {tr("&Copy"), tr("Copy|Copy Selected Items to Clipboard"),
         QKeySequence(Qt::CTRL | Qt::Key_C), Image::Copy},
        [this] { EditCopyActionExecute(); }, C::Copy);
    a.Paste = Command(
        "EditPasteAction",
        {tr("&Paste"), tr("Paste|Paste from Clipboard"), QKeySequence(Qt::CTRL | Qt::Key_V),
         Image::Paste},
        [this] { EditPasteActionExecute(); }, C::Paste);
    a.CopyURL = Command(
        "EditCopyURLAction",
        {tr("Copy &URL"), tr("Copy URL|Copy Selected Item's URL to Clipboard"),
         QKeySequence(Qt::CTRL | Qt::Key_U), Image::CopyUrl},
        [this] { EditCopyURLActionExecute(); }, C::CopyURL);
    a.SelectAll = Command(
        "EditSelectAllAction",
        {tr("Select &All"), tr("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A), Image::SelectAll},
        [this] { EditSelectAllActionExecute(false); }, std::nullopt);
    a.InvertSelection = Command(
        "EditInvertSelectionAction",
        {tr("&Invert Selection"), tr("Invert Selection"), {}, Image::InvertSelection},
        [this] { EditSelectAllActionExecute(true); }, std::nullopt);

    a.LogPanel = Command(
        "ViewLogPanelAction",
        {tr("Log &Panel"), tr("Log Panel|Toggle Log Panel Visibility"), {}, Image::LogPanel},
        [this] { SetLogPanelVisible(!m_logPanel->isVisible()); }, std::nullopt);
    a.LogPanel->setCheckable(true);
    static const char* const kToolbarNames[] = {"ViewFileToolbarAction", "ViewEditToolbarAction",
                                                "ViewViewToolbarAction", "ViewToolToolbarAction"};
    static const char* const kToolbarCaptions[] = {"&File", "&Edit", "&View", "&Tool"};
    static const char* const kToolbarHints[] = {"File Toolbar|Toggle File Toolbar Visibility",
                                                "Edit Toolbar|Toggle Edit Toolbar Visibility",
                                                "View Toolbar|Toggle View Toolbar Visibility",
                                                "Tool Toolbar|Toggle Tool Toolbar Visibility"};
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
    static const char* const kStyleHints[] = {"Large Icons|View File List with Large Icons Style",
                                              "Small Icons|View File List with Small Icons Style",
                                              "List|View File List with List Style",
                                              "Details|View File List with Details Style"};
    for (int style = 0; style < 4; ++style) {
        a.Styles[style] = Command(
            kStyleNames[style],
            {tr(kStyleCaptions[style]), tr(kStyleHints[style]), {}, Image::LargeIcons + style},
            [this, style] { SetViewStyle(style); }, std::nullopt);
        a.Styles[style]->setCheckable(true);
    }
    static const char* const kArrangeNames[] = {
        "ViewArrangeIconsbyNameAction", "ViewArrangeIconsbyTypeAction",
        "ViewArrangeIconsbySizeAction", "ViewArrangeIconsbyDateAction",
        "ViewArrangeIconsbyPermissionAction"};
    static const char* const kArrangeCaptions[] = {"by &Name", "by &Type", "by Si&ze", "by &Date",
                                                   "by &Permission"};
    static const char* const kArrangeHints[] = {
        "Name|Arrange Icons by Name", "Type|Arrange Icons by Type", "Size|Arrange Icons by Size",
        "Date|Arrange Icons by Date", "Permission|Arrange Icons by Permission"};
    static constexpr int kArrangeColumns[] = {1, 3, 2, 4, 5};
    for (int arrange = 0; arrange < 5; ++arrange) {
        a.Arrange[arrange] = Command(
            kArrangeNames[arrange],
            {tr(kArrangeCaptions[arrange]), tr(kArrangeHints[arrange]), {}, -1},
            [this, column = kArrangeColumns[arrange]] { ArrangeBy(column); }, std::nullopt);
        a.Arrange[arrange]->setCheckable(true);
    }
    a.Refresh = Command(
        "ViewRefreshAction",
        {tr("&Refresh"), tr("Refresh|Refresh Folder Tree and File List"), key(Qt::Key_F5),
         Image::Refresh},
        [this] { Refresh(); }, C::Refresh);
    a.ServerInfo = Command(
        "ViewServerInfoAction",
        {tr("Server &Information..."),
         tr("Server Information...|View Server Information Dialog Box"),
         {},
         Image::ServerInformation},
        [this] { ViewServerInfoActionExecute(); }, std::nullopt);
    a.ViewStyleButton = Command(
        "ViewToolbarButtonAction",
        {tr("View Style"), tr("View Style|View File List with"), {}, Image::LargeIcons},
        [this] { SetViewStyle((m_viewStyle + 1) % 4); }, std::nullopt);

    a.Abort = Command(
        "ToolAbortAction",
        {tr("&Abort"), tr("Abort|Abort Current FTP Command Processing"), {}, Image::Abort},
        [this] { m_client->Abort(); }, C::Abort);
    a.Resuming = Command(
        "ToolResumingTransferAction",
        {tr("Resuming Transfer"), tr("Resuming|Resuming Transfer"), {}, Image::ResumingTransfer},
        [this] { m_client->ResumeTransfer = !m_client->ResumeTransfer; }, std::nullopt);
    a.Resuming->setCheckable(true);
    static const char* const kTypeNames[] = {"ToolTransferTypeASCIIAction",
                                             "ToolTransferTypeBinaryAction",
                                             "ToolTransferTypeAutoAction"};
    static const char* const kTypeCaptions[] = {"AS&CII", "&Binary", "Au&to"};
    static const char* const kTypeHints[] = {
        "ASCII|ASCII Transfer Type", "Binary|Binary Transfer Type", "Auto|Auto Transfer Type"};
    for (int type = 0; type < 3; ++type) {
        a.Types[type] = Command(
            kTypeNames[type],
            {tr(kTypeCaptions[type]), tr(kTypeHints[type]), {}, Image::Ascii + type},
            [this, type] {
                if (!m_client->Busy()) {
                    m_client->TransferType = static_cast<TFTPTransferType>(type);
                }
            },
            std::nullopt);
        a.Types[type]->setCheckable(true);
    }
    a.TypeButton = Command(
        "ToolTransferTypeToolbarButtonAction",
        {tr("Transfer Type"), tr("Transfer Type"), {}, Image::Ascii},
        [this] {
            if (!m_client->Busy()) {
                const int next = (static_cast<int>(m_client->TransferType) + 1) % 3;
                m_client->TransferType = static_cast<TFTPTransferType>(next);
            }
        },
        std::nullopt);
    a.Telnet = Command(
        "ToolTelnetAction",
        {tr("&Telnet..."), tr("Telnet...|Telnet to FTP Server"), {}, Image::Telnet},
        [this] { ToolTelnetActionExecute(); }, std::nullopt);

    // Checked and image rules: one handler for all of them.
    m_actions->Add({}, {}, [this](QAction& self) {
        self.setVisible(false);
        TActions& acts = *m_act;
        acts.LogPanel->setChecked(m_logPanel->isVisible());
        for (int bar = 0; bar < 4; ++bar) {
            acts.Toolbars[bar]->setChecked(m_toolbars[bar] != nullptr &&
                                           m_toolbars[bar]->isVisible());
        }
        for (int style = 0; style < 4; ++style) {
            acts.Styles[style]->setChecked(m_viewStyle == style);
        }
        const int sort = m_fileList.SortColumn();
        for (int arrange = 0; arrange < 5; ++arrange) {
            const bool checked = std::abs(sort) == kArrangeColumns[arrange];
            if (acts.Arrange[arrange]->isChecked() != checked ||
                acts.ArrangeImage[arrange] != (checked ? (sort > 0 ? 1 : 2) : 0)) {
                acts.Arrange[arrange]->setChecked(checked);
                acts.ArrangeImage[arrange] = checked ? (sort > 0 ? 1 : 2) : 0;
                acts.Arrange[arrange]->setIcon(
                    checked ? TMainDataModule::ActionIcon(sort > 0 ? Image::SortAscending
                                                                   : Image::SortDescending)
                            : QIcon());
            }
        }
        acts.Resuming->setChecked(m_client->ResumeTransfer);
        const int type = static_cast<int>(m_client->TransferType);
        for (int t = 0; t < 3; ++t) {
            acts.Types[t]->setChecked(type == t);
        }
        if (acts.ShownStyle != m_viewStyle) {
            acts.ShownStyle = m_viewStyle;
            acts.ViewStyleButton->setIcon(
                TMainDataModule::ActionIcon(Image::LargeIcons + m_viewStyle));
        }
        if (acts.ShownType != type) {
            acts.ShownType = type;
            acts.TypeButton->setIcon(TMainDataModule::ActionIcon(Image::Ascii + type));
        }
    });
    CreateMenus();
    CreateToolbars();
}

void TRemoteExpForm::CreateMenus() {
    TActions& a = *m_act;
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addActions({a.Download, a.DownloadTo, a.DownloadInQueue});
    file->addSeparator();
    file->addActions({a.Open, a.OnlineEdit, a.Print});
    file->addSeparator();
    file->addActions({a.UpOneLevel, a.NewFolder, a.ChangeFolder});
    file->addSeparator();
    file->addActions({a.Delete, a.Rename, a.ChangePerm, a.Filtering, a.Properties});
    file->addSeparator();
    file->addAction(a.Close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({a.Copy, a.Paste, a.CopyURL});
    edit->addSeparator();
    edit->addActions({a.SelectAll, a.InvertSelection});

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(a.LogPanel);
    QMenu* toolbars = view->addMenu(tr("&Toolbar"));
    toolbars->addActions({a.Toolbars[0], a.Toolbars[1], a.Toolbars[2], a.Toolbars[3]});
    view->addSeparator();
    view->addActions({a.Styles[0], a.Styles[1], a.Styles[2], a.Styles[3]});
    view->addSeparator();
    QMenu* arrange = view->addMenu(tr("Arrange Icons"));
    arrange->setIcon(TMainDataModule::ActionIcon(Image::ArrangeIcons));
    arrange->addActions({a.Arrange[0], a.Arrange[1], a.Arrange[2], a.Arrange[3], a.Arrange[4]});
    view->addSeparator();
    view->addAction(a.Refresh);
    view->addSeparator();
    view->addAction(a.ServerInfo);

    QMenu* tool = menuBar()->addMenu(tr("&Tool"));
    tool->addAction(a.Abort);
    tool->addSeparator();
    tool->addAction(a.Resuming);
    tool->addSeparator();
    tool->addActions({a.Types[0], a.Types[1], a.Types[2]});
    tool->addSeparator();
    tool->addAction(a.Telnet);

    m_fileListPopup1 = new QMenu(this);
    m_fileListPopup1->setObjectName(QStringLiteral("FileListPopupMenu1"));
    m_fileListPopup1->addActions({a.Download, a.DownloadTo, a.DownloadInQueue});
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addActions({a.Open, a.OnlineEdit, a.Print});
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addActions({a.Copy, a.Paste, a.CopyURL});
    m_fileListPopup1->addSeparator();
    m_fileListPopup1->addActions({a.Delete, a.Rename, a.ChangePerm, a.Properties});

    m_fileListPopup2 = new QMenu(this);
    m_fileListPopup2->setObjectName(QStringLiteral("FileListPopupMenu2"));
    m_fileListPopup2->addActions({a.Styles[0], a.Styles[1], a.Styles[2], a.Styles[3]});
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addMenu(arrange);
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addAction(a.Paste);
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addActions({a.UpOneLevel, a.NewFolder, a.ChangeFolder});
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addAction(a.Filtering);
    m_fileListPopup2->addSeparator();
    m_fileListPopup2->addAction(a.Refresh);

    m_folderTreePopup = new QMenu(this);
    m_folderTreePopup->setObjectName(QStringLiteral("FolderTreePopupMenu"));
    m_folderTreePopup->addActions({a.Download, a.DownloadTo, a.DownloadInQueue});
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addActions({a.Copy, a.Paste, a.CopyURL});
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addActions({a.Delete, a.Rename, a.ChangePerm, a.Properties});
    m_folderTreePopup->addSeparator();
    m_folderTreePopup->addAction(a.NewFolder);
}

void TRemoteExpForm::CreateToolbars() {
    TActions& a = *m_act;
    const auto bars = AddDockToolbars(*this, {{{"FileToolbar", "File Toolbar"},
                                               {"EditToolbar", "Edit Toolbar"},
                                               {"ViewToolbar", "View Toolbar"},
                                               {"ToolToolbar", "Tool Toolbar"}}});
    std::copy(bars.begin(), bars.end(), m_toolbars);
    QToolBar* file = m_toolbars[0];
    file->addActions({a.Download, a.DownloadTo, a.DownloadInQueue});
    file->addSeparator();
    file->addActions({a.UpOneLevel, a.NewFolder, a.ChangeFolder});
    file->addSeparator();
    file->addActions({a.Delete, a.ChangePerm, a.Properties});
    m_toolbars[1]->addActions({a.Copy, a.Paste});

    QToolBar* view = m_toolbars[2];
    auto* styles = new QMenu(this);
    styles->setObjectName(QStringLiteral("ViewStylePopupMenu"));
    styles->addActions({a.Styles[0], a.Styles[1], a.Styles[2], a.Styles[3]});
    AddMenuButton(*view, a.ViewStyleButton, styles, QToolButton::MenuButtonPopup);
    view->addSeparator();
    auto* arrange = new QMenu(this);
    arrange->setObjectName(QStringLiteral("ViewArrangeIconsPopupMenu"));
    arrange->addActions({a.Arrange[0], a.Arrange[1], a.Arrange[2], a.Arrange[3], a.Arrange[4]});
    QToolButton* arrangeButton = AddMenuButton(*view, nullptr, arrange, QToolButton::InstantPopup);
    arrangeButton->setIcon(TMainDataModule::ActionIcon(Image::ArrangeIcons));
    arrangeButton->setToolTip(tr("Arrange Icons"));
    view->addSeparator();
    view->addAction(a.Refresh);

    QToolBar* tool = m_toolbars[3];
    tool->addAction(a.Abort);
    tool->addSeparator();
    tool->addAction(a.Resuming);
    tool->addSeparator();
    auto* types = new QMenu(this);
    types->setObjectName(QStringLiteral("TransferTypePopupMenu"));
    types->addActions({a.Types[0], a.Types[1], a.Types[2]});
    AddMenuButton(*tool, a.TypeButton, types, QToolButton::MenuButtonPopup);
    tool->addSeparator();
    tool->addAction(a.Telnet);
}

QMenu* TRemoteExpForm::createPopupMenu() {
    m_actions->UpdateAll();
    return ToolbarPopupMenu(*this, m_act->Toolbars);
}

TExplorerState TRemoteExpForm::CommandState() const {
    TExplorerState state;
    state.Connected = m_connected && !m_closing && SelectedNode() != nullptr;
    state.Busy = m_client->Busy();
    state.TreeActive = m_treeActive;
    state.ListActive = m_listActive;
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
    return state;
}

} // namespace qx
