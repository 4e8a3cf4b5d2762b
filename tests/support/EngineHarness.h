// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FtpClientEx.h"
#include "platform/MessageQueue.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace qx::test {

// An engine on the test's own thread, with every event it raises recorded.
struct EngineHarness {
    explicit EngineHarness(const std::string& port) {
        engine.HostName = "127.0.0.1";
        engine.Port = port;
        engine.OnDisplay = [this](TCustomFtpCliEx&, std::string& line) { display.push_back(line); };
        engine.OnResponse = [this](TCustomFtpCliEx& e) { responses.push_back(e.LastResponse()); };
        engine.OnRequestDone = [this](TCustomFtpCliEx&, TFtpRequest request, std::uint16_t error) {
            done.emplace_back(request, error);
        };
        engine.OnConnectState = [this](TCustomFtpCliEx&, TFTPConnectState state) {
            connectStates.push_back(state);
        };
    }

    // Pumps the queue until count requests have completed in all, or the time-out passed.
    bool waitDone(std::size_t count = 1,
                  std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (done.size() < count && std::chrono::steady_clock::now() < deadline) {
            queue.runOneFor(std::chrono::milliseconds(20));
        }
        return done.size() >= count;
    }

    // Pumps the queue for a while (to see that nothing more happens).
    void pumpFor(std::chrono::milliseconds duration) {
        const auto deadline = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < deadline) {
            queue.runOneFor(std::chrono::milliseconds(5));
        }
    }

    // Runs one request to its end: its completion error, or -1 when it did not end in time.
    int run(void (TCustomFtpCliEx::*request)(),
            std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        const std::size_t before = done.size();
        (engine.*request)();
        return waitDone(before + 1, timeout) ? done.back().second : -1;
    }

    // Connects and logs in; true when that succeeded.
    bool login(const std::string& user = "anonymous", const std::string& password = "guest@") {
        engine.UserName = user;
        engine.PassWord = password;
        const std::size_t before = done.size();
        engine.Connect();
        return waitDone(before + 1) && done.back().second == 0;
    }

    bool displayed(const std::string& line) const {
        for (const auto& shown : display) {
            if (shown == line) {
                return true;
            }
        }
        return false;
    }

    MessageQueue queue;
    TFtpClientEx engine{queue};
    std::vector<std::string> display;
    std::vector<std::string> responses;
    std::vector<std::pair<TFtpRequest, std::uint16_t>> done;
    std::vector<TFTPConnectState> connectStates;
};

} // namespace qx::test
