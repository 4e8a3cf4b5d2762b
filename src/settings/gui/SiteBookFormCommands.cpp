// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the site book window.
#include "settings/gui/SiteBookForm.h"

#include "platform/ConfigStore.h"
#include "platform/PasswordStore.h"
#include "settings/gui/FormAppearance.h"
#include "settings/gui/SiteBookTreeModel.h"
#include "settings/gui/SiteBookTreeView.h"
#include "settings/gui/SitePropertiesForm.h"
#include "widgets/ActionList.h"
#include "widgets/CoreTexts.h"

#include <QPersistentModelIndex>
#include <QTimer>

namespace qx {

namespace {

QMessageBox::Icon IconOf(TSiteBookMessage::TIcon icon) {
    switch (icon) {
    case TSiteBookMessage::TIcon::Error:
        return QMessageBox::Critical;
    case TSiteBookMessage::TIcon::Warning:
        return QMessageBox::Warning;
    case TSiteBookMessage::TIcon::None:
        break;
    }
    return QMessageBox::Information;
}

bool Confirmed(int result) {
    return result == TSitePropertiesForm::SaveResult ||
           result == TSitePropertiesForm::ConnectResult;
}

} // namespace

QMessageBox::StandardButton TSiteBookForm::Ask(QMessageBox::Icon icon, const QString& title,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons) {
    if (m_messageBox) {
        return m_messageBox(this, icon, title, text, buttons);
    }
    QMessageBox box(icon, title, text, buttons, this);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void TSiteBookForm::Report(const TSiteBookMessage& message) {
    if (!message.Empty()) {
        Ask(IconOf(message.Icon), CoreText(message.Title), CoreMessageText(message.Text),
            QMessageBox::Ok);
    }
}

int TSiteBookForm::RunDialog(TSitePropertiesForm& dialog) {
    return m_runDialog ? m_runDialog(dialog) : dialog.exec();
}

void TSiteBookForm::ConnectTo(TSiteBookNode& node) {
    if (node.Properties() != nullptr && m_connect) {
        m_connect(*node.Properties());
    }
}

void TSiteBookForm::QuickConnect() {
    auto site = std::make_unique<TSiteProperties>(m_options);
    site->QuickConnect = true;
    TSitePropertiesForm dialog(*site, m_options, this);
    dialog.SetCaptionText(tr("[Quick Connect]"));
    dialog.SetActivePage(TSitePropertiesForm::TPage::LoginInformation);
    dialog.SetActiveControl(TSitePropertiesForm::TControl::HostName);
    dialog.SetDefaultButton(TSitePropertiesForm::TButton::Connect);
    dialog.SetNameEnabled(false);
    if (RunDialog(dialog) == TSitePropertiesForm::ConnectResult && m_quickConnect) {
        m_quickConnect(std::move(site));
    }
}

void TSiteBookForm::NewFolder() {
    TSiteBookNode* target = TargetNode();
    const TSiteBookCreateResult created = m_treeModel->NewFolder(*target);
    if (created.Node == nullptr) {
        Report(created.Message);
        return;
    }
    SelectNode(*created.Node);
    m_tree->EditLabel(m_treeModel->IndexOf(created.Node));
}

void TSiteBookForm::NewSite() {
    TSiteBookNode* target = TargetNode();
    auto site = std::make_unique<TSiteProperties>(m_options);
    TSitePropertiesForm dialog(*site, m_options, this);
    dialog.SetCaptionText(tr("[New Site]"));
    ShowPasswordPlace(dialog);
    dialog.SetLocationText(ToQt(TSiteBookModel::NodeLocation(*target)));
    dialog.SetActivePage(TSitePropertiesForm::TPage::General);
    dialog.SetActiveControl(TSitePropertiesForm::TControl::Name);
    const int result = RunDialog(dialog);
    if (!Confirmed(result)) {
        return;
    }
    const TSiteBookCreateResult created =
        m_treeModel->CreateSite(*target, FromQt(dialog.NameText()), std::move(site));
    if (created.Node == nullptr) {
        Report(created.Message);
        return;
    }
    SelectNode(*created.Node);
    m_tree->ClearDropTarget();
    if (result == TSitePropertiesForm::ConnectResult) {
        RunCommand(m_actions.Connect); // the new site is now the target
    }
}

void TSiteBookForm::EditProperties() {
    TSiteBookNode& node = *TargetNode();
    TSiteProperties& site = *node.Properties();
    TSitePropertiesForm dialog(site, m_options, this);
    dialog.SetNameText(ToQt(node.Text()));
    dialog.SetNameEnabled(false);
    dialog.SetLocationText(ToQt(TSiteBookModel::NodeLocation(node)));
    dialog.SetActivePage(TSitePropertiesForm::TPage::LoginInformation);
    dialog.SetActiveControl(TSitePropertiesForm::TControl::HostName);
    ShowPasswordPlace(dialog);
    const int result = RunDialog(dialog);
    if (!Confirmed(result)) {
        return;
    }
    m_book->SaveSite(node);
    UpdateSelectionTexts();
    // The window lost its drop target while the dialog was up; connect the site just edited.
    if (result == TSitePropertiesForm::ConnectResult) {
        ConnectTo(node);
    }
}

void TSiteBookForm::ShowPasswordPlace(TSitePropertiesForm& dialog) const {
    TPasswordStore* passwords = m_book->Passwords();
    dialog.SetKeyringMissing(passwords == nullptr || !passwords->Available());
}

void TSiteBookForm::DeleteNode() {
    TSiteBookNode& node = *TargetNode();
    const QString text = ToQt(node.Text());
    if (Ask(QMessageBox::Question, tr("Site Book Delete Confirm"),
            tr("Are you sure to delete [%1]?").arg(text),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    Report(m_treeModel->Delete(node));
    UpdateSelectionTexts();
}

void TSiteBookForm::RenameNode() {
    m_tree->EditLabel(m_treeModel->IndexOf(TargetNode()));
}

void TSiteBookForm::RenameConfirmed(const QModelIndex& index, const QString& text) {
    // Later, once the label editor has closed, so that a message never stands over an editor
    // still in the middle of its commit.
    QTimer::singleShot(0, this, [this, node = QPersistentModelIndex(index), text] {
        if (TSiteBookNode* renamed = m_treeModel->Node(node)) {
            Report(m_treeModel->Rename(*renamed, FromQt(text)));
        }
    });
}

void TSiteBookForm::StartSiteTool(const std::string& program, const QString& errorTitle) {
    const TSiteProperties& site = *TargetNode()->Properties();
    const QString failure = StartTool(m_startProgram, ToQt(program), ToQt(site.HostName));
    if (!failure.isEmpty()) {
        Ask(QMessageBox::Critical, errorTitle, failure, QMessageBox::Ok);
    }
}

} // namespace qx
