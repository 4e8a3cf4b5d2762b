// SPDX-License-Identifier: GPL-3.0-or-later
// The worker host, the request wait and the transfer rules above the protocol seam, driven by a
// protocol that completes its requests by callbacks on the worker's queue and needs no server.

#include "session/WorkerHost.h"
#include "platform/PumpedUiThread.h"
#include "session/RemoteNames.h"
#include "session/RemoteTransfers.h"
#include "session/RequestWait.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace qx;
using namespace std::chrono_literals;

namespace {

constexpr unsigned kAbort = 0x0500;

// Each primitive is one request whose completion is posted to the queue, as a client driven by
// the worker's event loop delivers it; a stalled request never completes. The calls are noted.
class FakeProtocol final : public TRemoteProtocol {
public:
    FakeProtocol(MessageQueue& queue, std::atomic<bool>& abortFlag, std::uint8_t& result,
                 std::string& error)
        : m_wait(queue, abortFlag, kAbort), m_result(result), m_error(error) {}

    std::vector<std::string> calls;
    std::int64_t sizeAnswer = -1;
    bool stall = false;
    std::atomic<bool> stalled{false};

    bool Failed() const override { return m_result != 0; }
    bool Aborted() const override { return m_result == 2; }
    const std::string& ErrorMessage() const override { return m_error; }
    void Fail(const std::string& text) override {
        m_result = 1;
        m_error = text;
    }
    void ClearFailure() override {
        m_result = 0;
        m_error.clear();
    }
    void FailAndLog(const std::string& text) override { Fail(text); }
    void Abort() override {
        m_wait.ClearAbort();
        m_result = 2;
        m_error = "! Operation aborted.";
    }
    void Line(char, const std::string&) override {}

    bool Login(const TLoginPlan&) override { return Request("Login") == 0; }
    std::uint8_t Quit() override { return Request("Quit"); }
    bool Connected() override { return true; }
    TRemoteCapabilities Capabilities() const override { return {}; }
    std::uint8_t CurrentFolder(std::string& folder) override {
        folder = "/";
        return Request("CurrentFolder");
    }
    std::uint8_t ChangeFolder(const std::string& folder) override {
        return Request("ChangeFolder " + folder);
    }
    std::uint8_t ChangeToParent() override { return Request("ChangeToParent"); }
    bool ListFolder(std::string folder, TFTPListItems&, Purpose) override {
        return Request("ListFolder " + folder) == 0;
    }
    std::uint8_t MakeFolder(const std::string& path) override {
        return Request("MakeFolder " + path);
    }
    std::uint8_t RemoveFolder(const std::string& path) override {
        return Request("RemoveFolder " + path);
    }
    std::uint8_t Size(const std::string& path, std::int64_t& size) override {
        size = sizeAnswer;
        return Request("Size " + path, sizeAnswer < 0 ? 550 : 0);
    }
    std::optional<std::int64_t> ModifiedTime(const std::string& path, bool) override {
        Request("ModifiedTime " + path);
        return std::nullopt;
    }
    std::uint8_t SetModifiedTime(const std::string& path, std::int64_t) override {
        return Request("SetModifiedTime " + path);
    }
    std::uint8_t RemoveFile(const std::string& path) override {
        return Request("RemoveFile " + path);
    }
    std::uint8_t Rename(const std::string& from, const std::string& to, bool replace) override {
        return Request("Rename " + from + " " + to + (replace ? " replace" : ""));
    }
    std::uint8_t ChangeMode(const std::string& mode, const std::string& path) override {
        return Request("ChangeMode " + mode + " " + path);
    }
    std::uint8_t RawCommand(const std::string& command) override { return Request(command); }
    std::uint8_t SetType(bool) override { return Request("SetType"); }
    bool Binary() const override { return true; }
    bool NamesDownloadSize() const override { return false; }
    std::uint8_t Download(const std::string& remotePath, const std::string& localPath, bool resume,
                          std::int64_t) override {
        return Request("Download " + remotePath + " " + localPath + (resume ? " resume" : ""));
    }
    std::uint8_t Upload(const std::string& localPath, const std::string& remotePath,
                        std::int64_t appendAt) override {
        return Request("Upload " + localPath + " " + remotePath + " " + std::to_string(appendAt));
    }
    std::uint8_t DownloadTo(const std::string& remotePath, TByteSink&, std::int64_t offset,
                            std::int64_t) override {
        return Request("DownloadTo " + remotePath + " " + std::to_string(offset));
    }
    std::uint8_t UploadFrom(TByteSource&, const std::string& remotePath,
                            std::int64_t appendAt) override {
        return Request("UploadFrom " + remotePath + " " + std::to_string(appendAt));
    }

private:
    std::uint8_t Request(const std::string& call, std::uint16_t error = 0) {
        calls.push_back(call);
        const std::uint64_t request = m_wait.Begin();
        if (stall) {
            stalled = true;
        } else {
            m_wait.Queue().post([this, request, error] { m_wait.Complete(request, error); });
        }
        if (m_wait.Wait() == TRequestWait::End::Aborted) {
            Abort();
        } else if (m_wait.Error() != 0) {
            Fail(std::to_string(m_wait.Error()) + " refused");
        } else {
            m_result = 0;
        }
        return m_result;
    }

    TRequestWait m_wait;
    std::uint8_t& m_result;
    std::string& m_error;
};

class TestOwner final : public TWorkerOwner {
public:
    std::uint8_t result = 0;
    std::string error;
    std::vector<std::string> lines;
    std::vector<std::string> done; // "Job outcome", in order
    TWorkerSet workers;
    bool ended = false;

    void ShowLine(const std::string& line) override { lines.push_back(line); }
    void ShowProgress(std::int64_t, std::int64_t, std::int64_t) override {}
    bool AskLogin(TFTPAuthenticate, std::string&) override { return true; }
    bool TrustCertificate(const TCertificateQuestion&) override { return false; }
    bool AsksBeforeOverwrite() const override { return false; }
    TOverwriteAnswer AskOverwrite(const TOverwriteQuestion&) override { return {}; }
    void WorkerEnded(TWorkerHost* worker) override { ended = workers.Ended(worker); }
};

constexpr unsigned kList = 1;
constexpr unsigned kStall = 2;
constexpr unsigned kDeep = 3;

class FakeWorker final : public TWorkerHost {
public:
    FakeWorker(const std::shared_ptr<TestOwner>& owner, UiThread& ui)
        : TWorkerHost(owner, ui, TEngineDriver::Outcome{owner->result, owner->error}),
          m_owner(owner) {}
    ~FakeWorker() override { Join(); }

    std::atomic<FakeProtocol*> protocol{nullptr};

private:
    struct JobEntry {
        unsigned Code;
        const char* Name;
        void (FakeWorker::*Job)();
    };

    void SetUp() override {
        m_protocol =
            std::make_unique<FakeProtocol>(Queue(), AbortFlag, m_owner->result, m_owner->error);
        protocol = m_protocol.get();
    }
    void Run(unsigned code) override {
        static constexpr JobEntry kJobs[] = {{kList, "List", &FakeWorker::JobList},
                                             {kStall, "Stall", &FakeWorker::JobStall},
                                             {kDeep, "Deep", &FakeWorker::JobDeep}};
        const JobEntry* job = FindByCode(kJobs, code);
        if (job == nullptr) {
            return;
        }
        AbortFlag = false;
        m_owner->result = 0;
        (this->*job->Job)();
        const std::string outcome = std::string(job->Name) + " " + std::to_string(m_owner->result);
        OnUiThread([this, outcome] { m_owner->done.push_back(outcome); });
    }
    void TearDown() override {
        protocol = nullptr;
        m_protocol.reset();
    }

    void JobList() {
        TFTPListItems items;
        m_protocol->ListFolder("/pub", items, TRemoteProtocol::Purpose::Show);
    }
    void JobStall() {
        m_protocol->stall = true;
        m_protocol->RemoveFile("held");
        m_protocol->stall = false;
    }
    void JobDeep() { WithinDepth(kMaxRecursionDepth + 1, "/deep"); }

    std::shared_ptr<TestOwner> m_owner;
    std::unique_ptr<FakeProtocol> m_protocol;
};

struct HostHarness {
    PumpedUiThread ui;
    std::shared_ptr<TestOwner> owner = std::make_shared<TestOwner>();
    FakeWorker* worker = nullptr;

    HostHarness() {
        auto made = std::make_unique<FakeWorker>(owner, ui);
        worker = made.get();
        owner->workers.Start(std::move(made), false);
    }
    ~HostHarness() {
        owner->workers.Stop();
        ui.pumpUntil([this] { return owner->ended; }, 10s);
    }
    // The stall shows on no user-interface call: it is looked at every few milliseconds.
    bool waitForStall() {
        for (int tries = 0; tries < 2000; ++tries) {
            FakeProtocol* protocol = worker->protocol;
            if (protocol != nullptr && protocol->stalled) {
                return true;
            }
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }
    bool waitForDone(std::size_t count) {
        return ui.pumpUntil([&] { return owner->done.size() >= count; }, 10s);
    }
};

} // namespace

TEST(WorkerHost, RunsTheJobOfTheTableAndDropsUnknownCodes) {
    HostHarness h;
    // As owners do, the next code is posted once the job before it is done: a code that comes
    // while a job waits is dropped.
    h.owner->workers.Post(99);
    h.owner->workers.Post(kList);
    ASSERT_TRUE(h.waitForDone(1));
    h.owner->workers.Post(kDeep);
    ASSERT_TRUE(h.waitForDone(2));
    EXPECT_EQ(h.owner->done, (std::vector<std::string>{"List 0", "Deep 1"}));
    EXPECT_EQ(h.owner->error, "500 Stopped at [/deep]: more than " +
                                  std::to_string(kMaxRecursionDepth) + " folder levels.");
    h.ui.pump();
    ASSERT_FALSE(h.owner->lines.empty());
    EXPECT_EQ(h.owner->lines.back(), "! " + h.owner->error);
}

TEST(WorkerHost, AbortEndsAWaitingRequestAndTheNextJobRuns) {
    HostHarness h;
    h.owner->workers.Post(kStall);
    ASSERT_TRUE(h.waitForStall());
    h.owner->workers.Abort(kAbort);
    ASSERT_TRUE(h.waitForDone(1));
    EXPECT_EQ(h.owner->done[0], "Stall 2");
    // The abort code was taken by the wait: the next job runs to its end.
    h.owner->workers.Post(kList);
    ASSERT_TRUE(h.waitForDone(2));
    EXPECT_EQ(h.owner->done[1], "List 0");
}

TEST(WorkerHost, QuitDuringAWaitEndsTheJobAndTheThread) {
    HostHarness h;
    h.owner->workers.Post(kStall);
    ASSERT_TRUE(h.waitForStall());
    h.owner->workers.Stop();
    ASSERT_TRUE(h.ui.pumpUntil([&] { return h.owner->ended; }, 10s));
    EXPECT_EQ(h.owner->done, (std::vector<std::string>{"Stall 2"}));
    EXPECT_FALSE(h.owner->workers.Running());
}

TEST(RequestWait, TakesOnlyTheCompletionOfTheRequestWaitedFor) {
    MessageQueue queue;
    std::atomic<bool> abortFlag{false};
    TRequestWait wait(queue, abortFlag, kAbort);
    const std::uint64_t first = wait.Begin();
    const std::uint64_t second = wait.Begin();
    queue.post([&] { wait.Complete(first, 426); }); // left behind by an abort
    queue.post([&] { wait.Complete(second, 0); });
    ASSERT_EQ(wait.Wait(), TRequestWait::End::Completed);
    EXPECT_EQ(wait.Error(), 0);

    wait.Begin();
    queue.postThreadMessage(kAbort);
    EXPECT_EQ(wait.Wait(), TRequestWait::End::Aborted);
    wait.Begin();
    queue.postQuit();
    EXPECT_EQ(wait.Wait(), TRequestWait::End::Aborted);
    EXPECT_EQ(queue.take().kind, MessageQueue::Message::Kind::Quit); // posted again
}

// The rules of uploads stay above the seam: any protocol gets the temporary name, the resume
// from what it holds and the rename over the target.
TEST(RemoteTransfers, UploadsUnderATemporaryNameAndResumesOnlyThere) {
    test::TempDir dir;
    const std::string local = dir.write("a.bin", std::string(20, 'x'));
    MessageQueue queue;
    std::atomic<bool> abortFlag{false};
    std::uint8_t result = 0;
    std::string error;
    FakeProtocol remote(queue, abortFlag, result, error);

    EXPECT_EQ(UploadFile(remote, local, "/up/a.bin", false), 0);
    EXPECT_EQ(remote.calls, (std::vector<std::string>{"Upload " + local + " /up/a.bin.part -1",
                                                      "Rename /up/a.bin.part /up/a.bin replace"}));

    remote.calls.clear();
    remote.sizeAnswer = 12;
    EXPECT_EQ(UploadFile(remote, local, "/up/a.bin", true), 0);
    EXPECT_EQ(remote.calls, (std::vector<std::string>{"Size /up/a.bin.part",
                                                      "Upload " + local + " /up/a.bin.part 12",
                                                      "Rename /up/a.bin.part /up/a.bin replace"}));

    remote.calls.clear();
    remote.UploadToTemporaryName = false;
    EXPECT_EQ(UploadFile(remote, local, "/up/a.bin", true), 0);
    EXPECT_EQ(remote.calls, (std::vector<std::string>{"Upload " + local + " /up/a.bin -1"}));
}
