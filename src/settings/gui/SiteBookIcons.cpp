// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/gui/SiteBookIcons.h"

#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QStyle>

namespace qx {

namespace {

QIcon ShellIcon(int TShellIcons::*index, const char* themeName, QStyle::StandardPixmap fallback) {
    if (const TQtShellIcons* icons = QtShellIcons()) {
        return icons->Icon(icons->*index);
    }
    return QIcon::fromTheme(QLatin1String(themeName),
                            QApplication::style()->standardIcon(fallback));
}

} // namespace

QIcon SiteBookRootIcon() {
    return ShellIcon(&TShellIcons::DesktopIconIndex, "user-desktop", QStyle::SP_DesktopIcon);
}

QIcon SiteBookSiteIcon() {
    return ShellIcon(&TShellIcons::NetworkIconIndex, "network-server", QStyle::SP_DriveNetIcon);
}

QIcon SiteBookFolderIcon() {
    const QIcon closed = ShellIcon(&TShellIcons::FolderIconIndex, "folder", QStyle::SP_DirIcon);
    const QIcon open =
        ShellIcon(&TShellIcons::OpenFolderIconIndex, "folder-open", QStyle::SP_DirOpenIcon);
    QIcon icon;
    for (const int size : {16, 22, 24, 32}) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}

} // namespace qx
