// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UiThread.h"

#include <QObject>

#include <atomic>
#include <functional>

namespace qx {

// The user-interface thread of the desktop program: calls from workers become queued calls on
// the Qt thread that created this object. invoke() waits for the call to have run; after
// Shutdown() no call runs any more and invoke() returns at once, so no worker can hang on a
// window system that has stopped.
class QtUiThread final : public QObject, public UiThread {
    Q_OBJECT
public:
    explicit QtUiThread(QObject* parent = nullptr);
    ~QtUiThread() override;

    void invoke(std::function<void()> function) override;
    void post(std::function<void()> function) override;
    bool isCurrentThread() const override;

    void Shutdown();

private:
    std::atomic<bool> m_shutdown{false};
};

} // namespace qx
