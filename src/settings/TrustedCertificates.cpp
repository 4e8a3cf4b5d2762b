// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TrustedCertificates.h"

#include "platform/ConfigStore.h"
#include "settings/StoreKeys.h"

namespace qx {

namespace {

std::string KeyPath() {
    return std::string(ProgramKey) + "\\TrustedCertificates";
}

std::string ValueName(const std::string& host, const std::string& port) {
    return host + ":" + port;
}

} // namespace

std::string StoredCertificate(const TConfigStore& store, const std::string& host,
                              const std::string& port) {
    return store.ReadString(KeyPath(), ValueName(host, port)).value_or(std::string());
}

void StoreCertificate(TConfigStore& store, const std::string& host, const std::string& port,
                      const std::string& sha256) {
    store.CreateKey(KeyPath());
    store.WriteString(KeyPath(), ValueName(host, port), sha256);
}

} // namespace qx
