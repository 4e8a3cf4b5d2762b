// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/FindFields.h"

#include "base/LocaleTextCompare.h"
#include "base/Masks.h"
#include "base/QuantityText.h"

#include <algorithm>
#include <compare>

namespace qx {

namespace {

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

int Sign(std::strong_ordering order) {
    return std::is_lt(order) ? -1 : (std::is_gt(order) ? 1 : 0);
}

} // namespace

TFindFieldsResult FindCriteriaOf(const TFindFields& fields) {
    TFindFieldsResult result;
    TFindCriteria& criteria = result.Criteria;
    if (!Blank(fields.Masks)) {
        try {
            criteria.Names.SetMasks(fields.Masks);
        } catch (const EMaskException& error) {
            result.Problem = TFindFieldProblem::BadMasks;
            result.MaskError = error.what();
            return result;
        }
    }
    if (!Blank(fields.LargerThan)) {
        criteria.LargerThan = ParseByteCount(Trimmed(fields.LargerThan));
        if (!criteria.LargerThan) {
            result.Problem = TFindFieldProblem::BadLargerThan;
            return result;
        }
    }
    if (!Blank(fields.SmallerThan)) {
        criteria.SmallerThan = ParseByteCount(Trimmed(fields.SmallerThan));
        if (!criteria.SmallerThan) {
            result.Problem = TFindFieldProblem::BadSmallerThan;
            return result;
        }
    }
    if (criteria.LargerThan && criteria.SmallerThan &&
        *criteria.SmallerThan - *criteria.LargerThan < 2) {
        result.Problem = TFindFieldProblem::NoSizeBetween;
        return result;
    }
    criteria.NewerThan = fields.NewerThan;
    criteria.OlderThan = fields.OlderThan;
    if (criteria.NewerThan && criteria.OlderThan && *criteria.OlderThan <= *criteria.NewerThan) {
        result.Problem = TFindFieldProblem::NoTimeBetween;
        return result;
    }
    criteria.Subfolders = fields.Subfolders;
    criteria.MaxDepth = std::clamp(fields.MaxDepth, 0, kMaxRecursionDepth);
    criteria.TimeZoneOffset = fields.TimeZoneOffset;
    return result;
}

std::string FoundFolder(const TFoundEntry& entry) {
    const auto slash = entry.Path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : entry.Path.substr(0, slash);
}

int CompareFound(const TFoundEntry& a, const TFoundEntry& b, TFoundColumn column,
                 const TLocaleTextCompare& compare) {
    int order = 0;
    switch (column) {
    case TFoundColumn::Name:
        order = compare(a.Item.Name, b.Item.Name);
        break;
    case TFoundColumn::Folder:
        order = compare(FoundFolder(a), FoundFolder(b));
        break;
    case TFoundColumn::Size:
        // Folders and links (size -1) before every file.
        order = Sign(a.Item.Size <=> b.Item.Size);
        break;
    case TFoundColumn::Modified: {
        const auto timeA = EntryUtcTime(a.Item, 0);
        const auto timeB = EntryUtcTime(b.Item, 0);
        order = Sign(timeA <=> timeB); // nothing before any time
        break;
    }
    }
    return order != 0 ? order : Sign(a.Path <=> b.Path);
}

} // namespace qx
