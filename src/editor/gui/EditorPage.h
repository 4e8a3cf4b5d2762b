// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/Bookmarks.h"
#include "editor/Highlighters.h"
#include "editor/TextEncoding.h"
#include "remote/RemoteEditFile.h"

#include "editor/gui/QsciHeaders.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAccessibleEvent;

namespace qx {

class TEditorPrinter;

// The editor of one page: it owns the remote file it edits, keeps the file's bytes as they
// came (see TTextEncoding), and holds the ten bookmarks as gutter markers that move with the
// text.
//
// The control reports changes of the text only before they happen (SCN_MODIFIED with
// SC_MOD_BEFOREINSERT or SC_MOD_BEFOREDELETE): the control's own reports after a change count
// the characters from the start of the text up to the change for its accessibility support,
// whether a screen reader listens or not, which made every key press at the end of a large
// file cost a walk over the whole text. So QsciScintilla's textChanged() and linesChanged()
// are not emitted; the page tells assistive technologies of its changes itself, with offsets
// found through a line index (see TEditorAccessible).
class TEditorPage final : public QsciScintilla {
    Q_OBJECT
public:
    TEditorPage(std::unique_ptr<TRemoteEditFile> file, const QFont& font, QWidget* parent);

    TRemoteEditFile& File() const { return *m_file; }
    const TTextEncoding& Encoding() const { return m_encoding; }

    // Loads the text from a file; on failure the reason.
    bool LoadFromFile(const std::string& path, std::string& error);
    // Writes the text in the encoding it came in; on failure the reason.
    bool SaveToFile(const std::string& path, std::string& error) const;
    // The text as it would be written to a file.
    std::string FileContents() const;

    THighlighter Highlighter() const { return m_highlighter; }
    void SetHighlighter(THighlighter highlighter);
    void SetEditorFont(const QFont& font);

    // Caret line and column, from 1.
    int CaretLine() const;
    int CaretColumn() const;
    // Moves the caret to a line from 1 (kept within the text), keeping its column.
    void GoToLine(int line);

    // The line (from 0) of bookmark n, none while it is not set.
    std::optional<int> BookmarkLine(int n) const;
    void ToggleBookmark(int n);
    void GoToBookmark(int n);

    // Prints the whole text, coloured when the page has a highlighter.
    bool PrintTo(TEditorPrinter& printer);

    // Undo goes back at most this many steps; the control's own keys for undo and redo come
    // here too.
    static constexpr int kUndoLimit = 64;
    void undo() override;
    void redo() override;
    bool CanUndo() const { return m_undoSteps > 0 && isUndoAvailable(); }
    bool CanRedo() const { return m_redoSteps > 0 && isRedoAvailable(); }

    // Offsets in the text as assistive technologies count them (UTF-16 code units, as in the
    // QString of the text) from positions of the control (bytes), and back; both search the
    // line index and walk one line, never the text before it.
    long TextOffset(long position) const;
    long TextPosition(long offset) const;
    long TextOffsetCount() const;

    // Where the page's accessibility events go: to Qt while an assistive technology listens,
    // or all of them to a sink when one is set (tests, the benchmark).
    using TAccessibleEventSink = std::function<void(QAccessibleEvent& event)>;
    void SetAccessibleEventSink(TAccessibleEventSink sink) { m_accessibleSink = std::move(sink); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct TBookmark {
        int Handle = -1;
        int Column = 0;
    };
    void FitLineNumberMargin();
    void TextAboutToChange(int position, int type, int length);
    void ReportInsertion();
    void UiUpdated();
    bool AccessibilityWatched() const;
    void SendAccessibleEvent(QAccessibleEvent& event) const;
    void EnsureOffsetIndex() const;

    std::unique_ptr<TRemoteEditFile> m_file;
    TTextEncoding m_encoding;
    THighlighter m_highlighter = THighlighter::None;
    QFont m_font;
    std::array<TBookmark, kBookmarkCount> m_bookmarks{};
    int m_lineNumberDigits = 0;
    TAccessibleEventSink m_accessibleSink;
    long m_pendingInsertPosition = -1;
    long m_pendingInsertLength = 0;
    long m_reportedCursor = -1;
    long m_reportedAnchor = -1;
    // The steps undo and redo may take; the control keeps more, beyond the limit.
    int m_undoSteps = 0;
    int m_redoSteps = 0;
    QKeySequence m_undoKeys[2];
    QKeySequence m_redoKeys[2];
};

} // namespace qx
