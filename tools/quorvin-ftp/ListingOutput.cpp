#include "ListingOutput.h"

namespace qx::cli {

std::string EscapeField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
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
