// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace qx {

// The node images of the site book: the shared shell icons when the program installed them,
// else the icon theme with the style's pictures as the fallback. A folder's icon shows an open
// folder while it is selected.
QIcon SiteBookRootIcon();
QIcon SiteBookFolderIcon();
QIcon SiteBookSiteIcon();

} // namespace qx
