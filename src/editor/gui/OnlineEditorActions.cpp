// The online editor's commands: the actions with their rules, the menus, the editor's pop-up
// menu and the four toolbars.

#include "editor/gui/OnlineEditorActions.h"
#include "editor/Highlighters.h"
#include "editor/gui/EditorLogPanel.h"
#include "editor/gui/EditorPage.h"
#include "editor/gui/OnlineEditorForm.h"
#include "session/ThreadedFTPClient.h"
#include "widgets/ActionList.h"
#include "widgets/DockToolbars.h"
#include "widgets/MainDataModule.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

#include <array>

namespace qx {

using Image = TMainDataModule::ActionImage;

namespace {

QAction* Named(QAction* action, const QString& name, const char* themeIcon = nullptr) {
    action->setObjectName(name);
    if (themeIcon != nullptr && action->icon().isNull()) {
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(themeIcon)));
    }
    return action;
}

} // namespace

void TOnlineEditorForm::CreateActions() {
    m_actions = new TActionList(this);
    m_act = std::make_unique<TActions>();
    TActions& a = *m_act;
    TActionList& list = *m_actions;
    const auto page = [this](QAction& action) { action.setEnabled(ActivePage() != nullptr); };
    // One write-back at a time: from its connect to its quit, not only while a request runs.
    const auto pageIdle = [this](QAction& action) {
        action.setEnabled(ActivePage() != nullptr && !m_client->Busy() && !m_writeBackRunning);
    };
    const auto selected = [this](QAction& action) {
        const TEditorPage* editor = ActivePage();
        action.setEnabled(editor != nullptr && editor->hasSelectedText());
    };
    const auto withPage = [this](void (QsciScintilla::*command)()) {
        return [this, command] {
            if (TEditorPage* editor = ActivePage()) {
                (editor->*command)();
            }
        };
    };

    a.Update = Named(list.Add(
                         {tr("&Update"), tr("Update|Write the text back to the server"),
                          QKeySequence(Qt::Key_F5), Image::Save},
                         [this] { FileUpdateActionExecute(); }, pageIdle),
                     QStringLiteral("FileUpdateAction"));
    a.Close = Named(list.Add(
                        {tr("&Close"), tr("Close|Close the page"),
                         QKeySequence(Qt::CTRL | Qt::Key_F4), Image::Close},
                        [this] { FileCloseActionExecute(); }, pageIdle),
                    QStringLiteral("FileCloseAction"));
    a.SaveAsLocal = Named(list.Add(
                              {tr("Save as &Local File..."),
                               tr("Save as Local File...|Save the text as a local file"),
                               QKeySequence(Qt::CTRL | Qt::Key_S), -1},
                              [this] { FileSaveasLocalFileActionExecute(); }, page),
                          QStringLiteral("FileSaveasLocalFileAction"), "document-save-as");
    a.Print = Named(list.Add(
                        {tr("&Print"), tr("Print|Print the text"), {}, Image::Print},
                        [this] { FilePrintActionExecute(); }, page),
                    QStringLiteral("FilePrintAction"));
    a.Hide = Named(
        list.Add({tr("&Hide"), tr("Hide|Hide Online Editor"), {}, Image::Hide}, [this] { hide(); }),
        QStringLiteral("FileHideAction"));

    a.Undo = Named(list.Add({tr("&Undo"), tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), -1},
                            withPage(&QsciScintilla::undo),
                            [this](QAction& action) {
                                const TEditorPage* editor = ActivePage();
                                action.setEnabled(editor != nullptr && editor->CanUndo());
                            }),
                   QStringLiteral("EditUndoAction"), "edit-undo");
    a.Redo = Named(
        list.Add({tr("&Redo"), tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), -1},
                 withPage(&QsciScintilla::redo),
                 [this](QAction& action) {
                     const TEditorPage* editor = ActivePage();
                     action.setEnabled(editor != nullptr && editor->CanRedo());
                 }),
        QStringLiteral("EditRedoAction"), "edit-redo");
    a.Cut = Named(list.Add({tr("Cu&t"), tr("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), -1},
                           withPage(&QsciScintilla::cut), selected),
                  QStringLiteral("EditCutAction"), "edit-cut");
    a.Copy =
        Named(list.Add({tr("&Copy"), tr("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), Image::Copy},
                       withPage(&QsciScintilla::copy), selected),
              QStringLiteral("EditCopyAction"));
    a.Paste = Named(
        list.Add({tr("&Paste"), tr("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), Image::Paste},
                 withPage(&QsciScintilla::paste),
                 [this](QAction& action) {
                     const QMimeData* clip = QApplication::clipboard()->mimeData();
                     action.setEnabled(ActivePage() != nullptr && clip != nullptr &&
                                       clip->hasText());
                 }),
        QStringLiteral("EditPasteAction"));
    a.SelectAll = Named(list.Add(
                            {tr("Select &All"), tr("Select All"),
                             QKeySequence(Qt::CTRL | Qt::Key_A), Image::SelectAll},
                            [this] {
                                if (TEditorPage* editor = ActivePage()) {
                                    editor->selectAll(true);
                                }
                            },
                            page),
                        QStringLiteral("EditSelectAllAction"));
    a.Font = Named(list.Add({tr("&Font..."), tr("Font...|Choose the editor font"), {}, -1},
                            [this] { EditFontActionExecute(); }),
                   QStringLiteral("EditFontAction"), "preferences-desktop-font");

    a.Find = Named(list.Add(
                       {tr("&Find..."), tr("Find..."), QKeySequence(Qt::CTRL | Qt::Key_F), -1},
                       [this] { SearchFindActionExecute(); }, page),
                   QStringLiteral("SearchFindAction"), "edit-find");
    a.SearchAgain =
        Named(list.Add(
                  {tr("&Search Again"), tr("Search Again"), QKeySequence(Qt::Key_F3), -1},
                  [this] { SearchSearchAgainActionExecute(); }, page),
              QStringLiteral("SearchSearchAgainAction"), "go-down-search");
    a.Replace =
        Named(list.Add(
                  {tr("&Replace..."), tr("Replace..."), QKeySequence(Qt::CTRL | Qt::Key_R), -1},
                  [this] { SearchReplaceActionExecute(); }, page),
              QStringLiteral("SearchReplaceAction"), "edit-find-replace");
    a.GotoLine = Named(list.Add(
                           {tr("Go to &Line Number..."), tr("Go to Line Number..."),
                            QKeySequence(Qt::ALT | Qt::Key_G), -1},
                           [this] { SearchGotoLineNumActionExecute(); }, page),
                       QStringLiteral("SearchGotoLineNumAction"), "go-jump");
    for (int n = 0; n < kBookmarkCount; ++n) {
        const QString caption = tr("Bookmark &%1").arg(n);
        const auto digit = static_cast<Qt::Key>(Qt::Key_0 + n);
        QAction* toggle = list.Add(
            {caption, tr("Toggle Bookmark %1").arg(n), QKeySequence(Qt::CTRL | Qt::SHIFT | digit),
             -1},
            [this, n] {
                if (TEditorPage* editor = ActivePage()) {
                    editor->ToggleBookmark(n);
                }
            },
            [this, n](QAction& action) {
                const TEditorPage* editor = ActivePage();
                action.setEnabled(editor != nullptr);
                action.setChecked(editor != nullptr && editor->BookmarkLine(n).has_value());
            });
        toggle->setCheckable(true);
        a.ToggleBookmark[static_cast<std::size_t>(n)] =
            Named(toggle, QStringLiteral("SearchToggleBookmark%1Action").arg(n));
        a.GotoBookmark[static_cast<std::size_t>(n)] = Named(
            list.Add(
                {caption, tr("Go to Bookmark %1").arg(n), QKeySequence(Qt::CTRL | digit), -1},
                [this, n] {
                    if (TEditorPage* editor = ActivePage()) {
                        editor->GoToBookmark(n);
                    }
                },
                [this, n](QAction& action) {
                    const TEditorPage* editor = ActivePage();
                    action.setEnabled(editor != nullptr && editor->BookmarkLine(n).has_value());
                }),
            QStringLiteral("SearchGotoBookmark%1Action").arg(n));
    }

    a.LogPanel = Named(
        list.Add(
            {tr("&Log Panel"), tr("Log Panel|Show or hide the log panel"), {}, Image::LogPanel},
            [this] { SetLogPanelVisible(m_logPanel->isHidden()); },
            [this](QAction& action) { action.setChecked(!m_logPanel->isHidden()); }),
        QStringLiteral("ViewLogPanelAction"));
    a.LogPanel->setCheckable(true);
    const char* toolbarNames[] = {"ViewToolbarFileAction", "ViewToolbarEditAction",
                                  "ViewToolbarSearchAction"};
    const QString toolbarCaptions[] = {tr("&File"), tr("&Edit"), tr("&Search")};
    QAction** toolbarActions[] = {&a.ToolbarFile, &a.ToolbarEdit, &a.ToolbarSearch};
    for (int bar = 0; bar < 3; ++bar) {
        *toolbarActions[bar] = Named(
            list.Add(
                {toolbarCaptions[bar],
                 QString(toolbarCaptions[bar]).remove(QLatin1Char('&')),
                 {},
                 -1},
                [this, bar] { m_toolbars[bar]->setVisible(m_toolbars[bar]->isHidden()); },
                [this, bar](QAction& action) {
                    action.setChecked(m_toolbars[bar] != nullptr && !m_toolbars[bar]->isHidden());
                }),
            QString::fromLatin1(toolbarNames[bar]));
        (*toolbarActions[bar])->setCheckable(true);
    }

    static constexpr const char* kHighlighterNames[] = {
        "ViewHighlighterHTMLAction",    "ViewHighlighterCPPAction",  "ViewHighlighterPascalAction",
        "ViewHighlighterPerlAction",    "ViewHighlighterJavaAction", "ViewHighlighterSQLAction",
        "ViewHighlighterTclTkAction",   "ViewHighlighterAWKAction",  "ViewHighlighterDMLAction",
        "ViewHighlighterDoNotUseAction"};
    const QString highlighterCaptions[] = {
        tr("&HTML"), tr("&C++"),    tr("&Pascal"), tr("Pe&rl"), tr("&Java"),
        tr("&SQL"),  tr("&Tcl/Tk"), tr("&AWK"),    tr("&DML"),  tr("Do &not use")};
    for (std::size_t index = 0; index < kHighlighters.size(); ++index) {
        const THighlighter highlighter = kHighlighters[index];
        QString hint = highlighterCaptions[index];
        QAction* action = list.Add(
            {highlighterCaptions[index], hint.remove(QLatin1Char('&')), {}, -1},
            [this, highlighter] {
                if (TEditorPage* editor = ActivePage()) {
                    editor->SetHighlighter(highlighter);
                }
            },
            [this, highlighter](QAction& self) {
                const TEditorPage* editor = ActivePage();
                self.setEnabled(editor != nullptr);
                self.setChecked(editor != nullptr && editor->Highlighter() == highlighter);
            });
        action->setCheckable(true);
        a.Highlighter[index] = Named(action, QString::fromLatin1(kHighlighterNames[index]));
    }
    a.SelectHighlighter = Named(new QAction(tr("Syntax &Highlighters"), this),
                                QStringLiteral("ViewSelectHighlighterAction"), "format-text-bold");
    a.SelectHighlighter->setToolTip(tr("Select Syntax Highlighter"));
}

void TOnlineEditorForm::CreateMenus() {
    TActions& a = *m_act;
    QMenuBar* menus = menuBar();
    QMenu* file = menus->addMenu(tr("&File"));
    file->addActions({a.Update, a.Close});
    file->addSeparator();
    file->addAction(a.SaveAsLocal);
    file->addSeparator();
    file->addAction(a.Print);
    file->addSeparator();
    file->addAction(a.Hide);
    QMenu* edit = menus->addMenu(tr("&Edit"));
    edit->addActions({a.Undo, a.Redo});
    edit->addSeparator();
    edit->addActions({a.Cut, a.Copy, a.Paste});
    edit->addSeparator();
    edit->addAction(a.SelectAll);
    edit->addSeparator();
    edit->addAction(a.Font);

    auto* toggles = new QMenu(tr("&Toggle Bookmarks"), this);
    toggles->setObjectName(QStringLiteral("ToggleBookmarksMenu"));
    auto* jumps = new QMenu(tr("&Go to Bookmarks"), this);
    jumps->setObjectName(QStringLiteral("GotoBookmarksMenu"));
    for (int n = 0; n < kBookmarkCount; ++n) {
        toggles->addAction(a.ToggleBookmark[static_cast<std::size_t>(n)]);
        jumps->addAction(a.GotoBookmark[static_cast<std::size_t>(n)]);
    }
    m_highlighterMenu = new QMenu(tr("Syntax &Highlighters"), this);
    m_highlighterMenu->setObjectName(QStringLiteral("HighlighterMenu"));
    for (QAction* action : a.Highlighter) {
        m_highlighterMenu->addAction(action);
    }
    a.SelectHighlighter->setMenu(m_highlighterMenu);

    QMenu* search = menus->addMenu(tr("&Search"));
    search->addActions({a.Find, a.SearchAgain, a.Replace});
    search->addSeparator();
    search->addAction(a.GotoLine);
    search->addSeparator();
    search->addMenu(toggles);
    search->addMenu(jumps);
    QMenu* view = menus->addMenu(tr("&View"));
    view->addAction(a.LogPanel);
    QMenu* toolbars = view->addMenu(tr("&Toolbars"));
    toolbars->addActions({a.ToolbarFile, a.ToolbarEdit, a.ToolbarSearch});
    view->addSeparator();
    view->addMenu(m_highlighterMenu);

    m_editorPopup = new QMenu(this);
    m_editorPopup->setObjectName(QStringLiteral("EditorPopupMenu"));
    m_editorPopup->addActions({a.Update, a.Close});
    m_editorPopup->addSeparator();
    m_editorPopup->addActions({a.Cut, a.Copy, a.Paste});
    m_editorPopup->addSeparator();
    QMenu* popupToggles = m_editorPopup->addMenu(tr("Toggle Bookmarks"));
    popupToggles->addActions(toggles->actions());
    QMenu* popupJumps = m_editorPopup->addMenu(tr("Go to Bookmarks"));
    popupJumps->addActions(jumps->actions());
    m_editorPopup->addSeparator();
    m_editorPopup->addMenu(m_highlighterMenu);
}

void TOnlineEditorForm::CreateToolbars() {
    TActions& a = *m_act;
    const auto bars = AddDockToolbars(*this, {{{"FileToolbar", "File Toolbar"},
                                               {"EditToolbar", "Edit Toolbar"},
                                               {"SearchToolbar", "Search Toolbar"},
                                               {"ViewToolbar", "View Toolbar"}}});
    std::copy(bars.begin(), bars.end(), m_toolbars);
    m_toolbars[0]->addActions({a.Update, a.Close, a.SaveAsLocal, a.Print});
    m_toolbars[1]->addActions({a.Undo, a.Redo, a.Cut, a.Copy, a.Paste});
    m_toolbars[2]->addActions({a.Find, a.SearchAgain, a.Replace, a.GotoLine});
    m_toolbars[3]->addAction(a.SelectHighlighter);
    if (auto* button =
            qobject_cast<QToolButton*>(m_toolbars[3]->widgetForAction(a.SelectHighlighter))) {
        button->setPopupMode(QToolButton::InstantPopup);
    }
}

void TOnlineEditorForm::ShowEditorPopup(TEditorPage* page, const QPoint& at) {
    if (page == nullptr) {
        return;
    }
    m_actions->UpdateAll();
    m_editorPopup->exec(page->mapToGlobal(at));
}

} // namespace qx
