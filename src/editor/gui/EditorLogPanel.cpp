// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/gui/EditorLogPanel.h"

#include "remote/RemoteExpTexts.h"
#include "remote/gui/SessionLogView.h"
#include "widgets/MainDataModule.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace qx {

TEditorLogPanel::TEditorLogPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LogPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_log = new TSessionLogView(kMaxLogLines, this); // emptied when it holds 500 lines
    layout->addWidget(m_log, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("FTPStatusBar"));
    status->setSizeGripEnabled(false);
    static constexpr int kWidths[] = {80, 80, 90, 70, 50};
    for (int panel = 0; panel < 5; ++panel) {
        m_panels[panel] = new QLabel(status);
        m_panels[panel]->setMinimumWidth(kWidths[panel]);
        status->addWidget(m_panels[panel]);
    }
    auto* last = new QWidget(status);
    auto* lastLayout = new QHBoxLayout(last);
    lastLayout->setContentsMargins(0, 0, 0, 0);
    m_statusIcon = new QLabel(last);
    m_panels[5] = new QLabel(last);
    lastLayout->addWidget(m_statusIcon);
    lastLayout->addWidget(m_panels[5], 1);
    status->addWidget(last, 1);
    layout->addWidget(status);
}

void TEditorLogPanel::Display(const std::string& line) {
    if (!line.empty() && line.front() == '%') {
        ShowSessionStatus(line, *m_panels[5], *m_statusIcon);
        return;
    }
    m_log->AddSessionLine(line);
}

void TEditorLogPanel::ShowProgress(std::int64_t fileSize, std::int64_t position,
                                   std::int64_t transfered, std::int64_t elapsedMs) {
    const TTransferPanels panels = TransferPanels(fileSize, position, transfered, elapsedMs);
    const std::string* texts[] = {&panels.Size, &panels.Position, &panels.Rate, &panels.TimeLeft,
                                  &panels.Done};
    for (int panel = 0; panel < 5; ++panel) {
        m_panels[panel]->setText(QString::fromStdString(*texts[panel]));
    }
}

void TEditorLogPanel::ClearLog() {
    m_log->ClearLog();
}

QString TEditorLogPanel::LogText() const {
    return m_log->Text();
}

int TEditorLogPanel::LineCount() const {
    return m_log->LineCount();
}

QString TEditorLogPanel::PanelText(int panel) const {
    return panel >= 0 && panel < 6 ? m_panels[panel]->text() : QString();
}

} // namespace qx
