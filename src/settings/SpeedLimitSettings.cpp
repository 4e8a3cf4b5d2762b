// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SpeedLimitSettings.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/SiteProperties.h"
#include "settings/StoreKeys.h"

#include <algorithm>

namespace qx {

void TSpeedLimitValues::Load(const TConfigStore& store, std::string_view path) {
    Download = std::max(store.ReadNumber(path, DownloadLimitValue).value_or(0), 0);
    Upload = std::max(store.ReadNumber(path, UploadLimitValue).value_or(0), 0);
}

void TSpeedLimitValues::Save(TConfigStore& store, std::string_view path) const {
    store.WriteNumber(path, DownloadLimitValue, Download);
    store.WriteNumber(path, UploadLimitValue, Upload);
}

TSpeedLimitValues EffectiveSpeedLimits(const TSiteProperties& site, const TGlobalOptions& options) {
    return site.UseGlobalSpeedLimits ? options.SpeedLimits : site.SpeedLimits;
}

} // namespace qx
