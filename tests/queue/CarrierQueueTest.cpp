// SPDX-License-Identifier: GPL-3.0-or-later
// The scheduler with carriers the test ends by hand: start order, MaxCarrier, suspend and
// resume, explorations, failures, resubmitting, deleting, the row texts and the settings.

#include "queue/CarrierQueue.h"
#include "platform/ConfigStore.h"
#include "queue/CarrierProgress.h"
#include "queue/CarrierSettings.h"
#include "queue/QueueFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qx;
using namespace qx::test;

namespace {

class FakeCarrier final : public TFTPCarrier, public std::enable_shared_from_this<FakeCarrier> {
public:
    unsigned job = 0;
    bool aborted = false;
    bool stopped = false;

    void Abort() override { aborted = true; }
    void StopThread() override {
        stopped = true;
        if (OnEndThread) {
            OnEndThread(*this);
        }
    }

    // Ends the job as a real carrier would: one done event, with the result set.
    void Finish(std::uint8_t result, const std::string& error = {}) {
        const auto self = shared_from_this(); // alive while raising, as the real one is
        ResultCode = result;
        ErrorMessage = error;
        const bool explore = job >= carrier_job::ExploreDownload;
        auto handler = explore ? OnExploreDone : OnCarryDone;
        handler(*this);
        Items.Clear();
    }

    // A server refused the login for being at its limit: the queue is asked, and the job ends
    // as the real carrier's does. True when it gave way.
    bool RefusedBusy(TCarrierSide side) {
        bool yield = false;
        OnServerBusy(*this, side, yield);
        BusySide = side;
        Yielded = yield;
        Finish(1, "421 Too many connections.");
        return yield;
    }

protected:
    void RunJob(unsigned code) override {
        job = code;
        BusySide = TCarrierSide::None;
        Yielded = false;
    }
};

std::unique_ptr<TFTPCarryItem> Item(const std::string& name, bool folder = false,
                                    TCarryDirection direction = TCarryDirection::Download) {
    auto item = std::make_unique<TFTPCarryItem>();
    item->FileName = name;
    item->IsFolder = folder;
    item->Direction = direction;
    item->SrcHostName = "src.example";
    item->SrcPath = "/pub/";
    item->DestPath = "/home/me/";
    item->FileSize = folder ? -1 : 1234;
    return item;
}

struct RecordingView : TCarrierQueueView {
    std::string caption;
    int statusChanges = 0;
    void CaptionChanged(const std::string& text) override { caption = text; }
    void RowChanged(TCarrierList list, std::size_t) override {
        statusChanges += list == TCarrierList::Status;
    }
};

struct CarrierQueueFixture : ::testing::Test {
    std::vector<std::shared_ptr<FakeCarrier>> carriers;
    TAsciiExtensions ascii;
    TCarrierQueue queue{[this] {
                            carriers.push_back(std::make_shared<FakeCarrier>());
                            return carriers.back();
                        },
                        &ascii};
    RecordingView view;

    CarrierQueueFixture() { queue.SetView(&view); }

    void add(const std::vector<std::string>& names) {
        for (const auto& name : names) {
            queue.AddItem(Item(name));
        }
    }
    std::vector<std::string> column(TCarrierList list, std::size_t column = 0) const {
        std::vector<std::string> texts;
        for (std::size_t row = 0; row < queue.RowCount(list); ++row) {
            texts.push_back(queue.Text(list, row, column));
        }
        return texts;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(CarrierQueueFixture, StartsInQueueOrderUpToMaxCarrier) {
    add({"1", "2", "3", "4", "5"});
    EXPECT_EQ(view.caption, "[5 Items Queued]");
    queue.StartCarriers();
    EXPECT_EQ(queue.RunningCount(), 3);
    EXPECT_EQ(column(TCarrierList::Status), (Names{"1", "2", "3"}));
    EXPECT_EQ(column(TCarrierList::Queue), (Names{"4", "5"}));
    EXPECT_EQ(view.caption, "[2 Items Queued]");
    EXPECT_EQ(carriers[0]->FileName, "1");
    EXPECT_EQ(carriers[0]->job, carrier_job::Download);
    EXPECT_EQ(carriers[0]->ASCIIExts, &ascii);
    EXPECT_EQ(carriers[0]->ConnectRetry, 30);

    carriers[1]->Finish(0);
    EXPECT_EQ(column(TCarrierList::Status), (Names{"1", "3", "4"}));
    EXPECT_EQ(column(TCarrierList::Success), (Names{"2"}));
    EXPECT_EQ(queue.Item(TCarrierList::Success, 0), nullptr); // texts only
}

TEST_F(CarrierQueueFixture, CarriersThatGotThroughTakeTheNextItemsAndEndWithoutWork) {
    add({"1", "2", "3", "4"});
    auto elsewhere = Item("5");
    elsewhere->SrcHostName = "other.example";
    queue.AddItem(std::move(elsewhere));
    queue.StartCarriers();
    ASSERT_EQ(carriers.size(), 3u);
    EXPECT_TRUE(carriers[0]->KeepSession);
    carriers[1]->Finish(0);
    EXPECT_EQ(carriers.size(), 3u); // the same carrier, still logged in, carries "4"
    EXPECT_EQ(carriers[1]->FileName, "4");
    EXPECT_FALSE(carriers[1]->stopped);
    carriers[0]->Finish(1, "550 Failed");
    EXPECT_TRUE(carriers[0]->stopped); // a failed session is not kept
    ASSERT_EQ(carriers.size(), 4u);
    EXPECT_EQ(carriers[3]->FileName, "5");
    // Without work left, carriers that finish end at once.
    carriers[2]->Finish(0);
    EXPECT_TRUE(carriers[2]->stopped);
    carriers[1]->Finish(0);
    carriers[3]->Finish(0);
    EXPECT_TRUE(carriers[1]->stopped);
    EXPECT_TRUE(carriers[3]->stopped);
    EXPECT_FALSE(queue.WorkersRunning());

    queue.KeepSessions = false;
    add({"6", "7"});
    queue.StartCarriers();
    carriers[4]->Finish(0);
    EXPECT_TRUE(carriers[4]->stopped);
    EXPECT_FALSE(carriers[4]->KeepSession);
}

TEST_F(CarrierQueueFixture, SuspendLetsRunningJobsFinishAndStartsNothingUntilResumed) {
    queue.SetMaxCarrier(2);
    add({"1", "2", "3"});
    queue.StartCarriers();
    queue.Suspend();
    carriers[0]->Finish(0);
    carriers[1]->Finish(0);
    EXPECT_EQ(queue.RunningCount(), 0);
    EXPECT_EQ(column(TCarrierList::Queue), (Names{"3"}));
    EXPECT_TRUE(queue.Idle());
    queue.Resume();
    EXPECT_EQ(column(TCarrierList::Status), (Names{"3"}));
}

TEST_F(CarrierQueueFixture, LoweringMaxCarrierStopsNothing) {
    add({"1", "2", "3", "4"});
    queue.StartCarriers();
    queue.SetMaxCarrier(1);
    EXPECT_EQ(queue.RunningCount(), 3);
    carriers[0]->Finish(0);
    carriers[1]->Finish(0);
    EXPECT_EQ(queue.RunningCount(), 1); // nothing new while 1 still runs
    carriers[2]->Finish(0);
    EXPECT_EQ(column(TCarrierList::Status), (Names{"4"}));
    queue.SetMaxCarrier(40);
    EXPECT_EQ(queue.MaxCarrier(), 16);
    queue.SetMaxCarrier(0);
    EXPECT_EQ(queue.MaxCarrier(), 1);
}

// A server that takes two connections: jobs it refuses while the queue holds others there
// give way and wait at their place in the queue, and from then on it gets two items at a time;
// nothing fails, and other servers are not held up. A job refused with nothing else of the
// queue there tries again by itself, and fails only after its whole budget.
TEST_F(CarrierQueueFixture, ABusyServerGetsOnlyAsManyItemsAsItTakes) {
    queue.SetMaxCarrier(4);
    add({"1", "2", "3", "4", "5"});
    queue.StartCarriers();
    ASSERT_EQ(carriers.size(), 4u);
    EXPECT_TRUE(carriers[3]->RefusedBusy(TCarrierSide::Source));
    EXPECT_TRUE(carriers[2]->RefusedBusy(TCarrierSide::Source));
    EXPECT_EQ(column(TCarrierList::Status), (Names{"1", "2"}));
    EXPECT_EQ(column(TCarrierList::Queue), (Names{"3", "4", "5"}));
    EXPECT_EQ(queue.RowCount(TCarrierList::Fail), 0u);

    carriers[0]->Finish(0);
    EXPECT_EQ(column(TCarrierList::Status), (Names{"2", "3"}));
    EXPECT_EQ(carriers[0]->FileName, "3"); // the session that got through carries on

    auto elsewhere = Item("x");
    elsewhere->SrcHostName = "other.example";
    queue.AddItem(std::move(elsewhere));
    auto lone = Item("lone");
    lone->SrcHostName = "full.example";
    queue.AddItem(std::move(lone));
    queue.StartCarriers();
    EXPECT_EQ(column(TCarrierList::Status), (Names{"2", "3", "x", "lone"}));
    ASSERT_EQ(carriers.size(), 6u);
    EXPECT_EQ(carriers[5]->BusyRetrySeconds, 120);
    EXPECT_FALSE(carriers[5]->RefusedBusy(TCarrierSide::Source));
    EXPECT_EQ(column(TCarrierList::Fail), (Names{"lone"}));
    // After a whole budget of refusals the next item there tries once.
    auto again = Item("again");
    again->SrcHostName = "full.example";
    queue.AddItem(std::move(again));
    queue.StartCarriers();
    ASSERT_EQ(carriers.size(), 7u);
    EXPECT_EQ(carriers[6]->FileName, "again");
    EXPECT_EQ(carriers[6]->BusyRetrySeconds, 0);
}

TEST_F(CarrierQueueFixture, ExploredFolderAppendsItsEntriesAndCountsAsSuccess) {
    queue.AddItem(Item("tree", true));
    add({"later"});
    queue.SetMaxCarrier(1);
    queue.StartCarriers();
    ASSERT_EQ(carriers[0]->job, carrier_job::ExploreDownload);
    for (const char* name : {"a", "b", "c"}) {
        carriers[0]->Items.Add(Item(name));
    }
    carriers[0]->Finish(0);
    EXPECT_EQ(column(TCarrierList::Status), (Names{"later"}));
    EXPECT_EQ(column(TCarrierList::Queue), (Names{"a", "b", "c"}));
    EXPECT_EQ(column(TCarrierList::Queue, 3), (Names{"Carry", "Carry", "Carry"}));
    EXPECT_EQ(column(TCarrierList::Success, 3), (Names{"Explore"}));
    EXPECT_EQ(column(TCarrierList::Success, 4), (Names{""})); // a folder has no size
}

TEST_F(CarrierQueueFixture, FailedJobsKeepTheirItemAndResubmitRunsThemAgain) {
    queue.AddItem(Item("tree", true));
    add({"file"});
    queue.StartCarriers();
    carriers[0]->Items.Add(Item("discarded"));
    carriers[0]->Finish(1, "550 No such folder");
    carriers[1]->Finish(2, "! [src.example]: Operation aborted.");
    EXPECT_EQ(column(TCarrierList::Fail), (Names{"tree", "file"}));
    EXPECT_EQ(column(TCarrierList::Fail, 6),
              (Names{"550 No such folder", "! [src.example]: Operation aborted."}));
    EXPECT_EQ(queue.RowCount(TCarrierList::Queue), 0u);
    ASSERT_NE(queue.Item(TCarrierList::Fail, 1), nullptr);
    EXPECT_EQ(queue.Item(TCarrierList::Fail, 1)->Carrier, nullptr);

    queue.Suspend();
    queue.Resubmit({1, 0, 1});
    EXPECT_EQ(column(TCarrierList::Queue), (Names{"tree", "file"}));
    EXPECT_EQ(queue.RowCount(TCarrierList::Fail), 0u);
    queue.Resume();
    EXPECT_EQ(carriers.size(), 4u);
    EXPECT_EQ(carriers[2]->FileName, "tree");
}

TEST_F(CarrierQueueFixture, ItemEndListenersHearDoneFailedAndDeletedItems) {
    std::vector<std::string> heard;
    std::size_t once = 0;
    queue.AddItemEndListener([&](const TFTPCarryItem& item, TCarryEnd end) {
        heard.push_back(item.FileName + ":" + std::to_string(static_cast<int>(end)));
    });
    once = queue.AddItemEndListener([&](const TFTPCarryItem&, TCarryEnd) {
        heard.emplace_back("once");
        queue.RemoveItemEndListener(once);
    });
    queue.SetMaxCarrier(2);
    add({"a", "b"});
    queue.StartCarriers();
    queue.Suspend();
    add({"c", "d"});
    carriers[0]->Finish(1, "550 Denied");
    carriers[1]->Finish(0);
    queue.Delete({1});
    queue.ClearQueue();
    EXPECT_EQ(heard, (Names{"a:1", "once", "b:0", "d:2", "c:2"}));
}

TEST_F(CarrierQueueFixture, AbortGoesToTheSelectedCarriers) {
    add({"1", "2", "3"});
    queue.StartCarriers();
    queue.Abort({2, 0, 7});
    EXPECT_TRUE(carriers[0]->aborted);
    EXPECT_FALSE(carriers[1]->aborted);
    EXPECT_TRUE(carriers[2]->aborted);
}

TEST_F(CarrierQueueFixture, DeleteAndClearFreeTheirRows) {
    queue.Suspend();
    add({"0", "1", "2", "3", "4", "5"});
    queue.Delete({5, 1, 2, 9});
    EXPECT_EQ(column(TCarrierList::Queue), (Names{"0", "3", "4"}));
    EXPECT_EQ(view.caption, "[3 Items Queued]");
    queue.ClearQueue();
    EXPECT_EQ(view.caption, "[0 Items Queued]");
    EXPECT_EQ(queue.Caption(), "[0 Items Queued]");
    queue.ClearSuccess();
    queue.ClearFail();
    EXPECT_TRUE(queue.Idle());
}

TEST_F(CarrierQueueFixture, RowTexts) {
    queue.Suspend();
    auto upload = Item("up.txt", false, TCarryDirection::Upload);
    upload->SrcHostName.clear();
    upload->SrcPath = "/home/me/";
    upload->DestHostName = "dst.example";
    upload->DestPath = "/in/";
    upload->DestTransferType = TFTPTransferType::ftpTypeAuto;
    upload->ResumeTransfer = true;
    upload->TypeName = "Text Document";
    queue.AddItem(std::move(upload));
    auto copy = Item("s2s.bin", false, TCarryDirection::ServerToServer);
    copy->SrcTransferType = TFTPTransferType::ftpTypeASCII;
    copy->FileSize = -1;
    queue.AddItem(std::move(copy));
    EXPECT_EQ(column(TCarrierList::Queue, 1), (Names{"/home/me/", "src.example/pub/"}));
    EXPECT_EQ(column(TCarrierList::Queue, 2), (Names{"dst.example/in/", "/home/me/"}));
    EXPECT_EQ(column(TCarrierList::Queue, 4), (Names{"1234", ""}));
    EXPECT_EQ(column(TCarrierList::Queue, 5), (Names{"Text Document", ""}));
    EXPECT_EQ(column(TCarrierList::Queue, 6), (Names{"Auto", "ASCII Binary"}));
    EXPECT_EQ(column(TCarrierList::Queue, 7), (Names{"Yes", "No"}));

    queue.Resume();
    EXPECT_EQ(column(TCarrierList::Status, 6), (Names{"", ""}));
    carriers[1]->OnTransferStatus(*carriers[1], 500, 500, 1000);
    carriers[1]->OnDisplay(*carriers[1], "< [src.example]: 150 Sending");
    EXPECT_EQ(queue.Text(TCarrierList::Status, 1, 6), "500");
    EXPECT_EQ(queue.Text(TCarrierList::Status, 1, 7), "0.49 KB/s");
    EXPECT_EQ(queue.Text(TCarrierList::Status, 1, 8), ""); // unknown size
    EXPECT_EQ(queue.Text(TCarrierList::Status, 1, 9), "");
    EXPECT_EQ(queue.Text(TCarrierList::Status, 1, 10), "< [src.example]: 150 Sending");
    EXPECT_EQ(view.statusChanges, 2);
}

TEST(CarrierProgress, RoundsHalvesToEvenAndFormatsTheColumns) {
    // 2.5 B/ms is 2500 B/s; 3 bytes in 2 ms is 1500 B/s.
    auto texts = CarrierProgressTexts(10'000'000, 2'500, 5, 2);
    EXPECT_EQ(texts.Position, "2500");
    EXPECT_EQ(texts.TransferRate, "2.44 KB/s");
    EXPECT_EQ(texts.TimeLeft, "01:06:39"); // 9,997,500 / 2,500 = 3999 s
    EXPECT_EQ(texts.Done, "0 %");
    // 1 byte per 2000 ms: 0.5 B/s rounds to 0, so no time left can be given.
    texts = CarrierProgressTexts(100, 50, 1, 2000);
    EXPECT_EQ(texts.TransferRate, "0.00 KB/s");
    EXPECT_EQ(texts.TimeLeft, "");
    EXPECT_EQ(texts.Done, "50 %");
    // 5 of 200 bytes is 2.5 %, which rounds to 2; 15 of 200 is 7.5 %, which rounds to 8.
    EXPECT_EQ(CarrierProgressTexts(200, 5, 5, 1000).Done, "2 %");
    EXPECT_EQ(CarrierProgressTexts(200, 15, 15, 1000).Done, "8 %");
    // Nothing elapsed: no rate; a file that grew past its size has no time left.
    EXPECT_EQ(CarrierProgressTexts(200, 15, 15, 0).TransferRate, "");
    EXPECT_EQ(CarrierProgressTexts(100, 300, 300, 1000).TimeLeft, "00:00:00");
    // Sizes beyond 4 GiB.
    EXPECT_EQ(CarrierProgressTexts(8'000'000'000, 4'000'000'000, 4'000'000'000, 1000).Done, "50 %");
}

TEST(CarrierSettings, LoadsWhatIsPresentAndBoundsMaxCarrier) {
    TempDir dir;
    TConfigStore store(dir.path() / "settings.conf");
    TCarrierSettings settings;
    settings.LoadFromStore(store); // no key: defaults stay
    EXPECT_EQ(settings.MaxCarrier, 3);
    EXPECT_EQ(settings.Width, 652);
    store.CreateKey(CarrierKey);
    store.WriteNumber(CarrierKey, "MaxCarrier", 40);
    store.WriteString(CarrierKey, "Width", "wide"); // unreadable: skipped
    store.WriteNumber(CarrierKey, "ResumeService", 0);
    settings.LoadFromStore(store);
    EXPECT_EQ(settings.MaxCarrier, 16);
    EXPECT_EQ(settings.Width, 652);
    EXPECT_FALSE(settings.ResumeService);

    settings.Left = 40;
    settings.SaveToStore(store, true); // maximized: the place is not written
    EXPECT_FALSE(store.ReadNumber(CarrierKey, "Left").has_value());
    settings.SaveToStore(store, false);
    TCarrierSettings reloaded;
    reloaded.LoadFromStore(store);
    EXPECT_EQ(reloaded.Left, 40);
    EXPECT_EQ(reloaded.MaxCarrier, 16);
    EXPECT_FALSE(reloaded.ResumeService);
}

namespace {

// What a later start would find in the queue file and its logs once the live journal wrote
// what it was given: the queued names in order, then the failed ones.
Names Reopened(TQueueFile& live, const std::filesystem::path& file, Names* failed = nullptr) {
    live.Settle();
    TempDir copy;
    for (const char* suffix : {"", ".log", ".log.1"}) {
        const std::filesystem::path from = file.string() + suffix;
        if (std::filesystem::exists(from)) {
            std::filesystem::copy_file(from, copy.path() / ("queue.conf" + std::string(suffix)));
        }
    }
    TQueueFile reopened(copy.path() / "queue.conf");
    TQueueFile::TKept kept = reopened.TakeItems();
    Names names;
    for (const auto& item : kept.Queued) {
        names.push_back(item->FileName);
    }
    if (failed != nullptr) {
        failed->clear();
        for (const auto& [item, error] : kept.Failed) {
            failed->push_back(item->FileName + ": " + error);
        }
    }
    return names;
}

} // namespace

// The queue file follows every step of the scheduler: running items stay kept, done ones go,
// an explored folder is replaced by its entries in one step, failed ones are kept as failed
// until resubmitted (then at the end) or cleared.
TEST_F(CarrierQueueFixture, TheQueueFileFollowsEveryStep) {
    TempDir dir;
    const auto file = dir.path() / "queue.conf";
    TQueueFile journal(file);
    queue.SetJournal(&journal);
    queue.KeepSessions = false; // a carrier per job: carriers[n] ran the n-th job
    queue.SetMaxCarrier(2);
    queue.Suspend();
    queue.AddItem(Item("tree", true));
    add({"f1", "f2", "f3", "f4"});
    EXPECT_EQ(Reopened(journal, file), (Names{"tree", "f1", "f2", "f3", "f4"}));

    queue.Resume(); // tree and f1 run: still kept, in their place
    EXPECT_EQ(Reopened(journal, file), (Names{"tree", "f1", "f2", "f3", "f4"}));
    carriers[0]->Items.Add(Item("t1"));
    carriers[0]->Items.Add(Item("t2"));
    carriers[0]->Finish(0); // tree explored; f2 starts
    EXPECT_EQ(Reopened(journal, file), (Names{"f1", "f2", "f3", "f4", "t1", "t2"}));
    carriers[1]->Finish(0);                           // f1 done; f3 starts
    carriers[2]->Finish(1, "550 Permission denied."); // f2 failed; f4 starts
    Names failed;
    EXPECT_EQ(Reopened(journal, file, &failed), (Names{"f3", "f4", "t1", "t2"}));
    EXPECT_EQ(failed, (Names{"f2: 550 Permission denied."}));

    queue.Suspend();
    queue.Delete({0}); // t1, waiting
    queue.Resubmit({0});
    EXPECT_EQ(Reopened(journal, file, &failed), (Names{"f3", "f4", "t2", "f2"}));
    EXPECT_TRUE(failed.empty());

    // The end of the program aborts what runs without the journal: it stays queued.
    queue.SetJournal(nullptr);
    carriers[3]->Finish(2, "! Operation aborted.");
    EXPECT_EQ(Reopened(journal, file), (Names{"f3", "f4", "t2", "f2"}));
    queue.SetJournal(&journal);
    queue.ClearQueue();
    queue.ClearFail();
    EXPECT_EQ(Reopened(journal, file), (Names{"f4"})) << "still running";
}

// Items brought back from the file and handed to the queue are not written twice.
TEST_F(CarrierQueueFixture, RestoredItemsAreNotKeptTwice) {
    TempDir dir;
    const auto file = dir.path() / "queue.conf";
    {
        TQueueFile journal(file);
        queue.SetJournal(&journal);
        queue.Suspend();
        add({"a", "b"});
        queue.AddFailedItem(Item("c"), "421 Timed out.");
        queue.SetJournal(nullptr);
    }
    TCarrierQueue next([] { return std::make_shared<FakeCarrier>(); }, &ascii);
    TQueueFile journal(file);
    TQueueFile::TKept kept = journal.TakeItems();
    next.Suspend();
    next.AddItems(std::move(kept.Queued));
    for (auto& [item, error] : kept.Failed) {
        next.AddFailedItem(std::move(item), std::move(error));
    }
    next.SetJournal(&journal);
    next.AddItem(Item("d"));
    Names failed;
    EXPECT_EQ(Reopened(journal, file, &failed), (Names{"a", "b", "d"}));
    EXPECT_EQ(failed, (Names{"c: 421 Timed out."}));
    next.SetJournal(nullptr);
}
