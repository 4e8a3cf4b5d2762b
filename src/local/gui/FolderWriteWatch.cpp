// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/gui/FolderWriteWatch.h"

#include <QSocketNotifier>

#include <cstddef>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace qx {

TFolderWriteWatch::TFolderWriteWatch(QObject* parent)
    : QObject(parent), m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (m_fd) {
        m_notifier = new QSocketNotifier(m_fd.get(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { ReadEvents(); });
    }
}

TFolderWriteWatch::~TFolderWriteWatch() = default;

void TFolderWriteWatch::Watch(const std::string& folder) {
    if (!m_fd) {
        return;
    }
    if (m_watch >= 0) {
        ::inotify_rm_watch(m_fd.get(), m_watch);
        m_watch = -1;
    }
    if (!folder.empty()) {
        m_watch = ::inotify_add_watch(m_fd.get(), folder.c_str(), IN_CLOSE_WRITE | IN_ONLYDIR);
    }
}

void TFolderWriteWatch::ReadEvents() {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(m_fd.get(), buffer, sizeof buffer);
        if (length <= 0) {
            return;
        }
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof(inotify_event);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                Q_EMIT Written({});
            } else if (event.wd == m_watch && (event.mask & IN_CLOSE_WRITE) && event.len > 0) {
                Q_EMIT Written(
                    QByteArray(name, static_cast<qsizetype>(::strnlen(name, event.len))));
            }
        }
    }
}

} // namespace qx
