// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"
#include "queue/CarrierQueue.h"
#include "queue/QueueJournal.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qx {

class TPasswordStore;

// The items of the transfer queue, kept in a file beside the settings as they join the queue,
// fail or leave it, so that a later start finds what was left to do. Items that are done leave
// the file; an item that was running stays queued in it.
//
// Every change costs short records appended to "queue.conf.log" (an item that joins: its
// values; one that leaves or fails: one line), so that a queue of ten thousand items is not
// rewritten each time one is done. The journal writes them on a thread of its own, the changes
// of a moment together with one sync, in order, so the queue never waits for the disk; a crash
// loses at most the changes of that moment. The records are read back over the file at the
// next start. Once they outnumber the items kept, the journal writes the file whole from the
// file and the records (a new file, fsync, rename); the end writes it whole too.
//
// No password is written to the file. With a password store that is available, the passwords
// of queued logins go there (by server, port and user, as the site book keeps them) and come
// back from it; otherwise the caller fills them in (from the site book) or the login asks.
class TQueueFile final : public TCarrierQueueJournal {
public:
    // The file is read at once; a damaged one is moved aside (LoadProblem() tells).
    explicit TQueueFile(const std::filesystem::path& file, TPasswordStore* passwords = nullptr);
    // Writes the file whole, which takes the records in.
    ~TQueueFile() override;
    TQueueFile(const TQueueFile&) = delete;
    TQueueFile& operator=(const TQueueFile&) = delete;

    // "queue.conf" beside the settings file.
    static std::filesystem::path FileBeside(const std::filesystem::path& settingsFile);

    struct TKept {
        std::vector<std::unique_ptr<TFTPCarryItem>> Queued; // in queue order
        std::vector<std::pair<std::unique_ptr<TFTPCarryItem>, std::string>> Failed;
        std::size_t Unreadable = 0; // entries left out: values missing or out of range
    };
    // The items of the file. They stay known by their address, so handing them to the queue
    // (queued ones with AddItems, failed ones with AddFailedItem) writes nothing new.
    TKept TakeItems();

    const std::string& LoadProblem() const;
    const TCoreMessage& LoadMessage() const; // the same for a window
    // Why the last write failed (empty when it worked); the changes stay in memory and go out
    // with the next write.
    std::string WriteProblem() const { return m_journal->Problem(); }
    // Told once when writing starts to fail (not again until a write succeeded), with the
    // text of WriteProblem(), on the journal's thread. Set it before the first change.
    std::function<void(const std::string& problem)> OnWriteProblem;

    void QueueChanged(const TCarrierQueueChange& change) override;
    // Waits until every change so far was written, or failed to be.
    void Settle() { m_journal->Settle(); }

private:
    std::string NewKey();
    // A change to the items, made into records and written to the store on the journal's
    // thread.
    struct TItemChange {
        enum class TKind { Forget, Write, Fail } Kind;
        std::string Key;
        std::unique_ptr<TFTPCarryItem> Item; // Write: a copy as it joined
        std::string ErrorMessage;            // Fail
    };
    void ApplyChanges(std::vector<TItemChange>& changes, std::vector<std::string>& records);
    void WriteItem(const std::string& key, const TFTPCarryItem& item,
                   std::vector<std::string>& records);
    std::unique_ptr<TFTPCarryItem> ReadItem(const std::string& key) const;
    // A side's protocol and ssh settings ("Src" or "Dest").
    static constexpr std::int32_t kMaxSshOptions = 64;
    bool ReadSsh(const std::string& path, const std::string& side, TRemoteProtocolKind& protocol,
                 TSshSettings& ssh) const;
    void KeepPasswords(const TFTPCarryItem& item);
    // What the records of the logs say, applied to the file's items in memory.
    void ReplayLog();
    void Replay(std::string_view record);
    void FillPasswords(TFTPCarryItem& item);

    std::unique_ptr<TConfigStore> m_store;
    // Open all along: the store writes only when this file says so.
    std::optional<TConfigBatch> m_hold;
    TPasswordStore* m_passwords;
    struct TKeyOf {
        std::string Key;
        bool Failed = false;
    };
    // The items the file holds. Only the journal's thread writes the store while the queue
    // runs (the records of a change are made there); TakeItems waits for it.
    std::unordered_map<const TFTPCarryItem*, TKeyOf> m_keys;
    std::uint64_t m_nextId = 1;
    std::unique_ptr<TQueueJournal> m_journal;
};

} // namespace qx
