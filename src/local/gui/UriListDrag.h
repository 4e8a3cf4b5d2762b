// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QModelIndexList>
#include <QStringList>

#include <string>
#include <vector>

class QMimeData;

namespace qx {

// What the local views drag: a text/uri-list of local paths.
QStringList UriListMimeTypes();
// The drag's data for the paths, written byte for byte (QUrl would lose a name that is not
// valid UTF-8). The caller (the drag) takes it over.
QMimeData* UriListMimeData(const std::vector<std::string>& paths);

// A model of the local explorer whose items are dragged as that list, to be copied; the model
// gives each item's path.
template <class Model> class TUriListDragModel : public Model {
public:
    using Model::Model;

    QStringList mimeTypes() const override { return UriListMimeTypes(); }
    QMimeData* mimeData(const QModelIndexList& indexes) const override {
        std::vector<std::string> paths;
        for (const QModelIndex& index : indexes) {
            if (index.isValid() && index.column() == 0) {
                paths.push_back(DragPath(index));
            }
        }
        return UriListMimeData(paths);
    }
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

protected:
    // The item's path as the file system has its bytes.
    virtual std::string DragPath(const QModelIndex& index) const = 0;
};

} // namespace qx
