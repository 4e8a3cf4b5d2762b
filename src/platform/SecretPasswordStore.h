// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PasswordStore.h"

#include <chrono>
#include <memory>
#include <utility>
#include <vector>

namespace qx {

// Passwords in the desktop's keyring through the Secret Service (D-Bus). Without a session
// bus (no DBUS_SESSION_BUS_ADDRESS: a bare session, a server) it is unavailable at once, and
// no bus is ever started for it. Every call waits at most a few seconds, also for an unlock
// prompt of the keyring; a call that fails or times out makes the store unavailable for the
// rest of the session, so nobody waits twice. Used from one thread.
class TSecretPasswordStore final : public TPasswordStore {
public:
    TSecretPasswordStore();
    ~TSecretPasswordStore() override;
    TSecretPasswordStore(const TSecretPasswordStore&) = delete;
    TSecretPasswordStore& operator=(const TSecretPasswordStore&) = delete;

    bool Available() override;
    TLookupResult Lookup(const TPasswordKey& key) override;
    bool Store(const TPasswordKey& key, const std::string& password) override;
    bool Remove(const TPasswordKey& key) override;

    // How long the first contact may take, and every later call.
    static constexpr std::chrono::milliseconds kProbeLimit{3000};
    static constexpr std::chrono::milliseconds kCallLimit{10000};

private:
    enum class TState { Unknown, Usable, Unusable };
    struct Impl;

    std::unique_ptr<Impl> m_impl;
    TState m_state = TState::Unknown;
    // What this session read or wrote, so that saving the same password again costs nothing.
    std::vector<std::pair<TPasswordKey, std::string>> m_known;
};

} // namespace qx
