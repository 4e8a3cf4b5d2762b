// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <cstdint>
#include <string>

class QLabel;

namespace qx {

class TSessionLogView;

// The online editor's log panel: the session log of the write-backs above a status bar of six
// panels (size, position, rate, time left, percent done, the session's status text).
class TEditorLogPanel final : public QWidget {
    Q_OBJECT
public:
    explicit TEditorLogPanel(QWidget* parent);

    // A session line: "% text" goes to the last panel, any other line to the log in the
    // colour of its kind. A log of 500 lines starts anew.
    void Display(const std::string& line);
    void ShowProgress(std::int64_t fileSize, std::int64_t position, std::int64_t transfered,
                      std::int64_t elapsedMs);
    void ClearLog();

    int LineCount() const;
    QString LogText() const;
    QString PanelText(int panel) const;

private:
    TSessionLogView* m_log;
    QLabel* m_panels[6] = {};
    QLabel* m_statusIcon;
};

} // namespace qx
