// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ConfigTree.h"

namespace qx {

// The key names of a path; the root "\" has none. Nothing for an invalid path.
std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view path) {
    if (path.empty() || path.front() != '\\') {
        return std::nullopt;
    }
    std::vector<std::string_view> names;
    if (path.size() == 1) {
        return names;
    }
    std::size_t start = 1;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view name =
            path.substr(start, end == std::string_view::npos ? end : end - start);
        if (name.empty()) {
            return std::nullopt;
        }
        names.push_back(name);
        if (end == std::string_view::npos) {
            return names;
        }
        start = end + 1;
    }
}

// Creates the missing keys of the path; true when something was created.
bool CreateKeys(TConfigKey& root, const std::vector<std::string_view>& names, std::size_t count,
                TConfigKey*& last) {
    bool created = false;
    TConfigKey* key = &root;
    for (std::size_t i = 0; i < count; ++i) {
        TConfigKey* sub = FindSubKey(*key, names[i]);
        if (sub == nullptr) {
            key->SubKeys.push_back(std::make_unique<TConfigKey>());
            sub = key->SubKeys.back().get();
            sub->Name = names[i];
            created = true;
        }
        key = sub;
    }
    last = key;
    return created;
}

// Sets a value, keeping the spelling of an existing name; true when something changed.
bool SetValue(TConfigKey& key, std::string_view name, TConfigValueData data) {
    if (TConfigValue* value = FindValue(key, name)) {
        if (value->Data == data) {
            return false;
        }
        value->Data = std::move(data);
        return true;
    }
    key.Values.push_back({std::string(name), std::move(data)});
    return true;
}

} // namespace qx
