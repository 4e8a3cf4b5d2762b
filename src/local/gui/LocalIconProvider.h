// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>
#include <QObject>

namespace qx {

// Icons and type names of local files by their names only. The default provider reads the
// first bytes of every file to tell its type, on the user-interface thread: slow on network file
// systems, and a read of some special files (seen under /proc) never returns. Pipes, sockets and
// devices get a plain type here.
// A QObject, so that the window can make it its last child: the models and views, which use it
// until they are gone, go before it.
class TLocalIconProvider final : public QObject, public QFileIconProvider {
    Q_OBJECT
public:
    QIcon icon(const QFileInfo& info) const override;
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QString type(const QFileInfo& info) const override;
    // The type text and the icon of a file by its name alone, nothing read from the disk; the
    // type can be asked on any thread.
    QString TypeForName(const QString& name) const;
    QIcon IconForName(const QString& name) const;

private:
    QMimeDatabase m_mimes;
};

} // namespace qx
