// SPDX-License-Identifier: GPL-3.0-or-later
// The online editor's commands as tables: the actions with their rules, the menus, the
// editor's pop-up menu and the four toolbars.

#include "editor/Bookmarks.h"
#include "editor/Highlighters.h"
#include "editor/gui/EditorLogPanel.h"
#include "editor/gui/EditorPage.h"
#include "editor/gui/OnlineEditorForm.h"
#include "session/ThreadedFTPClient.h"
#include "widgets/ActionList.h"
#include "widgets/CommandTable.h"
#include "widgets/DockToolbars.h"
#include "widgets/MainDataModule.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace qx {

namespace {

constexpr TMenuBarEntry kMenuBar[] = {
    {QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&File"),
     "FileUpdateAction FileCloseAction - FileSaveasLocalFileAction - "
     "FilePrintAction - FileHideAction"},
    {QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Edit"),
     "EditUndoAction EditRedoAction - EditCutAction EditCopyAction "
     "EditPasteAction - EditSelectAllAction - EditFontAction"},
    {QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Search"),
     "SearchFindAction SearchSearchAgainAction SearchReplaceAction - "
     "SearchGotoLineNumAction - ToggleBookmarksMenu GotoBookmarksMenu"},
    {QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&View"),
     "ViewLogPanelAction ViewToolbarsMenu - HighlighterMenu"}};
constexpr TMenuItems kEditorPopup =
    "FileUpdateAction FileCloseAction - EditCutAction EditCopyAction EditPasteAction - "
    "PopupToggleBookmarksMenu PopupGotoBookmarksMenu - HighlighterMenu";
constexpr TMenuItems kToolbars[] = {
    "FileUpdateAction FileCloseAction FileSaveasLocalFileAction FilePrintAction",
    "EditUndoAction EditRedoAction EditCutAction EditCopyAction EditPasteAction",
    "SearchFindAction SearchSearchAgainAction SearchReplaceAction SearchGotoLineNumAction"};

constexpr const char* kToolbarToggles[] = {"ViewToolbarFileAction", "ViewToolbarEditAction",
                                           "ViewToolbarSearchAction"};
constexpr const char* kToolbarCaptions[] = {QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&File"),
                                            QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Edit"),
                                            QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Search")};
constexpr const char* kHighlighterNames[] = {
    "ViewHighlighterHTMLAction",    "ViewHighlighterCPPAction",  "ViewHighlighterPascalAction",
    "ViewHighlighterPerlAction",    "ViewHighlighterJavaAction", "ViewHighlighterSQLAction",
    "ViewHighlighterTclTkAction",   "ViewHighlighterAWKAction",  "ViewHighlighterDMLAction",
    "ViewHighlighterDoNotUseAction"};
constexpr const char* kHighlighterCaptions[] = {
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&HTML"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&C++"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Pascal"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "Pe&rl"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Java"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&SQL"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&Tcl/Tk"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&AWK"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "&DML"),
    QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "Do &not use")};

QMenu* NewMenu(QWidget& window, const char* name, const QString& title) {
    auto* menu = new QMenu(title, &window);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void TOnlineEditorForm::CreateActions() {
    using R = TEditorRule;
    using F = TOnlineEditorForm;
    using Image = TMainDataModule::ActionImage;
    static constexpr TCommand<F, R> kCommands[] = {
        {"FileUpdateAction", QT_TR_NOOP("&Update"),
         QT_TR_NOOP("Update|Write the text back to the server"), Qt::Key_F5, Image::Save,
         &F::FileUpdateActionExecute, R::PageIdle},
        {"FileCloseAction", QT_TR_NOOP("&Close"), QT_TR_NOOP("Close|Close the page"),
         Ctrl(Qt::Key_F4), Image::Close, &F::FileCloseCommand, R::PageIdle},
        {"FileSaveasLocalFileAction", QT_TR_NOOP("Save as &Local File..."),
         QT_TR_NOOP("Save as Local File...|Save the text as a local file"), Ctrl(Qt::Key_S), -1,
         &F::FileSaveasLocalFileActionExecute, R::Page, "document-save-as"},
        {"FilePrintAction", QT_TR_NOOP("&Print"), QT_TR_NOOP("Print|Print the text"), 0,
         Image::Print, &F::FilePrintActionExecute, R::Page},
        {"FileHideAction", QT_TR_NOOP("&Hide"), QT_TR_NOOP("Hide|Hide Online Editor"), 0,
         Image::Hide, &F::FileHideActionExecute},
        {"EditUndoAction", QT_TR_NOOP("&Undo"), QT_TR_NOOP("Undo"), Ctrl(Qt::Key_Z), -1,
         &F::EditUndoActionExecute, R::CanUndo, "edit-undo"},
        {"EditRedoAction", QT_TR_NOOP("&Redo"), QT_TR_NOOP("Redo"),
         (Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toCombined(), -1, &F::EditRedoActionExecute, R::CanRedo,
         "edit-redo"},
        {"EditCutAction", QT_TR_NOOP("Cu&t"), QT_TR_NOOP("Cut"), Ctrl(Qt::Key_X), -1,
         &F::EditCutActionExecute, R::Selected, "edit-cut"},
        {"EditCopyAction", QT_TR_NOOP("&Copy"), QT_TR_NOOP("Copy"), Ctrl(Qt::Key_C), Image::Copy,
         &F::EditCopyActionExecute, R::Selected},
        {"EditPasteAction", QT_TR_NOOP("&Paste"), QT_TR_NOOP("Paste"), Ctrl(Qt::Key_V),
         Image::Paste, &F::EditPasteActionExecute, R::PasteText},
        {"EditSelectAllAction", QT_TR_NOOP("Select &All"), QT_TR_NOOP("Select All"),
         Ctrl(Qt::Key_A), Image::SelectAll, &F::EditSelectAllActionExecute, R::Page},
        {"EditFontAction", QT_TR_NOOP("&Font..."), QT_TR_NOOP("Font...|Choose the editor font"), 0,
         -1, &F::EditFontActionExecute, std::nullopt, "preferences-desktop-font"},
        {"SearchFindAction", QT_TR_NOOP("&Find..."), QT_TR_NOOP("Find..."), Ctrl(Qt::Key_F), -1,
         &F::SearchFindActionExecute, R::Page, "edit-find"},
        {"SearchSearchAgainAction", QT_TR_NOOP("&Search Again"), QT_TR_NOOP("Search Again"),
         Qt::Key_F3, -1, &F::SearchSearchAgainActionExecute, R::Page, "go-down-search"},
        {"SearchReplaceAction", QT_TR_NOOP("&Replace..."), QT_TR_NOOP("Replace..."),
         Ctrl(Qt::Key_R), -1, &F::SearchReplaceActionExecute, R::Page, "edit-find-replace"},
        {"SearchGotoLineNumAction", QT_TR_NOOP("Go to &Line Number..."),
         QT_TR_NOOP("Go to Line Number..."), (Qt::ALT | Qt::Key_G).toCombined(), -1,
         &F::SearchGotoLineNumActionExecute, R::Page, "go-jump"},
        {"ViewLogPanelAction", QT_TR_NOOP("&Log Panel"),
         QT_TR_NOOP("Log Panel|Show or hide the log panel"), 0, Image::LogPanel,
         &F::ViewLogPanelActionExecute, std::nullopt, nullptr, true},
    };
    m_actions = new TActionList(this);
    AddCommands(*m_actions, *this, kCommands, [this](R rule) { return RuleHolds(rule); });
    CreateRepeatedActions();
    m_actions->Add({}, {}, [this](QAction& self) { UpdateChecks(self); });
}

// The commands made once for each bookmark, toolbar and highlighter.
void TOnlineEditorForm::CreateRepeatedActions() {
    TActionList& list = *m_actions;
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
        toggle->setObjectName(QStringLiteral("SearchToggleBookmark%1Action").arg(n));
        QAction* jump = list.Add(
            {caption, tr("Go to Bookmark %1").arg(n), QKeySequence(Qt::CTRL | digit), -1},
            [this, n] {
                if (TEditorPage* editor = ActivePage()) {
                    editor->GoToBookmark(n);
                }
            },
            [this, n](QAction& action) {
                const TEditorPage* editor = ActivePage();
                action.setEnabled(editor != nullptr && editor->BookmarkLine(n).has_value());
            });
        jump->setObjectName(QStringLiteral("SearchGotoBookmark%1Action").arg(n));
    }
    for (int bar = 0; bar < 3; ++bar) {
        const QString caption = tr(kToolbarCaptions[bar]);
        QAction* toggle = list.Add(
            {caption, QString(caption).remove(QLatin1Char('&')), {}, -1},
            [this, bar] { m_toolbars[bar]->setVisible(m_toolbars[bar]->isHidden()); },
            [this, bar](QAction& action) {
                action.setChecked(m_toolbars[bar] != nullptr && !m_toolbars[bar]->isHidden());
            });
        toggle->setCheckable(true);
        toggle->setObjectName(QString::fromLatin1(kToolbarToggles[bar]));
    }
    for (std::size_t index = 0; index < kHighlighters.size(); ++index) {
        const THighlighter highlighter = kHighlighters[index];
        const QString caption = tr(kHighlighterCaptions[index]);
        QAction* action = list.Add(
            {caption, QString(caption).remove(QLatin1Char('&')), {}, -1},
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
        action->setObjectName(QString::fromLatin1(kHighlighterNames[index]));
    }
}

bool TOnlineEditorForm::RuleHolds(TEditorRule rule) const {
    const TEditorPage* editor = ActivePage();
    if (editor == nullptr) {
        return false;
    }
    switch (rule) {
    case TEditorRule::Page:
        return true;
    case TEditorRule::PageIdle:
        // One write-back at a time: from its connect to its quit, not only while a request
        // runs.
        return !m_client->Busy() && !m_writeBackRunning;
    case TEditorRule::Selected:
        return editor->hasSelectedText();
    case TEditorRule::CanUndo:
        return editor->CanUndo();
    case TEditorRule::CanRedo:
        return editor->CanRedo();
    case TEditorRule::PasteText: {
        const QMimeData* clip = QApplication::clipboard()->mimeData();
        return clip != nullptr && clip->hasText();
    }
    }
    return false;
}

void TOnlineEditorForm::UpdateChecks(QAction& self) {
    self.setVisible(false);
    m_actions->Find(u"ViewLogPanelAction")->setChecked(!m_logPanel->isHidden());
}

void TOnlineEditorForm::CreateMenus() {
    auto* toggles = NewMenu(*this, "ToggleBookmarksMenu", tr("&Toggle Bookmarks"));
    auto* jumps = NewMenu(*this, "GotoBookmarksMenu", tr("&Go to Bookmarks"));
    auto* popupToggles = NewMenu(*this, "PopupToggleBookmarksMenu", tr("Toggle Bookmarks"));
    auto* popupJumps = NewMenu(*this, "PopupGotoBookmarksMenu", tr("Go to Bookmarks"));
    for (int n = 0; n < kBookmarkCount; ++n) {
        QAction* toggle = m_actions->Find(QStringLiteral("SearchToggleBookmark%1Action").arg(n));
        QAction* jump = m_actions->Find(QStringLiteral("SearchGotoBookmark%1Action").arg(n));
        toggles->addAction(toggle);
        popupToggles->addAction(toggle);
        jumps->addAction(jump);
        popupJumps->addAction(jump);
    }
    m_highlighterMenu = NewMenu(*this, "HighlighterMenu", tr("Syntax &Highlighters"));
    for (const char* name : kHighlighterNames) {
        m_highlighterMenu->addAction(FindCommand(*this, name));
    }
    auto* toolbars = NewMenu(*this, "ViewToolbarsMenu", tr("&Toolbars"));
    for (const char* name : kToolbarToggles) {
        toolbars->addAction(FindCommand(*this, name));
    }
    FillMenuBar(*menuBar(), *this, kMenuBar);
    m_editorPopup = NewPopupMenu(*this, "EditorPopupMenu", kEditorPopup);
}

void TOnlineEditorForm::CreateToolbars() {
    const auto bars = AddDockToolbars(*this, {{{"FileToolbar", tr("File Toolbar")},
                                               {"EditToolbar", tr("Edit Toolbar")},
                                               {"SearchToolbar", tr("Search Toolbar")},
                                               {"ViewToolbar", tr("View Toolbar")}}});
    std::copy(bars.begin(), bars.end(), m_toolbars);
    for (int bar = 0; bar < 3; ++bar) {
        FillToolbar(*m_toolbars[bar], *this, kToolbars[bar]);
    }
    // The highlighters drop down from a button of their own.
    auto* select = new QAction(tr("Syntax &Highlighters"), this);
    select->setObjectName(QStringLiteral("ViewSelectHighlighterAction"));
    select->setIcon(QIcon::fromTheme(QStringLiteral("format-text-bold")));
    select->setToolTip(tr("Select Syntax Highlighter"));
    select->setMenu(m_highlighterMenu);
    m_toolbars[3]->addAction(select);
    if (auto* button = qobject_cast<QToolButton*>(m_toolbars[3]->widgetForAction(select))) {
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

// --- The handlers that are no more than a line ---------------------------------------------

void TOnlineEditorForm::FileHideActionExecute() {
    hide();
}

void TOnlineEditorForm::EditUndoActionExecute() {
    if (TEditorPage* editor = ActivePage()) {
        editor->undo();
    }
}

void TOnlineEditorForm::EditRedoActionExecute() {
    if (TEditorPage* editor = ActivePage()) {
        editor->redo();
    }
}

void TOnlineEditorForm::EditCutActionExecute() {
    if (TEditorPage* editor = ActivePage()) {
        editor->cut();
    }
}

void TOnlineEditorForm::EditCopyActionExecute() {
    if (TEditorPage* editor = ActivePage()) {
        editor->copy();
    }
}

void TOnlineEditorForm::EditPasteActionExecute() {
    if (TEditorPage* editor = ActivePage()) {
        editor->paste();
    }
}

void TOnlineEditorForm::EditSelectAllActionExecute() {
    if (TEditorPage* editor = ActivePage()) {
        editor->selectAll(true);
    }
}

void TOnlineEditorForm::ViewLogPanelActionExecute() {
    SetLogPanelVisible(m_logPanel->isHidden());
}

} // namespace qx
