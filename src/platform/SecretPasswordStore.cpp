// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SecretPasswordStore.h"

#include <libsecret/secret.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <future>
#include <optional>
#include <thread>

namespace qx {

namespace {

// Owns a GLib object reference.
template <typename T> struct TGObject {
    T* Object = nullptr;
    explicit TGObject(T* object) : Object(object) {}
    ~TGObject() {
        if (Object != nullptr) {
            g_object_unref(Object);
        }
    }
    TGObject(const TGObject&) = delete;
    TGObject& operator=(const TGObject&) = delete;
};

struct TGError {
    GError* Error = nullptr;
    ~TGError() {
        if (Error != nullptr) {
            g_error_free(Error);
        }
    }
};

struct TAttributes {
    GHashTable* Table = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free);
    ~TAttributes() { g_hash_table_unref(Table); }
    TAttributes(const TAttributes&) = delete;
    TAttributes& operator=(const TAttributes&) = delete;
    explicit TAttributes(const TPasswordKey& key) {
        const std::string port = std::to_string(key.Port);
        g_hash_table_insert(Table, g_strdup("server"), g_strdup(key.Host.c_str()));
        g_hash_table_insert(Table, g_strdup("port"), g_strdup(port.c_str()));
        g_hash_table_insert(Table, g_strdup("user"), g_strdup(key.User.c_str()));
    }
};

// Runs the call on a thread of its own and waits for it at most `limit`. A call still running
// then is cancelled (the Secret Service calls give up at once) and counts as failed.
template <typename Result>
std::optional<Result> RunBounded(std::chrono::milliseconds limit,
                                 const std::function<Result(GCancellable*)>& call) {
    const TGObject<GCancellable> cancellable(g_cancellable_new());
    std::promise<Result> promise;
    std::future<Result> future = promise.get_future();
    std::thread worker([&] { promise.set_value(call(cancellable.Object)); });
    const bool inTime = future.wait_for(limit) == std::future_status::ready;
    if (!inTime) {
        g_cancellable_cancel(cancellable.Object);
    }
    worker.join();
    if (!inTime) {
        return std::nullopt;
    }
    return future.get();
}

} // namespace

struct TSecretPasswordStore::Impl {
    SecretSchema Schema{};

    Impl() {
        Schema.name = "org.quorvin.Explorer.FtpLogin";
        Schema.flags = SECRET_SCHEMA_NONE;
        Schema.attributes[0] = {"server", SECRET_SCHEMA_ATTRIBUTE_STRING};
        Schema.attributes[1] = {"port", SECRET_SCHEMA_ATTRIBUTE_INTEGER};
        Schema.attributes[2] = {"user", SECRET_SCHEMA_ATTRIBUTE_STRING};
        Schema.attributes[3] = {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING};
    }
};

TSecretPasswordStore::TSecretPasswordStore() : m_impl(std::make_unique<Impl>()) {}

TSecretPasswordStore::~TSecretPasswordStore() = default;

bool TSecretPasswordStore::Available() {
    if (m_state != TState::Unknown) {
        return m_state == TState::Usable;
    }
    m_state = TState::Unusable;
    // Without an address libsecret would try to launch a bus of its own.
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (bus == nullptr || bus[0] == '\0') {
        return false;
    }
    const auto opened = RunBounded<bool>(kProbeLimit, [](GCancellable* cancellable) {
        TGError error;
        const TGObject<SecretService> service(
            secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, cancellable, &error.Error));
        return service.Object != nullptr && error.Error == nullptr;
    });
    if (opened.value_or(false)) {
        m_state = TState::Usable;
    }
    return m_state == TState::Usable;
}

TPasswordStore::TLookupResult TSecretPasswordStore::Lookup(const TPasswordKey& key) {
    const auto known = std::find_if(m_known.begin(), m_known.end(),
                                    [&key](const auto& entry) { return entry.first == key; });
    if (known != m_known.end()) {
        return {TLookup::Found, known->second};
    }
    if (!Available()) {
        return {TLookup::Failed, {}};
    }
    const SecretSchema* schema = &m_impl->Schema;
    const auto result =
        RunBounded<TLookupResult>(kCallLimit, [&key, schema](GCancellable* cancellable) {
            const TAttributes attributes(key);
            TGError error;
            gchar* secret =
                secret_password_lookupv_sync(schema, attributes.Table, cancellable, &error.Error);
            if (error.Error != nullptr) {
                return TLookupResult{TLookup::Failed, {}};
            }
            if (secret == nullptr) {
                return TLookupResult{TLookup::Missing, {}};
            }
            TLookupResult found{TLookup::Found, secret};
            secret_password_free(secret);
            return found;
        });
    if (!result || result->Status == TLookup::Failed) {
        m_state = TState::Unusable;
        return {TLookup::Failed, {}};
    }
    if (result->Status == TLookup::Found) {
        m_known.emplace_back(key, result->Password);
    }
    return *result;
}

bool TSecretPasswordStore::Store(const TPasswordKey& key, const std::string& password) {
    const auto known = std::find_if(m_known.begin(), m_known.end(),
                                    [&key](const auto& entry) { return entry.first == key; });
    if (known != m_known.end() && known->second == password) {
        return true;
    }
    if (!Available()) {
        return false;
    }
    const SecretSchema* schema = &m_impl->Schema;
    const std::string label =
        "Quorvin Explorer: " + key.User + "@" + key.Host + ":" + std::to_string(key.Port);
    const auto stored = RunBounded<bool>(kCallLimit, [&](GCancellable* cancellable) {
        const TAttributes attributes(key);
        TGError error;
        const gboolean done =
            secret_password_storev_sync(schema, attributes.Table, SECRET_COLLECTION_DEFAULT,
                                        label.c_str(), password.c_str(), cancellable, &error.Error);
        return done != FALSE && error.Error == nullptr;
    });
    if (!stored.value_or(false)) {
        m_state = TState::Unusable;
        return false;
    }
    if (known != m_known.end()) {
        known->second = password;
    } else {
        m_known.emplace_back(key, password);
    }
    return true;
}

bool TSecretPasswordStore::Remove(const TPasswordKey& key) {
    std::erase_if(m_known, [&key](const auto& entry) { return entry.first == key; });
    if (!Available()) {
        return false;
    }
    const SecretSchema* schema = &m_impl->Schema;
    const auto removed = RunBounded<bool>(kCallLimit, [&](GCancellable* cancellable) {
        const TAttributes attributes(key);
        TGError error;
        secret_password_clearv_sync(schema, attributes.Table, cancellable, &error.Error);
        return error.Error == nullptr; // nothing to clear is no failure
    });
    if (!removed) {
        m_state = TState::Unusable;
        return false;
    }
    return *removed;
}

} // namespace qx
