// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncEntry.h"

namespace qx {

std::int64_t PrecisionSpan(TTimePrecision precision) {
    switch (precision) {
    case TTimePrecision::Second:
        return 1;
    case TTimePrecision::Minute:
        return 60;
    case TTimePrecision::Day:
        return 86400;
    case TTimePrecision::Unknown:
        break;
    }
    return 0;
}

TTimeOrder CompareTimes(const TSyncEntry& a, const TSyncEntry& b) {
    const std::int64_t spanA = PrecisionSpan(a.Precision);
    const std::int64_t spanB = PrecisionSpan(b.Precision);
    if (!a.Time || !b.Time || spanA == 0 || spanB == 0) {
        return TTimeOrder::Unknown;
    }
    if (*a.Time + spanA <= *b.Time) {
        return TTimeOrder::Older;
    }
    if (*b.Time + spanB <= *a.Time) {
        return TTimeOrder::Newer;
    }
    return spanA == 1 && spanB == 1 ? TTimeOrder::Equal : TTimeOrder::EqualWithinPrecision;
}

} // namespace qx
