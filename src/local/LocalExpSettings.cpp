// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalExpSettings.h"

#include <filesystem>
#include <system_error>

namespace qx {

namespace {
const std::string kKey(LocalExplorerKey);
const std::string kToolbarKey = kKey + "\\Toolbar";
} // namespace

bool TLocalExpSettings::LoadFromStore(const TConfigStore& store) {
    if (const auto state = store.ReadBinary(kToolbarKey, "State")) {
        ToolbarState = std::string(state->begin(), state->end());
    }
    if (!store.KeyExists(kKey)) {
        return false;
    }
    const auto number = [&](const char* name) { return store.ReadNumber(kKey, name); };
    Left = number("Left");
    Top = number("Top");
    Width = number("Width");
    Height = number("Height");
    FolderTreePanelWidth = number("FolderTreePanelWidth");
    FolderPath = store.ReadString(kKey, "FolderPath");
    if (const auto sort = number("SortColumn"); sort && *sort != 0 && *sort >= -4 && *sort <= 4) {
        SortColumn = *sort;
    }
    if (const auto style = number("ViewStyle"); style && *style >= 0 && *style <= 3) {
        ViewStyle = *style;
    }
    return true;
}

void TLocalExpSettings::SaveToStore(TConfigStore& store, bool maximized) const {
    TConfigBatch batch(store);
    if (ToolbarState && store.CreateKey(kToolbarKey)) {
        store.WriteBinary(kToolbarKey, "State",
                          std::vector<std::uint8_t>(ToolbarState->begin(), ToolbarState->end()));
    }
    store.CreateKey(kKey);
    const auto write = [&](const char* name, const std::optional<int>& value) {
        if (value) {
            store.WriteNumber(kKey, name, *value);
        }
    };
    if (!maximized) {
        write("Left", Left);
        write("Top", Top);
        write("Width", Width);
        write("Height", Height);
        write("FolderTreePanelWidth", FolderTreePanelWidth);
    }
    if (FolderPath) {
        store.WriteString(kKey, "FolderPath", *FolderPath);
    }
    write("SortColumn", SortColumn);
    write("ViewStyle", ViewStyle);
}

std::string StartFolder(const std::optional<std::string>& stored) {
    std::error_code error;
    if (stored && !stored->empty() && std::filesystem::is_directory(*stored, error)) {
        return *stored;
    }
    const auto current = std::filesystem::current_path(error);
    return error ? std::string("/") : current.string();
}

} // namespace qx
