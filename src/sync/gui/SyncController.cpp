// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/gui/SyncController.h"

#include "base/Translatable.h"
#include "sync/SyncPlanner.h"
#include "sync/SyncSession.h"
#include "sync/gui/SynchronizeForm.h"
#include "widgets/CoreTexts.h"

#include <QMessageBox>
#include <QStringList>
#include <QWidget>

namespace qx {

namespace {

constexpr qsizetype kProblemsShown = 15;

} // namespace

TSyncController::TSyncController(TSyncSetup setup, QWidget* parent)
    : QObject(parent), m_setup(std::move(setup)), m_parent(parent) {
    Report = [this](const QString& text, bool problems) {
        QMessageBox box(problems ? QMessageBox::Warning : QMessageBox::Information,
                        tr("Synchronize"), text, QMessageBox::Ok, m_parent);
        box.exec();
    };
}

TSyncController::~TSyncController() {
    // The planner and the run go before the session whose requests they cancel.
    m_planner.reset();
    m_run.reset();
    m_session.reset();
    delete m_form.data();
}

std::filesystem::path TSyncController::StateFile() const {
    return m_setup.StateFolder /
           SyncStateFileName(m_setup.SiteName, m_setup.Folders.Remote, m_setup.Folders.Local);
}

void TSyncController::Start() {
    m_form = new TSynchronizeForm(m_setup.FontName, m_setup.FontSize, m_parent);
    m_form->setWindowModality(Qt::WindowModal);
    m_form->SetFolders(QString::fromStdString(m_setup.Folders.Local),
                       QString::fromStdString(m_setup.Folders.Remote));
    m_form->OnPlan = [this](const TSyncOptions& options) { Plan(options); };
    m_form->OnStopPlanning = [this] {
        if (m_planner) {
            m_planner->Stop();
        }
        m_form->ShowPlanFailure(QStringLiteral("Stopped."));
    };
    connect(m_form, &QDialog::finished, this, [this](int result) {
        if (m_planner) {
            m_planner->Stop();
        }
        if (result == QDialog::Accepted) {
            Run();
        } else {
            End();
        }
    });
    m_form->show();
}

void TSyncController::Plan(const TSyncOptions& options) {
    if (!m_session) {
        m_session = std::make_unique<TSyncSession>(m_setup.Client);
    }
    m_options = options;
    m_last.reset();
    if (options.Direction == TSyncDirection::Both) {
        // A record that cannot be read counts as none: the files that differ are then shown
        // for the user to decide.
        m_last = TSyncState::Load(StateFile());
    }
    m_planner =
        std::make_unique<TSyncPlanner>(*m_session, m_setup.Folders, options,
                                       m_last ? &*m_last : nullptr, m_setup.Server.TimeZoneOffset);
    m_planner->OnListing = [this](const std::string& folder) {
        if (m_form) {
            m_form->SetPlanningProgress(tr("Listing %1...").arg(QString::fromStdString(folder)));
        }
    };
    m_planner->OnDone = [this](TSyncPlan plan) { Planned(std::move(plan)); };
    m_planner->Start();
}

void TSyncController::Planned(TSyncPlan plan) {
    if (!m_form) {
        return;
    }
    if (!plan.Unlisted.empty() && plan.Unlisted.front().empty()) {
        m_form->ShowPlanFailure(tr("The folders could not be listed: %1")
                                    .arg(CoreText(m_planner->Failure()).trimmed()));
        return;
    }
    m_form->ShowPlan(std::move(plan));
}

void TSyncController::Run() {
    if (!m_form || !m_session || m_setup.Queue == nullptr) {
        End();
        return;
    }
    m_run = std::make_unique<TSyncRun>(*m_session, *m_setup.Queue, m_setup.QueueItems,
                                       m_setup.Server, m_setup.Folders, m_form->ChosenPlan());
    m_run->OnFinished = [this] {
        // Out of the queue's or the session's event first: what follows may list again.
        QMetaObject::invokeMethod(
            this, [this] { RunEnded(); }, Qt::QueuedConnection);
    };
    m_run->Start();
}

void TSyncController::RunEnded() {
    if (m_options && m_options->Direction == TSyncDirection::Both) {
        // Both sides as they are now: what is alike goes into the record.
        m_planner = std::make_unique<TSyncPlanner>(*m_session, m_setup.Folders, *m_options,
                                                   m_last ? &*m_last : nullptr,
                                                   m_setup.Server.TimeZoneOffset);
        m_planner->OnDone = [this](TSyncPlan plan) {
            QMetaObject::invokeMethod(
                this, [this, plan = std::move(plan)] { Recorded(plan); }, Qt::QueuedConnection);
        };
        m_planner->Start();
        return;
    }
    Recorded({});
}

void TSyncController::Recorded(const TSyncPlan& relisted) {
    QStringList problems;
    for (const TSyncRun::TProblem& problem : m_run->ProblemList()) {
        problems << QString::fromStdString(FormatText(CoreFormat(problem.Format), problem.Args));
    }
    if (m_options && m_options->Direction == TSyncDirection::Both) {
        const TSyncState state = StateAfterRun(m_last.value_or(TSyncState()), relisted,
                                               m_run->Carried(), m_run->Deleted());
        if (!state.Save(StateFile())) {
            problems << tr("The record of this synchronization could not be kept: %1")
                            .arg(QString::fromStdString(StateFile().string()));
        }
    }
    QString text = tr("Synchronization of %1 with %2: %3 of %4 transfers got through, %5 "
                      "deleted.")
                       .arg(QString::fromStdString(m_setup.Folders.Local),
                            QString::fromStdString(m_setup.Folders.Remote))
                       .arg(m_run->Carried().size())
                       .arg(m_run->Transfers())
                       .arg(m_run->Deleted().size());
    for (qsizetype index = 0; index < problems.size() && index < kProblemsShown; ++index) {
        text += QLatin1Char('\n') + problems[index];
    }
    if (problems.size() > kProblemsShown) {
        text +=
            tr("\n... and %n more.", nullptr, static_cast<int>(problems.size() - kProblemsShown));
    }
    if (Report) {
        Report(text, !problems.empty());
    }
    End();
}

void TSyncController::End() {
    Q_EMIT Finished();
    deleteLater();
}

} // namespace qx
