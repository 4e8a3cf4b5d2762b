// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/RemoteTransfers.h"

#include "engine/LocalFileStream.h"
#include "session/FileTimes.h"
#include "session/ResumeRule.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace qx {

// The paths are copies on purpose: callers pass the engine's own fields (HostFileName,
// LocalFileName), which the requests overwrite on the way.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
std::uint8_t DownloadFile(TRemoteProtocol& remote, std::string remotePath, std::string localPath,
                          bool resume, const std::function<void(std::int64_t)>& sizeKnown) {
    std::int64_t fileSize = -1;
    // The size is asked for first unless the server names it as the download starts (a binary
    // download must end with it either way) and no partial file is there to compare with it.
    const bool sizeFirst = sizeKnown || !remote.Binary() || !remote.NamesDownloadSize() ||
                           (resume && LocalFileSizeOf(PartialFileName(localPath)) >= 0);
    if (sizeFirst) {
        if (remote.Size(remotePath, fileSize) == 2) {
            return 2;
        }
        if (sizeKnown) {
            sizeKnown(fileSize);
        }
    }
    // Offsets count the server's bytes: only a binary download of a known size can go on
    // later, and it keeps the time that tells whether the remote file is still the same.
    const bool resumable =
        remote.Binary() && (fileSize >= 0 || !sizeFirst) && DownloadsThroughPartial(localPath);
    std::optional<std::int64_t> remoteTime;
    if (resumable) {
        remoteTime = remote.ModifiedTime(remotePath);
        if (remote.Aborted()) {
            return 2;
        }
    }
    resume = resume && resumable;
    if (resume) {
        const std::string partial = PartialFileName(localPath);
        switch (PartialDownloadFit(localPath, fileSize, remoteTime)) {
        case TPartialFit::None:
            resume = false;
            if (LocalFileSizeOf(localPath) >= 0) {
                remote.Line('~', NotResumedText("no partial download [" + partial + "] of [" +
                                                localPath +
                                                "] is there to go on from; downloading the "
                                                "whole file."));
            }
            break;
        case TPartialFit::Differs:
            resume = false;
            remote.Line('~', NotResumedText("[" + partial + "] is no part of [" + remotePath +
                                            "] as the server holds it now (the size or the "
                                            "modification time differ, or the server tells no "
                                            "time); downloading the whole file."));
            break;
        case TPartialFit::Complete:
            if (std::rename(partial.c_str(), ReplacedFileName(localPath).c_str()) != 0) {
                remote.FailAndLog("550 Cannot replace " + localPath + ".");
                return 1;
            }
            remote.Line('~',
                        "[" + localPath + "] is complete: its partial download held all of it.");
            remote.ClearFailure();
            return 0;
        case TPartialFit::Fits:
            break;
        }
    }
    // What the server announced is what a binary download must end with.
    const std::uint8_t result = remote.Download(remotePath, localPath, resume, fileSize);
    KeepDownloadedFileTime(remote, remotePath, localPath, remoteTime);
    if (remote.Failed() && remoteTime) {
        KeepRemoteTime(localPath, *remoteTime);
    }
    return result;
}

namespace {

// Where an upload goes on in the temporary file the server holds: after its part of the data,
// unless that is longer than the data's size (sourceSize, -1 when unknown).
std::uint8_t AppendOffset(TRemoteProtocol& remote, const std::string& temporary,
                          std::int64_t sourceSize, const std::string& sourceName,
                          std::int64_t& appendAt) {
    std::int64_t held = -1;
    if (remote.Size(temporary, held) == 2) {
        return 2;
    }
    if (held > sourceSize) {
        remote.Line('~', NotResumedText("[" + temporary + "] on the server is longer than [" +
                                        sourceName + "]; sending the whole file."));
    } else if (held >= 0) {
        appendAt = held;
    }
    remote.ClearFailure(); // no partial upload is there: nothing to go on from
    return 0;
}

} // namespace

// The paths are copies on purpose, as DownloadFile's.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
std::uint8_t UploadFile(TRemoteProtocol& remote, std::string localPath, std::string remotePath,
                        bool resume) {
    TUploadPlan plan;
    if (PlanUpload(remote, remotePath, resume, LocalFileSizeOf(localPath), localPath, plan) == 2) {
        return 2;
    }
    if (remote.Upload(localPath, plan.Stored, plan.AppendAt) != 0) {
        return remote.Aborted() ? 2 : 1; // the part sent stays under the temporary name
    }
    if (plan.Stored != remotePath) {
        PutInPlace(remote, plan.Stored, remotePath);
    }
    KeepUploadedFileTime(remote, localPath, remotePath);
    return remote.Aborted() ? 2 : remote.Failed() ? 1 : 0;
}

std::uint8_t PlanUpload(TRemoteProtocol& remote, const std::string& remotePath, bool resume,
                        std::int64_t sourceSize, const std::string& sourceName, TUploadPlan& plan) {
    plan = {remotePath, -1};
    // Offsets count the server's bytes: ASCII uploads always start from the beginning.
    resume = resume && remote.Binary();
    if (!remote.UploadToTemporaryName) {
        if (resume) {
            remote.Line('~', NotResumedText("uploads to this server go straight to their name, "
                                            "so nothing of [" +
                                            remotePath +
                                            "] is known to be a part of this file; sending the "
                                            "whole file."));
        }
        return 0;
    }
    plan.Stored = TemporaryUploadName(remotePath);
    return resume ? AppendOffset(remote, plan.Stored, sourceSize, sourceName, plan.AppendAt) : 0;
}

std::uint8_t RelayUpload(TRemoteProtocol& remote, TByteSource& source, const TUploadPlan& plan,
                         const std::string& remotePath, std::int64_t sourceSize) {
    if (remote.UploadFrom(source, plan.Stored, plan.AppendAt) != 0) {
        return remote.Aborted() ? 2 : 1; // the part sent stays under the temporary name
    }
    if (remote.Binary() && sourceSize >= 0) {
        std::int64_t stored = -1;
        if (remote.Size(plan.Stored, stored) == 2) {
            return 2;
        }
        remote.ClearFailure(); // a server that tells no size is checked by the count alone
        const std::int64_t sent = std::max<std::int64_t>(plan.AppendAt, 0) + source.Given();
        if (sent != sourceSize || (stored >= 0 && stored != sourceSize)) {
            remote.FailAndLog("550 The copy of [" + remotePath + "] is incomplete: [" +
                              plan.Stored + "] holds " +
                              std::to_string(stored >= 0 ? stored : sent) + " of " +
                              std::to_string(sourceSize) + " bytes.");
            return 1;
        }
    }
    if (plan.Stored != remotePath) {
        PutInPlace(remote, plan.Stored, remotePath);
    }
    return remote.Aborted() ? 2 : remote.Failed() ? 1 : 0;
}

bool PutInPlace(TRemoteProtocol& remote, const std::string& temporary, const std::string& target) {
    remote.Rename(temporary, target, true);
    if (remote.Failed() && !remote.Aborted()) {
        // The failure's text stays first: it is what the server said.
        remote.FailAndLog(
            remote.ErrorMessage() + " The upload is complete under the name [" + temporary +
            "] but could not take the place of [" + target +
            "]. For a server that refuses renames, turn off \"Upload under a temporary "
            "name\" in the site's properties (quorvin-ftp: --inplace).");
    }
    return !remote.Failed();
}

} // namespace qx
