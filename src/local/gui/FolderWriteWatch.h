// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UniqueFd.h"

#include <QObject>

#include <string>

class QSocketNotifier;

namespace qx {

// Tells which files of one folder were closed after being written: a transfer or a copy into
// the folder has ended. (A watch of the folder itself sees names come and go, not files that
// grow.)
class TFolderWriteWatch final : public QObject {
    Q_OBJECT
public:
    explicit TFolderWriteWatch(QObject* parent = nullptr);
    ~TFolderWriteWatch() override;
    TFolderWriteWatch(const TFolderWriteWatch&) = delete;
    TFolderWriteWatch& operator=(const TFolderWriteWatch&) = delete;

    // Watches this folder (its bytes) instead of the one before; an empty path: none.
    void Watch(const std::string& folder);

Q_SIGNALS:
    // The file of that name (bytes) was written; an empty name: files were written that the
    // system could not name (too many at once).
    void Written(const QByteArray& name);

private:
    void ReadEvents();

    UniqueFd m_fd;
    int m_watch = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace qx
