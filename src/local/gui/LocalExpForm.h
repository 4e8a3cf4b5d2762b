// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "local/LocalExpCommands.h"
#include "local/LocalExpTexts.h"
#include "local/LocalTransfers.h"
#include "queue/FTPCarryItem.h"
#include "widgets/ExplorerWindow.h"
#include "widgets/FileListViews.h"

#include <QPersistentModelIndex>
#include <QTreeView>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QAbstractItemView;
class QLabel;
class QMenu;
class QMimeData;

namespace qx {

class TCompareLegend;
class TLocalEntriesReader;
class TConfigStore;
class TFolderPairing;
class TGlobalOptions;
class TLocalCopyRunner;
class TLocalIconProvider;
class TLocalFileListModel;
class TLocalFolderTreeModel;
class TRemoteExpForm;
class TRemoteExpList;
class TTitlePanel;

// What the local explorer needs of the program around it.
struct TLocalExpContext {
    TGlobalOptions& Options;
    TConfigStore& Store;
    TRemoteExpList& Explorers; // the first one is the current remote explorer
    // Hands items to the transfer queue and starts it; none queues nothing.
    std::function<void(std::vector<std::unique_ptr<TFTPCarryItem>> items)> QueueItems;
    QWidget* Main = nullptr; // the main window, which the window stands below at first
};

// The one window over the local file system: a folder tree and a file list over the file
// system's models, which follow changes on disk. It sends local files to the current remote
// explorer's session or to the queue, receives remote entries pasted or dropped on it as
// download items, and gives the remote explorers the folder their downloads go to. Hiding and
// the close box only hide it.
class TLocalExpForm final : public TExplorerWindow {
    Q_OBJECT
public:
    explicit TLocalExpForm(TLocalExpContext context, QWidget* parent = nullptr);
    ~TLocalExpForm() override;
    TLocalExpForm(const TLocalExpForm&) = delete;
    TLocalExpForm& operator=(const TLocalExpForm&) = delete;

    // The tree's current folder when it is a folder of the file system: where the remote
    // explorers download to.
    std::optional<std::string> LocalFolder() const;
    // Moves the tree and the list to a folder; false when it is no folder.
    bool SetFolder(const std::string& path);
    void ApplyAppearance();

    // --- What the commands and tests use ---
    using enum TViewStyle;
    void SetViewStyle(int style);
    int ViewStyle() const;
    void ArrangeBy(int column);
    int SortColumn() const { return m_sortColumn; }
    void SetFilter(const QString& filter);
    QString Filter() const { return m_filter; }
    // Makes the tree (true) or the list the pane the commands work on.
    void ActivatePane(bool tree);
    bool TreeActive() const;
    // Selects exactly the list items of these names in the current folder.
    void SelectNames(const QStringList& names);
    void SelectNameBytes(const std::vector<std::string>& names);
    // The selected items' paths as the file system has their bytes.
    std::vector<std::string> SelectedPaths() const;
    // The tree's target: the highlighted node, else the selected one; its path (bytes), empty
    // without.
    std::string TreeTargetPath() const;
    void SetTreeMark(const std::string& path);
    TLocalExpState CommandState() const;
    // The current remote explorer (first of the list); none when there is none.
    TRemoteExpForm* CurrentRemoteExplorer() const;
    // Remote entries pasted or dropped: download items into the folder, through the queue.
    bool ReceiveRemoteEntries(const QMimeData* mime, const std::string& folder);
    // A drop of data on the list, onto the folder item of that name or none; on the tree.
    bool DropOnFileList(const QMimeData* mime, const std::optional<std::string>& folderItem);
    bool DropOnFolderTree(const QMimeData* mime, const std::string& nodePath);
    QString StatusPanelText(int panel) const;
    QString FolderTreeCaption() const;
    QString FileListCaption() const;
    TLocalFileListModel* ListModel() const { return m_listModel; }
    TLocalFolderTreeModel* TreeModel() const { return m_treeModel; }
    QAbstractItemView* ListView() const;
    QTreeView* FolderTreeView() const;
    // Runs one file-copy (or move) into a folder with progress and questions; for tests, the
    // end can be awaited with CopyRunning().
    void PasteFiles(const std::vector<std::string>& paths, const std::string& folder, bool move);
    bool CopyRunning() const;
    // The comparison of its folder with a remote explorer's, which the remote explorers share.
    const std::shared_ptr<TFolderPairing>& Pairing() const { return m_pairing; }

    // The commands pairing this folder with the other explorer's (sync/gui/FolderPairCommands.h).
    void ToolSynchronizeActionExecute();
    void ToolCompareActionExecute();
    void ToolCompareDifferencesActionExecute();

Q_SIGNALS:
    // The list shows a folder fully read (its status panels are filled).
    void FolderFilled();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildViews();
    void ConnectViews();
    void CreateActions();
    void DisableNetworkCommands();

    // --- Execute handlers ---
    void FileUploadActionExecute();
    void FileUploadinQueueActionExecute();
    void FileOpenActionExecute();
    void FilePrintActionExecute();
    void FileUpOneLevelActionExecute();
    void FileNewFolderActionExecute();
    void FileShortcutActionExecute();
    void FileDeleteActionExecute();
    void FileRenameActionExecute();
    void FileFilteringActionExecute();
    void FilePropertiesActionExecute();
    void FileContextMenuActionExecute();
    void FileHideActionExecute();
    void EditCutActionExecute() { EditCutCopyActionExecute(true); }
    void EditCopyActionExecute() { EditCutCopyActionExecute(false); }
    void EditCutCopyActionExecute(bool cut);
    void EditPasteActionExecute();
    void EditSelectAllActionExecute();
    void EditInvertSelectionActionExecute();
    void ViewRefreshActionExecute();
    void ToolFindFileActionExecute();
    void ToolNetDriveConnectActionExecute() { ToolNetDriveActionExecute(true); }
    void ToolNetDriveDisconnectActionExecute() { ToolNetDriveActionExecute(false); }
    void ToolNetDriveActionExecute(bool connect);
    void CompareShown();
    void CompareChanged();

    // --- Panes, status and settings ---
    std::vector<TLocalEntry> CommandEntries() const;
    void OpenIndex(const QModelIndex& index);
    void ShowFolder(const std::string& path);
    void OnFolderLoaded(const QString& path);
    void OnSelectionChanged();
    void FillFolderCombo();
    void ShowListPopup(QAbstractItemView* view, const QPoint& at);
    void ShowTreePopup(const QPoint& at);
    bool DragEvent(QAbstractItemView* view, QEvent* event);
    bool DropFiles(const QMimeData* mime, std::string folder);
    void UpdateClipboardState();
    void RepaintViews();
    void ShowError(const QString& title, const QString& text);
    void LoadSettings();
    void SaveSettings();

    TLocalExpContext m_context;
    TLocalIconProvider* m_iconProvider; // the window's last child: it outlives the models
    TLocalFolderTreeModel* m_treeModel = nullptr;
    TLocalFileListModel* m_listModel = nullptr;
    TTitlePanel* m_gradCaption = nullptr;
    QLabel* m_status[3] = {};
    TLocalCopyRunner* m_copier = nullptr;

    std::string m_currentFolder; // as the file system has its bytes
    QString m_filter = QStringLiteral("*.*");
    QPersistentModelIndex m_treeMark;
    QPersistentModelIndex m_listMark;
    QPoint m_popupPoint; // where the last pop-up menu was asked for, on the screen
    int m_sortColumn = 1;
    TSelectionCounters m_counters;
    bool m_clipboardHasFiles = false;
    // What the last Cut put on the clipboard, drawn faded while the clipboard holds it.
    std::set<std::string> m_cutPaths;
    QByteArray m_cutList;
    bool m_folderFilled = false;
    std::set<std::string> m_mountPointsHere; // mount points among the current folder's items
    mutable std::optional<TLocalExpState> m_stateCache;
    std::shared_ptr<TFolderPairing> m_pairing;
    TCompareLegend* m_compareLegend = nullptr;
    TLocalEntriesReader* m_compareReader = nullptr; // reads the local side of a comparison
};

} // namespace qx
