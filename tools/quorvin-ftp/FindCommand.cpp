// SPDX-License-Identifier: GPL-3.0-or-later
// find: the entries below a remote folder that match names, times and sizes.

#include "Handlers.h"

#include "CliOutput.h"
#include "RemoteSession.h"
#include "VisibleText.h"
#include "remote/RemoteFind.h"

#include <iostream>

namespace qx::cli {

namespace {

TFindCriteria CriteriaOf(const CliOptions& options, int timeZoneOffset) {
    TFindCriteria criteria;
    criteria.Names.SetMasks(options.names); // checked when the options were read
    criteria.NewerThan = options.newer;
    criteria.OlderThan = options.older;
    criteria.LargerThan = options.larger;
    criteria.SmallerThan = options.smaller;
    criteria.MaxDepth = options.maxDepth.value_or(kMaxRecursionDepth);
    criteria.TimeZoneOffset = timeZoneOffset;
    return criteria;
}

} // namespace

int RunFind(const CommandCall& call) {
    return RunOnSession(call, [&](RemoteWork& work) {
        work.failuresTold = true;
        TRemoteFind find(work.paths[0], CriteriaOf(call.options, work.target.TimeZoneOffset));
        bool complete = true;
        while (const auto folder = find.NextFolder()) {
            if (call.interrupted.load()) {
                return false;
            }
            TFTPListItems items;
            if (!work.session.List(*folder, items)) {
                std::cerr << "quorvin-ftp: [" << VisibleText(*folder)
                          << "] could not be listed: " << VisibleText(work.session.Failure())
                          << '\n';
                find.NotListed();
                complete = false;
                continue;
            }
            for (const TFoundEntry& entry : find.Listed(items)) {
                std::cout << VisibleText(entry.Path)
                          << (entry.Item.IsFile || entry.Item.IsLink ? "" : "/") << '\n';
            }
        }
        work.outputProblem = FlushOutput();
        return complete && work.outputProblem.empty();
    });
}

} // namespace qx::cli
