// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/OverwriteRule.h"

#include "CliOptions.h"
#include "CliSession.h"
#include "QueueJobs.h"

#include "base/SshSettings.h"
#include "base/TransferType.h"
#include "engine/FtpTypes.h"
#include "queue/FTPCarryItem.h"

#include <atomic>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qx::cli {

struct QueueRunOptions {
    bool passive = true; // data connections of downloads and uploads
    TFTPTransferType type = TFTPTransferType::ftpTypeBinary;
    bool resume = false;
    bool uploadToTemporaryName = true; // uploads and copies travel as NAME.part
    bool verbose = false;              // every carrier's log lines on the error stream
    int carriers = 3;
    std::int64_t limitRate = 0; // bytes per second each way, for all carriers together; 0 none
    int timeout = 30;           // seconds without a byte moving before a request fails
    bool keepTimes = true;      // copies take the modification time of their originals
    int timeZoneOffset = 0;     // minutes the servers' LIST times run ahead of UTC
    // What a job does when its target exists; nothing set replaces it.
    std::optional<TOverwriteChoice> whenTargetExists;
    // For ftp:// URLs (ftps:// is implicit TLS whatever this says).
    TFtpTlsMode tls = TFtpTlsMode::None;
    std::vector<std::string> pins;
    bool insecure = false;
    std::string charset; // the servers' file-name character set (base/NameCharset.h)
    // For sftp:// URLs: how ssh connects (key, known hosts, configuration, options).
    TSshSettings ssh;
    TProxySettings proxy;
    // Once set (when given), running items are aborted and nothing more starts.
    const std::atomic<bool>* interrupted = nullptr;
};

// Turns the jobs into queue items (folders and files are told apart by asking the servers and
// the local disk, relative remote paths are resolved from the login folder), runs them
// through the transfer queue and prints the success and fail rows. While it runs, the status
// rows are shown live on a terminal. Exit code 0 only when nothing failed and no exploration
// left an entry out (those are listed).
int RunQueueJobs(const std::vector<QueueJob>& jobs, const QueueRunOptions& options,
                 std::ostream& out, std::ostream& err);

// What a run of queue items ended with.
struct QueueRunReport {
    std::size_t succeeded = 0;
    std::vector<std::string> failedSources; // the source path of each item that failed
};

// Runs the items through the transfer queue and prints what failed or was skipped, and with
// listSuccesses what succeeded; exit code as RunQueueJobs'.
int RunQueueItems(std::vector<std::unique_ptr<TFTPCarryItem>> items, const QueueRunOptions& options,
                  std::ostream& out, std::ostream& err, bool listSuccesses, QueueRunReport* report);

// The item's source (destination) server: the target's login, protocol and encryption.
void SetSourceServer(TFTPCarryItem& item, const CliTarget& target);
void SetDestinationServer(TFTPCarryItem& item, const CliTarget& target);
// The item's icon and type name, as the queue window shows them.
void DescribeQueueItem(TFTPCarryItem& item);

// The queue's run options from the command line's.
QueueRunOptions QueueOptionsOf(const CliOptions& options, const std::atomic<bool>& interrupted);

} // namespace qx::cli
