// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SiteBookModel.h"
#include "settings/gui/SiteBookFormTools.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace qx {

class TActionList;
class TConfigStore;
class TGlobalOptions;
class TPasswordStore;
class TSiteBookTreeModel;
class TSiteBookTreeView;
class TSitePropertiesForm;
class TTitlePanel;

// The site book window: the tree of folders and sites kept in the configuration store, and the
// commands that connect to a site, make a quick connection, create, rename and delete nodes,
// edit a site and start ping or telnet on its host. Closing the window only hides it; its
// place and toolbars are saved when it is destroyed.
class TSiteBookForm final : public QMainWindow {
    Q_OBJECT
public:
    // Connecting to a site of the book; the book keeps owning the site.
    using TConnect = std::function<void(TSiteProperties& site)>;
    // Connecting to a quick-connect site, which is never stored; the receiver takes it over.
    using TQuickConnect = std::function<void(std::unique_ptr<TSiteProperties> site)>;
    // Shows a message box and returns the button chosen.
    using TMessageBox = std::function<QMessageBox::StandardButton(
        QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons)>;
    // Runs the site properties dialog modally and returns its result.
    using TRunDialog = std::function<int(TSitePropertiesForm& dialog)>;
    // Asks for a file to read (save false) or to write; empty when the user cancels.
    using TChooseFile = std::function<QString(bool save)>;

    // The commands, named as in the menus.
    struct TActions {
        QAction* Connect = nullptr;
        QAction* QuickConnect = nullptr;
        QAction* NewFolder = nullptr;
        QAction* NewSite = nullptr;
        QAction* Delete = nullptr;
        QAction* Rename = nullptr;
        QAction* Properties = nullptr;
        QAction* Hide = nullptr;
        QAction* Ping = nullptr;
        QAction* Telnet = nullptr;
        QAction* Import = nullptr;
        QAction* Export = nullptr;
    };

    // Loads the window's settings, then the tree. Without a stored place the window stands at
    // the right edge of the screen, at its top until PlaceBelow() is called.
    // Site passwords go to the password store when one is given and available (not owned).
    TSiteBookForm(TConfigStore& store, const TGlobalOptions& options, QWidget* parent = nullptr,
                  TPasswordStore* passwords = nullptr);
    // Saves the window's settings, then frees the tree, telling ForgetSite about every site.
    ~TSiteBookForm() override;

    void SetConnect(TConnect connect) { m_connect = std::move(connect); }
    void SetQuickConnect(TQuickConnect quickConnect) { m_quickConnect = std::move(quickConnect); }
    void SetForgetSite(TSiteBookModel::TForgetSite forgetSite);
    // The place of a window without a stored one: at the right edge of the screen, 5 pixels
    // below the given window (the main window, once it is framed); a stored Left or Top stays.
    void PlaceBelow(const QWidget& window);
    void SetMessageBox(TMessageBox messageBox) { m_messageBox = std::move(messageBox); }
    void SetRunDialog(TRunDialog runDialog) { m_runDialog = std::move(runDialog); }
    void SetChooseFile(TChooseFile chooseFile) { m_chooseFile = std::move(chooseFile); }
    void SetStartProgram(TStartProgram start) { m_startProgram = std::move(start); }

    // The font of the window and its title panel, and the title panel's end colour from the
    // global options.
    void ApplyAppearance(const QString& fontName, int fontSize);

    const TActions& Actions() const { return m_actions; }
    TActionList& ActionList() const { return *m_actionList; }
    TSiteBookModel& Book() { return *m_book; }
    TSiteBookTreeModel& TreeModel() const { return *m_treeModel; }
    TSiteBookTreeView& Tree() const { return *m_tree; }
    // What the commands act on: the drop target when there is one, else the selected node.
    TSiteBookNode* TargetNode() const;

    static constexpr int kHelpContext = 1001;

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateActions();
    void CreateMenusAndToolbars();
    void CreateCentralWidget();
    void LoadSettings();
    void SaveSettings();
    void ShowTree();
    void UpdateSelectionTexts();
    void ShowContextMenu(const QPoint& at);
    void SelectNode(const TSiteBookNode& node);
    // Runs a command from code after bringing every enable rule up to date.
    void RunCommand(QAction* action);

    // The commands (SiteBookFormCommands.cpp).
    void ConnectTo(TSiteBookNode& node);
    void QuickConnect();
    void NewFolder();
    void NewSite();
    void DeleteNode();
    void RenameNode();
    void RenameConfirmed(const QModelIndex& index, const QString& text);
    void EditProperties();
    void StartSiteTool(const std::string& program, const QString& errorTitle);
    // Site lists in and out (SiteBookFormImport.cpp).
    void ImportSites();
    void ExportSites();
    QString ChooseFile(bool save);
    int RunDialog(TSitePropertiesForm& dialog);
    // The dialog of a site to be stored tells when there is no keyring.
    void ShowPasswordPlace(TSitePropertiesForm& dialog) const;
    QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons);
    void Report(const TSiteBookMessage& message);

    TConfigStore& m_store;
    const TGlobalOptions& m_options;
    std::unique_ptr<TSiteBookModel> m_book;
    TConnect m_connect;
    TQuickConnect m_quickConnect;
    TMessageBox m_messageBox;
    TRunDialog m_runDialog;
    TStartProgram m_startProgram;
    TChooseFile m_chooseFile;

    TActionList* m_actionList = nullptr;
    TActions m_actions;
    TSiteBookTreeModel* m_treeModel = nullptr;
    TSiteBookTreeView* m_tree = nullptr;
    TTitlePanel* m_titlePanel = nullptr;
    QLabel* m_siteStatus = nullptr;
    bool m_storedLeft = false;
    bool m_storedTop = false;
};

} // namespace qx
