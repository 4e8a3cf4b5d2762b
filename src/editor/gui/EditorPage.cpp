#include "editor/gui/EditorPage.h"

#include "editor/gui/EditorLexers.h"
#include "editor/gui/EditorPrinter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace qx {

namespace {

constexpr int kLineNumberMargin = 0;
constexpr int kBookmarkMargin = 1;
constexpr unsigned kBookmarkMask = (1u << kBookmarkCount) - 1;

} // namespace

TEditorPage::TEditorPage(std::unique_ptr<TRemoteEditFile> file, const QFont& font, QWidget* parent)
    : QsciScintilla(parent), m_file(std::move(file)) {
    setObjectName(QStringLiteral("Editor"));
    setTabWidth(4);
    setIndentationsUseTabs(true);
    setTabIndents(false);
    setWrapMode(WrapNone);
    setMarginType(kLineNumberMargin, NumberMargin);
    setMarginLineNumbers(kLineNumberMargin, true);
    setMarginType(kBookmarkMargin, SymbolMargin);
    setMarginMarkerMask(kBookmarkMargin, static_cast<int>(kBookmarkMask));
    setMarginWidth(kBookmarkMargin, 14);
    for (int n = 0; n < kBookmarkCount; ++n) {
        markerDefine(static_cast<char>('0' + n), n);
        setMarkerForegroundColor(QColor(Qt::white), n);
        setMarkerBackgroundColor(QColor(0, 0, 160), n);
    }
    setMarginMarkerMask(kLineNumberMargin, 0);
    SetEditorFont(font);
    connect(this, &QsciScintilla::linesChanged, this, &TEditorPage::FitLineNumberMargin);
}

bool TEditorPage::LoadFromFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        error = "the file could not be read";
        return false;
    }
    m_encoding = DecideEncoding(bytes);
    const std::string_view text = EditedText(bytes, m_encoding);
    setUtf8(m_encoding.Utf8);
    setEolMode(m_encoding.LineEnd == TLineEnd::CRLF ? EolWindows
               : m_encoding.LineEnd == TLineEnd::CR ? EolMac
                                                    : EolUnix);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_GOTOPOS, 0L);
    setModified(false);
    FitLineNumberMargin();
    return true;
}

std::string TEditorPage::FileContents() const {
    const auto length = static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH));
    const auto* text = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
    return FileBytes(std::string_view(text != nullptr ? text : "", text != nullptr ? length : 0),
                     m_encoding);
}

bool TEditorPage::SaveToFile(const std::string& path, std::string& error) const {
    const std::string bytes = FileContents();
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
    }
    if (!out) {
        error = errno != 0 ? std::strerror(errno) : "the file could not be written";
        return false;
    }
    return true;
}

void TEditorPage::SetHighlighter(THighlighter highlighter) {
    QsciLexer* old = lexer();
    m_highlighter = highlighter;
    setLexer(CreateLexer(highlighter, m_font, this));
    delete old; // owned by this page; the new one is set first
    if (highlighter == THighlighter::None) {
        SetEditorFont(m_font); // the plain style in the editor font again
    }
}

void TEditorPage::SetEditorFont(const QFont& font) {
    m_font = font;
    if (m_highlighter != THighlighter::None) {
        SetHighlighter(m_highlighter);
    } else {
        setFont(font);
        SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, font.family().toUtf8().constData());
        SendScintilla(SCI_STYLESETSIZE, STYLE_DEFAULT, static_cast<long>(font.pointSize()));
        SendScintilla(SCI_STYLECLEARALL);
    }
    setMarginsFont(font);
    m_lineNumberDigits = 0;
    FitLineNumberMargin();
}

void TEditorPage::FitLineNumberMargin() {
    const int digits = std::max(3, static_cast<int>(QString::number(lines()).size()));
    if (digits != m_lineNumberDigits) {
        m_lineNumberDigits = digits;
        setMarginWidth(kLineNumberMargin, QString(digits + 1, QLatin1Char('0')));
    }
}

int TEditorPage::CaretLine() const {
    int line = 0;
    int index = 0;
    getCursorPosition(&line, &index);
    return line + 1;
}

int TEditorPage::CaretColumn() const {
    const long position = SendScintilla(SCI_GETCURRENTPOS);
    return static_cast<int>(SendScintilla(SCI_GETCOLUMN, position)) + 1;
}

void TEditorPage::GoToLine(int line) {
    const int target = std::clamp(line, 1, std::max(1, lines())) - 1;
    const long column = SendScintilla(SCI_GETCOLUMN, SendScintilla(SCI_GETCURRENTPOS));
    const long position = SendScintilla(SCI_FINDCOLUMN, target, column);
    SendScintilla(SCI_GOTOPOS, position);
    ensureLineVisible(target);
}

std::optional<int> TEditorPage::BookmarkLine(int n) const {
    if (n < 0 || n >= kBookmarkCount || m_bookmarks[static_cast<std::size_t>(n)].Handle < 0) {
        return std::nullopt;
    }
    const long line =
        SendScintilla(SCI_MARKERLINEFROMHANDLE, m_bookmarks[static_cast<std::size_t>(n)].Handle);
    if (line < 0) {
        return std::nullopt;
    }
    return static_cast<int>(line);
}

void TEditorPage::ToggleBookmark(int n) {
    if (n < 0 || n >= kBookmarkCount) {
        return;
    }
    TBookmark& bookmark = m_bookmarks[static_cast<std::size_t>(n)];
    const int caretLine = CaretLine() - 1;
    const bool clears = ToggleClearsBookmark(BookmarkLine(n), caretLine);
    if (bookmark.Handle >= 0) {
        markerDeleteHandle(bookmark.Handle);
        bookmark.Handle = -1;
    }
    if (!clears) {
        bookmark.Handle = markerAdd(caretLine, n);
        bookmark.Column = CaretColumn() - 1;
    }
}

void TEditorPage::GoToBookmark(int n) {
    const std::optional<int> line = BookmarkLine(n);
    if (!line) {
        return;
    }
    const long position =
        SendScintilla(SCI_FINDCOLUMN, *line, m_bookmarks[static_cast<std::size_t>(n)].Column);
    SendScintilla(SCI_GOTOPOS, position);
    ensureLineVisible(*line);
}

bool TEditorPage::PrintTo(TEditorPrinter& printer) {
    SendScintilla(SCI_SETPRINTCOLOURMODE,
                  m_highlighter != THighlighter::None ? SC_PRINT_NORMAL : SC_PRINT_BLACKONWHITE);
    return printer.printRange(this) > 0;
}

} // namespace qx
