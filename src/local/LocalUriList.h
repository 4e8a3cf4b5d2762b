// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Local paths in file URIs, byte for byte: every byte outside the unreserved characters and "/"
// is percent-encoded, so a name that is not valid UTF-8 travels intact (text/uri-list, the
// trash's info files, the desktop's "open").

// "%E9" for the byte 0xE9; "/" and the unreserved characters stay.
std::string PercentEncodePath(std::string_view bytes);

// "file:///..." for an absolute local path.
std::string FileUriOf(std::string_view path);
// The local path of "file:///path" or "file://localhost/path"; none for another scheme, another
// host, a bad escape or a path with a NUL byte.
std::optional<std::string> PathOfFileUri(std::string_view uri);

// A text/uri-list of the paths (lines ended by CR LF).
std::string MakeUriList(const std::vector<std::string>& paths);
// The local paths of a text/uri-list, in order (comments, blank lines and other URIs skipped).
std::vector<std::string> ParseUriList(std::string_view text);

} // namespace qx
