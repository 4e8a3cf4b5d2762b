// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace qx {

enum class TLineEnd { LF, CRLF, CR };

// How a file's bytes are edited so that they come back unchanged: valid UTF-8 is edited as
// UTF-8 (its byte-order mark kept aside and written back); anything else is edited as
// single-byte text, where every byte is one character and is written back as it came. The
// text's own line ends are never converted; LineEnd is what a new line gets, the first line
// end of the file (LF for a file without one).
struct TTextEncoding {
    bool Utf8 = true;
    bool ByteOrderMark = false;
    TLineEnd LineEnd = TLineEnd::LF;

    bool operator==(const TTextEncoding&) const = default;
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsValidUtf8(std::string_view bytes);
TTextEncoding DecideEncoding(std::string_view fileBytes);
// The text the editor shows: the file without its byte-order mark.
std::string_view EditedText(std::string_view fileBytes, const TTextEncoding& encoding);
// The bytes to write for the editor's text.
std::string FileBytes(std::string_view editedText, const TTextEncoding& encoding);

} // namespace qx
