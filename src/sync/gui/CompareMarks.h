// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/FolderComparison.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
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

// What the rows of a file list show of a comparison, for one side: the badge on the icon, the
// tint behind the row and the mark's text. The badged icons are made once for each kind of
// icon and mark, so that scrolling a long list draws no badge twice.
class TCompareRowLook {
public:
    explicit TCompareRowLook(TCompareSide side) : m_side(side) {}

    // Nothing: no comparison. Shared, so that a worker may filter by a copy of the pointer.
    void SetMarks(std::shared_ptr<const TCompareMarks> marks) { m_marks = std::move(marks); }
    const std::shared_ptr<const TCompareMarks>& Marks() const { return m_marks; }
    const TCompareMark* Find(const std::string& name) const;

    // The icon with the badge of the name's mark; iconKind tells icons apart for the cache.
    QIcon Icon(const std::string& name, const std::string& iconKind,
               const std::function<QIcon()>& icon) const;
    // The tint and a dark text on it; nothing without a mark or tint.
    QVariant Background(const std::string& name) const;
    QVariant Foreground(const std::string& name) const;
    QVariant ToolTip(const std::string& name) const;

private:
    TCompareSide m_side;
    std::shared_ptr<const TCompareMarks> m_marks;
    mutable std::map<std::pair<std::string, TCompareMark>, QIcon> m_icons;
};

// Whether a row of this name is shown while only the differences are: a name the comparison
// did not see is no difference it found.
bool ShownWithOnlyDifferences(const TCompareMarks& marks, const std::string& name);

// The legend of the marks: each badge and tint with its text.
class TCompareLegend final : public QWidget {
    Q_OBJECT
public:
    TCompareLegend(TCompareSide side, QWidget* parent = nullptr);
};

} // namespace qx
