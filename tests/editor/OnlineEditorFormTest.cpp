// SPDX-License-Identifier: GPL-3.0-or-later
// The online editor window on the offscreen platform: opening pages with their highlighters,
// caption and status bar; bookmarks; find, search again and replace with its questions; go to
// a line; closing a modified page; the log's line limit; saving a local copy byte for byte;
// printing to PDF; the settings.

#include "editor/gui/OnlineEditorForm.h"
#include "editor/OnlineEditorSettings.h"
#include "editor/WordTokenizer.h"
#include "editor/gui/EditorLogPanel.h"
#include "editor/gui/EditorPage.h"
#include "editor/gui/EditorPrinter.h"
#include "editor/gui/FindReplaceForm.h"
#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "support/TempDir.h"
#include "widgets/ActionList.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

using namespace qx;
using namespace qx::test;

namespace {

struct Rig {
    TempDir folder;
    TConfigStore store{folder.path() / "settings.conf"};
    TGlobalOptions options{store};
    QtUiThread ui;
    std::vector<std::string> sounds;
    std::unique_ptr<TOnlineEditorForm> form;
    std::vector<QString> messages;

    Rig() {
        form = std::make_unique<TOnlineEditorForm>(TOnlineEditorContext{
            ui, options, store, [this](const std::string& file) { sounds.push_back(file); }});
        TOnlineEditorPrompts& prompts = form->Prompts();
        prompts.Inform = [this](const QString&, const QString& text) { messages.push_back(text); };
        prompts.Error = prompts.Inform;
        prompts.ConfirmUpdate = [](const QString&) -> bool {
            throw std::logic_error("unexpected question");
        };
    }
    ~Rig() {
        form->Prompts().ConfirmUpdate = [](const QString&) { return false; };
        form.reset();
    }
    // Opens a file as the remote explorer hands it over after its download.
    TEditorPage* Open(const std::string& name, const std::string& bytes,
                      const std::string& folderName = "/www/") {
        auto file = std::make_unique<TRemoteEditFile>();
        file->HostName = "127.0.0.1";
        file->Port = "21";
        file->UserName = "user";
        file->HostDirName = folderName;
        file->FileName = name;
        file->LocalFileName = folder.write("download-" + name, bytes);
        form->OpenRemoteFile(std::move(file));
        return form->ActivePage();
    }
    QAction* Action(const char* name) const {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
};

void MoveCaret(TEditorPage& page, int line, int index) {
    page.setCursorPosition(line, index);
}

} // namespace

class OnlineEditorFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagesGetTheirHighlighterCaptionAndStatus() {
        Rig rig;
        rig.form->show(); // the editor reports the caret as it paints
        QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
        QCOMPARE(rig.form->windowTitle(), QStringLiteral("Pellucor's Online Editor "));
        QVERIFY(rig.form->StatusText(0).isEmpty());
        TEditorPage* html = rig.Open("INDEX.HTM", "<html>\n<body>x</body>\n</html>\n");
        QVERIFY(html != nullptr);
        QCOMPARE(html->Highlighter(), THighlighter::HTML);
        QVERIFY(html->lexer() != nullptr);
        QCOMPARE(html->text(), QStringLiteral("<html>\n<body>x</body>\n</html>\n"));
        QVERIFY(!std::filesystem::exists(rig.folder.path() / "download-INDEX.HTM"));
        QCOMPARE(rig.form->windowTitle(),
                 QStringLiteral("Pellucor's Online Editor [127.0.0.1/www/INDEX.HTM]"));
        QCOMPARE(rig.form->StatusText(0), QStringLiteral("  1:   1"));
        QCOMPARE(rig.form->StatusText(1), QString());
        QCOMPARE(rig.form->StatusText(2), QStringLiteral("Insert"));

        TEditorPage* make = rig.Open("Makefile", "all:\n\techo hi\n", "/src/");
        QCOMPARE(make->Highlighter(), THighlighter::None);
        QVERIFY(make->lexer() == nullptr);
        QCOMPARE(rig.form->PageCount(), 2);
        QCOMPARE(rig.form->CaptionText(), QStringLiteral("[127.0.0.1/src/Makefile]"));
        auto* tabs = rig.form->findChild<QTabWidget*>(QStringLiteral("EditorPageControl"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Makefile"));

        MoveCaret(*make, 1, 1);  // after the tab: column 5
        make->insert(QString()); // a notification
        QTRY_COMPARE(rig.form->StatusText(0), QStringLiteral("  2:   5"));
        make->insert(QStringLiteral("x"));
        QCOMPARE(rig.form->StatusText(1), QStringLiteral("Modified"));
        make->setOverwriteMode(true);
        make->SendScintilla(QsciScintilla::SCI_SETCURRENTPOS, 0L); // a notification
        QTRY_COMPARE(rig.form->StatusText(2), QStringLiteral("Overwrite"));

        // A highlighter chosen by hand, and none again; the actions show which is in use.
        rig.form->Actions().UpdateAll();
        rig.Action("ViewHighlighterAWKAction")->trigger();
        QCOMPARE(make->Highlighter(), THighlighter::AWK);
        rig.form->Actions().UpdateAll();
        QVERIFY(rig.Action("ViewHighlighterAWKAction")->isChecked());
        QVERIFY(!rig.Action("ViewHighlighterDoNotUseAction")->isChecked());
        rig.Action("ViewHighlighterDoNotUseAction")->trigger();
        QVERIFY(make->lexer() == nullptr);

        rig.form->SetActivePage(0);
        QCOMPARE(rig.form->CaptionText(), QStringLiteral("[127.0.0.1/www/INDEX.HTM]"));
        // A page that is not modified closes without a question; the other one is left.
        QVERIFY(rig.form->FileCloseActionExecute());
        QCOMPARE(rig.form->PageCount(), 1);
        QCOMPARE(rig.form->CaptionText(), QStringLiteral("[127.0.0.1/src/Makefile]"));
    }

    void ourAwkAndDmlHighlightersStyleAndFollowBlockComments() {
        Rig rig;
        const auto styleAt = [](TEditorPage& page, long position) {
            page.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
            return static_cast<TTokenStyle>(
                page.SendScintilla(QsciScintilla::SCI_GETSTYLEAT, position));
        };
        TEditorPage* awk = rig.Open("sum.awk", "BEGIN { n = 42 } # total\n{ print \"x\" }\n");
        QCOMPARE(awk->Highlighter(), THighlighter::AWK);
        QCOMPARE(QString::fromLatin1(awk->lexer()->language()), QStringLiteral("AWK"));
        QCOMPARE(styleAt(*awk, 0), TTokenStyle::Keyword);  // BEGIN
        QCOMPARE(styleAt(*awk, 12), TTokenStyle::Number);  // 42
        QCOMPARE(styleAt(*awk, 19), TTokenStyle::Comment); // # total
        QCOMPARE(styleAt(*awk, 27), TTokenStyle::Keyword); // print
        QCOMPARE(styleAt(*awk, 34), TTokenStyle::String);  // "x"

        TEditorPage* dml = rig.Open("load.dml", "select a\nfrom t\nwhere b = 'x'\n");
        QCOMPARE(dml->Highlighter(), THighlighter::DML);
        QCOMPARE(styleAt(*dml, 9), TTokenStyle::Keyword); // from
        // Opening a block comment on the first line comments out the lines below it, and
        // closing it gives them back their styles.
        dml->setCursorPosition(0, 0);
        dml->insert(QStringLiteral("/* "));
        QCOMPARE(styleAt(*dml, 12), TTokenStyle::Comment); // "from", now in the comment
        QCOMPARE(styleAt(*dml, 20), TTokenStyle::Comment); // "where"
        dml->setCursorPosition(1, 0);
        dml->insert(QStringLiteral("*/ "));
        QCOMPARE(styleAt(*dml, 15), TTokenStyle::Keyword); // "from" after the comment
        QCOMPARE(styleAt(*dml, 23), TTokenStyle::Keyword); // "where"
        QCOMPARE(styleAt(*dml, 3), TTokenStyle::Comment);  // "select", still in it
    }

    void theFindDialogStartsFromTheStoredOptions() {
        TSearchOptions options;
        options.CaseSensitive = true;
        options.Backward = true;
        options.SelectedTextOnly = true;
        options.PromptOnReplace = false;
        TFindReplaceForm replace(TFindReplaceForm::Replace, {"b", "a"}, {"y"}, options, nullptr);
        QCOMPARE(replace.windowTitle(), QStringLiteral("[Replace Text]"));
        QCOMPARE(replace.FindText(), QStringLiteral("b")); // the most recent entry
        QCOMPARE(replace.ReplaceText(), QStringLiteral("y"));
        const TSearchChoice choice = replace.Choice();
        QVERIFY(choice.CaseSensitive && choice.Backward && choice.SelectedTextOnly);
        QVERIFY(!choice.WholeWordsOnly && !choice.EntireScope && !choice.PromptOnReplace);
        QVERIFY(replace.OkButton()->isEnabled() && replace.ReplaceAllButton()->isEnabled());
        replace.SetFindText(QString());
        QVERIFY(!replace.OkButton()->isEnabled() && !replace.ReplaceAllButton()->isEnabled());
        auto* combo = replace.findChild<QComboBox*>(QStringLiteral("FindTextComboBox"));
        QCOMPARE(combo->count(), 2);

        TFindReplaceForm find(TFindReplaceForm::Find, {}, {}, TSearchOptions{}, nullptr);
        QVERIFY(find.ReplaceAllButton() == nullptr);
        QVERIFY(find.findChild<QComboBox*>(QStringLiteral("ReplaceTextComboBox")) == nullptr);
        QVERIFY(find.FindText().isEmpty());
        QVERIFY(!find.OkButton()->isEnabled());
        const TSearchChoice first = find.Choice(); // the first of each pair
        QVERIFY(!first.Backward && !first.SelectedTextOnly && !first.EntireScope);
    }

    void replaceInTheSelectionOnly() {
        Rig rig;
        rig.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
        TEditorPage* page = rig.Open("sel.txt", "x x\nx x\nx x\n");
        page->setSelection(1, 0, 1, 3);
        rig.form->Prompts().RunFindReplace = [](TFindReplaceForm& dialog) {
            dialog.SetFindText(QStringLiteral("x"));
            dialog.SetReplaceText(QStringLiteral("y"));
            for (auto* button : dialog.findChildren<QAbstractButton*>()) {
                if (button->text() == QStringLiteral("&Selected text") ||
                    button->text() == QStringLiteral("&Prompt on replace")) {
                    button->click();
                }
            }
            return TFindReplaceForm::ReplaceAllResult;
        };
        rig.form->SearchReplaceActionExecute();
        QCOMPARE(page->text(), QStringLiteral("x x\ny y\nx x\n"));
        QVERIFY(rig.messages.empty());
    }

    void aFileThatCannotBeReadOpensNothing() {
        Rig rig;
        auto file = std::make_unique<TRemoteEditFile>();
        file->FileName = "gone.txt";
        file->LocalFileName = (rig.folder.path() / "missing").string();
        rig.form->OpenRemoteFile(std::move(file));
        QCOMPARE(rig.form->PageCount(), 0);
        QCOMPARE(rig.messages.size(), std::size_t{1});
        QVERIFY(rig.messages[0].startsWith(QStringLiteral("Cannot open [gone.txt]")));
    }

    void aFileBeyondTheLimitIsRefused() {
        Rig rig;
        const std::string big = rig.folder.file("big.txt");
        std::filesystem::resize_file(rig.folder.write("big.txt", ""), kMaxOnlineEditFileSize + 1);
        auto file = std::make_unique<TRemoteEditFile>();
        file->FileName = "big.txt";
        file->LocalFileName = big;
        rig.form->OpenRemoteFile(std::move(file));
        QCOMPARE(rig.form->PageCount(), 0);
        QCOMPARE(rig.messages.size(), std::size_t{1});
        QVERIFY(rig.messages[0].contains(QStringLiteral("too large")));
        QVERIFY(!std::filesystem::exists(big));
    }

    void aLocalFileThatCannotBeWrittenStartsNoSession() {
        Rig rig;
        auto file = std::make_unique<TRemoteEditFile>();
        file->HostName = "127.0.0.1";
        file->FileName = "w.txt";
        file->LocalFileName = rig.folder.write("sub/w.txt", "text\n");
        rig.form->OpenRemoteFile(std::move(file));
        TEditorPage* page = rig.form->ActivePage();
        QVERIFY(page != nullptr);
        page->insert(QStringLiteral("more "));
        std::filesystem::remove_all(rig.folder.path() / "sub");
        rig.form->FileUpdateActionExecute();
        QVERIFY(!rig.form->WriteBackRunning());
        QVERIFY(!rig.form->FTPClient().Busy());
        QVERIFY(page->isModified());
        QCOMPARE(rig.messages.size(), std::size_t{1});
        QVERIFY(rig.messages[0].startsWith(QStringLiteral("Cannot write the local file")));
        QCOMPARE(rig.sounds, std::vector<std::string>{rig.options.ErrorWav});
    }

    void closingAModifiedPageWithNoDiscardsItWithoutTheServer() {
        Rig rig;
        TEditorPage* page = rig.Open("a.txt", "one\n");
        page->insert(QStringLiteral("changed "));
        QString asked;
        rig.form->Prompts().ConfirmUpdate = [&](const QString& text) {
            asked = text;
            return false;
        };
        QVERIFY(rig.form->FileCloseActionExecute());
        QCOMPARE(asked, QStringLiteral("[127.0.0.1/www/a.txt] has been changed. Update?"));
        QCOMPARE(rig.form->PageCount(), 0);
        QCOMPARE(rig.form->LogPanel().LineCount(), 0); // no session was started
        QVERIFY(rig.sounds.empty());
        QCOMPARE(rig.form->windowTitle(), QStringLiteral("Pellucor's Online Editor "));
    }

    void bookmarksToggleMoveAndFollowTheText() {
        Rig rig;
        TEditorPage* page = rig.Open("b.txt", "l1\nline two\nl3\nl4\nl5\n");
        MoveCaret(*page, 1, 3);
        page->ToggleBookmark(3);
        QCOMPARE(page->BookmarkLine(3), std::optional<int>(1));
        page->ToggleBookmark(3); // on its own line: removed
        QVERIFY(!page->BookmarkLine(3));
        page->ToggleBookmark(3);
        MoveCaret(*page, 3, 0);
        page->ToggleBookmark(3); // on another line: moved there
        QCOMPARE(page->BookmarkLine(3), std::optional<int>(3));
        MoveCaret(*page, 1, 5);
        page->ToggleBookmark(7);
        rig.form->Actions().UpdateAll();
        QVERIFY(rig.Action("SearchToggleBookmark3Action")->isChecked());
        QVERIFY(!rig.Action("SearchToggleBookmark0Action")->isChecked());
        QVERIFY(rig.Action("SearchGotoBookmark7Action")->isEnabled());
        QVERIFY(!rig.Action("SearchGotoBookmark0Action")->isEnabled());

        // Lines inserted above move the bookmarks with their lines.
        MoveCaret(*page, 0, 0);
        page->insert(QStringLiteral("new\nnew\n"));
        QCOMPARE(page->BookmarkLine(3), std::optional<int>(5));
        page->GoToBookmark(7);
        QCOMPARE(page->CaretLine(), 4);
        QCOMPARE(page->CaretColumn(), 6);
        rig.Action("SearchGotoBookmark3Action")->trigger();
        QCOMPARE(page->CaretLine(), 6);
        QCOMPARE(page->CaretColumn(), 1);
    }

    void findSearchAgainAndReplaceWithTheirQuestions() {
        Rig rig;
        rig.form->show();
        TEditorPage* page = rig.Open("s.txt", "cat dog cat\nCat cat\n");
        QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
        // Search Again with an empty history opens the find dialog.
        QString dialogTitle;
        bool replaceShown = true;
        bool okWithoutText = true;
        bool okWithText = false;
        rig.form->Prompts().RunFindReplace = [&](TFindReplaceForm& dialog) {
            dialogTitle = dialog.windowTitle();
            replaceShown = dialog.ReplaceAllButton() != nullptr;
            okWithoutText = dialog.OkButton()->isEnabled();
            dialog.SetFindText(QStringLiteral("cat"));
            okWithText = dialog.OkButton()->isEnabled();
            return int(QDialog::Accepted);
        };
        rig.form->SearchSearchAgainActionExecute();
        QCOMPARE(dialogTitle, QStringLiteral("[Find Text]"));
        QVERIFY(!replaceShown);
        QVERIFY(!okWithoutText);
        QVERIFY(okWithText);
        QCOMPARE(rig.form->FindHistory().Items(), std::vector<std::string>{"cat"});
        QCOMPARE(page->selectedText(), QStringLiteral("cat"));
        int line = 0;
        int index = 0;
        page->getCursorPosition(&line, &index);
        QCOMPARE(index, 3);
        rig.form->SearchSearchAgainActionExecute(); // from the caret: the second one
        page->getCursorPosition(&line, &index);
        QCOMPARE(index, 11);
        rig.form->SearchSearchAgainActionExecute(); // case insensitive: "Cat" on line 2
        page->getCursorPosition(&line, &index);
        QCOMPARE(line, 1);
        QCOMPARE(index, 3);

        rig.form->Prompts().RunFindReplace = [](TFindReplaceForm& dialog) {
            dialog.SetFindText(QStringLiteral("zebra"));
            return int(QDialog::Accepted);
        };
        rig.form->SearchFindActionExecute();
        QCOMPARE(rig.messages.back(), QStringLiteral("Search string 'zebra' not found"));
        QCOMPARE(rig.form->FindHistory().First(), "zebra");

        // Replace All from the start, case sensitive, asked each time: Yes, No, All.
        std::vector<QPoint> askedAt;
        std::vector<QString> questions;
        std::vector<TReplaceAnswer> answers{TReplaceAnswer::Yes, TReplaceAnswer::No,
                                            TReplaceAnswer::All};
        rig.form->Prompts().AskReplace = [&](const QString& text, const QPoint& at) {
            questions.push_back(text);
            askedAt.push_back(at);
            return answers.at(questions.size() - 1);
        };
        rig.form->Prompts().RunFindReplace = [](TFindReplaceForm& dialog) {
            dialog.SetFindText(QStringLiteral("cat"));
            dialog.SetReplaceText(QStringLiteral("bird"));
            for (QObject* child : dialog.findChildren<QAbstractButton*>()) {
                auto* button = qobject_cast<QAbstractButton*>(child);
                if (button->text() == QStringLiteral("&Entire scope") ||
                    button->text() == QStringLiteral("&Case sensitive")) {
                    button->click();
                }
            }
            return TFindReplaceForm::ReplaceAllResult;
        };
        rig.form->SearchReplaceActionExecute();
        QCOMPARE(page->text(), QStringLiteral("bird dog cat\nCat bird\n"));
        QCOMPARE(questions.size(), std::size_t{3});
        QCOMPARE(questions[0], QStringLiteral("Replace this occurrence of 'cat' with 'bird'?"));
        QCOMPARE(rig.form->ReplaceHistory().First(), "bird");
        QVERIFY(rig.form->SearchOptions().CaseSensitive);
        QVERIFY(rig.form->SearchOptions().PromptOnReplace);
        // The question stands one line below the caret.
        const QPoint caret = page->viewport()->mapToGlobal(QPoint(
            0, int(page->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0UL,
                                       page->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS)))));
        QVERIFY(rig.form->ReplacePromptPosition().y() > caret.y());
        QVERIFY(askedAt[0].y() < askedAt[2].y()); // the third match is on the second line

        page->undo(); // one step undoes the whole replace
        QCOMPARE(page->text(), QStringLiteral("cat dog cat\nCat cat\n"));
    }

    void goToLineKeepsTheColumn() {
        Rig rig;
        TEditorPage* page = rig.Open("g.txt", "abcdef\nabcdef\nabcdef\nab\n");
        MoveCaret(*page, 0, 4);
        TInputRequest asked;
        rig.form->Prompts().AskLine = [&](const TInputRequest& request) {
            asked = request;
            return std::optional<QString>(QStringLiteral("3"));
        };
        rig.form->SearchGotoLineNumActionExecute();
        QCOMPARE(asked.CaptionText, QStringLiteral("[Go to Line Number]"));
        QCOMPARE(asked.Prompt, QStringLiteral("&Enter new line number:"));
        QCOMPARE(asked.InitialText, QStringLiteral("1"));
        QVERIFY(asked.NumbersOnly);
        QCOMPARE(page->CaretLine(), 3);
        QCOMPARE(page->CaretColumn(), 5);
        rig.form->Prompts().AskLine = [](const TInputRequest&) {
            return std::optional<QString>(QStringLiteral("99999999999"));
        };
        rig.form->SearchGotoLineNumActionExecute(); // beyond the end: the last line
        QCOMPARE(page->CaretLine(), page->lines());
    }

    void theLogStartsAnewAtFiveHundredLines() {
        Rig rig;
        TEditorLogPanel& log = rig.form->LogPanel();
        for (int line = 0; line < 500; ++line) {
            log.Display("~ line " + std::to_string(line));
        }
        QCOMPARE(log.LineCount(), 500);
        log.Display("% Busy"); // a status text is not a log line
        QCOMPARE(log.LineCount(), 500);
        QCOMPARE(log.PanelText(5), QStringLiteral("Busy"));
        log.Display("! the 501st");
        QCOMPARE(log.LineCount(), 1);
        QCOMPARE(log.LogText(), QStringLiteral("! the 501st"));
        log.ShowProgress(2048, 1024, 1024, 1000);
        QCOMPARE(log.PanelText(0), QStringLiteral("2048"));
        QCOMPARE(log.PanelText(2), QStringLiteral("1.00 KB/s"));
        QCOMPARE(log.PanelText(4), QStringLiteral("50 %"));
    }

    void aLocalCopyKeepsTheBytesAndThePageStaysModified() {
        Rig rig;
        const std::string latin = "caf\xE9 na\xEFve\r\nzweite Zeile \xFC";
        TEditorPage* page = rig.Open("l.txt", latin);
        QVERIFY(!page->Encoding().Utf8);
        QCOMPARE(page->text(), QString::fromLatin1(latin.data(), qsizetype(latin.size())));
        const std::string target = rig.folder.file("copy.txt");
        QString proposedName;
        rig.form->Prompts().AskSaveFile = [&](const QString& proposed) {
            proposedName = proposed;
            return QString::fromStdString(target);
        };
        rig.form->FileSaveasLocalFileActionExecute();
        QCOMPARE(proposedName, QStringLiteral("l.txt"));
        QCOMPARE(readFile(target), latin);

        MoveCaret(*page, 1, 0);
        page->insert(QStringLiteral("\u00e4"));
        rig.form->FileSaveasLocalFileActionExecute();
        QCOMPARE(readFile(target), "caf\xE9 na\xEFve\r\n\xE4zweite Zeile \xFC");
        QVERIFY(page->isModified());
        // A new line gets the file's own line end.
        page->SendScintilla(QsciScintilla::SCI_NEWLINE);
        QVERIFY(page->FileContents().find("ve\r\n\r\n\xE4zweite") != std::string::npos);

        rig.form->Prompts().AskSaveFile = [&](const QString&) {
            return QString::fromStdString(rig.folder.file("no/such/folder/x.txt"));
        };
        rig.form->FileSaveasLocalFileActionExecute();
        QVERIFY(rig.messages.back().startsWith(QStringLiteral("Cannot write")));
    }

    void printsToPdfWithHeaderFooterAndPages() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        Rig rig;
        std::string text;
        for (int line = 1; line <= 150; ++line) {
            text += "int line" + std::to_string(line) + " = " + std::to_string(line) + ";\n";
        }
        rig.Open("long.c", text, "/src/");
        const QString pdf = QString::fromStdString(rig.folder.file("out.pdf"));
        rig.form->Prompts().SetupPrinter = [&](TEditorPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        rig.form->FilePrintActionExecute();
        QVERIFY(rig.messages.empty());
        QProcess convert;
        convert.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(convert.waitForFinished(20000));
        const QString printed = QString::fromUtf8(convert.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("127.0.0.1/src/long.c")), qPrintable(printed));
        QVERIFY(printed.contains(QStringLiteral("int line1 = 1;")));
        QVERIFY(printed.contains(QStringLiteral("int line150 = 150;")));
        QVERIFY(printed.contains(QStringLiteral("Page Number: 1 Printing Date/Time:")));
        QVERIFY(printed.contains(QStringLiteral("Page Number: 2 Printing Date/Time:")));
        const int pages = int(printed.count(QLatin1Char('\f')));
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
        QVERIFY(!printed.contains(QStringLiteral("Page Number: %1 ").arg(pages + 1)));
    }

    void settingsAreKeptAndTheWindowHidesInsteadOfClosing() {
        TempDir config;
        TConfigStore store(config.path() / "settings.conf");
        TGlobalOptions options(store);
        QtUiThread ui;
        {
            TOnlineEditorForm form(TOnlineEditorContext{ui, options, store, {}});
            QCOMPARE(form.EditorFont().family(), QStringLiteral("Courier New"));
            QCOMPARE(form.EditorFont().pointSize(), 8);
            QCOMPARE(form.size(), QSize(614, 440));
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            form.close();
            QVERIFY(form.isHidden());
            form.Prompts().AskFont = [](const QFont&) {
                return std::optional<QFont>(QFont(QStringLiteral("DejaVu Sans Mono"), 20));
            };
            form.EditFontActionExecute();
            QCOMPARE(form.EditorFont().pointSize(), 12); // sizes 8 to 12
            form.SetLogPanelVisible(false);
        }
        TOnlineEditorSettings stored;
        stored.LoadFromStore(store);
        QCOMPARE(stored.FontName, std::string("DejaVu Sans Mono"));
        QCOMPARE(stored.FontSize, 12);
        QVERIFY(!stored.LogPanelVisible);
        QVERIFY(store.ReadBinary(std::string(OnlineEditorKey) + "\\Toolbar", "State"));
        TOnlineEditorForm again(TOnlineEditorContext{ui, options, store, {}});
        QVERIFY(again.LogPanelWidget()->isHidden());
        QCOMPARE(again.EditorFont().family(), QStringLiteral("DejaVu Sans Mono"));
    }
};

QTEST_MAIN(OnlineEditorFormTest)
#include "OnlineEditorFormTest.moc"
