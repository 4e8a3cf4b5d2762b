// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ConfigTree.h"

#include <algorithm>

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

namespace {

// Below this many subkeys a look along them is as quick as the index.
constexpr std::size_t kIndexedFrom = 32;

} // namespace

TConfigKey& AddSubKey(TConfigKey& key, std::unique_ptr<TConfigKey> sub) {
    TConfigKey& added = *key.SubKeys.emplace_back(std::move(sub));
    if (!key.Index.empty()) {
        key.Index.emplace(AsciiLowerCase(added.Name), &added);
    } else if (key.SubKeys.size() >= kIndexedFrom) {
        for (const auto& each : key.SubKeys) {
            key.Index.emplace(AsciiLowerCase(each->Name), each.get());
        }
    }
    return added;
}

std::unique_ptr<TConfigKey> TakeSubKey(TConfigKey& key, const TConfigKey& sub) {
    const auto found = std::find_if(key.SubKeys.begin(), key.SubKeys.end(),
                                    [&](const auto& each) { return each.get() == &sub; });
    if (found == key.SubKeys.end()) {
        return nullptr;
    }
    std::unique_ptr<TConfigKey> taken = std::move(*found);
    key.SubKeys.erase(found);
    if (!key.Index.empty()) {
        key.Index.erase(AsciiLowerCase(taken->Name));
    }
    return taken;
}

// Creates the missing keys of the path; true when something was created.
bool CreateKeys(TConfigKey& root, const std::vector<std::string_view>& names, std::size_t count,
                TConfigKey*& last) {
    bool created = false;
    TConfigKey* key = &root;
    for (std::size_t i = 0; i < count; ++i) {
        TConfigKey* sub = FindSubKey(*key, names[i]);
        if (sub == nullptr) {
            auto made = std::make_unique<TConfigKey>();
            made->Name = names[i];
            sub = &AddSubKey(*key, std::move(made));
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
