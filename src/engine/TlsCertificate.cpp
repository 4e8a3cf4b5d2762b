// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TlsCertificate.h"

#include "base/AsciiText.h"
#include "base/Translatable.h"

// OpenSSL's macros (SSL_set_app_data, BIO_get_mem_data, ...) cast in the C way.
#pragma GCC diagnostic ignored "-Wold-style-cast"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace qx {

namespace {

using BioPtr = std::unique_ptr<BIO, decltype(&BIO_free)>;

std::string bioText(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

std::string nameText(const X509_NAME* name) {
    BioPtr bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || name == nullptr) {
        return {};
    }
    X509_NAME_print_ex(bio.get(), name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    return bioText(bio.get());
}

std::string timeText(const ASN1_TIME* time) {
    BioPtr bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio || time == nullptr) {
        return {};
    }
    ASN1_TIME_print(bio.get(), time);
    return bioText(bio.get());
}

// The reasons a user meets, in the words OpenSSL uses for them and marked for the windows to
// translate; nothing for the others, which keep OpenSSL's text.
const char* VerifyReason(long verifyResult) {
    switch (verifyResult) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return QX_TRANSLATE_NOOP("qx::Core", "certificate has expired");
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return QX_TRANSLATE_NOOP("qx::Core", "certificate is not yet valid");
    case X509_V_ERR_HOSTNAME_MISMATCH:
        return QX_TRANSLATE_NOOP("qx::Core", "hostname mismatch");
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return QX_TRANSLATE_NOOP("qx::Core", "IP address mismatch");
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        return QX_TRANSLATE_NOOP("qx::Core", "self-signed certificate");
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        return QX_TRANSLATE_NOOP("qx::Core", "self-signed certificate in certificate chain");
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        return QX_TRANSLATE_NOOP("qx::Core", "unable to get issuer certificate");
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        return QX_TRANSLATE_NOOP("qx::Core", "unable to get local issuer certificate");
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        return QX_TRANSLATE_NOOP("qx::Core", "unable to verify the first certificate");
    case X509_V_ERR_CERT_REVOKED:
        return QX_TRANSLATE_NOOP("qx::Core", "certificate revoked");
    case X509_V_ERR_CERT_SIGNATURE_FAILURE:
        return QX_TRANSLATE_NOOP("qx::Core", "certificate signature failure");
    case X509_V_ERR_INVALID_PURPOSE:
        return QX_TRANSLATE_NOOP("qx::Core", "unsupported certificate purpose");
    case X509_V_ERR_CERT_UNTRUSTED:
        return QX_TRANSLATE_NOOP("qx::Core", "certificate not trusted");
    case X509_V_ERR_CERT_REJECTED:
        return QX_TRANSLATE_NOOP("qx::Core", "certificate rejected");
    default:
        return nullptr;
    }
}

} // namespace

TTlsCertificateInfo DescribeCertificate(const X509* certificate, long verifyResult) {
    TTlsCertificateInfo info;
    if (certificate == nullptr) {
        info.VerifyError = QX_TRANSLATE_NOOP("qx::Core", "the server sent no certificate");
        return info;
    }
    info.Subject = nameText(X509_get_subject_name(certificate));
    info.Issuer = nameText(X509_get_issuer_name(certificate));
    info.NotBefore = timeText(X509_get0_notBefore(certificate));
    info.NotAfter = timeText(X509_get0_notAfter(certificate));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest, &length) == 1) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (unsigned int i = 0; i < length; ++i) {
            if (i > 0) {
                info.Sha256 += ':';
            }
            info.Sha256 += kHex[digest[i] >> 4];
            info.Sha256 += kHex[digest[i] & 0x0F];
        }
    }
    if (verifyResult != X509_V_OK) {
        const char* reason = VerifyReason(verifyResult);
        info.VerifyError = reason != nullptr ? reason : X509_verify_cert_error_string(verifyResult);
    }
    return info;
}

std::string NormalizedFingerprint(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (AsciiHexValue(c) >= 0) {
            digits += AsciiUpper(c);
        } else if (c != ':' && c != ' ' && c != '-') {
            return {}; // not a fingerprint
        }
    }
    return digits.size() == 64 ? digits : std::string();
}

bool SameFingerprint(const std::string& a, const std::string& b) {
    const std::string left = NormalizedFingerprint(a);
    return !left.empty() && left == NormalizedFingerprint(b);
}

} // namespace qx
