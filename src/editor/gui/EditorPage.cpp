// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/EditorPage.h"

#include "editor/gui/EditorAccessible.h"
#include "editor/gui/EditorLexers.h"
#include "editor/gui/EditorPrinter.h"

#include <QAccessible>
#include <QKeyEvent>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace qx {

namespace {

constexpr int kLineNumberMargin = 0;
constexpr int kBookmarkMargin = 1;
constexpr unsigned kBookmarkMask = (1u << kBookmarkCount) - 1;
// The only reports of changes the page asks for (see the class comment), and the report of
// the first change of each undo step (which counts the steps).
constexpr long kModificationEvents = QsciScintilla::SC_MOD_BEFOREINSERT |
                                     QsciScintilla::SC_MOD_BEFOREDELETE |
                                     QsciScintilla::SC_STARTACTION;

// Room for typing beyond the loaded text: the text's buffers grow by copying all of them,
// which takes tens of milliseconds for a large file, so one key press should not be the first
// to need more.
std::size_t TypingRoom(std::size_t textSize) {
    return std::max<std::size_t>(64 * 1024, textSize / 8);
}

} // namespace

TEditorPage::TEditorPage(std::unique_ptr<TRemoteEditFile> file, const QFont& font, QWidget* parent)
    : QsciScintilla(parent), m_file(std::move(file)) {
    InstallEditorAccessibleFactory(); // before anything asks for the page's interface
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
    // Undo and redo by key go through undo() and redo(), which keep the limit.
    for (const auto& [command, keys] :
         {std::pair{QsciCommand::Undo, m_undoKeys}, std::pair{QsciCommand::Redo, m_redoKeys}}) {
        if (QsciCommand* bound = standardCommands()->find(command)) {
            keys[0] = QKeySequence(bound->key());
            keys[1] = QKeySequence(bound->alternateKey());
            bound->setKey(0);
            bound->setAlternateKey(0);
        }
    }
    SendScintilla(SCI_SETMODEVENTMASK, kModificationEvents);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length) {
                TextAboutToChange(position, type, length);
            });
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &TEditorPage::UiUpdated);
}

bool TEditorPage::LoadFromFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        error = tr("the file could not be read").toStdString();
        return false;
    }
    m_encoding = DecideEncoding(bytes);
    const std::string_view text = EditedText(bytes, m_encoding);
    setUtf8(m_encoding.Utf8);
    setEolMode(m_encoding.LineEnd == TLineEnd::CRLF ? EolWindows
               : m_encoding.LineEnd == TLineEnd::CR ? EolMac
                                                    : EolUnix);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    SendScintilla(SCI_SETMODEVENTMASK, 0L); // the loaded text is no change to report
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(text.size() + TypingRoom(text.size())));
    if (AccessibilityWatched()) {
        EnsureOffsetIndex();
    }
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    SendScintilla(SCI_SETMODEVENTMASK, kModificationEvents);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    m_undoSteps = m_redoSteps = 0;
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
        error =
            errno != 0 ? std::strerror(errno) : tr("the file could not be written").toStdString();
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

void TEditorPage::TextAboutToChange(int position, int type, int length) {
    ReportInsertion(); // the change before this one is done
    if ((type & SC_STARTACTION) != 0 && (type & SC_PERFORMED_USER) != 0) {
        m_undoSteps = std::min(m_undoSteps + 1, kUndoLimit);
        m_redoSteps = 0; // a new step drops what could be redone
        return;          // the report after the change: nothing more to tell of it
    }
    if (!AccessibilityWatched() || length <= 0) {
        return;
    }
    if ((type & SC_MOD_BEFOREINSERT) != 0) {
        // The report before an insertion does not carry the text; it is told once it is there.
        m_pendingInsertPosition = position;
        m_pendingInsertLength = length;
    } else if ((type & SC_MOD_BEFOREDELETE) != 0) {
        QAccessibleTextRemoveEvent event(this, static_cast<int>(TextOffset(position)),
                                         QsciScintilla::text(position, position + length));
        SendAccessibleEvent(event);
    }
}

void TEditorPage::ReportInsertion() {
    const long position = std::exchange(m_pendingInsertPosition, -1);
    if (position < 0 || !AccessibilityWatched()) {
        return;
    }
    const auto end =
        static_cast<int>(std::min(position + m_pendingInsertLength, SendScintilla(SCI_GETLENGTH)));
    QAccessibleTextInsertEvent event(this, static_cast<int>(TextOffset(position)),
                                     QsciScintilla::text(static_cast<int>(position), end));
    SendAccessibleEvent(event);
}

void TEditorPage::UiUpdated() {
    FitLineNumberMargin();
    ReportInsertion();
    if (!AccessibilityWatched()) {
        m_reportedCursor = m_reportedAnchor = -1;
        return;
    }
    const long cursor = TextOffset(SendScintilla(SCI_GETCURRENTPOS));
    const long anchor = TextOffset(SendScintilla(SCI_GETANCHOR));
    const bool selecting = anchor != cursor;
    const bool wasSelecting = m_reportedAnchor != m_reportedCursor;
    const bool moved = anchor != m_reportedAnchor || cursor != m_reportedCursor;
    if ((selecting || wasSelecting) && moved) {
        QAccessibleTextSelectionEvent event(this, static_cast<int>(std::min(anchor, cursor)),
                                            static_cast<int>(std::max(anchor, cursor)));
        event.setCursorPosition(static_cast<int>(cursor));
        SendAccessibleEvent(event);
    } else if (cursor != m_reportedCursor) {
        QAccessibleTextCursorEvent event(this, static_cast<int>(cursor));
        SendAccessibleEvent(event);
    }
    m_reportedCursor = cursor;
    m_reportedAnchor = anchor;
}

bool TEditorPage::AccessibilityWatched() const {
    return m_accessibleSink != nullptr || QAccessible::isActive();
}

void TEditorPage::SendAccessibleEvent(QAccessibleEvent& event) const {
    if (m_accessibleSink != nullptr) {
        m_accessibleSink(event);
    } else {
        QAccessible::updateAccessibility(&event);
    }
}

long TEditorPage::TextOffset(long position) const {
    const long length = SendScintilla(SCI_GETLENGTH);
    position = std::clamp(position, 0L, length);
    if (!isUtf8()) {
        return position; // a byte is a character
    }
    EnsureOffsetIndex();
    const long line = SendScintilla(SCI_LINEFROMPOSITION, position);
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    return SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, SC_LINECHARACTERINDEX_UTF16) +
           SendScintilla(SCI_COUNTCODEUNITS, lineStart, position);
}

void TEditorPage::EnsureOffsetIndex() const {
    // Kept up to date by the control with every change once it is there; building it for a
    // large text takes a while, so it is built when first needed, or with the text while a
    // screen reader listens.
    if (isUtf8() && (SendScintilla(SCI_GETLINECHARACTERINDEX) & SC_LINECHARACTERINDEX_UTF16) == 0) {
        SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, SC_LINECHARACTERINDEX_UTF16);
    }
}

long TEditorPage::TextPosition(long offset) const {
    const long count = TextOffsetCount(); // also builds the index
    offset = std::clamp(offset, 0L, count);
    if (!isUtf8()) {
        return offset;
    }
    if (offset == count) {
        return SendScintilla(SCI_GETLENGTH);
    }
    const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, offset, SC_LINECHARACTERINDEX_UTF16);
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long rest =
        offset - SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, SC_LINECHARACTERINDEX_UTF16);
    return SendScintilla(SCI_POSITIONRELATIVECODEUNITS, lineStart, rest);
}

long TEditorPage::TextOffsetCount() const {
    return TextOffset(SendScintilla(SCI_GETLENGTH));
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

void TEditorPage::undo() {
    if (m_undoSteps > 0 && isUndoAvailable()) {
        QsciScintilla::undo();
        --m_undoSteps;
        ++m_redoSteps;
    }
}

void TEditorPage::redo() {
    if (m_redoSteps > 0 && isRedoAvailable()) {
        QsciScintilla::redo();
        --m_redoSteps;
        ++m_undoSteps;
    }
}

void TEditorPage::keyPressEvent(QKeyEvent* event) {
    const QKeySequence pressed(event->keyCombination());
    const auto boundTo = [&pressed](const QKeySequence(&keys)[2]) {
        return std::any_of(std::begin(keys), std::end(keys), [&pressed](const QKeySequence& key) {
            return !key.isEmpty() && key == pressed;
        });
    };
    if (boundTo(m_undoKeys)) {
        undo();
    } else if (boundTo(m_redoKeys)) {
        redo();
    } else {
        QsciScintilla::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TEditorPage::PrintTo(TEditorPrinter& printer) {
    SendScintilla(SCI_SETPRINTCOLOURMODE,
                  m_highlighter != THighlighter::None ? SC_PRINT_NORMAL : SC_PRINT_BLACKONWHITE);
    return printer.printRange(this) > 0;
}

} // namespace qx
