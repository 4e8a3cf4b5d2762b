// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/QueueLog.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace qx {

// The records of the queue file, written on a thread of their own: the changes made meanwhile
// go out together with one sync, in the order they were made, so that the queue never waits
// for the disk. Once the records outnumber the items, they go aside to "<file>.log.1" and the
// file is written anew from the file and those records, while new records start a new log.
// Records that cannot be written stay and go out with the next change, and once more at the end.
class TQueueJournal {
public:
    // rewrite: whether the file may be written (not when it was left as it was found).
    TQueueJournal(std::filesystem::path file, bool rewrite);
    // Writes what is still to be written, then ends.
    ~TQueueJournal();
    TQueueJournal(const TQueueJournal&) = delete;
    TQueueJournal& operator=(const TQueueJournal&) = delete;

    // The log of records and the one set aside for a whole write.
    static std::filesystem::path LogOf(const std::filesystem::path& file);
    static std::filesystem::path AsideLogOf(const std::filesystem::path& file);

    // Makes the records of a change on the journal's thread: the work of a large change
    // (ten thousand items that join at once) does not hold the caller up. Called once, in the
    // order of the changes, before their records are written.
    using TRecordMaker = std::function<void(std::vector<std::string>& records)>;
    // A change and how many items the queue keeps after it.
    void Add(TRecordMaker makeRecords, std::size_t items);
    // Waits until everything added was written, or failed to be.
    void Settle();
    // Why the last write failed (empty when it worked).
    std::string Problem() const;
    // Told on the journal's thread, once when writing starts to fail (again only after a write
    // worked), with the text of Problem(). Set it before the first Add.
    std::function<void(const std::string& problem)> OnProblem;

private:
    void Run(const std::stop_token& stop);
    bool Write(const std::vector<std::string>& records, std::size_t items);
    bool Rewrite();

    std::filesystem::path m_file;
    bool m_rewrite;
    TAppendLog m_log;
    TAppendLog m_asideLog;
    mutable std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::condition_variable m_idle;
    std::vector<TRecordMaker> m_changes; // in their order
    std::size_t m_items = 0;
    std::uint64_t m_added = 0; // changes added so far
    std::uint64_t m_tried = 0; // changes whose records were written or failed to be
    std::string m_problem;
    std::jthread m_thread; // last: it starts once everything above is made
};

} // namespace qx
