// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/RemoteFind.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qx {

class TLocaleTextCompare;

// What the fields of the Find Files window hold, as the user typed it.
struct TFindFields {
    std::string Masks; // the program's masks; blank: every name
    bool Subfolders = true;
    int MaxDepth = kMaxRecursionDepth;
    std::string LargerThan; // a byte count such as "500K"; blank: no limit
    std::string SmallerThan;
    std::optional<std::int64_t> NewerThan; // UTC seconds
    std::optional<std::int64_t> OlderThan;
    int TimeZoneOffset = 0; // of the session's server, minutes
};

// Why the fields make no search.
enum class TFindFieldProblem : std::uint8_t {
    None,
    BadMasks,
    BadLargerThan,
    BadSmallerThan,
    NoSizeBetween, // nothing is larger than the one and smaller than the other
    NoTimeBetween,
};

struct TFindFieldsResult {
    TFindCriteria Criteria;
    TFindFieldProblem Problem = TFindFieldProblem::None;
    std::string MaskError; // what is wrong with the masks
};

TFindFieldsResult FindCriteriaOf(const TFindFields& fields);

// The columns of a list of found entries.
enum class TFoundColumn : std::uint8_t { Name, Folder, Size, Modified };

// Negative, zero or positive as a sorts before, with or after b by the column: names and
// folders as the user's locale sorts them, sizes with folders first, times with entries without
// one first; ties by path.
int CompareFound(const TFoundEntry& a, const TFoundEntry& b, TFoundColumn column,
                 const TLocaleTextCompare& compare);

// The folder of a found entry's path ("/" for an entry at the top) and its name.
std::string FoundFolder(const TFoundEntry& entry);

} // namespace qx
