// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

// What a server says it can do in its answer to FEAT (RFC 2389): one feature a line between
// "211-" and the final "211" line, each line starting with a blank.
struct TFtpFeatures {
    bool Answered = false;              // the server answered FEAT with 211
    bool Mlsd = false;                  // MLST offered (and so MLSD)
    std::vector<std::string> MlstFacts; // the facts MLST lists, without the "*" of active ones
    bool Utf8 = false;
    bool Epsv = false;
    bool Eprt = false;
    bool AuthTls = false; // AUTH with TLS among its mechanisms
    bool Pbsz = false;
    bool Prot = false;
    bool Cpsv = false;
    bool Sscn = false;
    bool RestStream = false;
    bool Size = false;
    bool Mdtm = false;
    bool Mfmt = false;              // MFMT sets a file's modification time
    std::vector<std::string> Lines; // every feature line as sent, without its leading blank

    bool HasMlstFact(std::string_view fact) const;
};

// Reads the lines of a FEAT reply (each without its line end, the first "211-...", the last
// "211 ..."). A reply with another code gives a result with Answered false and nothing offered.
TFtpFeatures ParseFeatReply(const std::vector<std::string>& lines);

} // namespace qx
