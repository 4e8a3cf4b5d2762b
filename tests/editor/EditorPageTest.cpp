// SPDX-License-Identifier: GPL-3.0-or-later
// An editor page as assistive technologies see it: offsets counted in UTF-16 code units over
// UTF-8 and single-byte texts, the text around an offset by characters, words, sentences and
// lines, selections and edits through the interface, and the page's own events of changes and
// of the caret; the control never reports a change after it happened. Also the line-number
// margin, which follows the number of lines without those reports.

#include "editor/gui/EditorPage.h"
#include "editor/Highlighters.h"
#include "editor/gui/EditorAccessible.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace qx;
using namespace qx::test;

namespace {

struct TSeen {
    QAccessible::Event Type = QAccessible::InvalidEvent;
    int Position = -1; // where the text changed, or the caret for a cursor event
    QString Text;
    int Start = -1; // a selection
    int End = -1;
};

// Keeps what the events of a page said.
class TEventRecorder {
public:
    explicit TEventRecorder(TEditorPage& page) : m_page(page) {
        page.SetAccessibleEventSink([this](QAccessibleEvent& event) { Record(event); });
    }
    ~TEventRecorder() { m_page.SetAccessibleEventSink(nullptr); }
    TEventRecorder(const TEventRecorder&) = delete;
    TEventRecorder& operator=(const TEventRecorder&) = delete;

    std::vector<TSeen> Of(QAccessible::Event type) const {
        std::vector<TSeen> found;
        for (const TSeen& seen : m_seen) {
            if (seen.Type == type) {
                found.push_back(seen);
            }
        }
        return found;
    }
    void Clear() { m_seen.clear(); }

private:
    void Record(QAccessibleEvent& event) {
        TSeen seen;
        seen.Type = event.type();
        switch (event.type()) {
        case QAccessible::TextInserted: {
            const auto& inserted = static_cast<QAccessibleTextInsertEvent&>(event);
            seen.Position = inserted.changePosition();
            seen.Text = inserted.textInserted();
            break;
        }
        case QAccessible::TextRemoved: {
            const auto& removed = static_cast<QAccessibleTextRemoveEvent&>(event);
            seen.Position = removed.changePosition();
            seen.Text = removed.textRemoved();
            break;
        }
        case QAccessible::TextCaretMoved:
            seen.Position = static_cast<QAccessibleTextCursorEvent&>(event).cursorPosition();
            break;
        case QAccessible::TextSelectionChanged: {
            const auto& selection = static_cast<QAccessibleTextSelectionEvent&>(event);
            seen.Position = selection.cursorPosition();
            seen.Start = selection.selectionStart();
            seen.End = selection.selectionEnd();
            break;
        }
        default:
            break;
        }
        m_seen.push_back(seen);
    }

    TEditorPage& m_page;
    std::vector<TSeen> m_seen;
};

struct TRig {
    TempDir folder;
    std::unique_ptr<TEditorPage> page;

    explicit TRig(const std::string& bytes) {
        auto file = std::make_unique<TRemoteEditFile>();
        file->FileName = "notes.txt";
        page = std::make_unique<TEditorPage>(std::move(file),
                                             QFont(QStringLiteral("Monospace"), 10), nullptr);
        std::string error;
        if (!page->LoadFromFile(folder.write("notes.txt", bytes), error)) {
            throw std::runtime_error(error);
        }
        page->resize(600, 300);
        page->show();
        if (!QTest::qWaitForWindowExposed(page.get())) {
            throw std::runtime_error("the page was not shown");
        }
    }
    // The control reports its caret and selection as it paints.
    void Paint() const {
        page->repaint();
        QApplication::processEvents();
    }
    QAccessibleTextInterface* Text() const {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(page.get());
        return face != nullptr ? face->textInterface() : nullptr;
    }
    long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
        return page->SendScintilla(message, wParam, lParam);
    }
};

// "a", e acute (2 bytes), euro (3 bytes), a face outside the BMP (4 bytes, 2 UTF-16 units).
const std::string kUtf8Text = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80x\n"
                              "Zweite Zeile hier. Noch ein Satz!\n"
                              "drei\n";

// Types text as a keyboard with that key would (QTest's key clicks take ASCII only).
void Type(QWidget& widget, const QString& text) {
    const int key = text.at(0).toUpper().unicode(); // Qt's key codes of Latin-1 letters
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

} // namespace

class EditorPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offsetsCountUtf16UnitsOfAUtf8Text() {
        TRig rig(kUtf8Text);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(rig.page.get());
        QVERIFY(dynamic_cast<TEditorAccessible*>(face) != nullptr); // not the control's own
        QVERIFY(face->state().editable && face->state().multiLine);
        QAccessibleTextInterface* text = rig.Text();
        const QString expected = QString::fromUtf8(kUtf8Text.data(), kUtf8Text.size());
        QCOMPARE(text->characterCount(), expected.size());
        QCOMPARE(text->text(0, text->characterCount()), expected);
        QCOMPARE(text->text(1, 5), expected.mid(1, 4)); // up to the end of the face

        text->setCursorPosition(5);
        QCOMPARE(rig.Send(QsciScintilla::SCI_GETCURRENTPOS), 10L); // 1 + 2 + 3 + 4 bytes
        QCOMPARE(text->cursorPosition(), 5);
        rig.Send(QsciScintilla::SCI_GOTOPOS, 15); // "Zwe|ite": line 2 starts at byte 12
        QCOMPARE(text->cursorPosition(), 7 + 3);

        text->setSelection(0, 1, 3);
        QCOMPARE(rig.Send(QsciScintilla::SCI_GETSELECTIONSTART), 1L);
        QCOMPARE(rig.Send(QsciScintilla::SCI_GETSELECTIONEND), 6L);
        int start = -1;
        int end = -1;
        QCOMPARE(text->selectionCount(), 1);
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(1, 3));
        text->removeSelection(0);
        QCOMPARE(text->selectionCount(), 0);

        // The character's place on screen leads back to it.
        const QRect rect = text->characterRect(8);
        QVERIFY(rect.width() > 0 && rect.height() > 0);
        QCOMPARE(text->offsetAtPoint(rect.center()), 8);

        // Edits through the interface land on the right bytes.
        auto* edit = QAccessible::queryAccessibleInterface(rig.page.get())->editableTextInterface();
        edit->insertText(5, QStringLiteral("\u00df"));           // sharp s after the face
        edit->deleteText(1, 3);                                  // e acute and euro
        edit->replaceText(0, 1, QStringLiteral("\u20ac\u20ac")); // "a" by two euros
        QCOMPARE(QString::fromStdString(rig.page->FileContents()).left(7),
                 QStringLiteral("\u20ac\u20ac\U0001F600\u00dfx\n"));
        QCOMPARE(text->characterCount(), expected.size() + 1 - 2 + 1);
        rig.page->setReadOnly(true);
        edit->deleteText(0, 4);
        QCOMPARE(text->text(0, 2), QStringLiteral("\u20ac\u20ac"));
    }

    void aSingleByteTextCountsBytes() {
        TRig rig("caf\xe9\nna\xefve\n");
        QVERIFY(!rig.page->isUtf8());
        QAccessibleTextInterface* text = rig.Text();
        QCOMPARE(text->characterCount(), 11);
        QCOMPARE(text->text(3, 4), QStringLiteral("\u00e9"));
        text->setCursorPosition(7);
        QCOMPARE(rig.Send(QsciScintilla::SCI_GETCURRENTPOS), 7L);
        int start = -1;
        int end = -1;
        QCOMPARE(text->textAtOffset(7, QAccessible::WordBoundary, &start, &end),
                 QStringLiteral("na\u00efve"));
        QCOMPARE(std::pair(start, end), std::pair(5, 10));
    }

    // The page finds the text around an offset in the lines near it; Qt's own rules over the
    // whole text are the measure.
    void textAroundAnOffsetAgreesWithTheWholeText() {
        TRig rig(kUtf8Text +
                 "\n\n\n\nA sentence that runs\nover three\nlines. Then\nlast line without end");
        auto* face =
            dynamic_cast<TEditorAccessible*>(QAccessible::queryAccessibleInterface(rig.page.get()));
        QVERIFY(face != nullptr);
        const QAccessibleTextInterface& whole = *face;
        const int count = face->characterCount();
        for (const auto boundary :
             {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
              QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary}) {
            for (int offset = -1; offset <= count + 1; ++offset) {
                int start = 0;
                int end = 0;
                int wholeStart = 0;
                int wholeEnd = 0;
                const QByteArray context = QStringLiteral("boundary %1 offset %2")
                                               .arg(static_cast<int>(boundary))
                                               .arg(offset)
                                               .toUtf8();
                const bool atTheEnd = offset == -1 || offset == count;
                if (atTheEnd && (boundary == QAccessible::WordBoundary ||
                                 boundary == QAccessible::SentenceBoundary)) {
                    // Qt's rules never return there; the page gives what ends the text.
                    QCOMPARE(face->textAtOffset(offset, boundary, &start, &end),
                             whole.QAccessibleTextInterface::textAtOffset(count - 1, boundary,
                                                                          &wholeStart, &wholeEnd));
                } else {
                    QCOMPARE(face->textAtOffset(offset, boundary, &start, &end),
                             whole.QAccessibleTextInterface::textAtOffset(offset, boundary,
                                                                          &wholeStart, &wholeEnd));
                }
                QVERIFY2(start == wholeStart && end == wholeEnd, context.constData());
                QCOMPARE(face->textBeforeOffset(offset, boundary, &start, &end),
                         whole.QAccessibleTextInterface::textBeforeOffset(offset, boundary,
                                                                          &wholeStart, &wholeEnd));
                QVERIFY2(start == wholeStart && end == wholeEnd, context.constData());
                QCOMPARE(face->textAfterOffset(offset, boundary, &start, &end),
                         whole.QAccessibleTextInterface::textAfterOffset(offset, boundary,
                                                                         &wholeStart, &wholeEnd));
                QVERIFY2(start == wholeStart && end == wholeEnd, context.constData());
            }
        }
    }

    // The control reports a change before it happens, and after it only for the first change
    // of an undo step (which the undo limit counts): its reports after a change make it count
    // every character up to the change (for its own accessibility support), which is what
    // slowed typing at the end of a large file.
    void theControlReportsAChangeAfterItOnlyWhenAnUndoStepBegins() {
        TRig rig(kUtf8Text);
        std::vector<int> reports;
        QObject::connect(rig.page.get(), &QsciScintillaBase::SCN_MODIFIED, rig.page.get(),
                         [&reports](int, int type) { reports.push_back(type); });
        rig.Send(QsciScintilla::SCI_DOCUMENTEND);
        QTest::keyClicks(rig.page.get(), QStringLiteral("ab"));
        QTest::keyClick(rig.page.get(), Qt::Key_Return);
        QTest::keyClick(rig.page.get(), Qt::Key_Backspace);
        rig.page->undo();
        rig.page->redo();
        rig.page->SetHighlighter(THighlighter::CPP); // a new lexer, a new font
        rig.page->SetEditorFont(QFont(QStringLiteral("Monospace"), 12));
        rig.page->selectAll();
        rig.page->cut();
        rig.page->paste();
        QVERIFY(!reports.empty());
        for (const int type : reports) {
            if ((type & QsciScintilla::SC_STARTACTION) == 0) {
                QCOMPARE(type &
                             (QsciScintilla::SC_MOD_INSERTTEXT | QsciScintilla::SC_MOD_DELETETEXT),
                         0);
            }
        }
    }

    // Undo goes back 64 steps at most, by the keys and by the command; redo comes back as far.
    void undoGoesBackSixtyFourStepsAtMost() {
        TRig rig("");
        // A word typed at the start each time: one undo step each (typing where the last typing
        // ended would join it).
        const auto words = [](int first, int last) {
            QString text;
            for (int n = last; n >= first; --n) {
                text += QStringLiteral("w%1,").arg(n);
            }
            return text;
        };
        for (int n = 1; n <= 70; ++n) {
            QTest::keyClick(rig.page.get(), Qt::Key_Home, Qt::ControlModifier);
            QTest::keyClicks(rig.page.get(), QStringLiteral("w%1,").arg(n));
        }
        const QString typed = rig.page->text();
        QCOMPARE(typed, words(1, 70));
        for (int n = 0; n < 100; ++n) {
            QTest::keyClick(rig.page.get(), Qt::Key_Z, Qt::ControlModifier);
        }
        QVERIFY(!rig.page->CanUndo());
        QVERIFY(rig.page->isModified());
        const QString kept = words(1, 6);
        QCOMPARE(rig.page->text(), kept);
        rig.page->undo(); // the command keeps the limit too
        QCOMPARE(rig.page->text(), kept);
        for (int n = 0; n < 100; ++n) {
            QTest::keyClick(rig.page.get(), Qt::Key_Y, Qt::ControlModifier);
        }
        QCOMPARE(rig.page->text(), typed);
        QVERIFY(!rig.page->CanRedo());
        QVERIFY(rig.page->CanUndo());
    }

    void changesAndTheCaretAreToldToAssistiveTechnologies() {
        TRig rig(kUtf8Text);
        rig.Send(QsciScintilla::SCI_DOCUMENTEND);
        rig.Paint();
        TEventRecorder events(*rig.page);
        const int before = rig.Text()->characterCount();
        Type(*rig.page, QStringLiteral("\u00fc"));
        rig.Paint();
        const auto inserted = events.Of(QAccessible::TextInserted);
        QCOMPARE(inserted.size(), std::size_t{1});
        QCOMPARE(inserted[0].Position, before);
        QCOMPARE(inserted[0].Text, QStringLiteral("\u00fc"));
        QVERIFY(!events.Of(QAccessible::TextCaretMoved).empty());
        QCOMPARE(events.Of(QAccessible::TextCaretMoved).back().Position, before + 1);

        events.Clear();
        rig.Send(QsciScintilla::SCI_GOTOPOS, 10); // after the face
        QTest::keyClick(rig.page.get(), Qt::Key_Backspace);
        rig.Paint();
        const auto removed = events.Of(QAccessible::TextRemoved);
        QCOMPARE(removed.size(), std::size_t{1});
        QCOMPARE(removed[0].Position, 3);
        QCOMPARE(removed[0].Text, QStringLiteral("\U0001F600"));
        QCOMPARE(events.Of(QAccessible::TextCaretMoved).back().Position, 3);

        events.Clear();
        rig.Send(QsciScintilla::SCI_SETSEL, 1, 6); // e acute and euro
        rig.Paint();
        const auto selected = events.Of(QAccessible::TextSelectionChanged);
        QCOMPARE(selected.size(), std::size_t{1});
        QCOMPARE(std::pair(selected[0].Start, selected[0].End), std::pair(1, 3));
        QCOMPARE(selected[0].Position, 3);
        QVERIFY(events.Of(QAccessible::TextCaretMoved).empty());

        // Clearing the selection is a change of it too.
        events.Clear();
        rig.Send(QsciScintilla::SCI_GOTOPOS, 0);
        rig.Paint();
        const auto cleared = events.Of(QAccessible::TextSelectionChanged);
        QCOMPARE(cleared.size(), std::size_t{1});
        QCOMPARE(std::pair(cleared[0].Start, cleared[0].End), std::pair(0, 0));
    }

    void theLineNumberMarginWidensWithTheLines() {
        TRig rig(std::string(998, '\n'));
        rig.Paint();
        const long narrow = rig.Send(QsciScintilla::SCI_GETMARGINWIDTHN, 0);
        rig.Send(QsciScintilla::SCI_DOCUMENTEND);
        QTest::keyClick(rig.page.get(), Qt::Key_Return);
        QTest::keyClick(rig.page.get(), Qt::Key_Return);
        rig.Paint();
        QCOMPARE(rig.page->lines(), 1001);
        QTRY_VERIFY(rig.Send(QsciScintilla::SCI_GETMARGINWIDTHN, 0) > narrow);
    }
};

QTEST_MAIN(EditorPageTest)
#include "EditorPageTest.moc"
