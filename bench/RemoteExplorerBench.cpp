// The remote explorer at work on many entries, as a user drives it: deleting every file of a
// folder of 10,000 and downloading a folder of 2,000 small files, against a server on
// loopback. Prints the time each took and the longest the user-interface thread went without
// turning its event loop meanwhile (a timer ticking every 2 ms measures the gaps). Runs on the
// offscreen platform.
//
//   bench_remote_explorer --port N --delete /remote/folder --download /remote/folder --local DIR

#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "remote/gui/RemoteExpForm.h"
#include "session/ThreadedFTPClient.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"
#include "widgets/ActionList.h"

#include "UiBench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

using namespace qx;
using namespace qx::bench;

namespace {

std::size_t FilesBelow(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string port = Argument(argc, argv, "--port");
    const std::string toDelete = Argument(argc, argv, "--delete");
    const std::string toDownload = Argument(argc, argv, "--download");
    const std::string local = Argument(argc, argv, "--local");
    if (port.empty() || toDelete.empty() || toDownload.empty() || local.empty()) {
        std::fprintf(stderr, "usage: bench_remote_explorer --port N --delete FOLDER "
                             "--download FOLDER --local DIR\n");
        return 2;
    }
    QTemporaryDir config;
    TConfigStore store(std::filesystem::path(config.path().toStdString()) / "settings.conf");
    TGlobalOptions options(store);
    QtUiThread ui;
    TRemoteExpList explorers;
    TRemoteExpContext context{ui, options, store, explorers, nullptr, {}, {}, {}, {}};
    context.LocalFolder = [local] { return std::optional<std::string>(local); };

    // Confirmations are answered at once, as a user pressing Enter.
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
                yes->click();
            }
        }
    });
    answer.start();

    const auto open = [&](const std::string& folder) {
        auto site = std::make_unique<TSiteProperties>(options);
        site->HostName = "127.0.0.1";
        site->Port = std::stoi(port);
        site->UserName = "anonymous";
        site->Password = "bench@";
        site->InitialFolder = folder;
        site->PassiveMode = true;
        site->QuickConnect = true;
        auto* form = new TRemoteExpForm(context, site.release());
        form->show();
        const bool ready = WaitFor(
            [&] { return form->Connected() && !form->FTPClient().Busy() && form->SelectedNode(); },
            60000);
        return ready ? form : nullptr;
    };
    const auto run = [](TRemoteExpForm& form, const char* action) {
        return TActionList::Run(form.findChild<QAction*>(QString::fromLatin1(action)));
    };
    GapMeter gaps;
    int status = 0;

    // Delete every entry of a folder of many files.
    if (TRemoteExpForm* form = open(toDelete)) {
        const std::size_t entries = form->FileList().Count();
        form->ActivatePane(false);
        run(*form, "EditSelectAllAction");
        QElapsedTimer clock;
        gaps.Start();
        clock.start();
        run(*form, "FileDeleteAction");
        WaitFor([&] { return !form->FTPClient().Busy() && form->FileList().Count() == 0; }, 600000);
        const double seconds = clock.elapsed() / 1000.0;
        const double longest = gaps.LongestMs();
        std::printf("delete   %6zu files   %7.2f s   %7.0f files/s   longest UI gap %6.1f ms%s\n",
                    entries, seconds, entries / seconds, longest,
                    form->FileList().Count() == 0 ? "" : "   (NOT ALL DELETED)");
        status |= form->FileList().Count() == 0 ? 0 : 1;
        form->close();
        WaitFor([&] { return explorers.Count() == 0; }, 30000);
    } else {
        std::fprintf(stderr, "cannot open %s\n", toDelete.c_str());
        return 1;
    }

    // Download a folder of small files, from its parent.
    const std::filesystem::path remote(toDownload);
    if (TRemoteExpForm* form = open(remote.parent_path().string())) {
        const std::string name = remote.filename().string();
        std::vector<const TFTPListItem*> pick;
        for (std::size_t row = 0; row < form->FileList().Count(); ++row) {
            if (form->FileList().At(row).Name == name) {
                pick.push_back(&form->FileList().At(row));
            }
        }
        form->ActivatePane(false);
        form->SelectEntries(pick);
        QElapsedTimer clock;
        gaps.Start();
        clock.start();
        const bool started = run(*form, "FileDownloadAction");
        WaitFor([&] { return started && !form->FTPClient().Busy(); }, 600000);
        const double seconds = clock.elapsed() / 1000.0;
        const double longest = gaps.LongestMs();
        const std::size_t files = FilesBelow(std::filesystem::path(local) / name);
        std::printf("download %6zu files   %7.2f s   %7.0f files/s   longest UI gap %6.1f ms\n",
                    files, seconds, files / seconds, longest);
        form->close();
        WaitFor([&] { return explorers.Count() == 0; }, 30000);
    } else {
        std::fprintf(stderr, "cannot open %s\n", remote.parent_path().c_str());
        return 1;
    }
    return status;
}
