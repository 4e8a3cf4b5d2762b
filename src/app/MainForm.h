// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/gui/RemoteExpTabs.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QTabBar;
class QToolBar;

namespace qx {

class TActionList;
class TGlobalOptions;

inline constexpr char kProductTitle[] = "Quorvin Explorer r2000.2";

// The strip across the top of the screen: the menu, the toolbar of commands that show the
// other windows, the tabs of the open remote explorers and the status bar that shows the
// long hint of whatever the mouse is over, in any window of the program.
class TMainForm final : public QMainWindow, public TRemoteExpTabs {
    Q_OBJECT
public:
    // What the commands do; the program fills in what exists.
    struct Commands {
        std::function<void()> ShowSiteBook;
        std::function<void()> QuickConnect;
        std::function<void()> ShowLocalExplorer;
        std::function<void()> ShowCarrier;
        std::function<void()> ShowOnlineEditor;
        std::function<bool()> EditGlobalOptions; // true when the options were changed
        std::function<void()> ApplyAppearance;   // of every other window
        std::function<void(int helpContext)> ShowHelp;
        // Asked before the window closes; false keeps the program running.
        std::function<bool()> ConfirmExit;
    };

    TMainForm(const TGlobalOptions& options, Commands commands, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The tabs of the open remote explorers: one per explorer, in the order of opening.
    // A tab reads as the host name; where two would read alike, as user@host, then with the
    // port and the site's name.
    int AddRemoteExpTab(const TRemoteExpTabName& name, QWidget* explorer) override;
    void DeleteRemoteExpTab(QWidget* explorer) override;
    void DisableRemoteExpTab(QWidget* explorer) override;
    void SelectRemoteExpTab(QWidget* explorer) override;
    QWidget* GetActiveRemoteExp() const;
    int RemoteExpTabCount() const;
    // The text the active explorer shows after the product name in the caption.
    void SetCaptionText(const QString& text) override;
    QString CaptionText() const { return m_captionText; }

    void ApplyAppearance();
    QTabBar* RemoteExpListTabControl() const { return m_tabs; }
    TActionList* Actions() const { return m_actions; }

    static constexpr int kHelpContext = 1000;

Q_SIGNALS:
    // Once, when the window is first activated.
    void FirstActivated();
    // The window is about to close: the other windows go now, the remote explorers next.
    void Closing();
    // The window has closed, after every remote explorer: the program ends.
    void Closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenusAndToolbar();
    void ShowExplorerOfTab(int index);
    void NameTabs();
    void CloseRemoteExplorers();
    void UpdateCaption();

    const TGlobalOptions& m_options;
    Commands m_commands;
    TActionList* m_actions = nullptr;
    QTabBar* m_tabs = nullptr;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_caption = nullptr;
    QString m_captionText;
    QHash<QWidget*, TRemoteExpTabName> m_tabNames;
    bool m_firstActivationDone = false;
    bool m_closing = false;

    QAction* m_siteBook = nullptr;
    QAction* m_quickConnect = nullptr;
    QAction* m_exit = nullptr;
    QAction* m_localExplorer = nullptr;
    QAction* m_carrier = nullptr;
    QAction* m_onlineEditor = nullptr;
    QAction* m_globalOptions = nullptr;
    QAction* m_helpContents = nullptr;
    QAction* m_homePage = nullptr;
    QAction* m_writeToDeveloper = nullptr;
    QAction* m_about = nullptr;
    QAction* m_tabRestore = nullptr;
    QAction* m_tabMinimize = nullptr;
    QAction* m_tabClose = nullptr;
};

} // namespace qx
