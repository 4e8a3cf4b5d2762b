// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/FolderComparison.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <string>
#include <unordered_map>
#include <vector>

namespace qx {

// Which explorer shows a mark: "here" is its own side, "there" the other one.
enum class TCompareSide : std::uint8_t { Local, Remote };

// What an explorer's rows show of a comparison: a mark for each name of its folder, as seen
// from its side ("newer here" in the local explorer is "newer there" in the remote one).
class TCompareMarks {
public:
    TCompareMarks() = default;
    TCompareMarks(const std::vector<TComparePair>& pairs, TCompareSide side);

    // The mark of a name of this side's folder; nothing for a name the comparison did not see.
    const TCompareMark* Find(const std::string& name) const;
    bool Empty() const { return m_marks.empty(); }
    // Whether a row with this mark is shown while only the differences are.
    static bool Differs(TCompareMark mark) { return mark != TCompareMark::Same; }

private:
    std::unordered_map<std::string, TCompareMark> m_marks;
};

// The mark as the side reads it: "only here", "newer there", ...
QString CompareMarkText(TCompareMark mark, TCompareSide side);
// A light tint for the row's background.
QColor CompareMarkColour(TCompareMark mark, TCompareSide side);
// The icon with the mark's badge in its lower right corner: a shape of its own for each mark,
// so that the marks read without colour too.
QIcon MarkedIcon(const QIcon& icon, TCompareMark mark, TCompareSide side);

// The legend of the marks: each badge and tint with its text.
class TCompareLegend final : public QWidget {
    Q_OBJECT
public:
    TCompareLegend(TCompareSide side, QWidget* parent = nullptr);
};

} // namespace qx
