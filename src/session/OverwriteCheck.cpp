// Before a transfer replaces a file: what is there, the owner's answer, and what follows.
#include "engine/FtpClientEx.h"
#include "engine/LocalFileStream.h"
#include "engine/MlsdFacts.h"
#include "session/EngineDriver.h"
#include "session/FTPClientThread.h"
#include "session/RemoteNames.h"
#include "session/ThreadedFTPClient.h"

#include <sys/stat.h>

namespace qx {

namespace {

struct TLocalFacts {
    bool Exists = false;
    bool Regular = false;
    std::int64_t Size = -1;
    std::int64_t Time = 0;
};

TLocalFacts LocalFacts(const std::string& path) {
    TLocalFacts facts;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return facts;
    }
    facts.Exists = true;
    facts.Regular = S_ISREG(info.st_mode);
    facts.Size = static_cast<std::int64_t>(info.st_size);
    facts.Time = static_cast<std::int64_t>(info.st_mtime);
    return facts;
}

} // namespace

// The size of a remote file (SIZE), -1 when the server names none; a failed probe is no
// failure of the request.
std::int64_t TFTPClientThread::RemoteSizeOf(const std::string& path, bool& aborted) {
    TFtpClientEx& engine = Engine();
    const std::string kept = engine.HostFileName;
    engine.HostFileName = path;
    const std::uint8_t result = m_driver->Step(&TCustomFtpCliEx::Size);
    engine.HostFileName = kept;
    aborted = result == 2;
    const std::int64_t size = result == 0 ? engine.SizeResult() : -1;
    if (result == 1) {
        m_driver->ClearFailure();
    }
    return size;
}

// The modification time of a remote file (MDTM), in UTC.
std::optional<std::int64_t> TFTPClientThread::RemoteTimeOf(const std::string& path, bool& aborted) {
    TFtpClientEx& engine = Engine();
    const std::string kept = engine.LocalFileName; // Quote takes its command from there
    const std::uint8_t result = m_driver->Quote("MDTM " + path);
    engine.LocalFileName = kept;
    aborted = result == 2;
    std::optional<std::int64_t> time;
    const std::string& reply = engine.LastResponse();
    if (result == 0 && reply.size() > 4 && reply.starts_with("213")) {
        time = ParseFtpTimeVal(reply.substr(4));
    }
    if (result == 1) {
        m_driver->ClearFailure();
    }
    return time;
}

TFTPClientThread::TGoAhead TFTPClientThread::CheckTarget(bool upload, bool& resume) {
    TThreadedFTPClient& client = *m_client;
    if (!client.OnOverwrite) {
        return TGoAhead::Transfer; // files are replaced, as ever
    }
    TFtpClientEx& engine = Engine();
    TOverwriteQuestion question;
    question.Upload = upload;
    bool aborted = false;
    const auto stop = [this] {
        m_driver->Abort();
        return TGoAhead::Cancel;
    };
    if (upload) {
        question.Target = engine.HostFileName;
        question.TargetSize = RemoteSizeOf(question.Target, aborted);
        if (aborted) {
            return stop();
        }
        question.TargetTime = RemoteTimeOf(question.Target, aborted);
        if (aborted) {
            return stop();
        }
        if (question.TargetSize < 0 && !question.TargetTime) {
            return TGoAhead::Transfer; // nothing there
        }
        const TLocalFacts source = LocalFacts(engine.LocalFileName);
        question.SourceSize = source.Size;
        question.SourceTime = source.Time;
    } else {
        question.Target = engine.LocalFileName;
        const TLocalFacts target = LocalFacts(question.Target);
        if (!target.Exists || !target.Regular) {
            return TGoAhead::Transfer; // the download reports what it cannot replace
        }
        question.TargetSize = target.Size;
        question.TargetTime = target.Time;
        question.SourceSize = RemoteSizeOf(engine.HostFileName, aborted);
        if (aborted) {
            return stop();
        }
        question.SourceTime = RemoteTimeOf(engine.HostFileName, aborted);
        if (aborted) {
            return stop();
        }
    }
    question.CanResume = engine.Binary() && client.ResumeSupported && question.TargetSize >= 0 &&
                         question.SourceSize > question.TargetSize;
    if (upload) {
        question.FreeName = FreeName(question.Target, [&](const std::string& candidate) {
            bool stopped = false;
            const bool taken = RemoteSizeOf(candidate, stopped) >= 0 ||
                               RemoteTimeOf(candidate, stopped).has_value();
            return taken || stopped;
        });
    } else {
        question.FreeName = FreeLocalName(question.Target);
    }

    TOverwriteAnswer answer;
    if (m_answerForAll) {
        answer = *m_answerForAll;
    } else {
        client.m_ui.invoke([&] {
            if (client.OnOverwrite) {
                auto handler = client.OnOverwrite;
                handler(client, question, answer);
            }
        });
        if (answer.ApplyToAll) {
            m_answerForAll = answer;
        }
    }

    const std::string shown = "[" + question.Target + "]";
    switch (answer.Choice) {
    case TOverwriteChoice::Overwrite:
        resume = false;
        return TGoAhead::Transfer;
    case TOverwriteChoice::OverwriteIfNewer:
        if (SourceIsNewer(question)) {
            resume = false;
            return TGoAhead::Transfer;
        }
        m_driver->Line('~', "Skipped " + shown + ": the one there is not older.");
        return TGoAhead::Skip;
    case TOverwriteChoice::Resume:
        resume = question.CanResume;
        return TGoAhead::Transfer;
    case TOverwriteChoice::Rename: {
        // Each file of an answer for all gets a free name of its own; a name the owner gives
        // stays in the target's folder.
        std::string name = question.FreeName;
        if (!answer.NewName.empty() && !answer.ApplyToAll) {
            const std::size_t slash = question.Target.find_last_of('/');
            name = IsSafeEntryName(answer.NewName)
                       ? question.Target.substr(0, slash == std::string::npos ? 0 : slash + 1) +
                             answer.NewName
                       : std::string();
        }
        if (name.empty()) {
            m_driver->FailAndLog("500 Cannot transfer " + shown + " under the name [" +
                                 answer.NewName + "].");
            return TGoAhead::Skip;
        }
        (upload ? engine.HostFileName : engine.LocalFileName) = std::move(name);
        resume = false;
        return TGoAhead::Transfer;
    }
    case TOverwriteChoice::Skip:
        m_driver->Line('~', "Skipped " + shown + ": it exists.");
        return TGoAhead::Skip;
    case TOverwriteChoice::Cancel:
        return stop();
    }
    return TGoAhead::Transfer;
}

} // namespace qx
