// SPDX-License-Identifier: GPL-3.0-or-later
// ls and decode-listing.

#include "Handlers.h"

#include "CliOutput.h"
#include "HumanListing.h"
#include "ListingOutput.h"
#include "LocalFileRead.h"
#include "RemoteSession.h"

#include "engine/ListDecoder.h"
#include "platform/TempFiles.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <iostream>

namespace qx::cli {

namespace {

// Writes bytes to a new private temporary file; its path, or nothing with the reason in problem.
std::optional<std::string> privateCopy(const std::string& bytes, std::string& problem) {
    TempFile temp = CreateTempFile(PrivateTempFolder());
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(temp.Fd.get(), bytes.data() + written, bytes.size() - written);
        if (n <= 0) {
            std::remove(temp.Path.c_str());
            problem = "cannot write the temporary copy " + temp.Path;
            return std::nullopt;
        }
        written += static_cast<std::size_t>(n);
    }
    return temp.Path;
}

THumanListingStyle humanStyle(const CliOptions& options) {
    THumanListingStyle style;
    style.ReadableSizes = options.readableSizes;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) != nullptr) {
        style.CurrentYear = local.tm_year + 1900;
        style.CurrentMonth = local.tm_mon + 1;
    }
    return style;
}

} // namespace

int RunDecodeListing(const CommandCall& call) {
    std::string problem;
    const std::optional<std::string> bytes = ReadLocalFile(call.arguments[0], problem);
    if (!bytes) {
        return Fail(problem);
    }
    // The decoder deletes the file it reads: it gets a private copy.
    std::optional<std::string> copy;
    try {
        copy = privateCopy(*bytes, problem);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    if (!copy) {
        return Fail(problem);
    }
    TFTPListItems items;
    if (!DecodeListFile(*copy, items)) {
        std::remove(copy->c_str());
        return Fail("cannot read the temporary copy " + *copy);
    }
    PrintListing(items, std::cout);
    if (problem = FlushOutput(); !problem.empty()) {
        return Fail(problem);
    }
    return 0;
}

int RunLs(const CommandCall& call) {
    const CliOptions& options = call.options;
    return RunOnSession(call, [&options](RemoteWork& work) {
        TFTPListItems items;
        const bool ok = work.session.List(work.paths[0], items);
        if (ok && options.tsv) {
            PrintListing(items, std::cout);
        } else if (ok) {
            PrintHumanListing(items, humanStyle(options), std::cout);
        }
        work.outputProblem = FlushOutput();
        return ok;
    });
}

} // namespace qx::cli
