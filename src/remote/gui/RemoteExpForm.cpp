// The remote explorer window: its parts, its settings in the site's key, activation and
// closing. The session with the server is handled in RemoteExpSession.cpp.

#include "remote/gui/RemoteExpForm.h"

#include "platform/ConfigStore.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteProperties.h"
#include "widgets/ActionList.h"
#include "widgets/MainDataModule.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <filesystem>

namespace qx {

namespace {

TTitlePanel* NewTitlePanel(const QString& text, QWidget* parent) {
    auto* panel = new TTitlePanel(parent);
    panel->SetApplicationText(text);
    panel->setFixedHeight(18);
    panel->setCursor(Qt::PointingHandCursor);
    return panel;
}

QColor FromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace

TRemoteExpForm::TRemoteExpForm(TRemoteExpContext context, TSiteProperties* site, QWidget* owner)
    : QMainWindow(owner, Qt::Window), m_context(std::move(context)), m_site(site),
      m_fileList(m_compare) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("RemoteExpForm"));
    setWindowTitle(QStringLiteral("Pellucor's Remote Explorer "));
    setProperty("helpContext", kHelpContext);
    std::error_code noFolder;
    m_downloadFolder = std::filesystem::current_path(noFolder).string();
    BuildWindow();
    CreateActions();
    ApplyAppearance();

    m_captionText = QStringLiteral("[%1]").arg(QString::fromStdString(site->HostName));
    m_context.Explorers.Add(this);
    if (m_context.Main != nullptr) {
        m_context.Main->AddRemoteExpTab(QString::fromStdString(site->HostName), this);
    }
    ConfigureClient();
    if (site->QuickConnect) {
        m_quickSite.reset(site); // never written back, and no settings of its own
        m_site = nullptr;
    }
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(720, 480);
        move(area.right() - width() - 5, area.bottom() - height() - 30);
    }
    LoadSettings();
    m_client->Connect();
}

TRemoteExpForm::~TRemoteExpForm() {
    if (m_site != nullptr) {
        SaveSettings();
        if (!m_tree.Empty()) {
            m_site->ResumeTransfer = m_client->ResumeTransfer;
            m_site->TransferType = m_client->TransferType;
            if (const TFolderNode* node = SelectedNode()) {
                m_site->InitialFolder = TFolderTree::GetNodePath(*node);
            }
            if (m_site->SiteNode != nullptr) {
                m_site->SaveToStore(m_context.Store, SiteKey());
            }
        }
    }
    m_client->Detach();
    m_context.Explorers.Remove(this);
    if (m_context.Main != nullptr) {
        m_context.Main->DeleteRemoteExpTab(this);
        if (auto* first = dynamic_cast<TRemoteExpForm*>(m_context.Explorers.First())) {
            m_context.Main->SelectRemoteExpTab(first);
            m_context.Main->SetCaptionText(first->CaptionText());
        } else {
            m_context.Main->SetCaptionText({});
        }
    }
}

void TRemoteExpForm::BuildWindow() {
    m_clientSplitter = new QSplitter(Qt::Horizontal, this);
    m_clientSplitter->setObjectName(QStringLiteral("ClientPanelDivider"));
    m_clientSplitter->setHandleWidth(3);

    auto* treePanel = new QWidget(m_clientSplitter);
    treePanel->setObjectName(QStringLiteral("FolderTreePanel"));
    auto* treeLayout = new QVBoxLayout(treePanel);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(2);
    m_folderTreeTitle = NewTitlePanel(tr("Folder Tree"), treePanel);
    m_folderTreeTitle->setObjectName(QStringLiteral("FolderTreeGradPanel"));
    m_folderCombo = new QComboBox(treePanel);
    m_folderCombo->setObjectName(QStringLiteral("FolderCombo"));
    m_folderCombo->setMaxVisibleItems(10);
    m_folderTreeView = new QTreeView(treePanel);
    m_folderTreeView->setObjectName(QStringLiteral("FolderTreeView"));
    m_folderTreeView->setHeaderHidden(true);
    m_folderTreeView->setRootIsDecorated(true);
    m_folderTreeView->setUniformRowHeights(true);
    m_folderTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeLayout->addWidget(m_folderTreeTitle);
    treeLayout->addWidget(m_folderCombo);
    treeLayout->addWidget(m_folderTreeView);

    m_rightSplitter = new QSplitter(Qt::Vertical, m_clientSplitter);
    m_rightSplitter->setObjectName(QStringLiteral("RightPanelDivider"));
    auto* listPanel = new QWidget(m_rightSplitter);
    listPanel->setObjectName(QStringLiteral("FileListPanel"));
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(2);
    m_fileListTitle = NewTitlePanel(tr("File List"), listPanel);
    m_fileListTitle->setObjectName(QStringLiteral("FileListGradPanel"));
    m_fileListView = new QTreeView(listPanel);
    m_fileListView->setObjectName(QStringLiteral("FileListView"));
    m_fileListView->setRootIsDecorated(false);
    m_fileListView->setUniformRowHeights(true); // fast with 100,000 rows
    m_fileListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_fileListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileListView->setAllColumnsShowFocus(true);
    m_fileListView->setSortingEnabled(false);
    auto* fileStatus = new QWidget(listPanel);
    auto* fileStatusLayout = new QHBoxLayout(fileStatus);
    fileStatusLayout->setContentsMargins(4, 0, 4, 0);
    for (int panel = 0; panel < 2; ++panel) {
        m_fileStatus[panel] = new QLabel(fileStatus);
        m_fileStatus[panel]->setFrameShape(QFrame::StyledPanel);
        m_fileStatus[panel]->setMinimumWidth(panel == 0 ? 180 : 200);
        fileStatusLayout->addWidget(m_fileStatus[panel]);
    }
    fileStatusLayout->addStretch();
    m_fileIconView = new QListView(listPanel);
    m_fileIconView->setObjectName(QStringLiteral("FileListIconView"));
    m_fileIconView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_fileIconView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileIconView->setUniformItemSizes(true);
    m_fileIconView->setResizeMode(QListView::Adjust);
    m_fileViews = new QStackedWidget(listPanel);
    m_fileViews->addWidget(m_fileIconView);
    m_fileViews->addWidget(m_fileListView);
    listLayout->addWidget(m_fileListTitle);
    listLayout->addWidget(m_fileViews);
    listLayout->addWidget(fileStatus);

    m_logPanel = new QWidget(m_rightSplitter);
    m_logPanel->setObjectName(QStringLiteral("LogPanel"));
    auto* logLayout = new QVBoxLayout(m_logPanel);
    logLayout->setContentsMargins(0, 0, 0, 0);
    m_log = new QPlainTextEdit(m_logPanel);
    m_log->setObjectName(QStringLiteral("LogRichEdit"));
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logLayout->addWidget(m_log);
    m_rightSplitter->setStretchFactor(0, 1);
    m_rightSplitter->setSizes({300, 53 + 40});
    m_clientSplitter->setStretchFactor(1, 1);
    m_clientSplitter->setSizes({169 + 30, 520});
    setCentralWidget(m_clientSplitter);

    static constexpr int kWidths[] = {80, 80, 90, 80, 80, 200};
    for (int panel = 0; panel < 6; ++panel) {
        m_status[panel] = new QLabel(this);
        m_status[panel]->setMinimumWidth(kWidths[panel]);
        m_status[panel]->setAlignment(panel < 5 ? Qt::AlignRight | Qt::AlignVCenter
                                                : Qt::AlignLeft | Qt::AlignVCenter);
        if (panel == 5) {
            m_statusIcon = new QLabel(this);
            statusBar()->addPermanentWidget(m_statusIcon);
        }
        statusBar()->addPermanentWidget(m_status[panel], panel == 5 ? 1 : 0);
    }

    m_treeModel = new TFolderTreeModel(m_tree, this);
    m_folderTreeView->setModel(m_treeModel);
    m_listModel = new TFileListModel(m_fileList, m_tree, this);
    m_fileListView->setModel(m_listModel);
    m_fileIconView->setModel(m_listModel);
    m_fileIconView->setSelectionModel(m_fileListView->selectionModel()); // one selection
    SetViewStyle(vsList);
    static constexpr int kColumnWidths[] = {120, 60, 100, 120, 80};
    for (int column = 0; column < 5; ++column) {
        m_fileListView->setColumnWidth(column, kColumnWidths[column] + 60);
    }
    m_fileListView->header()->setSortIndicatorShown(true);
    m_fileListView->header()->setSectionsClickable(true);

    connect(m_folderTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowNode(m_treeModel->Node(current)); });
    connect(m_fileListView->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { ArrangeBy(section + 1); });
    connect(m_fileListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateSelectionCounters(); });
    const auto openFolder = [this](const QModelIndex& at) {
        const TFTPListItem* entry = m_listModel->Entry(at);
        TFolderNode* node = entry != nullptr && !entry->IsFile ? m_tree.NodeOf(entry) : nullptr;
        if (node != nullptr && !m_client->Busy()) {
            m_folderTreeView->setCurrentIndex(m_treeModel->IndexOf(node));
        }
    };
    connect(m_fileListView, &QAbstractItemView::activated, this, openFolder);
    connect(m_fileIconView, &QAbstractItemView::activated, this, openFolder);
    connect(m_folderCombo, &QComboBox::activated, this, [this](int index) {
        if (m_client->Busy() || index < 0 || index >= static_cast<int>(m_comboNodes.size())) {
            const QSignalBlocker quiet(m_folderCombo);
            m_folderCombo->setCurrentIndex(m_comboIndex);
            return;
        }
        m_folderTreeView->setCurrentIndex(m_treeModel->IndexOf(m_comboNodes[index]));
        m_fileListView->setFocus();
    });
    m_folderTreeView->installEventFilter(this);
    m_fileListView->installEventFilter(this);
    m_fileIconView->installEventFilter(this);
    connect(m_folderTreeTitle, &TTitlePanel::Clicked, this,
            [this] { m_folderTreeView->setFocus(); });
    connect(m_fileListTitle, &TTitlePanel::Clicked, this,
            [this] { m_fileViews->currentWidget()->setFocus(); });
    m_folderTreeView->setFocus();
}

void TRemoteExpForm::CreateActions() {
    m_actions = new TActionList(this);
    const auto idle = [this](QAction& action) {
        action.setEnabled(m_connected && !m_client->Busy() && SelectedNode() != nullptr);
    };
    QAction* refresh = m_actions->Add(
        {tr("&Refresh"), tr("Refresh|Refresh the selected folder"), QKeySequence(Qt::Key_F5),
         TMainDataModule::Refresh},
        [this] { Refresh(); }, idle);
    QAction* up = m_actions->Add(
        {tr("&Up One Level"), tr("Up One Level|Show the parent folder"),
         QKeySequence(Qt::ALT | Qt::Key_Up), TMainDataModule::UpOneLevel},
        [this] { UpOneLevel(); },
        [this, idle](QAction& action) {
            idle(action);
            const TFolderNode* node = SelectedNode();
            action.setEnabled(action.isEnabled() && node != nullptr && node->Parent != nullptr);
        });
    QAction* logPanel = m_actions->Add(
        {tr("Log &Panel"),
         tr("Log Panel|Show or hide the session log"),
         {},
         TMainDataModule::LogPanel},
        [this] { SetLogPanelVisible(!m_logPanel->isVisible()); },
        [this](QAction& action) {
            action.setCheckable(true);
            action.setChecked(m_logPanel->isVisible());
        });
    QAction* close = m_actions->Add(
        {tr("&Close"), tr("Close|Close Remote Explorer"), {}, TMainDataModule::Close},
        [this] { this->close(); });
    static const struct {
        const char* caption;
        const char* hint;
        int image;
    } kStyles[] = {
        {"Lar&ge Icons", "Large Icons|Show the files as large icons", TMainDataModule::LargeIcons},
        {"S&mall Icons", "Small Icons|Show the files as small icons", TMainDataModule::SmallIcons},
        {"&List", "List|Show the files in a list", TMainDataModule::List},
        {"&Details", "Details|Show the files with their details", TMainDataModule::Details},
    };
    QList<QAction*> styles;
    for (int style = 0; style < 4; ++style) {
        styles << m_actions->Add(
            {tr(kStyles[style].caption), tr(kStyles[style].hint), {}, kStyles[style].image},
            [this, style] { SetViewStyle(style); },
            [this, style](QAction& action) {
                action.setCheckable(true);
                action.setChecked(m_viewStyle == style);
            });
    }
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(up);
    file->addSeparator();
    file->addAction(close);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(logPanel);
    view->addSeparator();
    view->addActions(styles);
    view->addSeparator();
    view->addAction(refresh);
    QToolBar* tools = addToolBar(tr("View Toolbar"));
    tools->setObjectName(QStringLiteral("ViewToolbar"));
    tools->addAction(up);
    tools->addAction(refresh);
    tools->addSeparator();
    tools->addActions(styles);
    tools->addSeparator();
    tools->addAction(logPanel);
}

TFolderNode* TRemoteExpForm::SelectedNode() const {
    return m_treeModel->Node(m_folderTreeView->currentIndex());
}

void TRemoteExpForm::ApplyAppearance() {
    const QFont font(QString::fromStdString(m_context.Options.FontName),
                     m_context.Options.FontSize);
    setFont(font);
    m_log->setFont(font);
    UpdateTitlePanels();
}

void TRemoteExpForm::UpdateTitlePanels() {
    // The active pane's title ends in the chosen colour, the other in that of an inactive
    // caption.
    const QColor grad = FromBgr(m_context.Options.GradColor);
    const QColor inactive = QApplication::palette().color(QPalette::Inactive, QPalette::Dark);
    const bool tree = m_treeActive || !m_listActive;
    m_folderTreeTitle->SetColours(Qt::black, tree ? grad : inactive);
    m_fileListTitle->SetColours(Qt::black, tree ? inactive : grad);
}

void TRemoteExpForm::SetActivePane(bool tree) {
    m_treeActive = tree;
    m_listActive = !tree;
    UpdateTitlePanels();
}

void TRemoteExpForm::ForgetSite(const TSiteProperties& site) {
    if (m_site == &site) {
        m_site = nullptr;
    }
}

bool TRemoteExpForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_folderTreeView) {
            SetActivePane(true);
        } else if (watched == m_fileListView || watched == m_fileIconView) {
            SetActivePane(false);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TRemoteExpForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_context.Explorers.MoveToFront(this);
        if (m_context.Main != nullptr) {
            m_context.Main->SelectRemoteExpTab(this);
            m_context.Main->SetCaptionText(m_captionText);
        }
    }
    QMainWindow::changeEvent(event);
}

void TRemoteExpForm::SetViewStyle(int style) {
    if (style < vsIcon || style > vsReport) {
        style = vsList;
    }
    m_viewStyle = style;
    const bool hadFocus = m_fileViews->currentWidget()->hasFocus();
    if (style == vsReport) {
        m_fileViews->setCurrentWidget(m_fileListView);
    } else {
        m_fileViews->setCurrentWidget(m_fileIconView);
        const bool large = style == vsIcon;
        m_fileIconView->setViewMode(large ? QListView::IconMode : QListView::ListMode);
        m_fileIconView->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
        m_fileIconView->setFlow(style == vsList ? QListView::TopToBottom : QListView::LeftToRight);
        m_fileIconView->setWrapping(true);
        m_fileIconView->setGridSize(large ? QSize(96, 64) : QSize());
        m_fileIconView->setSpacing(large ? 4 : 1);
        m_fileIconView->setMovement(QListView::Static);
    }
    if (hadFocus) {
        m_fileViews->currentWidget()->setFocus();
    }
}

void TRemoteExpForm::SetLogPanelVisible(bool visible) {
    m_logPanel->setVisible(visible);
}

QString TRemoteExpForm::StatusPanelText(int panel) const {
    return panel >= 0 && panel < 6 ? m_status[panel]->text() : QString();
}

QString TRemoteExpForm::FileStatusText(int panel) const {
    return panel >= 0 && panel < 2 ? m_fileStatus[panel]->text() : QString();
}

// --- Settings in the site's key ---------------------------------------------------------------

std::string TRemoteExpForm::SiteKey() const {
    return m_site != nullptr && m_site->SiteNode != nullptr
               ? TSiteBookModel::NodeKeyPath(*m_site->SiteNode)
               : std::string();
}

void TRemoteExpForm::LoadSettings() {
    const std::string key = SiteKey();
    if (key.empty() || !m_context.Store.KeyExists(key)) {
        return;
    }
    const TConfigStore& store = m_context.Store;
    // The toolbars first, in the subkey of their own.
    if (const auto state = store.ReadBinary(key + "\\Toolbar", "State")) {
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()),
                                static_cast<qsizetype>(state->size())));
    }
    const auto number = [&](const char* name) { return store.ReadNumber(key, name); };
    QRect place = geometry();
    if (auto v = number("Left")) {
        place.moveLeft(*v);
    }
    if (auto v = number("Top")) {
        place.moveTop(*v);
    }
    if (auto v = number("Width"); v && *v > 100) {
        place.setWidth(*v);
    }
    if (auto v = number("Height"); v && *v > 100) {
        place.setHeight(*v);
    }
    setGeometry(place);
    if (auto v = number("FolderTreePanelWidth"); v && *v > 20) {
        m_clientSplitter->setSizes({*v, std::max(100, place.width() - *v)});
    }
    if (auto v = number("LogPanelHeight"); v && *v >= 0) {
        m_rightSplitter->setSizes({std::max(50, place.height() - *v), *v});
    }
    if (auto v = number("SortColumn"); v && *v != 0 && std::abs(*v) <= 5) {
        m_fileList.Sort(*v);
    }
    static constexpr const char* kColumnNames[] = {"NameColumnWidth", "SizeColumnWidth",
                                                   "TypeColumnWidth", "DateColumnWidth",
                                                   "PermissionColumnWidth"};
    for (int column = 0; column < 5; ++column) {
        if (auto v = number(kColumnNames[column]); v && *v > 0) {
            m_fileListView->setColumnWidth(column, *v);
        }
    }
    if (auto v = number("ViewStyle")) {
        SetViewStyle(*v);
    }
    if (auto v = number("LogPanelVisible")) {
        SetLogPanelVisible(*v != 0);
    }
    if (auto folder = store.ReadString(key, "DownloadtoFolderPath")) {
        std::error_code error;
        if (!folder->empty() && std::filesystem::is_directory(*folder, error)) {
            m_downloadFolder = *folder;
        }
    }
}

void TRemoteExpForm::SaveSettings() {
    const std::string key = SiteKey();
    if (key.empty()) {
        return;
    }
    TConfigStore& store = m_context.Store;
    TConfigBatch batch(store);
    store.CreateKey(key);
    const QByteArray state = saveState();
    if (store.CreateKey(key + "\\Toolbar")) {
        store.WriteBinary(key + "\\Toolbar", "State",
                          std::vector<std::uint8_t>(state.begin(), state.end()));
    }
    if (!isMaximized()) {
        const QRect place = geometry();
        store.WriteNumber(key, "Left", place.left());
        store.WriteNumber(key, "Top", place.top());
        store.WriteNumber(key, "Width", place.width());
        store.WriteNumber(key, "Height", place.height());
        store.WriteNumber(key, "FolderTreePanelWidth", m_clientSplitter->sizes().value(0));
        store.WriteNumber(key, "LogPanelHeight", m_rightSplitter->sizes().value(1));
    }
    store.WriteNumber(key, "SortColumn", m_fileList.SortColumn());
    store.WriteNumber(key, "ViewStyle", m_viewStyle);
    static constexpr const char* kColumnNames[] = {"NameColumnWidth", "SizeColumnWidth",
                                                   "TypeColumnWidth", "DateColumnWidth",
                                                   "PermissionColumnWidth"};
    for (int column = 0; column < 5; ++column) {
        store.WriteNumber(key, kColumnNames[column], m_fileListView->columnWidth(column));
    }
    store.WriteNumber(key, "LogPanelVisible", m_logPanel->isVisibleTo(this) ? 1 : 0);
    store.WriteString(key, "DownloadtoFolderPath", m_downloadFolder);
}

// --- Closing ------------------------------------------------------------------------------

void TRemoteExpForm::PostClose() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TRemoteExpForm::closeEvent(QCloseEvent* event) {
    if (m_canClose) {
        Q_EMIT Closed();
        event->accept();
        return;
    }
    event->ignore();
    if (m_closing) {
        return;
    }
    m_closing = true;
    m_client->OnConnectDone = nullptr; // a connection under way lists nothing more
    if (m_client->Busy()) {
        m_client->StopThread(); // aborts the request under way
    } else {
        m_client->Quit();
    }
}

} // namespace qx
