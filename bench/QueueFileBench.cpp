// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer queue's file with a queue of many small items: all of them added at once, then
// done one after another, as the program runs them. Prints the time of each phase until the
// journal has written everything, the longest single change (the user-interface thread waits
// for it) and the bytes written, which must grow with the queue, not with its square.
//
//   bench_queue_file [ITEMS] [FOLDER]

#include "queue/QueueFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace qx;
using Clock = std::chrono::steady_clock;

// Bytes this process has written so far, as the kernel counts them.
long long BytesWritten() {
    std::ifstream io("/proc/self/io");
    std::string name;
    long long value = 0;
    while (io >> name >> value) {
        if (name == "wchar:") {
            return value;
        }
    }
    return -1;
}

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10'000;
    const std::filesystem::path folder =
        argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
    const std::filesystem::path file = folder / "bench-queue.conf";
    std::filesystem::remove(file);
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    TCarrierQueueChange added;
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<TFTPCarryItem>();
        item->Direction = TCarryDirection::Download;
        item->FileName = "file" + std::to_string(i) + ".bin";
        item->SrcHostName = "ftp.example.com";
        item->SrcPort = "21";
        item->SrcUserName = "user";
        item->SrcPath = "/pub/some/folder/";
        item->DestPath = "/home/user/downloads/";
        item->FileSize = 4096 + i;
        added.Queued.push_back(item.get());
        items.push_back(std::move(item));
    }
    const long long bytesBefore = BytesWritten();
    const Clock::time_point start = Clock::now();
    {
        TQueueFile journal(file);
        journal.TakeItems();
        journal.QueueChanged(added);
        const Clock::duration joining = Clock::now() - start;
        journal.Settle();
        const Clock::time_point addedAt = Clock::now();
        Clock::duration longest{};
        for (const auto& item : items) {
            TCarrierQueueChange done;
            done.Gone.push_back(item.get());
            const Clock::time_point before = Clock::now();
            journal.QueueChanged(done);
            longest = std::max(longest, Clock::now() - before);
        }
        journal.Settle();
        const Clock::time_point end = Clock::now();
        std::printf("%d items: added in %.0f ms (the change itself %.1f ms); done one by one in "
                    "%.2f s (%.2f ms each, longest change %.1f ms)\n",
                    count, Milliseconds(addedAt - start), Milliseconds(joining),
                    Milliseconds(end - addedAt) / 1000, Milliseconds(end - addedAt) / count,
                    Milliseconds(longest));
    }
    const long long written = BytesWritten() - bytesBefore;
    std::printf("written: %.1f MiB (%.0f bytes per item)\n", static_cast<double>(written) / 1048576,
                static_cast<double>(written) / count);
    std::filesystem::remove(file);
    return 0;
}
