// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace qx {

// One way of starting a tool: the program and its arguments.
struct TToolCommand {
    QString Program;
    QStringList Arguments;

    bool operator==(const TToolCommand&) const = default;
};

// Starts a program detached from this one; false when it cannot be started.
using TStartProgram = std::function<bool(const QString& program, const QStringList& arguments)>;
bool StartDetachedProgram(const QString& program, const QStringList& arguments);

// The ways to start the Ping or Telnet tool on a host, to be tried in this order. The tool gets
// the host as its only argument. Console programs (ping and telnet themselves, by any path)
// have no window of their own, so they run in the desktop's terminal emulator, else in xterm.
// Empty for an empty program.
std::vector<TToolCommand> ToolCommands(const QString& program, const QString& host);

// Tries the ways in order; the message for the user when none of them started, else empty.
QString StartTool(const TStartProgram& start, const QString& program, const QString& host);

} // namespace qx
