// SPDX-License-Identifier: GPL-3.0-or-later
// The online editor's commands on the text: find, search again, replace with its question
// below the caret, go to a line, the editor font, printing and saving a local copy; and the
// dialogs these ask with.

#include "editor/gui/EditorPage.h"
#include "editor/gui/EditorPrinter.h"
#include "editor/gui/FindReplaceForm.h"
#include "editor/gui/OnlineEditorForm.h"
#include "settings/GlobalOptions.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace qx {

void TOnlineEditorForm::SetDefaultPrompts() {
    m_prompts.ConfirmUpdate = [this](const QString& text) {
        return QMessageBox::question(this, tr("Online Editor Close Confirm"), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    m_prompts.Inform = [this](const QString& title, const QString& text) {
        QMessageBox::information(this, title, text);
    };
    m_prompts.Error = [this](const QString& title, const QString& text) {
        QMessageBox::critical(this, title, text);
    };
    m_prompts.AskReplace = [this](const QString& text, const QPoint& topLeft) {
        QMessageBox box(
            QMessageBox::Question, tr("Online Editor"), text,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::YesToAll, this);
        box.button(QMessageBox::YesToAll)->setText(tr("&All"));
        box.move(topLeft);
        // Once the window manager has framed it, the frame goes there, so that the title bar
        // does not cover the line with the match.
        QTimer::singleShot(50, &box, [&box, topLeft] {
            const QPoint shift = topLeft - box.frameGeometry().topLeft();
            if (!shift.isNull()) {
                box.move(box.pos() + shift);
            }
        });
        switch (box.exec()) {
        case QMessageBox::Yes:
            return TReplaceAnswer::Yes;
        case QMessageBox::No:
            return TReplaceAnswer::No;
        case QMessageBox::YesToAll:
            return TReplaceAnswer::All;
        default:
            return TReplaceAnswer::Cancel;
        }
    };
    m_prompts.RunFindReplace = [](TFindReplaceForm& dialog) { return dialog.exec(); };
    m_prompts.AskLine = [this](const TInputRequest& request) {
        return TInputForm::Ask(request, QString::fromStdString(m_context.Options.FontName),
                               m_context.Options.FontSize, this);
    };
    m_prompts.AskSaveFile = [this](const QString& proposedName) {
        QFileDialog dialog(this, tr("Save as Local File"), proposedName);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        dialog.setSizeGripEnabled(true);
        dialog.selectFile(proposedName);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().constFirst()
                   : QString();
    };
    m_prompts.SetupPrinter = [this](TEditorPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        return dialog.exec() == QDialog::Accepted;
    };
    m_prompts.AskFont = [this](const QFont& current) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen =
            QFontDialog::getFont(&ok, current, this, tr("Font"), QFontDialog::MonospacedFonts);
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };
}

// --- Searching --------------------------------------------------------------------------------

bool TOnlineEditorForm::RunSearch(TEditorPage& page, const TSearchOptions& options,
                                  const QString& find, const QString& replace) {
    TSearchTarget target;
    target.FindNext = [&](bool first) {
        if (!first) {
            return page.findNext();
        }
        const bool forward = !options.Backward;
        if (options.SelectedTextOnly) {
            return page.findFirstInSelection(find, false, options.CaseSensitive,
                                             options.WholeWordsOnly, forward);
        }
        int line = -1;
        int index = -1;
        if (options.EntireScope) {
            line = forward ? 0 : std::max(0, page.lines() - 1);
            index = forward ? 0 : page.lineLength(line);
        }
        return page.findFirst(find, false, options.CaseSensitive, options.WholeWordsOnly, false,
                              forward, line, index);
    };
    target.ReplaceSelection = [&] { page.replace(replace); };
    target.Ask = [&] {
        return m_prompts.AskReplace(
            tr("Replace this occurrence of '%1' with '%2'?").arg(page.selectedText(), replace),
            ReplacePromptPosition());
    };
    page.beginUndoAction();
    const int handled = qx::RunSearch(options, target);
    page.endUndoAction();
    if (handled == 0) {
        m_prompts.Inform(tr("Online Editor"), tr("Search string '%1' not found").arg(find));
    }
    return handled > 0;
}

QPoint TOnlineEditorForm::ReplacePromptPosition() const {
    const TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return {};
    }
    const long position = page->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS);
    const int x =
        static_cast<int>(page->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, position));
    const int y =
        static_cast<int>(page->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0UL, position));
    const int lineHeight = static_cast<int>(page->SendScintilla(
        QsciScintilla::SCI_TEXTHEIGHT, static_cast<unsigned long>(page->CaretLine() - 1)));
    return page->viewport()->mapToGlobal(QPoint(x, y + lineHeight));
}

void TOnlineEditorForm::SearchFindActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return;
    }
    TFindReplaceForm dialog(TFindReplaceForm::Find, m_findHistory.Items(), m_replaceHistory.Items(),
                            m_searchOptions, this);
    if (m_prompts.RunFindReplace(dialog) != QDialog::Accepted || dialog.FindText().isEmpty()) {
        return;
    }
    m_findHistory.Add(dialog.FindText().toStdString());
    m_searchOptions = FindOptions(m_searchOptions, dialog.Choice());
    RunSearch(*page, m_searchOptions, dialog.FindText(), {});
}

void TOnlineEditorForm::SearchSearchAgainActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return;
    }
    if (m_findHistory.Empty()) {
        SearchFindActionExecute();
        return;
    }
    RunSearch(*page, SearchAgainOptions(m_searchOptions),
              QString::fromStdString(m_findHistory.First()), {});
}

void TOnlineEditorForm::SearchReplaceActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return;
    }
    TFindReplaceForm dialog(TFindReplaceForm::Replace, m_findHistory.Items(),
                            m_replaceHistory.Items(), m_searchOptions, this);
    const int result = m_prompts.RunFindReplace(dialog);
    if ((result != QDialog::Accepted && result != TFindReplaceForm::ReplaceAllResult) ||
        dialog.FindText().isEmpty()) {
        return;
    }
    m_findHistory.Add(dialog.FindText().toStdString());
    m_replaceHistory.Add(dialog.ReplaceText().toStdString());
    m_searchOptions = ReplaceOptions(dialog.Choice(), result == TFindReplaceForm::ReplaceAllResult);
    RunSearch(*page, m_searchOptions, dialog.FindText(), dialog.ReplaceText());
    // The stored options keep the choices; the replace itself is not repeated by Search Again.
    m_searchOptions.Replace = false;
    m_searchOptions.ReplaceAll = false;
}

void TOnlineEditorForm::SearchGotoLineNumActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return;
    }
    TInputRequest request;
    request.ApplicationText = tr("Online Editor");
    request.CaptionText = tr("[Go to Line Number]");
    request.Prompt = tr("&Enter new line number:");
    request.InitialText = QString::number(page->CaretLine());
    request.NumbersOnly = true;
    const std::optional<QString> answer = m_prompts.AskLine(request);
    if (!answer) {
        return;
    }
    bool ok = false;
    const long long line = answer->toLongLong(&ok);
    if (ok) {
        page->GoToLine(static_cast<int>(std::min<long long>(line, page->lines())));
    }
}

// --- Font, printing, a local copy ---------------------------------------------------------------

void TOnlineEditorForm::EditFontActionExecute() {
    const std::optional<QFont> chosen = m_prompts.AskFont(m_editorFont);
    if (!chosen) {
        return;
    }
    m_editorFont = *chosen;
    m_editorFont.setPointSize(std::clamp(m_editorFont.pointSize(), 8, 12));
    ApplyEditorFont();
}

void TOnlineEditorForm::ApplyEditorFont() {
    for (int index = 0; index < PageCount(); ++index) {
        Page(index)->SetEditorFont(m_editorFont);
    }
}

void TOnlineEditorForm::FilePrintActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return;
    }
    const TRemoteEditFile& file = page->File();
    TEditorPrinter printer(
        QString::fromStdString(file.HostName + file.HostDirName + file.FileName));
    if (!m_prompts.SetupPrinter(printer)) {
        return;
    }
    if (!page->PrintTo(printer)) {
        m_prompts.Error(
            tr("Online Editor Error"),
            tr("[%1] could not be printed.").arg(QString::fromStdString(file.FileName)));
    }
}

void TOnlineEditorForm::FileSaveasLocalFileActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr) {
        return;
    }
    const QString path = m_prompts.AskSaveFile(QString::fromStdString(page->File().FileName));
    if (path.isEmpty()) {
        return;
    }
    std::string error;
    if (!page->SaveToFile(path.toStdString(), error)) {
        m_prompts.Error(tr("Online Editor Error"),
                        tr("Cannot write [%1]: %2").arg(path, QString::fromStdString(error)));
    }
}

} // namespace qx
