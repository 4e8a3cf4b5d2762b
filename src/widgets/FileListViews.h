// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QStyledItemDelegate>
#include <QVariant>

#include <cstddef>
#include <functional>
#include <string_view>

class QAbstractItemView;
class QFont;
class QListView;

namespace qx {

// How the explorers draw the items of their file lists and folder trees: the usual way, and an
// item the window marks (the target of a command or a drop) as if it were selected, and an item
// that was cut faded until it is pasted. In the icon and list styles all items take the one
// size the style gives them.
class TFileItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Test = std::function<bool(const QModelIndex&)>;
    explicit TFileItemDelegate(QObject* parent);

    void SetMarked(Test marked) { m_marked = std::move(marked); }
    void SetCut(Test cut) { m_cut = std::move(cut); }
    // The size of every item; an invalid size: each item its own.
    void SetItemSize(QSize size) { m_itemSize = size; }
    QSize ItemSize() const { return m_itemSize; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    Test m_marked;
    Test m_cut;
    QSize m_itemSize;
};

// What a model of an explorer gives for an item's background (Qt::BackgroundRole): the target
// of a drop shows as selected in an inactive window; other items, nothing.
QVariant DropTargetBackground(bool target);
// What it gives for an item's font (Qt::FontRole): bold, or nothing for the usual font.
QVariant BoldFontWhen(bool bold);

// Items are dragged out of the view and dropped on it, the window deciding what a drop does.
void EnableDragAndDrop(QAbstractItemView& view);

// What both views of an explorer's file list (the details view and the view of the other
// styles, over the same rows and selection) share: several whole rows are selected at a time
// (the commands count rows), names are edited only on command, and items are dragged and
// dropped.
void SetupFileListView(QAbstractItemView& view);

// The view styles of an explorer's file list, numbered as the settings keep them: the first
// three are styles of the icon view, details is the other view.
enum TViewStyle : int { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };
constexpr int kViewStyleCount = 4;

// Puts the icon view of a file list in a style. Every item has one size, made from the font
// and, in the small icon and list styles, from the width of the widest name within reason, so
// that names show whole and a folder of 100,000 entries lays out at once. Changing the style
// of a list view resets its drag and drop, so they are set again here; call it again when
// the names change.
void ApplyIconViewStyle(QListView& view, int style, int widestName);

// The width of the widest of count names, as the font draws them; name(i) gives the bytes of
// name i (UTF-8). Only the longest names are measured, so that a big folder costs little.
int WidestNameWidth(const QFont& font, std::size_t count,
                    const std::function<std::string_view(std::size_t)>& name);

} // namespace qx
