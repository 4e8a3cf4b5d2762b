// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SiteBookFormTools.h"

#include "settings/gui/SiteBookForm.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace qx {

namespace {

bool IsConsoleTool(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    return name == QLatin1String("ping") || name == QLatin1String("telnet");
}

} // namespace

bool StartDetachedProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

std::vector<TToolCommand> ToolCommands(const QString& program, const QString& host) {
    if (program.isEmpty()) {
        return {};
    }
    if (!IsConsoleTool(program)) {
        return {{program, {host}}};
    }
    const QStringList inTerminal = {QStringLiteral("-e"), program, host};
    return {{QStringLiteral("x-terminal-emulator"), inTerminal},
            {QStringLiteral("xterm"), inTerminal}};
}

QString StartTool(const TStartProgram& start, const QString& program, const QString& host) {
    const std::vector<TToolCommand> commands = ToolCommands(program, host);
    if (commands.empty()) {
        return TSiteBookForm::tr(
            "No program is set for this tool. Choose one in the global options.");
    }
    for (const TToolCommand& command : commands) {
        if (start(command.Program, command.Arguments)) {
            return {};
        }
    }
    if (IsConsoleTool(program)) {
        return TSiteBookForm::tr(
                   "Cannot start [%1] in a terminal: neither x-terminal-emulator nor xterm "
                   "could be started.")
            .arg(program);
    }
    return TSiteBookForm::tr("Cannot start [%1].").arg(program);
}

} // namespace qx
