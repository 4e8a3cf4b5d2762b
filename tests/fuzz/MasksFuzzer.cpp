// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Masks.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The input is a mask text; the names tried are a few fixed ones and pieces of the input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qx::TMasks masks;
    try {
        masks.SetMasks(text);
    } catch (const qx::EMaskException&) {
        // The parts before the invalid one still match.
    }
    static constexpr std::string_view names[] = {"",
                                                 "a",
                                                 "README",
                                                 "index.HTML",
                                                 "archive.tar.gz",
                                                 ".profile",
                                                 "caf\xC3\xA9.txt",
                                                 "\xF0\x9F\x98\x80",
                                                 "\xE9\xFF",
                                                 "[x]-!*?;"};
    for (const auto name : names) {
        masks.Matches(name);
    }
    masks.Matches(text);
    masks.Matches(text.substr(size / 2));
    masks.Matches(text.substr(0, size / 3));
    return 0;
}
