// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>

namespace qx {

// The moment in the local time zone, written with the strftime format (at most 31 characters).
std::string LocalTimeText(std::time_t when, const char* format);

} // namespace qx
