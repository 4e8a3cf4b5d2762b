// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListingOutput.h"

#include "VisibleText.h"

namespace qx::cli {

std::string EscapeField(std::string_view text) {
    return VisibleText(text, true);
}

// Built in one buffer and written at once: a folder of many thousand entries prints in a
// blink.
void PrintListing(const TFTPListItems& items, std::ostream& out) {
    std::string text;
    text.reserve(items.Count() * 64 + 16);
    const auto number = [&text](std::int64_t value) {
        text += std::to_string(value);
        text += '\t';
    };
    for (const auto& item : items) {
        text += item->IsFile ? "1\t" : "0\t";
        text += item->IsLink ? "1\t" : "0\t";
        AppendVisibleText(text, item->Name, true);
        text += '\t';
        for (const std::int64_t value :
             {item->Size, std::int64_t{item->Year}, std::int64_t{item->Month},
              std::int64_t{item->Day}, std::int64_t{item->Hour}, std::int64_t{item->Minute}}) {
            number(value);
        }
        AppendVisibleText(text, item->Permission, true);
        text += '\t';
        AppendVisibleText(text, item->LinkTo, true);
        text += '\n';
    }
    text += items.HasLinks ? "HasLinks\t1\n" : "HasLinks\t0\n";
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace qx::cli
