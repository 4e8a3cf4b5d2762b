// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainForm.h"

#include "app/ExternalLink.h"
#include "settings/GlobalOptions.h"
#include "widgets/ActionList.h"
#include "widgets/EventWait.h"
#include "widgets/MainDataModule.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace qx {

namespace {

constexpr char kHomePage[] = "https://quorvin.example/";
constexpr char kDeveloperAddress[] = "developers@quorvin.example";
constexpr char kDeveloperMail[] = "mailto:developers@quorvin.example?subject=Quorvin%20Explorer";

// A right press on a tab acts as a click on it before the context menu opens: the tab becomes
// current and its explorer comes to the front, restored when it was minimised.
class TRemoteExpTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

    std::function<void(int index)> OnRightPress;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::RightButton) {
            QTabBar::mousePressEvent(event);
            return;
        }
        const int index = tabAt(event->position().toPoint());
        if (index >= 0) {
            {
                const QSignalBlocker quiet(this);
                setCurrentIndex(index);
            }
            if (OnRightPress) {
                OnRightPress(index);
            }
        }
        event->accept(); // the context menu follows
    }
};

void ShowAndRestore(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    }
    window.show();
    window.raise();
    window.activateWindow();
}

QWidget* ExplorerOf(const QTabBar* tabs, int index) {
    return index < 0 ? nullptr : tabs->tabData(index).value<QWidget*>();
}

// The text of a tab at a level of detail: 0 the host, 1 user@host, 2 with the port, 3 with the
// site's name as well.
QString TabText(const TRemoteExpTabName& name, int level) {
    QString text = name.HostName;
    if (level >= 1 && !name.UserName.isEmpty()) {
        text = name.UserName + QLatin1Char('@') + text;
    }
    if (level >= 2 && !name.Port.isEmpty()) {
        text += QLatin1Char(':') + name.Port;
    }
    if (level >= 3 && !name.SiteName.isEmpty()) {
        text += QStringLiteral(" (%1)").arg(name.SiteName);
    }
    return text;
}

} // namespace

TMainForm::TMainForm(const TGlobalOptions& options, Commands commands, QWidget* parent)
    : QMainWindow(parent), m_options(options), m_commands(std::move(commands)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Pellucor's %1 ").arg(QLatin1String(kProductTitle)));
    setProperty("helpContext", kHelpContext);
    auto* tabs = new TRemoteExpTabBar(this); // before the actions: their rules look at it
    tabs->OnRightPress = [this](int index) { ShowExplorerOfTab(index); };
    m_tabs = tabs;
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
    m_localExplorer =
        m_actions->Add({tr("&Local Explorer..."), tr("Local Explorer...|Show Local Explorer..."),
                        QKeySequence(Qt::SHIFT | Qt::Key_F2), TMainDataModule::LocalExplorer},
                       call(m_commands.ShowLocalExplorer), [this](QAction& action) {
                           action.setEnabled(static_cast<bool>(m_commands.ShowLocalExplorer));
                       });
    m_carrier = m_actions->Add({tr("&Carrier..."), tr("Carrier...|Show Carrier..."),
                                QKeySequence(Qt::SHIFT | Qt::Key_F3), TMainDataModule::Carrier},
                               call(m_commands.ShowCarrier));
    m_onlineEditor =
        m_actions->Add({tr("&Online Editor..."), tr("Online Editor...|Show Online Editor..."),
                        QKeySequence(Qt::SHIFT | Qt::Key_F4), TMainDataModule::OnlineEditor},
                       call(m_commands.ShowOnlineEditor), [this](QAction& action) {
                           action.setEnabled(static_cast<bool>(m_commands.ShowOnlineEditor));
                       });
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
                                [this] {
                                    OpenExternalLink(this, QUrl(QLatin1String(kHomePage)),
                                                     QLatin1String(kHomePage));
                                });
    m_writeToDeveloper = m_actions->Add(
        {tr("&Write to Developer..."),
         tr("Write to Developer...|Write a mail to the developers of Quorvin Explorer..."),
         {},
         TMainDataModule::WriteToDeveloper},
        [this] {
            OpenExternalLink(this, QUrl(QLatin1String(kDeveloperMail)),
                             QLatin1String(kDeveloperAddress));
        });
    m_about =
        m_actions->Add({tr("&About..."), tr("About...|About Quorvin Explorer..."), {}, -1}, [this] {
            QMessageBox::about(this, tr("About Quorvin Explorer"),
                               tr("<h3>%1</h3><p>A desktop FTP client: a site book, "
                                  "remote explorers, a transfer queue.</p>")
                                   .arg(QLatin1String(kProductTitle)));
        });

    // (none while it is closing)
    const auto current = [this] {
        const int index = m_tabs->currentIndex();
        return m_tabs->isTabEnabled(index) ? ExplorerOf(m_tabs, index) : nullptr;
    };
    m_tabRestore = m_actions->Add(
        {tr("&Restore"), tr("Restore|Restore Remote Explorer"), {}, TMainDataModule::Restore},
        [current] {
            if (QWidget* explorer = current()) {
                ShowAndRestore(*explorer);
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
    view->addAction(m_localExplorer);
    view->addAction(m_carrier);
    view->addAction(m_onlineEditor);
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
    m_toolbar->addAction(m_localExplorer);
    m_toolbar->addAction(m_carrier);
    m_toolbar->addAction(m_onlineEditor);
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

int TMainForm::AddRemoteExpTab(const TRemoteExpTabName& name, QWidget* explorer) {
    QIcon icon;
    if (const TQtShellIcons* icons = QtShellIcons()) {
        icon = icons->Icon(icons->NetworkIconIndex);
    }
    const QSignalBlocker quiet(m_tabs); // adding a tab shows nothing by itself
    const int index = m_tabs->addTab(icon, name.HostName);
    m_tabs->setTabData(index, QVariant::fromValue(explorer));
    m_tabNames.insert(explorer, name);
    NameTabs();
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
    m_tabNames.remove(explorer);
    NameTabs();
    if (m_tabs->count() == 0) {
        SetCaptionText({});
    }
}

void TMainForm::DisableRemoteExpTab(QWidget* explorer) {
    for (int index = 0; index < m_tabs->count(); ++index) {
        if (ExplorerOf(m_tabs, index) == explorer) {
            m_tabs->setTabEnabled(index, false);
        }
    }
}

void TMainForm::NameTabs() {
    const int count = m_tabs->count();
    QList<TRemoteExpTabName> names;
    for (int index = 0; index < count; ++index) {
        names.append(m_tabNames.value(ExplorerOf(m_tabs, index)));
    }
    // Every tab that reads like another one says more, until none does or all is said.
    QList<int> levels(count, 0);
    for (bool changed = true; changed;) {
        changed = false;
        QStringList texts;
        for (int index = 0; index < count; ++index) {
            texts.append(TabText(names[index], levels[index]));
        }
        for (int index = 0; index < count; ++index) {
            if (levels[index] < 3 && texts.count(texts[index]) > 1) {
                ++levels[index];
                changed = true;
            }
        }
    }
    for (int index = 0; index < count; ++index) {
        m_tabs->setTabText(index, TabText(names[index], levels[index]));
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
    if (QWidget* explorer = ExplorerOf(m_tabs, index); explorer && m_tabs->isTabEnabled(index)) {
        ShowAndRestore(*explorer);
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
    if (m_closing) {
        event->ignore(); // the close under way goes on
        return;
    }
    if (m_commands.ConfirmExit && !m_commands.ConfirmExit()) {
        event->ignore();
        return;
    }
    m_closing = true;
    Q_EMIT Closing();
    hide();
    CloseRemoteExplorers();
    event->accept();
    Q_EMIT Closed();
}

void TMainForm::CloseRemoteExplorers() {
    // Each explorer hides, ends its session (QUIT, with a short grace for the reply before the
    // connection is closed), waits for its worker to end and removes its tab when it is
    // destroyed. The wait has no limit of its own: no window may go while a worker still runs.
    // An explorer opened meanwhile is asked at once, and every one that is left is asked again
    // every two seconds (a close that comes while it is already closing changes nothing).
    QList<QPointer<QWidget>> asked;
    int polls = 0;
    const auto askTheNewOnes = [this, &asked] {
        for (int index = 0; index < m_tabs->count(); ++index) {
            QWidget* explorer = ExplorerOf(m_tabs, index);
            if (explorer != nullptr && !asked.contains(explorer)) {
                asked.append(explorer);
                QMetaObject::invokeMethod(explorer, &QWidget::close, Qt::QueuedConnection);
            }
        }
    };
    askTheNewOnes();
    if (m_tabs->count() == 0) {
        return;
    }
    RunEventsUntil([this, &asked, &polls, &askTheNewOnes] {
        if (m_tabs->count() == 0) {
            return true;
        }
        if (++polls % 100 == 0) {
            asked.clear();
        }
        askTheNewOnes();
        return false;
    });
}

} // namespace qx
