// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FtpFeatures.h"

#include "base/AsciiText.h"
#include "engine/FtpReplies.h"

#include <algorithm>

namespace qx {

namespace {

// The feature's name (its first word, upper case) and its parameters.
std::pair<std::string, std::string_view> Split(std::string_view line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) {
        return {AsciiUpperCase(line), {}};
    }
    std::string_view rest = line.substr(blank + 1);
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    return {AsciiUpperCase(line.substr(0, blank)), rest};
}

void ReadMlstFacts(std::string_view facts, std::vector<std::string>& out) {
    while (!facts.empty()) {
        const std::size_t end = facts.find(';');
        std::string_view fact = facts.substr(0, end);
        facts = end == std::string_view::npos ? std::string_view() : facts.substr(end + 1);
        if (!fact.empty() && fact.back() == '*') {
            fact.remove_suffix(1);
        }
        if (!fact.empty()) {
            out.emplace_back(fact);
        }
    }
}

} // namespace

bool TFtpFeatures::HasMlstFact(std::string_view fact) const {
    return std::any_of(MlstFacts.begin(), MlstFacts.end(),
                       [&](const std::string& offered) { return AsciiEqualNoCase(offered, fact); });
}

TFtpFeatures ParseFeatReply(const std::vector<std::string>& lines) {
    TFtpFeatures features;
    if (lines.empty() || ReplyCode(lines.back()) != 211) {
        return features;
    }
    features.Answered = true;
    // Feature lines start with a blank; the first and the last line are the reply's frame.
    for (std::size_t index = 1; index + 1 < lines.size(); ++index) {
        std::string_view line = lines[index];
        if (line.empty() || line.front() != ' ') {
            continue;
        }
        while (!line.empty() && line.front() == ' ') {
            line.remove_prefix(1);
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        features.Lines.emplace_back(line);
        const auto [name, parameters] = Split(line);
        if (name == "MLST") {
            features.Mlsd = true;
            ReadMlstFacts(parameters, features.MlstFacts);
        } else if (name == "UTF8") {
            features.Utf8 = true;
        } else if (name == "EPSV") {
            features.Epsv = true;
        } else if (name == "EPRT") {
            features.Eprt = true;
        } else if (name == "AUTH") {
            const std::string mechanisms = AsciiUpperCase(parameters);
            features.AuthTls = mechanisms.find("TLS") != std::string::npos;
        } else if (name == "PBSZ") {
            features.Pbsz = true;
        } else if (name == "PROT") {
            features.Prot = true;
        } else if (name == "CPSV") {
            features.Cpsv = true;
        } else if (name == "SSCN") {
            features.Sscn = true;
        } else if (name == "REST") {
            features.RestStream = AsciiEqualNoCase(parameters, "STREAM");
        } else if (name == "SIZE") {
            features.Size = true;
        } else if (name == "MDTM") {
            features.Mdtm = true;
        } else if (name == "MFMT") {
            features.Mfmt = true;
        }
    }
    return features;
}

} // namespace qx
