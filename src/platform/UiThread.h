// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace qx {

// The user-interface thread as the worker threads see it. Workers hand it log lines, progress,
// questions and done events; nothing else crosses between the threads.
class UiThread {
public:
    virtual ~UiThread() = default;

    // Runs the function on the user-interface thread and returns once it has run. Called on
    // the user-interface thread itself, it runs the function at once.
    virtual void invoke(std::function<void()> function) = 0;
    // Queues the function to run on the user-interface thread and returns at once.
    virtual void post(std::function<void()> function) = 0;
    // True when called on the user-interface thread.
    virtual bool isCurrentThread() const = 0;
};

} // namespace qx
