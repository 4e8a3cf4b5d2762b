// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/gui/OverwriteForm.h"

#include "widgets/TitlePanel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx {

namespace {

QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return ToQt(slash == std::string::npos ? path : path.substr(slash + 1));
}

} // namespace

TOverwriteForm::TOverwriteForm(const TOverwriteQuestion& question, const QString& fontName,
                               int fontSize, QWidget* parent)
    : TCaptionedDialog(fontName, fontSize, parent) {
    setObjectName(QStringLiteral("OverwriteForm"));
    SetTitles(tr("Transfer"), tr("[File Exists]"));
    m_answer.Choice = TOverwriteChoice::Cancel;

    auto* what = new QLabel(
        (question.Upload ? tr("The server holds [%1] already.") : tr("[%1] exists already."))
            .arg(ToQt(question.Target)),
        this);
    what->setObjectName(QStringLiteral("TargetLabel"));
    what->setWordWrap(true);
    what->setTextFormat(Qt::PlainText);
    Body().addWidget(what);

    auto* sides = new QFormLayout;
    const std::string sizeUnknown = tr("size unknown").toStdString();
    const std::string dateUnknown = tr("date unknown").toStdString();
    const auto side = [&](std::int64_t size, const std::optional<std::int64_t>& time) {
        return ToQt(OverwriteSideText(size, time, sizeUnknown, dateUnknown));
    };
    auto* there = new QLabel(side(question.TargetSize, question.TargetTime));
    there->setObjectName(QStringLiteral("TargetSideLabel"));
    auto* coming = new QLabel(side(question.SourceSize, question.SourceTime));
    coming->setObjectName(QStringLiteral("SourceSideLabel"));
    sides->addRow(tr("There now:"), there);
    sides->addRow(question.Upload ? tr("Uploading:") : tr("Downloading:"), coming);
    m_newName = new QLineEdit(LastComponent(question.FreeName), this);
    m_newName->setObjectName(QStringLiteral("NewNameEdit"));
    sides->addRow(tr("New &name:"), m_newName);
    Body().addLayout(sides);

    m_forAll = new QCheckBox(tr("Do the same for the &rest of these files"), this);
    m_forAll->setObjectName(QStringLiteral("ApplyToAllCheckBox"));
    Body().addWidget(m_forAll);

    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& caption, const char* name, TOverwriteChoice choice) {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, choice] { Choose(choice); });
        return button;
    };
    add(tr("&Overwrite"), "OverwriteButton", TOverwriteChoice::Overwrite);
    add(tr("If &Newer"), "OverwriteIfNewerButton", TOverwriteChoice::OverwriteIfNewer);
    QPushButton* resume = add(tr("Res&ume"), "ResumeButton", TOverwriteChoice::Resume);
    resume->setEnabled(question.CanResume);
    resume->setToolTip(question.CanResume
                           ? tr("Go on from the end of the shorter file there")
                           : tr("Only a shorter file there, in a binary transfer, can be resumed"));
    m_rename = add(tr("Re&name"), "RenameButton", TOverwriteChoice::Rename);
    QPushButton* skip = add(tr("&Skip"), "SkipButton", TOverwriteChoice::Skip);
    add(tr("Cancel"), "CancelButton", TOverwriteChoice::Cancel);
    skip->setDefault(true); // the answer that loses nothing
    skip->setFocus();
    Body().addWidget(buttons);

    connect(m_newName, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_rename->setEnabled(!text.trimmed().isEmpty()); });
}

void TOverwriteForm::Choose(TOverwriteChoice choice) {
    m_answer.Choice = choice;
    m_answer.ApplyToAll = m_forAll->isChecked();
    m_answer.NewName = choice == TOverwriteChoice::Rename ? m_newName->text().toStdString() : "";
    accept();
}

TOverwriteAnswer TOverwriteForm::Ask(const TOverwriteQuestion& question, const QString& fontName,
                                     int fontSize, QWidget* parent) {
    TOverwriteForm form(question, fontName, fontSize, parent);
    form.exec();
    return form.Answer();
}

} // namespace qx
