// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalTime.h"

namespace qx {

std::string LocalTimeText(std::time_t when, const char* format) {
    std::tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    if (std::strftime(text, sizeof text, format, &local) == 0) {
        return {};
    }
    return text;
}

} // namespace qx
