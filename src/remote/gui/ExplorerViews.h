#pragma once

#include <QListView>
#include <QTreeView>

#include <functional>

namespace qx {

// An item view whose drags the explorer makes itself: the view arms the drag and measures the
// distance, the explorer builds the data and runs it.
template <class View> class TDragSourceView final : public View {
public:
    using View::View;
    std::function<void()> OnStartDrag;

protected:
    void startDrag(Qt::DropActions) override {
        if (OnStartDrag) {
            OnStartDrag();
        }
    }
};

using TExplorerTreeView = TDragSourceView<QTreeView>;
using TExplorerIconView = TDragSourceView<QListView>;

} // namespace qx
