// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"

#include <memory>
#include <string>
#include <string_view>

namespace qx {

class TNameCharset;
class TShellIcons;
struct TMlsdEntry;

// LIST output (Unix and DOS styles), or the facts of an MLSD listing.
enum class TListingFormat : unsigned char { List, Mlsd };

struct TListDecodeContext {
    // Icons and type names of the entries; the shared instance when null.
    const TShellIcons* Icons = nullptr;
    // The year of entries listed with a time instead of a year.
    int CurrentYear = 0;
    TListingFormat Format = TListingFormat::List;
    // How far the server's LIST clock runs ahead of UTC, in minutes: the date and time texts of
    // LIST entries known to the minute show the listed time moved back by it, which is UTC
    // (engine/FTPListItem.h, EntryUtcTime). The entries' fields keep the time as listed.
    int TimeZoneOffsetMinutes = 0;
};

// No listing line is longer than this in any real listing; a longer one is skipped, and no more
// than this much of a line is ever held in memory.
inline constexpr std::size_t kMaxListingLine = 64 * 1024;

// What a decoding left out that the user should hear of.
struct TListDecodeReport {
    std::size_t SkippedLongLines = 0;
};

// Decodes the raw LIST output in the file into the list (appending) and deletes the file, using
// the shared shell icons, the current local year and the process's LC_TIME for the date and time
// texts. The file is read piece by piece, so a listing of any size needs little memory. Returns
// false, leaving the list unchanged and the file in place, when the file cannot be opened or
// read.
bool DecodeListFile(const std::string& fileName, TFTPListItems& list,
                    TListDecodeReport* report = nullptr);

// Decodes a listing as it arrives, piece after piece (a line may span pieces), into the list
// (appending), with the shared shell icons, the current local year and the process's LC_TIME.
class TListDecodeStream {
public:
    explicit TListDecodeStream(TFTPListItems& list, TListingFormat format = TListingFormat::List,
                               int timeZoneOffsetMinutes = 0);
    ~TListDecodeStream();
    TListDecodeStream(const TListDecodeStream&) = delete;
    TListDecodeStream& operator=(const TListDecodeStream&) = delete;

    // Lines are converted from the set to UTF-8 before they are decoded (null: taken as they
    // are). The caller keeps the converter alive while it feeds.
    void ConvertNames(TNameCharset* charset);
    void Feed(std::string_view piece);
    // Adds one entry that was decoded already (from SFTP's attributes) as MLSD's entries are
    // added: the folder itself and its parent, empty names and kinds other than file, folder
    // and link are left out.
    void AddEntry(const TMlsdEntry& entry);
    // After the last piece: decodes a last line without its line end.
    void Finish(TListDecodeReport* report = nullptr);

private:
    class TDecoder;
    std::unique_ptr<TDecoder> m_decoder;
};

// Decodes raw LIST output into the list (appending). Lines end at CR, LF or CR LF; a Ctrl-Z byte
// ends the data. Lines that are neither Unix-style nor DOS-style are ignored, and lines longer
// than kMaxListingLine are skipped. In the MLSD format each line is an entry with its facts:
// exact sizes, times in UTC shown in local time, the kind from the type fact (the folder itself
// and its parent left out), permissions from unix.mode where given.
void DecodeListing(std::string_view bytes, TFTPListItems& list, const TListDecodeContext& context,
                   TListDecodeReport* report = nullptr);

} // namespace qx
