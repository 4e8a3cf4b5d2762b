// The scheduler alone, with carriers that end when told: adding many items, and the work per
// finished item as the queue grows (it must not grow with it).

#include "queue/CarrierQueue.h"

#include <benchmark/benchmark.h>

#include <deque>
#include <memory>

namespace {

using namespace qx;

class InstantCarrier final : public TFTPCarrier,
                             public std::enable_shared_from_this<InstantCarrier> {
public:
    void Abort() override {}
    void StopThread() override {
        if (OnEndThread) {
            OnEndThread(*this);
        }
    }
    void End() {
        const auto self = shared_from_this();
        ResultCode = 0;
        OnCarryDone(*this);
    }

protected:
    void RunJob(unsigned) override {}
};

std::unique_ptr<TFTPCarryItem> NewItem(int number) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->FileName = "file" + std::to_string(number) + ".bin";
    item->SrcHostName = "ftp.example.com";
    item->SrcPort = "21";
    item->SrcUserName = "anonymous";
    item->SrcPassword = "guest@example.com";
    item->SrcPath = "/pub/some/folder/";
    item->DestPath = "/home/user/downloads/";
    item->FileSize = 12345 + number;
    item->TypeName = "BIN File";
    return item;
}

struct Rig {
    TAsciiExtensions ascii;
    std::deque<std::shared_ptr<InstantCarrier>> running;
    TCarrierQueue queue{[this] {
                            running.push_back(std::make_shared<InstantCarrier>());
                            return running.back();
                        },
                        &ascii};
};

void BM_AddItems(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<Rig>();
        rig->queue.Suspend();
        std::vector<std::unique_ptr<TFTPCarryItem>> items;
        for (int i = 0; i < count; ++i) {
            items.push_back(NewItem(i));
        }
        state.ResumeTiming();
        for (auto& item : items) {
            rig->queue.AddItem(std::move(item)); // one at a time, as producers add them
        }
        benchmark::DoNotOptimize(rig->queue.RowCount(TCarrierList::Queue));
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddItems)->Arg(20'000)->Unit(benchmark::kMillisecond);

// One iteration: the oldest of eight running carriers ends, its item moves to the success
// list, the next queued item starts, and a new item joins the queue so that its length stays.
void BM_FinishedItem(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    Rig rig;
    rig.queue.SetMaxCarrier(8);
    rig.queue.Suspend();
    for (int i = 0; i < length; ++i) {
        rig.queue.AddItem(NewItem(i));
    }
    rig.queue.Resume();
    int next = length;
    for (auto _ : state) {
        std::shared_ptr<InstantCarrier> oldest = std::move(rig.running.front());
        rig.running.pop_front();
        oldest->End();
        rig.queue.AddItem(NewItem(next++));
        if (rig.queue.RowCount(TCarrierList::Success) > 100'000) {
            state.PauseTiming();
            rig.queue.ClearSuccess();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FinishedItem)->Arg(100)->Arg(10'000)->Arg(200'000)->Unit(benchmark::kMicrosecond);

} // namespace
