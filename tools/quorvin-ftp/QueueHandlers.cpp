// SPDX-License-Identifier: GPL-3.0-or-later
// copy and queue: jobs of the transfer queue.

#include "Handlers.h"

#include "CliOutput.h"
#include "LocalFileRead.h"
#include "QueueCommand.h"

#include <iostream>

namespace qx::cli {

namespace {

int runJobs(const CommandCall& call, const std::vector<QueueJob>& jobs) {
    return RunQueueJobs(jobs, QueueOptionsOf(call.options, call.interrupted), std::cout, std::cerr);
}

// The queue's jobs name their servers by URL: a site of the site book has no place there.
std::string refusedSite(const CommandCall& call) {
    if (call.options.site.empty()) {
        return {};
    }
    return std::string(call.command.name) + " takes URLs, not --site";
}

} // namespace

int RunCopy(const CommandCall& call) {
    if (const std::string problem = refusedSite(call); !problem.empty()) {
        return Usage(problem, "copy");
    }
    QueueJob job{QueueJob::Kind::Copy, call.arguments[0], call.arguments[1], 0}; // no file line
    if (const std::string problem = CheckQueueJob(job); !problem.empty()) {
        return Usage(problem, "copy");
    }
    return runJobs(call, {std::move(job)});
}

int RunQueue(const CommandCall& call) {
    if (const std::string problem = refusedSite(call); !problem.empty()) {
        return Usage(problem, "queue");
    }
    const std::string& file = call.arguments[0];
    std::string problem;
    const std::optional<std::string> text = ReadLocalFile(file, problem);
    if (!text) {
        return Fail(problem);
    }
    auto jobs = ParseQueueJobs(*text, file, problem);
    if (!jobs) {
        return Usage(problem, "queue");
    }
    return runJobs(call, *jobs);
}

} // namespace qx::cli
