// SPDX-License-Identifier: GPL-3.0-or-later
// The online editor's rules without a display: the highlighter table, the search histories,
// the search options and the replace loop, the byte-preserving encoding, the settings and
// the small highlighters' tokenizer.

#include "editor/Bookmarks.h"
#include "editor/EditorTexts.h"
#include "editor/Highlighters.h"
#include "editor/OnlineEditorSettings.h"
#include "editor/SearchHistory.h"
#include "editor/SearchOptions.h"
#include "editor/TextEncoding.h"
#include "editor/WordTokenizer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qx;

TEST(EditorHighlighters, ChosenByTheLastExtensionInAnyCase) {
    EXPECT_EQ(HighlighterOfFileName("INDEX.HTM"), THighlighter::HTML);
    EXPECT_EQ(HighlighterOfFileName("page.Html"), THighlighter::HTML);
    EXPECT_EQ(HighlighterOfFileName("lib.h++"), THighlighter::CPP);
    EXPECT_EQ(HighlighterOfFileName("a.tar.c"), THighlighter::CPP);
    EXPECT_EQ(HighlighterOfFileName("unit.PAS"), THighlighter::Pascal);
    EXPECT_EQ(HighlighterOfFileName("form.cgi"), THighlighter::Perl);
    EXPECT_EQ(HighlighterOfFileName("Main.java"), THighlighter::Java);
    EXPECT_EQ(HighlighterOfFileName("dump.sql"), THighlighter::SQL);
    EXPECT_EQ(HighlighterOfFileName("ui.tcl"), THighlighter::TclTk);
    EXPECT_EQ(HighlighterOfFileName("sum.awk"), THighlighter::AWK);
    EXPECT_EQ(HighlighterOfFileName("load.gem"), THighlighter::DML);
    EXPECT_EQ(HighlighterOfFileName("Makefile"), THighlighter::None);
    EXPECT_EQ(HighlighterOfFileName("notes.txt"), THighlighter::None);
    EXPECT_EQ(HighlighterOfFileName("page.html.bak"), THighlighter::None);
    EXPECT_EQ(HighlighterOfFileName("trailing."), THighlighter::None);
}

TEST(EditorSearchHistory, MostRecentFirstEqualMovesUpAndTheThirtyThirdDrops) {
    TSearchHistory history;
    history.Add("");
    EXPECT_TRUE(history.Empty());
    for (int index = 1; index <= 32; ++index) {
        history.Add("text" + std::to_string(index));
    }
    ASSERT_EQ(history.Items().size(), 32u);
    EXPECT_EQ(history.First(), "text32");
    EXPECT_EQ(history.Items().back(), "text1");

    history.Add("text5"); // an equal entry moves to the top, nothing drops
    ASSERT_EQ(history.Items().size(), 32u);
    EXPECT_EQ(history.First(), "text5");
    EXPECT_EQ(history.Items()[1], "text32");
    EXPECT_EQ(std::count(history.Items().begin(), history.Items().end(), "text5"), 1);

    history.Add("text33"); // the 33rd different text pushes the oldest out
    ASSERT_EQ(history.Items().size(), 32u);
    EXPECT_EQ(history.First(), "text33");
    EXPECT_EQ(history.Items().back(), "text2");
    history.Add("Text33"); // case matters
    EXPECT_EQ(history.First(), "Text33");
    EXPECT_EQ(history.Items()[1], "text33");
}

TEST(EditorSearchOptions, FindKeepsThePromptReplaceTakesItAndSearchAgainGoesOnFromTheCaret) {
    TSearchOptions stored;
    stored.PromptOnReplace = false;
    TSearchChoice choice;
    choice.CaseSensitive = true;
    choice.Backward = true;
    choice.EntireScope = true;
    choice.PromptOnReplace = true; // not shown in the find mode: ignored
    const TSearchOptions find = FindOptions(stored, choice);
    EXPECT_TRUE(find.CaseSensitive && find.Backward && find.EntireScope);
    EXPECT_FALSE(find.PromptOnReplace || find.Replace || find.ReplaceAll || find.WholeWordsOnly);

    const TSearchOptions again = SearchAgainOptions(find);
    EXPECT_FALSE(again.EntireScope);
    EXPECT_TRUE(again.CaseSensitive && again.Backward);

    choice.PromptOnReplace = false;
    const TSearchOptions one = ReplaceOptions(choice, false);
    EXPECT_TRUE(one.Replace);
    EXPECT_FALSE(one.ReplaceAll || one.PromptOnReplace);
    const TSearchOptions all = ReplaceOptions(choice, true);
    EXPECT_TRUE(all.ReplaceAll);
    EXPECT_FALSE(all.Replace);
    EXPECT_TRUE(TSearchOptions{}.PromptOnReplace); // the first options
}

namespace {

// Matches at the positions of `text` where `word` occurs, replaced by `by`.
struct FakeTarget {
    std::string text;
    std::string word;
    std::string by;
    std::vector<TReplaceAnswer> answers;
    std::size_t asked = 0;
    std::size_t at = 0;
    std::size_t match = std::string::npos;

    TSearchTarget Target() {
        TSearchTarget target;
        target.FindNext = [this](bool first) {
            match = text.find(word, first ? 0 : at);
            at = match == std::string::npos ? text.size() : match + word.size();
            return match != std::string::npos;
        };
        target.ReplaceSelection = [this] {
            text.replace(match, word.size(), by);
            at = match + by.size();
        };
        target.Ask = [this] { return answers.at(asked++); };
        return target;
    }
};

} // namespace

TEST(EditorSearchRun, PromptAnswersDecideEachReplacement) {
    TSearchOptions options;
    options.ReplaceAll = true;
    FakeTarget yesNoAll{
        "a a a a a", "a", "bb", {TReplaceAnswer::Yes, TReplaceAnswer::No, TReplaceAnswer::All}};
    EXPECT_EQ(RunSearch(options, yesNoAll.Target()), 5);
    EXPECT_EQ(yesNoAll.text, "bb a bb bb bb");
    EXPECT_EQ(yesNoAll.asked, 3u); // All stops the questions

    FakeTarget cancel{"a a a", "a", "b", {TReplaceAnswer::Yes, TReplaceAnswer::Cancel}};
    EXPECT_EQ(RunSearch(options, cancel.Target()), 2);
    EXPECT_EQ(cancel.text, "b a a");

    options.PromptOnReplace = false;
    FakeTarget growing{"aa", "a", "aa", {}}; // the replacement holds the text: no endless loop
    EXPECT_EQ(RunSearch(options, growing.Target()), 2);
    EXPECT_EQ(growing.text, "aaaa");

    TSearchOptions single;
    single.Replace = true;
    single.PromptOnReplace = false;
    FakeTarget first{"x a a", "a", "b", {}};
    EXPECT_EQ(RunSearch(single, first.Target()), 1);
    EXPECT_EQ(first.text, "x b a");

    FakeTarget none{"xyz", "a", "b", {}};
    EXPECT_EQ(RunSearch(options, none.Target()), 0);
    EXPECT_EQ(RunSearch(TSearchOptions{}, none.Target()), 0);
}

TEST(EditorTextEncoding, Utf8IsCheckedStrictly) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("gr\xC3\xBC\xC3\x9F"       // üß
                            "\xE2\x82\xAC"             // €
                            "\xF0\x9F\x98\x80"));      // U+1F600
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));              // Latin-1 é
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));             // overlong
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));         // overlong, three bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));         // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));     // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("ends inside \xE2\x82")); // cut short
    EXPECT_FALSE(IsValidUtf8("\x80 stray"));
}

TEST(EditorTextEncoding, EveryKindOfFileComesBackByteForByte) {
    const std::string files[] = {
        "",
        "no final line end",
        "unix\nlines\n",
        "dos\r\nlines\r\nno end",
        "old mac\rlines\r",
        std::string(kUtf8ByteOrderMark) + "with bom \xE2\x82\xAC\r\n",
        "latin-1 caf\xE9 na\xEFve\n",
        std::string("binary \0\x01\xFF bytes", 17),
    };
    for (const std::string& file : files) {
        const TTextEncoding encoding = DecideEncoding(file);
        EXPECT_EQ(FileBytes(EditedText(file, encoding), encoding), file) << file;
    }
    const TTextEncoding bom = DecideEncoding(files[5]);
    EXPECT_TRUE(bom.Utf8 && bom.ByteOrderMark);
    EXPECT_EQ(bom.LineEnd, TLineEnd::CRLF);
    EXPECT_EQ(EditedText(files[5], bom), "with bom \xE2\x82\xAC\r\n");
    const TTextEncoding latin = DecideEncoding(files[6]);
    EXPECT_FALSE(latin.Utf8 || latin.ByteOrderMark);
    EXPECT_EQ(latin.LineEnd, TLineEnd::LF);
    EXPECT_EQ(DecideEncoding(files[4]).LineEnd, TLineEnd::CR);
    EXPECT_EQ(DecideEncoding(files[1]).LineEnd, TLineEnd::LF);
    // A mark in a file that is not UTF-8 is ordinary text of it.
    const std::string markedLatin = std::string(kUtf8ByteOrderMark) + "caf\xE9";
    EXPECT_FALSE(DecideEncoding(markedLatin).ByteOrderMark);
    EXPECT_EQ(EditedText(markedLatin, DecideEncoding(markedLatin)), markedLatin);
}

TEST(EditorSettings, DefaultsStoredValuesAndTheNormalStateRule) {
    test::TempDir folder;
    TConfigStore store(folder.path() / "settings.conf");
    TOnlineEditorSettings defaults;
    defaults.LoadFromStore(store);
    EXPECT_FALSE(defaults.HasPosition);
    EXPECT_EQ(defaults.Width, 614);
    EXPECT_EQ(defaults.Height, 440);
    EXPECT_EQ(defaults.LogPanelHeight, 65);
    EXPECT_TRUE(defaults.LogPanelVisible);
    EXPECT_EQ(defaults.FontName, "Courier New");
    EXPECT_EQ(defaults.FontSize, 8);

    TOnlineEditorSettings changed;
    changed.Left = 10;
    changed.Top = 20;
    changed.Width = 700;
    changed.LogPanelVisible = false;
    changed.FontName = "DejaVu Sans Mono";
    changed.FontSize = 11;
    changed.SaveToStore(store, false); // maximized: no place and size
    TOnlineEditorSettings loaded;
    loaded.LoadFromStore(store);
    EXPECT_FALSE(loaded.HasPosition);
    EXPECT_EQ(loaded.Width, 614);
    EXPECT_FALSE(loaded.LogPanelVisible);
    EXPECT_EQ(loaded.FontName, "DejaVu Sans Mono");
    EXPECT_EQ(loaded.FontSize, 11);

    changed.SaveToStore(store, true);
    store.WriteString(OnlineEditorKey, "FontName", "");        // ignored
    store.WriteString(OnlineEditorKey, "LogPanelHeight", "x"); // unreadable: skipped
    TOnlineEditorSettings again;
    again.LoadFromStore(store);
    EXPECT_TRUE(again.HasPosition);
    EXPECT_EQ(again.Left, 10);
    EXPECT_EQ(again.Top, 20);
    EXPECT_EQ(again.Width, 700);
    EXPECT_EQ(again.FontName, "Courier New");
    EXPECT_EQ(again.LogPanelHeight, 65);
}

TEST(EditorTexts, CaptionAndStatusPanels) {
    TRemoteEditFile file;
    file.HostName = "ftp.example.org";
    file.HostDirName = "/pub/www/";
    file.FileName = "index.html";
    EXPECT_EQ(EditorCaptionText(&file), "[ftp.example.org/pub/www/index.html]");
    EXPECT_EQ(EditorCaptionText(nullptr), "");
    const TEditorStatus status = EditorStatus(7, 12, true, false, true);
    EXPECT_EQ(status.Caret, "  7:  12");
    EXPECT_EQ(status.Modified, "Modified");
    EXPECT_EQ(status.Mode, "Insert");
    EXPECT_EQ(status.CapsLock, "Caps Lock");
    const TEditorStatus other = EditorStatus(1234, 1, false, true, false);
    EXPECT_EQ(other.Caret, "1234:   1");
    EXPECT_EQ(other.Modified, "");
    EXPECT_EQ(other.Mode, "Overwrite");
    EXPECT_EQ(other.CapsLock, "");
}

TEST(EditorBookmarks, ToggleOnItsLineClearsElsewhereMoves) {
    EXPECT_TRUE(ToggleClearsBookmark(3, 3));
    EXPECT_FALSE(ToggleClearsBookmark(3, 4));
    EXPECT_FALSE(ToggleClearsBookmark(std::nullopt, 0));
}

namespace {

std::string Styles(std::string_view text, const TWordLanguage& language, bool& inComment) {
    std::string styles;
    for (const TTokenRun& run : TokenizeWords(text, language, inComment)) {
        styles.append(run.Length, static_cast<char>('0' + static_cast<int>(run.Style)));
    }
    return styles;
}

} // namespace

TEST(EditorWordTokenizer, AwkAndDmlRunsCoverTheTextInTheirStyles) {
    bool inComment = false;
    EXPECT_EQ(Styles("BEGIN { x = \"a\\\"b\" } # c", AwkLanguage(), inComment),
              "222220000000333333000111");
    EXPECT_EQ(Styles("begin 12.5e3", AwkLanguage(), inComment), "000000444444"); // case counts
    EXPECT_EQ(Styles("print \"open\nnext", AwkLanguage(), inComment), "2222203333302222");

    EXPECT_EQ(Styles("Select 'it''s' -- x", DmlLanguage(), inComment), "2222220333333301111");
    EXPECT_EQ(Styles("a /* b", DmlLanguage(), inComment), "001111");
    EXPECT_TRUE(inComment);
    EXPECT_EQ(Styles("c */ where", DmlLanguage(), inComment), "1111022222");
    EXPECT_FALSE(inComment);
    EXPECT_TRUE(TokenizeWords("", DmlLanguage(), inComment).empty());
}
