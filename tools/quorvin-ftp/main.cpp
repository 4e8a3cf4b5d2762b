// quorvin-ftp: the program's FTP sessions from the command line: list, download and upload
// files and folder trees, remove, make folders, rename, change permissions, and decode saved
// listings.

#include "CliSession.h"
#include "CliSite.h"
#include "CommandHelp.h"
#include "CommandLine.h"
#include "HumanListing.h"
#include "InterruptWatch.h"
#include "ListingOutput.h"
#include "QueueCommand.h"
#include "VisibleText.h"

#include "base/FtpUrl.h"
#include "engine/ListDecoder.h"
#include "platform/TempFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using namespace qx;
using namespace qx::cli;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: quorvin-ftp [OPTIONS] COMMAND\n"
    "  decode-listing FILE          decode a saved LIST output\n"
    "  ls URL                       list a folder\n"
    "  get URL LOCALFILE            download a file\n"
    "  get -r URL LOCALDIR          download the folder URL into LOCALDIR\n"
    "  put LOCALFILE URL            upload a file (a URL ending in / names the folder)\n"
    "  put -r LOCALPATH URL         upload a folder (or file) into the folder URL\n"
    "  rm [-r] URL...               remove files (and folders with -r)\n"
    "  mkdir URL                    make a folder\n"
    "  mv URL NEWNAME               rename (a NEWNAME without / stays in the same folder)\n"
    "  chmod MODE URL...            change permissions (MODE: octal, for example 644)\n"
    "  copy SRCURL DESTURL          copy a file or folder tree from one server straight to\n"
    "                               another, into the folder DESTURL, through the queue\n"
    "  queue FILE                   run the jobs of FILE through the transfer queue, one a\n"
    "                               line: get URL LOCALDIR, put LOCALPATH URL or copy SRCURL\n"
    "                               DESTURL (the last field names a folder; folders are\n"
    "                               explored)\n"
    "options:\n"
    "  --active | --passive         data connections (default passive)\n"
    "  --ascii | --binary | --auto  transfer type (default binary; auto: ASCII by extension)\n"
    "  --resume                     resume transfers where the server supports it, from a\n"
    "                               partial file of the same file only\n"
    "  --inplace                    upload straight to the target name (for servers that\n"
    "                               refuse renames); without it uploads travel as NAME.part\n"
    "  --skip-existing              leave files that exist at the target alone\n"
    "  --newer                      replace files at the target only by newer ones\n"
    "  --site PATH                  connect to a site of the site book (PATH like "
    "\\Work\\Mirror);\n"
    "                               URLs may then be plain remote paths\n"
    "  --carriers N                 transfers at once for copy and queue (1 to 16, default 3)\n"
    "  --tls                        require explicit TLS (AUTH TLS) on ftp:// URLs\n"
    "  --tls-if-available           use explicit TLS when the server offers it\n"
    "  --pin SHA256                 trust the server certificate with this SHA-256\n"
    "                               fingerprint although it cannot be verified\n"
    "  --insecure                   take any server certificate (still encrypted)\n"
    "  --timeout SECONDS            give up a request when the server sends nothing for so\n"
    "                               long (1 to 600, default 30)\n"
    "  -v                           session log on standard error (passwords masked)\n"
    "  -h                           ls: sizes in K, M, G\n"
    "  --tsv                        ls: one tab-separated line per entry\n"
    "  --no-mlsd                    ls: list with LIST even where the server offers MLSD\n"
    "  --help                       this text; after a COMMAND, what the command does\n"
    "URL: ftp://[user[:password]@]host[:port]/path, or ftps://... for implicit TLS (port 990)\n";

// A usage error: what is wrong and where to read more; the whole usage would bury the one line
// that matters.
int usage(const std::string& problem, const std::string& command = {}) {
    std::cerr << "quorvin-ftp: " << problem << '\n';
    const bool known = !command.empty() && CommandHelp(command) != nullptr;
    std::cerr << "quorvin-ftp: try 'quorvin-ftp " << (known ? command + " --help" : "--help")
              << "' for more information\n";
    return kExitUsage;
}

// Failures often quote the server: they are shown with control characters made visible.
int fail(const std::string& failure) {
    std::cerr << "quorvin-ftp: " << VisibleText(failure) << '\n';
    return kExitFailure;
}

// Flushes standard output: empty when everything written to it got out, else why not.
std::string FlushOutput() {
    std::cout.flush();
    if (std::cout) {
        return {};
    }
    return std::string("cannot write the output: ") + std::strerror(errno);
}

// Empty when the path is a regular file that can be opened for reading, else why not.
std::string unreadableFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return "cannot read " + path + ": " + std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return "cannot read " + path + ": it is a folder, not a file";
    }
    if (!S_ISREG(info.st_mode)) {
        return "cannot read " + path + ": not a regular file";
    }
    return {};
}

int decodeListing(const std::string& file) {
    if (const std::string problem = unreadableFile(file); !problem.empty()) {
        return fail(problem);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return fail("cannot read " + file + ": " + std::strerror(errno));
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // The decoder deletes the file it reads: it gets a private copy.
    std::string copy;
    try {
        TempFile temp = CreateTempFile(PrivateTempFolder());
        copy = temp.Path;
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n =
                ::write(temp.Fd.get(), bytes.data() + written, bytes.size() - written);
            if (n <= 0) {
                std::remove(copy.c_str());
                return fail("cannot write the temporary copy " + copy);
            }
            written += static_cast<std::size_t>(n);
        }
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    TFTPListItems items;
    if (!DecodeListFile(copy, items)) {
        std::remove(copy.c_str());
        return fail("cannot read the temporary copy " + copy);
    }
    PrintListing(items, std::cout);
    if (const std::string problem = FlushOutput(); !problem.empty()) {
        return fail(problem);
    }
    return 0;
}

struct Options {
    std::optional<bool> passive;
    bool noMlsd = false;
    std::optional<TFTPTransferType> type;
    bool resume = false;
    bool inplace = false;
    bool verbose = false;
    bool recursive = false;
    int carriers = 3;
    int timeout = 30;
    std::string site;
    std::optional<TOverwriteChoice> whenTargetExists;
    bool readableSizes = false;
    bool tsv = false;
    bool help = false;
    std::optional<TFtpTlsMode> tls;
    std::vector<std::string> pins;
    bool insecure = false;
};

// What the recursive requests left out, or could not carry: listed, and the run counts as
// failed.
void reportEntries(const std::vector<std::string>& entries, const char* one, const char* many) {
    std::cerr << "quorvin-ftp: " << entries.size() << (entries.size() == 1 ? one : many) << ":\n";
    for (const std::string& line : entries) {
        std::cerr << "  " << VisibleText(line) << '\n';
    }
}

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

int runQueue(const std::string& command, const std::vector<std::string>& words,
             const Options& options, const std::atomic<bool>& interrupted) {
    std::vector<QueueJob> jobs;
    if (command == "copy") {
        if (words.size() != 3) {
            return usage("copy takes SRCURL and DESTURL", command);
        }
        QueueJob job{QueueJob::Kind::Copy, words[1], words[2], 0}; // no line of a job file
        if (const std::string problem = CheckQueueJob(job); !problem.empty()) {
            return usage(problem, command);
        }
        jobs.push_back(std::move(job));
    } else {
        if (words.size() != 2) {
            return usage("queue takes one FILE", command);
        }
        if (const std::string problem = unreadableFile(words[1]); !problem.empty()) {
            return fail(problem);
        }
        std::ifstream in(words[1], std::ios::binary);
        if (!in) {
            return fail("cannot read " + words[1]);
        }
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        std::string problem;
        auto parsed = ParseQueueJobs(text, words[1], problem);
        if (!parsed) {
            return usage(problem, command);
        }
        jobs = std::move(*parsed);
    }
    QueueRunOptions run;
    run.passive = options.passive.value_or(true);
    run.type = options.type.value_or(TFTPTransferType::ftpTypeBinary);
    run.resume = options.resume;
    run.uploadToTemporaryName = !options.inplace;
    run.verbose = options.verbose;
    run.carriers = options.carriers;
    run.timeout = options.timeout;
    run.whenTargetExists = options.whenTargetExists;
    run.tls = options.tls.value_or(TFtpTlsMode::None);
    run.pins = options.pins;
    run.insecure = options.insecure;
    run.interrupted = &interrupted;
    return RunQueueJobs(jobs, run, std::cout, std::cerr);
}

THumanListingStyle humanStyle(const Options& options) {
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

bool isOctalMode(const std::string& mode) {
    return (mode.size() == 3 || mode.size() == 4) &&
           mode.find_first_not_of("01234567") == std::string::npos;
}

int run(const std::vector<std::string>& args, const std::atomic<bool>& interrupted) {
    Options options;
    std::vector<std::string> words;
    const auto next = [&args](std::size_t& i) { return ++i < args.size() ? args[i] : ""; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--active") {
            options.passive = false;
        } else if (arg == "--passive") {
            options.passive = true;
        } else if (arg == "--no-mlsd") {
            options.noMlsd = true;
        } else if (arg == "--ascii") {
            options.type = TFTPTransferType::ftpTypeASCII;
        } else if (arg == "--binary") {
            options.type = TFTPTransferType::ftpTypeBinary;
        } else if (arg == "--auto") {
            options.type = TFTPTransferType::ftpTypeAuto;
        } else if (arg == "--resume") {
            options.resume = true;
        } else if (arg == "--inplace") {
            options.inplace = true;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "-r" || arg == "--recursive") {
            options.recursive = true;
        } else if (arg == "--carriers") {
            const auto count = numberIn(next(i), 1, 16);
            if (!count) {
                return usage("--carriers needs a number from 1 to 16");
            }
            options.carriers = *count;
        } else if (arg == "--timeout") {
            const auto seconds = numberIn(next(i), 1, 600);
            if (!seconds) {
                return usage("--timeout needs a number of seconds from 1 to 600");
            }
            options.timeout = *seconds;
        } else if (arg == "--tls") {
            options.tls = TFtpTlsMode::ExplicitRequired;
        } else if (arg == "--tls-if-available") {
            options.tls = TFtpTlsMode::ExplicitIfAvailable;
        } else if (arg == "--insecure") {
            options.insecure = true;
        } else if (arg == "--pin") {
            const std::string pin = next(i);
            if (NormalizedFingerprint(pin).empty()) {
                return usage("--pin needs a SHA-256 fingerprint (64 hexadecimal digits, colons "
                             "allowed)");
            }
            options.pins.push_back(pin);
        } else if (arg == "--site") {
            if (i + 1 >= args.size()) {
                return usage("--site needs the location of a site, for example \\Work\\Mirror");
            }
            options.site = next(i);
        } else if (arg == "--skip-existing") {
            options.whenTargetExists = TOverwriteChoice::Skip;
        } else if (arg == "--newer") {
            options.whenTargetExists = TOverwriteChoice::OverwriteIfNewer;
        } else if (arg == "-h") {
            options.readableSizes = true;
        } else if (arg == "--tsv") {
            options.tsv = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else {
            words.push_back(arg);
        }
    }
    if (options.help) {
        const char* help = words.empty() ? nullptr : CommandHelp(words[0]);
        std::cout << (help != nullptr ? help : kUsage);
        return 0;
    }
    if (words.empty()) {
        return usage("no COMMAND given");
    }
    const std::string command = words[0];
    const std::size_t arguments = words.size() - 1;

    if (command == "decode-listing") {
        return arguments == 1 ? decodeListing(words[1])
                              : usage("decode-listing takes one FILE", command);
    }
    if (command == "copy" || command == "queue") {
        if (!options.site.empty()) {
            return usage(command + " takes URLs, not --site", command);
        }
        return runQueue(command, words, options, interrupted);
    }
    // Which arguments are remote, per command.
    std::vector<std::size_t> remote;
    if (command == "ls" && arguments == 1) {
        remote = {1};
    } else if (command == "get" && arguments == 2) {
        if (words[2].empty()) {
            return usage("get needs a local file or folder, not an empty name", command);
        }
        remote = {1};
    } else if (command == "put" && arguments == 2) {
        if (words[1].empty()) {
            return usage("put needs a local file or folder, not an empty name", command);
        }
        if (HoldsLineBreakOrNul(words[1])) {
            return usage("the local name holds a CR, LF or NUL character, which no FTP command "
                         "can carry",
                         command);
        }
        remote = {2};
    } else if (command == "rm" && arguments >= 1) {
        for (std::size_t i = 1; i <= arguments; ++i) {
            remote.push_back(i);
        }
    } else if (command == "mkdir" && arguments == 1) {
        remote = {1};
    } else if (command == "mv" && arguments == 2) {
        if (words[2].empty()) {
            return usage("mv needs a new name, not an empty one", command);
        }
        if (HoldsLineBreakOrNul(words[2])) {
            return usage("the new name holds a CR, LF or NUL character, which no FTP command "
                         "can carry",
                         command);
        }
        remote = {1};
    } else if (command == "chmod" && arguments >= 2) {
        if (!isOctalMode(words[1])) {
            return usage("chmod needs an octal MODE such as 644, not " + words[1], command);
        }
        for (std::size_t i = 2; i <= arguments; ++i) {
            remote.push_back(i);
        }
    } else if (command == "ls" || command == "get" || command == "put" || command == "rm" ||
               command == "mkdir" || command == "mv" || command == "chmod") {
        return usage("wrong number of arguments for " + command, command);
    } else {
        return usage("unknown command " + command, command);
    }

    // The target and the remote paths.
    CliTarget target;
    std::unique_ptr<CliSite> site;
    std::vector<std::string> paths;
    std::string problem;
    if (!options.site.empty()) {
        site = CliSite::Open(options.site, problem);
        if (!site) {
            return fail(problem);
        }
        target = site->Target();
    }
    for (const std::size_t index : remote) {
        const std::string& text = words[index];
        if (site && text.rfind("ftp://", 0) != 0 && text.rfind("ftps://", 0) != 0) {
            if (HoldsLineBreakOrNul(text)) {
                return usage("the remote path holds a CR, LF or NUL character, which no FTP "
                             "command can carry",
                             command);
            }
            paths.push_back(text); // a plain remote path of the site
            continue;
        }
        const auto url = ParseFtpUrl(text, problem);
        if (!url) {
            return usage(problem, command);
        }
        if (site) {
            paths.push_back(url->Path);
            continue;
        }
        if (!paths.empty() && (url->Host != target.Host || url->Port != target.Port)) {
            return usage("all URLs of one command must name the same server", command);
        }
        target.Host = url->Host;
        target.Port = url->Port;
        target.User = url->User;
        target.Password = url->Password;
        if (url->ImplicitTls) {
            target.Encryption = TFtpTlsMode::Implicit;
        }
        paths.push_back(url->Path);
    }
    if (options.passive) {
        target.Passive = *options.passive;
    }
    if (options.noMlsd) {
        target.UseMlsd = false;
    }
    if (options.type) {
        target.Type = *options.type;
    }
    if (options.resume) {
        target.Resume = true;
    }
    if (options.inplace) {
        target.UploadToTemporaryName = false;
    }
    target.Timeout = options.timeout;
    if (options.tls && target.Encryption != TFtpTlsMode::Implicit) {
        target.Encryption = *options.tls;
    }
    target.PinnedFingerprints = options.pins;
    target.Insecure = options.insecure;
    target.WhenTargetExists = options.whenTargetExists;

    const TAsciiExtensions defaultExtensions(DefaultAsciiExtensions());
    CliSession session(target, site ? site->AsciiExtensions() : defaultExtensions, options.verbose,
                       std::cerr, &interrupted);
    if (!session.Connect()) {
        return fail(session.Failure());
    }
    bool ok = false;
    std::string outputProblem;
    if (command == "ls") {
        TFTPListItems items;
        ok = session.List(paths[0], items);
        if (ok && options.tsv) {
            PrintListing(items, std::cout);
        } else if (ok) {
            PrintHumanListing(items, humanStyle(options), std::cout);
        }
        outputProblem = FlushOutput();
    } else if (command == "get") {
        ok = options.recursive ? session.DownloadTree(paths[0], words[2])
                               : session.Download(paths[0], words[2]);
    } else if (command == "put") {
        ok = options.recursive && std::filesystem::is_directory(words[1])
                 ? session.UploadTree(words[1], paths[0])
                 : session.Upload(words[1], paths[0]);
    } else if (command == "rm") {
        ok = session.Remove(paths, options.recursive);
    } else if (command == "mkdir") {
        ok = session.MakeFolder(paths[0]);
    } else if (command == "mv") {
        ok = session.Rename(paths[0], words[2]);
    } else if (command == "chmod") {
        ok = session.ChangeMode(words[1], paths);
    }
    const std::string failure = session.Failure();
    const std::vector<std::string> skipped = session.Skipped();
    const std::vector<std::string> missed = session.Missed();
    session.Quit();
    if (!outputProblem.empty()) {
        return fail(outputProblem);
    }
    // A download that went on past entries it could not fetch fails for them, and their list
    // says more than the session's summary of it; a failure of another kind is told first.
    const bool onlyMissed =
        !missed.empty() && failure.find(" could not be downloaded; ") != std::string::npos;
    if (!ok && !onlyMissed) {
        fail(failure);
    }
    if (!missed.empty()) {
        reportEntries(missed, " entry could not be downloaded", " entries could not be downloaded");
    }
    if (!skipped.empty()) {
        reportEntries(skipped, " entry was skipped", " entries were skipped");
    }
    return ok && skipped.empty() ? 0 : kExitFailure;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    // Before any other thread starts: they all leave the interrupting signals to the watch.
    const InterruptWatch watch;
    // The arguments are read from a copy: the passwords of URLs are blotted out of the
    // process's own argument list at once, where every user could read them (ps, /proc).
    const std::vector<std::string> args(argv + 1, argv + argc);
    HidePasswordsOfUrls(argc, argv);
    // Every failure is a message and an exit status, never an uncaught exception.
    int code = kExitFailure;
    try {
        code = run(args, watch.Interrupted());
        if (watch.Interrupted()) {
            code = watch.ExitStatus();
        }
    } catch (const std::exception& error) {
        code = fail(error.what());
    } catch (...) {
        code = fail("an unexpected failure");
    }
    // What could not be written is no success.
    if (const std::string problem = FlushOutput(); !problem.empty()) {
        fail(problem);
        return code == 0 ? kExitFailure : code;
    }
    return code;
}
