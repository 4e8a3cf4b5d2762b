// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qx {

// Whose password: one login on one server. Sites, queued items and the command-line tool
// that log in the same way share one entry.
struct TPasswordKey {
    std::string Host;
    std::int32_t Port = 21;
    std::string User;

    bool operator==(const TPasswordKey&) const = default;
};

// Where passwords are kept apart from the settings file: the desktop's keyring when one runs.
// The callers keep a password in the settings file themselves when Available() is false or a
// Store() fails, so no password is ever dropped.
class TPasswordStore {
public:
    enum class TLookup { Found, Missing, Failed };
    struct TLookupResult {
        TLookup Status = TLookup::Failed;
        std::string Password; // only when Found
    };

    virtual ~TPasswordStore() = default;

    // Whether the store can be used now. Answers fast when there is none.
    virtual bool Available() = 0;
    virtual TLookupResult Lookup(const TPasswordKey& key) = 0;
    // True when the password is kept.
    virtual bool Store(const TPasswordKey& key, const std::string& password) = 0;
    // True when no password of the key is left (also when there was none).
    virtual bool Remove(const TPasswordKey& key) = 0;
};

} // namespace qx
