// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageQueue.h"
#include "platform/PumpedUiThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace qx;
using namespace std::chrono_literals;

TEST(MessageQueue, WindowAndThreadMessagesKeepTheirOrder) {
    MessageQueue queue;
    std::vector<std::string> seen;
    queue.post([&] { seen.push_back("window 1"); });
    queue.postThreadMessage(1124);
    queue.post([&] { seen.push_back("window 2"); });
    queue.postThreadMessage(1125, 7, 9);
    queue.postQuit();

    using Kind = MessageQueue::Message::Kind;
    auto message = queue.take();
    EXPECT_EQ(message.kind, Kind::Window);
    EXPECT_EQ(seen, std::vector<std::string>{"window 1"});
    message = queue.take();
    ASSERT_EQ(message.kind, Kind::Thread);
    EXPECT_EQ(message.thread.Code, 1124u);
    message = queue.take();
    EXPECT_EQ(message.kind, Kind::Window);
    message = queue.take();
    ASSERT_EQ(message.kind, Kind::Thread);
    EXPECT_EQ(message.thread.Code, 1125u);
    EXPECT_EQ(message.thread.WParam, 7);
    EXPECT_EQ(message.thread.LParam, 9);
    EXPECT_EQ(queue.take().kind, Kind::Quit);
    EXPECT_EQ(seen, (std::vector<std::string>{"window 1", "window 2"}));
}

TEST(MessageQueue, ProcessMessagesRunsHandlersButKeepsThreadMessages) {
    MessageQueue queue;
    int ran = 0;
    queue.postThreadMessage(42);
    queue.post([&] { ++ran; });
    queue.post([&] { ++ran; });
    queue.processMessages();
    EXPECT_EQ(ran, 2);
    EXPECT_TRUE(queue.hasThreadMessage());
    const auto message = queue.take();
    EXPECT_EQ(message.kind, MessageQueue::Message::Kind::Thread);
    EXPECT_EQ(message.thread.Code, 42u);
}

TEST(MessageQueue, TakeBlocksUntilAnotherThreadPosts) {
    MessageQueue queue;
    EXPECT_FALSE(queue.takeFor(50ms).has_value());
    std::thread poster([&] {
        std::this_thread::sleep_for(50ms);
        queue.postThreadMessage(1132);
    });
    const auto message = queue.takeFor(5s);
    poster.join();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->thread.Code, 1132u);
}

TEST(PumpedUiThread, InvokeFromAWorkerRunsOnTheUiThreadAndWaits) {
    PumpedUiThread ui;
    const auto uiId = std::this_thread::get_id();
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        ui.invoke([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(returned.load()) << "invoke returned before the UI thread ran the call";
    EXPECT_TRUE(ui.pumpUntil([&] { return returned.load(); }, 5s));
    worker.join();
    EXPECT_EQ(ranOn, uiId);
}

TEST(PumpedUiThread, ExceptionsReachTheInvokingWorker) {
    PumpedUiThread ui;
    std::atomic<bool> caught{false};
    std::thread worker([&] {
        try {
            ui.invoke([] { throw std::runtime_error("handler failed"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    });
    EXPECT_TRUE(ui.pumpUntil([&] { return caught.load(); }, 5s));
    worker.join();
}

TEST(PumpedUiThread, ShutdownReleasesBlockedWorkers) {
    PumpedUiThread ui;
    bool ran = false;
    std::thread worker([&] { ui.invoke([&] { ran = true; }); });
    std::this_thread::sleep_for(30ms);
    ui.shutdown();
    worker.join(); // would hang if the call were still waiting
    EXPECT_FALSE(ran);
    ui.invoke([&] { ran = true; }); // on the UI thread itself calls still run directly
    EXPECT_TRUE(ran);
}
