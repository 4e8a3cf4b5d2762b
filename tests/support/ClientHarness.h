// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PumpedUiThread.h"
#include "session/ThreadedFTPClient.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace qx::test {

// A threaded client driven from the test's thread, which plays the user-interface thread:
// every line, done event and the end of the worker are recorded.
struct ClientHarness {
    struct Done {
        std::string event;
        int resultCode;
        std::vector<std::string> hostFileNames; // as the handler saw them
    };

    explicit ClientHarness(const std::string& port) {
        client = TThreadedFTPClient::Create(ui);
        client->HostName = "127.0.0.1";
        client->Port = port;
        client->UserName = "anonymous";
        client->Password = "guest@";
        client->LoginRetry = 1;
        client->ReloginDelay = 0;
        client->LowestPriority = false;
        client->OnDisplay = [this](TThreadedFTPClient&, const std::string& line) {
            lines.push_back(line);
        };
        const auto record = [this](const char* name) {
            return [this, name](TThreadedFTPClient& c) {
                Done done{name, c.ResultCode, {}};
                for (std::size_t i = 0; i < c.HostFileNames.Count(); ++i) {
                    done.hostFileNames.push_back(c.HostFileNames.Strings(i));
                }
                dones.push_back(done);
            };
        };
        client->OnConnectDone = record("Connect");
        client->OnChangeFolderDone = record("ChangeFolder");
        client->OnGetFolderDone = record("GetFolder");
        client->OnGetListItemsDone = record("GetListItems");
        client->OnDownloadFileDone = record("DownloadFile");
        client->OnUploadFileDone = record("UploadFile");
        client->OnMakeFolderDone = record("MakeFolder");
        client->OnRenameDone = record("Rename");
        client->OnRemoveDone = record("Remove");
        client->OnDownloadsDone = record("Downloads");
        client->OnUploadsDone = record("Uploads");
        client->OnQuitDone = record("Quit");
        client->OnChangePermsDone = record("ChangePerms");
        client->OnUppercaseDone = record("Uppercase");
        client->OnLowercaseDone = record("Lowercase");
        client->OnEndThread = [this](TThreadedFTPClient&) { ++endThreads; };
        client->StartThread();
    }

    ~ClientHarness() {
        stop();
        client->Detach();
    }

    // Stops the worker and waits until it has ended (its connection is closed then).
    void stop() {
        client->StopThread();
        ui.pumpUntil([this] { return !client->WorkerRunning(); }, std::chrono::seconds(20));
    }

    // Issues the request and pumps until its done event and the "% Idle" after it arrived;
    // the result code, or -1 after the time-out.
    int run(void (TThreadedFTPClient::*request)(),
            std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        const std::size_t before = dones.size();
        const std::size_t idleBefore = count("% Idle");
        (client.get()->*request)();
        const bool finished = ui.pumpUntil(
            [&] { return dones.size() > before && count("% Idle") > idleBefore; }, timeout);
        return finished ? dones.back().resultCode : -1;
    }

    std::size_t count(const std::string& line) const {
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }
    std::size_t countStartingWith(const std::string& prefix) const {
        return static_cast<std::size_t>(std::count_if(
            lines.begin(), lines.end(), [&](auto& l) { return l.rfind(prefix, 0) == 0; }));
    }
    bool has(const std::string& line) const { return count(line) > 0; }

    PumpedUiThread ui;
    std::shared_ptr<TThreadedFTPClient> client;
    std::vector<std::string> lines;
    std::vector<Done> dones;
    int endThreads = 0;
};

} // namespace qx::test
