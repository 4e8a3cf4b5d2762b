// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TlsCertificate.h"

#include <string>

namespace qx {

// Asked when a server's certificate cannot be verified (self-signed, expired, another host's)
// and is not trusted yet: trusting it lets the login go on with it.
struct TCertificateQuestion {
    std::string HostName;
    std::string Port;
    TTlsCertificateInfo Certificate;
};

} // namespace qx
