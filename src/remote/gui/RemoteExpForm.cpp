// The remote explorer window: its parts, its settings in the site's key, activation and
// closing. The session with the server is handled in RemoteExpSession.cpp.

#include "remote/gui/RemoteExpForm.h"
#include "remote/RemoteExpTexts.h"
#include "remote/gui/SessionLogView.h"

#include "platform/ConfigStore.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "remote/gui/RemoteExpActions.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteProperties.h"
#include "widgets/ActionList.h"
#include "widgets/FileListViews.h"
#include "widgets/MainDataModule.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
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
    ConfigureClient();
    BuildWindow();
    CreateActions();
    ApplyAppearance();

    m_captionText = QStringLiteral("[%1]").arg(QString::fromStdString(site->HostName));
    UpdateCaption();
    m_context.Explorers.Add(this);
    if (m_context.Main != nullptr) {
        m_context.Main->AddRemoteExpTab(
            {QString::fromStdString(site->HostName), QString::fromStdString(site->UserName),
             QString::number(site->Port),
             site->SiteNode != nullptr ? QString::fromStdString(site->SiteNode->Text())
                                       : QString()},
            this);
    }
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
                m_site->SaveToStore(m_context.Store, SiteKey(), m_context.Passwords);
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
    m_folderTreeView = new TExplorerTreeView(treePanel);
    m_folderTreeView->setObjectName(QStringLiteral("FolderTreeView"));
    m_folderTreeView->setHeaderHidden(true);
    m_folderTreeView->setRootIsDecorated(false); // no expander before the root
    m_folderTreeView->setUniformRowHeights(true);
    m_folderTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    EnableDragAndDrop(*m_folderTreeView);
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
    m_fileListView = new TExplorerTreeView(listPanel);
    m_fileListView->setObjectName(QStringLiteral("FileListView"));
    m_fileListView->setRootIsDecorated(false);
    m_fileListView->setUniformRowHeights(true); // fast with 100,000 rows
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
    m_fileIconView = new TExplorerIconView(listPanel);
    m_fileIconView->setObjectName(QStringLiteral("FileListIconView"));
    SetupFileListView(*m_fileListView);
    SetupFileListView(*m_fileIconView);
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
    // Emptied when a line would be its 500th.
    m_log = new TSessionLogView(kMaxLogLines - 1, m_logPanel);
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
            [this](const QModelIndex& current) {
                if (m_quietSelection == 0) {
                    ShowNode(m_treeModel->Node(current));
                }
            });
    connect(m_treeModel, &TFolderTreeModel::NodeRemoving, this,
            [this](TFolderNode* node) { NodeRemoving(*node); });
    connect(
        m_treeModel, &TFolderTreeModel::LabelEdited, this,
        [this](TFolderNode* node, const QString& text) { RenameNode(*node, text.toStdString()); });
    connect(m_listModel, &TFileListModel::NameEdited, this,
            [this](TFTPListItem* entry, const QString& text) {
                RenameEntry(*entry, text.toStdString());
            });
    // Labels are edited only by Rename, while the session is idle.
    m_treeModel->SetEditRule(
        [this](const TFolderNode&) { return !m_client->Busy() && !m_dragging; });
    m_listModel->SetEditRule([this] { return !m_client->Busy() && !m_dragging; });
    connect(m_fileListView->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { ArrangeBy(section + 1); });
    connect(m_fileListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateSelectionCounters(); });
    connect(m_folderCombo, &QComboBox::activated, this, [this](int index) {
        if (m_client->Busy() || index < 0 || index >= static_cast<int>(m_comboNodes.size())) {
            const QSignalBlocker quiet(m_folderCombo);
            m_folderCombo->setCurrentIndex(m_comboIndex);
            return;
        }
        m_folderTreeView->setCurrentIndex(m_treeModel->IndexOf(m_comboNodes[index]));
        ListView()->setFocus();
    });
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{
             m_folderTreeView, m_fileListView, m_fileIconView}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            if (view == m_folderTreeView) {
                ShowFolderTreePopup(at);
            } else {
                ShowFileListPopup(view, at);
            }
        });
    }
    m_folderTreeView->OnStartDrag = [this] { StartDragFromTree(); };
    m_fileListView->OnStartDrag = [this] { StartDragFromList(); };
    m_fileIconView->OnStartDrag = [this] { StartDragFromList(); };
    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(200);
    connect(m_scrollTimer, &QTimer::timeout, this, [this] { AutoScroll(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { UpdateClipboardState(); });
    UpdateClipboardState();
    connect(m_folderTreeTitle, &TTitlePanel::Clicked, this,
            [this] { m_folderTreeView->setFocus(); });
    connect(m_fileListTitle, &TTitlePanel::Clicked, this, [this] { ListView()->setFocus(); });
    connect(m_fileListTitle, &TTitlePanel::DoubleClicked, this,
            [this] { TActionList::Run(m_act->Filtering); });
    m_folderTreeView->setFocus();
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

void TRemoteExpForm::ActivatePane(bool tree) {
    if (tree) {
        m_folderTreeView->setFocus();
    } else {
        ListView()->setFocus();
    }
    SetActivePane(tree);
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
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == m_folderTreeView) {
            SetActivePane(true);
        } else if (watched == m_fileListView || watched == m_fileIconView) {
            SetActivePane(false);
        }
        break;
    case QEvent::FocusOut:
        // The tree's mark stays while its own pop-up menu is open.
        if (watched == m_folderTreeView &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            SetTreeMark(nullptr);
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A key an in-place editor passes on (its Return ends the edit) is not the view's.
        if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
            QApplication::focusWidget() != watched) {
            break;
        }
        if (watched == m_fileListView || watched == m_fileIconView) {
            if (ListKeyPressed(key->key())) {
                return true;
            }
        } else if (watched == m_folderTreeView && key->key() == Qt::Key_Delete) {
            TActionList::Run(m_act->Delete);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == m_folderTreeView->viewport()) {
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() == Qt::RightButton) {
                // The right button marks a node for the pop-up menu; the selection stays.
                TFolderNode* node = m_treeModel->Node(m_folderTreeView->indexAt(at));
                SetTreeMark(node != SelectedNode() ? node : nullptr);
                m_folderTreeView->setFocus(Qt::MouseFocusReason);
                return true;
            }
            if (mouse->button() == Qt::LeftButton) {
                m_pressPoint = at;
            }
        }
        break;
    }
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if ((watched == m_fileListView->viewport() || watched == m_fileIconView->viewport()) &&
            mouse->button() == Qt::LeftButton) {
            auto* view =
                static_cast<QAbstractItemView*>(static_cast<QWidget*>(watched)->parentWidget());
            const QModelIndex at = view->indexAt(mouse->position().toPoint());
            if (at.isValid() && view->selectionModel()->isRowSelected(at.row(), {})) {
                TActionList::Run(mouse->modifiers() & Qt::AltModifier ? m_act->OnlineEdit
                                                                      : m_act->Open);
                return true;
            }
        }
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        if (DragEvent(watched, event)) {
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TRemoteExpForm::ListKeyPressed(int key) {
    switch (key) {
    case Qt::Key_Backspace:
        TActionList::Run(m_act->UpOneLevel);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        TActionList::Run(m_act->Open);
        return true;
    case Qt::Key_Delete:
        TActionList::Run(m_act->Delete);
        return true;
    default:
        return false;
    }
}

void TRemoteExpForm::ShowFolderTreePopup(const QPoint& at) {
    // Only over a node: the point just above the click decides, as for a right press.
    const QModelIndex index = m_folderTreeView->indexAt(at - QPoint(0, 1));
    if (!index.isValid()) {
        SetTreeMark(nullptr);
        return;
    }
    m_actions->UpdateAll();
    m_folderTreePopup->exec(m_folderTreeView->viewport()->mapToGlobal(at));
    SetTreeMark(nullptr);
}

void TRemoteExpForm::ShowFileListPopup(QAbstractItemView* view, const QPoint& at) {
    const QPoint point(std::max(0, at.x()), std::max(0, at.y()));
    m_actions->UpdateAll();
    QMenu* menu = m_selectedCount > 0 ? m_fileListPopup1 : m_fileListPopup2;
    menu->exec(view->viewport()->mapToGlobal(point));
}

void TRemoteExpForm::NodeRemoving(TFolderNode& node) {
    const auto within = [&](const TFolderNode* other) {
        return other != nullptr && TFolderTree::IsWithin(*other, node);
    };
    if (within(m_shownNode)) {
        m_shownNode = nullptr;
        m_fileList.Clear();
        m_listModel->Reset();
    }
    if (within(m_listingNode)) {
        m_listingNode = nullptr;
    }
    if (within(m_pendingNode)) {
        m_pendingNode = nullptr;
    }
    ForgetComboNodes(node);
}

// The folder combo loses the entries of a subtree that leaves the tree.
void TRemoteExpForm::ForgetComboNodes(TFolderNode& subtree) {
    const QSignalBlocker quiet(m_folderCombo);
    for (int index = static_cast<int>(m_comboNodes.size()) - 1; index >= 0; --index) {
        if (!TFolderTree::IsWithin(*m_comboNodes[static_cast<std::size_t>(index)], subtree)) {
            continue;
        }
        m_comboNodes.erase(m_comboNodes.begin() + index);
        m_folderCombo->removeItem(index);
        if (m_comboIndex == index) {
            m_comboIndex = -1;
        } else if (m_comboIndex > index) {
            --m_comboIndex;
        }
    }
    m_folderCombo->setCurrentIndex(m_comboIndex);
}

void TRemoteExpForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        SetTreeMark(nullptr);
    }
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
        FitNameWidth();
    }
    if (hadFocus) {
        m_fileViews->currentWidget()->setFocus();
    }
}

// The items of the icon view take the size of the widest name shown.
void TRemoteExpForm::FitNameWidth() {
    if (m_viewStyle == vsReport) {
        return;
    }
    QFont bold = m_fileIconView->font(); // folders listed before are drawn bold
    bold.setBold(true);
    const int widest = WidestNameWidth(bold, m_fileList.Count(), [this](std::size_t row) {
        return std::string_view(m_fileList.At(row).Name);
    });
    ApplyIconViewStyle(*m_fileIconView, m_viewStyle, widest);
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
    if (m_context.Main != nullptr) {
        m_context.Main->DisableRemoteExpTab(this);
    }
    hide();                            // gone for the user; the session ends behind it
    m_client->OnConnectDone = nullptr; // a connection under way lists nothing more
    if (m_client->Busy()) {
        m_client->StopThread(); // aborts the request under way
        return;
    }
    m_client->Quit();
    // A server that does not answer QUIT gets a short grace, not the whole inactivity limit;
    // then the connection is closed.
    QTimer::singleShot(kQuitGraceMs, this, [this] {
        if (!m_canClose) {
            m_client->StopThread();
        }
    });
}

} // namespace qx
