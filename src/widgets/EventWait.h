// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace qx {

// Runs the events (the workers' results arrive as queued calls) until done() holds, checking it
// every intervalMs milliseconds; done() is first asked after one interval.
void RunEventsUntil(const std::function<bool()>& done, int intervalMs = 20);

} // namespace qx
