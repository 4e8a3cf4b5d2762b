// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliOutput.h"

#include "CommandTable.h"
#include "VisibleText.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace qx::cli {

int Usage(const std::string& problem, std::string_view command) {
    std::cerr << "quorvin-ftp: " << problem << '\n';
    const std::string help =
        FindCommand(command) != nullptr ? std::string(command) + " --help" : std::string("--help");
    std::cerr << "quorvin-ftp: try 'quorvin-ftp " << help << "' for more information\n";
    return kExitUsage;
}

int Fail(const std::string& failure) {
    std::cerr << "quorvin-ftp: " << VisibleText(failure) << '\n';
    return kExitFailure;
}

std::string FlushOutput() {
    std::cout.flush();
    if (std::cout) {
        return {};
    }
    return std::string("cannot write the output: ") + std::strerror(errno);
}

void ReportEntries(const std::vector<std::string>& entries, const char* one, const char* many) {
    std::cerr << "quorvin-ftp: " << entries.size() << (entries.size() == 1 ? one : many) << ":\n";
    for (const std::string& line : entries) {
        std::cerr << "  " << VisibleText(line) << '\n';
    }
}

} // namespace qx::cli
