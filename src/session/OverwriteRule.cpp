// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/OverwriteRule.h"

#include "base/Utilities.h"

#include <sys/stat.h>

#include <array>
#include <ctime>

namespace qx {

bool SourceIsNewer(const TOverwriteQuestion& question) {
    if (!question.SourceTime || !question.TargetTime) {
        return true;
    }
    return *question.SourceTime > *question.TargetTime;
}

std::string OverwriteSideText(std::int64_t size, const std::optional<std::int64_t>& time,
                              std::string_view sizeUnknown, std::string_view dateUnknown) {
    std::string text = size >= 0 ? FormatFileSize(size) : std::string(sizeUnknown);
    text += ", ";
    std::tm local{};
    const auto seconds = static_cast<std::time_t>(time.value_or(0));
    std::array<char, 32> date{};
    if (time && ::localtime_r(&seconds, &local) != nullptr &&
        std::strftime(date.data(), date.size(), "%Y-%m-%d %H:%M", &local) > 0) {
        text += date.data();
    } else {
        text += dateUnknown;
    }
    return text;
}

std::string NumberedName(const std::string& path, int number) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart) {
        dot = path.size();
    }
    return path.substr(0, dot) + " (" + std::to_string(number) + ")" + path.substr(dot);
}

std::string FreeLocalName(const std::string& path) {
    return FreeName(path, [](const std::string& candidate) {
        struct stat info {};
        return ::lstat(candidate.c_str(), &info) == 0;
    });
}

} // namespace qx
