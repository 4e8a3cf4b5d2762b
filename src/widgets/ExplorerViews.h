// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QTreeView>

#include <functional>

namespace qx {

// An item view whose drags the explorer may make itself: the view arms the drag and measures
// the distance, the explorer builds the data and runs it. Without a handler the view drags
// what its model gives.
template <class View> class TDragSourceView final : public View {
public:
    using View::View;
    std::function<void()> OnStartDrag;

protected:
    void startDrag(Qt::DropActions actions) override {
        if (OnStartDrag) {
            OnStartDrag();
        } else {
            View::startDrag(actions);
        }
    }
};

using TExplorerTreeView = TDragSourceView<QTreeView>;
using TExplorerIconView = TDragSourceView<QListView>;

} // namespace qx
