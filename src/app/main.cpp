// Quorvin Explorer: the desktop program. Start-up creates the shared objects, makes sure only
// one instance runs, shows the splash picture and then the long-lived windows, in that order.

#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/ProgramWindows.h"
#include "app/SingleInstance.h"
#include "app/SplashForm.h"
#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "widgets/MainDataModule.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

using namespace qx;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(help);
    QApplication::setApplicationName(QStringLiteral("quorvin-explorer"));
    QApplication::setApplicationVersion(QStringLiteral("2000.2"));
    TMainDataModule::ChooseIconThemes();
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("network-server")));

    // The shared objects, in this order; freed in the reverse order at the end, the options
    // saving themselves last.
    InstallSharedShellIcons(std::make_unique<TQtShellIcons>());
    std::unique_ptr<TConfigStore> store;
    std::unique_ptr<TGlobalOptions> options;
    try {
        store = std::make_unique<TConfigStore>(TConfigStore::DefaultFile());
        options = std::make_unique<TGlobalOptions>(*store);
        options->LoadFromStore();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvin Explorer"),
                              QStringLiteral("Quorvin Explorer cannot start: %1")
                                  .arg(QString::fromUtf8(error.what())));
        return 1;
    }
    TRemoteExpList explorers;

    TSingleInstance instance(TSingleInstance::DefaultServerName());
    if (instance.ActivateRunningInstance()) {
        return 0; // the running instance came to the front
    }
    auto splash = std::make_unique<TSplashForm>(TSplashForm::FindPicture());
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    if (!instance.Listen()) {
        return 0; // another start got there first and has been asked to come forward
    }

    TProgramWindows windows(*store, *options, explorers);
    QObject::connect(&windows.Main(), &TMainForm::FirstActivated, &windows.Main(), [&] {
        windows.ShowAtFirstActivation();
        // Not deleted here: the activation that runs this still has the splash to tell.
        if (splash) {
            splash.release()->deleteLater();
        }
    });
    windows.Main().show();
    windows.StartDemoAndScreenshots();
    const int result = QApplication::exec();
    windows.Finish();
    return result;
}
