// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/FTPClientThread.h"

#include "base/Translatable.h"

namespace qx {

TFTPClientThread::TFTPClientThread(std::shared_ptr<TThreadedFTPClient> client)
    : TWorkerHost(client, client->m_ui,
                  TEngineDriver::Outcome{client->ResultCode, client->ErrorMessage}),
      m_client(std::move(client)) {}

TFTPClientThread::~TFTPClientThread() {
    Join();
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
    return FindByCode(kRequests, code);
}

void TFTPClientThread::SetUp() {
    TEngineDriver::Hooks hooks = DeliveryHooks();
    hooks.Skipped = [this](const std::string& text) { Skip(text); };
    m_ftp = std::make_unique<TEngineDriver>(
        Queue(), AbortFlag, ftp_request::Abort,
        TEngineDriver::Outcome{m_client->ResultCode, m_client->ErrorMessage}, std::move(hooks),
        false);
    m_driver = m_ftp.get();
}

void TFTPClientThread::TearDown() {
    m_driver = nullptr;
    m_sftp.reset();
    m_ftp.reset();
}

// FileSize is the user-interface thread's: progress events queued before a change still see
// the size they belong to.
void TFTPClientThread::PublishFileSize(std::int64_t size) {
    Post([client = m_client, size] { client->FileSize = size; });
}

// --- Running a request -----------------------------------------------------------------------

void TFTPClientThread::Run(unsigned code) {
    const RequestEntry* request = FindRequest(code);
    if (request == nullptr) {
        return;
    }
    TThreadedFTPClient& client = *m_client;
    AbortFlag = false;
    client.ResultCode = 0;
    m_skipped.clear();
    m_failed.clear();
    m_answerForAll.reset();
    Deliver(request->Status);
    try {
        (this->*request->Operation)();
    } catch (const std::exception& error) {
        // Nothing may end the worker without the request's done event.
        m_driver->FailAndLog(error.what());
    }
    if (m_driver == m_ftp.get()) {
        client.m_hostAddress = Engine().DnsResult();
    }
    m_lastUse = std::chrono::steady_clock::now();
    Finish(*request);
}

void TFTPClientThread::Finish(const RequestEntry& request) {
    TThreadedFTPClient& client = *m_client;
    client.SkippedEntries = m_skipped;
    client.FailedEntries = m_failed;
    OnUiThread([&client, &request] {
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
    Deliver(QX_TRANSLATE_NOOP("qx::Core", "% Idle"));
}

} // namespace qx
