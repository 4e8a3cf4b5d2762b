// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace qx {

// Saves a picture of every window of the program, frame included, into a folder, and then
// ends the program: the README's screenshots come from here. Each step shows a window, gives
// it a moment to settle and grabs the screen where it stands.
class TScreenshotTour final : public QObject {
    Q_OBJECT
public:
    struct Step {
        QString Name;                            // the file name, without ".png"
        std::function<QWidget*()> Show;          // shows the window and returns it
        std::function<bool()> Ready = {};        // true once the window shows what it should
        std::function<void(QWidget*)> Done = {}; // closes what the step opened
    };

    // end runs after the last step and ends the program (closing the main window: windows that
    // hide instead of closing would keep a plain quit from ending it).
    TScreenshotTour(QString folder, std::vector<Step> steps, std::function<void()> end,
                    QObject* parent = nullptr);
    void Start(int delayMs);

private:
    void RunStep(std::size_t index);
    void Grab(std::size_t index, QWidget* window);

    QString m_folder;
    std::vector<Step> m_steps;
    std::function<void()> m_end;
};

} // namespace qx
