// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FtpUrl.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// The input is an address as a browser or the command line hands it over. What the parser
// accepts must carry no line break or NUL in any part, and its port must be a number from 1
// to 65535.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& candidate : {std::string(text), "ftp://" + std::string(text)}) {
        std::string error;
        const auto url = qx::ParseFtpUrl(candidate, error);
        if (!url) {
            continue;
        }
        for (const std::string* part : {&url->User, &url->Password, &url->Host, &url->Path}) {
            if (qx::HoldsLineBreakOrNul(*part)) {
                std::abort();
            }
        }
        const long port = std::strtol(url->Port.c_str(), nullptr, 10);
        if (url->Host.empty() || port < 1 || port > 65535) {
            std::abort();
        }
        qx::SplitRemotePath(url->Path);
    }
    return 0;
}
