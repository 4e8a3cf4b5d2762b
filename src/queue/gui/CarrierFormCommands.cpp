// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the queue window, its menus and its toolbar.

#include "queue/gui/CarrierForm.h"

#include "widgets/ActionList.h"
#include "widgets/MainDataModule.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <utility>

namespace qx {

namespace {

// The number field of the toolbar: only its arrows (and the arrow keys) change it.
class TMaxCarrierUpDown final : public QSpinBox {
public:
    explicit TMaxCarrierUpDown(QWidget* parent) : QSpinBox(parent) {
        lineEdit()->setReadOnly(true);
        lineEdit()->setObjectName(QStringLiteral("MaxCarrierEdit"));
    }
};

} // namespace

void TCarrierForm::CreateCommands() {
    m_actions = new TActionList(this);
    const auto add = [this](const char* name, const TActionSpec& spec, TActionList::Execute execute,
                            TActionList::Update update) {
        QAction* action = m_actions->Add(spec, std::move(execute), std::move(update));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    using Image = TMainDataModule::ActionImage;
    const auto enabledWith = [this](TCarrierList list) {
        return [this, list](QAction& action) { action.setEnabled(HasSelection(list)); };
    };
    const auto always = [](QAction& action) { action.setEnabled(true); };

    m_resumeAction = add(
        "ServiceResumeAction",
        {tr("&Resume"), tr("Resume|Resume the transfers"), {}, Image::Resume},
        [this] {
            m_chosenResumeService = true;
            m_queue.Resume();
        },
        [this](QAction& action) { action.setChecked(m_queue.ResumeService()); });
    m_suspendAction = add(
        "ServiceSuspendAction",
        {tr("&Suspend"),
         tr("Suspend|Start no new transfers; running ones go on"),
         {},
         Image::Suspend},
        [this] {
            m_chosenResumeService = false;
            m_queue.Suspend();
        },
        [this](QAction& action) { action.setChecked(!m_queue.ResumeService()); });
    auto* service = new QActionGroup(this);
    for (QAction* action : {m_resumeAction, m_suspendAction}) {
        action->setCheckable(true);
        service->addAction(action);
    }
    m_abortAction = add(
        "ServiceAbortAction",
        {tr("&Abort"), tr("Abort|Abort the selected transfers"), {}, Image::Abort},
        [this] { m_queue.Abort(SelectedRows(TCarrierList::Status)); },
        enabledWith(TCarrierList::Status));
    m_resubmitAction = add(
        "ServiceResubmitAction",
        {tr("Resub&mit"),
         tr("Resubmit|Queue the selected failed items again"),
         {},
         Image::Resubmit},
        [this] { m_queue.Resubmit(SelectedRows(TCarrierList::Fail)); },
        enabledWith(TCarrierList::Fail));
    m_hideAction = add(
        "ServiceHideAction", {tr("&Hide"), tr("Hide|Hide Carrier"), {}, Image::Hide},
        [this] { hide(); }, always);
    // Nothing to do yet: items come from the explorers.
    m_addAction = add("EditAddAction", {tr("&Add..."), tr("Add|Add an item"), {}, Image::Add}, {},
                      [](QAction& action) { action.setEnabled(false); });
    m_deleteAction = add(
        "EditDeleteAction",
        {tr("&Delete"), tr("Delete|Delete the selected items from the queue"), {}, Image::Delete},
        [this] { m_queue.Delete(SelectedRows(TCarrierList::Queue)); },
        enabledWith(TCarrierList::Queue));
    m_clearQueueAction = add(
        "EditClearQueueAction",
        {tr("&Queue"), tr("Clear Queue|Delete every queued item"), {}, Image::Clear},
        [this] { m_queue.ClearQueue(); }, always);
    m_clearSuccessAction = add(
        "EditClearSuccessAction",
        {tr("&Success"), tr("Clear Success|Empty the success list"), {}, Image::Clear},
        [this] { m_queue.ClearSuccess(); }, always);
    m_clearFailAction = add(
        "EditClearFailAction",
        {tr("&Fail"), tr("Clear Fail|Delete every failed item"), {}, Image::Clear},
        [this] { m_queue.ClearFail(); }, always);
    m_speedLimitAction = add(
        "ServiceSpeedLimitAction",
        {tr("Speed &Limit..."),
         tr("Speed Limit|Limit the speed of the queue's transfers together"),
         {},
         Image::Properties},
        [this] { ChooseSpeedLimits(); }, always);
    m_actions->UpdateAll();

    // The lists' context menus: the command of each list's selection.
    for (const auto& [list, action] : {std::pair{TCarrierList::Queue, m_deleteAction},
                                       std::pair{TCarrierList::Status, m_abortAction},
                                       std::pair{TCarrierList::Fail, m_resubmitAction}}) {
        ListView(list)->setContextMenuPolicy(Qt::ActionsContextMenu);
        ListView(list)->addAction(action);
    }
}

void TCarrierForm::CreateMenus() {
    QMenu* service = menuBar()->addMenu(tr("&Service"));
    service->setObjectName(QStringLiteral("ServiceMenu"));
    service->addActions({m_resumeAction, m_suspendAction, m_abortAction, m_resubmitAction});
    service->addSeparator();
    service->addAction(m_speedLimitAction);
    service->addSeparator();
    service->addAction(m_hideAction);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->addActions({m_addAction, m_deleteAction});
    edit->addSeparator();
    m_clearMenu = edit->addMenu(TMainDataModule::ActionIcon(TMainDataModule::Clear), tr("&Clear"));
    m_clearMenu->setObjectName(QStringLiteral("EditClearMenu"));
    m_clearMenu->addActions({m_clearQueueAction, m_clearSuccessAction, m_clearFailAction});
}

void TCarrierForm::CreateToolBar() {
    QToolBar* bar = addToolBar(tr("Carrier"));
    bar->setObjectName(QStringLiteral("CarrierToolBar"));
    bar->addActions({m_resumeAction, m_suspendAction});
    bar->addSeparator();
    bar->addActions({m_abortAction, m_resubmitAction});
    bar->addSeparator();
    bar->addActions({m_addAction, m_deleteAction});

    auto* clear = new QToolButton(bar);
    clear->setObjectName(QStringLiteral("EditClearToolButton"));
    clear->setIcon(TMainDataModule::ActionIcon(TMainDataModule::Clear));
    clear->setText(tr("Clear"));
    clear->setToolTip(tr("Clear"));
    clear->setMenu(m_clearMenu);
    clear->setPopupMode(QToolButton::InstantPopup);
    clear->setAutoRaise(true);
    clear->setIconSize(bar->iconSize());
    clear->setToolButtonStyle(bar->toolButtonStyle());
    connect(bar, &QToolBar::iconSizeChanged, clear, &QToolButton::setIconSize);
    connect(bar, &QToolBar::toolButtonStyleChanged, clear, &QToolButton::setToolButtonStyle);
    bar->addWidget(clear);
    bar->addSeparator();

    m_maxCarrierUpDown = new TMaxCarrierUpDown(bar);
    m_maxCarrierUpDown->setObjectName(QStringLiteral("MaxCarrierUpDown"));
    m_maxCarrierUpDown->setRange(TCarrierQueue::kMinCarriers, TCarrierQueue::kMaxCarriers);
    m_maxCarrierUpDown->setValue(m_queue.MaxCarrier());
    m_maxCarrierUpDown->setToolTip(tr("Maximum Number of Transfer Thread"));
    m_maxCarrierUpDown->setStatusTip(tr("Maximum Number of Transfer Thread"));
    bar->addWidget(m_maxCarrierUpDown);
    connect(m_maxCarrierUpDown, &QSpinBox::valueChanged, this, &TCarrierForm::MaxCarrierEditChange);
}

void TCarrierForm::MaxCarrierEditChange() {
    m_queue.SetMaxCarrier(m_maxCarrierUpDown->value());
}

} // namespace qx
