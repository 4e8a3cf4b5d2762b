#pragma once

#include "base/LocaleTextCompare.h"
#include "queue/FTPCarryItem.h"
#include "remote/FileListContent.h"
#include "remote/FolderTree.h"
#include "remote/RemoteEditFile.h"
#include "remote/RemoteExpList.h"
#include "remote/gui/RemoteExpTabs.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QListView;
class QStackedWidget;
class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTreeView;

namespace qx {

class TActionList;
class TConfigStore;
class TFileListModel;
class TFolderTreeModel;
class TGlobalOptions;
class TSiteProperties;
class TThreadedFTPClient;
class TTitlePanel;
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
class TRemoteExpForm final : public QMainWindow, public TRemoteExplorer {
    Q_OBJECT
public:
    // Connects at once. A quick-connect site is taken over and freed; a stored one is written
    // back when the window closes.
    TRemoteExpForm(TRemoteExpContext context, TSiteProperties* site, QWidget* owner = nullptr);
    ~TRemoteExpForm() override;

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
    void UpOneLevel();
    // Selects the node in the folder tree, which shows it; refused while the client is busy.
    bool SelectFolder(TFolderNode& node);
    void ArrangeBy(int column);
    void SetFilter(const std::string& masks);
    void SetLogPanelVisible(bool visible);
    // 0 large icons, 1 small icons, 2 list, 3 details.
    enum TViewStyle : int { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };
    void SetViewStyle(int style);
    int ViewStyle() const { return m_viewStyle; }
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

    // Texts of the status bars, for the window and for tests.
    QString StatusPanelText(int panel) const;
    QString FileStatusText(int panel) const;
    int LogLineCount() const;
    void AddLogLine(const QString& text, const QColor& colour);

    static constexpr int kHelpContext = 1004;

Q_SIGNALS:
    // The window has ended its session and is about to go.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void CreateActions();
    void ConfigureClient();
    void OnConnectDone();
    void OnGetFolderDone();
    void OnDisplay(const std::string& line);
    void ShowNode(TFolderNode* node);
    void OnListed(TFolderNode* node);
    void OnUploadsDone();
    void FillFileList(TFolderNode& node);
    void SelectNodeQuietly(TFolderNode* node);
    void SetComboIndex(int index);
    void SetActivePane(bool tree);
    void UpdateSelectionCounters();
    void UpdateTitlePanels();
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

    TActionList* m_actions = nullptr;
    TFolderTreeModel* m_treeModel = nullptr;
    TFileListModel* m_listModel = nullptr;
    QSplitter* m_clientSplitter = nullptr;
    QSplitter* m_rightSplitter = nullptr;
    TTitlePanel* m_folderTreeTitle = nullptr;
    TTitlePanel* m_fileListTitle = nullptr;
    QComboBox* m_folderCombo = nullptr;
    QTreeView* m_folderTreeView = nullptr;
    QTreeView* m_fileListView = nullptr; // the details style
    QListView* m_fileIconView = nullptr; // the icon and list styles, on the same rows
    QStackedWidget* m_fileViews = nullptr;
    int m_viewStyle = vsList;
    QPlainTextEdit* m_log = nullptr;
    QWidget* m_logPanel = nullptr;
    QLabel* m_fileStatus[2] = {};
    QLabel* m_status[6] = {};
    QLabel* m_statusIcon = nullptr;

    QString m_captionText;
    TFolderNode* m_shownNode = nullptr;
    TFolderNode* m_listingNode = nullptr;
    std::vector<TFolderNode*> m_comboNodes; // the folder combo's entries, by index
    int m_comboIndex = -1;
    bool m_treeActive = false;
    bool m_listActive = false;
    bool m_canClose = false;
    bool m_closing = false;
    bool m_connected = false;
    int m_logLines = 0;
    std::string m_downloadFolder; // the process's current folder until settings say otherwise
};

} // namespace qx
