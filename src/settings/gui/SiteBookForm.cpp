// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SiteBookForm.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/StoreKeys.h"
#include "settings/gui/FormAppearance.h"
#include "settings/gui/SiteBookTreeModel.h"
#include "settings/gui/SiteBookTreeView.h"
#include "widgets/ActionList.h"
#include "widgets/MainDataModule.h"
#include "widgets/TitlePanel.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace qx {

namespace {

const std::string ToolbarKey = std::string(SiteBookKey) + "\\Toolbar";
constexpr char ToolbarStateValue[] = "State";
constexpr int DefaultWidth = 320;
constexpr int DefaultHeight = 480;

using TImage = TMainDataModule::ActionImage;

} // namespace

TSiteBookForm::TSiteBookForm(TConfigStore& store, const TGlobalOptions& options, QWidget* parent,
                             TPasswordStore* passwords)
    : QMainWindow(parent), m_store(store), m_options(options),
      m_book(std::make_unique<TSiteBookModel>(store, options, TSiteBookModel::CurrentUserName(),
                                              passwords)),
      m_startProgram(&StartDetachedProgram) {
    setObjectName(QStringLiteral("SiteBookForm"));
    setWindowTitle(tr("Pellucor's Site Book "));
    setProperty("helpContext", kHelpContext);

    CreateCentralWidget();
    CreateActions();
    CreateMenusAndToolbars();
    m_siteStatus = new QLabel(this);
    m_siteStatus->setObjectName(QStringLiteral("SiteStatusLabel"));
    statusBar()->addWidget(m_siteStatus, 1);

    ApplyAppearance(ToQt(options.FontName), options.FontSize);
    LoadSettings();
    ShowTree();
}

TSiteBookForm::~TSiteBookForm() {
    SaveSettings();
    // The view lets go of the tree before the book frees its nodes.
    m_tree->setModel(nullptr);
    m_book.reset();
}

void TSiteBookForm::SetForgetSite(TSiteBookModel::TForgetSite forgetSite) {
    m_book->SetForgetSite(std::move(forgetSite));
}

void TSiteBookForm::CreateCentralWidget() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_titlePanel = new TTitlePanel(central);
    m_titlePanel->setObjectName(QStringLiteral("SiteBookGradPanel"));
    layout->addWidget(m_titlePanel);
    m_tree = new TSiteBookTreeView(central);
    m_tree->setObjectName(QStringLiteral("SiteBookTreeView"));
    m_treeModel = new TSiteBookTreeModel(*m_book, this);
    m_tree->setModel(m_treeModel);
    layout->addWidget(m_tree, 1);
    setCentralWidget(central);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TSiteBookForm::UpdateSelectionTexts);
    connect(m_treeModel, &QAbstractItemModel::dataChanged, this,
            &TSiteBookForm::UpdateSelectionTexts);
    connect(m_treeModel, &TSiteBookTreeModel::RenameRequested, this,
            &TSiteBookForm::RenameConfirmed);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &TSiteBookForm::ShowContextMenu);
    connect(m_tree, &TSiteBookTreeView::NodeDoubleClicked, this,
            [this](const QModelIndex& /*index*/, Qt::KeyboardModifiers modifiers) {
                const bool alt = modifiers.testFlag(Qt::AltModifier);
                RunCommand(alt ? m_actions.Properties : m_actions.Connect);
            });
}

void TSiteBookForm::CreateActions() {
    m_actionList = new TActionList(this);
    const auto isSite = [this](QAction& action) {
        const TSiteBookNode* node = TargetNode();
        action.setEnabled(node != nullptr && node->IsSite());
    };
    const auto isFolder = [this](QAction& action) {
        const TSiteBookNode* node = TargetNode();
        action.setEnabled(node != nullptr && !node->IsSite());
    };
    const auto isNotRoot = [this](QAction& action) {
        const TSiteBookNode* node = TargetNode();
        action.setEnabled(node != nullptr && !node->IsRoot());
    };
    const auto add = [this](const char* name, const TActionSpec& spec, TActionList::Execute execute,
                            TActionList::Update update = {}) {
        QAction* action = m_actionList->Add(spec, std::move(execute), std::move(update));
        action->setObjectName(QLatin1String(name));
        return action;
    };

    m_actions.Connect = add(
        "SiteConnectAction",
        {tr("&Connect..."), tr("Connect...|Connect to Selected Site..."), {}, TImage::Connect},
        [this] { ConnectTo(*TargetNode()); }, isSite);
    m_actions.QuickConnect = add("SiteQuickConnectAction",
                                 {tr("&Quick Connect..."), tr("Quick Connect..."),
                                  QKeySequence(Qt::Key_F4), TImage::QuickConnect},
                                 [this] { QuickConnect(); });
    m_actions.NewFolder = add(
        "SiteNewFolderAction",
        {tr("New &Folder"), tr("New Folder|Make New Folder"), QKeySequence(Qt::Key_F11),
         TImage::NewFolder},
        [this] { NewFolder(); }, isFolder);
    m_actions.NewSite = add(
        "SiteNewSiteAction",
        {tr("New &Site..."), tr("New Site...|Make New Site..."), QKeySequence(Qt::Key_F12),
         TImage::NewSite},
        [this] { NewSite(); }, isFolder);
    m_actions.Delete = add(
        "SiteDeleteAction",
        {tr("&Delete"), tr("Delete|Delete Selected Node"), QKeySequence(Qt::Key_Delete),
         TImage::Delete},
        [this] { DeleteNode(); }, isNotRoot);
    // The Delete key belongs to the tree, so that it never reaches past an open label editor.
    removeAction(m_actions.Delete);
    m_tree->addAction(m_actions.Delete);
    m_actions.Delete->setShortcutContext(Qt::WidgetShortcut);
    m_actions.Rename = add(
        "SiteRenameAction",
        {tr("Rena&me"), tr("Rename|Rename Selected Node"), QKeySequence(Qt::Key_F2),
         TImage::Rename},
        [this] { RenameNode(); }, isNotRoot);
    m_actions.Properties = add(
        "SitePropertiesAction",
        {tr("P&roperties..."),
         tr("Properties...|View Selected Site Properties..."),
         {},
         TImage::Properties},
        [this] { EditProperties(); }, isSite);
    m_actions.Hide =
        add("SiteHideAction", {tr("&Hide"), tr("Hide|Hide Site Book"), {}, TImage::Hide},
            [this] { hide(); });
    m_actions.Ping = add(
        "ToolPingAction",
        {tr("&Ping..."), tr("Ping...|Ping to Selected Site..."), {}, TImage::Ping},
        [this] { StartSiteTool(m_options.PingApp, tr("Site Book Ping Error")); }, isSite);
    m_actions.Telnet = add(
        "ToolTelnetAction",
        {tr("&Telnet..."), tr("Telnet...|Telnet to Selected Site..."), {}, TImage::Telnet},
        [this] { StartSiteTool(m_options.TelnetApp, tr("Site Book Telnet Error")); }, isSite);
    m_actions.Import = add(
        "SiteImportAction",
        {tr("&Import Sites..."),
         tr("Import Sites...|Import Sites of Another Client or of a Site Book "
            "File into the Selected Folder..."),
         {},
         -1},
        [this] { ImportSites(); }, isFolder);
    m_actions.Export = add("SiteExportAction",
                           {tr("&Export Site Book..."),
                            tr("Export Site Book...|Write the Site Book to a File..."),
                            {},
                            -1},
                           [this] { ExportSites(); });
}

void TSiteBookForm::CreateMenusAndToolbars() {
    const TActions& a = m_actions;
    QMenu* site = menuBar()->addMenu(tr("&Site"));
    site->addActions({a.Connect, a.QuickConnect});
    site->addSeparator();
    site->addActions({a.NewFolder, a.NewSite});
    site->addSeparator();
    site->addActions({a.Delete, a.Rename, a.Properties});
    site->addSeparator();
    site->addActions({a.Import, a.Export});
    site->addSeparator();
    site->addAction(a.Hide);
    QMenu* tool = menuBar()->addMenu(tr("&Tool"));
    tool->addActions({a.Ping, a.Telnet});

    QToolBar* siteBar = addToolBar(tr("Site Book Toolbar"));
    siteBar->setObjectName(QStringLiteral("SiteBookToolbar"));
    siteBar->addActions({a.Connect, a.QuickConnect});
    siteBar->addSeparator();
    siteBar->addActions({a.NewFolder, a.NewSite});
    siteBar->addSeparator();
    siteBar->addActions({a.Delete, a.Properties});
    QToolBar* toolBar = addToolBar(tr("Tool Toolbar"));
    toolBar->setObjectName(QStringLiteral("ToolToolbar"));
    toolBar->addActions({a.Ping, a.Telnet});
}

void TSiteBookForm::ShowContextMenu(const QPoint& at) {
    if (!m_tree->indexAt(at).isValid()) {
        m_tree->ClearDropTarget();
        return;
    }
    m_actionList->UpdateAll();
    const TActions& a = m_actions;
    QMenu menu(this);
    menu.addAction(a.Connect);
    menu.addSeparator();
    menu.addActions({a.NewFolder, a.NewSite});
    menu.addSeparator();
    menu.addActions({a.Delete, a.Rename, a.Properties});
    menu.addSeparator();
    menu.addActions({a.Ping, a.Telnet});
    menu.exec(m_tree->viewport()->mapToGlobal(at));
    m_tree->ClearDropTarget();
}

void TSiteBookForm::ShowTree() {
    m_treeModel->Reload();
    const QModelIndex root = m_treeModel->RootIndex();
    m_tree->setCurrentIndex(root);
    m_tree->expandAll();
    UpdateSelectionTexts();
}

TSiteBookNode* TSiteBookForm::TargetNode() const {
    const QModelIndex target = m_tree->DropTarget();
    return m_treeModel->Node(target.isValid() ? target : m_tree->currentIndex());
}

void TSiteBookForm::RunCommand(QAction* action) {
    // A disabled action ignores its trigger, so a rule that has just become true must be
    // applied first.
    m_actionList->UpdateAll();
    TActionList::Run(action);
}

void TSiteBookForm::SelectNode(const TSiteBookNode& node) {
    const QModelIndex index = m_treeModel->IndexOf(&node);
    m_tree->expand(index.parent());
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

void TSiteBookForm::UpdateSelectionTexts() {
    const TSiteBookNode* node = m_treeModel->Node(m_tree->currentIndex());
    const QString text = node != nullptr ? ToQt(node->Text()) : QString();
    m_titlePanel->SetCaptionText(tr("Site Book [%1]").arg(text));
    const TSiteProperties* site = node != nullptr ? node->Properties() : nullptr;
    m_siteStatus->setText(
        site != nullptr ? QStringLiteral("%1@%2").arg(ToQt(site->UserName), ToQt(site->HostName))
                        : QString());
}

void TSiteBookForm::ApplyAppearance(const QString& fontName, int fontSize) {
    setFont(QFont(fontName, fontSize));
    m_titlePanel->SetColours(Qt::black, ColorFromStored(m_options.GradColor));
}

void TSiteBookForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        m_tree->ClearDropTarget();
    }
    QMainWindow::changeEvent(event);
}

void TSiteBookForm::LoadSettings() {
    resize(DefaultWidth, DefaultHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + area.width() - width(), area.top() + 5);
    }
    if (const auto state = m_store.ReadBinary(ToolbarKey, ToolbarStateValue)) {
        restoreState(QByteArray(reinterpret_cast<const char*>(state->data()),
                                static_cast<qsizetype>(state->size())));
    }
    const std::string key(SiteBookKey);
    const auto read = [&](const char* name, int fallback) {
        return m_store.ReadNumber(key, name).value_or(fallback);
    };
    m_storedLeft = m_store.ReadNumber(key, "Left").has_value();
    m_storedTop = m_store.ReadNumber(key, "Top").has_value();
    move(read("Left", x()), read("Top", y()));
    resize(read("Width", width()), read("Height", height()));
}

void TSiteBookForm::PlaceBelow(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QRect above = window.frameGeometry();
    // This window is not framed yet: its frame is taken to be as wide as the other's.
    const int frameWidth = above.width() - window.width();
    QPoint place = pos(); // move() places the frame's corner
    if (!m_storedLeft) {
        place.setX(area.left() + area.width() - width() - frameWidth);
    }
    if (!m_storedTop) {
        place.setY(above.top() + above.height() + 5);
    }
    move(place);
}

void TSiteBookForm::SaveSettings() {
    const TConfigBatch batch(m_store);
    const QByteArray state = saveState();
    m_store.CreateKey(ToolbarKey);
    m_store.WriteBinary(ToolbarKey, ToolbarStateValue,
                        std::vector<std::uint8_t>(state.begin(), state.end()));
    if (isMinimized() || isMaximized()) {
        return;
    }
    const std::string key(SiteBookKey);
    m_store.CreateKey(key);
    m_store.WriteNumber(key, "Left", x());
    m_store.WriteNumber(key, "Top", y());
    m_store.WriteNumber(key, "Width", width());
    m_store.WriteNumber(key, "Height", height());
}

} // namespace qx
