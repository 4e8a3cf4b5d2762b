// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <string_view>

namespace qx::cli {

void HidePasswordsOfUrls(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view text(argv[i]);
        if (!text.starts_with("ftp://") && !text.starts_with("ftps://")) {
            continue;
        }
        const std::size_t host = text.find("://") + 3;
        const std::size_t path = std::min(text.find('/', host), text.size());
        // user:password@host: the password ends at the last "@" before the path.
        const std::size_t at = text.substr(host, path - host).rfind('@');
        if (at == std::string_view::npos) {
            continue;
        }
        const std::size_t colon = text.substr(host, at).find(':');
        if (colon != std::string_view::npos) {
            std::fill(argv[i] + host + colon + 1, argv[i] + host + at, '*');
        }
    }
}

} // namespace qx::cli
