// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <iostream>

namespace qx {

TScreenshotTour::TScreenshotTour(QString folder, std::vector<Step> steps, std::function<void()> end,
                                 QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_steps(std::move(steps)),
      m_end(std::move(end)) {}

void TScreenshotTour::Start(int delayMs) {
    QDir().mkpath(m_folder);
    QTimer::singleShot(delayMs, this, [this] { RunStep(0); });
}

void TScreenshotTour::RunStep(std::size_t index) {
    if (index >= m_steps.size()) {
        if (m_end) {
            m_end();
        }
        return;
    }
    Step& step = m_steps[index];
    QWidget* window = step.Show();
    if (window == nullptr) {
        RunStep(index + 1);
        return;
    }
    window->raise();
    window->activateWindow();
    // Wait until the window is ready (bounded), then a little longer for the window manager.
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    auto poll = std::make_shared<std::function<void()>>();
    QPointer<QWidget> guard(window);
    *poll = [this, index, guard, waited, poll] {
        const Step& current = m_steps[index];
        if (guard && current.Ready && !current.Ready() && waited->elapsed() < 20000) {
            QTimer::singleShot(100, this, *poll);
            return;
        }
        QTimer::singleShot(700, this, [this, index, guard] {
            if (guard) {
                Grab(index, guard);
            }
            if (m_steps[index].Done) {
                m_steps[index].Done(guard);
            }
            RunStep(index + 1);
        });
    };
    (*poll)();
}

void TScreenshotTour::Grab(std::size_t index, QWidget* window) {
    QScreen* screen = window->screen();
    const QRect frame = window->frameGeometry();
    const QPixmap picture =
        screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString file = QDir(m_folder).filePath(m_steps[index].Name + QStringLiteral(".png"));
    if (!picture.save(file, "PNG")) {
        std::cerr << "cannot save " << file.toStdString() << '\n';
    }
}

} // namespace qx
