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
    const QMimeType mime = m_mimes.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(
        mime.iconName(), QIcon::fromTheme(mime.genericIconName(), QFileIconProvider::icon(File)));
}

QString TLocalIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) {
        return info.isRoot() ? QStringLiteral("Drive") : QStringLiteral("Folder");
    }
    if (IsSpecial(info)) {
        return QStringLiteral("System File");
    }
    return m_mimes.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension).comment();
}

} // namespace qx
