// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AsciiExtensions.h"
#include "base/Translatable.h"
#include "queue/FTPCarrier.h"
#include "queue/FTPCarryItem.h"
#include "queue/ServerConnections.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// The four lists of the transfer queue, in the order the window shows them.
enum class TCarrierList : std::uint8_t { Queue = 0, Status = 1, Success = 2, Fail = 3 };

// How the work of a queued item ended.
enum class TCarryEnd : std::uint8_t { Done, Failed, Deleted };

// What a view of the queue is told. Row numbers of an insertion or removal are announced
// before the change (so that a view can keep its selection and scrolling right) and the end of
// the change after it.
class TCarrierQueueView {
public:
    virtual ~TCarrierQueueView() = default;
    virtual void RowsAboutToBeInserted(TCarrierList, std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void RowsInserted(TCarrierList) {}
    virtual void RowsAboutToBeRemoved(TCarrierList, std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void RowsRemoved(TCarrierList) {}
    virtual void RowChanged(TCarrierList, std::size_t /*row*/) {}
    // A log line of the carrier of a status row (it is also that row's "Response" now).
    virtual void CarrierLine(std::size_t /*statusRow*/, const std::string& /*line*/) {}
    virtual void CaptionChanged(const std::string& /*caption*/) {}
    // The running count or the service state changed.
    virtual void StateChanged() {}
};

// What changed among the items the queue keeps, as one step: items that joined the queue (also
// resubmitted ones), items that left it (done, deleted, cleared) and an item that failed. A
// running item still counts as queued.
struct TCarrierQueueChange {
    std::vector<const TFTPCarryItem*> Queued;
    std::vector<const TFTPCarryItem*> Gone;
    const TFTPCarryItem* Failed = nullptr;
    std::string ErrorMessage; // of the failed item

    bool Empty() const { return Queued.empty() && Gone.empty() && Failed == nullptr; }
};

// Keeps the items of the queue beyond the program, told of every change as it happens.
class TCarrierQueueJournal {
public:
    virtual ~TCarrierQueueJournal() = default;
    virtual void QueueChanged(const TCarrierQueueChange& change) = 0;
};

// The transfer queue and its scheduler: every item is in one of four lists. Items start in
// queue order, one carrier each, up to MaxCarrier at a time; a finished item moves to the
// success list (where only its texts stay) or to the fail list (where it is kept for
// resubmitting); the entries of an explored folder join the end of the queue.
//
// Everything runs on the user-interface thread, where the carriers' events arrive one at a
// time. No event scans the whole queue: starting, finishing and progress cost the same with
// twenty items queued as with twenty thousand.
class TCarrierQueue {
public:
    using CarrierFactory = std::function<std::shared_ptr<TFTPCarrier>()>;

    static constexpr int kMinCarriers = 1;
    static constexpr int kMaxCarriers = 16;

    // Carriers come from the factory, one per started item; automatic transfers use the ASCII
    // extensions (referenced, not owned).
    TCarrierQueue(CarrierFactory factory, const TAsciiExtensions* asciiExtensions);
    ~TCarrierQueue();
    TCarrierQueue(const TCarrierQueue&) = delete;
    TCarrierQueue& operator=(const TCarrierQueue&) = delete;

    void SetView(TCarrierQueueView* view) { m_view = view; }
    // None: nothing is kept. Before the program aborts its transfers at the end, it takes the
    // journal away, so that they are kept as queued and not as failed.
    void SetJournal(TCarrierQueueJournal* journal) { m_journal = journal; }

    // A carrier whose job got through takes the next queued item, still logged in when that
    // item goes to the same servers with the same logins; carriers left without work end.
    // Off, every item gets a fresh carrier that logs in and out.
    bool KeepSessions = true;
    // Asked before a job replaces a file; without it files are replaced as they come. An answer
    // for the rest holds until the queue has nothing left to do.
    std::function<TOverwriteAnswer(const TOverwriteQuestion&)> AskOverwrite;
    // Asked when a server's certificate cannot be verified and is not trusted yet; true trusts
    // it. Certificates trusted on the command line go to every carrier.
    std::function<bool(const TCertificateQuestion&)> AskCertificate;
    std::vector<std::string> TrustedFingerprints;
    // The queue's speed limits, shared by all its carriers (none until rates are set).
    TSpeedLimits SpeedLimits = TSpeedLimits::Make(0, 0);
    bool AcceptAnyCertificate = false;
    // Asked when ssh asks a question on an SFTP side of a job (an unknown host key, a key's
    // passphrase); nothing fails that login.
    std::function<std::optional<std::string>(const sftp::TSshQuestion&)> AskSshQuestion;
    // How long a job tries again at a server that refuses a connection for being at its limit
    // while no other job of the queue is there. Where others are, a refused item goes back to
    // the front of the queue at once and waits until one of them ends: a server is given only
    // as many items at a time as it takes.
    int BusyRetrySeconds = 120;
    // Listeners are told of every item whose work ends: a job that got through (before its
    // item is freed), a job that failed (its item stays in the fail list) and an item deleted
    // from the queue before it ran. A listener may add and remove listeners while it is told.
    using ItemEndListener = std::function<void(const TFTPCarryItem& item, TCarryEnd end)>;
    std::size_t AddItemEndListener(ItemEndListener listener);
    void RemoveItemEndListener(std::size_t id);

    // --- Producers ---
    // Appends an item to the queue; the queue owns it from now on.
    void AddItem(std::unique_ptr<TFTPCarryItem> item);
    void AddItems(std::vector<std::unique_ptr<TFTPCarryItem>> items);
    // Puts an item straight into the fail list, as when failed items are brought back.
    void AddFailedItem(std::unique_ptr<TFTPCarryItem> item, std::string errorMessage);
    // Starts carriers for the first queued items while fewer than MaxCarrier run.
    void StartCarriers();

    // --- Commands; row numbers need not be sorted ---
    void Resume();
    void Suspend();
    void Abort(const std::vector<std::size_t>& statusRows);
    void Resubmit(const std::vector<std::size_t>& failRows);
    void Delete(const std::vector<std::size_t>& queueRows);
    void ClearQueue();
    void ClearSuccess();
    void ClearFail();
    // Aborts every running job, as before the program ends.
    void AbortAll();

    // What the explorations left out so far (names that cannot be carried, links that loop,
    // special files, listing lines that cannot be read), one line each.
    const std::vector<std::string>& SkippedEntries() const { return m_skippedEntries; }

    // --- State ---
    bool ResumeService() const { return m_resumeService; }
    int MaxCarrier() const { return m_maxCarrier; }
    // Outside 1 to 16 the value is brought into that range. Lowering it stops nothing.
    void SetMaxCarrier(int count);
    int RunningCount() const { return m_running; }
    // Nothing runs and nothing will start by itself.
    bool Idle() const { return m_running == 0 && (m_queue.empty() || !m_resumeService); }
    // Some carrier's worker has not ended yet. Its events need the user-interface thread, so
    // that thread must go on running until this is false.
    bool WorkersRunning() const {
        return !m_status.empty() || !m_ending.empty() || !m_idle.empty();
    }
    // The count of queued items in the format's %1 (a window passes the format in the user's
    // language).
    static constexpr const char* kCaptionFormat =
        QX_TRANSLATE_NOOP("qx::Core", "[%1 Items Queued]");
    std::string Caption(std::string_view format = kCaptionFormat) const;

    // --- Rows ---
    static const std::vector<std::string>& Columns(TCarrierList list);
    std::size_t RowCount(TCarrierList list) const;
    std::string Text(TCarrierList list, std::size_t row, std::size_t column) const;
    int ImageIndex(TCarrierList list, std::size_t row) const;
    // The item of a queue, status or fail row; null for success rows.
    const TFTPCarryItem* Item(TCarrierList list, std::size_t row) const;

private:
    struct QueuedRow {
        std::unique_ptr<TFTPCarryItem> item;
        std::uint64_t order = 0; // rises along the queue
    };
    struct StatusRow {
        std::unique_ptr<TFTPCarryItem> item;
        std::shared_ptr<TFTPCarrier> carrier;
        std::uint64_t id = 0;
        std::string position, rate, timeLeft, done, response;
        std::uint64_t order = 0; // of its queue row
    };
    struct SuccessRow {
        std::string texts[6];
        int imageIndex = 0;
    };
    struct FailRow {
        std::unique_ptr<TFTPCarryItem> item;
        std::string errorMessage;
    };

    // Appends to the queue and returns what was appended; the journal is not told.
    std::vector<const TFTPCarryItem*>
    AppendItems(std::vector<std::unique_ptr<TFTPCarryItem>> items);
    void Journal(const TCarrierQueueChange& change);
    // The first queued item (among the first few) whose servers have room; none when the
    // ones at the front all wait for a server.
    std::optional<std::size_t> NextStartable() const;
    void StartOne(std::size_t queueRow);
    // Puts an item whose job gave way to others on a busy server back at the front.
    void Requeue(std::unique_ptr<TFTPCarryItem> item, std::uint64_t order);
    std::shared_ptr<TFTPCarrier> CarrierFor(const TFTPCarryItem& item);
    void Retire(std::shared_ptr<TFTPCarrier> carrier);
    void TrimIdle();
    void JobDone(TFTPCarrier& carrier, bool explored);
    StatusRow* FindStatusRow(const TFTPCarrier& carrier, std::size_t* index = nullptr);
    void AddFailRow(std::unique_ptr<TFTPCarryItem> item, std::string errorMessage);
    void AddSuccessRow(const TFTPCarryItem& item);
    template <typename Rows>
    void EraseRows(TCarrierList list, Rows& rows, std::vector<std::size_t> indexes);
    template <typename Rows> void EraseAll(TCarrierList list, Rows& rows);
    void NotifyCaption();
    void TellEnd(const TFTPCarryItem& item, TCarryEnd end);
    void NotifyState();

    CarrierFactory m_factory;
    std::optional<TOverwriteAnswer> m_overwriteForAll;
    const TAsciiExtensions* m_asciiExtensions;
    TCarrierQueueView* m_view = nullptr;
    TCarrierQueueJournal* m_journal = nullptr;
    std::vector<std::pair<std::size_t, ItemEndListener>> m_endListeners;
    std::size_t m_nextListener = 0;

    std::deque<QueuedRow> m_queue;
    std::vector<StatusRow> m_status; // at most MaxCarrier rows, and never more than 16
    std::vector<std::string> m_skippedEntries;
    std::deque<SuccessRow> m_success;
    std::vector<FailRow> m_fail;
    // Carriers whose job has ended and whose worker has not.
    std::vector<std::shared_ptr<TFTPCarrier>> m_ending;
    // Carriers that got through their job and wait for the next one (never more than
    // MaxCarrier less the running count).
    std::vector<std::shared_ptr<TFTPCarrier>> m_idle;
    TServerConnections m_servers;

    int m_running = 0;
    int m_maxCarrier = 3;
    bool m_resumeService = true;
    bool m_starting = false; // StartCarriers is on the stack
    std::uint64_t m_nextId = 1;
    std::uint64_t m_nextOrder = 1;
};

// The common column texts of an item: "File Name", "Source", "Destination", "Command",
// "Size" and "Type".
std::string CarryItemText(const TFTPCarryItem& item, std::size_t column);

} // namespace qx
