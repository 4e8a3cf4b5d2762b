// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/WorkerHost.h"

#include "session/RemoteNames.h"

#include <sys/resource.h>

namespace qx {

TWorkerHost::TWorkerHost(std::shared_ptr<TWorkerOwner> owner, UiThread& ui,
                         TEngineDriver::Outcome outcome)
    : m_owner(std::move(owner)), m_ui(ui), m_outcome(outcome) {}

TWorkerHost::~TWorkerHost() {
    Join();
}

void TWorkerHost::Start(bool lowestPriority) {
    m_thread.Start([this, lowestPriority](const std::function<void()>& ready) {
        Body(lowestPriority, ready);
    });
}

void TWorkerHost::Join() {
    m_thread.Join();
}

void TWorkerHost::Body(bool lowestPriority, const std::function<void()>& ready) {
    if (lowestPriority) {
        ::setpriority(PRIO_PROCESS, 0, 19); // this thread only
    }
    SetUp();
    ready();
    for (;;) {
        const std::chrono::milliseconds wait = IdleWait();
        const std::optional<MessageQueue::Message> taken =
            wait.count() > 0 ? m_queue.takeFor(wait) : m_queue.take();
        if (!taken) {
            Idle();
            continue;
        }
        const MessageQueue::Message& message = *taken;
        if (message.kind == MessageQueue::Message::Kind::Quit) {
            break;
        }
        if (message.kind == MessageQueue::Message::Kind::Thread) {
            // A code that names no request (an Abort that came after its request ended) is
            // dropped by Run().
            Run(message.thread.Code);
        }
    }
    TearDown();
    // The owner joins this thread and frees this object on the user-interface thread; the
    // message holds the owner until then.
    m_ui.post([owner = m_owner, self = this] { owner->WorkerEnded(self); });
}

// --- Delivery --------------------------------------------------------------------------------

void TWorkerHost::Deliver(const std::string& line) {
    // Lines carry copies and need no answer: they are queued rather than waited for, and still
    // reach the user-interface thread before the request's done event, in order.
    m_ui.post([owner = m_owner, line] { owner->ShowLine(line); });
}

TEngineDriver::Hooks TWorkerHost::DeliveryHooks() {
    TEngineDriver::Hooks hooks;
    hooks.Deliver = [this](const std::string& line) { Deliver(line); };
    hooks.Progress = [this](std::int64_t position, std::int64_t transfered, std::int64_t elapsed) {
        m_ui.post([owner = m_owner, position, transfered, elapsed] {
            owner->ShowProgress(position, transfered, elapsed);
        });
    };
    return hooks;
}

// --- Questions -------------------------------------------------------------------------------

TEngineDriver::LoginPlan TWorkerHost::PlanLogin(int attempts, bool askForMissing) {
    TEngineDriver::LoginPlan plan;
    plan.Attempts = attempts;
    if (askForMissing) {
        plan.Ask = [this](TFTPAuthenticate what, std::string& answer) {
            bool given = true;
            std::string need = answer;
            m_ui.invoke([&] { given = m_owner->AskLogin(what, need); });
            if (given) {
                answer = need;
            }
            return given;
        };
    }
    plan.TrustCertificate = [this](const TCertificateQuestion& question) {
        bool trust = false;
        m_ui.invoke([&] { trust = m_owner->TrustCertificate(question); });
        return trust;
    };
    return plan;
}

std::function<std::optional<std::string>(const sftp::TSshQuestion&)> TWorkerHost::SshAsker() {
    if (!m_owner->AnswersSshQuestions()) {
        return nullptr;
    }
    return [this](const sftp::TSshQuestion& question) {
        std::optional<std::string> answer;
        m_ui.invoke([&] { answer = m_owner->AnswerSshQuestion(question); });
        return answer;
    };
}

TTargetGuard::TAsk TWorkerHost::OverwriteAsker() {
    return [this](const TOverwriteQuestion& question) {
        TOverwriteAnswer answer;
        m_ui.invoke([&] { answer = m_owner->AskOverwrite(question); });
        return answer;
    };
}

// --- Outcomes --------------------------------------------------------------------------------

void TWorkerHost::Fail(std::string errorMessage) {
    m_outcome.ResultCode = 1;
    m_outcome.ErrorMessage = std::move(errorMessage);
}

bool TWorkerHost::WithinDepth(int depth, const std::string& folder) {
    if (depth <= kMaxRecursionDepth) {
        return true;
    }
    Fail("500 Stopped at [" + folder + "]: more than " + std::to_string(kMaxRecursionDepth) +
         " folder levels.");
    Deliver("! " + m_outcome.ErrorMessage);
    return false;
}

// --- The owner's workers ---------------------------------------------------------------------

TWorkerSet::TWorkerSet() = default;

TWorkerSet::~TWorkerSet() = default;

void TWorkerSet::Start(std::unique_ptr<TWorkerHost> worker, bool lowestPriority) {
    worker->Start(lowestPriority);
    m_current = worker.get();
    m_workers.push_back(std::move(worker));
    m_running = true;
}

void TWorkerSet::Post(unsigned code) {
    if (m_current != nullptr) {
        m_current->Queue().postThreadMessage(code);
    }
}

void TWorkerSet::Abort(unsigned abortCode) {
    if (m_current == nullptr) {
        return;
    }
    m_current->Queue().postThreadMessage(abortCode);
    m_current->AbortFlag = true;
}

void TWorkerSet::Stop() {
    if (m_current != nullptr) {
        m_current->Queue().postQuit();
        m_current = nullptr;
    }
}

bool TWorkerSet::Ended(TWorkerHost* worker) {
    if (ReleaseEndedWorker(m_workers, m_current, worker)) {
        m_running = false;
    }
    return !m_running;
}

} // namespace qx
