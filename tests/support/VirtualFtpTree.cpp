// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/VirtualFtpTree.h"

#include "session/RemoteNames.h"

namespace qx::test {

namespace {

std::string absolute(const std::string& cwd, const std::string& path) {
    return NormalizeRemotePath(path.rfind('/', 0) == 0 ? path : JoinRemotePath(cwd, path));
}

} // namespace

void ServeVirtualTree(ScriptedSession& s, VirtualFtpTree& tree) {
    s.reply("220 Virtual tree ready");
    std::string cwd = "/";
    std::string renamed; // the path of the last RNFR
    for (;;) {
        std::string command;
        try {
            command = s.readCommand();
        } catch (const ScriptFailure&) {
            return; // the client went away
        }
        const auto space = command.find(' ');
        const std::string verb = command.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : command.substr(space + 1);
        if (verb == "USER") {
            s.reply("331 Password please");
        } else if (verb == "PASS") {
            s.reply("230 Logged in");
        } else if (verb == "SYST") {
            s.reply("215 UNIX Type: L8");
        } else if (verb == "REST") {
            s.reply("350 Restarting at " + argument);
        } else if (verb == "TYPE") {
            s.reply("200 Type set");
        } else if (verb == "PWD") {
            s.reply("257 \"" + cwd + "\" is the current folder");
        } else if (verb == "CWD") {
            const std::string target = absolute(cwd, argument);
            if (tree.listing(target)) {
                cwd = target;
                s.reply("250 Folder changed to " + cwd);
            } else {
                s.reply("550 " + argument + ": No such folder");
            }
        } else if (verb == "CDUP") {
            cwd = absolute(cwd, "..");
            s.reply("250 Folder changed to " + cwd);
        } else if (verb == "PASV") {
            s.reply(ScriptedSession::pasvReply(s.listenPassive()));
        } else if (verb == "LIST") {
            s.acceptData();
            s.reply("150 Here comes the listing");
            if (tree.beforeListing) {
                tree.beforeListing(cwd);
            }
            s.dataSend(tree.listing(cwd).value_or(""));
            s.dataClose();
            s.reply("226 Listing sent");
        } else if (verb == "SIZE") {
            const auto content = tree.file(absolute(cwd, argument));
            s.reply(content ? "213 " + std::to_string(content->size()) : "550 No such file");
        } else if (verb == "RETR") {
            const auto content = tree.file(absolute(cwd, argument));
            if (!content) {
                s.reply("550 No such file");
                continue;
            }
            s.acceptData();
            s.reply("150 Sending");
            s.dataSend(*content);
            s.dataClose();
            s.reply("226 Sent");
        } else if (verb == "STOR") {
            s.acceptData();
            s.reply("150 Send it");
            s.dataReceiveAll();
            tree.changes.push_back("STOR " + absolute(cwd, argument));
            s.reply("226 Stored");
        } else if (verb == "RNFR") {
            renamed = absolute(cwd, argument);
            s.reply("350 Ready for RNTO");
        } else if (verb == "RNTO") {
            tree.changes.push_back("RNTO " + renamed + " " + absolute(cwd, argument));
            s.reply("250 Renamed");
        } else if (verb == "DELE" || verb == "RMD" || verb == "MKD" || verb == "SITE") {
            std::string change = verb + " " + absolute(cwd, argument);
            if (verb == "SITE") { // "CHMOD 755 name"
                const std::size_t mode = argument.find(' ');
                const std::size_t name =
                    mode == std::string::npos ? mode : argument.find(' ', mode + 1);
                if (name == std::string::npos) {
                    s.reply("501 Syntax error");
                    continue;
                }
                change = "SITE " + argument.substr(0, name) + " " +
                         absolute(cwd, argument.substr(name + 1));
            }
            if (tree.refuses && tree.refuses(change)) {
                s.reply("550 Permission denied.");
                continue;
            }
            tree.changes.push_back(change);
            s.reply(verb == "MKD"    ? "257 \"" + absolute(cwd, argument) + "\" created"
                    : verb == "SITE" ? std::string("200 SITE CHMOD successful.")
                                     : std::string("250 Done"));
        } else if (verb == "QUIT") {
            s.reply("221 Goodbye");
            return;
        } else {
            s.reply("502 " + verb + " not implemented");
        }
    }
}

} // namespace qx::test
