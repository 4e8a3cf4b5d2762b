// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/CarrierQueue.h"

#include "queue/CarrierProgress.h"

#include "base/Translatable.h"

#include <algorithm>

namespace qx {

namespace {
constexpr std::size_t kCommonColumns = 6;
// How far past items that wait for a busy server the scheduler looks for one it can start.
constexpr std::size_t kStartLookAhead = 64;
} // namespace

std::string CarryItemText(const TFTPCarryItem& item, std::size_t column) {
    switch (column) {
    case 0:
        return item.FileName;
    case 1:
        return item.SrcHostName + item.SrcPath;
    case 2:
        return item.DestHostName + item.DestPath;
    case 3:
        return item.IsFolder ? QX_TRANSLATE_NOOP("qx::Core", "Explore")
                             : QX_TRANSLATE_NOOP("qx::Core", "Carry");
    case 4:
        return item.FileSize < 0 ? std::string() : std::to_string(item.FileSize);
    case 5:
        return item.TypeName;
    default:
        return {};
    }
}

TCarrierQueue::TCarrierQueue(CarrierFactory factory, const TAsciiExtensions* asciiExtensions)
    : m_factory(std::move(factory)), m_asciiExtensions(asciiExtensions) {}

TCarrierQueue::~TCarrierQueue() {
    // Running carriers end on their own; none of their events may reach this queue any more.
    const auto detach = [](TFTPCarrier& carrier) {
        carrier.OnDisplay = nullptr;
        carrier.OnOverwrite = nullptr;
        carrier.OnCertificate = nullptr;
        carrier.OnSshQuestion = nullptr;
        carrier.OnServerBusy = nullptr;
        carrier.OnCarryDone = nullptr;
        carrier.OnExploreDone = nullptr;
        carrier.OnTransferStatus = nullptr;
        carrier.OnEndThread = nullptr;
    };
    for (StatusRow& row : m_status) {
        detach(*row.carrier);
        row.carrier->Abort();
        row.carrier->StopThread();
    }
    for (const auto& carrier : m_ending) {
        detach(*carrier);
    }
    for (const auto& carrier : m_idle) {
        detach(*carrier);
        carrier->StopThread();
    }
}

const std::vector<std::string>& TCarrierQueue::Columns(TCarrierList list) {
    static const std::vector<std::string> queue = {
        QX_TRANSLATE_NOOP("qx::Core", "File Name"),     QX_TRANSLATE_NOOP("qx::Core", "Source"),
        QX_TRANSLATE_NOOP("qx::Core", "Destination"),   QX_TRANSLATE_NOOP("qx::Core", "Command"),
        QX_TRANSLATE_NOOP("qx::Core", "Size"),          QX_TRANSLATE_NOOP("qx::Core", "Type"),
        QX_TRANSLATE_NOOP("qx::Core", "Transfer Type"), QX_TRANSLATE_NOOP("qx::Core", "Resuming")};
    static const std::vector<std::string> status = {QX_TRANSLATE_NOOP("qx::Core", "File Name"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Source"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Destination"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Command"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Size"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Type"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Position"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Transfer Rate"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Time Left"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Done"),
                                                    QX_TRANSLATE_NOOP("qx::Core", "Response")};
    static const std::vector<std::string> success = {
        QX_TRANSLATE_NOOP("qx::Core", "File Name"),   QX_TRANSLATE_NOOP("qx::Core", "Source"),
        QX_TRANSLATE_NOOP("qx::Core", "Destination"), QX_TRANSLATE_NOOP("qx::Core", "Command"),
        QX_TRANSLATE_NOOP("qx::Core", "Size"),        QX_TRANSLATE_NOOP("qx::Core", "Type")};
    static const std::vector<std::string> fail = {
        QX_TRANSLATE_NOOP("qx::Core", "File Name"),    QX_TRANSLATE_NOOP("qx::Core", "Source"),
        QX_TRANSLATE_NOOP("qx::Core", "Destination"),  QX_TRANSLATE_NOOP("qx::Core", "Command"),
        QX_TRANSLATE_NOOP("qx::Core", "Size"),         QX_TRANSLATE_NOOP("qx::Core", "Type"),
        QX_TRANSLATE_NOOP("qx::Core", "Error Message")};
    switch (list) {
    case TCarrierList::Queue:
        return queue;
    case TCarrierList::Status:
        return status;
    case TCarrierList::Success:
        return success;
    case TCarrierList::Fail:
        return fail;
    }
    return queue;
}

std::string TCarrierQueue::Caption(std::string_view format) const {
    return FormatText(format, {std::to_string(m_queue.size())});
}

// --- Producers -------------------------------------------------------------------------------

void TCarrierQueue::AddItem(std::unique_ptr<TFTPCarryItem> item) {
    std::vector<std::unique_ptr<TFTPCarryItem>> one;
    one.push_back(std::move(item));
    AddItems(std::move(one));
}

void TCarrierQueue::AddItems(std::vector<std::unique_ptr<TFTPCarryItem>> items) {
    TCarrierQueueChange change;
    change.Queued = AppendItems(std::move(items));
    Journal(change);
}

void TCarrierQueue::AddFailedItem(std::unique_ptr<TFTPCarryItem> item, std::string errorMessage) {
    if (item == nullptr) {
        return;
    }
    item->Carrier = nullptr;
    TCarrierQueueChange change;
    change.Failed = item.get();
    change.ErrorMessage = errorMessage;
    AddFailRow(std::move(item), std::move(errorMessage));
    Journal(change);
}

void TCarrierQueue::Journal(const TCarrierQueueChange& change) {
    if (m_journal != nullptr && !change.Empty()) {
        m_journal->QueueChanged(change);
    }
}

std::vector<const TFTPCarryItem*>
TCarrierQueue::AppendItems(std::vector<std::unique_ptr<TFTPCarryItem>> items) {
    std::erase(items, nullptr);
    std::vector<const TFTPCarryItem*> appended;
    if (items.empty()) {
        return appended;
    }
    const std::size_t first = m_queue.size();
    if (m_view != nullptr) {
        m_view->RowsAboutToBeInserted(TCarrierList::Queue, first, first + items.size() - 1);
    }
    for (auto& item : items) {
        item->Carrier = nullptr;
        appended.push_back(item.get());
        m_queue.push_back(QueuedRow{std::move(item), m_nextOrder++});
    }
    if (m_view != nullptr) {
        m_view->RowsInserted(TCarrierList::Queue);
    }
    NotifyCaption();
    return appended;
}

void TCarrierQueue::StartCarriers() {
    if (m_starting) {
        return; // the loop further up the stack goes on
    }
    m_starting = true;
    while (m_resumeService && m_running < m_maxCarrier && !m_queue.empty()) {
        const auto next = NextStartable();
        if (!next) {
            break;
        }
        StartOne(*next);
    }
    m_starting = false;
}

std::optional<std::size_t> TCarrierQueue::NextStartable() const {
    const std::size_t end = std::min(m_queue.size(), kStartLookAhead);
    for (std::size_t row = 0; row < end; ++row) {
        if (m_servers.HasRoom(*m_queue[row].item)) {
            return row;
        }
    }
    return std::nullopt;
}

void TCarrierQueue::StartOne(std::size_t queueRow) {
    if (m_view != nullptr) {
        m_view->RowsAboutToBeRemoved(TCarrierList::Queue, queueRow, queueRow);
    }
    const auto at = m_queue.begin() + static_cast<std::ptrdiff_t>(queueRow);
    std::unique_ptr<TFTPCarryItem> item = std::move(at->item);
    const std::uint64_t order = at->order;
    m_queue.erase(at);
    if (m_view != nullptr) {
        m_view->RowsRemoved(TCarrierList::Queue);
    }
    NotifyCaption();

    std::shared_ptr<TFTPCarrier> carrier = CarrierFor(*item);
    carrier->TakeJobFrom(*item);
    // A server that refused for a whole budget already is tried once per item until one gets
    // through.
    carrier->BusyRetrySeconds = m_servers.Refusing(*item) ? 0 : BusyRetrySeconds;
    carrier->OnServerBusy = [this](TFTPCarrier& c, TCarrierSide side, bool& yield) {
        const StatusRow* row = FindStatusRow(c);
        yield = row != nullptr && row->item != nullptr &&
                m_servers.InUse(TServerConnections::ServerOf(*row->item, side)) > 1;
    };
    carrier->ASCIIExts = m_asciiExtensions;
    carrier->KeepSession = KeepSessions;
    carrier->TrustedFingerprints = TrustedFingerprints;
    carrier->AcceptAnyCertificate = AcceptAnyCertificate;
    carrier->OnCertificate = [this](TFTPCarrier&, const TCertificateQuestion& question,
                                    bool& trust) {
        trust = AskCertificate && AskCertificate(question);
    };
    carrier->OnSshQuestion = nullptr;
    if (AskSshQuestion) {
        carrier->OnSshQuestion = [this](TFTPCarrier&, const sftp::TSshQuestion& question,
                                        std::optional<std::string>& answer) {
            answer = AskSshQuestion ? AskSshQuestion(question) : std::nullopt;
        };
    }
    carrier->OnOverwrite = nullptr;
    if (AskOverwrite) {
        carrier->OnOverwrite = [this](TFTPCarrier&, const TOverwriteQuestion& question,
                                      TOverwriteAnswer& answer) {
            if (m_overwriteForAll) {
                answer = *m_overwriteForAll;
                return;
            }
            answer = AskOverwrite ? AskOverwrite(question) : TOverwriteAnswer{};
            if (answer.ApplyToAll) {
                m_overwriteForAll = answer;
            }
        };
    }
    carrier->OnDisplay = [this](TFTPCarrier& c, const std::string& line) {
        std::size_t index = 0;
        if (StatusRow* row = FindStatusRow(c, &index)) {
            row->response = line;
            if (m_view != nullptr) {
                m_view->CarrierLine(index, line);
                m_view->RowChanged(TCarrierList::Status, index);
            }
        }
    };
    carrier->OnTransferStatus = [this](TFTPCarrier& c, std::int64_t position,
                                       std::int64_t transfered, std::int64_t elapsed) {
        std::size_t index = 0;
        if (StatusRow* row = FindStatusRow(c, &index)) {
            TCarrierProgressTexts texts =
                CarrierProgressTexts(c.FileSize, position, transfered, elapsed);
            row->position = std::move(texts.Position);
            row->rate = std::move(texts.TransferRate);
            row->timeLeft = std::move(texts.TimeLeft);
            row->done = std::move(texts.Done);
            if (m_view != nullptr) {
                m_view->RowChanged(TCarrierList::Status, index);
            }
        }
    };
    carrier->OnCarryDone = [this](TFTPCarrier& c) { JobDone(c, false); };
    carrier->OnExploreDone = [this](TFTPCarrier& c) { JobDone(c, true); };
    carrier->OnEndThread = [this](TFTPCarrier& c) {
        std::erase_if(m_ending, [&c](const auto& ending) { return ending.get() == &c; });
    };

    const std::uint64_t id = m_nextId++;
    carrier->Tag = id;
    item->Carrier = carrier.get();
    const TFTPCarryItem& started = *item;
    if (m_view != nullptr) {
        m_view->RowsAboutToBeInserted(TCarrierList::Status, m_status.size(), m_status.size());
    }
    m_status.push_back(StatusRow{std::move(item), carrier, id, {}, {}, {}, {}, {}, order});
    if (m_view != nullptr) {
        m_view->RowsInserted(TCarrierList::Status);
    }
    ++m_running;
    m_servers.Started(started);
    NotifyState();
    if (!carrier->StartJobFor(started)) {
        carrier->ResultCode = 1;
        carrier->ErrorMessage =
            QX_TRANSLATE_NOOP("qx::Core", "500 The item has no job for its direction.");
        JobDone(*carrier, false);
    }
}

namespace {
bool SameLogin(const std::string& host, const std::string& port, const std::string& user,
               const std::string& password, const std::string& otherHost,
               const std::string& otherPort, const std::string& otherUser,
               const std::string& otherPassword) {
    return host == otherHost && port == otherPort && user == otherUser && password == otherPassword;
}
} // namespace

// An idle carrier, preferably one whose last job went to the same servers with the same
// logins, or a new one.
std::shared_ptr<TFTPCarrier> TCarrierQueue::CarrierFor(const TFTPCarryItem& item) {
    if (m_idle.empty()) {
        auto carrier = m_factory();
        carrier->SpeedLimits = SpeedLimits;
        return carrier;
    }
    const auto matches = [&item](const std::shared_ptr<TFTPCarrier>& c) {
        const bool source =
            SameLogin(c->SrcHostName, c->SrcPort, c->SrcUserName, c->SrcPassword, item.SrcHostName,
                      item.SrcPort, item.SrcUserName, item.SrcPassword);
        const bool destination =
            SameLogin(c->DestHostName, c->DestPort, c->DestUserName, c->DestPassword,
                      item.DestHostName, item.DestPort, item.DestUserName, item.DestPassword);
        return source && destination;
    };
    auto it = std::find_if(m_idle.begin(), m_idle.end(), matches);
    if (it == m_idle.end()) {
        it = m_idle.begin();
    }
    std::shared_ptr<TFTPCarrier> carrier = std::move(*it);
    m_idle.erase(it);
    return carrier;
}

// The carrier's worker ends; the carrier is kept until it has.
void TCarrierQueue::Retire(std::shared_ptr<TFTPCarrier> carrier) {
    TFTPCarrier& ending = *carrier;
    m_ending.push_back(std::move(carrier));
    ending.StopThread();
}

void TCarrierQueue::TrimIdle() {
    const std::size_t room = m_resumeService && !m_queue.empty()
                                 ? static_cast<std::size_t>(std::max(0, m_maxCarrier - m_running))
                                 : 0;
    while (m_idle.size() > room) {
        std::shared_ptr<TFTPCarrier> carrier = std::move(m_idle.back());
        m_idle.pop_back();
        Retire(std::move(carrier));
    }
}

// --- Carriers' ends --------------------------------------------------------------------------

TCarrierQueue::StatusRow* TCarrierQueue::FindStatusRow(const TFTPCarrier& carrier,
                                                       std::size_t* index) {
    for (std::size_t i = 0; i < m_status.size(); ++i) {
        if (m_status[i].id == carrier.Tag && m_status[i].carrier.get() == &carrier) {
            if (index != nullptr) {
                *index = i;
            }
            return &m_status[i];
        }
    }
    return nullptr;
}

void TCarrierQueue::JobDone(TFTPCarrier& carrier, bool explored) {
    std::size_t index = 0;
    StatusRow* row = FindStatusRow(carrier, &index);
    if (row == nullptr) {
        return; // a second done event for the same job: already handled
    }
    // Kept until the end of this handler: the carrier is the one raising the event.
    const std::shared_ptr<TFTPCarrier> keep = row->carrier;
    std::unique_ptr<TFTPCarryItem> item = std::move(row->item);
    const std::uint64_t order = row->order;
    item->Carrier = nullptr;
    m_skippedEntries.insert(m_skippedEntries.end(), carrier.SkippedEntries.begin(),
                            carrier.SkippedEntries.end());
    m_servers.Ended(*item);
    TCarrierQueueChange change;
    const bool busy = carrier.ResultCode == 1 && carrier.BusySide != TCarrierSide::None;
    if (busy && carrier.Yielded) {
        // Still queued, as the journal has it: the item waits for a connection.
        m_servers.RefusedOneMore(TServerConnections::ServerOf(*item, carrier.BusySide));
        Requeue(std::move(item), order);
    } else if (carrier.ResultCode != 0) {
        if (busy) {
            m_servers.RefusedForLong(TServerConnections::ServerOf(*item, carrier.BusySide));
        }
        change.Failed = item.get();
        change.ErrorMessage = carrier.ErrorMessage;
        AddFailRow(std::move(item), carrier.ErrorMessage);
        TellEnd(*change.Failed, TCarryEnd::Failed);
    } else {
        m_servers.GotThrough(*item);
        if (explored) {
            change.Queued = AppendItems(carrier.Items.TakeAll());
        }
        change.Gone.push_back(item.get());
        AddSuccessRow(*item);
        TellEnd(*item, TCarryEnd::Done);
    }
    // Kept until the journal has seen it go, so that no other item can take its address.
    const std::unique_ptr<TFTPCarryItem> done = std::move(item);
    Journal(change);
    if (m_view != nullptr) {
        m_view->RowsAboutToBeRemoved(TCarrierList::Status, index, index);
    }
    m_status.erase(m_status.begin() + static_cast<std::ptrdiff_t>(index));
    if (m_view != nullptr) {
        m_view->RowsRemoved(TCarrierList::Status);
    }
    const bool reusable = KeepSessions && carrier.ResultCode == 0;
    --m_running;
    if (reusable) {
        m_idle.push_back(keep);
    } else {
        Retire(keep);
    }
    NotifyState();
    StartCarriers();
    TrimIdle();
    if (m_running == 0) {
        m_overwriteForAll.reset(); // the batch the answer was for has ended
        if (m_queue.empty()) {
            m_servers.Forget();
        }
    }
}

// Back to its place among the items that wait, so that the queue keeps its order.
void TCarrierQueue::Requeue(std::unique_ptr<TFTPCarryItem> item, std::uint64_t order) {
    item->Carrier = nullptr;
    const auto at = std::upper_bound(
        m_queue.begin(), m_queue.end(), order,
        [](std::uint64_t value, const QueuedRow& row) { return value < row.order; });
    const auto row = static_cast<std::size_t>(at - m_queue.begin());
    if (m_view != nullptr) {
        m_view->RowsAboutToBeInserted(TCarrierList::Queue, row, row);
    }
    m_queue.insert(at, QueuedRow{std::move(item), order});
    if (m_view != nullptr) {
        m_view->RowsInserted(TCarrierList::Queue);
    }
    NotifyCaption();
}

std::size_t TCarrierQueue::AddItemEndListener(ItemEndListener listener) {
    m_endListeners.emplace_back(++m_nextListener, std::move(listener));
    return m_nextListener;
}

void TCarrierQueue::RemoveItemEndListener(std::size_t id) {
    std::erase_if(m_endListeners, [id](const auto& entry) { return entry.first == id; });
}

// Told from a copy, so that listeners may come and go meanwhile; one removed meanwhile is not
// told any more.
void TCarrierQueue::TellEnd(const TFTPCarryItem& item, TCarryEnd end) {
    const auto listeners = m_endListeners;
    for (const auto& [id, listener] : listeners) {
        const bool still = std::ranges::any_of(
            m_endListeners, [id = id](const auto& entry) { return entry.first == id; });
        if (still) {
            listener(item, end);
        }
    }
}

void TCarrierQueue::AddFailRow(std::unique_ptr<TFTPCarryItem> item, std::string errorMessage) {
    if (m_view != nullptr) {
        m_view->RowsAboutToBeInserted(TCarrierList::Fail, m_fail.size(), m_fail.size());
    }
    m_fail.push_back(FailRow{std::move(item), std::move(errorMessage)});
    if (m_view != nullptr) {
        m_view->RowsInserted(TCarrierList::Fail);
    }
}

void TCarrierQueue::AddSuccessRow(const TFTPCarryItem& item) {
    SuccessRow row;
    for (std::size_t column = 0; column < kCommonColumns; ++column) {
        row.texts[column] = CarryItemText(item, column);
    }
    row.imageIndex = item.ImageIndex;
    if (m_view != nullptr) {
        m_view->RowsAboutToBeInserted(TCarrierList::Success, m_success.size(), m_success.size());
    }
    m_success.push_back(std::move(row));
    if (m_view != nullptr) {
        m_view->RowsInserted(TCarrierList::Success);
    }
}

// --- Commands --------------------------------------------------------------------------------

void TCarrierQueue::Resume() {
    m_resumeService = true;
    NotifyState();
    StartCarriers();
}

void TCarrierQueue::Suspend() {
    m_resumeService = false;
    TrimIdle();
    NotifyState();
}

void TCarrierQueue::SetMaxCarrier(int count) {
    m_maxCarrier = std::clamp(count, kMinCarriers, kMaxCarriers);
    NotifyState();
    StartCarriers();
    TrimIdle();
}

void TCarrierQueue::Abort(const std::vector<std::size_t>& statusRows) {
    // Collected first: an abort may end a job at once and change the rows.
    std::vector<std::shared_ptr<TFTPCarrier>> carriers;
    for (const std::size_t row : statusRows) {
        if (row < m_status.size()) {
            carriers.push_back(m_status[row].carrier);
        }
    }
    for (const auto& carrier : carriers) {
        carrier->Abort();
    }
}

void TCarrierQueue::AbortAll() {
    std::vector<std::size_t> rows(m_status.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row] = row;
    }
    Abort(rows);
}

void TCarrierQueue::Resubmit(const std::vector<std::size_t>& failRows) {
    std::vector<std::size_t> rows = failRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](std::size_t row) { return row >= m_fail.size(); });
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    for (const std::size_t row : rows) {
        items.push_back(std::move(m_fail[row].item));
    }
    EraseRows(TCarrierList::Fail, m_fail, rows);
    AddItems(std::move(items)); // the journal moves them from the failed to the queued
    StartCarriers();
}

void TCarrierQueue::Delete(const std::vector<std::size_t>& queueRows) {
    std::vector<std::size_t> rows = queueRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](std::size_t row) { return row >= m_queue.size(); });
    std::vector<std::unique_ptr<TFTPCarryItem>> gone;
    TCarrierQueueChange change;
    for (const std::size_t row : rows) {
        change.Gone.push_back(m_queue[row].item.get());
        gone.push_back(std::move(m_queue[row].item));
    }
    EraseRows(TCarrierList::Queue, m_queue, rows);
    Journal(change);
    for (const auto& item : gone) {
        TellEnd(*item, TCarryEnd::Deleted);
    }
    NotifyCaption();
    TrimIdle();
}

void TCarrierQueue::ClearQueue() {
    TCarrierQueueChange change;
    std::vector<std::unique_ptr<TFTPCarryItem>> gone;
    for (QueuedRow& row : m_queue) {
        change.Gone.push_back(row.item.get());
        gone.push_back(std::move(row.item));
    }
    EraseAll(TCarrierList::Queue, m_queue);
    Journal(change);
    for (const auto& item : gone) {
        TellEnd(*item, TCarryEnd::Deleted);
    }
    NotifyCaption();
    TrimIdle();
}

void TCarrierQueue::ClearSuccess() {
    EraseAll(TCarrierList::Success, m_success);
}

void TCarrierQueue::ClearFail() {
    TCarrierQueueChange change;
    std::vector<std::unique_ptr<TFTPCarryItem>> gone;
    for (FailRow& row : m_fail) {
        change.Gone.push_back(row.item.get());
        gone.push_back(std::move(row.item));
    }
    EraseAll(TCarrierList::Fail, m_fail);
    Journal(change);
}

template <typename Rows>
void TCarrierQueue::EraseRows(TCarrierList list, Rows& rows, std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::erase_if(indexes, [&rows](std::size_t index) { return index >= rows.size(); });
    // From the last run of neighbouring rows to the first, so that row numbers stay valid.
    std::size_t end = indexes.size();
    while (end > 0) {
        std::size_t begin = end - 1;
        while (begin > 0 && indexes[begin - 1] + 1 == indexes[begin]) {
            --begin;
        }
        const std::size_t first = indexes[begin];
        const std::size_t last = indexes[end - 1];
        if (m_view != nullptr) {
            m_view->RowsAboutToBeRemoved(list, first, last);
        }
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(first),
                   rows.begin() + static_cast<std::ptrdiff_t>(last + 1));
        if (m_view != nullptr) {
            m_view->RowsRemoved(list);
        }
        end = begin;
    }
}

template <typename Rows> void TCarrierQueue::EraseAll(TCarrierList list, Rows& rows) {
    if (rows.empty()) {
        return;
    }
    if (m_view != nullptr) {
        m_view->RowsAboutToBeRemoved(list, 0, rows.size() - 1);
    }
    rows.clear();
    if (m_view != nullptr) {
        m_view->RowsRemoved(list);
    }
}

void TCarrierQueue::NotifyCaption() {
    if (m_view != nullptr) {
        m_view->CaptionChanged(Caption());
    }
}

void TCarrierQueue::NotifyState() {
    if (m_view != nullptr) {
        m_view->StateChanged();
    }
}

// --- Rows ------------------------------------------------------------------------------------

std::size_t TCarrierQueue::RowCount(TCarrierList list) const {
    switch (list) {
    case TCarrierList::Queue:
        return m_queue.size();
    case TCarrierList::Status:
        return m_status.size();
    case TCarrierList::Success:
        return m_success.size();
    case TCarrierList::Fail:
        return m_fail.size();
    }
    return 0;
}

const TFTPCarryItem* TCarrierQueue::Item(TCarrierList list, std::size_t row) const {
    if (row >= RowCount(list)) {
        return nullptr;
    }
    switch (list) {
    case TCarrierList::Queue:
        return m_queue[row].item.get();
    case TCarrierList::Status:
        return m_status[row].item.get();
    case TCarrierList::Fail:
        return m_fail[row].item.get();
    case TCarrierList::Success:
        break;
    }
    return nullptr;
}

int TCarrierQueue::ImageIndex(TCarrierList list, std::size_t row) const {
    if (list == TCarrierList::Success) {
        return row < m_success.size() ? m_success[row].imageIndex : 0;
    }
    const TFTPCarryItem* item = Item(list, row);
    return item != nullptr ? item->ImageIndex : 0;
}

std::string TCarrierQueue::Text(TCarrierList list, std::size_t row, std::size_t column) const {
    if (row >= RowCount(list) || column >= Columns(list).size()) {
        return {};
    }
    if (list == TCarrierList::Success) {
        return m_success[row].texts[column];
    }
    const TFTPCarryItem* found = Item(list, row);
    if (found == nullptr) {
        return {}; // a row whose item is moving to another list
    }
    const TFTPCarryItem& item = *found;
    if (column < kCommonColumns) {
        return CarryItemText(item, column);
    }
    switch (list) {
    case TCarrierList::Queue:
        if (column == 6) {
            switch (item.Direction) {
            case TCarryDirection::Download:
                return TransferTypeName(item.SrcTransferType);
            case TCarryDirection::Upload:
                return TransferTypeName(item.DestTransferType);
            case TCarryDirection::ServerToServer:
                return std::string(TransferTypeName(item.SrcTransferType)) + " " +
                       TransferTypeName(item.DestTransferType);
            }
            return {};
        }
        return item.ResumeTransfer ? QX_TRANSLATE_NOOP("qx::Core", "Yes")
                                   : QX_TRANSLATE_NOOP("qx::Core", "No");
    case TCarrierList::Status: {
        const StatusRow& status = m_status[row];
        const std::string* columns[] = {&status.position, &status.rate, &status.timeLeft,
                                        &status.done, &status.response};
        return *columns[column - kCommonColumns];
    }
    case TCarrierList::Fail:
        return m_fail[row].errorMessage;
    case TCarrierList::Success:
        break;
    }
    return {};
}

} // namespace qx
