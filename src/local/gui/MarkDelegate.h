#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

#include <functional>

namespace qx {

// Draws the item a command or a drop is about to work on (a right-clicked or dragged-over node
// that is not the selected one) as if it were selected.
class TMarkDelegate final : public QStyledItemDelegate {
public:
    TMarkDelegate(std::function<QModelIndex()> mark, QObject* parent)
        : QStyledItemDelegate(parent), m_mark(std::move(mark)) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QModelIndex mark = m_mark();
        if (mark.isValid() && mark.row() == index.row() && mark.parent() == index.parent()) {
            option->state |= QStyle::State_Selected;
        }
    }

private:
    std::function<QModelIndex()> m_mark;
};

} // namespace qx
