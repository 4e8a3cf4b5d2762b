// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "platform/QtUiThread.h"
#include "remote/RemoteExpList.h"
#include "widgets/SoundPlayer.h"

#include <memory>
#include <string>

namespace qx {

class TCarrierForm;
struct TFTPCarryItem;
class TLocalExpForm;
class TOnlineEditorForm;
class TConfigStore;
class TGlobalOptions;
class TPasswordStore;
class TQueueFile;
class TRemoteExpForm;
class TScreenshotTour;
class TSiteBookForm;
class TSiteProperties;

// The long-lived windows of the program, created in their order (main window, local explorer,
// site book, queue window) and wired to one another; the remote explorers come and go.
class TProgramWindows {
public:
    // Site passwords are kept in the password store when one is given and available (not
    // owned); otherwise in the settings file.
    TProgramWindows(TConfigStore& store, TGlobalOptions& options, TRemoteExpList& explorers,
                    TPasswordStore* passwords = nullptr);
    ~TProgramWindows();

    TMainForm& Main() { return *m_main; }
    TLocalExpForm& LocalExplorer() { return *m_local; }
    TSiteBookForm& SiteBook() { return *m_siteBook; }
    TCarrierForm& Carrier() { return *m_carrier; }
    TOnlineEditorForm& OnlineEditor() { return *m_onlineEditor; }

    // The queue window minimised, the local explorer and the site book shown below the main
    // window.
    void ShowAtFirstActivation();
    // Opens a remote explorer on a site; a quick-connect site is taken over.
    TRemoteExpForm* OpenExplorer(TSiteProperties* site);
    // Opens a quick-connect explorer at an address ftp://[user[:password]@]host[:port]/path;
    // a bad one is reported (standard error and a message box) and opens nothing.
    TRemoteExpForm* OpenAddress(const QString& address);
    // With QUORVIN_DEMO_SERVER=host:port, a site "Local demo server" when the site book is
    // empty; with QUORVIN_SCREENSHOTS=folder, a tour that saves a picture of every window.
    void StartDemoAndScreenshots();
    // Asks for the online editor's modified pages, then aborts the running transfers and waits,
    // with the event loop turning, until every carrier's worker has ended, before the windows go.
    void Finish();

private:
    // Before the end: asks whether to stop the transfers that are running.
    bool ConfirmExit();
    // At the end, before the remote explorers close: the other windows go at once.
    void CloseWindows();
    void ApplyAppearance();
    bool EditGlobalOptions();
    // Brings back the items of the queue file, suspended, and keeps the queue in it from now
    // on.
    void RestoreQueue();
    // The passwords of a restored item: those of a site of the book with the same login, the
    // e-mail address for anonymous logins.
    void FillPasswords(TFTPCarryItem& item) const;
    static void ShowAndRestore(QWidget& window);

    TConfigStore& m_store;
    TGlobalOptions& m_options;
    TRemoteExpList& m_explorers;
    TPasswordStore* m_passwords;
    QtUiThread m_ui;
    TSoundPlayer m_sounds;
    THelpForm m_help;
    THelpKey m_helpKey;
    std::unique_ptr<TMainForm> m_main;
    std::unique_ptr<TLocalExpForm> m_local;
    std::unique_ptr<TSiteBookForm> m_siteBook;
    std::unique_ptr<TQueueFile> m_queueFile; // outlives the queue, whose journal it is
    std::unique_ptr<TCarrierForm> m_carrier;
    std::size_t m_unreadableQueueEntries = 0;
    std::unique_ptr<TOnlineEditorForm> m_onlineEditor;
    std::unique_ptr<TScreenshotTour> m_tour;
};

} // namespace qx
