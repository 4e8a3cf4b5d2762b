// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ConfigStore.h"
#include "queue/CarrierQueue.h"
#include "queue/QueueLog.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qx {

class TPasswordStore;

// The items of the transfer queue, kept in a file beside the settings as they join the queue,
// fail or leave it, so that a later start finds what was left to do. Items that are done leave
// the file; an item that was running stays queued in it.
//
// Every change is on the disk before QueueChanged returns, so a crash loses none. Items that
// join are written with the whole file, like the settings (a new file, fsync, rename); an item
// that leaves or fails costs one short record appended to "queue.conf.log" instead, so that
// a queue of ten thousand items does not rewrite ten thousand items each time one is done.
// The records are read back over the file at the next start, and go once the file is written
// whole again: with the next items that join, when the records outnumber the items kept, and
// at the end.
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
    // Why the last change could not be written (empty when it could); the change stays in
    // memory and goes out with the next write.
    const std::string& WriteProblem() const { return m_writeProblem; }
    // Told once when writing starts to fail (not again until a write succeeded), with the
    // text of WriteProblem().
    std::function<void(const std::string& problem)> OnWriteProblem;

    void QueueChanged(const TCarrierQueueChange& change) override;

private:
    std::string NewKey();
    void WriteItem(const std::string& key, const TFTPCarryItem& item);
    std::unique_ptr<TFTPCarryItem> ReadItem(const std::string& key) const;
    // A side's protocol and ssh settings ("Src" or "Dest").
    static constexpr std::int32_t kMaxSshOptions = 64;
    void WriteSsh(const std::string& path, const std::string& side, TRemoteProtocolKind protocol,
                  const TSshSettings& ssh);
    bool ReadSsh(const std::string& path, const std::string& side, TRemoteProtocolKind& protocol,
                 TSshSettings& ssh) const;
    void KeepPasswords(const TFTPCarryItem& item);
    // What the records of the log say, applied to the file's items in memory.
    void ReplayLog();
    // The change as records for the log; nothing when it needs the whole file written.
    std::optional<std::vector<std::string>> RecordsOf(const TCarrierQueueChange& change) const;
    bool WriteWhole();
    void Written(bool ok);
    void FillPasswords(TFTPCarryItem& item);

    std::unique_ptr<TConfigStore> m_store;
    // Open all along: the store writes only when this file says so.
    std::optional<TConfigBatch> m_hold;
    TAppendLog m_log;
    TPasswordStore* m_passwords;
    std::unordered_map<const TFTPCarryItem*, std::string> m_keys;
    std::uint64_t m_nextId = 1;
    std::string m_writeProblem;
};

} // namespace qx
