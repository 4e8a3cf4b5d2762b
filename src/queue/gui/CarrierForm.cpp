// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/gui/CarrierForm.h"

#include "queue/CarrierSettings.h"
#include "queue/ThreadedFTPCarrier.h"
#include "widgets/ActionList.h"
#include "widgets/CoreTexts.h"
#include "widgets/EventWait.h"
#include "widgets/FontChoice.h"
#include "widgets/MainDataModule.h"

#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>

#include <algorithm>

namespace qx {

TCarrierForm::TCarrierForm(TCarrierQueue::CarrierFactory carriers,
                           const TAsciiExtensions* asciiExtensions, TConfigStore& store,
                           QWidget* parent)
    : QMainWindow(parent), m_store(store), m_queue(std::move(carriers), asciiExtensions),
      m_models(m_queue) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("CarrierForm"));
    setWindowIcon(TMainDataModule::ActionIcon(TMainDataModule::Carrier));
    setProperty("helpContext", kHelpContext);

    CreatePages();
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    m_stateLabel = new QLabel(this);
    m_stateLabel->setObjectName(QStringLiteral("StateLabel"));
    statusBar()->addPermanentWidget(m_stateLabel);

    m_models.OnCaptionChanged = [this] { ScheduleCaption(); };
    m_models.OnStateChanged = [this] { UpdateState(); };
    UpdateCaption();
    LoadSettings();
}

TCarrierForm::~TCarrierForm() {
    SaveSettings();
    m_models.OnCaptionChanged = nullptr;
    m_models.OnStateChanged = nullptr;
}

TCarrierQueue::CarrierFactory TCarrierForm::ThreadedCarriers(UiThread& ui,
                                                             std::function<int()> timeout,
                                                             std::function<bool()> keepFileTimes) {
    return [&ui, timeout = std::move(timeout),
            keepFileTimes = std::move(keepFileTimes)]() -> std::shared_ptr<TFTPCarrier> {
        auto carrier = TThreadedFTPCarrier::Create(ui);
        if (timeout) {
            carrier->Timeout = timeout();
        }
        if (keepFileTimes) {
            carrier->KeepFileTimes = keepFileTimes();
        }
        return carrier;
    };
}

void TCarrierForm::ApplyAppearance(const QString& fontName, int fontSize) {
    ApplyFontChoice(*this, fontName, fontSize);
    SetDefaultColumnWidths();
}

void TCarrierForm::SetRowIcons(const TCarrierListModel::IconProvider& icons) {
    m_models.SetIconProvider(icons);
}

// --- Producers ---------------------------------------------------------------------------------

void TCarrierForm::AddItem(std::unique_ptr<TFTPCarryItem> item) {
    m_queue.AddItem(std::move(item));
}

void TCarrierForm::AddItems(std::vector<std::unique_ptr<TFTPCarryItem>> items) {
    m_queue.AddItems(std::move(items));
}

void TCarrierForm::StartCarriers() {
    m_queue.StartCarriers();
}

void TCarrierForm::SuspendUntilResumed() {
    m_queue.Suspend();
}

// --- Settings ----------------------------------------------------------------------------------

void TCarrierForm::LoadSettings() {
    TCarrierSettings settings;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen != nullptr ? screen->geometry().height() : 0;
    settings.Top = std::max(0, screenHeight - settings.Height - 30);
    settings.LoadFromStore(m_store);

    move(settings.Left, settings.Top);
    resize(settings.Width, settings.Height);
    m_chosenResumeService = settings.ResumeService;
    if (settings.ResumeService) {
        m_queue.Resume();
    } else {
        m_queue.Suspend();
    }
    {
        const QSignalBlocker blocker(m_maxCarrierUpDown);
        m_maxCarrierUpDown->setValue(settings.MaxCarrier);
    }
    MaxCarrierEditChange(); // also when the value was already shown
}

void TCarrierForm::SaveSettings() {
    TCarrierSettings settings;
    settings.SetPlace(x(), y(), width(), height());
    settings.ResumeService = m_chosenResumeService;
    settings.MaxCarrier = m_queue.MaxCarrier();
    settings.SaveToStore(m_store, isMaximized());
}

// --- Caption and state -------------------------------------------------------------------------

void TCarrierForm::ScheduleCaption() {
    if (m_captionPending) {
        return;
    }
    m_captionPending = true;
    QMetaObject::invokeMethod(
        this, [this] { UpdateCaption(); }, Qt::QueuedConnection);
}

void TCarrierForm::UpdateCaption() {
    m_captionPending = false;
    m_caption = QString::fromStdString(m_queue.Caption(CoreFormat(TCarrierQueue::kCaptionFormat)));
    setWindowTitle(tr("Pellucor's Carrier %1").arg(m_caption));
}

void TCarrierForm::UpdateState() {
    if (m_maxCarrierUpDown->value() != m_queue.MaxCarrier()) {
        const QSignalBlocker blocker(m_maxCarrierUpDown);
        m_maxCarrierUpDown->setValue(m_queue.MaxCarrier());
    }
    m_stateLabel->setText(
        m_queue.ResumeService()
            ? tr("%1 of %2 running").arg(m_queue.RunningCount()).arg(m_queue.MaxCarrier())
            : tr("Suspended, %1 running").arg(m_queue.RunningCount()));
    // Resume and Suspend show the new state at once, not at the next idle moment.
    m_actions->UpdateAll();
}

// --- Lifetime ----------------------------------------------------------------------------------

void TCarrierForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

bool TCarrierForm::FinishWork(int timeoutMs) {
    if (!m_finishing) {
        m_finishing = true;
        // The aborted jobs stay queued for the next start, not failed.
        m_queue.SetJournal(nullptr);
        // Otherwise every aborted job would start the next queued one.
        m_queue.Suspend();
    }
    m_queue.AbortAll();
    if (!m_queue.WorkersRunning()) {
        return true;
    }
    // The carriers' last events arrive as queued calls, so the event loop has to run.
    const QDeadlineTimer deadline(timeoutMs);
    RunEventsUntil([this, &deadline] { return !m_queue.WorkersRunning() || deadline.hasExpired(); },
                   10);
    return !m_queue.WorkersRunning();
}

} // namespace qx
