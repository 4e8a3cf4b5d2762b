// A folder of 100,000 entries in the remote explorer's file list, with the real model and
// view: from the end of the listing to the list shown and sorted, re-sorting by another
// column, and the memory each cached entry takes. Runs on the offscreen platform.

#include "base/LocaleTextCompare.h"
#include "remote/FileListContent.h"
#include "remote/gui/FileListModel.h"
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace qx;

namespace {

constexpr int kEntries = 100'000;
constexpr int kRounds = 5;

std::unique_ptr<TFTPListItems> Listing() {
    static const char* const kExtensions[] = {".txt", ".html", ".tar.gz", ".jpg", ".c", ""};
    const TShellIcons& icons = SharedShellIcons();
    auto listing = std::make_unique<TFTPListItems>();
    for (int i = 0; i < kEntries; ++i) {
        auto entry = std::make_unique<TFTPListItem>();
        const bool folder = i % 10 == 0;
        char name[64];
        std::snprintf(name, sizeof name, "%s%07d%s", folder ? "Folder" : "file",
                      (i * 7919) % kEntries, folder ? "" : kExtensions[i % 6]);
        entry->Name = name;
        entry->IsFile = !folder;
        entry->Size = folder ? -1 : (i * 104729LL) % 50'000'000;
        entry->Permission = folder ? "drwxr-xr-x" : "-rw-r--r--";
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1995 + i % 30, 1 + i % 12, 1 + i % 28);
        entry->DateText = date;
        entry->TimeText = "12:34";
        entry->ImageIndex = folder ? icons.FolderIconIndex : icons.GetIconIndex(name);
        entry->TypeName = folder ? icons.FolderTypeName : icons.GetTypeName(name);
        listing->Add(std::move(entry));
    }
    return listing;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InstallSharedShellIcons(std::make_unique<TQtShellIcons>());

    const std::size_t heapBefore = mallinfo2().uordblks;
    auto listing = Listing();
    const std::size_t heapAfter = mallinfo2().uordblks;

    const TLocaleTextCompare compare;
    TFileListContent content(compare);
    TFolderTree tree;
    TFileListModel model(content, tree);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    view.setModel(&model);
    view.resize(900, 700);
    view.show();
    QApplication::processEvents();

    const TMasks all("*.*");
    std::vector<double> shown;
    std::vector<double> resorted;
    for (int round = 0; round < kRounds; ++round) {
        content.Clear();
        model.Reset();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        content.Sort(1);
        content.Fill(listing.get(), all); // filters and sorts by name
        model.Reset();
        view.repaint(); // the first screen drawn
        shown.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        content.Sort(3); // by type
        model.Reset();
        view.repaint();
        resorted.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("entries                         %d\n", kEntries);
    std::printf("listing to list shown, sorted   %.1f ms (median of %d; goal 300 ms)\n",
                Median(shown), kRounds);
    std::printf("re-sort by another column       %.1f ms (median of %d; goal 150 ms)\n",
                Median(resorted), kRounds);
    std::printf("memory per cached entry         %.0f bytes (the listing item with its texts)\n",
                static_cast<double>(heapAfter - heapBefore) / kEntries);
    std::printf("memory per shown row            %zu bytes (row pointer and sort key)\n",
                sizeof(const TFTPListItem*) + sizeof(std::string));
    return 0;
}
