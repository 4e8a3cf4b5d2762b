// SPDX-License-Identifier: GPL-3.0-or-later
// Quorvin Explorer: the desktop program. Start-up creates the shared objects, makes sure only
// one instance runs, shows the splash picture and then the long-lived windows, in that order.
// Closing the main window closes every remote explorer and ends the program.
//
//   quorvin-explorer [ftp://[user[:password]@]host[:port]/path]
//
// With an address the program opens a quick-connect explorer at that folder; a running
// instance is handed the address and opens it.

#include "app/AddressArgument.h"
#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/ProgramTranslations.h"
#include "app/ProgramWindows.h"
#include "app/SingleInstance.h"
#include "app/SplashForm.h"
#include "platform/ConfigStore.h"
#include "platform/SecretPasswordStore.h"
#include "settings/GlobalOptions.h"
#include "widgets/CoreTexts.h"
#include "widgets/MainDataModule.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include <memory>

using namespace qx;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(help);
    Q_INIT_RESOURCE(icons);
    QApplication::setApplicationName(QStringLiteral("quorvin-explorer"));
    QApplication::setApplicationVersion(QStringLiteral("2000.2"));
    // The texts in the user's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), before any window.
    const TProgramTranslations translations(QLocale::system().uiLanguages(), TranslationFolders());
    // The program ends with its main window, not with its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    TMainDataModule::ChooseIconThemes();
    // The installed icon of the theme, else the one built in (the desktop entry's name ties the
    // windows to the entry, and so to its icon, on desktops that look it up).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.pellucor.QuorvinExplorer"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("com.pellucor.QuorvinExplorer"),
                         QIcon(QStringLiteral(":/icons/com.pellucor.QuorvinExplorer.svg"))));

    const TAddressArgument argument = ParseAddressArgument(QApplication::arguments().mid(1));
    if (!argument.Problem.isEmpty()) {
        ReportAddressProblem(nullptr, argument.Problem);
        return 2;
    }

    // The shared objects, in this order; freed in the reverse order at the end, the options
    // saving themselves last.
    InstallSharedShellIcons(std::make_unique<TQtShellIcons>());
    TSecretPasswordStore passwords;
    std::unique_ptr<TConfigStore> store;
    std::unique_ptr<TGlobalOptions> options;
    try {
        store = std::make_unique<TConfigStore>(TConfigStore::DefaultFile());
        options = std::make_unique<TGlobalOptions>(*store, &passwords);
        options->LoadFromStore();
    } catch (const std::exception& error) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Quorvin Explorer"),
            QCoreApplication::translate("qx::ProgramStart", "Quorvin Explorer cannot start: %1")
                .arg(QString::fromUtf8(error.what())));
        return 1;
    }
    TRemoteExpList explorers;

    TSingleInstance instance(TSingleInstance::DefaultServerName());
    if (instance.ActivateRunningInstance(argument.Address)) {
        return 0; // the running instance came to the front (and opens the address)
    }
    if (!store->LoadProblem().empty()) {
        // Before the splash, which stays on top.
        QString problem = CoreMessageText(store->LoadMessage());
        problem[0] = problem[0].toUpper();
        QMessageBox::warning(
            nullptr,
            QCoreApplication::translate("qx::ProgramStart", "Quorvin Explorer Settings Error"),
            problem);
    }
    auto splash = std::make_unique<TSplashForm>(TSplashForm::FindPicture());
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    if (!instance.Listen(argument.Address)) {
        return 0; // another start got there first and has been asked to come forward
    }

    TProgramWindows windows(*store, *options, explorers, &passwords);
    instance.SetMainWindow(&windows.Main());
    QObject::connect(
        &instance, &TSingleInstance::OpenAddressRequested, &windows.Main(),
        [&windows](const QString& address) { windows.OpenAddress(address); }, Qt::QueuedConnection);
    QObject::connect(&windows.Main(), &TMainForm::Closed, &application,
                     [] { QCoreApplication::exit(0); });
    QObject::connect(&windows.Main(), &TMainForm::FirstActivated, &windows.Main(), [&] {
        windows.ShowAtFirstActivation();
        // Not deleted here: the activation that runs this still has the splash to tell.
        if (splash) {
            splash.release()->deleteLater();
        }
        if (!argument.Address.isEmpty()) {
            // After the other windows, so that the explorer stands in front of them.
            QMetaObject::invokeMethod(
                &windows.Main(), [&windows, &argument] { windows.OpenAddress(argument.Address); },
                Qt::QueuedConnection);
        }
    });
    windows.Main().show();
    windows.StartDemoAndScreenshots();
    const int result = QApplication::exec();
    windows.Finish();
    return result;
}
