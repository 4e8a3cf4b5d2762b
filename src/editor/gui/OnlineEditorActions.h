#pragma once

#include "editor/Bookmarks.h"
#include "editor/Highlighters.h"
#include "editor/gui/OnlineEditorForm.h"

#include <QAction>

#include <array>

namespace qx {

// The online editor's commands, by the names of the window's actions.
struct TOnlineEditorForm::TActions {
    QAction *Update, *Close, *SaveAsLocal, *Print, *Hide;
    QAction *Undo, *Redo, *Cut, *Copy, *Paste, *SelectAll, *Font;
    QAction *Find, *SearchAgain, *Replace, *GotoLine;
    std::array<QAction*, kBookmarkCount> ToggleBookmark{};
    std::array<QAction*, kBookmarkCount> GotoBookmark{};
    QAction *LogPanel, *ToolbarFile, *ToolbarEdit, *ToolbarSearch;
    std::array<QAction*, kHighlighters.size()> Highlighter{};
    QAction* SelectHighlighter;
};

} // namespace qx
