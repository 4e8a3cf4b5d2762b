// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionTable.h"

#include "base/AsciiText.h"
#include "base/Masks.h"
#include "base/NameCharset.h"
#include "base/QuantityText.h"
#include "base/TimeZoneOffset.h"
#include "engine/TlsCertificate.h"
#include "engine/sftp/SshArguments.h"

#include <optional>

namespace qx::cli {

namespace {

// A small decimal number in a range; nothing for anything else.
std::optional<int> numberIn(const std::string& text, int lowest, int highest) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int value = std::stoi(text);
    if (value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

using Value = const std::string&;

// Adds masks to a list of them; false when one cannot be read.
bool addMasks(std::string& masks, Value value) {
    try {
        TMasks check(value);
        if (check.Count() == 0) {
            return false;
        }
    } catch (const EMaskException&) {
        return false;
    }
    masks += (masks.empty() ? "" : ";") + value;
    return true;
}

// The apply of a switch: sets one member to one value.
template <auto Member, auto To> bool setTo(CliOptions& options, Value) {
    options.*Member = To;
    return true;
}

// The apply of an option whose value a parser reads: sets the member only to a value it took.
template <auto Member, auto Parse> bool parsedInto(CliOptions& options, Value value) {
    const auto parsed = Parse(value);
    if (parsed) {
        options.*Member = *parsed;
    }
    return parsed.has_value();
}

constexpr OptionRow kOptions[] = {
    {.name = "--active",
     .help = "data connections (default passive)",
     .apply = setTo<&CliOptions::passive, false>},
    {.name = "--passive", .apply = setTo<&CliOptions::passive, true>},
    {.name = "--ascii",
     .help = "transfer type (default binary; auto: ASCII by extension)",
     .apply = setTo<&CliOptions::type, TFTPTransferType::ftpTypeASCII>},
    {.name = "--binary", .apply = setTo<&CliOptions::type, TFTPTransferType::ftpTypeBinary>},
    {.name = "--auto", .apply = setTo<&CliOptions::type, TFTPTransferType::ftpTypeAuto>},
    {.name = "--resume",
     .help = "resume transfers where the server supports it, from a\n"
             "partial file of the same file only",
     .apply = setTo<&CliOptions::resume, true>},
    {.name = "--inplace",
     .help = "upload straight to the target name (for servers that\n"
             "refuse renames); without it uploads travel as NAME.part",
     .apply = setTo<&CliOptions::inplace, true>},
    {.name = "--no-keep-times",
     .help = "leave the time of the transfer on copies (by default a\n"
             "copy takes the modification time of its original)",
     .apply = setTo<&CliOptions::keepTimes, false>},
    {.name = "--time-zone-offset",
     .argument = "[+-]HH:MM",
     .help = "how far the server's LIST times run ahead of UTC\n"
             "(default the site's, else 0)",
     .needs = "an offset like +02:00 or -05:30, at most 24 hours",
     .apply = parsedInto<&CliOptions::timeZoneOffset, ParseTimeZoneOffset>},
    {.name = "--skip-existing",
     .help = "leave files that exist at the target alone",
     .apply = setTo<&CliOptions::whenTargetExists, TOverwriteChoice::Skip>},
    {.name = "--newer",
     .help = "replace files at the target only by newer ones",
     .apply = setTo<&CliOptions::whenTargetExists, TOverwriteChoice::OverwriteIfNewer>},
    {.name = "--site",
     .argument = "PATH",
     .help = "connect to a site of the site book (PATH like \\Work\\Mirror);\n"
             "URLs may then be plain remote paths",
     .needs = "the location of a site, for example \\Work\\Mirror",
     .apply =
         [](CliOptions& o, Value value) {
             o.site = value;
             return true;
         }},
    {.name = "--carriers",
     .argument = "N",
     .help = "transfers at once for copy, queue and mirror (1 to 16,\n"
             "default 3)",
     .needs = "a number from 1 to 16",
     .apply =
         [](CliOptions& o, Value value) {
             const auto count = numberIn(value, 1, 16);
             o.carriers = count.value_or(o.carriers);
             return count.has_value();
         }},
    {.name = "--reverse",
     .help = "mirror: upload LOCALDIR to URL instead of downloading",
     .apply = setTo<&CliOptions::reverse, true>},
    {.name = "--delete",
     .help = "mirror: delete files and folders the source does not have",
     .apply = setTo<&CliOptions::deleteOrphans, true>},
    {.name = "--dry-run",
     .help = "mirror, sites import: print what would be done and change\nnothing",
     .apply = setTo<&CliOptions::dryRun, true>},
    {.name = "--size-only",
     .help = "mirror: files differ only when their sizes do",
     .apply = setTo<&CliOptions::sizeOnly, true>},
    {.name = "--include",
     .argument = "MASK",
     .help = "mirror: only files whose names match (*.html;*.css)",
     .needs = "file-name masks such as *.html, joined with ;",
     .apply = [](CliOptions& o, Value value) { return addMasks(o.include, value); }},
    {.name = "--exclude",
     .argument = "MASK",
     .help = "mirror: leave files and folders whose names match alone",
     .needs = "file-name masks such as *.tmp, joined with ;",
     .apply = [](CliOptions& o, Value value) { return addMasks(o.exclude, value); }},
    {.name = "--name",
     .argument = "MASK",
     .help = "find: names that match (*.log;core.*)",
     .needs = "file-name masks such as *.log, joined with ;",
     .apply = [](CliOptions& o, Value value) { return addMasks(o.names, value); }},
    {.name = "--newer",
     .argument = "DATE",
     .help = "find: changed after DATE (2026-12-01 or \"2026-12-01 14:30\",\nthis machine's time)",
     .needs = "a date such as 2026-12-01 or \"2026-12-01 14:30\"",
     .apply = parsedInto<&CliOptions::newer, ParseLocalMoment>},
    {.name = "--older",
     .argument = "DATE",
     .help = "find: changed before DATE",
     .needs = "a date such as 2026-12-01 or \"2026-12-01 14:30\"",
     .apply = parsedInto<&CliOptions::older, ParseLocalMoment>},
    {.name = "--larger",
     .argument = "SIZE",
     .help = "find: files of more than SIZE bytes (500K, 2M, 1G)",
     .needs = "a size such as 1500, 500K, 2M or 1G",
     .apply = parsedInto<&CliOptions::larger, ParseByteCount>},
    {.name = "--smaller",
     .argument = "SIZE",
     .help = "find: files of fewer than SIZE bytes",
     .needs = "a size such as 1500, 500K, 2M or 1G",
     .apply = parsedInto<&CliOptions::smaller, ParseByteCount>},
    {.name = "--max-depth",
     .argument = "N",
     .help = "find: search N levels of folders below URL (0: URL alone;\ndefault 32)",
     .needs = "a number from 0 to 32",
     .apply =
         [](CliOptions& o, Value value) {
             o.maxDepth = numberIn(value, 0, 32);
             return o.maxDepth.has_value();
         }},
    {.name = "--with-passwords",
     .help = "sites export: write the sites' passwords into FILE too",
     .apply = setTo<&CliOptions::withPasswords, true>},
    {.name = "--tls",
     .help = "require explicit TLS (AUTH TLS) on ftp:// URLs",
     .apply = setTo<&CliOptions::tls, TFtpTlsMode::ExplicitRequired>},
    {.name = "--tls-if-available",
     .help = "use explicit TLS when the server offers it",
     .apply = setTo<&CliOptions::tls, TFtpTlsMode::ExplicitIfAvailable>},
    {.name = "--pin",
     .argument = "SHA256",
     .help = "trust the server certificate with this SHA-256\n"
             "fingerprint although it cannot be verified",
     .needs = "a SHA-256 fingerprint (64 hexadecimal digits, colons allowed)",
     .apply =
         [](CliOptions& o, Value value) {
             if (NormalizedFingerprint(value).empty()) {
                 return false;
             }
             o.pins.push_back(value);
             return true;
         }},
    {.name = "--insecure",
     .help = "take any server certificate (still encrypted)",
     .apply = setTo<&CliOptions::insecure, true>},
    {.name = "-i",
     .alias = "--identity",
     .argument = "FILE",
     .help = "sftp://: log in with this private key file",
     .needs = "a private key file",
     .apply =
         [](CliOptions& o, Value value) {
             o.identity = value;
             return !value.empty();
         }},
    {.name = "--known-hosts",
     .argument = "FILE",
     .help = "sftp://: the known host keys (default ~/.ssh/known_hosts)",
     .needs = "a known-hosts file",
     .apply =
         [](CliOptions& o, Value value) {
             o.knownHosts = value;
             return !value.empty();
         }},
    {.name = "--ssh-config",
     .argument = "FILE",
     .help = "sftp://: read this ssh configuration instead of ~/.ssh/config",
     .needs = "an ssh configuration file",
     .apply =
         [](CliOptions& o, Value value) {
             o.sshConfig = value;
             return !value.empty();
         }},
    {.name = "--accept-new-host-key",
     .help = "sftp://: add an unknown host key to the known hosts\n"
             "(a changed one is always refused)",
     .apply = setTo<&CliOptions::acceptNewHostKey, true>},
    {.name = "--ssh-option",
     .argument = "OPT",
     .help = "sftp://: pass -o OPT to ssh (options that only choose\n"
             "how to connect: ciphers, keys, jump hosts, ...)",
     .needs = "an ssh option Name=value that only chooses how to connect",
     .apply =
         [](CliOptions& o, Value value) {
             if (sftp::CheckSshOption(value)) {
                 return false;
             }
             o.sshOptions.push_back(value);
             return true;
         }},
    {.name = "--proxy",
     .argument = "URL",
     .help = "connect through a proxy: socks5://[USER:PASS@]HOST:PORT,\n"
             "socks5h://... (the proxy resolves names) or http://...;\n"
             "'' connects directly (default: ALL_PROXY)",
     .needs = "a proxy URL such as socks5://host:1080 or http://host:8080, or ''",
     .apply =
         [](CliOptions& o, Value value) {
             if (value.empty()) {
                 o.proxy = TProxySettings{};
                 return true;
             }
             std::string problem;
             o.proxy = ParseProxyUrl(value, problem);
             return o.proxy.has_value();
         }},
    {.name = "--timeout",
     .argument = "SECONDS",
     .help = "give up a request when the server sends nothing for so\n"
             "long (1 to 600, default 30)",
     .needs = "a number of seconds from 1 to 600",
     .apply =
         [](CliOptions& o, Value value) {
             const auto seconds = numberIn(value, 1, 600);
             o.timeout = seconds.value_or(o.timeout);
             return seconds.has_value();
         }},
    {.name = "--charset",
     .argument = "NAME",
     .help = "the character set the server names files in (auto: UTF-8\n"
             "where offered; UTF-8, Windows-1251, Shift_JIS, ...)",
     .needs = "auto or a character set such as UTF-8, Windows-1251 or Shift_JIS",
     .apply =
         [](CliOptions& o, Value value) {
             if (AsciiEqualNoCase(value, "auto")) {
                 o.charset = std::string();
                 return true;
             }
             if (!TNameCharset::Open(value)) {
                 return false;
             }
             o.charset = CanonicalCharsetName(value);
             return true;
         }},
    {.name = "--limit-rate",
     .argument = "RATE",
     .help = "get, put, queue, mirror: at most RATE bytes per second\n"
             "each way (500K, 2M, 1.5G; the queue's transfers together)",
     .needs = "a rate in bytes per second such as 500K, 2M or 1.5G",
     .apply = parsedInto<&CliOptions::limitRate, ParseByteCount>},
    {.name = "-r",
     .alias = "--recursive",
     .help = "get, put, rm: whole folders with everything below them",
     .apply = setTo<&CliOptions::recursive, true>},
    {.name = "-v",
     .alias = "--verbose",
     .help = "session log on standard error (passwords masked)",
     .apply = setTo<&CliOptions::verbose, true>},
    {.name = "-h",
     .help = "ls: sizes in K, M, G",
     .apply = setTo<&CliOptions::readableSizes, true>},
    {.name = "--tsv",
     .help = "ls: one tab-separated line per entry",
     .apply = setTo<&CliOptions::tsv, true>},
    {.name = "--no-mlsd",
     .help = "ls: list with LIST even where the server offers MLSD",
     .apply = setTo<&CliOptions::noMlsd, true>},
    {.name = "--help",
     .help = "this text; after a COMMAND, what the command does",
     .apply = setTo<&CliOptions::help, true>},
};

} // namespace

std::span<const OptionRow> OptionTable() {
    return kOptions;
}

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (row.name == name || (!row.alias.empty() && row.alias == name)) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace qx::cli
