#include "app/MainForm.h"

#include "settings/GlobalOptions.h"
#include "widgets/ActionList.h"
#include "widgets/MainDataModule.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace qx {

namespace {

constexpr char kHomePage[] = "https://quorvin.example/";
constexpr char kDeveloperMail[] = "mailto:developers@quorvin.example?subject=Quorvin%20Explorer";

// A right press on a tab makes that tab current before the context menu opens.
class TRemoteExpTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton) {
            const int index = tabAt(event->position().toPoint());
            if (index >= 0) {
                setCurrentIndex(index);
            }
        }
        QTabBar::mousePressEvent(event);
    }
};

QWidget* ExplorerOf(const QTabBar* tabs, int index) {
    return index < 0 ? nullptr : tabs->tabData(index).value<QWidget*>();
}

} // namespace

TMainForm::TMainForm(const TGlobalOptions& options, Commands commands, QWidget* parent)
    : QMainWindow(parent), m_options(options), m_commands(std::move(commands)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Pellucor's %1 ").arg(QLatin1String(kProductTitle)));
    setProperty("helpContext", kHelpContext);
    m_tabs = new TRemoteExpTabBar(this); // before the actions: their rules look at it
    CreateActions();
    CreateMenusAndToolbar();
    statusBar()->setSizeGripEnabled(false);
    ApplyAppearance();

    // The status bar shows the long hints of every window of the program.
    qApp->installEventFilter(this);

    // A strip over the full width of the screen, as high as its parts.
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left(), area.top());
        setMaximumWidth(area.width());
        resize(area.width(), sizeHint().height());
    }
    setFixedHeight(sizeHint().height());
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
}

void TMainForm::CreateActions() {
    m_actions = new TActionList(this);
    const auto call = [](const std::function<void()>& command) {
        return [command] {
            if (command) {
                command();
            }
        };
    };
    m_siteBook = m_actions->Add({tr("&Site Book..."), tr("Site Book...|Show Site Book"),
                                 QKeySequence(Qt::Key_F3), TMainDataModule::SiteBook},
                                call(m_commands.ShowSiteBook));
    m_quickConnect = m_actions->Add({tr("&Quick Connect..."), tr("Quick Connect..."),
                                     QKeySequence(Qt::Key_F4), TMainDataModule::QuickConnect},
                                    call(m_commands.QuickConnect));
    m_exit = m_actions->Add({tr("E&xit"), tr("Exit|Terminate Quorvin Explorer"), {}, -1},
                            [this] { close(); });
    m_carrier = m_actions->Add({tr("&Carrier..."), tr("Carrier...|Show Carrier..."),
                                QKeySequence(Qt::SHIFT | Qt::Key_F3), TMainDataModule::Carrier},
                               call(m_commands.ShowCarrier));
    m_globalOptions =
        m_actions->Add({tr("Global &Options..."),
                        tr("GlobalOptions...|Setting Global Options..."),
                        {},
                        TMainDataModule::GlobalOptions},
                       [this] {
                           if (m_commands.EditGlobalOptions && m_commands.EditGlobalOptions()) {
                               ApplyAppearance();
                           }
                       });
    m_helpContents = m_actions->Add({tr("&Contents..."),
                                     tr("Contents...|Show Help Contents..."),
                                     {},
                                     TMainDataModule::HelpContents},
                                    [this] {
                                        if (m_commands.ShowHelp) {
                                            m_commands.ShowHelp(0); // the welcome page
                                        }
                                    });
    m_homePage = m_actions->Add({tr("&Home Page..."),
                                 tr("Home Page...|Visit Quorvin Explorer Home Page..."),
                                 {},
                                 TMainDataModule::HomePage},
                                [] { QDesktopServices::openUrl(QUrl(QLatin1String(kHomePage))); });
    m_writeToDeveloper = m_actions->Add(
        {tr("&Write to Developer..."),
         tr("Write to Developer...|Write a mail to the developers of Quorvin Explorer..."),
         {},
         TMainDataModule::WriteToDeveloper},
        [] { QDesktopServices::openUrl(QUrl(QLatin1String(kDeveloperMail))); });
    m_about =
        m_actions->Add({tr("&About..."), tr("About...|About Quorvin Explorer..."), {}, -1}, [this] {
            QMessageBox::about(this, tr("About Quorvin Explorer"),
                               tr("<h3>%1</h3><p>A desktop FTP client: a site book, "
                                  "remote explorers, a transfer queue.</p>")
                                   .arg(QLatin1String(kProductTitle)));
        });

    const auto current = [this] { return ExplorerOf(m_tabs, m_tabs->currentIndex()); };
    m_tabRestore = m_actions->Add(
        {tr("&Restore"), tr("Restore|Restore Remote Explorer"), {}, TMainDataModule::Restore},
        [current] {
            if (QWidget* explorer = current()) {
                explorer->showNormal();
            }
        },
        [current](QAction& action) {
            const QWidget* explorer = current();
            action.setEnabled(explorer != nullptr && explorer->isMinimized());
        });
    m_tabMinimize = m_actions->Add(
        {tr("&Minimize"), tr("Minize|Minize Remote Explorer"), {}, TMainDataModule::Minimize},
        [current] {
            if (QWidget* explorer = current()) {
                explorer->showMinimized();
            }
        },
        [current](QAction& action) {
            const QWidget* explorer = current();
            action.setEnabled(explorer != nullptr && !explorer->isMinimized());
        });
    m_tabClose = m_actions->Add(
        {tr("&Close"), tr("Close|Close Remote Explorer"), {}, TMainDataModule::CloseExplorer},
        [current] {
            if (QWidget* explorer = current()) {
                explorer->close();
            }
        },
        [current](QAction& action) { action.setEnabled(current() != nullptr); });
}

void TMainForm::CreateMenusAndToolbar() {
    // The gradient caption above the menu: the product and the active explorer.
    auto* header = new QWidget(this);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    m_caption = new QLabel(header);
    m_caption->setObjectName(QStringLiteral("GradientCaption"));
    m_caption->setContentsMargins(8, 3, 8, 3);
    headerLayout->addWidget(m_caption);
    auto* menus = new QMenuBar(header);
    headerLayout->addWidget(menus);
    setMenuWidget(header);
    UpdateCaption();

    QMenu* file = menus->addMenu(tr("&File"));
    file->addAction(m_siteBook);
    file->addAction(m_quickConnect);
    file->addSeparator();
    file->addAction(m_exit);
    QMenu* view = menus->addMenu(tr("&View"));
    view->addAction(m_carrier);
    view->addSeparator();
    view->addAction(m_globalOptions);
    QMenu* help = menus->addMenu(tr("&Help"));
    help->addAction(m_helpContents);
    help->addSeparator();
    help->addAction(m_homePage);
    help->addAction(m_writeToDeveloper);
    help->addSeparator();
    help->addAction(m_about);

    m_toolbar = addToolBar(tr("Main"));
    m_toolbar->setObjectName(QStringLiteral("MainToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->addAction(m_siteBook);
    m_toolbar->addAction(m_quickConnect);
    m_toolbar->addSeparator();
    m_toolbar->addAction(m_carrier);
    m_toolbar->addSeparator();
    m_toolbar->addAction(m_helpContents);
    m_toolbar->addSeparator();
    m_toolbar->addAction(m_homePage);
    m_toolbar->addAction(m_writeToDeveloper);
    m_toolbar->addSeparator();

    m_tabs->setObjectName(QStringLiteral("RemoteExpListTabControl"));
    m_tabs->setDocumentMode(true);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setToolTip(tr("Remote Explorer List"));
    m_tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    m_toolbar->addWidget(m_tabs);
    connect(m_tabs, &QTabBar::tabBarClicked, this, &TMainForm::ShowExplorerOfTab);
    connect(m_tabs, &QTabBar::currentChanged, this, &TMainForm::ShowExplorerOfTab);
    connect(m_tabs, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_actions->UpdateAll();
        QMenu menu(this);
        menu.addAction(m_tabRestore);
        menu.addAction(m_tabMinimize);
        menu.addSeparator();
        menu.addAction(m_tabClose);
        menu.exec(m_tabs->mapToGlobal(at));
    });
}

void TMainForm::UpdateCaption() {
    const QString text =
        m_captionText.isEmpty()
            ? QLatin1String(kProductTitle)
            : QStringLiteral("%1 - %2").arg(QLatin1String(kProductTitle), m_captionText);
    m_caption->setText(text);
    const QColor left = palette().color(QPalette::Highlight);
    m_caption->setStyleSheet(
        QStringLiteral("QLabel#GradientCaption { color: %1; font-weight: bold; background: "
                       "qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 %2, stop:1 %3); }")
            .arg(palette().color(QPalette::HighlightedText).name(), left.name(),
                 palette().color(QPalette::Window).name()));
}

void TMainForm::SetCaptionText(const QString& text) {
    m_captionText = text;
    UpdateCaption();
}

int TMainForm::AddRemoteExpTab(const QString& hostName, QWidget* explorer) {
    QIcon icon;
    if (const TQtShellIcons* icons = QtShellIcons()) {
        icon = icons->Icon(icons->NetworkIconIndex);
    }
    const QSignalBlocker quiet(m_tabs); // adding a tab shows nothing by itself
    const int index = m_tabs->addTab(icon, hostName);
    m_tabs->setTabData(index, QVariant::fromValue(explorer));
    return index;
}

void TMainForm::DeleteRemoteExpTab(QWidget* explorer) {
    for (int index = 0; index < m_tabs->count(); ++index) {
        if (ExplorerOf(m_tabs, index) == explorer) {
            const QSignalBlocker quiet(m_tabs);
            m_tabs->removeTab(index);
            break;
        }
    }
    if (m_tabs->count() == 0) {
        SetCaptionText({});
    }
}

void TMainForm::SelectRemoteExpTab(QWidget* explorer) {
    const QSignalBlocker quiet(m_tabs);
    for (int index = 0; index < m_tabs->count(); ++index) {
        if (ExplorerOf(m_tabs, index) == explorer) {
            m_tabs->setCurrentIndex(index);
            return;
        }
    }
    m_tabs->setCurrentIndex(-1);
}

QWidget* TMainForm::GetActiveRemoteExp() const {
    return ExplorerOf(m_tabs, m_tabs->currentIndex());
}

int TMainForm::RemoteExpTabCount() const {
    return m_tabs->count();
}

void TMainForm::ShowExplorerOfTab(int index) {
    if (QWidget* explorer = ExplorerOf(m_tabs, index)) {
        if (explorer->isMinimized()) {
            explorer->showNormal();
        }
        explorer->show();
        explorer->raise();
        explorer->activateWindow();
    }
}

void TMainForm::ApplyAppearance() {
    setFont(QFont(QString::fromStdString(m_options.FontName), m_options.FontSize));
    if (m_commands.ApplyAppearance) {
        m_commands.ApplyAppearance();
    }
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_firstActivationDone) {
        m_firstActivationDone = true;
        Q_EMIT FirstActivated();
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::StatusTip && watched != this) {
        // Long hints of the other windows appear here too.
        auto* tip = static_cast<QStatusTipEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() != this) {
            statusBar()->showMessage(tip->tip());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        // Every explorer ends its session and removes its tab when it is gone.
        for (int index = m_tabs->count() - 1; index >= 0; --index) {
            if (QWidget* explorer = ExplorerOf(m_tabs, index)) {
                QMetaObject::invokeMethod(explorer, &QWidget::close, Qt::QueuedConnection);
            }
        }
        QElapsedTimer waited;
        waited.start();
        while (m_tabs->count() > 0 && waited.elapsed() < 60'000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }
    event->accept();
}

} // namespace qx
