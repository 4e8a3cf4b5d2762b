// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FtpFeatures.h"

#include "base/AsciiText.h"
#include "engine/FtpReplies.h"

#include <algorithm>
#include <utility>

namespace qx {

namespace {

// The features a line names without parameters that matter.
constexpr std::pair<std::string_view, bool TFtpFeatures::*> kPlainFeatures[] = {
    {"UTF8", &TFtpFeatures::Utf8}, {"EPSV", &TFtpFeatures::Epsv}, {"EPRT", &TFtpFeatures::Eprt},
    {"PBSZ", &TFtpFeatures::Pbsz}, {"PROT", &TFtpFeatures::Prot}, {"CPSV", &TFtpFeatures::Cpsv},
    {"SSCN", &TFtpFeatures::Sscn}, {"SIZE", &TFtpFeatures::Size}, {"MDTM", &TFtpFeatures::Mdtm},
    {"MFMT", &TFtpFeatures::Mfmt}};

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
        } else if (name == "AUTH") {
            const std::string mechanisms = AsciiUpperCase(parameters);
            features.AuthTls = mechanisms.find("TLS") != std::string::npos;
        } else if (name == "REST") {
            features.RestStream = AsciiEqualNoCase(parameters, "STREAM");
        }
        for (const auto& [plain, flag] : kPlainFeatures) {
            if (name == plain) {
                features.*flag = true;
            }
        }
    }
    return features;
}

} // namespace qx
