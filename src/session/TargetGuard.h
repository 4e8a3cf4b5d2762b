// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/OverwriteRule.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qx {

class TRemoteProtocol;

// Before a transfer replaces a file: looks at what is there (the local file, or SIZE and MDTM
// on the server), asks, and applies the answer. A Rename changes the target path, a Resume the
// resume flag. The probes of the server are no failure of the job; an abort during them is.
class TTargetGuard {
public:
    enum class TGoAhead { Transfer, Skip, Cancel };
    using TAsk = std::function<TOverwriteAnswer(const TOverwriteQuestion&)>;

    // The protocol of the server side of the transfer. An answer for all is kept in forAll (none:
    // the asker keeps it).
    TTargetGuard(TRemoteProtocol& remote, TAsk ask, std::optional<TOverwriteAnswer>* forAll);

    TGoAhead Download(const std::string& remotePath, std::string& localPath, bool binary,
                      bool resumeSupported, bool& resume);
    TGoAhead Upload(const std::string& localPath, std::string& remotePath, bool binary,
                    bool resumeSupported, bool& resume);
    // Server to server: the source's protocol tells the size and time of what comes.
    TGoAhead Copy(TRemoteProtocol& source, const std::string& sourcePath, std::string& remotePath,
                  bool binary, bool resumeSupported, bool& resume);
    // The same with the source's size (-1 unknown) and time already known (a relayed copy,
    // whose source lives on another thread).
    TGoAhead Copy(std::int64_t sourceSize, std::optional<std::int64_t> sourceTime,
                  std::string& remotePath, bool binary, bool resumeSupported, bool& resume);

private:
    std::int64_t SizeOf(TRemoteProtocol& remote, const std::string& path, bool& aborted);
    std::optional<std::int64_t> TimeOf(TRemoteProtocol& remote, const std::string& path,
                                       bool& aborted);
    // SIZE and MDTM of question.Target on the server: whether something is there.
    bool RemoteTargetExists(TOverwriteQuestion& question, bool& aborted);
    std::string FreeRemoteName(const std::string& path);
    bool CanResumeUpload(const std::string& remotePath, std::int64_t sourceSize, bool& aborted);
    // The question of a copy when its target exists; describeSource fills in the source's size
    // and time (false: aborted).
    TGoAhead AskCopy(std::string& remotePath, bool binary, bool resumeSupported, bool& resume,
                     const std::function<bool(TOverwriteQuestion&)>& describeSource);
    TGoAhead Decide(TOverwriteQuestion& question, std::string& target, bool& resume);
    TGoAhead Stop();

    TRemoteProtocol& m_remote;
    TAsk m_ask;
    std::optional<TOverwriteAnswer>* m_forAll;
};

} // namespace qx
