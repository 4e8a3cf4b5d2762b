// SPDX-License-Identifier: GPL-3.0-or-later
// The site book window's commands that take sites in from a file and write the book out.
#include "settings/gui/SiteBookForm.h"

#include "settings/SiteBookTransfer.h"
#include "settings/gui/FormAppearance.h"
#include "settings/gui/SiteBookTreeModel.h"
#include "settings/gui/SiteBookTreeView.h"
#include "widgets/CoreTexts.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace qx {

namespace {

constexpr std::size_t kLinesShown = 15;

QString Shown(const std::string& line) {
    return ToQt(line);
}

QString Shown(const TCoreMessage& line) {
    return CoreMessageText(line);
}

// Lines under a heading, the first few of them, then how many more there are.
template <typename Line> QString Listed(const QString& heading, const std::vector<Line>& lines) {
    if (lines.empty()) {
        return {};
    }
    QString text = QStringLiteral("\n\n") + heading;
    for (std::size_t i = 0; i < lines.size() && i < kLinesShown; ++i) {
        text += QStringLiteral("\n") + Shown(lines[i]);
    }
    if (lines.size() > kLinesShown) {
        text += QStringLiteral("\n") +
                QCoreApplication::translate("qx::TSiteBookForm", "... and %1 more")
                    .arg(lines.size() - kLinesShown);
    }
    return text;
}

} // namespace

QString TSiteBookForm::ChooseFile(bool save) {
    if (m_chooseFile) {
        return m_chooseFile(save);
    }
    const QString lists = tr("Site lists (*.xml *.ini *.sites);;All files (*)");
    return save ? QFileDialog::getSaveFileName(this, tr("Export Site Book"),
                                               QStringLiteral("sitebook.sites"), lists)
                : QFileDialog::getOpenFileName(this, tr("Import Sites"), {}, lists);
}

void TSiteBookForm::ImportSites() {
    TSiteBookNode* target = TargetNode();
    const QString file = ChooseFile(false);
    if (target == nullptr || file.isEmpty()) {
        return;
    }
    TCoreMessage error;
    auto sites = ReadSitesFile(FromQt(file), m_options, error);
    const QString title = tr("Import Sites");
    if (!sites) {
        Ask(QMessageBox::Critical, title, CoreMessageText(error), QMessageBox::Ok);
        return;
    }
    // The user sees every site that will be added, and what will not and why, first.
    const TSiteBookImportReport preview = AddSites(*m_book, *target, *sites, true);
    const QString leftOut = Listed(tr("Left out:"), preview.Notes);
    if (preview.Added.empty()) {
        Ask(QMessageBox::Information, title, tr("The file holds no site to add.") + leftOut,
            QMessageBox::Ok);
        return;
    }
    const QString question =
        tr("Add %n site(s) to [%1]?", nullptr, static_cast<int>(preview.Added.size()))
            .arg(ToQt(TSiteBookModel::NodeLocation(*target))) +
        Listed(tr("Sites:"), preview.Added) + leftOut;
    if (Ask(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes) {
        return;
    }
    const TSiteBookImportReport report = m_treeModel->AddSites(*target, *sites);
    if (report.Added.size() != preview.Added.size()) {
        Ask(QMessageBox::Warning, title,
            tr("%n site(s) added.", nullptr, static_cast<int>(report.Added.size())) +
                Listed(tr("Left out:"), report.Notes),
            QMessageBox::Ok);
    }
    if (!report.Added.empty()) {
        if (const TSiteBookNode* first = m_book->FindByLocation(report.Added.front())) {
            SelectNode(*first);
        }
    }
}

void TSiteBookForm::ExportSites() {
    const QString file = ChooseFile(true);
    if (file.isEmpty()) {
        return;
    }
    TCoreMessage error;
    if (!ExportSiteBook(*m_book, FromQt(file), false, error)) {
        Ask(QMessageBox::Critical, tr("Export Site Book"), CoreMessageText(error), QMessageBox::Ok);
        return;
    }
    Ask(QMessageBox::Information, tr("Export Site Book"),
        tr("The site book was written to %1, without passwords.").arg(file), QMessageBox::Ok);
}

} // namespace qx
