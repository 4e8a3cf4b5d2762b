// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/OverwriteRule.h"

#include "base/ProxySettings.h"
#include "base/TransferType.h"
#include "engine/FtpTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::cli {

// What the options of a command line set; unset choices leave the site's or the defaults.
struct CliOptions {
    std::optional<bool> passive;
    bool noMlsd = false;
    std::optional<TFTPTransferType> type;
    bool resume = false;
    bool inplace = false;
    bool verbose = false;
    bool recursive = false;
    int carriers = 3;
    // mirror: upload instead of download, delete what the source lacks, only print the plan,
    // compare by size alone, and the masks of the names it takes and leaves ("a;b").
    bool reverse = false;
    bool deleteOrphans = false;
    bool dryRun = false;
    bool sizeOnly = false;
    std::string include;
    std::string exclude;
    bool withPasswords = false; // sites export
    // find: names (masks joined with ";"), times (seconds since the epoch), sizes in bytes,
    // and how many levels below the folder are searched.
    std::string names;
    std::optional<std::int64_t> newer;
    std::optional<std::int64_t> older;
    std::optional<std::int64_t> larger;
    std::optional<std::int64_t> smaller;
    std::optional<int> maxDepth;
    int timeout = 30;
    bool keepTimes = true;
    // Minutes the server's LIST times run ahead of UTC (--time-zone-offset).
    std::optional<int> timeZoneOffset;
    std::string site;
    std::optional<TOverwriteChoice> whenTargetExists;
    bool readableSizes = false;
    bool tsv = false;
    bool help = false;
    std::optional<TFtpTlsMode> tls;
    std::vector<std::string> pins;
    bool insecure = false;
    // sftp:// URLs: ssh's key file, known-hosts file, configuration file, whether an unknown host
    // key is added, and "-o" options (allow-listed).
    std::string identity;
    std::string knownHosts;
    std::string sshConfig;
    bool acceptNewHostKey = false;
    std::vector<std::string> sshOptions;
    // Proxy: --proxy URL, else ALL_PROXY or all_proxy (read with the command line); a kind of
    // None (--proxy '') connects directly. Unset leaves the site's choice.
    std::optional<TProxySettings> proxy;
    // The servers' file-name character set as a choice text (base/NameCharset.h, --charset).
    std::optional<std::string> charset;
    // Bytes per second for downloads and uploads (--limit-rate); 0 is no limit.
    std::int64_t limitRate = 0;
};

} // namespace qx::cli
