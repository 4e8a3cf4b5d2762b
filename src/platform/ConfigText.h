// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigTree.h"

#include <cstddef>
#include <string>
#include <string_view>

// The settings file, one section per key in depth-first order (so subkeys come back in the
// order they were created), each holding that key's values in their order:
//
//   [\Software\Quorvin Explorer\SiteBook\Tree\Work]
//   @=string:"Folder"
//   "Port"=number:21
//   "Blob"=binary:0a1bff
//
// "@" is the default value. Quoted texts escape \" \\ \n \r \t, and \xHH for other control
// characters and for bytes that are not part of valid UTF-8; key names in a section header
// escape "%", control characters and such bytes as %HH ("\" cannot occur in a key name). The
// file itself is therefore always valid UTF-8, and any byte string comes back as it was.

namespace qx {

// The whole tree as the text of a settings file.
std::string ConfigText(const TConfigKey& root);

struct TConfigParseError {
    std::size_t Line;
    std::string Problem;
};

// The tree of a settings file's text; throws TConfigParseError at the first line that breaks
// the format.
TConfigKey ParseConfigText(std::string_view text);

} // namespace qx
