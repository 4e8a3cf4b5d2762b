// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ResumeRule.h"

#include "engine/LocalFileStream.h"

namespace qx {

namespace {
constexpr std::string_view kNotResumed = "Not resumed: ";
} // namespace

TPartialFit PartialDownloadFit(const std::string& localPath, std::int64_t remoteSize,
                               const std::optional<std::int64_t>& remoteTime) {
    const std::string partial = PartialFileName(localPath);
    const std::int64_t held = LocalFileSizeOf(partial);
    if (held < 0) {
        return TPartialFit::None;
    }
    if (remoteSize < 0 || held > remoteSize || !remoteTime ||
        LocalFileTimeOf(partial) != remoteTime) {
        return TPartialFit::Differs;
    }
    return held == remoteSize ? TPartialFit::Complete : TPartialFit::Fits;
}

void KeepRemoteTime(const std::string& localPath, std::int64_t remoteTime) {
    const std::string partial = PartialFileName(localPath);
    if (LocalFileSizeOf(partial) >= 0) {
        SetLocalFileTime(partial, remoteTime);
    }
}

std::string TemporaryUploadName(const std::string& remotePath) {
    return remotePath + ".part";
}

std::string NotResumedText(const std::string& why) {
    return std::string(kNotResumed) + why;
}

bool IsNotResumedLine(std::string_view logLine) {
    // "~ text" or, from a carrier, "~ [host]: text".
    if (!logLine.starts_with("~ ")) {
        return false;
    }
    logLine.remove_prefix(2);
    if (logLine.starts_with('[')) {
        const auto tag = logLine.find("]: ");
        if (tag == std::string_view::npos) {
            return false;
        }
        logLine.remove_prefix(tag + 3);
    }
    return logLine.starts_with(kNotResumed);
}

} // namespace qx
