// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/OnlineEditorSettings.h"

#include <utility>

namespace qx {

void TOnlineEditorSettings::LoadFromStore(const TConfigStore& store) {
    if (!store.KeyExists(OnlineEditorKey)) {
        return;
    }
    const auto left = store.ReadNumber(OnlineEditorKey, "Left");
    const auto top = store.ReadNumber(OnlineEditorKey, "Top");
    if (left && top) {
        HasPosition = true;
        Left = *left;
        Top = *top;
    }
    for (const auto& [name, value] :
         {std::pair{"Width", &Width}, std::pair{"Height", &Height},
          std::pair{"LogPanelHeight", &LogPanelHeight}, std::pair{"FontSize", &FontSize}}) {
        if (const auto number = store.ReadNumber(OnlineEditorKey, name)) {
            *value = *number;
        }
    }
    if (const auto visible = store.ReadNumber(OnlineEditorKey, "LogPanelVisible")) {
        LogPanelVisible = *visible != 0;
    }
    if (const auto font = store.ReadString(OnlineEditorKey, "FontName"); font && !font->empty()) {
        FontName = *font;
    }
}

void TOnlineEditorSettings::SaveToStore(TConfigStore& store, bool normalState) const {
    TConfigBatch batch(store);
    store.CreateKey(OnlineEditorKey);
    if (normalState) {
        WritePlace(store, OnlineEditorKey);
    }
    store.WriteNumber(OnlineEditorKey, "LogPanelHeight", LogPanelHeight);
    store.WriteNumber(OnlineEditorKey, "LogPanelVisible", LogPanelVisible ? 1 : 0);
    store.WriteString(OnlineEditorKey, "FontName", FontName);
    store.WriteNumber(OnlineEditorKey, "FontSize", FontSize);
}

} // namespace qx
