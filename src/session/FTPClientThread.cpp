#include "session/FTPClientThread.h"

#include "session/SessionLog.h"

#include <sys/resource.h>

#include <chrono>

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

void TFTPClientThread::Body(const std::function<void()>& ready) {
    if (m_client->LowestPriority) {
        ::setpriority(PRIO_PROCESS, 0, 19); // this thread only
    }
    m_engine = std::make_unique<TFtpClientEx>(m_queue);
    m_engine->MultiThreaded = true;
    m_engine->Timeout = 0; // the session waits on its own terms
    InstallEngineHandlers();
    ready();

    for (;;) {
        const MessageQueue::Message message = m_queue.take();
        if (message.kind == MessageQueue::Message::Kind::Quit) {
            break;
        }
        if (message.kind == MessageQueue::Message::Kind::Thread &&
            message.thread.Code != ftp_request::Abort) {
            RunOperation(message.thread.Code);
        }
    }
    m_engine.reset();
    // The end handler joins this thread and frees this object on the user-interface thread;
    // it holds the client until then.
    auto client = m_client;
    client->m_ui.post([client, self = this] { client->EndOfWorker(self); });
}

void TFTPClientThread::InstallEngineHandlers() {
    TFtpClientEx& engine = *m_engine;
    engine.OnCommand = [this](TCustomFtpCliEx&, std::string& command) {
        if (!m_quiet) {
            Deliver(CommandLogLine(command));
        }
    };
    engine.OnResponse = [this](TCustomFtpCliEx& e) {
        if (!m_quiet) {
            Deliver(ReplyLogLine(e.LastResponse()));
        }
    };
    engine.OnConnectState = [this](TCustomFtpCliEx& e, TFTPConnectState state) {
        Deliver(ConnectStateLogLine(state, e.HostName, e.DnsResult()));
    };
    engine.OnTransferState = [this](TCustomFtpCliEx&, std::int64_t position,
                                    std::int64_t transfered, std::int64_t elapsed) {
        TThreadedFTPClient& client = *m_client;
        client.m_ui.invoke([&client, position, transfered, elapsed] {
            if (client.OnTransferStatus) {
                auto handler = client.OnTransferStatus;
                handler(client, position, transfered, elapsed);
            }
        });
    };
    engine.OnRequestDone = [this](TCustomFtpCliEx& e, TFtpRequest, std::uint16_t error) {
        // A completion posted by an earlier request that was aborted may still come in while
        // the next one runs; only a completion with the engine ready belongs to the request
        // being waited for.
        if (e.State() == TFtpState::ftpReady) {
            m_requestDone = true;
            m_requestError = error;
        }
    };
}

// --- Waiting for the engine ------------------------------------------------------------------

bool TFTPClientThread::Failed() const {
    return m_client->ResultCode != 0;
}

bool TFTPClientThread::Aborted() const {
    return m_client->ResultCode == 2;
}

void TFTPClientThread::Step(Request request) {
    m_requestDone = false;
    try {
        (m_engine.get()->*request)();
    } catch (const std::exception& refused) {
        // Refused before anything was sent (an empty user name, no connection, ...): a failed
        // step like any other.
        m_client->ResultCode = 1;
        m_client->ErrorMessage = refused.what();
        Deliver(std::string("! ") + refused.what());
        return;
    }
    WaitForEngine();
}

void TFTPClientThread::WaitForEngine() {
    for (;;) {
        if (AbortFlag.load()) {
            DoAbort();
            return;
        }
        if (m_engine->State() == TFtpState::ftpReady && m_requestDone) {
            if (m_requestError == 0) {
                m_client->ResultCode = 0;
            } else {
                m_client->ResultCode = 1;
                m_client->ErrorMessage = m_engine->ErrorMessage().empty()
                                             ? m_engine->LastResponse()
                                             : m_engine->ErrorMessage();
            }
            AbortFlag = false;
            return;
        }
        const MessageQueue::Message message = m_queue.take();
        if (message.kind == MessageQueue::Message::Kind::Quit) {
            DoAbort();
            m_queue.postQuit(); // so that the thread's own loop ends as well
            return;
        }
        if (message.kind == MessageQueue::Message::Kind::Thread &&
            message.thread.Code == ftp_request::Abort) {
            DoAbort();
            return;
        }
        // A window message has been dispatched; any other request code is dropped.
    }
}

void TFTPClientThread::DoAbort() {
    AbortFlag = false;
    m_engine->Abort();
    m_client->ResultCode = 2;
    m_client->ErrorMessage = "! Operation aborted.";
    Deliver("! Operation aborted.");
}

void TFTPClientThread::SleepUnlessAborted(int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until && !AbortFlag.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// --- Delivery --------------------------------------------------------------------------------

void TFTPClientThread::Deliver(const std::string& line) {
    TThreadedFTPClient& client = *m_client;
    client.m_ui.invoke([&client, &line] {
        if (client.OnDisplay) {
            auto handler = client.OnDisplay;
            handler(client, line);
        }
    });
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

// --- Operations ------------------------------------------------------------------------------

void TFTPClientThread::Finish(DoneEvent event, bool consumesHostNames, bool consumesLocalNames) {
    TThreadedFTPClient& client = *m_client;
    client.m_busy = false;
    client.m_ui.invoke([&client, event, consumesHostNames, consumesLocalNames] {
        if (client.*event) {
            auto handler = client.*event;
            handler(client);
        }
        // The handler saw the entries that were not done. A handler that already issued the
        // next request has filled the lists again: they stay.
        if (!client.m_busy) {
            if (consumesHostNames) {
                client.HostFileNames.Clear();
            }
            if (consumesLocalNames) {
                client.LocalFileNames.Clear();
            }
        }
    });
    Deliver("% Idle");
}

void TFTPClientThread::RunOperation(unsigned code) {
    using namespace ftp_request;
    TThreadedFTPClient& client = *m_client;
    AbortFlag = false;
    client.ResultCode = 0;
    struct Operation {
        const char* status;
        DoneEvent event;
        bool consumesHostNames;
        bool consumesLocalNames;
    };
    Operation op{};
    switch (code) {
    case Connect:
        op = {"% Connecting", &TThreadedFTPClient::OnConnectDone, false, false};
        break;
    case ChangeFolder:
        op = {"% Changing Path", &TThreadedFTPClient::OnChangeFolderDone, false, false};
        break;
    case GetFolder:
        op = {"% Getting Path", &TThreadedFTPClient::OnGetFolderDone, false, false};
        break;
    case GetListItems:
        op = {"% Listing", &TThreadedFTPClient::OnGetListItemsDone, false, false};
        break;
    case Rename:
        op = {"% Renaming", &TThreadedFTPClient::OnRenameDone, false, false};
        break;
    case Remove:
        op = {"% Removing", &TThreadedFTPClient::OnRemoveDone, true, false};
        break;
    case DownloadFile:
        op = {"% Downloading", &TThreadedFTPClient::OnDownloadFileDone, false, false};
        break;
    case UploadFile:
        op = {"% Uploading", &TThreadedFTPClient::OnUploadFileDone, false, false};
        break;
    case MakeFolder:
        op = {"% Making Folder", &TThreadedFTPClient::OnMakeFolderDone, false, false};
        break;
    case Downloads:
        op = {"% Downloading", &TThreadedFTPClient::OnDownloadsDone, true, true};
        break;
    case Uploads:
        op = {"% Uploading", &TThreadedFTPClient::OnUploadsDone, true, true};
        break;
    case Quit:
        op = {"% Quiting", &TThreadedFTPClient::OnQuitDone, false, false};
        break;
    case ChangePerms:
        op = {"% Changing Permission", &TThreadedFTPClient::OnChangePermsDone, true, false};
        break;
    case Uppercase:
        op = {"% Uppercasing", &TThreadedFTPClient::OnUppercaseDone, true, false};
        break;
    case Lowercase:
        op = {"% Lowercasing", &TThreadedFTPClient::OnLowercaseDone, true, false};
        break;
    default:
        return; // not a request code: dropped
    }
    Deliver(op.status);
    try {
        switch (code) {
        case Connect:
            OpConnect();
            break;
        case ChangeFolder:
            if (ReconnectIfClosed()) {
                m_engine->HostDirName = client.HostDirName;
                Step(&TCustomFtpCliEx::Cwd);
            }
            break;
        case GetFolder:
            if (ReconnectIfClosed()) {
                Step(&TCustomFtpCliEx::Pwd);
                client.m_currentFolder = m_engine->DirResult();
            }
            break;
        case GetListItems:
            if (ReconnectIfClosed()) {
                m_engine->HostDirName = client.HostDirName;
                if (client.ListItems != nullptr) {
                    ListFolder(*client.ListItems);
                } else {
                    TFTPListItems discarded;
                    ListFolder(discarded);
                }
            }
            break;
        case Rename:
            if (ReconnectIfClosed()) {
                m_engine->HostFileName = client.HostFileName;
                m_engine->LocalFileName = client.LocalFileName;
                Step(&TCustomFtpCliEx::RenamePair);
            }
            break;
        case Remove:
            OpRemove();
            break;
        case DownloadFile:
            if (ReconnectIfClosed()) {
                m_engine->HostFileName = client.HostFileName;
                m_engine->LocalFileName = client.LocalFileName;
                DownloadOneFile();
            }
            break;
        case UploadFile:
            if (ReconnectIfClosed()) {
                m_engine->HostFileName = client.HostFileName;
                m_engine->LocalFileName = client.LocalFileName;
                UploadOneFile();
            }
            break;
        case MakeFolder:
            if (ReconnectIfClosed()) {
                m_engine->HostFileName = client.HostFileName;
                Step(&TCustomFtpCliEx::Mkd);
            }
            break;
        case Downloads:
            OpTransfers(false);
            break;
        case Uploads:
            OpTransfers(true);
            break;
        case Quit:
            OpQuit();
            break;
        case ChangePerms:
            OpChangePerms();
            break;
        case Uppercase:
            OpChangeCase(true);
            break;
        case Lowercase:
            OpChangeCase(false);
            break;
        default:
            break;
        }
    } catch (const std::exception& error) {
        // Nothing may end the worker without the request's done event.
        client.ResultCode = 1;
        client.ErrorMessage = error.what();
        Deliver(std::string("! ") + error.what());
    }
    client.m_hostAddress = m_engine->DnsResult();
    Finish(op.event, op.consumesHostNames, op.consumesLocalNames);
}

} // namespace qx
