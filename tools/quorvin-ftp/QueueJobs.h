// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::cli {

// One line of a job file: "get URL LOCALDIR", "put LOCALPATH URL" or "copy SRCURL DESTURL".
// The destination always names a folder; folders at the source are explored.
struct QueueJob {
    enum class Kind { Get, Put, Copy };
    Kind kind = Kind::Get;
    std::string source;
    std::string destination;
    int line = 0; // in the job file; 0 for a job of the command line
};

// The jobs of a job file. Blank lines and lines starting with "#" are skipped; a field that
// holds blanks is written in double quotes. A malformed line gives nothing, with
// "NAME:LINE: why" in error.
std::optional<std::vector<QueueJob>> ParseQueueJobs(std::string_view text, const std::string& name,
                                                    std::string& error);

// Checks one job as a line of the file would be checked; empty when it is well formed.
std::string CheckQueueJob(const QueueJob& job);

} // namespace qx::cli
