// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer queue's window at work, as the program runs it: the queue file journaling every
// change, carriers on their own threads reporting to the user-interface thread. Downloads a
// folder of many small files queued as one item (its files join the queue at once) and then
// one large file, from a server on loopback, and prints the time each took and the longest the
// user-interface thread went without turning its event loop meanwhile. Runs on the offscreen
// platform.
//
//   bench_queue_window --port N --many /remote/folder --big /remote/file --big-size BYTES
//                      --local DIR [--carriers N]

#include "UiBench.h"

#include "platform/ConfigStore.h"
#include "platform/QtUiThread.h"
#include "queue/QueueFile.h"
#include "queue/gui/CarrierForm.h"
#include "remote/ExplorerCommands.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace qx;
using namespace qx::bench;

namespace {

struct Phase {
    double Seconds = 0;
    double LongestGapMs = 0;
    std::size_t Failed = 0;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string port = Argument(argc, argv, "--port");
    const std::string many = Argument(argc, argv, "--many");
    const std::string big = Argument(argc, argv, "--big");
    const std::string local = Argument(argc, argv, "--local");
    const std::string bigSizeText = Argument(argc, argv, "--big-size");
    const std::string carriers = Argument(argc, argv, "--carriers");
    if (port.empty() || many.empty() || big.empty() || bigSizeText.empty() || local.empty()) {
        std::fprintf(stderr, "usage: bench_queue_window --port N --many FOLDER --big FILE "
                             "--big-size BYTES --local DIR [--carriers N]\n");
        return 2;
    }
    QTemporaryDir config;
    const std::filesystem::path configFolder(config.path().toStdString());
    TConfigStore store(configFolder / "settings.conf");
    QtUiThread ui;
    const TAsciiExtensions ascii;
    TCarrierForm form(TCarrierForm::ThreadedCarriers(ui, [] { return 60; }), &ascii, store);
    TQueueFile journal(TQueueFile::FileBeside(store.File()));
    journal.TakeItems();
    TCarrierQueue& queue = form.Queue();
    queue.SetJournal(&journal);
    queue.AskOverwrite = [](const TOverwriteQuestion&) {
        return TOverwriteAnswer{TOverwriteChoice::Overwrite, true, {}};
    };
    queue.SetMaxCarrier(carriers.empty() ? 3 : std::stoi(carriers));
    form.show();

    TSessionLogin login;
    login.HostName = "127.0.0.1";
    login.Port = port;
    login.UserName = "anonymous";
    login.Password = "bench@";
    login.PassiveMode = true;
    GapMeter gaps;
    const auto run = [&](const std::string& remote, bool folder, std::int64_t size) {
        const std::filesystem::path path(remote);
        TFTPListItem entry;
        entry.Name = path.filename().string();
        entry.IsFile = !folder;
        entry.Size = folder ? -1 : size;
        const std::size_t failedBefore = queue.RowCount(TCarrierList::Fail);
        QElapsedTimer clock;
        gaps.Start();
        clock.start();
        form.AddItems(
            MakeDownloadItems(login, path.parent_path().string() + "/", {entry}, local, nullptr));
        form.StartCarriers();
        WaitFor([&] { return queue.Idle() && queue.RowCount(TCarrierList::Queue) == 0; },
                3'600'000);
        Phase phase;
        phase.Seconds = clock.elapsed() / 1000.0;
        phase.LongestGapMs = gaps.LongestMs();
        phase.Failed = queue.RowCount(TCarrierList::Fail) - failedBefore;
        return phase;
    };

    std::size_t files = 0;
    const Phase folder = run(many, true, 0);
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::filesystem::path(local))) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    std::printf("queue  %6zu files     %7.2f s  %8.0f files/s  longest UI gap %6.1f ms%s\n", files,
                folder.Seconds, files / folder.Seconds, folder.LongestGapMs,
                folder.Failed == 0 ? "" : "  (SOME FAILED)");

    const std::filesystem::path bigLocal =
        std::filesystem::path(local) / std::filesystem::path(big).filename();
    const std::int64_t bigSize = std::stoll(bigSizeText);
    const Phase file = run(big, false, bigSize);
    std::error_code error;
    const auto got = static_cast<std::int64_t>(std::filesystem::file_size(bigLocal, error));
    std::printf("queue  %6.0f MiB file  %7.2f s  %8.1f MiB/s   longest UI gap %6.1f ms%s\n",
                static_cast<double>(bigSize) / 1048576, file.Seconds,
                static_cast<double>(bigSize) / 1048576 / file.Seconds, file.LongestGapMs,
                !error && got == bigSize && file.Failed == 0 ? "" : "  (INCOMPLETE)");
    queue.SetJournal(nullptr);
    return folder.Failed == 0 && file.Failed == 0 && got == bigSize ? 0 : 1;
}
