// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SiteBookTreeView.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace qx {

namespace {

// Draws the drop target as selected and, while there is one, the selection as not selected.
class TDropTargetDelegate final : public QStyledItemDelegate {
public:
    explicit TDropTargetDelegate(TSiteBookTreeView& view)
        : QStyledItemDelegate(&view), m_view(view) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QModelIndex target = m_view.DropTarget();
        if (!target.isValid()) {
            return;
        }
        if (index == target) {
            option->state |= QStyle::State_Selected;
        } else {
            option->state &= ~QStyle::State_Selected;
        }
    }

private:
    TSiteBookTreeView& m_view;
};

} // namespace

TSiteBookTreeView::TSiteBookTreeView(QWidget* parent) : QTreeView(parent) {
    setItemDelegate(new TDropTargetDelegate(*this));
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setUniformRowHeights(true);
}

void TSiteBookTreeView::SetDropTarget(const QModelIndex& index) {
    if (m_dropTarget == index) {
        return;
    }
    m_dropTarget = index;
    viewport()->update();
}

bool TSiteBookTreeView::EditLabel(const QModelIndex& index) {
    if (!index.isValid()) {
        return false;
    }
    scrollTo(index);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

void TSiteBookTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    SetDropTarget(at.isValid() && at != currentIndex() ? at : QModelIndex());
    event->accept();
}

void TSiteBookTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        Q_EMIT NodeDoubleClicked(at, event->modifiers());
    }
}

} // namespace qx
