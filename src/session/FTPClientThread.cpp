#include "session/FTPClientThread.h"

#include <sys/resource.h>

#include <iterator>

namespace qx {

TFTPClientThread::TFTPClientThread(std::shared_ptr<TThreadedFTPClient> client)
    : m_client(std::move(client)) {}

TFTPClientThread::~TFTPClientThread() {
    Join();
}

void TFTPClientThread::Start() {
    m_thread.Start([this](const std::function<void()>& ready) { Body(ready); });
}

void TFTPClientThread::Join() {
    m_thread.Join();
}

const TFTPClientThread::RequestEntry* TFTPClientThread::FindRequest(unsigned code) {
    static constexpr RequestEntry kRequests[] = {
#define QX_REQUEST_ENTRY(name, code, status, consumesHostNames, consumesLocalNames)                \
    {code,                                                                                         \
     status,                                                                                       \
     &TThreadedFTPClient::On##name##Done,                                                          \
     &TFTPClientThread::Op##name,                                                                  \
     consumesHostNames,                                                                            \
     consumesLocalNames},
        QX_FTP_REQUESTS(QX_REQUEST_ENTRY)
#undef QX_REQUEST_ENTRY
    };
    for (const RequestEntry& entry : kRequests) {
        if (entry.Code == code) {
            return &entry;
        }
    }
    return nullptr;
}

void TFTPClientThread::Body(const std::function<void()>& ready) {
    TThreadedFTPClient& client = *m_client;
    if (client.LowestPriority) {
        ::setpriority(PRIO_PROCESS, 0, 19); // this thread only
    }
    TEngineDriver::Hooks hooks;
    hooks.Deliver = [this](const std::string& line) { Deliver(line); };
    hooks.Skipped = [this](const std::string& text) { Skip(text); };
    hooks.Progress = [this](std::int64_t position, std::int64_t transfered, std::int64_t elapsed) {
        m_client->m_ui.post([client = m_client, position, transfered, elapsed] {
            if (client->OnTransferStatus) {
                auto handler = client->OnTransferStatus;
                handler(*client, position, transfered, elapsed);
            }
        });
    };
    m_driver = std::make_unique<TEngineDriver>(
        m_queue, AbortFlag, ftp_request::Abort,
        TEngineDriver::Outcome{client.ResultCode, client.ErrorMessage}, std::move(hooks), false);
    ready();

    for (;;) {
        const MessageQueue::Message message = m_queue.take();
        if (message.kind == MessageQueue::Message::Kind::Quit) {
            break;
        }
        if (message.kind != MessageQueue::Message::Kind::Thread) {
            continue;
        }
        if (const RequestEntry* request = FindRequest(message.thread.Code)) {
            RunOperation(*request);
        }
        // Any other code (an Abort that came after its request ended) is dropped.
    }
    m_driver.reset();
    // The end handler joins this thread and frees this object on the user-interface thread;
    // it holds the client until then.
    auto owner = m_client;
    owner->m_ui.post([owner, self = this] { owner->EndOfWorker(self); });
}

// --- Delivery --------------------------------------------------------------------------------

void TFTPClientThread::Deliver(const std::string& line) {
    m_client->m_ui.post([client = m_client, line] {
        if (client->OnDisplay) {
            auto handler = client->OnDisplay;
            handler(*client, line);
        }
    });
}

// FileSize is the user-interface thread's: progress events queued before a change still see
// the size they belong to.
void TFTPClientThread::PublishFileSize(std::int64_t size) {
    m_client->m_ui.post([client = m_client, size] { client->FileSize = size; });
}

bool TFTPClientThread::Ask(TFTPAuthenticate what, std::string& answer) {
    TThreadedFTPClient& client = *m_client;
    bool cancel = false;
    std::string need;
    client.m_ui.invoke([&] {
        if (client.OnAuthenticate) {
            auto handler = client.OnAuthenticate;
            handler(client, what, need, cancel);
            if (!cancel) {
                // Later attempts and reconnections do not ask again.
                (what == TFTPAuthenticate::ftpAuthUserName ? client.UserName : client.Password) =
                    need;
            }
        } else {
            need = answer;
        }
    });
    if (!cancel) {
        answer = need;
    }
    return !cancel;
}

bool TFTPClientThread::AskCertificate(const TCertificateQuestion& question) {
    TThreadedFTPClient& client = *m_client;
    bool trust = false;
    client.m_ui.invoke([&] {
        if (client.OnCertificate) {
            auto handler = client.OnCertificate;
            handler(client, question, trust);
        }
    });
    return trust;
}

// --- Running a request -----------------------------------------------------------------------

void TFTPClientThread::RunOperation(const RequestEntry& request) {
    TThreadedFTPClient& client = *m_client;
    AbortFlag = false;
    client.ResultCode = 0;
    m_skipped.clear();
    m_failed.clear();
    m_answerForAll.reset();
    Deliver(request.Status);
    try {
        (this->*request.Operation)();
    } catch (const std::exception& error) {
        // Nothing may end the worker without the request's done event.
        m_driver->FailAndLog(error.what());
    }
    client.m_hostAddress = Engine().DnsResult();
    Finish(request);
}

void TFTPClientThread::Finish(const RequestEntry& request) {
    TThreadedFTPClient& client = *m_client;
    client.SkippedEntries = m_skipped;
    client.FailedEntries = m_failed;
    client.m_ui.invoke([&client, &request] {
        // Cleared here, on the user-interface thread, right before the done event: a window
        // that sees the client idle never sees it before the end of the request was handled.
        client.m_busy = false;
        if (client.*request.DoneEvent) {
            auto handler = client.*request.DoneEvent;
            handler(client);
        }
        // The handler saw the entries that were not done. A handler that already issued the
        // next request has filled the lists again: they stay.
        if (!client.m_busy) {
            if (request.ConsumesHostNames) {
                client.HostFileNames.Clear();
            }
            if (request.ConsumesLocalNames) {
                client.LocalFileNames.Clear();
            }
        }
    });
    Deliver("% Idle");
}

} // namespace qx
