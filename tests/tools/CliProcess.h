// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The quorvin-ftp tool run as a process, as a user runs it.

#include "support/TempDir.h"

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef QX_CLI_BINARY
#error "QX_CLI_BINARY must name the quorvin-ftp binary"
#endif

namespace qx::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{};
};

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the tool with the arguments, standard input empty; standard output goes to outputFile
// when one is given (it is then not read back).
inline CliResult RunCli(const std::vector<std::string>& args, const std::string& outputFile = {}) {
    TempDir output;
    std::string command = ShellQuote(QX_CLI_BINARY);
    for (const auto& arg : args) {
        command += " " + ShellQuote(arg);
    }
    const std::string out = outputFile.empty() ? output.file("out") : outputFile;
    command += " >" + ShellQuote(out) + " 2>" + ShellQuote(output.file("err")) + " </dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    CliResult result;
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (outputFile.empty()) {
        result.out = readFile(out);
    }
    result.err = readFile(output.file("err"));
    return result;
}

} // namespace qx::test
