// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace qx {

// Keys of the configuration store that several parts of the program share.
inline constexpr std::string_view ProgramKey = "\\Software\\Quorvin Explorer";
inline constexpr std::string_view GlobalOptionsKey = "\\Software\\Quorvin Explorer\\GlobalOptions";
inline constexpr std::string_view SiteBookKey = "\\Software\\Quorvin Explorer\\SiteBook";
inline constexpr std::string_view SiteBookTreeKey = "\\Software\\Quorvin Explorer\\SiteBook\\Tree";

// Speed limits and keep-alive: values of the global options' key and of each site's key.
inline constexpr std::string_view DownloadLimitValue = "DownloadLimit";
inline constexpr std::string_view UploadLimitValue = "UploadLimit";
inline constexpr std::string_view UseGlobalSpeedLimitsValue = "UseGlobalSpeedLimits";
inline constexpr std::string_view KeepAliveIntervalValue = "KeepAliveInterval";

} // namespace qx
