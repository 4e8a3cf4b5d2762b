// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/OnlineEditorForm.h"

#include "editor/EditorTexts.h"
#include "editor/OnlineEditorSettings.h"
#include "editor/gui/EditorLogPanel.h"
#include "editor/gui/EditorPage.h"
#include "platform/ConfigStore.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "widgets/ActionList.h"
#include "widgets/EventWait.h"
#include "widgets/MainDataModule.h"
#include "widgets/QtShellIcons.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace qx {

namespace {

// The words of the core's status bar (EditorStatus), shown in the window's language.
constexpr const char* kStatusWords[] = {QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "Modified"),
                                        QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "Insert"),
                                        QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "Overwrite"),
                                        QT_TRANSLATE_NOOP("qx::TOnlineEditorForm", "Caps Lock")};

QString StatusWord(const std::string& text) {
    for (const char* word : kStatusWords) {
        if (text == word) {
            return QCoreApplication::translate("qx::TOnlineEditorForm", word);
        }
    }
    return QString::fromStdString(text);
}

} // namespace

TOnlineEditorForm::TOnlineEditorForm(TOnlineEditorContext context, QWidget* parent)
    : QMainWindow(parent), m_context(std::move(context)) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("OnlineEditorForm"));
    setWindowIcon(TMainDataModule::ActionIcon(TMainDataModule::OnlineEditor));
    setProperty("helpContext", kHelpContext);
    QFont windowFont = font();
    if (!m_context.Options.FontName.empty()) {
        windowFont.setFamily(QString::fromStdString(m_context.Options.FontName));
    }
    if (m_context.Options.FontSize > 0) {
        windowFont.setPointSize(m_context.Options.FontSize);
    }
    setFont(windowFont);
    m_editorFont = QFont(QStringLiteral("Courier New"), 8);
    m_editorFont.setStyleHint(QFont::TypeWriter);
    SetDefaultPrompts();
    BuildWindow();
    ConfigureClient();
    CreateActions();
    CreateMenus();
    CreateToolbars();
    LoadSettings();
    UpdateCaption();
    UpdateStatusBar();
}

TOnlineEditorForm::~TOnlineEditorForm() {
    Finish();
}

void TOnlineEditorForm::BuildWindow() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Vertical, central);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_logPanel = new TEditorLogPanel(m_splitter);
    m_pages = new QTabWidget(m_splitter);
    m_pages->setObjectName(QStringLiteral("EditorPageControl"));
    m_pages->setDocumentMode(true);
    m_pages->setStyleSheet(QStringLiteral("QTabBar::tab { padding-right: 18px; }"));
    m_pages->tabBar()->installEventFilter(this);
    m_splitter->addWidget(m_logPanel);
    m_splitter->addWidget(m_pages);
    m_splitter->setStretchFactor(1, 1);
    layout->addWidget(m_splitter);
    setCentralWidget(central);
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        UpdateCaption();
        UpdateStatusBar();
    });

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    static constexpr int kWidths[] = {80, 70, 70, 70};
    for (int panel = 0; panel < 4; ++panel) {
        m_status[panel] = new QLabel(statusBar());
        m_status[panel]->setMinimumWidth(kWidths[panel]);
        statusBar()->addWidget(m_status[panel]);
    }
}

// --- Pages ------------------------------------------------------------------------------------

void TOnlineEditorForm::OpenRemoteFile(std::unique_ptr<TRemoteEditFile> file) {
    if (file == nullptr) {
        return;
    }
    const std::string localFile = file->LocalFileName;
    const QString name = QString::fromStdString(file->FileName);
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(localFile, sizeError);
    if (!sizeError && size > static_cast<std::uintmax_t>(kMaxOnlineEditFileSize)) {
        std::filesystem::remove(localFile, sizeError);
        m_prompts.Error(tr("Online Editor Error"),
                        tr("[%1] is too large for the online editor: at most %2 MB.")
                            .arg(name)
                            .arg(kMaxOnlineEditFileSize / (1024 * 1024)));
        return;
    }
    auto* page = new TEditorPage(std::move(file), m_editorFont, m_pages);
    // The highlighter before the text: set afterwards, it would style the whole text at once.
    page->SetHighlighter(HighlighterOfFileName(page->File().FileName));
    std::string error;
    if (!page->LoadFromFile(localFile, error)) {
        delete page;
        m_prompts.Error(tr("Online Editor Error"),
                        tr("Cannot open [%1]: %2").arg(name, QString::fromStdString(error)));
        return;
    }
    std::error_code ignored;
    std::filesystem::remove(localFile, ignored);

    QIcon icon;
    if (const TQtShellIcons* icons = QtShellIcons()) {
        icon = icons->Icon(icons->GetIconIndex(page->File().FileName));
    }
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page, &QWidget::customContextMenuRequested, this,
            [this, page](const QPoint& at) { ShowEditorPopup(page, at); });
    connect(page, &QsciScintilla::cursorPositionChanged, this, [this] { UpdateStatusBar(); });
    connect(page, &QsciScintilla::modificationChanged, this, [this] { UpdateStatusBar(); });
    connect(page, &QsciScintillaBase::SCN_UPDATEUI, this, [this] { UpdateStatusBar(); });
    page->installEventFilter(this);
    const int index = m_pages->addTab(page, icon, name);
    m_pages->setCurrentIndex(index);
    UpdateCaption();
    UpdateStatusBar();
    page->setFocus();
}

TEditorPage* TOnlineEditorForm::ActivePage() const {
    return qobject_cast<TEditorPage*>(m_pages->currentWidget());
}

int TOnlineEditorForm::PageCount() const {
    return m_pages->count();
}

TEditorPage* TOnlineEditorForm::Page(int index) const {
    return qobject_cast<TEditorPage*>(m_pages->widget(index));
}

void TOnlineEditorForm::SetActivePage(int index) {
    m_pages->setCurrentIndex(index);
}

void TOnlineEditorForm::RemovePage(TEditorPage* page) {
    m_pages->removeTab(m_pages->indexOf(page));
    delete page; // with its file record
    UpdateCaption();
    UpdateStatusBar();
}

bool TOnlineEditorForm::FileCloseActionExecute() {
    TEditorPage* page = ActivePage();
    if (page == nullptr || m_client->Busy() || m_writeBackRunning) {
        return false;
    }
    if (page->isModified() && m_prompts.ConfirmUpdate(CloseConfirmText(page->File()))) {
        if (!WriteBackAndWait(*page)) {
            // The edits are kept: the page stays open and modified, the log says why.
            m_prompts.Error(tr("Online Editor Error"),
                            tr("%1 could not be written back; the page stays open.")
                                .arg(QString::fromStdString(EditFileTitle(page->File()))));
            return false;
        }
    }
    RemovePage(page);
    return true;
}

// --- Caption and status bar -------------------------------------------------------------------

void TOnlineEditorForm::UpdateCaption() {
    const TEditorPage* page = ActivePage();
    m_captionText =
        QString::fromStdString(EditorCaptionText(page != nullptr ? &page->File() : nullptr));
    setWindowTitle(tr("Pellucor's Online Editor ") + m_captionText);
}

QString TOnlineEditorForm::CloseConfirmText(const TRemoteEditFile& file) {
    return tr("%1 has been changed. Update?").arg(QString::fromStdString(EditFileTitle(file)));
}

void TOnlineEditorForm::UpdateStatusBar() {
    const TEditorPage* page = ActivePage();
    if (page == nullptr) {
        for (QLabel* panel : m_status) {
            panel->clear();
        }
        return;
    }
    const TEditorStatus status =
        EditorStatus(page->CaretLine(), page->CaretColumn(), page->isModified(),
                     page->overwriteMode(), m_capsLock);
    const std::string* texts[] = {&status.Caret, &status.Modified, &status.Mode, &status.CapsLock};
    for (int panel = 0; panel < 4; ++panel) {
        m_status[panel]->setText(StatusWord(*texts[panel]));
    }
}

QString TOnlineEditorForm::StatusText(int panel) const {
    return panel >= 0 && panel < 4 ? m_status[panel]->text() : QString();
}

bool TOnlineEditorForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pages->tabBar() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const int index = m_pages->tabBar()->tabAt(mouse->position().toPoint());
            if (index >= 0) {
                m_pages->setCurrentIndex(index);
                ShowEditorPopup(ActivePage(), m_pages->tabBar()->mapTo(
                                                  ActivePage(), mouse->position().toPoint()));
                return true;
            }
        }
    }
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonRelease) &&
        qobject_cast<TEditorPage*>(watched) != nullptr) {
        UpdateStatusBar();
    }
    if (event->type() == QEvent::KeyRelease && qobject_cast<TEditorPage*>(watched) != nullptr) {
        // Caps Lock cannot be asked of the system here: each press of the key toggles it.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_CapsLock) {
            m_capsLock = !m_capsLock;
        }
        UpdateStatusBar(); // Insert toggles the overwrite mode without another notification
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Settings and lifecycle -------------------------------------------------------------------

void TOnlineEditorForm::LoadSettings() {
    TOnlineEditorSettings settings;
    settings.LoadFromStore(m_context.Store);
    resize(settings.Width, settings.Height);
    if (settings.HasPosition) {
        move(settings.Left, settings.Top);
        m_placed = true;
    }
    m_splitter->setSizes({settings.LogPanelHeight, std::max(100, settings.Height - 150)});
    SetLogPanelVisible(settings.LogPanelVisible);
    m_editorFont = QFont(QString::fromStdString(settings.FontName), settings.FontSize);
    m_editorFont.setStyleHint(QFont::TypeWriter);
    if (const auto state =
            m_context.Store.ReadBinary(std::string(OnlineEditorKey) + "\\Toolbar", "State")) {
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()),
                                static_cast<qsizetype>(state->size())));
    }
}

void TOnlineEditorForm::PlaceBelow(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (m_placed || screen == nullptr) {
        return;
    }
    m_placed = true;
    const QRect area = screen->availableGeometry();
    const QRect above = window.frameGeometry();
    // This window is not framed yet: its frame is taken to be the other's.
    const QSize frame = above.size() - window.size();
    const int below = above.bottom() + 1;
    const int room = area.bottom() + 1 - below;
    if (height() + frame.height() > room) { // a low screen: shorter, rather than over the other
        resize(width(), std::max(minimumSizeHint().height(), room - frame.height()));
    }
    const QSize outer = size() + frame;
    // move() places the frame's corner.
    move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
         below + std::max(0, (room - outer.height()) / 2));
}

void TOnlineEditorForm::SaveSettings() {
    TOnlineEditorSettings settings;
    settings.SetPlace(x(), y(), width(), height());
    settings.LogPanelHeight =
        m_logPanel->isVisibleTo(this) ? m_logPanel->height() : settings.LogPanelHeight;
    settings.LogPanelVisible = !m_logPanel->isHidden();
    settings.FontName = m_editorFont.family().toStdString();
    settings.FontSize = m_editorFont.pointSize();
    settings.SaveToStore(m_context.Store, !isMinimized() && !isMaximized());
    const QByteArray state = saveState();
    const std::string toolbarKey = std::string(OnlineEditorKey) + "\\Toolbar";
    if (m_context.Store.CreateKey(toolbarKey)) {
        m_context.Store.WriteBinary(toolbarKey, "State",
                                    std::vector<std::uint8_t>(state.begin(), state.end()));
    }
}

void TOnlineEditorForm::SetLogPanelVisible(bool visible) {
    m_logPanel->setVisible(visible);
}

QWidget* TOnlineEditorForm::LogPanelWidget() const {
    return m_logPanel;
}

void TOnlineEditorForm::closeEvent(QCloseEvent* event) {
    event->ignore(); // hidden rather than closed
    hide();
}

void TOnlineEditorForm::Finish() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    WaitUntilIdle();
    for (int index = PageCount() - 1; index >= 0; --index) {
        if (TEditorPage* page = Page(index); page != nullptr && page->isModified()) {
            SaveModifiedPageAtEnd(*page);
        }
    }
    SaveSettings();
    m_client->OnEndThread = [this](TThreadedFTPClient&) { m_threadEnded = true; };
    m_client->StopThread();
    if (!m_threadEnded && m_client->WorkerRunning()) {
        RunEventsUntil([this] { return m_threadEnded || !m_client->WorkerRunning(); });
    }
    m_client->Detach();
}

} // namespace qx
