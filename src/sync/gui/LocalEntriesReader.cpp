// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/gui/LocalEntriesReader.h"

#include "sync/SyncListings.h"

#include <QMetaObject>

namespace qx {

TLocalEntriesReader::~TLocalEntriesReader() {
    Cancel();
}

void TLocalEntriesReader::Read(std::string folder, TDone done) {
    Cancel();
    const int generation = m_generation;
    m_reading = true;
    m_worker = std::jthread([this, generation, folder = std::move(folder),
                             done = std::move(done)](const std::stop_token& stop) mutable {
        auto entries = LocalSyncEntries(folder, stop);
        if (stop.stop_requested()) {
            return;
        }
        // Posted to this object: a reading dropped meanwhile is told apart by its generation.
        QMetaObject::invokeMethod(
            this,
            [this, generation, folder = std::move(folder), done = std::move(done),
             entries = std::move(entries)]() mutable {
                if (generation != m_generation) {
                    return;
                }
                m_reading = false;
                done(folder, std::move(entries));
            },
            Qt::QueuedConnection);
    });
}

void TLocalEntriesReader::Cancel() {
    ++m_generation;
    m_reading = false;
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

} // namespace qx
