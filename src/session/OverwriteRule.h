// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// What to do with a transfer whose target exists already.
enum class TOverwriteChoice : std::uint8_t {
    Overwrite,
    OverwriteIfNewer, // only when the source is newer than the target
    Resume,           // go on from the part the target holds
    Rename,           // transfer under another name (TOverwriteAnswer::NewName)
    Skip,
    Cancel, // end the whole request
};

// The question a session asks its owner before it replaces a file. Times are seconds since
// 1970 in UTC; sizes -1 and times nothing where the server would not tell.
struct TOverwriteQuestion {
    bool Upload = false;
    std::string Target; // the local path, or the remote path of an upload
    std::int64_t TargetSize = -1;
    std::optional<std::int64_t> TargetTime;
    std::int64_t SourceSize = -1;
    std::optional<std::int64_t> SourceTime;
    // The target is shorter than the source and the transfer can go on from its end.
    bool CanResume = false;
    // A name beside the target that is free (for Rename), ready to propose.
    std::string FreeName;
};

struct TOverwriteAnswer {
    TOverwriteChoice Choice = TOverwriteChoice::Overwrite;
    bool ApplyToAll = false; // the same for the rest of the request, without asking
    // Rename: the name (in the target's folder) to transfer to instead; empty takes FreeName.
    std::string NewName;
};

// Whether OverwriteIfNewer transfers: the source is newer by at least a second (listings and
// MDTM have whole seconds). When a time is not known the transfer goes ahead, so that nothing
// is left out on a guess.
bool SourceIsNewer(const TOverwriteQuestion& question);

// "name (1).ext", "name (2).ext", ... beside a local path: the first one that does not exist.
std::string FreeLocalName(const std::string& path);
// The same for a remote path, with a test for names that are taken.
template <typename Taken> std::string FreeName(const std::string& path, Taken&& taken);

// One side of the question for people: "12.3 KB, 2026-12-01 10:00" in local time, with the
// texts for an unknown size and date (the window's, in the user's language) where the server
// would not tell.
std::string OverwriteSideText(std::int64_t size, const std::optional<std::int64_t>& time,
                              std::string_view sizeUnknown = "size unknown",
                              std::string_view dateUnknown = "date unknown");

// "name (n).ext" of a path; the extension is what follows the last dot of the last component,
// unless the name starts with it (".profile").
std::string NumberedName(const std::string& path, int number);

template <typename Taken> std::string FreeName(const std::string& path, Taken&& taken) {
    for (int number = 1; number < 10000; ++number) {
        std::string candidate = NumberedName(path, number);
        if (!taken(candidate)) {
            return candidate;
        }
    }
    return {};
}

} // namespace qx
