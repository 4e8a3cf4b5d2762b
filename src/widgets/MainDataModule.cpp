// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/MainDataModule.h"

#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace qx {

namespace {

struct ImageSource {
    const char* themeName;
    const char* glyph; // the built-in picture: one or two letters on a coloured disc
    QRgb colour;
};

// By index; the theme names are those of the freedesktop icon naming specification.
constexpr ImageSource kImages[TMainDataModule::Count] = {
    {"address-book-new", "SB", 0x3465a4},
    {"network-connect", "QC", 0x4e9a06},
    {"computer", "LE", 0x555753},
    {"folder-download", "Q", 0x75507b},
    {"accessories-text-editor", "E", 0xc17d11},
    {"preferences-system", "O", 0x555753},
    {"help-contents", "?", 0x3465a4},
    {"go-home", "H", 0x4e9a06},
    {"mail-message-new", "@", 0x3465a4},
    {"network-server", "C", 0x4e9a06},
    {"folder-new", "NF", 0xc4a000},
    {"document-new", "NS", 0x3465a4},
    {"edit-delete", "X", 0xcc0000},
    {"edit-rename", "R", 0x555753},
    {"document-properties", "P", 0x555753},
    {"network-wired", "Pg", 0x4e9a06},
    {"utilities-terminal", "T", 0x2e3436},
    {"go-down", "D", 0x3465a4},
    {"document-save-as", "DT", 0x3465a4},
    {"folder-download", "DQ", 0x75507b},
    {"document-open", "Op", 0xc4a000},
    {"accessories-text-editor", "Ed", 0xc17d11},
    {"document-print", "Pr", 0x555753},
    {"go-up", "U", 0x3465a4},
    {"folder-open", "CF", 0xc4a000},
    {"dialog-password", "Pm", 0x555753},
    {"view-filter", "F", 0x555753},
    {"window-close", "X", 0x555753},
    {"edit-copy", "Cp", 0x555753},
    {"edit-paste", "Ps", 0x555753},
    {"insert-link", "URL", 0x3465a4},
    {"edit-select-all", "A", 0x555753},
    {"edit-select-invert", "I", 0x555753},
    {"view-preview", "LI", 0x555753},
    {"view-list-icons", "SI", 0x555753},
    {"view-list-text", "L", 0x555753},
    {"view-list-details", "De", 0x555753},
    {"view-sort", "Ar", 0x555753},
    {"view-sort-ascending", "Az", 0x555753},
    {"view-sort-descending", "Za", 0x555753},
    {"utilities-system-monitor", "Lg", 0x555753},
    {"view-refresh", "Rf", 0x4e9a06},
    {"dialog-information", "i", 0x3465a4},
    {"process-stop", "Ab", 0xcc0000},
    {"media-seek-forward", "Rs", 0x4e9a06},
    {"media-playback-start", "Go", 0x4e9a06},
    {"media-playback-pause", "||", 0xc4a000},
    {"view-refresh", "Re", 0x75507b},
    {"list-add", "+", 0x4e9a06},
    {"edit-clear", "Cl", 0x555753},
    {"window-minimize", "Hd", 0x555753},
    {"document-save", "S", 0x3465a4},
    {"dialog-cancel", "X", 0xcc0000},
    {"text-x-generic", "Tx", 0x555753},
    {"application-x-executable", "01", 0x555753},
    {"emblem-system", "Au", 0x555753},
    {"emblem-success", "Id", 0x4e9a06},
    {"process-working", "Bz", 0xce5c00},
    {"window-restore", "Rt", 0x555753},
    {"window-minimize", "Mn", 0x555753},
    {"window-close", "Cx", 0xcc0000},
    {"view-split-left-right", "<>", 0x3465a4},
    {"vcs-diff", "\u2260", 0xce5c00},
};

QIcon BuiltIn(const ImageSource& source) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(source.colour));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 4.0, size / 4.0);
        QFont font;
        const QString glyph = QString::fromUtf8(source.glyph);
        font.setPixelSize(glyph.size() > 1 ? size * 2 / 5 : size * 3 / 5);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

void TMainDataModule::ChooseIconThemes() {
    for (const char* candidate : {"breeze", "Adwaita"}) {
        const QString name = QString::fromLatin1(candidate);
        bool installed = false;
        for (const QString& folder : QIcon::themeSearchPaths()) {
            installed = installed || QFileInfo::exists(folder + QLatin1Char('/') + name +
                                                       QStringLiteral("/index.theme"));
        }
        if (!installed) {
            continue;
        }
        const QString current = QIcon::themeName();
        if (current.isEmpty() || current == QLatin1String("hicolor")) {
            QIcon::setThemeName(name); // no desktop theme at all (a bare X server)
        } else {
            QIcon::setFallbackThemeName(name);
        }
        return;
    }
}

QIcon TMainDataModule::ActionIcon(int index) {
    if (index < 0 || index >= Count) {
        return {};
    }
    static QHash<int, QIcon> cache; // user-interface thread only
    if (const auto it = cache.constFind(index); it != cache.constEnd()) {
        return *it;
    }
    const ImageSource& source = kImages[index];
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(source.themeName));
    if (icon.isNull()) {
        icon = BuiltIn(source);
    }
    cache.insert(index, icon);
    return icon;
}

bool TMainDataModule::UsesFallback(int index) {
    return index >= 0 && index < Count &&
           !QIcon::hasThemeIcon(QString::fromLatin1(kImages[index].themeName));
}

} // namespace qx
