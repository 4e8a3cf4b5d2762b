// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FileListViews.h"

#include <QApplication>
#include <QFontMetrics>
#include <QListView>
#include <QPalette>
#include <QStyle>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace qx {

namespace {

// The items of the small icon and list styles are as wide as the widest name, within these.
constexpr int kMaxNameWidth = 400;
constexpr int kMinNameChars = 8;
// The large icon style wraps names to two lines of about this many characters.
constexpr int kLargeIconChars = 13;
// How many of the longest names are measured.
constexpr std::size_t kMeasuredNames = 256;

// The size of an item of the view showing a text of that width on one line.
QSize ItemSizeFor(const QListView& view, int textWidth, bool iconAbove) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.state |= QStyle::State_Enabled;
    option.font = view.font();
    option.fontMetrics = QFontMetrics(option.font);
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = view.iconSize();
    option.decorationPosition = iconAbove ? QStyleOptionViewItem::Top : QStyleOptionViewItem::Left;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.text = QStringLiteral("M");
    const QStyle* style = view.style() != nullptr ? view.style() : QApplication::style();
    const QSize one = style->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view);
    const int margins = one.width() - option.fontMetrics.horizontalAdvance(option.text);
    return {margins + textWidth, one.height()};
}

} // namespace

TFileItemDelegate::TFileItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize TFileItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    return m_itemSize.isValid() ? m_itemSize : QStyledItemDelegate::sizeHint(option, index);
}

void TFileItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_marked && m_marked(index)) {
        option->state |= QStyle::State_Selected;
    }
    if (m_cut && m_cut(index)) {
        // Drawn as the disabled item of the style: a faded icon and a grey name.
        option->state &= ~QStyle::State_Enabled;
    }
}

void EnableDragAndDrop(QAbstractItemView& view) {
    view.setDragEnabled(true);
    view.setAcceptDrops(true);
    view.viewport()->setAcceptDrops(true);
    view.setDragDropMode(QAbstractItemView::DragDrop);
    view.setDefaultDropAction(Qt::CopyAction);
}

QVariant DropTargetBackground(bool target) {
    return target ? QVariant(QApplication::palette().brush(QPalette::Inactive, QPalette::Highlight))
                  : QVariant();
}

QVariant BoldFontWhen(bool bold) {
    if (!bold) {
        return {};
    }
    QFont font;
    font.setBold(true);
    return font;
}

void SetupFileListView(QAbstractItemView& view) {
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    EnableDragAndDrop(view);
}

void ApplyIconViewStyle(QListView& view, int style, int widestName) {
    auto* delegate = qobject_cast<TFileItemDelegate*>(view.itemDelegate());
    if (delegate == nullptr) {
        delegate = new TFileItemDelegate(&view);
        view.setItemDelegate(delegate);
    }
    const bool large = style == vsIcon;
    view.setViewMode(large ? QListView::IconMode : QListView::ListMode);
    view.setFlow(style == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    view.setWrapping(true);
    view.setWordWrap(large);
    view.setTextElideMode(Qt::ElideRight);
    view.setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    view.setMovement(QListView::Static);
    view.setResizeMode(QListView::Adjust);
    view.setUniformItemSizes(true);
    view.setSpacing(0);

    const QFontMetrics metrics(view.font());
    QSize item;
    if (large) {
        // Two lines under the icon.
        item = ItemSizeFor(view, kLargeIconChars * metrics.averageCharWidth(), true);
        item.rheight() += metrics.lineSpacing();
        item += QSize(8, 4);
    } else {
        const int text =
            std::clamp(widestName, kMinNameChars * metrics.averageCharWidth(), kMaxNameWidth);
        item = ItemSizeFor(view, text, false);
        item += QSize(6, 0);
    }
    delegate->SetItemSize(item);
    view.setGridSize(item);
    // Setting the view mode and the movement switched dragging and dropping off.
    EnableDragAndDrop(view);
}

int WidestNameWidth(const QFont& font, std::size_t count,
                    const std::function<std::string_view(std::size_t)>& name) {
    // The widest name is nearly always among the longest ones: only those are measured.
    std::vector<std::pair<std::size_t, std::size_t>> lengths; // length, index
    lengths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        lengths.emplace_back(name(i).size(), i);
    }
    if (lengths.size() > kMeasuredNames) {
        std::nth_element(lengths.begin(), lengths.begin() + kMeasuredNames, lengths.end(),
                         std::greater<>());
        lengths.resize(kMeasuredNames);
    }
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const auto& [length, index] : lengths) {
        const std::string_view text = name(index);
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(
                                      text.data(), static_cast<qsizetype>(text.size()))));
    }
    return widest;
}

} // namespace qx
