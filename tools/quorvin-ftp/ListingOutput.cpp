#include "ListingOutput.h"

#include "VisibleText.h"

namespace qx::cli {

std::string EscapeField(std::string_view text) {
    return VisibleText(text, true);
}

void PrintListing(const TFTPListItems& items, std::ostream& out) {
    for (const auto& item : items) {
        out << (item->IsFile ? 1 : 0) << '\t' << (item->IsLink ? 1 : 0) << '\t'
            << EscapeField(item->Name) << '\t' << item->Size << '\t' << item->Year << '\t'
            << item->Month << '\t' << item->Day << '\t' << item->Hour << '\t' << item->Minute
            << '\t' << EscapeField(item->Permission) << '\t' << EscapeField(item->LinkTo) << '\n';
    }
    out << "HasLinks\t" << (items.HasLinks ? 1 : 0) << '\n';
}

} // namespace qx::cli
