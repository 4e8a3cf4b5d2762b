// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SftpListing.h"
#include "engine/sftp/SftpTransfer.h"
#include "platform/MessageQueue.h"

#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace qx::test {

// An SFTP client driven on the test's own thread: each call starts a request and pumps the
// queue until its callback came (or a minute passed).
class SftpHarness {
public:
    MessageQueue queue;
    sftp::TSftpClient client{queue};

    template <typename Predicate>
    bool runUntil(Predicate done, std::chrono::seconds limit = std::chrono::seconds(60)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            queue.runOneFor(std::chrono::milliseconds(50));
        }
        return true;
    }

    // start(done) issues the request; the result its callback got.
    template <typename Start> sftp::TSftpResult call(Start start) {
        std::optional<sftp::TSftpResult> result;
        start([&result](const sftp::TSftpResult& got) { result = got; });
        if (!runUntil([&] { return result.has_value(); })) {
            return sftp::TSftpResult::Failed(sftp::TSftpError::Refused, "no answer in time");
        }
        return *result;
    }

    sftp::TSftpResult login(sftp::TSftpLogin login) {
        return call([&](auto done) { client.Login(std::move(login), done); });
    }

    sftp::TSftpResult quit() {
        return call([&](auto done) { client.Quit(done); });
    }

    sftp::TSftpResult download(const std::string& remote, const std::string& local,
                               std::int64_t offset = 0) {
        return call([&](auto done) {
            client.Download(
                remote, local, offset,
                {nullptr, [done](const sftp::TSftpResult& result, std::int64_t) { done(result); }});
        });
    }

    sftp::TSftpResult upload(const std::string& local, const std::string& remote,
                             std::int64_t offset = 0) {
        return call([&](auto done) {
            client.Upload(
                local, remote, offset,
                {nullptr, [done](const sftp::TSftpResult& result, std::int64_t) { done(result); }});
        });
    }

    struct Listing {
        sftp::TSftpResult result;
        TFTPListItems items;
        sftp::TSftpListReport report;
    };
    Listing list(const std::string& path) {
        Listing listing;
        listing.result = call([&](auto done) {
            client.ListFolder(path,
                              [&listing, done](const sftp::TSftpResult& result, TFTPListItems items,
                                               const sftp::TSftpListReport& report) {
                                  listing.items = std::move(items);
                                  listing.report = report;
                                  done(result);
                              });
        });
        return listing;
    }

    std::pair<sftp::TSftpResult, sftp::TAttributes> stat(const std::string& path) {
        sftp::TAttributes attributes;
        const auto result = call([&](auto done) {
            client.Stat(path, [&attributes, done](const sftp::TSftpResult& got,
                                                  const sftp::TAttributes& found) {
                attributes = found;
                done(got);
            });
        });
        return {result, attributes};
    }
};

} // namespace qx::test
