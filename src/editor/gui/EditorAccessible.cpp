// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/EditorAccessible.h"

#include "editor/gui/EditorPage.h"

#include <algorithm>
#include <utility>

namespace qx {

namespace {

// Some lines of the text as a text of their own: Qt's rules for characters, words, sentences
// and lines run over them rather than over the whole text, which they would copy first. The
// rules read the text and its length only.
class TTextWindow final : public QAccessibleTextInterface {
public:
    explicit TTextWindow(QString text) : m_text(std::move(text)) {}

    QString text(int startOffset, int endOffset) const override {
        return m_text.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(m_text.size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString m_text;
};

enum class TSide { Before, At, After };

QString TextNear(const TEditorPage& page, const QAccessibleTextInterface& whole, TSide side,
                 int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                 int* endOffset) {
    *startOffset = *endOffset = -1;
    const long count = page.TextOffsetCount();
    if (offset == -1) {
        offset = static_cast<int>(count);
    }
    if (offset < 0 || offset > count) {
        return {};
    }
    if (side == TSide::At && offset == count && count > 0 &&
        (boundaryType == QAccessible::WordBoundary ||
         boundaryType == QAccessible::SentenceBoundary)) {
        // Qt's rules loop forever there (Qt 6.4); the word or sentence that ends the text.
        --offset;
    }
    const auto ask = [side, boundaryType](const QAccessibleTextInterface& text, int at, int* start,
                                          int* end) {
        switch (side) {
        case TSide::Before:
            return text.QAccessibleTextInterface::textBeforeOffset(at, boundaryType, start, end);
        case TSide::At:
            return text.QAccessibleTextInterface::textAtOffset(at, boundaryType, start, end);
        case TSide::After:
            break;
        }
        return text.QAccessibleTextInterface::textAfterOffset(at, boundaryType, start, end);
    };
    if (boundaryType == QAccessible::NoBoundary) {
        return ask(whole, offset, startOffset, endOffset); // the whole text, as asked
    }
    // The lines around the offset, more of them while the answer reaches an end of those
    // that are not an end of the text (empty lines before the next word, a long sentence).
    const long line =
        page.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, page.TextPosition(offset));
    const long lines = page.lines();
    for (long span = 1;; span *= 2) {
        const long first = std::max(0L, line - span);
        const long last = std::min(lines - 1, line + span);
        const long from = page.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, first);
        const long to = last + 1 < lines
                            ? page.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, last + 1)
                            : page.SendScintilla(QsciScintilla::SCI_GETLENGTH);
        const int base = static_cast<int>(page.TextOffset(from));
        const TTextWindow window(page.text(static_cast<int>(from), static_cast<int>(to)));
        QString found = ask(window, offset - base, startOffset, endOffset);
        const bool wholeText = first == 0 && last == lines - 1;
        const bool reachesAnEnd = *startOffset < 0 || (*startOffset == 0 && first > 0) ||
                                  (*endOffset == window.characterCount() && last < lines - 1);
        if (wholeText || !reachesAnEnd) {
            if (*startOffset >= 0) {
                *startOffset += base;
                *endOffset += base;
            }
            return found;
        }
    }
}

QAccessibleInterface* CreateEditorAccessible(const QString& className, QObject* object) {
    // Qt asks for the most derived class first, so this comes before the control's own.
    if (className == QLatin1String(TEditorPage::staticMetaObject.className())) {
        if (auto* page = qobject_cast<TEditorPage*>(object)) {
            return new TEditorAccessible(page); // Qt's accessibility keeps and deletes it
        }
    }
    return nullptr;
}

} // namespace

TEditorAccessible::TEditorAccessible(TEditorPage* page)
    : QAccessibleWidget(page, QAccessible::EditableText) {}

TEditorPage* TEditorAccessible::Page() const {
    return static_cast<TEditorPage*>(widget());
}

bool TEditorAccessible::Editable() const {
    return !Page()->isReadOnly();
}

void* TEditorAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TEditorAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = Editable();
    state.readOnly = !Editable();
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void TEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !Page()->hasSelectedText()) {
        return;
    }
    *startOffset = static_cast<int>(
        Page()->TextOffset(Page()->SendScintilla(QsciScintilla::SCI_GETSELECTIONSTART)));
    *endOffset = static_cast<int>(
        Page()->TextOffset(Page()->SendScintilla(QsciScintilla::SCI_GETSELECTIONEND)));
}

int TEditorAccessible::selectionCount() const {
    return Page()->hasSelectedText() ? 1 : 0;
}

void TEditorAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset); // the control keeps one selection here
}

void TEditorAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        Page()->SendScintilla(QsciScintilla::SCI_SETEMPTYSELECTION,
                              Page()->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS));
    }
}

void TEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        Page()->SendScintilla(QsciScintilla::SCI_SETSEL,
                              static_cast<unsigned long>(Page()->TextPosition(startOffset)),
                              Page()->TextPosition(endOffset));
    }
}

int TEditorAccessible::cursorPosition() const {
    return static_cast<int>(
        Page()->TextOffset(Page()->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS)));
}

void TEditorAccessible::setCursorPosition(int position) {
    Page()->SendScintilla(QsciScintilla::SCI_GOTOPOS,
                          static_cast<unsigned long>(Page()->TextPosition(position)));
}

QString TEditorAccessible::text(int startOffset, int endOffset) const {
    const long from = Page()->TextPosition(std::min(startOffset, endOffset));
    const long to = Page()->TextPosition(std::max(startOffset, endOffset));
    return from < to ? Page()->text(static_cast<int>(from), static_cast<int>(to)) : QString();
}

QString TEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    return TextNear(*Page(), *this, TSide::Before, offset, boundaryType, startOffset, endOffset);
}

QString TEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
    return TextNear(*Page(), *this, TSide::After, offset, boundaryType, startOffset, endOffset);
}

QString TEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    return TextNear(*Page(), *this, TSide::At, offset, boundaryType, startOffset, endOffset);
}

int TEditorAccessible::characterCount() const {
    return static_cast<int>(Page()->TextOffsetCount());
}

QRect TEditorAccessible::characterRect(int offset) const {
    TEditorPage* page = Page();
    const long position = page->TextPosition(offset);
    const auto x =
        static_cast<int>(page->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, position));
    const auto y =
        static_cast<int>(page->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0UL, position));
    const long line = page->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, position);
    const auto height = static_cast<int>(page->SendScintilla(QsciScintilla::SCI_TEXTHEIGHT, line));
    const long next = page->SendScintilla(QsciScintilla::SCI_POSITIONAFTER, position);
    int width = 1; // the end of a line
    if (next > position && page->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, next) == line) {
        width = std::max(1, static_cast<int>(page->SendScintilla(
                                QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, next)) -
                                x);
    }
    return {page->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height)};
}

int TEditorAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = Page()->viewport()->mapFromGlobal(point);
    const long position =
        Page()->SendScintilla(QsciScintilla::SCI_POSITIONFROMPOINTCLOSE,
                              static_cast<unsigned long>(local.x()), static_cast<long>(local.y()));
    return position < 0 ? -1 : static_cast<int>(Page()->TextOffset(position));
}

void TEditorAccessible::scrollToSubstring(int startIndex, int endIndex) {
    Page()->SendScintilla(QsciScintilla::SCI_SCROLLRANGE,
                          static_cast<unsigned long>(Page()->TextPosition(endIndex)),
                          Page()->TextPosition(startIndex));
}

QString TEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset; // no attributes are reported
    return {};
}

void TEditorAccessible::deleteText(int startOffset, int endOffset) {
    if (!Editable()) {
        return;
    }
    const long from = Page()->TextPosition(std::min(startOffset, endOffset));
    const long to = Page()->TextPosition(std::max(startOffset, endOffset));
    Page()->SendScintilla(QsciScintilla::SCI_DELETERANGE, static_cast<unsigned long>(from),
                          to - from);
}

void TEditorAccessible::insertText(int offset, const QString& text) {
    if (!Editable()) {
        return;
    }
    const QByteArray bytes = Page()->isUtf8() ? text.toUtf8() : text.toLatin1();
    Page()->SendScintilla(QsciScintilla::SCI_INSERTTEXT,
                          static_cast<uintptr_t>(Page()->TextPosition(offset)), bytes.constData());
}

void TEditorAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    if (!Editable()) {
        return;
    }
    const QByteArray bytes = Page()->isUtf8() ? text.toUtf8() : text.toLatin1();
    Page()->SendScintilla(
        QsciScintilla::SCI_SETTARGETRANGE,
        static_cast<unsigned long>(Page()->TextPosition(std::min(startOffset, endOffset))),
        Page()->TextPosition(std::max(startOffset, endOffset)));
    Page()->SendScintilla(QsciScintilla::SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()),
                          bytes.constData());
}

void InstallEditorAccessibleFactory() {
    QAccessible::installFactory(&CreateEditorAccessible);
}

} // namespace qx
