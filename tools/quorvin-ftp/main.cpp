// quorvin-ftp: list, download and upload over the program's FTP engine, and decode listing
// files, from the command line.

#include "CliSession.h"
#include "FtpUrl.h"
#include "ListingOutput.h"

#include "engine/ListDecoder.h"
#include "platform/TempFiles.h"

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

using namespace qx;
using namespace qx::cli;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: quorvin-ftp [--active|--passive] [--ascii|--binary] [--resume] [--timeout SECONDS] "
    "[-v] COMMAND\n"
    "  decode-listing FILE        decode a saved LIST output\n"
    "  ls URL                     list a folder\n"
    "  get URL LOCALFILE          download a file\n"
    "  put LOCALFILE URL          upload a file (a URL ending in / names the folder)\n"
    "URL: ftp://[user[:password]@]host[:port]/path\n";

int usage(const std::string& problem) {
    if (!problem.empty()) {
        std::cerr << "quorvin-ftp: " << problem << '\n';
    }
    std::cerr << kUsage;
    return kExitUsage;
}

int fail(const std::string& failure) {
    std::cerr << "quorvin-ftp: " << failure << '\n';
    return kExitFailure;
}

int decodeListing(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return fail("cannot read " + file);
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
    return std::cout ? 0 : kExitFailure;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    CliOptions options;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--active") {
            options.Passive = false;
        } else if (arg == "--passive") {
            options.Passive = true;
        } else if (arg == "--ascii") {
            options.Ascii = true;
        } else if (arg == "--binary") {
            options.Ascii = false;
        } else if (arg == "--resume") {
            options.Resume = true;
        } else if (arg == "-v" || arg == "--verbose") {
            options.Verbose = true;
        } else if (arg == "--timeout") {
            if (i + 1 >= argc) {
                return usage("--timeout needs a number of seconds");
            }
            try {
                options.Timeout = std::stoi(argv[++i]);
            } catch (const std::exception&) {
                return usage("--timeout needs a number of seconds");
            }
            if (options.Timeout < 0) {
                return usage("--timeout needs a number of seconds");
            }
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty()) {
        return usage("");
    }
    const std::string command = words[0];
    const auto expect = [&](std::size_t count) { return words.size() == count + 1; };

    if (command == "decode-listing") {
        return expect(1) ? decodeListing(words[1]) : usage("decode-listing takes one FILE");
    }

    std::string urlText;
    if (command == "ls" && expect(1)) {
        urlText = words[1];
    } else if (command == "get" && expect(2)) {
        urlText = words[1];
    } else if (command == "put" && expect(2)) {
        urlText = words[2];
    } else if (command == "ls" || command == "get" || command == "put") {
        return usage("wrong number of arguments for " + command);
    } else {
        return usage("unknown command " + command);
    }
    std::string problem;
    const auto url = ParseFtpUrl(urlText, problem);
    if (!url) {
        return usage(problem);
    }

    CliSession session(*url, options, std::cerr);
    if (!session.Connect()) {
        return fail(session.Failure());
    }
    bool ok = false;
    if (command == "ls") {
        TFTPListItems items;
        ok = session.List(url->Path, items);
        if (ok) {
            PrintListing(items, std::cout);
        }
    } else if (command == "get") {
        ok = session.Download(url->Path, words[2]);
    } else {
        ok = session.Upload(words[1], url->Path);
    }
    const std::string failure = session.Failure();
    session.Quit();
    return ok ? 0 : fail(failure);
}
