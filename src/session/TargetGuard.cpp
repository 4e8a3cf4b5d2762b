// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/TargetGuard.h"

#include "session/RemoteNames.h"
#include "session/RemoteProtocol.h"
#include "session/ResumeRule.h"

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

TTargetGuard::TTargetGuard(TRemoteProtocol& remote, TAsk ask,
                           std::optional<TOverwriteAnswer>* forAll)
    : m_remote(remote), m_ask(std::move(ask)), m_forAll(forAll) {}

std::int64_t TTargetGuard::SizeOf(TRemoteProtocol& remote, const std::string& path, bool& aborted) {
    std::int64_t size = -1;
    const std::uint8_t result = remote.Size(path, size);
    aborted = result == 2;
    if (result == 1) {
        remote.ClearFailure();
    }
    return size;
}

std::optional<std::int64_t> TTargetGuard::TimeOf(TRemoteProtocol& remote, const std::string& path,
                                                 bool& aborted) {
    auto time = remote.ModifiedTime(path, true);
    aborted = remote.Aborted();
    return time;
}

bool TTargetGuard::RemoteTargetExists(TOverwriteQuestion& question, bool& aborted) {
    question.TargetSize = SizeOf(m_remote, question.Target, aborted);
    if (!aborted) {
        question.TargetTime = TimeOf(m_remote, question.Target, aborted);
    }
    return !aborted && (question.TargetSize >= 0 || question.TargetTime.has_value());
}

std::string TTargetGuard::FreeRemoteName(const std::string& path) {
    return FreeName(path, [&](const std::string& candidate) {
        bool stopped = false;
        const bool taken = SizeOf(m_remote, candidate, stopped) >= 0 ||
                           (!stopped && TimeOf(m_remote, candidate, stopped).has_value());
        return taken || stopped;
    });
}

TTargetGuard::TGoAhead TTargetGuard::Stop() {
    m_remote.Abort();
    return TGoAhead::Cancel;
}

TTargetGuard::TGoAhead TTargetGuard::Download(const std::string& remotePath, std::string& localPath,
                                              bool binary, bool resumeSupported, bool& resume) {
    const TLocalFacts target = LocalFacts(localPath);
    if (!target.Exists || !target.Regular) {
        return TGoAhead::Transfer; // the download reports what it cannot replace
    }
    TOverwriteQuestion question;
    question.Target = localPath;
    question.TargetSize = target.Size;
    question.TargetTime = target.Time;
    bool aborted = false;
    question.SourceSize = SizeOf(m_remote, remotePath, aborted);
    if (!aborted) {
        question.SourceTime = TimeOf(m_remote, remotePath, aborted);
    }
    if (aborted) {
        return Stop();
    }
    // Only a partial download of this very file goes on (the file itself may be anything).
    const TPartialFit partial =
        PartialDownloadFit(localPath, question.SourceSize, question.SourceTime);
    question.CanResume = binary && resumeSupported &&
                         (partial == TPartialFit::Fits || partial == TPartialFit::Complete);
    question.FreeName = FreeLocalName(localPath);
    return Decide(question, localPath, resume);
}

TTargetGuard::TGoAhead TTargetGuard::Upload(const std::string& localPath, std::string& remotePath,
                                            bool binary, bool resumeSupported, bool& resume) {
    // A copy whose source's size and time are known at once.
    const TLocalFacts source = LocalFacts(localPath);
    const auto sourceTime = source.Exists ? std::optional<std::int64_t>(source.Time) : std::nullopt;
    return Copy(source.Size, sourceTime, remotePath, binary, resumeSupported, resume);
}

// An upload goes on only in the temporary file an earlier one left, never in the target.
bool TTargetGuard::CanResumeUpload(const std::string& remotePath, std::int64_t sourceSize,
                                   bool& aborted) {
    if (!m_remote.UploadToTemporaryName) {
        return false;
    }
    const std::int64_t held = SizeOf(m_remote, TemporaryUploadName(remotePath), aborted);
    return held >= 0 && held <= sourceSize;
}

TTargetGuard::TGoAhead TTargetGuard::Copy(TRemoteProtocol& source, const std::string& sourcePath,
                                          std::string& remotePath, bool binary,
                                          bool resumeSupported, bool& resume) {
    return AskCopy(remotePath, binary, resumeSupported, resume, [&](TOverwriteQuestion& question) {
        bool aborted = false;
        question.SourceSize = SizeOf(source, sourcePath, aborted);
        if (!aborted) {
            question.SourceTime = TimeOf(source, sourcePath, aborted);
        }
        if (aborted) {
            source.Abort();
        }
        return !aborted;
    });
}

TTargetGuard::TGoAhead TTargetGuard::Copy(std::int64_t sourceSize,
                                          std::optional<std::int64_t> sourceTime,
                                          std::string& remotePath, bool binary,
                                          bool resumeSupported, bool& resume) {
    return AskCopy(remotePath, binary, resumeSupported, resume, [&](TOverwriteQuestion& question) {
        question.SourceSize = sourceSize;
        question.SourceTime = sourceTime;
        return true;
    });
}

TTargetGuard::TGoAhead
TTargetGuard::AskCopy(std::string& remotePath, bool binary, bool resumeSupported, bool& resume,
                      const std::function<bool(TOverwriteQuestion&)>& describeSource) {
    TOverwriteQuestion question;
    question.Upload = true;
    question.Target = remotePath;
    bool aborted = false;
    if (!RemoteTargetExists(question, aborted)) {
        return aborted ? Stop() : TGoAhead::Transfer;
    }
    if (!describeSource(question)) {
        return TGoAhead::Cancel;
    }
    question.CanResume =
        binary && resumeSupported && CanResumeUpload(remotePath, question.SourceSize, aborted);
    if (aborted) {
        return Stop();
    }
    question.FreeName = FreeRemoteName(remotePath);
    return Decide(question, remotePath, resume);
}

TTargetGuard::TGoAhead TTargetGuard::Decide(TOverwriteQuestion& question, std::string& target,
                                            bool& resume) {
    TOverwriteAnswer answer;
    if (m_forAll != nullptr && m_forAll->has_value()) {
        answer = **m_forAll;
    } else {
        answer = m_ask(question);
        if (answer.ApplyToAll && m_forAll != nullptr) {
            *m_forAll = answer;
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
        m_remote.Line('~', "Skipped " + shown + ": the one there is not older.");
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
            m_remote.FailAndLog("500 Cannot transfer " + shown + " under the name [" +
                                answer.NewName + "].");
            return TGoAhead::Skip;
        }
        target = std::move(name);
        resume = false;
        return TGoAhead::Transfer;
    }
    case TOverwriteChoice::Skip:
        m_remote.Line('~', "Skipped " + shown + ": it exists.");
        return TGoAhead::Skip;
    case TOverwriteChoice::Cancel:
        return Stop();
    }
    return TGoAhead::Transfer;
}

} // namespace qx
