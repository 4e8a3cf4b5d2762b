// SPDX-License-Identifier: GPL-3.0-or-later
// The local explorer's tools: finding files, and mounting or unmounting network locations
// through the desktop's gio.

#include "local/gui/LocalExpForm.h"

#include "local/gui/FindFilesForm.h"
#include "remote/gui/InputForm.h"
#include "settings/GlobalOptions.h"

#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace qx {

void TLocalExpForm::ToolFindFileActionExecute() {
    auto* dialog = new TFindFilesForm(
        QFile::decodeName(QByteArray::fromStdString(m_currentFolder)),
        [this](const QString& folder) { SetFolder(QFile::encodeName(folder).toStdString()); },
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void TLocalExpForm::ToolNetDriveActionExecute(bool connect) {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) {
        return; // the commands are disabled without it
    }
    TInputRequest request;
    request.ApplicationText = tr("Local Explorer");
    request.CaptionText =
        connect ? tr("[Network Drive Connect]") : tr("[Network Drive Disconnect]");
    request.Prompt =
        connect ? tr("Address (smb://, sftp://, ftp://):") : tr("Address or mounted folder:");
    request.InitialText = connect ? QStringLiteral("smb://") : QString();
    const auto address =
        TInputForm::Ask(request, QString::fromStdString(m_context.Options.FontName),
                        m_context.Options.FontSize, this);
    if (!address || address->trimmed().isEmpty()) {
        return;
    }
    auto* job = new QProcess(this); // frees itself when gio has ended
    job->setProgram(gio);
    QStringList arguments{QStringLiteral("mount")};
    if (!connect) {
        arguments.append(QStringLiteral("-u"));
    }
    arguments << QStringLiteral("--") << address->trimmed();
    job->setArguments(arguments);
    // gio asks for a user name and password on its standard input; an empty answer ends it.
    job->setStandardInputFile(QProcess::nullDevice());
    const QString title =
        connect ? tr("Network Drive Connect Error") : tr("Network Drive Disconnect Error");
    QObject::connect(
        job, &QProcess::finished, this,
        [this, job, title, connect, target = address->trimmed()](int code) {
            if (code != 0) {
                ShowError(title,
                          (connect ? tr("Cannot mount [%1]:\n%2") : tr("Cannot unmount [%1]:\n%2"))
                              .arg(target,
                                   QString::fromLocal8Bit(job->readAllStandardError()).trimmed()));
            }
            ViewRefreshActionExecute();
            job->deleteLater();
        });
    QObject::connect(job, &QProcess::errorOccurred, this, [this, job, title, target = *address] {
        ShowError(title, tr("Cannot run gio for [%1]: %2").arg(target, job->errorString()));
        job->deleteLater();
    });
    job->start();
}

} // namespace qx
