#pragma once

#include "editor/Bookmarks.h"
#include "editor/Highlighters.h"
#include "editor/TextEncoding.h"
#include "remote/RemoteEditFile.h"

#include "editor/gui/QsciHeaders.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace qx {

class TEditorPrinter;

// The editor of one page: it owns the remote file it edits, keeps the file's bytes as they
// came (see TTextEncoding), and holds the ten bookmarks as gutter markers that move with the
// text.
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

private:
    struct TBookmark {
        int Handle = -1;
        int Column = 0;
    };
    void FitLineNumberMargin();

    std::unique_ptr<TRemoteEditFile> m_file;
    TTextEncoding m_encoding;
    THighlighter m_highlighter = THighlighter::None;
    QFont m_font;
    std::array<TBookmark, kBookmarkCount> m_bookmarks{};
    int m_lineNumberDigits = 0;
};

} // namespace qx
