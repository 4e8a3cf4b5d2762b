// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AsciiText.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

// The configuration store's tree in memory: keys with their values and subkeys, in the order
// they were created. Names compare without regard to the case of ASCII letters.

namespace qx {

using TConfigValueData = std::variant<std::string, std::int32_t, std::vector<std::uint8_t>>;

struct TConfigValue {
    std::string Name;
    TConfigValueData Data;
};

struct TConfigKey {
    std::string Name;
    std::vector<TConfigValue> Values;
    // Changed only through AddSubKey and TakeSubKey, which keep the index.
    std::vector<std::unique_ptr<TConfigKey>> SubKeys;
    // The subkeys by name in lower case, once a key has many (a queue of ten thousand items):
    // a lookup then costs the same however many there are.
    std::unordered_map<std::string, TConfigKey*> Index;
};

TConfigKey& AddSubKey(TConfigKey& key, std::unique_ptr<TConfigKey> sub);
// Takes the subkey out of the key, keeping the order of the others.
std::unique_ptr<TConfigKey> TakeSubKey(TConfigKey& key, const TConfigKey& sub);

// The key names of a path; the root "\" has none. Nothing for an invalid path.
std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view path);

// Lookups for const and non-const trees alike (K is TConfigKey or const TConfigKey).
template <typename K> K* FindSubKey(K& key, std::string_view name) {
    if (!key.Index.empty()) {
        const auto found = key.Index.find(AsciiLowerCase(name));
        return found == key.Index.end() ? nullptr : found->second;
    }
    for (const auto& sub : key.SubKeys) {
        if (AsciiEqualNoCase(sub->Name, name)) {
            return sub.get();
        }
    }
    return nullptr;
}

template <typename K>
K* FindKey(K& root, const std::vector<std::string_view>& names, std::size_t count) {
    K* key = &root;
    for (std::size_t i = 0; i < count && key != nullptr; ++i) {
        key = FindSubKey(*key, names[i]);
    }
    return key;
}

// Creates the missing keys of the path; true when something was created.
bool CreateKeys(TConfigKey& root, const std::vector<std::string_view>& names, std::size_t count,
                TConfigKey*& last);

template <typename K> auto FindValue(K& key, std::string_view name) -> decltype(key.Values.data()) {
    for (auto& value : key.Values) {
        if (AsciiEqualNoCase(value.Name, name)) {
            return &value;
        }
    }
    return nullptr;
}

// Sets a value, keeping the spelling of an existing name; true when something changed.
bool SetValue(TConfigKey& key, std::string_view name, TConfigValueData data);

} // namespace qx
