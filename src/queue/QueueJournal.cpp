// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/QueueJournal.h"

#include "platform/ConfigFile.h"
#include "platform/ConfigStore.h"
#include "queue/QueueRecords.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace qx {

TQueueJournal::TQueueJournal(std::filesystem::path file, bool rewrite)
    : m_file(std::move(file)), m_rewrite(rewrite), m_log(LogOf(m_file)),
      m_asideLog(AsideLogOf(m_file)), m_thread([this](const std::stop_token& stop) { Run(stop); }) {
    m_log.Read(); // counts the records a crash left
}

TQueueJournal::~TQueueJournal() {
    m_thread.request_stop();
    m_wake.notify_all();
}

std::filesystem::path TQueueJournal::LogOf(const std::filesystem::path& file) {
    return file.string() + ".log";
}

std::filesystem::path TQueueJournal::AsideLogOf(const std::filesystem::path& file) {
    return file.string() + ".log.1";
}

void TQueueJournal::Add(TRecordMaker makeRecords, std::size_t items) {
    {
        std::lock_guard lock(m_mutex);
        m_changes.push_back(std::move(makeRecords));
        m_items = items;
        ++m_added;
    }
    m_wake.notify_one();
}

void TQueueJournal::Settle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_tried == m_added; });
}

std::string TQueueJournal::Problem() const {
    std::lock_guard lock(m_mutex);
    return m_problem;
}

// Records that could not be written stay and are tried again with the next change, not in a
// loop, and once more at the end.
void TQueueJournal::Run(const std::stop_token& stop) {
    std::vector<std::string> unwritten; // made, not yet written: only this thread sees them
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, stop, [&] { return !m_changes.empty(); });
        if (m_changes.empty() && (unwritten.empty() || !stop.stop_requested())) {
            if (stop.stop_requested()) {
                return;
            }
            continue;
        }
        std::vector<TRecordMaker> changes = std::move(m_changes);
        m_changes.clear();
        const std::size_t items = m_items;
        const std::uint64_t added = m_added;
        lock.unlock();
        for (TRecordMaker& makeRecords : changes) {
            makeRecords(unwritten);
        }
        changes.clear(); // what they hold goes now, not under the lock
        const bool ok = Write(unwritten, items);
        if (ok) {
            unwritten.clear();
        }
        lock.lock();
        m_tried = added;
        if (ok) {
            m_problem.clear();
        } else if (m_problem.empty()) {
            m_problem = "cannot write the transfer queue file " + m_file.string();
            std::fprintf(stderr, "Quorvin Explorer: %s\n", m_problem.c_str());
            if (OnProblem) {
                OnProblem(m_problem);
            }
        }
        m_idle.notify_all();
        if (stop.stop_requested() && !ok) {
            return; // the owner writes the whole file at the end
        }
    }
}

bool TQueueJournal::Write(const std::vector<std::string>& records, std::size_t items) {
    if (!records.empty() && !m_log.Append(records)) {
        return false;
    }
    // The file whole once the records outnumber the items, so that what is read back at a
    // start stays in proportion to the queue.
    return m_log.Count() <= std::max<std::size_t>(256, items) || !m_rewrite || Rewrite();
}

// The records go aside (joining those of a write that failed) and the file is written anew
// from the file and them. Until the new file is in place, the old file and both logs still
// tell everything; replaying a record on a file that already holds its change changes nothing.
bool TQueueJournal::Rewrite() {
    std::error_code error;
    const bool asideExists = std::filesystem::exists(m_asideLog.File(), error);
    if (error) {
        return false;
    }
    if (!asideExists) {
        if (::rename(m_log.File().c_str(), m_asideLog.File().c_str()) != 0 && errno != ENOENT) {
            return false;
        }
    } else if (const auto records = m_log.Read(); !records.empty() && !m_asideLog.Append(records)) {
        return false;
    }
    m_log.Clear();
    TConfigStore copy(m_file, TConfigStore::TOpenMode::ReadOnly);
    if (!copy.LoadProblem().empty()) {
        return false;
    }
    for (const std::string& record : m_asideLog.Read()) {
        ApplyQueueRecord(copy, record);
    }
    return ReplaceFileAtomically(m_file, copy.Text()) && m_asideLog.Clear();
}

} // namespace qx
