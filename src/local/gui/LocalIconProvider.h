#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace qx {

// Icons and type names of local files by their names only. The default provider reads the
// first bytes of every file to tell its type, on the user-interface thread: slow on network file
// systems, and a read of some special files (seen under /proc) never returns. Pipes, sockets and
// devices get a plain type here.
class TLocalIconProvider final : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override;
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QString type(const QFileInfo& info) const override;

private:
    QMimeDatabase m_mimes;
};

} // namespace qx
