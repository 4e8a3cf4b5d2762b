// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/FindSettings.h"

#include <algorithm>

namespace qx {

void TFindSettings::LoadFromStore(const TConfigStore& store) {
    if (!store.KeyExists(FindFilesKey)) {
        return;
    }
    for (const auto& [name, value] : {std::pair{"Width", &Width}, std::pair{"Height", &Height}}) {
        if (const auto number = store.ReadNumber(FindFilesKey, name)) {
            *value = std::max(200, *number);
        }
    }
    if (const auto number = store.ReadNumber(FindFilesKey, "MaxDepth")) {
        Fields.MaxDepth = std::clamp(*number, 1, kMaxRecursionDepth);
    }
    if (const auto number = store.ReadNumber(FindFilesKey, "Subfolders")) {
        Fields.Subfolders = *number != 0;
    }
    for (const auto& [name, value] :
         {std::pair{"Masks", &Fields.Masks}, std::pair{"LargerThan", &Fields.LargerThan},
          std::pair{"SmallerThan", &Fields.SmallerThan}}) {
        if (auto text = store.ReadString(FindFilesKey, name)) {
            *value = std::move(*text);
        }
    }
}

void TFindSettings::SaveToStore(TConfigStore& store) const {
    TConfigBatch batch(store);
    store.CreateKey(FindFilesKey);
    store.WriteNumber(FindFilesKey, "Width", Width);
    store.WriteNumber(FindFilesKey, "Height", Height);
    store.WriteNumber(FindFilesKey, "MaxDepth", Fields.MaxDepth);
    store.WriteNumber(FindFilesKey, "Subfolders", Fields.Subfolders ? 1 : 0);
    store.WriteString(FindFilesKey, "Masks", Fields.Masks);
    store.WriteString(FindFilesKey, "LargerThan", Fields.LargerThan);
    store.WriteString(FindFilesKey, "SmallerThan", Fields.SmallerThan);
}

} // namespace qx
