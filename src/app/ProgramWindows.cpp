// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramWindows.h"

#include "app/AddressArgument.h"
#include "app/ScreenshotTour.h"
#include "editor/gui/OnlineEditorForm.h"
#include "local/gui/LocalExpForm.h"
#include "platform/ConfigStore.h"
#include "platform/PasswordStore.h"
#include "queue/QueueFile.h"
#include "queue/gui/CarrierForm.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "session/gui/OverwriteForm.h"
#include "session/gui/SshQuestionForm.h"
#include "settings/GlobalOptions.h"
#include "settings/QuickConnectAddress.h"
#include "settings/SiteBookModel.h"
#include "settings/gui/CertificateTrust.h"
#include "settings/gui/GlobalOptionsForm.h"
#include "settings/gui/SiteBookForm.h"
#include "settings/gui/SiteBookTreeModel.h"
#include "settings/gui/SiteBookTreeView.h"
#include "settings/gui/SitePropertiesForm.h"
#include "widgets/CoreTexts.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace qx {

namespace {
QString FontName(const TGlobalOptions& options) {
    return QString::fromStdString(options.FontName);
}

QString QueueTitle() {
    return QCoreApplication::translate("qx::TProgramWindows", "Quorvin Explorer Transfer Queue");
}
} // namespace

TProgramWindows::TProgramWindows(TConfigStore& store, TGlobalOptions& options,
                                 TRemoteExpList& explorers, TPasswordStore* passwords)
    : m_store(store), m_options(options), m_explorers(explorers), m_passwords(passwords),
      m_helpKey(m_help) {
    qApp->installEventFilter(&m_helpKey);

    TMainForm::Commands commands;
    commands.ShowSiteBook = [this] { ShowAndRestore(*m_siteBook); };
    commands.QuickConnect = [this] {
        if (QAction* quick = m_siteBook->Actions().QuickConnect) {
            quick->trigger();
        }
    };
    commands.ShowLocalExplorer = [this] { ShowAndRestore(*m_local); };
    commands.ShowCarrier = [this] { ShowAndRestore(*m_carrier); };
    commands.ShowOnlineEditor = [this] { ShowAndRestore(*m_onlineEditor); };
    commands.EditGlobalOptions = [this] { return EditGlobalOptions(); };
    commands.ApplyAppearance = [this] { ApplyAppearance(); };
    commands.ShowHelp = [this](int context) { m_help.ShowContext(context); };
    commands.ConfirmExit = [this] { return ConfirmExit(); };
    m_main = std::make_unique<TMainForm>(m_options, commands);
    QObject::connect(m_main.get(), &TMainForm::Closing, m_main.get(), [this] { CloseWindows(); });

    TLocalExpContext local{m_options, m_store, m_explorers, {}, m_main.get()};
    local.QueueItems = [this](std::vector<std::unique_ptr<TFTPCarryItem>> items) {
        m_carrier->AddItems(std::move(items));
        m_carrier->StartCarriers();
    };
    m_local = std::make_unique<TLocalExpForm>(local);

    m_siteBook = std::make_unique<TSiteBookForm>(m_store, m_options, nullptr, m_passwords);
    m_siteBook->SetConnect([this](TSiteProperties& site) { OpenExplorer(&site); });
    m_siteBook->SetQuickConnect(
        [this](std::unique_ptr<TSiteProperties> site) { OpenExplorer(site.release()); });
    m_siteBook->SetForgetSite([this](const TSiteProperties& site) {
        for (std::size_t index = 0; index < m_explorers.Count(); ++index) {
            if (auto* explorer = dynamic_cast<TRemoteExpForm*>(m_explorers.Items(index))) {
                explorer->ForgetSite(site);
            }
        }
    });

    m_carrier = std::make_unique<TCarrierForm>(
        TCarrierForm::ThreadedCarriers(
            m_ui, [this] { return m_options.Timeout; }, [this] { return m_options.KeepFileTimes; }),
        &m_options.ASCIIFileExts, m_store);
    m_carrier->Queue().AskOverwrite = [this](const TOverwriteQuestion& question) {
        if (const auto standing = StandingOverwriteChoice(m_options.WhenTargetExists)) {
            return TOverwriteAnswer{*standing, true, {}};
        }
        return TOverwriteForm::Ask(question, FontName(m_options), m_options.FontSize,
                                   m_carrier.get());
    };
    m_carrier->Queue().AskCertificate = [this](const TCertificateQuestion& question) {
        return AskCertificateTrust(question, m_store, FontName(m_options), m_options.FontSize,
                                   m_carrier.get());
    };
    // The queue's limits are the global ones: a choice in its window is kept as those.
    m_carrier->OnSpeedLimitsChosen = [this](std::int64_t download, std::int64_t upload) {
        m_options.SpeedLimits = {static_cast<std::int32_t>(download),
                                 static_cast<std::int32_t>(upload)};
        m_options.SaveToStore();
    };
    m_carrier->Queue().AskSshQuestion = [this](const sftp::TSshQuestion& question) {
        return AskSshQuestion(question, FontName(m_options), m_options.FontSize, m_carrier.get());
    };
    // What the queue put on a server shows in the explorers of that folder.
    m_carrier->Queue().AddItemEndListener([this](const TFTPCarryItem& item, TCarryEnd end) {
        if (end != TCarryEnd::Done || item.Direction == TCarryDirection::Download) {
            return;
        }
        for (std::size_t index = 0; index < m_explorers.Count(); ++index) {
            if (auto* explorer = dynamic_cast<TRemoteExpForm*>(m_explorers.Items(index))) {
                explorer->ServerFolderChanged(item.DestHostName, item.DestPort, item.DestUserName,
                                              item.DestPath);
            }
        }
    });
    m_carrier->SetRowIcons([](int index) {
        const TQtShellIcons* icons = QtShellIcons();
        return icons != nullptr ? icons->Icon(index) : QIcon();
    });
    RestoreQueue();
    m_onlineEditor = std::make_unique<TOnlineEditorForm>(TOnlineEditorContext{
        m_ui, m_options, m_store, [this](const std::string& file) { m_sounds.Play(file); }});
    ApplyAppearance();
}

TProgramWindows::~TProgramWindows() {
    qApp->removeEventFilter(&m_helpKey);
    if (m_carrier) {
        m_carrier->Queue().SetJournal(nullptr);
    }
}

void TProgramWindows::RestoreQueue() {
    m_queueFile = std::make_unique<TQueueFile>(TQueueFile::FileBeside(m_store.File()), m_passwords);
    TQueueFile::TKept kept = m_queueFile->TakeItems();
    TCarrierQueue& queue = m_carrier->Queue();
    if (!kept.Queued.empty()) {
        // Nothing starts by itself after a restart: the user resumes. Only this start waits.
        m_carrier->SuspendUntilResumed();
    }
    for (auto& item : kept.Queued) {
        FillPasswords(*item);
    }
    queue.AddItems(std::move(kept.Queued));
    for (auto& [item, error] : kept.Failed) {
        FillPasswords(*item);
        queue.AddFailedItem(std::move(item), std::move(error));
    }
    queue.SetJournal(m_queueFile.get());
    m_unreadableQueueEntries = kept.Unreadable;
    if (kept.Unreadable > 0) {
        std::fprintf(stderr,
                     "Quorvin Explorer: %zu unreadable entries of the transfer queue file "
                     "were left out.\n",
                     kept.Unreadable);
    }
    // Told on the queue file's journal thread: the message waits for the user-interface thread.
    m_queueFile->OnWriteProblem = [this](const std::string& problem) {
        QString text = QString::fromStdString(problem);
        text[0] = text[0].toUpper();
        text = QCoreApplication::translate(
                   "qx::TProgramWindows",
                   "%1.\n\nThe queue goes on in memory and is written again with its next "
                   "change; until then, what changed since is not kept if the program ends.")
                   .arg(text);
        QMetaObject::invokeMethod(
            m_carrier.get(),
            [this, text] { QMessageBox::warning(m_carrier.get(), QueueTitle(), text); },
            Qt::QueuedConnection);
    };
}

void TProgramWindows::FillPasswords(TFTPCarryItem& item) const {
    const auto fill = [this](const std::string& host, const std::string& port,
                             const std::string& user, std::string& password) {
        if (!password.empty() || host.empty()) {
            return;
        }
        if (user.empty() || user == "anonymous") {
            password = m_options.Email;
            return;
        }
        const auto find = [&](const auto& self, const TSiteBookNode& node) -> bool {
            if (const TSiteProperties* site = node.Properties();
                site != nullptr && site->HostName == host && std::to_string(site->Port) == port &&
                site->UserName == user && !site->Password.empty()) {
                password = site->Password;
                return true;
            }
            for (const auto& child : node.Children()) {
                if (self(self, *child)) {
                    return true;
                }
            }
            return false;
        };
        find(find, m_siteBook->Book().Root());
    };
    fill(item.SrcHostName, item.SrcPort, item.SrcUserName, item.SrcPassword);
    fill(item.DestHostName, item.DestPort, item.DestUserName, item.DestPassword);
}

void TProgramWindows::ShowAndRestore(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    }
    window.show();
    window.raise();
    window.activateWindow();
}

void TProgramWindows::ShowAtFirstActivation() {
    const TCarrierQueue& queue = m_carrier->Queue();
    const bool restored =
        queue.RowCount(TCarrierList::Queue) > 0 || queue.RowCount(TCarrierList::Fail) > 0;
    if (!restored) {
        m_carrier->showMinimized();
    }
    m_local->show();
    m_siteBook->PlaceBelow(*m_main); // the main window is framed by now
    m_siteBook->show();
    m_onlineEditor->PlaceBelow(*m_main);
    if (restored) {
        ShowAndRestore(*m_carrier); // what the last run left to do, waiting to be resumed
    }
    if (m_unreadableQueueEntries > 0) {
        const int unreadable = static_cast<int>(m_unreadableQueueEntries);
        QMessageBox::warning(m_carrier.get(), QueueTitle(),
                             QCoreApplication::translate(
                                 "qx::TProgramWindows",
                                 "%n entries of the transfer queue file could not be read and "
                                 "were left out.",
                                 nullptr, unreadable));
    }
    if (!m_queueFile->LoadProblem().empty()) {
        QString problem = CoreMessageText(m_queueFile->LoadMessage());
        problem[0] = problem[0].toUpper();
        QMessageBox::warning(m_carrier.get(), QueueTitle(), problem);
    }
}

TRemoteExpForm* TProgramWindows::OpenExplorer(TSiteProperties* site) {
    TRemoteExpContext context{m_ui, m_options, m_store, m_explorers, m_main.get(), {}, {}, {}, {}};
    context.PlaySound = [this](const std::string& file) { m_sounds.Play(file); };
    context.Passwords = m_passwords;
    context.LocalFolder = [this] { return m_local->LocalFolder(); };
    context.Pairing = m_local->Pairing();
    context.QueueItems = [this](std::vector<std::unique_ptr<TFTPCarryItem>> items) {
        m_carrier->AddItems(std::move(items));
        m_carrier->StartCarriers();
    };
    context.Queue = &m_carrier->Queue();
    context.OpenInEditor = [this](std::unique_ptr<TRemoteEditFile> file) {
        ShowAndRestore(*m_onlineEditor);
        m_onlineEditor->OpenRemoteFile(std::move(file));
    };
    auto* explorer = new TRemoteExpForm(context, site); // frees itself when it has closed
    explorer->show();
    return explorer;
}

TRemoteExpForm* TProgramWindows::OpenAddress(const QString& address) {
    std::string error;
    std::unique_ptr<TSiteProperties> site =
        QuickConnectSiteOf(address.toStdString(), m_options, error);
    if (site == nullptr) {
        ReportAddressProblem(m_main.get(), CannotOpenText(address, CoreText(error)));
        return nullptr;
    }
    // A user without a password: the keyring may know it, else the login asks.
    if (m_passwords != nullptr && site->Password.empty() && !site->UserName.empty()) {
        const auto kept = m_passwords->Lookup(site->PasswordKey());
        if (kept.Status == TPasswordStore::TLookup::Found) {
            site->Password = kept.Password;
        }
    }
    return OpenExplorer(site.release());
}

void TProgramWindows::ApplyAppearance() {
    const QString name = FontName(m_options);
    if (m_siteBook) {
        m_siteBook->ApplyAppearance(name, m_options.FontSize);
    }
    if (m_local) {
        m_local->ApplyAppearance();
    }
    if (m_carrier) {
        m_carrier->ApplyAppearance(name, m_options.FontSize);
        m_carrier->SetSpeedLimits(m_options.SpeedLimits.Download, m_options.SpeedLimits.Upload);
    }
    for (std::size_t index = 0; index < m_explorers.Count(); ++index) {
        if (auto* explorer = dynamic_cast<TRemoteExpForm*>(m_explorers.Items(index))) {
            explorer->ApplyAppearance();
        }
    }
}

bool TProgramWindows::EditGlobalOptions() {
    TGlobalOptionsForm dialog(m_options, QApplication::activeWindow());
    dialog.SetPlaySound([this](const QString& file) { m_sounds.Play(file.toStdString()); });
    return dialog.exec() == QDialog::Accepted;
}

bool TProgramWindows::ConfirmExit() {
    const int running = m_carrier->Queue().RunningCount();
    if (running == 0) {
        return true;
    }
    const QString text =
        running == 1
            ? QCoreApplication::translate(
                  "qx::TProgramWindows",
                  "A transfer is running in the Carrier. Exit and stop it?\n\nIt stays in the "
                  "queue: Resume carries it on at the next start.")
            : QCoreApplication::translate(
                  "qx::TProgramWindows",
                  "%1 transfers are running in the Carrier. Exit and stop them?\n\nThey stay "
                  "in the queue: Resume carries them on at the next start.")
                  .arg(running);
    QMessageBox box(
        QMessageBox::Question,
        QCoreApplication::translate("qx::TProgramWindows", "Quorvin Explorer Exit Confirm"), text,
        QMessageBox::NoButton, m_main.get());
    box.setObjectName(QStringLiteral("ExitConfirm"));
    QPushButton* exit = box.addButton(QCoreApplication::translate("qx::TProgramWindows", "E&xit"),
                                      QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == exit;
}

void TProgramWindows::CloseWindows() {
    m_onlineEditor->Finish(); // asks for its modified pages while its window still stands
    for (QWidget* window : std::initializer_list<QWidget*>{
             m_local.get(), m_siteBook.get(), m_carrier.get(), m_onlineEditor.get(), &m_help}) {
        window->hide();
    }
}

void TProgramWindows::Finish() {
    m_onlineEditor->Finish(); // asks for its modified pages while the windows still work
    // Every pass aborts what still runs; an abort ends at the latest with the carrier's
    // inactivity limit.
    while (!m_carrier->FinishWork(1000)) {
    }
    m_ui.Shutdown();
}

void TProgramWindows::StartDemoAndScreenshots() {
    const QString demo = qEnvironmentVariable("QUORVIN_DEMO_SERVER");
    TSiteBookModel& book = m_siteBook->Book();
    if (!demo.isEmpty() && book.Root().Children().empty()) {
        auto site = std::make_unique<TSiteProperties>(m_options);
        site->HostName = demo.section(QLatin1Char(':'), 0, 0).toStdString();
        site->Port = demo.section(QLatin1Char(':'), 1, 1).toInt();
        site->UserName = "anonymous";
        site->Password = m_options.Email;
        site->PassiveMode = true;
        site->LoginRetry = 3;
        m_siteBook->TreeModel().CreateSite(book.Root(), "Local demo server", std::move(site));
        m_siteBook->Tree().expandAll();
    }

    const QString folder = qEnvironmentVariable("QUORVIN_SCREENSHOTS");
    if (folder.isEmpty()) {
        return;
    }
    auto explorer = std::make_shared<QPointer<TRemoteExpForm>>();
    std::vector<TScreenshotTour::Step> steps;
    steps.push_back({QStringLiteral("site-book"), [this] {
                         ShowAndRestore(*m_siteBook);
                         return static_cast<QWidget*>(m_siteBook.get());
                     }});
    steps.push_back({QStringLiteral("remote-explorer"),
                     [this, explorer]() -> QWidget* {
                         const auto& children = m_siteBook->Book().Root().Children();
                         const auto site =
                             std::find_if(children.begin(), children.end(),
                                          [](const auto& node) { return node->IsSite(); });
                         if (site == children.end()) {
                             return nullptr;
                         }
                         *explorer = OpenExplorer((*site)->Properties());
                         (*explorer)->resize(900, 560);
                         return explorer->data();
                     },
                     [explorer] {
                         return explorer->isNull() ||
                                ((*explorer)->Connected() && !(*explorer)->FTPClient().Busy() &&
                                 (*explorer)->SelectedNode() != nullptr);
                     }});
    // The same explorer in the details view, in a folder listed after the first one.
    steps.push_back({QStringLiteral("remote-explorer-details"),
                     [explorer]() -> QWidget* {
                         if (explorer->isNull() || (*explorer)->Tree().Root() == nullptr) {
                             return nullptr;
                         }
                         TRemoteExpForm& form = **explorer;
                         form.SetViewStyle(TRemoteExpForm::vsReport);
                         for (const auto& child : form.Tree().Root()->Children) {
                             if (child->Text == "photos") {
                                 form.SelectFolder(*child);
                             }
                         }
                         return &form;
                     },
                     [explorer] {
                         return explorer->isNull() || (!(*explorer)->FTPClient().Busy() &&
                                                       (*explorer)->SelectedNode() != nullptr &&
                                                       (*explorer)->SelectedNode()->Listed());
                     }});
    steps.push_back({QStringLiteral("local-explorer"), [this] {
                         ShowAndRestore(*m_local);
                         m_local->SetViewStyle(TLocalExpForm::vsReport);
                         return static_cast<QWidget*>(m_local.get());
                     }});
    steps.push_back({QStringLiteral("main-window"), [this] { return m_main.get(); }});
    steps.push_back({QStringLiteral("carrier"), [this] {
                         ShowAndRestore(*m_carrier);
                         return static_cast<QWidget*>(m_carrier.get());
                     }});
    steps.push_back({QStringLiteral("help"), [this] {
                         m_help.ShowTopic(QStringLiteral("welcome.html"));
                         return static_cast<QWidget*>(&m_help);
                     }});
    auto options = std::make_shared<std::unique_ptr<TGlobalOptionsForm>>();
    steps.push_back({QStringLiteral("global-options"),
                     [this, options] {
                         *options = std::make_unique<TGlobalOptionsForm>(m_options);
                         (*options)->show();
                         return static_cast<QWidget*>(options->get());
                     },
                     {},
                     [options](QWidget*) { options->reset(); }});
    m_tour =
        std::make_unique<TScreenshotTour>(folder, std::move(steps), [this] { m_main->close(); });
    m_tour->Start(1500);
}

} // namespace qx
