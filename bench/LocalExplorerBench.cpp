// A local folder of 100,000 files in the local explorer: how long the worker takes to read and
// sort it, the time from its hand-over to the list shown with its status panels filled, a
// re-sort by size, and the longest time the user-interface thread did not turn while all this
// happened. Runs on the offscreen platform.

#include "local/LocalExpSettings.h"
#include "local/gui/LocalExpForm.h"
#include "local/gui/LocalFileListModel.h"
#include "platform/ConfigStore.h"
#include "remote/RemoteExpList.h"
#include "settings/GlobalOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace qx;
namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 100'000;

// Measures the longest gap between turns of the event loop with a fast timer.
class LoopGaps {
public:
    explicit LoopGaps(QObject* owner) : m_timer(owner) {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, owner,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
    }
    void Start() {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 Longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const fs::path work =
        fs::temp_directory_path() / ("qx-local-bench-" + std::to_string(getpid()));
    const fs::path big = work / "big";
    fs::create_directories(big);
    fs::create_directories(work / "small");
    static const char* const kExtensions[] = {".txt", ".html", ".tar.gz", ".jpg", ".c", ""};
    for (int i = 0; i < kFiles; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "file%07d%s", (i * 7919) % kFiles, kExtensions[i % 6]);
        std::ofstream(big / name) << std::string(static_cast<std::size_t>(i % 100), 'x');
    }

    int status = 0;
    {
        TConfigStore store(work / "settings.conf");
        TGlobalOptions options(store);
        TRemoteExpList explorers;
        TLocalExpSettings settings;
        settings.FolderPath = (work / "small").string();
        settings.SaveToStore(store, false);
        TLocalExpForm form({options, store, explorers, {}, nullptr});
        form.show();
        QApplication::processEvents();

        LoopGaps gaps(&form);
        QElapsedTimer clock;
        qint64 loaded = -1;
        qint64 filled = -1;
        // The worker hands the whole sorted folder over; the rows and the status panels follow.
        QObject::connect(form.ListModel(), &QAbstractItemModel::modelAboutToBeReset, &form,
                         [&] { loaded = clock.elapsed(); });
        QObject::connect(&form, &TLocalExpForm::FolderFilled, &form, [&] {
            if (form.ListModel()->rowCount() >= kFiles && filled < 0) {
                filled = clock.elapsed();
            }
        });
        gaps.Start();
        clock.start();
        form.SetFolder(big.string());
        while (filled < 0 && clock.elapsed() < 120'000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        const qint64 longest = gaps.Longest();
        QElapsedTimer sort;
        sort.start();
        form.ArrangeBy(2);
        QApplication::processEvents();
        const qint64 sorted = sort.elapsed();

        if (filled < 0) {
            std::printf("the folder was not filled within 120 s\n");
            status = 1;
        } else {
            std::printf("files:                                 %d\n", kFiles);
            std::printf("read and sorted on the worker thread:  %lld ms\n",
                        static_cast<long long>(loaded));
            std::printf("handed over -> shown, status filled:   %lld ms (goal < 300 ms)\n",
                        static_cast<long long>(filled - loaded));
            std::printf("status panel 0:                        %s\n",
                        qPrintable(form.StatusPanelText(0)));
            std::printf("re-sort by size:                       %lld ms\n",
                        static_cast<long long>(sorted));
            std::printf("longest event-loop gap while reading:  %lld ms (goal <= 50 ms)\n",
                        static_cast<long long>(longest));
        }
    }
    std::error_code error;
    fs::remove_all(work, error);
    return status;
}
