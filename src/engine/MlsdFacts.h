// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qx {

// One line of a machine listing (MLSD, or the entry line of MLST): "fact=value;...; name".
// Views point into the line.
struct TMlsdEntry {
    enum class TKind : std::uint8_t { File, Folder, ThisFolder, ParentFolder, Link, Other };
    TKind Kind = TKind::Other;
    std::string_view Name;
    std::string_view LinkTo;                 // the target of "OS.unix=slink:target", when given
    std::int64_t Size = -1;                  // "size" (or "sizd"), -1 when absent or not a number
    std::optional<std::int64_t> ModifiedUtc; // "modify", seconds since 1970 in UTC
    std::optional<std::uint32_t> UnixMode;   // "unix.mode", octal
};

// Reads the facts of a line; false when it holds no name. Fact names are compared without
// regard to case, unknown facts are ignored, and a fact with a malformed value counts as absent.
bool ParseMlsdLine(std::string_view line, TMlsdEntry& entry);

// A time value of the extensions (MLSD's modify fact, the 213 reply of MDTM):
// "YYYYMMDDHHMMSS" with an optional fraction, in UTC; seconds since 1970.
std::optional<std::int64_t> ParseFtpTimeVal(std::string_view text);

// "rwxr-xr-x" of the permission bits of a mode (the set-id and sticky bits shown as s, S, t, T
// in the execute places, as ls does).
void ModePermissionText(std::uint32_t mode, char (&text)[9]);

} // namespace qx
