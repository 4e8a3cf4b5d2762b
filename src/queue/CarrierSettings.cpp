// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/CarrierSettings.h"

#include "queue/CarrierQueue.h"

#include <algorithm>

namespace qx {

void TCarrierSettings::LoadFromStore(const TConfigStore& store) {
    if (!store.KeyExists(CarrierKey)) {
        return;
    }
    for (const auto& [name, value] : {std::pair{"Left", &Left}, std::pair{"Top", &Top},
                                      std::pair{"Width", &Width}, std::pair{"Height", &Height}}) {
        if (const auto number = store.ReadNumber(CarrierKey, name)) {
            *value = *number;
        }
    }
    if (const auto number = store.ReadNumber(CarrierKey, "ResumeService")) {
        ResumeService = *number != 0;
    }
    if (const auto number = store.ReadNumber(CarrierKey, "MaxCarrier")) {
        MaxCarrier =
            std::clamp<int>(*number, TCarrierQueue::kMinCarriers, TCarrierQueue::kMaxCarriers);
    }
}

void TCarrierSettings::SaveToStore(TConfigStore& store, bool maximized) const {
    TConfigBatch batch(store);
    store.CreateKey(CarrierKey);
    if (!maximized) {
        WritePlace(store, CarrierKey);
    }
    store.WriteNumber(CarrierKey, "ResumeService", ResumeService ? 1 : 0);
    store.WriteNumber(CarrierKey, "MaxCarrier", MaxCarrier);
}

} // namespace qx
