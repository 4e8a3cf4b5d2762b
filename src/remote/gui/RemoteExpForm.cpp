// SPDX-License-Identifier: GPL-3.0-or-later
// The remote explorer window: its parts on the explorer shell, its events, activation and
// closing. The session with the server is handled in RemoteExpSession.cpp, the settings in
// RemoteExpSettings.cpp.

#include "remote/gui/RemoteExpForm.h"
#include "remote/RemoteExpTexts.h"
#include "remote/gui/SessionLogView.h"
#include "sync/gui/LocalEntriesReader.h"

#include "platform/ConfigStore.h"
#include "remote/gui/FileListModel.h"
#include "remote/gui/FolderTreeModel.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteBookModel.h"
#include "settings/SiteProperties.h"
#include "settings/SpeedLimitSettings.h"
#include "sync/FolderPairing.h"
#include "widgets/ActionList.h"
#include "widgets/ExplorerShell.h"
#include "widgets/FileListViews.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <filesystem>

namespace qx {

namespace {

constexpr int kHelpContext = 1004;

} // namespace

TRemoteExpForm::TRemoteExpForm(TRemoteExpContext context, TSiteProperties* site, QWidget* owner)
    : TExplorerWindow(owner, kHelpContext), m_context(std::move(context)), m_site(site),
      m_fileList(m_compare) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("RemoteExpForm"));
    setWindowTitle(tr("Pellucor's Remote Explorer %1").arg(QString()));
    std::error_code noFolder;
    m_downloadFolder = std::filesystem::current_path(noFolder).string();
    m_compareReader = new TLocalEntriesReader(this);
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
    if (m_context.Pairing) {
        m_context.Pairing->Leave(this);
    }
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
    static constexpr int kFileStatusWidths[] = {180, 200};
    TExplorerShellSpec spec;
    spec.TreeWidth = 169 + 30;
    spec.ListWidth = 520;
    spec.TreeRootDecorated = false; // no expander before the root
    spec.FileStatus = kFileStatusWidths;
    spec.ListHeight = 300;
    spec.BottomHeight = 53 + 40;
    m_shell = new TExplorerShell(*this, spec);
    // Emptied when a line would be its 500th.
    m_log = new TSessionLogView(kMaxLogLines - 1, m_shell->BottomPanel());
    m_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_shell->BottomPanel()->layout()->addWidget(m_log);

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
    m_listModel = new TFileListModel(m_fileList, m_tree, this);
    m_shell->SetModels(m_treeModel, m_listModel);
    m_shell->SetNameWidth([this](const QFont& font) {
        QFont bold = font; // folders listed before are drawn bold
        bold.setBold(true);
        return WidestNameWidth(bold, m_fileList.Count(), [this](std::size_t row) {
            return std::string_view(m_fileList.At(row).Name);
        });
    });
    static constexpr int kColumnWidths[] = {120, 60, 100, 120, 80};
    for (int column = 0; column < 5; ++column) {
        m_shell->DetailsView().setColumnWidth(column, kColumnWidths[column] + 60);
    }
    ConnectModels();
    m_shell->WatchViews(*this);
    m_shell->OnTreeMenu = [this](const QPoint& at) { ShowFolderTreePopup(at); };
    m_shell->OnListMenu = [this](QAbstractItemView* view, const QPoint& at) {
        ShowFileListPopup(view, at);
    };
    m_shell->OnListTitleDoubleClick = [this] { TActionList::Run(Action("FileFilteringAction")); };
    m_shell->TreeView().OnStartDrag = [this] { StartDragFromTree(); };
    m_shell->DetailsView().OnStartDrag = [this] { StartDragFromList(); };
    m_shell->IconView().OnStartDrag = [this] { StartDragFromList(); };
    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(200);
    connect(m_scrollTimer, &QTimer::timeout, this, [this] { AutoScroll(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { UpdateClipboardState(); });
    UpdateClipboardState();
    TreeView().setFocus();
}

void TRemoteExpForm::ConnectModels() {
    connect(TreeView().selectionModel(), &QItemSelectionModel::currentChanged, this,
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
    connect(m_shell, &TExplorerShell::ColumnClicked, this,
            [this](int column) { ArrangeBy(column); });
    connect(m_shell->DetailsView().selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateSelectionCounters(); });
    QComboBox& combo = m_shell->FolderCombo();
    connect(&combo, &QComboBox::activated, this, [this, &combo](int index) {
        if (m_client->Busy() || index < 0 || index >= static_cast<int>(m_comboNodes.size())) {
            const QSignalBlocker quiet(combo);
            combo.setCurrentIndex(m_comboIndex);
            return;
        }
        TreeView().setCurrentIndex(m_treeModel->IndexOf(m_comboNodes[index]));
        ListView()->setFocus();
    });
}

QAbstractItemView* TRemoteExpForm::ListView() const {
    return m_shell->ListView();
}

QTreeView& TRemoteExpForm::TreeView() const {
    return m_shell->TreeView();
}

TFolderNode* TRemoteExpForm::SelectedNode() const {
    return m_treeModel->Node(TreeView().currentIndex());
}

void TRemoteExpForm::ApplyAppearance() {
    const QFont font(QString::fromStdString(m_context.Options.FontName),
                     m_context.Options.FontSize);
    setFont(font);
    m_log->setFont(font);
    m_shell->SetTitleColour(ColourFromBgr(m_context.Options.GradColor));
    // Changed global limits hold at once for a session that uses them.
    if (m_client && m_client->SpeedLimits.Download && m_site != nullptr) {
        const TSpeedLimitValues limits = EffectiveSpeedLimits(*m_site, m_context.Options);
        m_client->SpeedLimits.Download->SetRate(limits.Download);
        m_client->SpeedLimits.Upload->SetRate(limits.Upload);
    }
}

void TRemoteExpForm::ActivatePane(bool tree) {
    m_shell->ActivatePane(tree);
}

void TRemoteExpForm::ForgetSite(const TSiteProperties& site) {
    if (m_site == &site) {
        m_site = nullptr;
    }
}

bool TRemoteExpForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusOut:
        // The tree's mark stays while its own pop-up menu is open.
        if (watched == &TreeView() &&
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
        if (m_shell->IsListView(watched)) {
            if (ListKeyPressed(key->key())) {
                return true;
            }
        } else if (watched == &TreeView() && key->key() == Qt::Key_Delete) {
            TActionList::Run(Action("FileDeleteAction"));
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (watched == TreeView().viewport() &&
            TreeMousePressed(*static_cast<QMouseEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (ListDoubleClicked(watched, *static_cast<QMouseEvent*>(event))) {
            return true;
        }
        break;
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

bool TRemoteExpForm::TreeMousePressed(const QMouseEvent& mouse) {
    const QPoint at = mouse.position().toPoint();
    if (mouse.button() == Qt::RightButton) {
        // The right button marks a node for the pop-up menu; the selection stays.
        TFolderNode* node = m_treeModel->Node(TreeView().indexAt(at));
        SetTreeMark(node != SelectedNode() ? node : nullptr);
        TreeView().setFocus(Qt::MouseFocusReason);
        return true;
    }
    if (mouse.button() == Qt::LeftButton) {
        m_pressPoint = at;
    }
    return false;
}

bool TRemoteExpForm::ListDoubleClicked(QObject* viewport, const QMouseEvent& mouse) {
    auto* view = qobject_cast<QAbstractItemView*>(static_cast<QWidget*>(viewport)->parentWidget());
    if (!m_shell->IsListView(view) || view->viewport() != viewport ||
        mouse.button() != Qt::LeftButton) {
        return false;
    }
    const QModelIndex at = view->indexAt(mouse.position().toPoint());
    if (!at.isValid() || !view->selectionModel()->isRowSelected(at.row(), {})) {
        return false;
    }
    TActionList::Run(
        Action(mouse.modifiers() & Qt::AltModifier ? "FileOnlineEditAction" : "FileOpenAction"));
    return true;
}

bool TRemoteExpForm::ListKeyPressed(int key) {
    switch (key) {
    case Qt::Key_Backspace:
        TActionList::Run(Action("FileUpOneLevelAction"));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        TActionList::Run(Action("FileOpenAction"));
        return true;
    case Qt::Key_Delete:
        TActionList::Run(Action("FileDeleteAction"));
        return true;
    default:
        return false;
    }
}

void TRemoteExpForm::ShowFolderTreePopup(const QPoint& at) {
    // Only over a node: the point just above the click decides, as for a right press.
    const QModelIndex index = TreeView().indexAt(at - QPoint(0, 1));
    if (!index.isValid()) {
        SetTreeMark(nullptr);
        return;
    }
    m_actions->UpdateAll();
    m_popups.Tree->exec(TreeView().viewport()->mapToGlobal(at));
    SetTreeMark(nullptr);
}

void TRemoteExpForm::ShowFileListPopup(QAbstractItemView* view, const QPoint& at) {
    const QPoint point(std::max(0, at.x()), std::max(0, at.y()));
    m_actions->UpdateAll();
    QMenu* menu = m_selectedCount > 0 ? m_popups.List : m_popups.ListEmpty;
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
    QComboBox& combo = m_shell->FolderCombo();
    const QSignalBlocker quiet(combo);
    for (int index = static_cast<int>(m_comboNodes.size()) - 1; index >= 0; --index) {
        if (!TFolderTree::IsWithin(*m_comboNodes[static_cast<std::size_t>(index)], subtree)) {
            continue;
        }
        m_comboNodes.erase(m_comboNodes.begin() + index);
        combo.removeItem(index);
        if (m_comboIndex == index) {
            m_comboIndex = -1;
        } else if (m_comboIndex > index) {
            --m_comboIndex;
        }
    }
    combo.setCurrentIndex(m_comboIndex);
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
    m_shell->SetViewStyle(style);
}

int TRemoteExpForm::ViewStyle() const {
    return m_shell->ViewStyle();
}

void TRemoteExpForm::SetLogPanelVisible(bool visible) {
    m_shell->BottomPanel()->setVisible(visible);
}

QString TRemoteExpForm::StatusPanelText(int panel) const {
    return panel >= 0 && panel < 6 ? m_status[panel]->text() : QString();
}

QString TRemoteExpForm::FileStatusText(int panel) const {
    const QLabel* label = m_shell->FileStatus(panel);
    return label != nullptr ? label->text() : QString();
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
