// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace qx {

class TConfigStore;

// The certificates the user chose to trust always, one SHA-256 fingerprint per host and port,
// under the program's key "TrustedCertificates" (value name "host:port").
std::string StoredCertificate(const TConfigStore& store, const std::string& host,
                              const std::string& port);
void StoreCertificate(TConfigStore& store, const std::string& host, const std::string& port,
                      const std::string& sha256);

} // namespace qx
