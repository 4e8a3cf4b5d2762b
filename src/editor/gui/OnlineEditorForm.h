// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/SearchHistory.h"
#include "editor/SearchOptions.h"
#include "remote/RemoteEditFile.h"
#include "remote/gui/InputForm.h"

#include <QFont>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace qx {

class TActionList;
class TConfigStore;
class TEditorLogPanel;
class TEditorPage;
class TEditorPrinter;
class TFindReplaceForm;
class TGlobalOptions;
class TThreadedFTPClient;
class UiThread;

// What the online editor needs of the program around it.
struct TOnlineEditorContext {
    UiThread& Ui;
    const TGlobalOptions& Options;
    TConfigStore& Store;
    // Plays a sound file asynchronously; none plays nothing.
    std::function<void(const std::string& file)> PlaySound;
};

// The editor's questions and dialogs; the defaults show message boxes and dialogs, tests
// answer them directly.
struct TOnlineEditorPrompts {
    std::function<bool(const QString& text)> ConfirmUpdate; // true for Yes
    std::function<void(const QString& title, const QString& text)> Inform;
    std::function<void(const QString& title, const QString& text)> Error;
    std::function<TReplaceAnswer(const QString& text, const QPoint& topLeft)> AskReplace;
    std::function<int(TFindReplaceForm& dialog)> RunFindReplace; // the dialog's result code
    std::function<std::optional<QString>(const TInputRequest& request)> AskLine;
    std::function<QString(const QString& proposedName)> AskSaveFile; // empty: cancelled
    std::function<bool(TEditorPrinter& printer)> SetupPrinter;       // false: cancelled
    std::function<std::optional<QFont>(const QFont& current)> AskFont;
};

// The online editor: remote text files in pages, written back over the window's own FTP
// session, with a log panel of that session. One instance lives as long as the program; it
// is hidden rather than closed.
class TOnlineEditorForm final : public QMainWindow {
    Q_OBJECT
public:
    explicit TOnlineEditorForm(TOnlineEditorContext context, QWidget* parent = nullptr);
    ~TOnlineEditorForm() override;
    TOnlineEditorForm(const TOnlineEditorForm&) = delete;
    TOnlineEditorForm& operator=(const TOnlineEditorForm&) = delete;

    // Opens the downloaded file in a new page and takes it over; its local file is deleted
    // once loaded. A file that cannot be loaded is reported and opens nothing.
    void OpenRemoteFile(std::unique_ptr<TRemoteEditFile> file);

    // At program end: asks for every modified page whether to write it back, as closing it
    // does, then ends the session's worker and waits for it.
    void Finish();

    // Without a stored place: in the middle of the screen below the window (the main window,
    // which stands at the top), once it has its frame.
    void PlaceBelow(const QWidget& window);

    TOnlineEditorPrompts& Prompts() { return m_prompts; }
    TThreadedFTPClient& FTPClient() { return *m_client; }
    TActionList& Actions() const { return *m_actions; }
    TEditorLogPanel& LogPanel() const { return *m_logPanel; }
    TEditorPage* ActivePage() const;
    int PageCount() const;
    TEditorPage* Page(int index) const;
    void SetActivePage(int index);
    QString CaptionText() const { return m_captionText; }
    QString StatusText(int panel) const;
    const QFont& EditorFont() const { return m_editorFont; }
    const TSearchHistory& FindHistory() const { return m_findHistory; }
    const TSearchHistory& ReplaceHistory() const { return m_replaceHistory; }
    const TSearchOptions& SearchOptions() const { return m_searchOptions; }
    // Whether the last write-back ended with a confirmed upload.
    bool LastWriteBackSucceeded() const { return m_lastWriteBackSucceeded; }
    // From the start of a write-back until its session has quit.
    bool WriteBackRunning() const { return m_writeBackRunning; }
    // Where the replace question goes: one line below the caret, in screen coordinates.
    QPoint ReplacePromptPosition() const;
    QToolBar* Toolbar(int index) const { return m_toolbars[index]; }
    QWidget* LogPanelWidget() const;

    // --- Commands (the actions call these; tests may too) ---
    void FileUpdateActionExecute();
    // False when the page stays open (its write-back failed).
    bool FileCloseActionExecute();
    void FileSaveasLocalFileActionExecute();
    void FilePrintActionExecute();
    void EditFontActionExecute();
    void SearchFindActionExecute();
    void SearchSearchAgainActionExecute();
    void SearchReplaceActionExecute();
    void SearchGotoLineNumActionExecute();
    void SetLogPanelVisible(bool visible);

    static constexpr int kHelpContext = 1005;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What enables a command of the table.
    enum class TEditorRule { Page, PageIdle, Selected, CanUndo, CanRedo, PasteText };
    void BuildWindow();
    void CreateActions();
    void CreateRepeatedActions();
    void CreateMenus();
    void CreateToolbars();
    bool RuleHolds(TEditorRule rule) const;
    void UpdateChecks(QAction& self);
    // The handlers of the table that are no more than a line.
    void FileCloseCommand() { FileCloseActionExecute(); }
    void FileHideActionExecute();
    void EditUndoActionExecute();
    void EditRedoActionExecute();
    void EditCutActionExecute();
    void EditCopyActionExecute();
    void EditPasteActionExecute();
    void EditSelectAllActionExecute();
    void ViewLogPanelActionExecute();
    void SetDefaultPrompts();
    void ConfigureClient();
    void LoadSettings();
    void SaveSettings();
    void UpdateCaption();
    void UpdateStatusBar();
    // "[host folder file] has been changed. Update?"
    static QString CloseConfirmText(const TRemoteEditFile& file);
    void ApplyEditorFont();
    void ShowEditorPopup(TEditorPage* page, const QPoint& at);

    // Write-back: saves the page to its local file and runs connect, upload and quit.
    bool StartWriteBack(TEditorPage& page);
    // Runs a write-back and turns the event loop until its session has quit; true when the
    // upload was confirmed.
    bool WriteBackAndWait(TEditorPage& page);
    void WaitUntilIdle();
    void FTPClientConnectDone();
    void FTPClientUploadFileDone();
    void RemovePage(TEditorPage* page);
    // Asks about a modified page at program end; keeps the text in a local file when the
    // write-back fails.
    void SaveModifiedPageAtEnd(TEditorPage& page);

    bool RunSearch(TEditorPage& page, const TSearchOptions& options, const QString& find,
                   const QString& replace);
    void PlaySound(const std::string& file) const;

    TOnlineEditorContext m_context;
    TOnlineEditorPrompts m_prompts;
    std::shared_ptr<TThreadedFTPClient> m_client;
    TActionList* m_actions = nullptr;
    QToolBar* m_toolbars[4] = {};
    QMenu* m_editorPopup = nullptr;
    QMenu* m_highlighterMenu = nullptr;
    TEditorLogPanel* m_logPanel = nullptr;
    QSplitter* m_splitter = nullptr;
    QTabWidget* m_pages = nullptr;
    QLabel* m_status[4] = {};
    QFont m_editorFont;
    TSearchHistory m_findHistory;
    TSearchHistory m_replaceHistory;
    TSearchOptions m_searchOptions;
    QString m_captionText;
    QPointer<TEditorPage> m_writeBackPage;
    std::string m_writeBackFile;
    bool m_quitDone = false;
    bool m_threadEnded = false;
    bool m_lastWriteBackSucceeded = false;
    bool m_writeBackRunning = false;
    bool m_capsLock = false;
    bool m_finished = false;
    bool m_placed = false; // a stored place, or one given
};

} // namespace qx
