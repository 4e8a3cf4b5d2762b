// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PumpedUiThread.h"
#include "queue/ThreadedFTPCarrier.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace qx::test {

// One threaded carrier driven from the test's thread, which plays the user-interface thread:
// lines, done events and the end of its workers are recorded.
struct CarrierHarness {
    CarrierHarness() {
        carrier = TThreadedFTPCarrier::Create(ui);
        carrier->LowestPriority = false;
        carrier->ConnectRetry = 1;
        carrier->SrcHostName = carrier->DestHostName = "127.0.0.1";
        carrier->SrcUserName = carrier->DestUserName = "anonymous";
        carrier->SrcPassword = carrier->DestPassword = "guest@";
        carrier->OnDisplay = [this](TFTPCarrier&, const std::string& line) {
            lines.push_back(line);
        };
        carrier->OnCarryDone = [this](TFTPCarrier& c) { record(c, "Carry"); };
        carrier->OnExploreDone = [this](TFTPCarrier& c) {
            record(c, "Explore");
            items = c.Items.TakeAll();
        };
    }

    ~CarrierHarness() {
        carrier->StopThread();
        ui.pumpUntil([this] { return !carrier->WorkerRunning(); }, std::chrono::seconds(20));
    }

    // The file or folder of the job, and where it comes from and goes to (a port empty for
    // the local end).
    void setJob(const std::string& fileName, const std::string& srcPort, const std::string& srcPath,
                const std::string& destPort, const std::string& destPath) {
        carrier->FileName = fileName;
        carrier->SrcPort = srcPort;
        carrier->SrcPath = srcPath;
        carrier->DestPort = destPort;
        carrier->DestPath = destPath;
    }

    // Runs the job and pumps until its done event; the result code, or -1 after the time-out.
    int run(void (TFTPCarrier::*job)(),
            std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        const std::size_t before = dones.size();
        (carrier.get()->*job)();
        const bool finished = ui.pumpUntil([&] { return dones.size() > before; }, timeout);
        return finished ? resultCode : -1;
    }

    void record(TFTPCarrier& c, const char* event) {
        dones.emplace_back(event);
        resultCode = c.ResultCode;
        errorMessage = c.ErrorMessage;
    }

    bool has(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    PumpedUiThread ui;
    std::shared_ptr<TThreadedFTPCarrier> carrier;
    std::vector<std::string> lines;
    std::vector<std::string> dones;
    int resultCode = -1;
    std::string errorMessage;
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
};

} // namespace qx::test
