// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncEntry.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qx {

// Reads a local folder's entries for a comparison on a worker thread, so that a folder of
// 100,000 names does not hold up the window. Only the last reading asked for reports: asking
// again stops the one under way, and its result is dropped.
class TLocalEntriesReader final : public QObject {
    Q_OBJECT
public:
    // Entries of the folder, or nothing when it cannot be read.
    using TDone = std::function<void(const std::string& folder,
                                     std::optional<std::vector<TSyncEntry>> entries)>;

    explicit TLocalEntriesReader(QObject* parent = nullptr) : QObject(parent) {}
    ~TLocalEntriesReader() override;

    // Reads folder; done is called on this object's thread when the reading is whole.
    void Read(std::string folder, TDone done);
    // Drops the reading under way: its done is not called.
    void Cancel();
    bool Reading() const { return m_reading; }

private:
    std::jthread m_worker;
    int m_generation = 0;
    bool m_reading = false;
};

} // namespace qx
