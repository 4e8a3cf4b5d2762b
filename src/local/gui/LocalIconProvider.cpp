// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/LocalIconProvider.h"

#include <QFileInfo>

namespace qx {

namespace {
bool IsSpecial(const QFileInfo& info) {
    return !info.isDir() && !info.isFile();
}
} // namespace

QIcon TLocalIconProvider::icon(const QFileInfo& info) const {
    if (info.isDir()) {
        return QFileIconProvider::icon(info.isRoot() ? Drive : Folder);
    }
    if (IsSpecial(info)) {
        return QFileIconProvider::icon(File);
    }
    return IconForName(info.fileName());
}

QIcon TLocalIconProvider::IconForName(const QString& name) const {
    const QMimeType mime = m_mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(
        mime.iconName(), QIcon::fromTheme(mime.genericIconName(), QFileIconProvider::icon(File)));
}

QString TLocalIconProvider::TypeForName(const QString& name) const {
    return m_mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension).comment();
}

QString TLocalIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) {
        return info.isRoot() ? tr("Drive") : tr("Folder");
    }
    if (IsSpecial(info)) {
        return tr("System File");
    }
    return TypeForName(info.fileName());
}

} // namespace qx
