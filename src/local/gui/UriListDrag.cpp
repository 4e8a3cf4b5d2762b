// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/UriListDrag.h"

#include "local/LocalUriList.h"

#include <QMimeData>

namespace qx {

QStringList UriListMimeTypes() {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* UriListMimeData(const std::vector<std::string>& paths) {
    auto* mime = new QMimeData; // the drag takes it over
    mime->setData(QStringLiteral("text/uri-list"), QByteArray::fromStdString(MakeUriList(paths)));
    return mime;
}

} // namespace qx
