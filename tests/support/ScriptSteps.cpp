// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptSteps.h"

namespace qx::test {

void AnswerRestartProbe(ScriptedSession& s) {
    s.expect("TYPE I");
    s.reply("200 Type set to I");
    s.expect("REST 1");
    s.reply("350 Restarting at 1");
    s.expect("REST 0");
    s.reply("350 Restarting at 0");
}

void AnswerSessionConnect(ScriptedSession& s) {
    s.greetAndLogin();
    s.expect("SYST");
    s.reply("215 UNIX Type: L8");
    AnswerRestartProbe(s);
}

void ExpectQuit(ScriptedSession& s) {
    s.expect("QUIT");
    s.reply("221 Goodbye");
}

void AnswerCommands(ScriptedSession& s,
                    const std::function<bool(ScriptedSession&, const std::string&)>& handler) {
    s.greetAndLogin();
    for (;;) {
        const std::string command = s.readCommand();
        if (handler && handler(s, command)) {
            continue;
        }
        if (command == "QUIT") {
            s.reply("221 Goodbye");
            return;
        }
        if (command == "PASV") {
            s.reply(ScriptedSession::pasvReply(s.listenPassive()));
        } else {
            s.reply(command == "SYST" ? "215 UNIX Type: L8" : "200 OK");
        }
    }
}

} // namespace qx::test
