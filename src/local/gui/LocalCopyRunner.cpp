// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/LocalCopyRunner.h"

#include "widgets/CoreTexts.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QProgressDialog>
#include <QWidget>

namespace qx {

TLocalCopyRunner::TLocalCopyRunner(QWidget* window) : QObject(window), m_window(window) {}

TLocalCopyRunner::~TLocalCopyRunner() {
    m_abort = true;
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

bool TLocalCopyRunner::Start(TCopyRequest request) {
    if (Running()) {
        QMessageBox::information(m_window, tr("Local Explorer"),
                                 tr("Another copy is still running; paste again when it ends."));
        return false;
    }
    const QString title =
        request.Move ? tr("Local Explorer Move Error") : tr("Local Explorer Copy Error");
    if (const auto problem = CopyProblem(request)) {
        QMessageBox::critical(m_window, title, CoreMessageText(*problem));
        return false;
    }
    // Nothing is overwritten without a Yes.
    std::set<std::string> replace;
    bool all = false;
    for (const std::string& source : ConflictingSources(request)) {
        if (!all) {
            const auto answer = QMessageBox::question(
                m_window, tr("Local Explorer Replace Confirm"),
                tr("[%1] already exists in [%2].\nReplace it? (A folder is merged, its files "
                   "of the same names replaced.)")
                    .arg(QString::fromStdString(source.substr(source.rfind('/') + 1)),
                         QString::fromStdString(request.DestinationFolder)),
                QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel,
                QMessageBox::No);
            if (answer == QMessageBox::Cancel) {
                return false;
            }
            if (answer == QMessageBox::No) {
                continue;
            }
            all = answer == QMessageBox::YesToAll;
        }
        replace.insert(source);
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_abort = false;
    m_done = false;
    m_progress = new QProgressDialog(request.Move ? tr("Moving...") : tr("Copying..."),
                                     tr("Cancel"), 0, 1000, m_window);
    m_progress->setWindowTitle(tr("Local Explorer"));
    m_progress->setMinimumDuration(300);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    connect(m_progress, &QProgressDialog::canceled, this, [this] { m_abort = true; });
    m_worker = std::jthread([this, request = std::move(request), replace = std::move(replace)] {
        TFileCopyJob job(request, replace);
        const TCopyResult result = job.Run(
            [this](const TCopyProgress& progress) {
                QMetaObject::invokeMethod(
                    this, [this, progress] { OnProgress(progress); }, Qt::QueuedConnection);
            },
            m_abort);
        QMetaObject::invokeMethod(
            this, [this, result] { OnFinished(result); }, Qt::QueuedConnection);
    });
    return true;
}

void TLocalCopyRunner::OnProgress(const TCopyProgress& progress) {
    if (m_progress == nullptr || m_done) {
        return;
    }
    const double share = progress.TotalBytes > 0 ? static_cast<double>(progress.DoneBytes) /
                                                       static_cast<double>(progress.TotalBytes)
                                                 : 1.0;
    m_progress->setValue(static_cast<int>(share * 1000));
    m_progress->setLabelText(QString::fromStdString(progress.CurrentName));
}

void TLocalCopyRunner::OnFinished(const TCopyResult& result) {
    m_done = true;
    if (m_progress != nullptr) {
        m_progress->deleteLater();
    }
    if (!result.Failures.empty()) {
        QStringList lines;
        for (const TCoreMessage& failure : result.Failures) {
            lines.append(CoreMessageText(failure));
        }
        QMessageBox::critical(m_window, tr("Local Explorer Copy Error"), lines.join(u'\n'));
    }
    Q_EMIT Finished(result);
}

} // namespace qx
