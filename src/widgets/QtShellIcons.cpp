// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/QtShellIcons.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QMimeType>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <algorithm>

namespace qx {

namespace {

// The fixed entries at the start of the list, with the icons the style offers when the theme
// has none.
struct FixedIcon {
    const char* themeName;
    QStyle::StandardPixmap fallback;
};
constexpr FixedIcon kFixed[] = {
    {"user-desktop", QStyle::SP_DesktopIcon},    // DesktopIconIndex
    {"network-server", QStyle::SP_DriveNetIcon}, // NetworkIconIndex
    {"folder", QStyle::SP_DirIcon},              // FolderIconIndex
    {"folder-open", QStyle::SP_DirOpenIcon},     // OpenFolderIconIndex
    {"text-x-generic", QStyle::SP_FileIcon},     // FileIconIndex
};

} // namespace

TQtShellIcons::TQtShellIcons() {
    for (const FixedIcon& fixed : kFixed) {
        const QString name = QString::fromLatin1(fixed.themeName);
        m_indexByName.emplace(name.toStdString(), static_cast<int>(m_names.size()));
        m_names.push_back(name);
    }
    DesktopIconIndex = 0;
    NetworkIconIndex = 1;
    FolderIconIndex = 2;
    OpenFolderIconIndex = 3;
}

int TQtShellIcons::IndexOfIconName(const QString& name) const {
    std::lock_guard lock(m_mutex);
    const std::string key = name.toStdString();
    if (const auto it = m_indexByName.find(key); it != m_indexByName.end()) {
        return it->second;
    }
    const int index = static_cast<int>(m_names.size());
    m_indexByName.emplace(key, index);
    m_names.push_back(name);
    return index;
}

int TQtShellIcons::GetIconIndex(const std::string& fileName) const {
    static const QMimeDatabase database; // thread-safe, and expensive to set up
    const QMimeType type =
        database.mimeTypeForFile(QString::fromStdString(fileName), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) {
        return FileIconIndex;
    }
    return IndexOfIconName(type.iconName());
}

std::string TQtShellIcons::GetTypeName(const std::string& fileName) const {
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QString::fromStdString(fileName), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault() || type.comment().isEmpty()) {
        return TShellIcons::GetTypeName(fileName); // ".zzq File" and the like
    }
    return type.comment().toStdString();
}

int TQtShellIcons::Count() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_names.size());
}

QIcon TQtShellIcons::Icon(int index) const {
    QString name;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= static_cast<int>(m_names.size())) {
            index = FileIconIndex;
        }
        if (index < static_cast<int>(m_icons.size()) && !m_icons[index].isNull()) {
            return m_icons[index];
        }
        name = m_names[index];
    }
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull()) {
        // The generic icon of the type ("text-x-generic" for "text-x-csrc"), then the style's.
        const QString generic = name.section(QLatin1Char('-'), 0, 0) + QStringLiteral("-x-generic");
        icon = QIcon::fromTheme(generic);
    }
    if (icon.isNull()) {
        const auto fixed = index < static_cast<int>(std::size(kFixed)) ? kFixed[index].fallback
                                                                       : QStyle::SP_FileIcon;
        icon = QApplication::style()->standardIcon(fixed);
    }
    std::lock_guard lock(m_mutex);
    if (m_icons.size() <= static_cast<std::size_t>(index)) {
        m_icons.resize(static_cast<std::size_t>(index) + 1);
    }
    m_icons[index] = icon;
    return icon;
}

QIcon TQtShellIcons::LinkIcon(int index) const {
    if (index >= 0 && index < static_cast<int>(m_linkIcons.size()) &&
        !m_linkIcons[static_cast<std::size_t>(index)].isNull()) {
        return m_linkIcons[static_cast<std::size_t>(index)];
    }
    const QIcon base = Icon(index);
    QIcon overlay = QIcon::fromTheme(QStringLiteral("emblem-symbolic-link"));
    QIcon linked;
    for (const int size : {16, 22, 32, 48}) {
        QPixmap pixmap = base.pixmap(size, size);
        QPainter painter(&pixmap);
        const int mark = std::max(8, size / 2);
        const QRect corner(0, size - mark, mark, mark);
        if (!overlay.isNull()) {
            overlay.paint(&painter, corner);
        } else {
            // A small white arrow on a dark square, as file managers draw links.
            painter.fillRect(corner, QColor(40, 40, 40, 210));
            painter.setPen(QPen(Qt::white, std::max(1, size / 16)));
            painter.drawLine(corner.left() + 2, corner.bottom() - 2, corner.right() - 2,
                             corner.top() + 2);
            painter.drawLine(corner.right() - 2, corner.top() + 2, corner.right() - 2,
                             corner.top() + mark / 2);
            painter.drawLine(corner.right() - 2, corner.top() + 2, corner.right() - mark / 2,
                             corner.top() + 2);
        }
        painter.end();
        linked.addPixmap(pixmap);
    }
    if (index >= 0) {
        if (m_linkIcons.size() <= static_cast<std::size_t>(index)) {
            m_linkIcons.resize(static_cast<std::size_t>(index) + 1);
        }
        m_linkIcons[static_cast<std::size_t>(index)] = linked;
    }
    return linked;
}

const TQtShellIcons* QtShellIcons() {
    return dynamic_cast<const TQtShellIcons*>(&SharedShellIcons());
}

} // namespace qx
