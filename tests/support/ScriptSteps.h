// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ScriptedFtpServer.h"

#include <functional>
#include <string>

namespace qx::test {

// Steps that many scripts share.

// The restart probe of a login: binary mode, then REST 1 and REST 0 (answered 350).
void AnswerRestartProbe(ScriptedSession& s);
// What the threaded session's Connect sends: the login, SYST and the restart probe.
void AnswerSessionConnect(ScriptedSession& s);
void ExpectQuit(ScriptedSession& s);

// Greets, logs in, then answers command after command until QUIT: the handler takes the
// commands it wants (true when it answered); PASV gets a fresh listener, SYST a Unix reply,
// anything else "200 OK".
void AnswerCommands(ScriptedSession& s,
                    const std::function<bool(ScriptedSession&, const std::string&)>& handler);

} // namespace qx::test
