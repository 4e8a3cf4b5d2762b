// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ScriptedFtpServer.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qx::test {

// A server-side folder tree that a script serves command by command: the listing of a folder
// (nothing when there is no such folder) and the content of a file (nothing when there is no
// such file), both by absolute, normalised path. Logins always succeed.
struct VirtualFtpTree {
    std::function<std::optional<std::string>(const std::string& folder)> listing;
    std::function<std::optional<std::string>(const std::string& file)> file;
    // Runs after the 150 reply to LIST and before the listing is sent, with the folder listed;
    // a test may hold the listing back here.
    std::function<void(const std::string& folder)> beforeListing;
    // Commands that change the tree, recorded with their absolute path ("DELE /a/b",
    // "SITE CHMOD 755 /a/b", "RNTO /a/b.part /a/b" for RNFR and RNTO).
    std::vector<std::string> changes;
    // Changes the server refuses with 550 (they are not recorded); none refuses nothing.
    std::function<bool(const std::string& change)> refuses;
};

// Greets, logs in and answers commands (SYST, REST, TYPE, PWD, CWD, CDUP, PASV, LIST, SIZE,
// RETR, STOR, DELE, MKD, RMD, SITE CHMOD, RNFR and RNTO, QUIT) from the tree until the client quits
// or goes away.
void ServeVirtualTree(ScriptedSession& session, VirtualFtpTree& tree);

} // namespace qx::test
