// SPDX-License-Identifier: GPL-3.0-or-later
// quorvin-ftp: the program's FTP sessions from the command line: list, download and upload
// files and folder trees, remove, make folders, rename, change permissions, copy between
// servers through the transfer queue, and decode saved listings. The commands are rows of
// CommandTable.cpp, the options rows of OptionTable.cpp.

#include "CliOutput.h"
#include "CommandLine.h"
#include "Dispatch.h"
#include "InterruptWatch.h"

#include <malloc.h>

#include <clocale>
#include <exception>
#include <string>
#include <vector>

using namespace qx::cli;

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    // One heap for every thread: a listing is decoded on the session's thread and used on
    // this one, and a second heap would grow a page at a time (a listing of 20,000 entries
    // lists about 5 % faster).
    mallopt(M_ARENA_MAX, 1);
    // Before any other thread starts: they all leave the interrupting signals to the watch.
    const InterruptWatch watch;
    // The arguments are read from a copy: the passwords of URLs are blotted out of the
    // process's own argument list at once, where every user could read them (ps, /proc).
    const std::vector<std::string> args(argv + 1, argv + argc);
    HidePasswordsOfUrls(argc, argv);
    // Every failure is a message and an exit status, never an uncaught exception.
    int code = kExitFailure;
    try {
        code = RunCommandLine(args, watch.Interrupted());
        if (watch.Interrupted()) {
            code = watch.ExitStatus();
        }
    } catch (const std::exception& error) {
        code = Fail(error.what());
    } catch (...) {
        code = Fail("an unexpected failure");
    }
    // What could not be written is no success.
    if (const std::string problem = FlushOutput(); !problem.empty()) {
        Fail(problem);
        return code == 0 ? kExitFailure : code;
    }
    return code;
}
