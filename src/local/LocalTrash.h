// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>

namespace qx {

// Where the desktop's trash is, for this user.
struct TTrashPlaces {
    std::string DataHome; // $XDG_DATA_HOME, else $HOME/.local/share
    unsigned Uid = 0;
};

// Moves a file or folder into the desktop's trash as the freedesktop.org trash does it, on the
// path's bytes (any name the file system holds): the home trash (DataHome/Trash) when the path
// is on the same file system, else the trash at the top of its volume (".Trash/<uid>" when the
// administrator made a sticky ".Trash" there, else ".Trash-<uid>"). The info file holds the
// percent-encoded original path and the time of deletion; the item's name in the trash is made
// unique. False with the reason in error; nothing is removed then.
bool MoveToTrash(const std::string& path, const TTrashPlaces& places, std::string& error,
                 std::time_t now = std::time(nullptr));

} // namespace qx
