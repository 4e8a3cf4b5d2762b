// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const qx::TShellIcons icons(false);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Both formats: LIST output and MLSD facts.
    for (const auto format : {qx::TListingFormat::List, qx::TListingFormat::Mlsd}) {
        qx::TFTPListItems list;
        qx::DecodeListing(bytes, list, {.Icons = &icons, .CurrentYear = 2001, .Format = format});
        for (const auto& item : list) {
            // Every item is a real entry with a name taken from the input.
            if (item->Name.empty() || item->Name.size() > size ||
                (item->Size < 0 && item->IsFile) || (!item->IsFile && item->Size != -1) ||
                bytes.find(item->Name) == std::string_view::npos) {
                std::abort();
            }
        }
    }
    return 0;
}
