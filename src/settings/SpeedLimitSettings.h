// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace qx {

class TConfigStore;
class TGlobalOptions;
class TSiteProperties;

// Speed limits in bytes per second, 0 for none, as the global options and each site keep them
// ("DownloadLimit", "UploadLimit"; a negative or missing value reads as 0).
struct TSpeedLimitValues {
    std::int32_t Download = 0;
    std::int32_t Upload = 0;

    void Load(const TConfigStore& store, std::string_view path);
    void Save(TConfigStore& store, std::string_view path) const;
    bool operator==(const TSpeedLimitValues&) const = default;
};

// The limits a connection to the site keeps to: the site's own where it has them, else the
// global ones.
TSpeedLimitValues EffectiveSpeedLimits(const TSiteProperties& site, const TGlobalOptions& options);

} // namespace qx
