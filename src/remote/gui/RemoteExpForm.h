// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/LocaleTextCompare.h"
#include "queue/FTPCarryItem.h"
#include "remote/ExplorerCommands.h"
#include "remote/FileListContent.h"
#include "remote/FolderTree.h"
#include "remote/RemoteEditFile.h"
#include "remote/RemoteExpList.h"
#include "remote/RemoteFind.h"
#include "remote/gui/RemoteExpTabs.h"
#include "sync/SyncEntry.h"
#include "widgets/ExplorerWindow.h"
#include "widgets/FileListViews.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAbstractItemView;
class QLabel;
class QMenu;
class QMimeData;
class QMouseEvent;
class QTreeView;
class QTimer;

namespace qx {

class TCarrierQueue;
class TCompareLegend;
class TLocalEntriesReader;
class TConfigStore;
class TFileListModel;
class TFolderPairing;
class TSessionLogView;
class TFolderTreeModel;
class TGlobalOptions;
class TPasswordStore;
class TRemoteFindForm;
class TSiteProperties;
class TThreadedFTPClient;
class UiThread;

// What an explorer needs of the program around it.
struct TRemoteExpContext {
    UiThread& Ui;
    TGlobalOptions& Options;
    TConfigStore& Store;
    TRemoteExpList& Explorers;
    TRemoteExpTabs* Main = nullptr; // the tabs and the caption; none in some tests
    // Plays a sound file asynchronously; none plays nothing.
    std::function<void(const std::string& file)> PlaySound;
    // The folder of the local explorer, where downloads go; none while it shows no folder of
    // the file system (or when there is no local explorer).
    std::function<std::optional<std::string>()> LocalFolder;
    // Hands items to the transfer queue and starts it.
    std::function<void(std::vector<std::unique_ptr<TFTPCarryItem>> items)> QueueItems;
    // Shows the online editor and opens the downloaded file in it; none when there is no
    // editor (Online Edit is then disabled).
    std::function<void(std::unique_ptr<TRemoteEditFile> file)> OpenInEditor;
    // Where the site's password goes when the explorer saves the site; none: the settings
    // file.
    TPasswordStore* Passwords = nullptr;
    // The queue itself, for commands that follow how their items end; none: Synchronize
    // runs nothing.
    TCarrierQueue* Queue = nullptr;
    // The comparison of a remote folder with the local explorer's; none: no Compare Folders.
    std::shared_ptr<TFolderPairing> Pairing = nullptr;
};

// A local file or folder the local explorer uploads through an explorer's session.
struct TLocalUploadEntry {
    std::string LocalPath;
    std::string RemotePath;
    bool IsFolder = false;
};

// One connected server: the folder tree with its listing cache on the left, the file list with
// its status bar and the session log on the right, the transfer and session state at the
// bottom. All work on the server goes through the window's own threaded FTP client.
class TRemoteExpForm final : public TExplorerWindow, public TRemoteExplorer {
    Q_OBJECT
public:
    // Connects at once. A quick-connect site is taken over and freed; a stored one is written
    // back when the window closes.
    TRemoteExpForm(TRemoteExpContext context, TSiteProperties* site, QWidget* owner = nullptr);
    ~TRemoteExpForm() override;
    TRemoteExpForm(const TRemoteExpForm&) = delete;
    TRemoteExpForm& operator=(const TRemoteExpForm&) = delete;

    TThreadedFTPClient& FTPClient() { return *m_client; }
    const TFolderTree& Tree() const { return m_tree; }
    TFolderNode* SelectedNode() const;
    const TFileListContent& FileList() const { return m_fileList; }
    QString CaptionText() const { return m_captionText; }
    bool Connected() const { return m_connected; }

    void ApplyAppearance();
    void ForgetSite(const TSiteProperties& site);
    // Lists the selected folder anew from the server.
    void Refresh();
    // A folder on a server changed outside this session (a queued transfer ended there). On
    // this explorer's server and login, its cached listing goes, and a folder on show is
    // listed anew once the session is idle.
    void ServerFolderChanged(const std::string& hostName, const std::string& port,
                             const std::string& userName, const std::string& folder);
    void UpOneLevel();
    // Selects the node in the folder tree, which shows it; refused while the client is busy.
    bool SelectFolder(TFolderNode& node);
    void ArrangeBy(int column);
    void SetFilter(const std::string& masks);
    void SetLogPanelVisible(bool visible);
    using enum TViewStyle;
    void SetViewStyle(int style);
    int ViewStyle() const;
    // The folder the Download To command offers first; kept with the site.
    const std::string& DownloadFolder() const { return m_downloadFolder; }

    // --- What the local explorer asks of the current explorer ---
    // The selected tree node's folder, ending with "/" (where uploads go); empty without one.
    std::string SelectedFolder() const;
    // A direct upload can start now: connected, and the client is idle.
    bool CanUploadNow() const;
    // Uploads the entries through this window's session, in one Uploads request; its end
    // refreshes the folder shown. Nothing happens while the client is busy.
    void UploadLocalEntries(const std::vector<TLocalUploadEntry>& entries);
    // Synchronizes the selected folder with a local one: the folder given, else one the user
    // chooses. The dialog comes up and the rest runs without blocking the window.
    void Synchronize(std::optional<std::string> localFolder);
    // Compares the folder shown with the local explorer's (a local folder asked for when it
    // shows none); the marks follow both explorers until the comparison ends.
    void StartCompare();
    // Shows the folder and selects the entry of that name in the list once it is shown (an
    // empty name selects nothing); folders missing from the tree are added on the way.
    // Refused while the client is busy.
    bool GoToRemoteEntry(const std::string& folder, const std::string& name);

    // --- Commands (the actions call these; tests may too) ---
    // The selected list entries in list order.
    std::vector<TFTPListItem*> SelectedEntries() const;
    // Selects exactly the list rows of these entries.
    void SelectEntries(const std::vector<const TFTPListItem*>& entries);
    // Makes the tree (true) or the list the pane the commands work on.
    void ActivatePane(bool tree);
    // The node a tree command works on: the marked node, else the selected one.
    TFolderNode* TreeTarget() const;
    void SetTreeMark(TFolderNode* node);
    TExplorerState CommandState() const;
    TSessionLogin Login() const;
    // Remote entries as Copy and a drag carry them.
    TFTPFileData TreeFileData(const TFolderNode& node) const;
    TFTPFileData ListFileData() const;
    // A drop (or a paste) on the list, onto the folder entry or none; on the tree, onto the
    // node. Both only queue transfers; false when nothing was queued.
    bool DropOnFileList(const QMimeData* data, const TFTPListItem* onFolder = nullptr);
    bool DropOnFolderTree(const QMimeData* data, TFolderNode* node);
    bool QueueDroppedData(const QMimeData* data, const std::string& destination);
    // Renames in place as the label editor does on its end.
    void RenameNode(TFolderNode& node, const std::string& newName);
    void RenameEntry(TFTPListItem& entry, const std::string& newName);

    // Texts of the status bars, for the window and for tests.
    QString StatusPanelText(int panel) const;
    QString FileStatusText(int panel) const;
    int LogLineCount() const;
    void AddLogLine(const QString& text, const QColor& colour);

    // How long a closing explorer waits for the reply to its QUIT.
    static constexpr int kQuitGraceMs = 2000;

    // The commands pairing this folder with the other explorer's (sync/gui/FolderPairCommands.h).
    void ToolSynchronizeActionExecute();
    void ToolCompareActionExecute();
    void ToolCompareDifferencesActionExecute();
    void ToolFindActionExecute();

Q_SIGNALS:
    // The window has ended its session and is about to go.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void ConnectModels();
    void CreateActions();
    void UpdateChecks(QAction& self);

    // --- Execute handlers and their completions ---
    void FileDownloadActionExecute();
    void FileDownloadActionExecuteBase(std::string localFolder);
    void FileDownloadtoActionExecute();
    void FileDownloadinQueueActionExecute();
    void FileDownloadinQueueActionExecuteBase(std::string localFolder);
    void FileOpenActionExecute();
    void DownloadSelectedFile(std::function<void()> done);
    // The explorer's downloads of entries given by path; false when the client is busy.
    bool DownloadEntries(const std::vector<TFoundEntry>& entries, std::string localFolder);
    bool DownloadToTemporary(const std::string& remotePath, const std::string& name,
                             std::function<void()> done);
    void QueueDownloads(const std::string& sourceFolder, const std::vector<TFTPListItem>& entries,
                        std::string localFolder);
    // A client for a session beside this window's: its login and questions, thread started.
    std::shared_ptr<TThreadedFTPClient> NewSideClient();
    std::string FoundDownloadFolder() const;
    void SelectPendingEntry(const TFolderNode& shown);
    void FileOnlineEditActionExecute();
    void FileNewFolderActionExecute();
    void FileChangeFolderActionExecute();
    void FileDeleteActionExecute();
    void FileRenameActionExecute();
    void FileChangePermActionExecute();
    void FileFilteringActionExecute();
    void FilePropertiesActionExecute();
    void EditCopyActionExecute();
    void EditPasteActionExecute();
    void EditCopyURLActionExecute();
    void EditSelectAllActionExecute();
    void EditInvertSelectionActionExecute();
    void FilePrintActionExecute();
    void FileCloseActionExecute();
    void ViewLogPanelActionExecute();
    void ViewServerInfoActionExecute();
    void ToolAbortActionExecute();
    void ToolResumingTransferActionExecute();
    void ToolTransferTypeActionExecute(int type);
    void ToolTransferTypeASCIIActionExecute() { ToolTransferTypeActionExecute(0); }
    void ToolTransferTypeBinaryActionExecute() { ToolTransferTypeActionExecute(1); }
    void ToolTransferTypeAutoActionExecute() { ToolTransferTypeActionExecute(2); }
    void ToolTransferTypeNextActionExecute();
    void ToolTelnetActionExecute();
    void CompareShown();
    void LocalFolderRead(const std::string& folder, std::optional<std::vector<TSyncEntry>> entries,
                         bool asked);
    void CompareChanged();
    void OpenComparedFolder(const std::string& folder);
    std::function<bool(const TFTPListItem&)> DifferencesFilter() const;
    void FTPClientDownloadsDone();
    void FTPClientDownloadFileDoneInOpen(const char* verb);
    void FTPClientDownloadFileDoneInOnlineEdit();
    void FTPClientMakeFolderDoneInFolderTree();
    void FTPClientMakeFolderDoneInFileList();
    void FTPClientRemoveDoneInFolderTree();
    void FTPClientRemoveDoneInFileList();
    void FTPClientRenameDoneInFolderTree();
    void FTPClientRenameDoneInFileList();
    void FTPClientChangePermsDoneInFolderTree();
    void FTPClientChangePermsDoneInFileList();
    void FTPClientGetListItemsDoneInRefresh();
    std::optional<QString> AskText(const QString& caption, const QString& prompt,
                                   const QString& initial = {});
    void ShowError(const QString& title, const QString& text);
    void RemoveListedEntries(const std::vector<TFTPListItem*>& entries);
    void RefreshListRows(const std::vector<const TFTPListItem*>& entries);
    void AddListEntry(TFTPListItem& entry, bool focusList);
    void ForgetComboNodes(TFolderNode& subtree);
    void SetComboText(const TFolderNode& node);
    void ShowFileListPopup(QAbstractItemView* view, const QPoint& at);
    void ShowFolderTreePopup(const QPoint& at);
    bool ListKeyPressed(int key);
    bool TreeMousePressed(const QMouseEvent& mouse);
    bool ListDoubleClicked(QObject* viewport, const QMouseEvent& mouse);
    QAbstractItemView* ListView() const;
    QTreeView& TreeView() const;

    // --- Drag and drop ---
    void StartDragFromTree();
    void StartDragFromList();
    void RunDrag(TFTPFileData data, bool fromList);
    bool DragEvent(QObject* watched, QEvent* event);
    void AutoScroll();
    void SetListMark(const TFTPListItem* entry);
    void UpdateClipboardState();
    void ConfigureClient();
    void OnConnectDone();
    void OnGetFolderDone();
    void OnDisplay(const std::string& line);
    void ShowNode(TFolderNode* node);
    void NodeRemoving(TFolderNode& node);
    void UpdateCaption();
    void ReportConnectFailure();
    void OnListed(TFolderNode* node);
    void OnUploadsDone();
    void RefreshWhenIdle();
    void FillFileList(TFolderNode& node);
    void SelectNodeQuietly(TFolderNode* node);
    void SetComboIndex(int index);
    void UpdateSelectionCounters();
    void PlaySound(const std::string& file) const;
    void LoadSettings();
    void SaveSettings();
    std::string SiteKey() const;
    void PostClose();

    TRemoteExpContext m_context;
    TSiteProperties* m_site; // not owned; none for a quick connect
    std::unique_ptr<TSiteProperties> m_quickSite;
    std::shared_ptr<TThreadedFTPClient> m_client;
    TLocaleTextCompare m_compare;
    TFolderTree m_tree;
    TFileListContent m_fileList;
    TMasks m_masks{"*.*"};

    TFolderTreeModel* m_treeModel = nullptr;
    TFileListModel* m_listModel = nullptr;
    TSessionLogView* m_log = nullptr;
    QLabel* m_status[6] = {};
    QLabel* m_statusIcon = nullptr;

    // What a command in flight applies its result to.
    TFolderNode* m_pendingNode = nullptr;
    std::vector<TFTPListItem*> m_pendingItems;
    std::string m_newTreeName;
    std::string m_newListName;
    std::string m_newFolderName;
    std::string m_newPermission;
    bool m_deletingNode = false;
    std::unique_ptr<TFTPListItems> m_refreshListing; // the listing a refresh fills
    int m_quietSelection = 0;                        // selection changes that show no folder
    // Drag and drop.
    bool m_draggingOwn = false;
    bool m_dragging = false;
    const TFTPListItem* m_listMark = nullptr;
    QWidget* m_dragOverViewport = nullptr;
    QPoint m_dragPoint;
    QPoint m_pressPoint; // where the left button went down in the tree
    QTimer* m_scrollTimer = nullptr;
    bool m_clipboardHasFiles = false;
    // The selection of the list, counted when it changes.
    int m_selectedCount = 0;
    const TFTPListItem* m_firstSelected = nullptr;

    QString m_captionText;
    TFolderNode* m_shownNode = nullptr;
    TFolderNode* m_listingNode = nullptr;
    std::vector<TFolderNode*> m_comboNodes; // the folder combo's entries, by index
    int m_comboIndex = -1;
    bool m_refreshWanted = false; // the folder shown changed on the server
    bool m_canClose = false;
    bool m_closing = false;
    bool m_connected = false;
    int m_shownTransferType = -1; // the image of the transfer-type button
    std::string m_downloadFolder; // the process's current folder until settings say otherwise
    TCompareLegend* m_compareLegend = nullptr;
    TLocalEntriesReader* m_compareReader = nullptr; // reads the local side of a comparison
    bool m_listOnlyDifferences = false;             // the list was filled with the differences only
    QPointer<TRemoteFindForm> m_findForm;
    // The entry Go to Folder selects once its folder is shown.
    std::string m_selectFolder;
    std::string m_selectName;
};

} // namespace qx
