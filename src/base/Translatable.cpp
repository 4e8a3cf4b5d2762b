// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Translatable.h"

#include <cstddef>

namespace qx {

namespace {

template <typename Args> std::string Filled(std::string_view format, const Args& args) {
    std::string text;
    text.reserve(format.size());
    for (std::size_t at = 0; at < format.size(); ++at) {
        const char c = format[at];
        if (c == '%' && at + 1 < format.size() && format[at + 1] >= '1' && format[at + 1] <= '9') {
            const auto number = static_cast<std::size_t>(format[at + 1] - '1');
            if (number < args.size()) {
                text += *(args.begin() + static_cast<std::ptrdiff_t>(number));
                ++at;
                continue;
            }
        }
        text += c;
    }
    return text;
}

} // namespace

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
    return Filled(format, args);
}

std::string FormatText(std::string_view format, const std::vector<std::string>& args) {
    return Filled(format, args);
}

} // namespace qx
