// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

} // namespace qx
