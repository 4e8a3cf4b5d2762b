// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/FindReplaceForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qx {

namespace {

QComboBox* HistoryCombo(const std::vector<std::string>& history, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(combo->fontMetrics().averageCharWidth() * 40);
    for (const std::string& entry : history) {
        combo->addItem(QString::fromStdString(entry));
    }
    combo->setCurrentIndex(history.empty() ? -1 : 0);
    return combo;
}

// Two radio buttons in a box; the second is checked when `second`.
QGroupBox* Pair(const QString& title, QRadioButton*& first, const QString& firstText,
                QRadioButton*& other, const QString& otherText, bool second, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    first = new QRadioButton(firstText, box);
    other = new QRadioButton(otherText, box);
    layout->addWidget(first);
    layout->addWidget(other);
    (second ? other : first)->setChecked(true);
    return box;
}

} // namespace

TFindReplaceForm::TFindReplaceForm(TMode mode, const std::vector<std::string>& findHistory,
                                   const std::vector<std::string>& replaceHistory,
                                   const TSearchOptions& options, QWidget* parent)
    : QDialog(parent), m_mode(mode) {
    setObjectName(QStringLiteral("FindReplaceForm"));
    setWindowTitle(mode == Find ? tr("[Find Text]") : tr("[Replace Text]"));
    auto* layout = new QVBoxLayout(this);
    auto* texts = new QFormLayout;
    m_find = HistoryCombo(findHistory, this);
    m_find->setObjectName(QStringLiteral("FindTextComboBox"));
    auto* findLabel = new QLabel(tr("&Text to find:"), this);
    findLabel->setBuddy(m_find);
    texts->addRow(findLabel, m_find);
    if (mode == Replace) {
        m_replace = HistoryCombo(replaceHistory, this);
        m_replace->setObjectName(QStringLiteral("ReplaceTextComboBox"));
        auto* replaceLabel = new QLabel(tr("&Replace with:"), this);
        replaceLabel->setBuddy(m_replace);
        texts->addRow(replaceLabel, m_replace);
    }
    layout->addLayout(texts);

    auto* optionsBox = new QGroupBox(tr("Options"), this);
    auto* optionsLayout = new QVBoxLayout(optionsBox);
    m_caseSensitive = new QCheckBox(tr("&Case sensitive"), optionsBox);
    m_caseSensitive->setChecked(options.CaseSensitive);
    m_wholeWords = new QCheckBox(tr("&Whole words only"), optionsBox);
    m_wholeWords->setChecked(options.WholeWordsOnly);
    optionsLayout->addWidget(m_caseSensitive);
    optionsLayout->addWidget(m_wholeWords);
    if (mode == Replace) {
        m_prompt = new QCheckBox(tr("&Prompt on replace"), optionsBox);
        m_prompt->setChecked(options.PromptOnReplace);
        optionsLayout->addWidget(m_prompt);
    }
    auto* grid = new QGridLayout;
    grid->addWidget(optionsBox, 0, 0);
    grid->addWidget(Pair(tr("Direction"), m_forward, tr("Forwar&d"), m_backward, tr("&Backward"),
                         options.Backward, this),
                    0, 1);
    grid->addWidget(Pair(tr("Scope"), m_global, tr("&Global"), m_selected, tr("&Selected text"),
                         options.SelectedTextOnly, this),
                    1, 0);
    grid->addWidget(Pair(tr("Origin"), m_fromCursor, tr("&From cursor"), m_entireScope,
                         tr("&Entire scope"), options.EntireScope, this),
                    1, 1);
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    if (mode == Replace) {
        m_replaceAll = buttons->addButton(tr("Replace &All"), QDialogButtonBox::ActionRole);
        m_replaceAll->setObjectName(QStringLiteral("ReplaceAllButton"));
        connect(m_replaceAll, &QPushButton::clicked, this, [this] { done(ReplaceAllResult); });
    }
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_find, &QComboBox::editTextChanged, this, &TFindReplaceForm::UpdateButtons);
    UpdateButtons();
    m_find->setFocus();
    m_find->lineEdit()->selectAll();
}

QString TFindReplaceForm::FindText() const {
    return m_find->currentText();
}

QString TFindReplaceForm::ReplaceText() const {
    return m_replace != nullptr ? m_replace->currentText() : QString();
}

void TFindReplaceForm::SetFindText(const QString& text) {
    m_find->setEditText(text);
}

void TFindReplaceForm::SetReplaceText(const QString& text) {
    if (m_replace != nullptr) {
        m_replace->setEditText(text);
    }
}

TSearchChoice TFindReplaceForm::Choice() const {
    TSearchChoice choice;
    choice.CaseSensitive = m_caseSensitive->isChecked();
    choice.WholeWordsOnly = m_wholeWords->isChecked();
    choice.Backward = m_backward->isChecked();
    choice.EntireScope = m_entireScope->isChecked();
    choice.SelectedTextOnly = m_selected->isChecked();
    choice.PromptOnReplace = m_prompt != nullptr && m_prompt->isChecked();
    return choice;
}

void TFindReplaceForm::UpdateButtons() {
    const bool any = !m_find->currentText().isEmpty();
    m_ok->setEnabled(any);
    if (m_replaceAll != nullptr) {
        m_replaceAll->setEnabled(any);
    }
}

} // namespace qx
