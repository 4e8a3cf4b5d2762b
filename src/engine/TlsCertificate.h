// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

using X509 = struct x509_st;

namespace qx {

// What the user is shown about a server's certificate, and what a trust decision is stored
// under: the SHA-256 fingerprint of the certificate (upper-case hex pairs separated by colons).
struct TTlsCertificateInfo {
    std::string Subject;
    std::string Issuer;
    std::string NotBefore; // "Jan  1 00:00:00 2027 GMT", as the certificate says
    std::string NotAfter;
    std::string Sha256;
    // Empty when the certificate was verified against the system's trusted certificates and
    // the host name; otherwise why it was not (the common reasons a text of "qx::Core").
    std::string VerifyError;

    bool Verified() const { return VerifyError.empty(); }
    bool Empty() const { return Sha256.empty(); }
};

// The certificate as the user is shown it, with the outcome of its verification (an OpenSSL
// verification result; the certificate may be null when the server sent none).
TTlsCertificateInfo DescribeCertificate(const X509* certificate, long verifyResult);

// Fingerprints are compared without regard to case and separators, so that one given on a
// command line as "ab12cd..." matches "AB:12:CD:...".
std::string NormalizedFingerprint(const std::string& text);
bool SameFingerprint(const std::string& a, const std::string& b);

} // namespace qx
