#pragma once

#include "engine/FTPListItem.h"

#include <string>
#include <string_view>

namespace qx {

class TShellIcons;

struct TListDecodeContext {
    // Icons and type names of the entries; the shared instance when null.
    const TShellIcons* Icons = nullptr;
    // The year of entries listed with a time instead of a year.
    int CurrentYear = 0;
};

// Decodes the raw LIST output in the file into the list (appending) and deletes the file, using
// the shared shell icons, the current local year and the process's LC_TIME for the date and time
// texts. Returns false, leaving the list unchanged and the file in place, when the file cannot
// be opened or read.
bool DecodeListFile(const std::string& fileName, TFTPListItems& list);

// Decodes raw LIST output into the list (appending). Lines end at CR, LF or CR LF; a Ctrl-Z byte
// ends the data. Lines that are neither Unix-style nor DOS-style are ignored.
void DecodeListing(std::string_view bytes, TFTPListItems& list, const TListDecodeContext& context);

} // namespace qx
